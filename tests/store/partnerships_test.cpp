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
                                                    "DisplayName=not taken\r\n"
                                                    "DataFolder=/not taken\r\n"
                                                    "[P2]\n"
                                                    "DataFolder=/x\n"
                                                    "[p1]\n"
                                                    "DisplayName=repeated section\n"
                                                    "[P3]\n"
                                                    "DisplayName=\n");
    // Repeated keys and sections: the first wins. An empty name names no device.
    EXPECT_EQ(CPartnerships::read(folder.file("Partners.ini")),
              (std::vector<Partnership>{{"Pocket\u00e9", "/home/me/Application Data/Microsoft/ActiveSync/P1"},
                                        {std::nullopt, "/x"},
                                        {std::nullopt, ""}}));
}

TEST(Partnerships, SyncFolderBaseComesFromTheDataFolderOnlyWhenTheSyncPartIsNotAtItsStart) {
    const struct {
        const char* dataFolder;
        const char* syncFolder;
    } cases[] = {
        {"/home/me/Application Data/Microsoft/ActiveSync/Profiles/P1",
         "/home/me/My Documents/Pocket My Documents/Odrivo Files/"},
        {"Application Data/Microsoft/ActiveSync/P1", "/home/you/My Documents/Pocket My Documents/Odrivo Files/"},
        {"", "/home/you/My Documents/Pocket My Documents/Odrivo Files/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dataFolder);
        EXPECT_EQ(CPartnerships::syncFolder(c.dataFolder, "Pocket", "/home/you/"), c.syncFolder);
    }
}

} // namespace
