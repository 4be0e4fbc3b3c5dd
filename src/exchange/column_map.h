#pragma once
// CColumnMap says which column of a CSV file feeds which field of an imported entry. It
// has 28 slots; the first 24 are the import fields listed by fieldNames(), in slot order,
// and each slot holds a source column (the position of a non-empty heading of the file's
// first line, from 0) or -1 when the field is not mapped. Slots 24 to 27 have no field and
// are only carried along. A map is saved in the user profile as a section named after the
// map, with "F0".."F27" = source column + 1 (0: not mapped); the names of the saved maps are
// listed as "Map1", "Map2", ... in ListAttributes, and "LastMap" names the map in use.

#include <array>
#include <string>
#include <vector>

class CAppProfile;

class CColumnMap {
public:
    static constexpr int kSlotCount = 28;
    static constexpr int kFieldCount = 25;

    enum Slot : int {
        EntryType,
        Odometer,
        Date,
        Invoice,
        Amount,
        Station,
        FuelQty,
        Measure,
        FuelPrice,
        Economy,
        FuelCost,
        Purpose,
        Destination,
        Contact,
        StartOdo,
        EndOdo,
        Distance,
        DepartDate,
        ArriveDate,
        Duration,
        TollsMaint,
        Parking,
        TripCost,
        Notes,
        PartialFill,
    };

    // Every slot unmapped.
    CColumnMap();

    // The 25 import field names, in slot order ("EntryType", "Odometer", ..., "Partial Fill").
    static const std::array<const char*, kFieldCount>& fieldNames();

    // The source column of a slot, -1 when unmapped or when the slot does not exist.
    int column(int slot) const;
    bool isMapped(int slot) const { return column(slot) >= 0; }
    // Maps a slot to a source column; a column below 0 unmaps it. Slots outside 0..27 are ignored.
    void setColumn(int slot, int sourceColumn);
    void unmap(int slot) { setColumn(slot, -1); }
    const std::array<int, kSlotCount>& slots() const { return m_slots; }

    // The text every line's EntryType field is read as while EntryType is not mapped; empty
    // when the map names none (then such lines are skipped).
    const std::string& fixedEntry() const { return m_fixedEntry; }
    void setFixedEntry(std::string text) { m_fixedEntry = std::move(text); }

    // Replaces all 28 slots and the fixed entry with the map saved under `name`; a map never saved reads as all
    // unmapped.
    void load(const CAppProfile& profile, const std::string& name);
    // Writes "LastMap" = `name`, the 28 "F" values and "FixedEntry" into the section `name`. False, with
    // the reason in `error`, for an empty name or when the profile cannot be written.
    bool save(CAppProfile& profile, const std::string& name, std::string* error = nullptr) const;

    // The saved map names: "Map1", "Map2", ... up to the first missing or empty value.
    static std::vector<std::string> savedNames(const CAppProfile& profile);
    // Lists `name` as the next "Map%d" unless a saved name already contains it as a substring
    // (so "Car" is not added while "Car 2" is listed). True when a name was written.
    static bool addName(CAppProfile& profile, const std::string& name);

    bool operator==(const CColumnMap&) const = default;

private:
    std::array<int, kSlotCount> m_slots;
    std::string m_fixedEntry;
};
