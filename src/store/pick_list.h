#pragma once
// CPickList is one drop-down list of Lists.ini: the texts the user typed before for fuel
// stations, repairs, trip purposes and the like. A list is the run of values under
// Line0, Line1, ... up to the first missing or empty one; the entry dialogs only read it
// (load), the list editor edits it through a CPickList object.
//
// The editor keeps the items in memory in ascending order and rewrites the section in
// that order at every reload, deleting the two keys after the end. Each action (reload,
// add, remove) applies its profile edits to a scratch copy of Lists.ini and then
// replaces the real file once, atomically, so a failure midway leaves the file as it was.
//
// Order: the texts compare code point by code point with letter case folded (ASCII and
// the Latin letters of Windows-1252); texts that are equal that way compare by their
// UTF-8 bytes, so "apple" < "Banana" < "banana" < "cherry".

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CProfileFile;

class CPickList {
public:
    // The sections of Lists.ini, one per list.
    static constexpr std::string_view FuelStationList = "FuelStationList";
    static constexpr std::string_view RepairList = "RepairList";
    static constexpr std::string_view RepairLocation = "RepairLocation";
    static constexpr std::string_view PurposeList = "PurposeList";
    static constexpr std::string_view ContactList = "ContactList";
    static constexpr std::string_view DestinationList = "DestinationList";

    // Longest item the editor adds, in characters (code points).
    static constexpr std::size_t MaxItemChars = 40;

    // The list as the file holds it, in file order; empty when the file or section is
    // missing or cannot be read.
    static std::vector<std::string> load(const std::string& listsPath, std::string_view section);

    // True when `a` sorts before `b` in the editor's order.
    static bool before(std::string_view a, std::string_view b);

    // Nothing is read until reload(); add() and remove() reload first when nothing was read yet.
    CPickList(std::string listsPath, std::string section);

    // Reads the section, sorts it and writes it back as Line0..c-1, deleting Line c and
    // Line c+1 (c = number of items read).
    void reload();
    // lastAdded() becomes `text` (cut to MaxItemChars), even when empty; a non-empty text
    // is written as Line c and the section reloaded.
    void add(std::string_view text);
    // Removes items()[index]: the section is deleted and written back from the remaining
    // items (so it moves to the end of the file and loses keys after a gap), then
    // reloaded. False (nothing changes) for an index out of range.
    bool remove(std::size_t index);

    const std::vector<std::string>& items() const { return m_items; }
    const std::string& lastAdded() const { return m_lastAdded; }
    // One more than the number of items the last reload read.
    int nextFree() const { return m_nextFree; }
    const std::string& section() const { return m_section; }
    const std::string& file() const { return m_path; }

    // Why the last action could not store its change ("" when it stored everything).
    const std::string& lastError() const { return m_lastError; }

private:
    void readSorted(const CProfileFile& file);
    bool rewriteSorted(CProfileFile& file);
    // Runs `steps` on a scratch copy of the file and stores the result when they all succeed.
    bool transact(const std::function<bool(CProfileFile&)>& steps);
    // After a failed action: the list as the real file still holds it.
    void readBack();

    std::string m_path;
    std::string m_section;
    std::vector<std::string> m_items;
    std::string m_lastAdded;
    int m_nextFree = 1;
    bool m_loaded = false;
    std::string m_lastError;
};
