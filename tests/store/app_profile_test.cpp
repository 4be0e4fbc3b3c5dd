#include "store/app_profile.h"

#include "log_file_bytes.h"
#include "store/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using logtest::readFile;

namespace {

class AppProfile : public ::testing::Test {
protected:
    logtest::TempFolder m_folder;
    const std::string& m_dir = m_folder.path();
    // As on a first run: the profile's folder is not there yet.
    std::string m_path = m_folder.file("config/Odrivo/Odrivo.ini");
};

TEST_F(AppProfile, DefaultsUntilWrittenThenDecimalNumbersAndIndexedKeys) {
    CAppProfile profile(m_path);
    EXPECT_EQ(profile.getText(ProfileKeys::FontName), "Tahoma");
    EXPECT_EQ(profile.getNumber(ProfileKeys::FontHeight), -11);
    EXPECT_EQ(profile.getText(ProfileKeys::Path, "/data/"), "/data/");
    EXPECT_TRUE(profile.getBinary(ProfileKeys::State).empty());
    EXPECT_FALSE(fs::exists(m_dir + "config")) << "reading never creates the folder";

    ASSERT_TRUE(profile.putNumber(ProfileKeys::FontHeight, -12)) << profile.lastError();
    ASSERT_TRUE(profile.putText(ProfileKeys::LastVehicle, "Caf\u00e9 car"));
    ASSERT_TRUE(profile.putNumber(ProfileKeys::ColumnWidth, 2, 120));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(profile.putText(ProfileKeys::SearchItem, i, "old " + std::to_string(i)));
    // The search history is rewritten by deleting its section first.
    ASSERT_TRUE(profile.deleteSection(ProfileKeys::SearchItem.section));
    ASSERT_TRUE(profile.putText(ProfileKeys::SearchItem, 0, "fuel"));
    EXPECT_EQ(readFile(m_path), "[MainFont]\r\nHeight=-12\r\n[Initialize]\r\nLastVehicle=Caf\xE9 car\r\n"
                                "[ListAttributes]\r\nColNumber2=120\r\n[SearchList]\r\nSearch0=fuel\r\n");

    const CAppProfile again(m_path);
    EXPECT_EQ(again.getNumber(ProfileKeys::FontHeight), -12);
    EXPECT_EQ(again.getNumber(ProfileKeys::OdoFontHeight), 28) << "same key name, other section";
    EXPECT_EQ(again.getNumber(ProfileKeys::ColumnWidth, 3), 0);
    EXPECT_EQ(again.getText(ProfileKeys::SearchItem, 1), "");
    EXPECT_EQ(CAppProfile::keyName(ProfileKeys::LastVehicle, 4), "LastVehicle") << "no index to fill";
}

TEST_F(AppProfile, ABatchMakesTheFolderAndWritesAllOrNothing) {
    CAppProfile profile(m_path);
    EXPECT_FALSE(profile.batch([&] {
        return profile.putNumber(ProfileKeys::Grid, 1) && profile.putText(ProfileKeys::LastVehicle, "two\nlines");
    }));
    EXPECT_NE(profile.lastError().find("line break"), std::string::npos) << profile.lastError();
    EXPECT_FALSE(fs::exists(m_path));
    ASSERT_TRUE(profile.batch([&] {
        return profile.putNumber(ProfileKeys::Grid, 1) && profile.putNumber(ProfileKeys::Lines, 0);
    })) << profile.lastError();
    EXPECT_EQ(readFile(m_path), "[MainFont]\r\nGrid=1\r\nLines=0\r\n");
}

TEST_F(AppProfile, BinaryValuesAreUpperCaseHex) {
    CAppProfile profile(m_path);
    const std::vector<std::uint8_t> bytes{0x00, 0x0F, 0x7F, 0xAB, 0xFF};
    ASSERT_TRUE(profile.putBinary(ProfileKeys::State, bytes));
    EXPECT_EQ(readFile(m_path), "[Initialize]\r\nState=000F7FABFF\r\n");
    EXPECT_EQ(profile.getBinary(ProfileKeys::State), bytes);
    const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
        {"", {}}, {"abcd", {0xAB, 0xCD}}, {"ABC", {}}, {"0G", {}}, {"AB CD", {}}, {"0x12", {}}, {"-1", {}}};
    for (const auto& [text, expected] : cases) {
        ASSERT_TRUE(profile.putText(ProfileKeys::State, text));
        EXPECT_EQ(profile.getBinary(ProfileKeys::State), expected) << '"' << text << '"';
    }
}

TEST_F(AppProfile, FailedPutsSayWhatFailed) {
    // A file where the profile's folder should be, and a folder where the profile should be.
    ASSERT_TRUE(odrivo::writeFileAtomically(m_dir + "config", "not a folder"));
    CAppProfile blocked(m_path);
    EXPECT_FALSE(blocked.putNumber(ProfileKeys::Splash, 0));
    EXPECT_NE(blocked.lastError().find(m_dir + "config"), std::string::npos) << blocked.lastError();
    fs::create_directories(m_dir + "other/Odrivo.ini");
    CAppProfile onFolder(m_dir + "other/Odrivo.ini");
    EXPECT_FALSE(onFolder.putText(ProfileKeys::LastVehicle, "Van") || onFolder.deleteSection("Initialize"));
    EXPECT_FALSE(onFolder.lastError().empty());
    EXPECT_TRUE(fs::is_directory(m_dir + "other/Odrivo.ini"));
}

} // namespace
