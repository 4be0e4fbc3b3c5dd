#include "store/profile_file.h"

#include "store/file_io.h"
#include "store/text_codec.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <locale.h>
#include <vector>

namespace {

constexpr std::string_view kLineEnd = "\r\n";
// Numbers are read from a short buffer on the handheld; text beyond it never counts.
constexpr std::size_t kNumberChars = 64;

bool isBlankByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x09 && b <= 0x0D) || b == 0x1A || b == 0x20;
}

std::string_view trimmedEnd(std::string_view s) {
    while (!s.empty() && isBlankByte(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlankByte(s.front()))
        s.remove_prefix(1);
    return trimmedEnd(s);
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return odrivo::asciiLower(x) == odrivo::asciiLower(y);
           });
}

// A caller's name as it appears on disk: Windows-1252, trimmed.
std::string diskName(std::string_view utf8) {
    const std::string bytes = odrivo::utf8ToCp1252(utf8);
    return std::string(trimmed(bytes));
}

enum class LineKind { Blank, Comment, Section, Entry };

struct Line {
    std::size_t begin = 0;   // offset of the line in the file
    std::string_view text;   // the line without its ending
    std::string_view ending; // "\r\n", "\n", "\r", or "" on an unterminated last line
    LineKind kind = LineKind::Blank;
    std::string_view name;                       // section name or key, trimmed
    std::size_t equals = std::string_view::npos; // offset of the first '=' in text (Entry)
    std::string_view value;                      // trimmed, quotes kept (Entry with '=')
};

void classify(Line& line) {
    const std::string_view t = trimmed(line.text);
    if (t.empty()) {
        line.kind = LineKind::Blank;
    } else if (t.front() == ';') {
        line.kind = LineKind::Comment;
    } else if (const auto close = t.rfind(']'); t.front() == '[' && close != std::string_view::npos) {
        // Text after the last ']' is ignored; a '[' line without ']' is read as a key.
        line.kind = LineKind::Section;
        line.name = trimmed(t.substr(1, close - 1));
    } else {
        line.kind = LineKind::Entry;
        line.equals = line.text.find('=');
        if (line.equals == std::string_view::npos) {
            line.name = t;
        } else {
            line.name = trimmed(line.text.substr(0, line.equals));
            line.value = trimmed(line.text.substr(line.equals + 1));
        }
    }
}

// The lines of one file's bytes, with the places a lookup or an edit needs.
struct IniLines {
    explicit IniLines(std::string_view bytes) : bytes(bytes) {
        std::size_t pos = 0;
        while (pos < bytes.size()) {
            Line line;
            line.begin = pos;
            const std::size_t end = bytes.find_first_of("\r\n", pos);
            if (end == std::string_view::npos) {
                line.text = bytes.substr(pos);
                pos = bytes.size();
            } else {
                const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
                line.text = bytes.substr(pos, end - pos);
                line.ending = bytes.substr(end, crlf ? 2 : 1);
                pos = end + line.ending.size();
            }
            classify(line);
            lines.push_back(line);
        }
    }

    std::optional<std::size_t> findSection(std::string_view name) const {
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i].kind == LineKind::Section && sameName(lines[i].name, name))
                return i;
        return std::nullopt;
    }

    // Index one past the last line of the section whose header is at `header`.
    std::size_t sectionEnd(std::size_t header) const {
        std::size_t i = header + 1;
        while (i < lines.size() && lines[i].kind != LineKind::Section)
            ++i;
        return i;
    }

    std::optional<std::size_t> findKey(std::size_t header, std::string_view key) const {
        const std::size_t end = sectionEnd(header);
        for (std::size_t i = header + 1; i < end; ++i)
            if (lines[i].kind == LineKind::Entry && sameName(lines[i].name, key))
                return i;
        return std::nullopt;
    }

    // The raw value of the first matching key of the first matching section; none when
    // the section or key is absent or the key line has no '='.
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const {
        if (section.empty() || key.empty())
            return std::nullopt;
        const auto header = findSection(section);
        if (!header)
            return std::nullopt;
        const auto index = findKey(*header, key);
        if (!index || lines[*index].equals == std::string_view::npos)
            return std::nullopt;
        std::string_view v = lines[*index].value;
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        return v;
    }

    std::size_t offsetOf(std::size_t index) const { return index < lines.size() ? lines[index].begin : bytes.size(); }

    // The file with lines [first, first + count) replaced by `replacement`.
    std::string replaced(std::size_t first, std::size_t count, std::string_view replacement) const {
        std::string out;
        out.reserve(bytes.size() + replacement.size());
        out.append(bytes.substr(0, offsetOf(first)));
        out.append(replacement);
        out.append(bytes.substr(offsetOf(first + count)));
        return out;
    }

    std::string_view bytes;
    std::vector<Line> lines;
};

std::optional<std::string> readValue(const std::string& path, std::string_view section, std::string_view key) {
    std::string bytes;
    if (path.empty() || odrivo::readWholeFile(path, bytes) != odrivo::ReadStatus::Ok)
        return std::nullopt;
    const IniLines ini(bytes);
    const auto value = ini.value(diskName(section), diskName(key));
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

bool hasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// Reads the file an edit starts from. A missing file is an empty one; a file that exists
// but cannot be read stops the edit, so it is never replaced by a file missing its lines.
bool loadForEdit(const std::string& path, std::string& bytes, bool& exists, std::string& error) {
    if (path.empty()) {
        error = "no settings file was given";
        return false;
    }
    std::string reason;
    switch (odrivo::readWholeFile(path, bytes, &reason)) {
    case odrivo::ReadStatus::Ok:
        exists = true;
        return true;
    case odrivo::ReadStatus::Missing:
        exists = false;
        bytes.clear();
        return true;
    case odrivo::ReadStatus::Failed:
        break;
    }
    error = "cannot read the file: " + reason;
    return false;
}

bool storeEdit(const std::string& path, bool existed, const std::string& before, const std::string& after,
               std::string& error) {
    if (existed && before == after)
        return true;
    std::string reason;
    if (odrivo::writeFileAtomically(path, after, &reason))
        return true;
    const std::string folder = odrivo::folderOf(path);
    std::error_code ec;
    if (!existed && !folder.empty() && !std::filesystem::is_directory(folder, ec))
        error = "the folder " + folder + " does not exist";
    else
        error = "cannot write the file: " + reason;
    return false;
}

// The C library's number conversions follow LC_NUMERIC; the file always uses '.', so
// parsing goes through a private "C" locale (strtod_l) and formatting through std::to_chars.
locale_t classicLocale() {
    static const locale_t locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Only the leading plain decimal counts ("12.5", "-3", "1e4"): strtod alone would also take
// "nan", "inf" and hexadecimal "0x10", which no writer of these files produces.
double parseReal(const std::string& text) {
    auto isDigit = [](char ch) { return ch >= '0' && ch <= '9'; };
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && isDigit(text[i]); ++i)
            ++digits;
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    // Cutting at the first character that is not a digit stops "0x10" at its "0".
    const std::string number = text.substr(start, i - start);
    const locale_t c = classicLocale();
    return c ? ::strtod_l(number.c_str(), nullptr, c) : std::strtod(number.c_str(), nullptr);
}

// strtoul as the handheld's 32-bit unsigned long does it: a magnitude beyond 32 bits gives
// 0xFFFFFFFF, a leading '-' negates modulo 2^32 (so "-11" comes back as -11 once cast to int).
std::uint32_t parseUnsigned32(const std::string& text, int radix) {
    errno = 0;
    char* end = nullptr;
    const unsigned long wide = std::strtoul(text.c_str(), &end, radix);
    if (end == text.c_str())
        return 0;
    if (errno == ERANGE)
        return UINT32_MAX;
    const bool negative = !text.empty() && text.front() == '-';
    const unsigned long magnitude = negative ? 0UL - wide : wide;
    if (magnitude > UINT32_MAX)
        return UINT32_MAX;
    return negative ? static_cast<std::uint32_t>(0U - static_cast<std::uint32_t>(magnitude))
                    : static_cast<std::uint32_t>(magnitude);
}

std::string formatFixed(double value, int decimals) {
    const int precision = decimals <= 0 ? 6 : decimals;
    // Sign, up to 309 integer digits and the point always fit in the extra room.
    std::string out(static_cast<std::size_t>(precision) + 320, '\0');
    for (;;) {
        const auto result =
            std::to_chars(out.data(), out.data() + out.size(), value, std::chars_format::fixed, precision);
        if (result.ec == std::errc()) {
            out.resize(static_cast<std::size_t>(result.ptr - out.data()));
            return out;
        }
        out.resize(out.size() * 2);
    }
}

} // namespace

std::string CProfileFile::getText(std::string_view section, std::string_view key, std::string_view def) const {
    const auto value = readValue(m_path, section, key);
    return value ? odrivo::cp1252ToUtf8(*value) : std::string(def);
}

int CProfileFile::getInt(std::string_view section, std::string_view key, int def, int radix) const {
    const auto value = readValue(m_path, section, key);
    if (!value || value->empty())
        return def;
    return static_cast<int>(parseUnsigned32(value->substr(0, kNumberChars), radix));
}

double CProfileFile::getReal(std::string_view section, std::string_view key, double def) const {
    const auto value = readValue(m_path, section, key);
    if (!value || value->empty())
        return def;
    return parseReal(value->substr(0, kNumberChars));
}

std::optional<std::vector<std::string>> CProfileFile::sectionNames() const {
    std::string bytes;
    if (m_path.empty() || odrivo::readWholeFile(m_path, bytes) != odrivo::ReadStatus::Ok)
        return std::nullopt;
    const IniLines ini(bytes);
    std::vector<std::string> names;
    for (const Line& line : ini.lines)
        if (line.kind == LineKind::Section &&
            ini.findSection(line.name) == static_cast<std::size_t>(&line - ini.lines.data()))
            names.push_back(odrivo::cp1252ToUtf8(line.name));
    return names;
}

bool CProfileFile::putText(std::string_view section, std::string_view key, std::optional<std::string_view> value) {
    const std::string sectionName = diskName(section);
    const std::string keyName = diskName(key);
    const std::string text = value ? odrivo::utf8ToCp1252(*value) : std::string();
    if (sectionName.empty() || keyName.empty()) {
        m_lastError = "no section or key name was given";
        return false;
    }
    // Such text would read back as other lines or another key.
    if (hasLineBreak(sectionName) || hasLineBreak(keyName) || hasLineBreak(text)) {
        m_lastError = "a line break cannot be stored in a settings file";
        return false;
    }
    if (keyName.find('=') != std::string::npos || keyName.front() == '[' || keyName.front() == ';') {
        m_lastError = "the key name \"" + std::string(key) + "\" cannot be stored in a settings file";
        return false;
    }

    std::string bytes;
    bool exists = false;
    if (!loadForEdit(m_path, bytes, exists, m_lastError))
        return false;
    const IniLines ini(bytes);
    std::string updated;
    if (const auto header = ini.findSection(sectionName)) {
        if (const auto index = ini.findKey(*header, keyName)) {
            // Only the value changes; the key keeps its spelling and the spacing around '='.
            const Line& line = ini.lines[*index];
            std::string newLine;
            if (line.equals == std::string_view::npos) {
                newLine.append(trimmedEnd(line.text)).append("=");
            } else {
                std::size_t valueStart = line.equals + 1;
                while (!text.empty() && valueStart < line.text.size() && isBlankByte(line.text[valueStart]))
                    ++valueStart;
                newLine.append(line.text.substr(0, valueStart));
            }
            newLine.append(text).append(line.ending);
            updated = ini.replaced(*index, 1, newLine);
        } else {
            // After the section's last non-blank line, so blank lines that end it stay at its end.
            std::size_t last = *header;
            for (std::size_t i = *header + 1; i < ini.sectionEnd(*header); ++i)
                if (ini.lines[i].kind != LineKind::Blank)
                    last = i;
            std::string insert;
            if (ini.lines[last].ending.empty())
                insert.append(kLineEnd);
            insert.append(keyName).append("=").append(text).append(kLineEnd);
            updated = ini.replaced(last + 1, 0, insert);
        }
    } else {
        updated = bytes;
        if (!ini.lines.empty() && ini.lines.back().ending.empty())
            updated.append(kLineEnd);
        updated.append("[").append(sectionName).append("]").append(kLineEnd);
        updated.append(keyName).append("=").append(text).append(kLineEnd);
    }
    return storeEdit(m_path, exists, bytes, updated, m_lastError);
}

bool CProfileFile::putInt(std::string_view section, std::string_view key, long value, int radix) {
    if (radix < 2 || radix > 36) {
        m_lastError = "a number can only be written in a radix from 2 to 36";
        return false;
    }
    char buffer[72];
    // Like _ltoa with the handheld's 32-bit long: other radixes write the unsigned 32-bit pattern.
    const auto result = radix == 10
                            ? std::to_chars(buffer, buffer + sizeof buffer, value)
                            : std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::uint32_t>(value), radix);
    return putText(section, key, std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

bool CProfileFile::putReal(std::string_view section, std::string_view key, double value, int decimals) {
    return putText(section, key, formatFixed(value, decimals));
}

bool CProfileFile::deleteKey(std::string_view section, std::string_view key) {
    const std::string sectionName = diskName(section);
    const std::string keyName = diskName(key);
    if (sectionName.empty() || keyName.empty()) {
        m_lastError = "no section or key name was given";
        return false;
    }
    std::string bytes;
    bool exists = false;
    if (!loadForEdit(m_path, bytes, exists, m_lastError))
        return false;
    const IniLines ini(bytes);
    const auto header = ini.findSection(sectionName);
    const auto index = header ? ini.findKey(*header, keyName) : std::nullopt;
    if (!index)
        return true;
    return storeEdit(m_path, exists, bytes, ini.replaced(*index, 1, {}), m_lastError);
}

bool CProfileFile::deleteSection(std::string_view section) {
    const std::string sectionName = diskName(section);
    if (sectionName.empty()) {
        m_lastError = "no section name was given";
        return false;
    }
    std::string bytes;
    bool exists = false;
    if (!loadForEdit(m_path, bytes, exists, m_lastError))
        return false;
    const IniLines ini(bytes);
    const auto header = ini.findSection(sectionName);
    if (!header)
        return true;
    const std::size_t count = ini.sectionEnd(*header) - *header;
    return storeEdit(m_path, exists, bytes, ini.replaced(*header, count, {}), m_lastError);
}

bool CProfileFile::replaceSection(std::string_view section,
                                  const std::vector<std::pair<std::string, std::string>>& entries) {
    const std::string sectionName = diskName(section);
    if (sectionName.empty() || hasLineBreak(sectionName)) {
        m_lastError = "no usable section name was given";
        return false;
    }
    std::string lines;
    for (const auto& [key, value] : entries) {
        const std::string keyName = diskName(key);
        const std::string text = odrivo::utf8ToCp1252(value);
        if (keyName.empty() || hasLineBreak(keyName) || hasLineBreak(text) || keyName.find('=') != std::string::npos ||
            keyName.front() == '[' || keyName.front() == ';') {
            m_lastError = "the key \"" + key + "\" cannot be stored in a settings file";
            return false;
        }
        lines.append(keyName).append("=").append(text).append(kLineEnd);
    }
    std::string bytes;
    bool exists = false;
    if (!loadForEdit(m_path, bytes, exists, m_lastError))
        return false;
    const IniLines ini(bytes);
    std::string updated = bytes;
    if (const auto header = ini.findSection(sectionName))
        updated = ini.replaced(*header, ini.sectionEnd(*header) - *header, {});
    if (entries.empty())
        return storeEdit(m_path, exists, bytes, updated, m_lastError);
    if (!updated.empty() && updated.back() != '\n' && updated.back() != '\r')
        updated.append(kLineEnd);
    updated.append("[").append(sectionName).append("]").append(kLineEnd).append(lines);
    return storeEdit(m_path, exists, bytes, updated, m_lastError);
}
