#include "store/partnerships.h"

#include "log_file_bytes.h"

#include <gtest/gtest.h>

namespace {

TEST(Partnerships, ReadsOnePartnershipPerSectionInFileOrder) {
    const logtest::TempFolder folder;
    EXPECT_EQ(CPartnerships::read(folder.file("absent.ini")), std::nullopt);
    logtest::writeFile(folder.file("Partners.ini"), "; devices\r\n"
                                                    "[P1]\r\n"
                                                    "displayname = Pocket\xE9 \r\n"
                                                    "DataFolder=/home/me/Application Data/Microsoft/ActiveSync/P1\r\n"
                                                    "DisplayName=second wins not\r\n"
                                                    "[P2]\n"
                                                    "DataFolder=/x\n"
                                                    "[p1]\n"
                                                    "DisplayName=repeated section\n"
                                                    "[P3]\n"
                                                    "DisplayName=\n");
    const auto partners = CPartnerships::read(folder.file("Partners.ini"));
    ASSERT_TRUE(partners);
    ASSERT_EQ(partners->size(), 3u);
    EXPECT_EQ((*partners)[0].displayName, "Pocket\u00e9");
    EXPECT_EQ((*partners)[0].dataFolder, "/home/me/Application Data/Microsoft/ActiveSync/P1");
    EXPECT_EQ((*partners)[1].displayName, std::nullopt) << "a device without a name";
    EXPECT_EQ((*partners)[1].dataFolder, "/x");
    EXPECT_EQ((*partners)[2].displayName, std::nullopt) << "an empty name names no device";
}

TEST(Partnerships, SyncFolderBaseComesFromTheDataFolderOnlyWhenTheSyncPartIsNotAtItsStart) {
    const struct {
        const char* dataFolder;
        const char* syncFolder;
    } cases[] = {
        {"/home/me/Application Data/Microsoft/ActiveSync/Profiles/P1",
         "/home/me/My Documents/Pocket My Documents/Odrivo Files/"},
        {"Application Data/Microsoft/ActiveSync/P1", "/home/you/My Documents/Pocket My Documents/Odrivo Files/"},
        {"/data/elsewhere", "/home/you/My Documents/Pocket My Documents/Odrivo Files/"},
        {"", "/home/you/My Documents/Pocket My Documents/Odrivo Files/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dataFolder);
        EXPECT_EQ(CPartnerships::syncFolder(c.dataFolder, "Pocket", "/home/you/"), c.syncFolder);
    }
}

} // namespace
