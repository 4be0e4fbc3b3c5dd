#include "exchange/column_map.h"

#include "store/app_profile.h"

namespace {

// The section of a saved map is named by the user, so its key is made at run time.
ProfileKey slotKey(const std::string& mapName) {
    return ProfileKey{mapName.c_str(), "F%d", "", 0};
}

ProfileKey fixedEntryKey(const std::string& mapName) {
    return ProfileKey{mapName.c_str(), "FixedEntry", "", 0};
}

} // namespace

CColumnMap::CColumnMap() {
    m_slots.fill(-1);
}

const std::array<const char*, CColumnMap::kFieldCount>& CColumnMap::fieldNames() {
    static constexpr std::array<const char*, kFieldCount> kNames = {
        "EntryType", "Odometer",   "Date",     "Invoice",      "Amount",      "Station",     "Fuel Qty",
        "Measure",   "Fuel Price", "Economy",  "Fuel Cost",    "Purpose",     "Destination", "Contact",
        "Start Odo", "End Odo",    "Distance", "Depart Date",  "Arrive Date", "Duration",    "Tolls & Maint cost",
        "Parking",   "Trip Cost",  "Notes",    "Partial Fill",
    };
    return kNames;
}

int CColumnMap::column(int slot) const {
    if (slot < 0 || slot >= kSlotCount)
        return -1;
    return m_slots[static_cast<std::size_t>(slot)];
}

void CColumnMap::setColumn(int slot, int sourceColumn) {
    if (slot < 0 || slot >= kSlotCount)
        return;
    // A line has at most kSlotCount fields; a column past them maps nothing.
    m_slots[static_cast<std::size_t>(slot)] = sourceColumn < 0 || sourceColumn >= kSlotCount ? -1 : sourceColumn;
}

void CColumnMap::load(const CAppProfile& profile, const std::string& name) {
    const ProfileKey key = slotKey(name);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        // A value no line could have ("F2=2147483648" reads as the lowest int) maps nothing.
        const int stored = profile.getNumber(key, slot);
        setColumn(slot, stored >= 1 && stored <= kSlotCount ? stored - 1 : -1);
    }
    m_fixedEntry = profile.getText(fixedEntryKey(name));
}

bool CColumnMap::save(CAppProfile& profile, const std::string& name, std::string* error) const {
    if (name.empty()) {
        if (error)
            *error = "The map has no name. Enter a map name, then save the map again.";
        return false;
    }
    bool ok = profile.putText(ProfileKeys::LastMap, name);
    const ProfileKey key = slotKey(name);
    for (int slot = 0; ok && slot < kSlotCount; ++slot)
        ok = profile.putNumber(key, slot, column(slot) + 1);
    ok = ok && profile.putText(fixedEntryKey(name), m_fixedEntry);
    if (!ok && error)
        *error = "The map \"" + name + "\" could not be saved in " + profile.file() + ": " + profile.lastError();
    return ok;
}

std::vector<std::string> CColumnMap::savedNames(const CAppProfile& profile) {
    std::vector<std::string> names;
    for (int number = 1;; ++number) {
        std::string name = profile.getText(ProfileKeys::MapName, number);
        if (name.empty())
            return names;
        names.push_back(std::move(name));
    }
}

bool CColumnMap::addName(CAppProfile& profile, const std::string& name) {
    if (name.empty())
        return false;
    const std::vector<std::string> names = savedNames(profile);
    for (const std::string& saved : names) {
        if (saved.find(name) != std::string::npos)
            return false;
    }
    return profile.putText(ProfileKeys::MapName, static_cast<int>(names.size()) + 1, name);
}
