#pragma once
// CVehicleLogDoc owns the entry list of the selected vehicle, in ascending odometer
// order (equal odometers in insertion order), and moves it to and from the vehicle's
// data file. The file is an object archive: entry count, the records (the first with
// the class header, the rest with a class reference), then an always-empty string array.
//
// Loading never damages a file: a file that exists but cannot be read as a log marks
// its path as blocked, and saves to a blocked path are refused until a later load of
// that path succeeds, so an unreadable file is never replaced by an empty log.

#include "store/dv_item.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum class LogLoadStatus {
    Loaded,      // the file was read
    Missing,     // no file yet: an empty log, created by the next save
    Unreadable,  // the file exists but could not be opened or read
    Corrupt,     // not a data file, or cut short
    CannotCreate // no file, and none can be created at that place
};

struct LogLoadResult {
    LogLoadStatus status = LogLoadStatus::Loaded;
    std::string message; // for the user: names the file and what is wrong; empty when all is well
    bool ok() const { return status == LogLoadStatus::Loaded || status == LogLoadStatus::Missing; }
};

struct LogSaveResult {
    bool saved = false;
    std::string message; // for the user when not saved: names the file and what to do
};

class CVehicleLogDoc {
public:
    using Entries = std::vector<std::unique_ptr<CDVItem>>;

    CVehicleLogDoc() = default;
    CVehicleLogDoc(const CVehicleLogDoc&) = delete;
    CVehicleLogDoc& operator=(const CVehicleLogDoc&) = delete;

    const Entries& entries() const { return m_entries; }
    std::size_t size() const { return m_entries.size(); }
    CDVItem& at(std::size_t index) { return *m_entries.at(index); }
    const CDVItem& at(std::size_t index) const { return *m_entries.at(index); }

    // Inserts before the first entry whose odometer is strictly greater; returns its index.
    std::size_t insert(std::unique_ptr<CDVItem> item);
    // Inserts before the first entry whose odometer is equal or greater (the CSV import's
    // order: an imported entry goes ahead of one with the same reading); returns its index.
    std::size_t insertBeforeEqual(std::unique_ptr<CDVItem> item);
    // The same as giving `items` to insertBeforeEqual() one by one, in their order, in
    // O(n + k log k) instead of a scan of the list per item; the list need not be sorted.
    void insertAllBeforeEqual(Entries items);
    // Appends without ordering (used when reading a file, which keeps its order).
    void append(std::unique_ptr<CDVItem> item);
    // Removes and deletes the entry; false when it is not in the list.
    bool remove(const CDVItem* item);
    // Index of the entry, or -1.
    long indexOf(const CDVItem* item) const;
    void clear();

    // The document as archive bytes, and back. decode() replaces the entries only on
    // success; on failure `error` says what is wrong and the entries are unchanged.
    std::string encode() const;
    bool decode(std::string_view bytes, std::string* error);

    // Clears the document, then reads `path`.
    LogLoadResult load(const std::string& path);
    // Writes the document to `path` safely; the bytes of an older, longer file beyond
    // the new end are kept behind it, as an in-place overwrite would leave them.
    LogSaveResult save(const std::string& path);

    // "%s%s.odv" of the data folder (ending in '/') and the VIN; an empty VIN is "UnKnown",
    // the name its first save gives it, so every reader and writer finds the same file.
    static std::string dataFilePath(const std::string& dataFolder, const std::string& vin);
    // Why a VIN read from a settings file cannot name a data file ("" when it can): one that
    // would leave the data folder ("/", "..", ".") or holds control characters.
    static std::string vinPathProblem(const std::string& vin);

    // The path whose last load failed, or "" when saves are allowed everywhere.
    const std::string& blockedPath() const { return m_blockedPath; }

private:
    Entries m_entries;
    std::string m_blockedPath;
};
