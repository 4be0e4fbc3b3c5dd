// CColumnMap: slots, saving and loading through the profile, and the list of saved map names.

#include "exchange/column_map.h"

#include "../store/log_file_bytes.h"
#include "store/app_profile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using logtest::readFile;
using logtest::TempFolder;

namespace {

class ColumnMap : public ::testing::Test {
protected:
    TempFolder m_folder;
    std::string m_path = m_folder.file("Odrivo.ini");
    CAppProfile m_profile{m_path};
};

// Columns outside 0..27 and slots outside 0..27 leave the slot unmapped.
TEST_F(ColumnMap, SlotBounds) {
    CColumnMap map;
    for (int slot = 0; slot < CColumnMap::kSlotCount; ++slot)
        EXPECT_FALSE(map.isMapped(slot)) << slot;
    const int set[][2] = {{CColumnMap::Odometer, 3}, {27, 9}, {28, 1}, {-1, 1}, {CColumnMap::Date, -7},
                          {CColumnMap::Notes, 28}};
    for (const auto& [slot, column] : set)
        map.setColumn(slot, column);
    const int read[][2] = {
        {CColumnMap::Odometer, 3}, {27, 9}, {28, -1}, {CColumnMap::Date, -1}, {CColumnMap::Notes, -1}};
    for (const auto& [slot, column] : read)
        EXPECT_EQ(map.column(slot), column) << slot;
    map.unmap(CColumnMap::Odometer);
    EXPECT_FALSE(map.isMapped(CColumnMap::Odometer));
}

// The file holds column + 1 for each of the 28 slots (F0 to F27), 0 for an unmapped one. "Car" is
// refused as a name beside "Car 2", yet its map is still saved under its own section.
TEST_F(ColumnMap, SaveWritesColumnPlusOneAndLastMapAndLoadsBack) {
    ASSERT_TRUE(m_profile.putText(ProfileKeys::MapName, 1, "Car 2"));
    CColumnMap map;
    map.setColumn(CColumnMap::EntryType, 0);
    map.setColumn(CColumnMap::Odometer, 2);
    map.setColumn(26, 5);
    std::string error;
    ASSERT_TRUE(map.save(m_profile, "Car", &error));
    EXPECT_EQ(error, "");
    const std::string ini = readFile(m_path);
    for (const char* line : {"[Car]", "F0=1", "F1=3", "F2=0", "F26=6", "F27=0"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << "\n" << ini;
    EXPECT_EQ(ini.find("F28"), std::string::npos) << ini;
    EXPECT_EQ(m_profile.getText(ProfileKeys::LastMap), "Car");
    EXPECT_EQ(CColumnMap::savedNames(m_profile), std::vector<std::string>{"Car 2"});

    CColumnMap loaded;
    loaded.setColumn(CColumnMap::Notes, 4); // replaced by the load
    loaded.load(CAppProfile(m_path), "Car");
    EXPECT_EQ(loaded, map);
    EXPECT_FALSE(loaded.save(m_profile, "", &error));
    EXPECT_FALSE(error.empty());
}

// Values no line can have load unmapped, and so does a map never saved.
TEST_F(ColumnMap, LoadsOnlyColumnsALineCanHave) {
    const std::pair<const char*, int> cases[] = {{"2147483648", -1}, {"-2147483648", -1}, {"29", -1},
                                                 {"0", -1},          {"28", 27},          {"1", 0}};
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(m_profile.putText(ProfileKey{"Car", "F%d", "", 0}, i, cases[i].first));
    CColumnMap map;
    map.load(m_profile, "Car");
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(map.column(i), cases[i].second) << cases[i].first;
    map.load(m_profile, "Nothing here");
    EXPECT_EQ(map, CColumnMap());
    EXPECT_EQ(m_profile.getText(ProfileKeys::LastMap), "DefaultMap");
}

// The list of names stops at its first gap; a name is added only when no saved name contains it.
TEST_F(ColumnMap, AddNameUsesTheSubstringRule) {
    ASSERT_TRUE(m_profile.putText(ProfileKeys::MapName, 1, "Van"));
    ASSERT_TRUE(m_profile.putText(ProfileKeys::MapName, 2, "Truck"));
    ASSERT_TRUE(m_profile.putText(ProfileKeys::MapName, 4, "Lost"));
    EXPECT_EQ(CColumnMap::savedNames(m_profile), (std::vector<std::string>{"Van", "Truck"}));
    const struct {
        std::vector<std::string> saved;
        std::string name;
        bool added;
        std::vector<std::string> after;
    } cases[] = {{{}, "Car", true, {"Car"}},
                 {{"Car 2"}, "Car", false, {"Car 2"}},
                 {{"Car"}, "Car", false, {"Car"}},
                 {{"Car"}, "Car 2", true, {"Car", "Car 2"}},
                 {{"Van", "Truck"}, "ruck", false, {"Van", "Truck"}},
                 {{"Van"}, "", false, {"Van"}}};
    for (const auto& c : cases) {
        TempFolder folder;
        CAppProfile profile(folder.file("Odrivo.ini"));
        for (std::size_t i = 0; i < c.saved.size(); ++i)
            ASSERT_TRUE(profile.putText(ProfileKeys::MapName, static_cast<int>(i) + 1, c.saved[i]));
        EXPECT_EQ(CColumnMap::addName(profile, c.name), c.added) << c.name;
        EXPECT_EQ(CColumnMap::savedNames(profile), c.after) << c.name;
    }
}

} // namespace
