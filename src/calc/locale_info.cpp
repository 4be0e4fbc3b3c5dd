#include "calc/locale_info.h"

#include "store/text_codec.h"

#include <cctype>
#include <clocale>
#include <ctime>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <vector>

namespace {

constexpr const char* kDefaultDateFormat = "%m/%d/%Y";
constexpr const char* kDefaultTimeFormat = "%H:%M";
constexpr const char* kDefaultCurrency = "$";

bool isAscii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A piece of a strftime format: a conversion ("%H", "%OS", "%%") or literal text.
struct FormatPiece {
    std::string text;
    bool conversion = false;
};

std::vector<FormatPiece> splitFormat(std::string_view format) {
    std::vector<FormatPiece> pieces;
    std::size_t i = 0;
    while (i < format.size()) {
        if (format[i] == '%' && i + 1 < format.size()) {
            std::size_t end = i + 1;
            // Flags, width and the E/O modifiers belong to the conversion.
            while (end < format.size() &&
                   std::string_view("_-0^#EO123456789").find(format[end]) != std::string_view::npos)
                ++end;
            if (end < format.size())
                ++end;
            pieces.push_back({std::string(format.substr(i, end - i)), format[i + 1] != '%'});
            i = end;
            continue;
        }
        if (pieces.empty() || pieces.back().conversion)
            pieces.push_back({});
        pieces.back().text += format[i];
        ++i;
    }
    return pieces;
}

bool isSeconds(const FormatPiece& piece) {
    return piece.conversion && piece.text.back() == 'S';
}

// A separator such as ":" or "." between two numbers, as opposed to a word ("分", "h").
bool isPunctuationSeparator(const std::string& text) {
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80 || (u >= '0' && u <= '9') || ((u | 0x20) >= 'a' && (u | 0x20) <= 'z'))
            return false;
    }
    return !text.empty();
}

bool isWhitespaceOnly(const std::string& text) {
    for (const char c : text)
        if (!isBlank(c))
            return false;
    return true;
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string formatLocalTime(const std::string& format, DVTime t) {
    const auto seconds = static_cast<std::time_t>(t);
    std::tm parts{};
    if (::localtime_r(&seconds, &parts) == nullptr)
        return {};
    char buffer[256];
    const std::size_t length = std::strftime(buffer, sizeof buffer, format.c_str(), &parts);
    return std::string(buffer, length);
}

std::string convertToUtf8(std::string_view text, std::string_view codeset) {
    const std::string from(codeset);
    iconv_t cd = ::iconv_open("UTF-8", from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return odrivo::cp1252ToUtf8(text);
    std::string input(text);
    std::string output(text.size() * 4 + 4, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t result = ::iconv(cd, &in, &inLeft, &out, &outLeft);
    ::iconv_close(cd);
    if (result == static_cast<std::size_t>(-1))
        return odrivo::cp1252ToUtf8(text);
    output.resize(output.size() - outLeft);
    return output;
}

// The character set that the monetary category's texts are written in.
std::string monetaryCodeset() {
    const char* name = std::setlocale(LC_MONETARY, nullptr);
    if (name != nullptr) {
        locale_t monetary = ::newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(nullptr));
        if (monetary != static_cast<locale_t>(nullptr)) {
            std::string codeset = ::nl_langinfo_l(CODESET, monetary);
            ::freelocale(monetary);
            return codeset;
        }
    }
    return ::nl_langinfo(CODESET);
}

} // namespace

std::string CLocaleInfo::currencySymbol(std::size_t maxChars) const {
    const std::string symbol = currencySymbol();
    const std::size_t length = odrivo::utf8Length(symbol);
    // A locale without a symbol shows money like one whose symbol is too long.
    if (length == 0 || length > maxChars)
        return kDefaultCurrency;
    return symbol;
}

CLibcLocale::CLibcLocale() {
    const char* timeLocale = std::setlocale(LC_TIME, nullptr);
    m_dateFormat = dateFormatFrom(::nl_langinfo(D_FMT), timeLocale != nullptr ? timeLocale : "C");
    m_timeFormat = timeFormatFrom(::nl_langinfo(T_FMT), ::nl_langinfo(T_FMT_AMPM));
    const std::lconv* conventions = std::localeconv();
    const char* symbol =
        conventions != nullptr && conventions->currency_symbol != nullptr ? conventions->currency_symbol : "";
    m_currency = currencyFrom(symbol, monetaryCodeset());
    // The program keeps LC_NUMERIC at "C" for its own files, so the user's is asked for by name.
    if (const locale_t numeric = ::newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, "", static_cast<locale_t>(0))) {
        const std::string codeset = ::nl_langinfo_l(CODESET, numeric);
        const std::string point = ::nl_langinfo_l(RADIXCHAR, numeric);
        if (!point.empty())
            m_decimalPoint = convertToUtf8(point, codeset);
        m_thousandsSeparator = convertToUtf8(::nl_langinfo_l(THOUSEP, numeric), codeset);
        ::freelocale(numeric);
    }
}

std::string CLibcLocale::shortDate(DVTime t) const {
    return formatLocalTime(m_dateFormat, t);
}

std::string CLibcLocale::timeOfDay(DVTime t) const {
    return formatLocalTime(m_timeFormat, t);
}

std::string CLibcLocale::dateFormatFrom(std::string_view dFmt, std::string_view localeName) {
    const bool plainC =
        localeName == "C" || localeName == "POSIX" || localeName.substr(0, 2) == "C." || localeName.empty();
    if (plainC || dFmt.empty())
        return kDefaultDateFormat;
    // A two-digit year is ambiguous in a log that spans decades, and the pickers, the list and
    // the backup stamp must all show the same date.
    std::string format;
    for (const FormatPiece& piece : splitFormat(dFmt)) {
        const bool era = piece.text.find('E') != std::string::npos;
        if (piece.conversion && piece.text.back() == 'y' && !era)
            format += "%Y";
        else if (piece.conversion && piece.text.back() == 'D')
            format += "%m/%d/%Y";
        else
            format += piece.text;
    }
    return format;
}

std::string CLocaleInfo::datePatternFrom(std::string_view strftimeFormat) {
    std::string pattern;
    bool hasDate = false;
    for (const FormatPiece& piece : splitFormat(strftimeFormat)) {
        if (!piece.conversion) {
            const std::string text = piece.text == "%%" ? "%" : piece.text;
            bool quote = false;
            for (const char c : text) {
                const auto u = static_cast<unsigned char>(c);
                quote = quote || c == '\'' || u >= 0x80 || std::isalnum(u) != 0;
            }
            if (!quote) {
                pattern += text;
                continue;
            }
            pattern += '\'';
            for (const char c : text)
                pattern += c == '\'' ? std::string("''") : std::string(1, c);
            pattern += '\'';
            continue;
        }
        const bool unpadded = piece.text.find('-') != std::string::npos;
        const std::size_t before = pattern.size();
        switch (piece.text.back()) {
        case 'd':
            pattern += unpadded ? "d" : "dd";
            break;
        case 'e':
            pattern += "d";
            break;
        case 'm':
            pattern += unpadded ? "M" : "MM";
            break;
        case 'b':
        case 'h':
            pattern += "MMM";
            break;
        case 'B':
            pattern += "MMMM";
            break;
        case 'a':
            pattern += "ddd";
            break;
        case 'A':
            pattern += "dddd";
            break;
        case 'y':
        case 'Y':
        case 'G':
        case 'g':
            pattern += "yyyy";
            break;
        case 'D':
            pattern += "MM/dd/yyyy";
            break;
        case 'F':
            pattern += "yyyy-MM-dd";
            break;
        default:
            break; // a conversion a date picker cannot show (week numbers, times) is left out
        }
        hasDate = hasDate || pattern.size() != before;
    }
    return hasDate ? pattern : datePatternFrom(kDefaultDateFormat);
}

std::string CLibcLocale::timeFormatFrom(std::string_view tFmt, std::string_view tFmtAmPm) {
    std::string format(tFmt);
    format = replaceAll(format, "%r", tFmtAmPm.empty() ? std::string_view("%I:%M:%S %p") : tFmtAmPm);
    format = replaceAll(format, "%T", "%H:%M:%S");

    std::vector<FormatPiece> pieces = splitFormat(format);
    const auto at = [&pieces](std::size_t index) { return pieces.begin() + static_cast<std::ptrdiff_t>(index); };
    for (std::size_t i = 0; i < pieces.size();) {
        if (!isSeconds(pieces[i])) {
            ++i;
            continue;
        }
        // "%M:%S" loses ":%S"; "%M分%S秒" loses "%S秒", whose unit word follows the number.
        if (i >= 2 && !pieces[i - 1].conversion && isPunctuationSeparator(pieces[i - 1].text)) {
            pieces.erase(at(i - 1), at(i + 1));
            --i;
        } else if (i + 1 < pieces.size() && !pieces[i + 1].conversion && !isWhitespaceOnly(pieces[i + 1].text)) {
            pieces.erase(at(i), at(i + 2));
        } else {
            pieces.erase(at(i));
        }
    }

    std::string result;
    bool hasConversion = false;
    for (const FormatPiece& piece : pieces) {
        result += piece.text;
        hasConversion = hasConversion || piece.conversion;
    }
    while (!result.empty() && isBlank(result.back()))
        result.pop_back();
    while (!result.empty() && isBlank(result.front()))
        result.erase(result.begin());
    return hasConversion ? result : kDefaultTimeFormat;
}

std::string CLibcLocale::currencyFrom(std::string_view symbol, std::string_view codeset) {
    if (symbol.empty())
        return kDefaultCurrency;
    if (isAscii(symbol) || codeset == "UTF-8" || codeset == "utf8")
        return std::string(symbol);
    return convertToUtf8(symbol, codeset);
}
