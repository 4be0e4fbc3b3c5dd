#include "calc/number_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace odrivo {

namespace {

// The user's locale may use a decimal comma; numbers in our texts and files always use the point.
locale_t cLocale() {
    static const locale_t locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

} // namespace

double leadingNumber(std::string_view text, std::size_t* used) {
    if (used)
        *used = 0;
    // Only plain decimals count: strtod alone would also take "inf", "nan", "0x10" and "1e5".
    const auto digit = [&](std::size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
    std::size_t pos = 0;
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos])))
        ++pos;
    const std::size_t start = pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        ++pos;
    std::size_t digits = 0;
    for (; digit(pos); ++pos)
        ++digits;
    if (pos < text.size() && text[pos] == '.')
        for (++pos; digit(pos); ++pos)
            ++digits;
    if (digits == 0)
        return 0;
    if (pos < text.size()) {
        const char next = text[pos];
        const std::size_t afterSign =
            pos + 1 < text.size() && (text[pos + 1] == '+' || text[pos + 1] == '-') ? pos + 2 : pos + 1;
        if (((next == 'e' || next == 'E') && digit(afterSign)) ||
            ((next == 'x' || next == 'X') && digits == 1 && text[pos - 1] == '0'))
            return 0;
    }
    const std::string copy(text.substr(start, pos - start));
    const locale_t c = cLocale();
    const double value = c ? ::strtod_l(copy.c_str(), nullptr, c) : std::strtod(copy.c_str(), nullptr);
    // Four hundred digits are a plain decimal too, but no number a log can hold.
    if (!std::isfinite(value))
        return 0;
    if (used)
        *used = pos;
    return value;
}

std::string editNumberText(double value) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 12);
    return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

std::optional<double> parseEditNumber(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace odrivo
