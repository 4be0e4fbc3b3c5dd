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

TEST_F(ColumnMap, SlotBounds) {
    CColumnMap map;
    for (int slot = 0; slot < CColumnMap::kSlotCount; ++slot)
        EXPECT_FALSE(map.isMapped(slot)) << slot;
    map.setColumn(CColumnMap::Odometer, 3);
    map.setColumn(27, 9);
    map.setColumn(28, 1); // no such slot
    map.setColumn(-1, 1);
    map.setColumn(CColumnMap::Date, -7);
    map.setColumn(CColumnMap::Notes, 28); // no line has such a column
    EXPECT_EQ(map.column(CColumnMap::Odometer), 3);
    EXPECT_EQ(map.column(27), 9);
    EXPECT_EQ(map.column(28), -1);
    EXPECT_EQ(map.column(CColumnMap::Date), -1);
    EXPECT_EQ(map.column(CColumnMap::Notes), -1);
    map.unmap(CColumnMap::Odometer);
    EXPECT_FALSE(map.isMapped(CColumnMap::Odometer));
}

TEST_F(ColumnMap, SaveWritesColumnPlusOneAndLastMapAndLoadsBack) {
    CColumnMap map;
    map.setColumn(CColumnMap::EntryType, 0);
    map.setColumn(CColumnMap::Odometer, 2);
    map.setColumn(26, 5);
    std::string error;
    ASSERT_TRUE(map.save(m_profile, "Car", &error));
    EXPECT_EQ(error, "");

    const std::string ini = readFile(m_path);
    EXPECT_NE(ini.find("[Car]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("F0=1"), std::string::npos) << ini;
    EXPECT_NE(ini.find("F1=3"), std::string::npos) << ini;
    EXPECT_NE(ini.find("F2=0"), std::string::npos) << ini;
    EXPECT_NE(ini.find("F26=6"), std::string::npos) << ini;
    EXPECT_NE(ini.find("F27=0"), std::string::npos) << ini;
    EXPECT_EQ(ini.find("F28"), std::string::npos) << ini; // 28 slots, F0 to F27
    EXPECT_EQ(m_profile.getText(ProfileKeys::LastMap), "Car");

    CColumnMap loaded;
    loaded.setColumn(CColumnMap::Notes, 4); // replaced by the load
    loaded.load(CAppProfile(m_path), "Car");
    EXPECT_EQ(loaded, map);
}

TEST_F(ColumnMap, MapNeverSavedLoadsUnmappedAndEmptyNameIsRefused) {
    CColumnMap map;
    map.setColumn(CColumnMap::Odometer, 1);
    map.load(m_profile, "Nothing here");
    EXPECT_EQ(map, CColumnMap());
    EXPECT_EQ(m_profile.getText(ProfileKeys::LastMap), "DefaultMap");

    std::string error;
    EXPECT_FALSE(map.save(m_profile, "", &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(ColumnMap, ValuesNoLineCanHaveLoadUnmapped) {
    const ProfileKey slot{"Car", "F%d", "", 0};
    const char* const values[] = {"2147483648", "-2147483648", "29", "0", "28", "1"};
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(m_profile.putText(slot, i, values[i]));
    CColumnMap map;
    map.load(m_profile, "Car");
    const int expected[] = {-1, -1, -1, -1, 27, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(map.column(i), expected[i]) << values[i];
}

TEST_F(ColumnMap, SavedNamesStopAtFirstGap) {
    ASSERT_TRUE(m_profile.putText(ProfileKeys::MapName, 1, "Van"));
    ASSERT_TRUE(m_profile.putText(ProfileKeys::MapName, 2, "Truck"));
    ASSERT_TRUE(m_profile.putText(ProfileKeys::MapName, 4, "Lost"));
    EXPECT_EQ(CColumnMap::savedNames(m_profile), (std::vector<std::string>{"Van", "Truck"}));
}

TEST_F(ColumnMap, AddNameUsesTheSubstringRule) {
    struct Case {
        std::vector<std::string> saved;
        std::string name;
        bool added;
        std::vector<std::string> after;
    };
    const std::vector<Case> cases = {
        {{}, "Car", true, {"Car"}},
        {{"Car 2"}, "Car", false, {"Car 2"}},
        {{"Car"}, "Car", false, {"Car"}},
        {{"Car"}, "Car 2", true, {"Car", "Car 2"}},
        {{"Van", "Truck"}, "ruck", false, {"Van", "Truck"}},
        {{"Van"}, "", false, {"Van"}},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        CAppProfile profile(folder.file("Odrivo.ini"));
        for (std::size_t i = 0; i < c.saved.size(); ++i)
            ASSERT_TRUE(profile.putText(ProfileKeys::MapName, static_cast<int>(i) + 1, c.saved[i]));
        EXPECT_EQ(CColumnMap::addName(profile, c.name), c.added) << c.name;
        EXPECT_EQ(CColumnMap::savedNames(profile), c.after) << c.name;
    }
}

TEST_F(ColumnMap, SavingCarBesideCar2WritesTheSectionButNoName) {
    ASSERT_TRUE(m_profile.putText(ProfileKeys::MapName, 1, "Car 2"));
    CColumnMap map;
    map.setColumn(CColumnMap::Odometer, 4);
    EXPECT_FALSE(CColumnMap::addName(m_profile, "Car"));
    std::string error;
    ASSERT_TRUE(map.save(m_profile, "Car", &error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(CColumnMap::savedNames(m_profile), std::vector<std::string>{"Car 2"});
    CColumnMap loaded;
    loaded.load(m_profile, "Car");
    EXPECT_EQ(loaded.column(CColumnMap::Odometer), 4);
}

} // namespace
