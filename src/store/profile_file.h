#pragma once
// CProfileFile reads and edits one INI ("private profile") file the way the Windows
// profile functions do, so files shared with the handheld edition survive our edits:
// names match without regard to case, the first matching section and key win, and a
// write changes only the line it must (every other line stays byte for byte).
// Text is UTF-8 in memory and Windows-1252 on disk. Every call reads the file afresh;
// every write replaces the file atomically.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CProfileFile {
public:
    CProfileFile() = default;
    explicit CProfileFile(std::string path) : m_path(std::move(path)) {}

    void setFile(std::string path) { m_path = std::move(path); }
    const std::string& file() const { return m_path; }

    // The value, or `def` when the file, section or key is absent. `k=` reads as "".
    std::string getText(std::string_view section, std::string_view key, std::string_view def = {}) const;
    // Empty or absent value: `def`; else the leading part converted as strtoul does in
    // `radix`, wrapped to 32 bits (so "-11" reads as -11).
    int getInt(std::string_view section, std::string_view key, int def, int radix = 10) const;
    // Empty or absent value: `def`; else the leading part converted as strtod does.
    double getReal(std::string_view section, std::string_view key, double def) const;
    // The section names in file order, a name repeated (without regard to case) once;
    // std::nullopt when the file cannot be read.
    std::optional<std::vector<std::string>> sectionNames() const;

    // Writes key=value. Nothing is written (false) when section or key is empty.
    // std::nullopt writes an empty value. False, with lastError() set, when the file cannot be written.
    bool putText(std::string_view section, std::string_view key, std::optional<std::string_view> value);
    bool putInt(std::string_view section, std::string_view key, long value, int radix = 10);
    // decimals <= 0 writes "%f"; else fixed notation with that many decimals.
    bool putReal(std::string_view section, std::string_view key, double value, int decimals = 0);

    bool deleteKey(std::string_view section, std::string_view key);
    bool deleteSection(std::string_view section);
    // Deletes the section and writes it anew at the end of the file with `entries` (key, value)
    // in order, as a delete followed by one write per key would leave it, but in one write.
    bool replaceSection(std::string_view section, const std::vector<std::pair<std::string, std::string>>& entries);

    // Why the last failed write failed, in plain words.
    const std::string& lastError() const { return m_lastError; }

private:
    std::string m_path;
    std::string m_lastError;
};
