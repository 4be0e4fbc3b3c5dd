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
#include <sys/stat.h>
#include <time.h>
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

std::string lowered(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        c = odrivo::asciiLower(c);
    return out;
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
        // Growing the list line by line would copy it over and over in a file of thousands of lines.
        lines.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
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
            // The first section of a name wins, so a later one never replaces it here.
            if (line.kind == LineKind::Section)
                sections.emplace(lowered(line.name), lines.size());
            lines.push_back(line);
        }
    }

    std::optional<std::size_t> findSection(std::string_view name) const {
        const auto found = sections.find(lowered(name));
        return found == sections.end() ? std::nullopt : std::optional<std::size_t>(found->second);
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
        return unquoted(lines[*index].value);
    }

    static std::string_view unquoted(std::string_view v) {
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
    // Lower-case section name -> index of its first header line.
    std::unordered_map<std::string, std::size_t> sections;
};

// What identifies one version of a file: a rename over it changes the inode, a write in
// place the size or the times (the change time too, so restoring the modification time
// does not hide an edit).
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileStamp& o) const {
        return device == o.device && inode == o.inode && size == o.size && modified.tv_sec == o.modified.tv_sec &&
               modified.tv_nsec == o.modified.tv_nsec && changed.tv_sec == o.changed.tv_sec &&
               changed.tv_nsec == o.changed.tv_nsec;
    }
};

std::optional<FileStamp> stampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileStamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

// File times advance in clock ticks of a few milliseconds, so two writes within one tick can
// leave the same size and time (and a freed inode can come back). A file written that
// recently is read afresh each time until its time is safely past; a later write then
// always shows as a new time.
bool settled(const FileStamp& stamp) {
    constexpr long kSettleMs = 50;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const long long ageMs = (static_cast<long long>(now.tv_sec) - stamp.modified.tv_sec) * 1000 +
                            (now.tv_nsec - stamp.modified.tv_nsec) / 1000000;
    return ageMs > kSettleMs;
}

constexpr std::size_t kNoValue = static_cast<std::size_t>(-1);

bool hasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
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

// A number read from a value as the gets read it. A value that is not Windows-1252 but its
// UTF-8 form reads the same: the conversions stop at the first byte that is not ASCII.
int intOf(std::string_view value, int def, int radix) {
    if (value.empty())
        return def;
    return static_cast<int>(parseUnsigned32(std::string(value.substr(0, kNumberChars)), radix));
}

double realOf(std::string_view value, double def) {
    if (value.empty())
        return def;
    return parseReal(std::string(value.substr(0, kNumberChars)));
}

} // namespace

// One version of the file, parsed. `ini` points into `bytes`, so a Parsed never moves.
struct CProfileFile::Parsed {
    Parsed(std::string text, bool existed, std::optional<FileStamp> stampRead = std::nullopt)
        : bytes(std::move(text)), exists(existed), stamp(stampRead), ini(bytes) {}
    Parsed(const Parsed&) = delete;
    Parsed& operator=(const Parsed&) = delete;

    const std::string bytes;
    const bool exists;
    const std::optional<FileStamp> stamp;
    const IniLines ini;
};

std::shared_ptr<const CProfileFile::Parsed> CProfileFile::load(odrivo::ReadStatus& status, std::string* reason) const {
    if (m_path.empty()) {
        status = odrivo::ReadStatus::Failed;
        if (reason)
            *reason = "no settings file was given";
        return nullptr;
    }
    // The stamp is taken before the bytes are read: a change in between then shows as a new
    // stamp at the next call, never as old bytes kept under a new stamp.
    const std::optional<FileStamp> stamp = stampOf(m_path);
    if (stamp && m_cache && m_cache->stamp == stamp) {
        status = odrivo::ReadStatus::Ok;
        return m_cache;
    }
    m_cache.reset();
    std::string bytes;
    status = odrivo::readWholeFile(m_path, bytes, reason);
    if (status != odrivo::ReadStatus::Ok)
        return nullptr;
    auto parsed = std::make_shared<const Parsed>(std::move(bytes), true, stamp);
    if (stamp && settled(*stamp))
        m_cache = parsed;
    return parsed;
}

// While a batch has edits, reads see them.
std::shared_ptr<const CProfileFile::Parsed> CProfileFile::readable() const {
    if (m_pending)
        return m_pending;
    odrivo::ReadStatus status{};
    return load(status, nullptr);
}

odrivo::ReadStatus CProfileFile::status(std::string* reason) const {
    odrivo::ReadStatus status{};
    load(status, reason);
    return status;
}

const std::string* CProfileFile::Section::find(std::string_view key) const {
    const std::string name = diskName(key);
    if (name.empty())
        return nullptr;
    const auto found = m_index.find(lowered(name));
    if (found == m_index.end() || found->second == kNoValue)
        return nullptr;
    return &m_entries[found->second].second;
}

std::string CProfileFile::Section::getText(std::string_view key, std::string_view def) const {
    const std::string* value = find(key);
    return value ? *value : std::string(def);
}

int CProfileFile::Section::getInt(std::string_view key, int def, int radix) const {
    const std::string* value = find(key);
    return value ? intOf(*value, def, radix) : def;
}

double CProfileFile::Section::getReal(std::string_view key, double def) const {
    const std::string* value = find(key);
    return value ? realOf(*value, def) : def;
}

CProfileFile::Section CProfileFile::section(std::string_view name) const {
    Section section;
    const auto parsed = readable();
    const std::string sectionName = diskName(name);
    if (!parsed || sectionName.empty())
        return section;
    const IniLines& ini = parsed->ini;
    const auto header = ini.findSection(sectionName);
    if (!header)
        return section;
    const std::size_t end = ini.sectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        const Line& line = ini.lines[i];
        if (line.kind != LineKind::Entry)
            continue;
        const bool hasValue = line.equals != std::string_view::npos;
        const auto [slot, added] =
            section.m_index.emplace(lowered(line.name), hasValue ? section.m_entries.size() : kNoValue);
        if (added && hasValue)
            section.m_entries.emplace_back(odrivo::cp1252ToUtf8(line.name),
                                           odrivo::cp1252ToUtf8(IniLines::unquoted(line.value)));
    }
    return section;
}

std::string CProfileFile::getText(std::string_view section, std::string_view key, std::string_view def) const {
    const auto parsed = readable();
    const auto value = parsed ? parsed->ini.value(diskName(section), diskName(key)) : std::nullopt;
    return value ? odrivo::cp1252ToUtf8(*value) : std::string(def);
}

int CProfileFile::getInt(std::string_view section, std::string_view key, int def, int radix) const {
    const auto parsed = readable();
    const auto value = parsed ? parsed->ini.value(diskName(section), diskName(key)) : std::nullopt;
    return value ? intOf(*value, def, radix) : def;
}

double CProfileFile::getReal(std::string_view section, std::string_view key, double def) const {
    const auto parsed = readable();
    const auto value = parsed ? parsed->ini.value(diskName(section), diskName(key)) : std::nullopt;
    return value ? realOf(*value, def) : def;
}

std::optional<std::vector<std::string>> CProfileFile::sectionNames() const {
    const auto parsed = readable();
    if (!parsed)
        return std::nullopt;
    const IniLines& ini = parsed->ini;
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

    const auto base = editBase();
    if (!base)
        return false;
    const std::string& bytes = base->bytes;
    const IniLines& ini = base->ini;
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
    return store(base, std::move(updated));
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
    const auto base = editBase();
    if (!base)
        return false;
    const IniLines& ini = base->ini;
    const auto header = ini.findSection(sectionName);
    const auto index = header ? ini.findKey(*header, keyName) : std::nullopt;
    if (!index)
        return true;
    return store(base, ini.replaced(*index, 1, {}));
}

bool CProfileFile::deleteSection(std::string_view section) {
    const std::string sectionName = diskName(section);
    if (sectionName.empty()) {
        m_lastError = "no section name was given";
        return false;
    }
    const auto base = editBase();
    if (!base)
        return false;
    const IniLines& ini = base->ini;
    const auto header = ini.findSection(sectionName);
    if (!header)
        return true;
    const std::size_t count = ini.sectionEnd(*header) - *header;
    return store(base, ini.replaced(*header, count, {}));
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
    const auto base = editBase();
    if (!base)
        return false;
    const std::string& bytes = base->bytes;
    const IniLines& ini = base->ini;
    std::string updated = bytes;
    if (const auto header = ini.findSection(sectionName))
        updated = ini.replaced(*header, ini.sectionEnd(*header) - *header, {});
    if (entries.empty())
        return store(base, updated);
    if (!updated.empty() && updated.back() != '\n' && updated.back() != '\r')
        updated.append(kLineEnd);
    updated.append("[").append(sectionName).append("]").append(kLineEnd).append(lines);
    return store(base, updated);
}

// The text an edit starts from: the batch's text as edited so far, else the file as it is
// now. A missing file is an empty one; a file that exists but cannot be read stops the edit,
// so it is never replaced by a file missing its lines.
std::shared_ptr<const CProfileFile::Parsed> CProfileFile::editBase() {
    if (m_pending)
        return m_pending;
    if (m_path.empty()) {
        m_lastError = "no settings file was given";
        return nullptr;
    }
    odrivo::ReadStatus status{};
    std::string reason;
    std::shared_ptr<const Parsed> base = load(status, &reason);
    switch (status) {
    case odrivo::ReadStatus::Ok:
        break;
    case odrivo::ReadStatus::Missing:
        base = std::make_shared<const Parsed>(std::string(), false);
        break;
    case odrivo::ReadStatus::Failed:
        m_lastError = "cannot read the file: " + reason;
        return nullptr;
    }
    if (m_batching)
        m_batchBase = m_pending = base;
    return base;
}

// Inside a batch the edit stays in memory; outside it is written at once.
bool CProfileFile::store(const std::shared_ptr<const Parsed>& base, std::string updated) {
    if (m_batching) {
        m_pending = std::make_shared<const Parsed>(std::move(updated), base->exists);
        return true;
    }
    return storeEdit(m_path, base->exists, base->bytes, updated, m_lastError);
}

bool CProfileFile::batch(const std::function<bool()>& steps) {
    if (m_batching)
        return steps();
    m_batching = true;
    bool ok = steps();
    m_batching = false;
    const std::shared_ptr<const Parsed> base = std::move(m_batchBase);
    const std::shared_ptr<const Parsed> edited = std::move(m_pending);
    m_batchBase.reset();
    m_pending.reset();
    if (ok && edited && edited != base)
        ok = storeEdit(m_path, base->exists, base->bytes, edited->bytes, m_lastError);
    return ok;
}
