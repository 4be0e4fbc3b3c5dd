#include "store/app_profile.h"

#include "log_file_bytes.h"
#include "store/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;
using logtest::readFile;
using logtest::TempFolder;

namespace {

class AppProfile : public ::testing::Test {
protected:
    std::string content() const { return readFile(m_path); }

    TempFolder m_folder;
    const std::string& m_dir = m_folder.path();
    // As on a first run: the profile's folder is not there yet.
    std::string m_path = m_folder.file("config/Odrivo/Odrivo.ini");
};

TEST_F(AppProfile, EmptyProfileGivesEachKeysDefault) {
    const CAppProfile profile(m_path);
    EXPECT_EQ(profile.getText(ProfileKeys::FontName), "Tahoma");
    EXPECT_EQ(profile.getText(ProfileKeys::State), "");
    EXPECT_EQ(profile.getNumber(ProfileKeys::FontHeight), -11);
    EXPECT_EQ(profile.getNumber(ProfileKeys::LastView), 0);
    EXPECT_EQ(profile.getText(ProfileKeys::Path, "/data/"), "/data/");
    EXPECT_EQ(profile.getText(ProfileKeys::SearchItem, 0), "");
    EXPECT_TRUE(profile.getBinary(ProfileKeys::State).empty());
    EXPECT_FALSE(fs::exists(m_dir + "config")) << "reading never creates the folder";
}

TEST_F(AppProfile, FirstWriteCreatesTheFolderAndWritesDecimalNumbers) {
    CAppProfile profile(m_path);
    ASSERT_TRUE(profile.putNumber(ProfileKeys::FontHeight, -11)) << profile.lastError();
    ASSERT_TRUE(profile.putNumber(ProfileKeys::FontWeight, 400));
    ASSERT_TRUE(profile.putText(ProfileKeys::LastVehicle, "Caf\u00e9 car"));
    ASSERT_TRUE(profile.putNumber(ProfileKeys::ColumnWidth, 2, 120));
    EXPECT_EQ(content(), "[MainFont]\r\nHeight=-11\r\nWeight=400\r\n"
                         "[Initialize]\r\nLastVehicle=Caf\xE9 car\r\n"
                         "[ListAttributes]\r\nColNumber2=120\r\n");

    const CAppProfile again(m_path);
    EXPECT_EQ(again.getNumber(ProfileKeys::FontHeight), -11);
    EXPECT_EQ(again.getNumber(ProfileKeys::OdoFontHeight), 28) << "same key name, other section";
    EXPECT_EQ(again.getText(ProfileKeys::LastVehicle), "Caf\u00e9 car");
    EXPECT_EQ(again.getNumber(ProfileKeys::ColumnWidth, 2), 120);
    EXPECT_EQ(again.getNumber(ProfileKeys::ColumnWidth, 3), 0);
    EXPECT_EQ(CAppProfile::keyName(ProfileKeys::LastVehicle, 4), "LastVehicle") << "no index to fill";
}

TEST_F(AppProfile, SearchHistoryIsRewrittenThroughDeleteSection) {
    CAppProfile profile(m_path);
    ASSERT_TRUE(profile.putText(ProfileKeys::LastVehicle, "Van"));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(profile.putText(ProfileKeys::SearchItem, i, "old " + std::to_string(i)));
    ASSERT_TRUE(profile.putNumber(ProfileKeys::GraphAnimate, 1));

    ASSERT_TRUE(profile.deleteSection(ProfileKeys::SearchItem.section));
    ASSERT_TRUE(profile.putText(ProfileKeys::SearchItem, 0, "fuel"));
    EXPECT_EQ(profile.getText(ProfileKeys::SearchItem, 0), "fuel");
    EXPECT_EQ(profile.getText(ProfileKeys::SearchItem, 1), "");
    EXPECT_EQ(content(), "[Initialize]\r\nLastVehicle=Van\r\n"
                         "[Graphs]\r\nAnimate=1\r\n"
                         "[SearchList]\r\nSearch0=fuel\r\n");
}

TEST_F(AppProfile, BinaryValuesAreUpperCaseHex) {
    CAppProfile profile(m_path);
    const std::vector<std::uint8_t> bytes{0x00, 0x0F, 0x7F, 0xAB, 0xFF};
    ASSERT_TRUE(profile.putBinary(ProfileKeys::State, bytes));
    EXPECT_EQ(content(), "[Initialize]\r\nState=000F7FABFF\r\n");
    EXPECT_EQ(profile.getBinary(ProfileKeys::State), bytes);

    struct Case {
        const char* text;
        std::vector<std::uint8_t> expected;
    };
    const Case cases[] = {
        {"", {}}, {"abcd", {0xAB, 0xCD}}, {"ABC", {}}, {"0G", {}}, {"AB CD", {}}, {"0x12", {}}, {"-1", {}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(profile.putText(ProfileKeys::State, c.text));
        EXPECT_EQ(profile.getBinary(ProfileKeys::State), c.expected) << '"' << c.text << '"';
    }
}

TEST_F(AppProfile, FailedPutsSayWhatFailed) {
    // A file where the profile's folder should be.
    ASSERT_TRUE(odrivo::writeFileAtomically(m_dir + "config", "not a folder"));
    CAppProfile blocked(m_path);
    EXPECT_FALSE(blocked.putNumber(ProfileKeys::Splash, 0));
    EXPECT_NE(blocked.lastError().find(m_dir + "config"), std::string::npos) << blocked.lastError();

    // A folder where the profile file should be.
    fs::create_directories(m_dir + "other/Odrivo.ini");
    CAppProfile onFolder(m_dir + "other/Odrivo.ini");
    EXPECT_FALSE(onFolder.putText(ProfileKeys::LastVehicle, "Van"));
    EXPECT_FALSE(onFolder.lastError().empty());
    EXPECT_FALSE(onFolder.deleteSection("Initialize"));
    EXPECT_TRUE(fs::is_directory(m_dir + "other/Odrivo.ini"));
}

} // namespace
