#pragma once
// CProfileFile reads and edits one INI ("private profile") file the way the Windows
// profile functions do, so files shared with the handheld edition survive our edits:
// names match without regard to case, the first matching section and key win, and a
// write changes only the line it must (every other line stays byte for byte).
// Text is UTF-8 in memory and Windows-1252 on disk. The file is parsed once and the parse
// kept while the file's size, times and inode stay the same, so an edit by another program
// is seen at the next call; every write replaces the file atomically.

#include "store/file_io.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class CProfileFile {
public:
    // One section as the gets read it: its keys in file order, each once with the value a
    // get returns (UTF-8, quotes removed); a key line without '=' hides later ones, as it
    // does for the gets. Lookups follow the rules of the gets of the same name.
    class Section {
    public:
        const std::vector<std::pair<std::string, std::string>>& entries() const { return m_entries; }
        std::string getText(std::string_view key, std::string_view def = {}) const;
        int getInt(std::string_view key, int def, int radix = 10) const;
        double getReal(std::string_view key, double def) const;

    private:
        friend class CProfileFile;
        const std::string* find(std::string_view key) const;

        std::vector<std::pair<std::string, std::string>> m_entries;
        // Lower-case Windows-1252 key -> index in m_entries; kNoValue for a key without '='.
        std::unordered_map<std::string, std::size_t> m_index;
    };

    CProfileFile() = default;
    explicit CProfileFile(std::string path) : m_path(std::move(path)) {}

    void setFile(std::string path) {
        m_path = std::move(path);
        m_cache.reset();
    }
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
    // The section `name` (empty when the file or the section is absent), read in one pass.
    Section section(std::string_view name) const;
    // Whether the file can be read now (Missing or Failed with `reason`); a changed file is read again.
    odrivo::ReadStatus status(std::string* reason = nullptr) const;

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

    // Runs `steps` (puts and deletes on this file, and reads that see them) against the file's
    // text in memory, then writes the result once, atomically. When a step fails nothing is
    // written and lastError() says why. A batch begun inside a batch joins it.
    bool batch(const std::function<bool()>& steps);

    // Why the last failed write failed, in plain words.
    const std::string& lastError() const { return m_lastError; }

private:
    struct Parsed;
    std::shared_ptr<const Parsed> readable() const;
    std::shared_ptr<const Parsed> load(odrivo::ReadStatus& status, std::string* reason) const;
    std::shared_ptr<const Parsed> editBase();
    bool store(const std::shared_ptr<const Parsed>& base, std::string updated);

    std::string m_path;
    std::string m_lastError;
    // The last parse of the file, with the stamp it was read under.
    mutable std::shared_ptr<const Parsed> m_cache;
    // While a batch runs: the text it started from and the text as edited so far.
    bool m_batching = false;
    std::shared_ptr<const Parsed> m_batchBase;
    std::shared_ptr<const Parsed> m_pending;
};
