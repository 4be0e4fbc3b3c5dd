#include "store/folder_finder.h"

#include "log_file_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

using Folders = std::vector<std::string>;

// A tree with the file in several places, and the traps a walk must not fall into.
class FolderFinderTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* folder : {"a/deep/er", "b", "c/Drivana.ini", "d"})
            std::filesystem::create_directories(tree.file(folder));
        for (const char* file : {"Drivana.ini", "a/deep/er/Drivana.ini", "b/DRIVANA.INI", "b/drivana.ini", "d/x.ini"})
            logtest::writeFile(tree.file(file), "[VehicleList]\n");
        std::filesystem::create_directory_symlink(tree.file("a"), tree.file("d/link-to-a"));
        logtest::writeFile(mounts.file("none"), "");
    }
    Folders search(const CFolderFinder::Params& params, const std::string& mountsFile) {
        CFolderFinder finder(mountsFile, tree.path());
        EXPECT_TRUE(finder.start(params));
        finder.wait();
        EXPECT_TRUE(finder.isDone());
        EXPECT_TRUE(finder.succeeded());
        EXPECT_EQ(finder.statusText(), "Scanning folder:");
        return finder.found();
    }
    logtest::TempFolder tree, mounts;
};

TEST_F(FolderFinderTest, FindsEachFolderWithTheFileOnceInTreeOrder) {
    const std::string t = tree.path();
    // A directory named like the file does not count, case does not matter, and the
    // symbolic link to a walked folder does not list its find again.
    const struct {
        CFolderFinder::Params params;
        Folders found;
    } cases[] = {
        {{t, "Drivana.ini", true, false}, {t, t + "a/deep/er/", t + "b/"}},
        {{t.substr(0, t.size() - 1), "drivana.INI", true, false}, {t, t + "a/deep/er/", t + "b/"}},
        {{t + "a", "Drivana.ini", true, true}, {t + "a/deep/er/"}},
        {{t, "Drivana.ini", true, true}, {t}},
        {{t + "a", "Drivana.ini", false, false}, {}},
        {{t + "b/", "Drivana.ini", false, false}, {t + "b/"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.params.startFolder + " " + c.params.fileName);
        EXPECT_EQ(search(c.params, mounts.file("none")), c.found);
    }
}

TEST_F(FolderFinderTest, WithoutStartFolderWalksHomeAndLocalMountsWithoutRepeats) {
    const std::string t = tree.path();
    // Mount points as the kernel lists them: a blank is written \040.
    std::filesystem::create_directories(mounts.file("disk two/sync"));
    logtest::writeFile(mounts.file("disk two/sync/Drivana.ini"), "");
    const std::string disk = "/dev/sdb1 " + mounts.path() + "disk\\040two xfs rw 0 0";
    std::string list;
    for (const std::string& line :
         Folders{"proc /proc proc rw,nosuid 0 0", "/dev/sda1 " + t + "b ext4 rw,relatime 0 0", disk, disk,
                 "server:/share /srv/share nfs4 rw 0 0", "/dev/loop3 /snap/core/1 squashfs ro 0 0",
                 "/dev/sdc1 /media/me/STICK vfat rw 0 0", "/dev/sdd1 /run/media/me/CARD exfat rw 0 0",
                 "/dev/sde1 /mnt/old ext4 ro,noatime 0 0", "tmpfs /tmp tmpfs rw 0 0", "short line"})
        list += line + '\n';
    logtest::writeFile(mounts.file("list"), list);
    EXPECT_EQ(CFolderFinder::startFolders(mounts.file("list"), t), (Folders{t, t + "b/", mounts.path() + "disk two/"}));
    EXPECT_EQ(search({"", "Drivana.ini", true, false}, mounts.file("list")),
              (Folders{t, t + "a/deep/er/", t + "b/", mounts.path() + "disk two/sync/"}));
}

TEST_F(FolderFinderTest, CancelEndsTheSearchAsCancelledAndALaterSearchRunsAgain) {
    // The worker blocks reading the mounts list from a pipe until the test writes it, so
    // the cancel surely comes while the search runs.
    const std::string pipe = mounts.file("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    CFolderFinder finder(pipe, tree.path());
    ASSERT_TRUE(finder.start({"", "Drivana.ini", true, false}));
    EXPECT_FALSE(finder.isDone());
    EXPECT_FALSE(finder.start({tree.path(), "Drivana.ini", true, false})) << "one search at a time";
    finder.cancel();
    std::ofstream(pipe) << "/dev/sda1 " << tree.path() << "a ext4 rw 0 0\n";
    finder.wait();
    EXPECT_TRUE(finder.isDone());
    EXPECT_FALSE(finder.succeeded());
    EXPECT_EQ(finder.found(), Folders{});

    ASSERT_TRUE(finder.start({tree.path() + "a", "Drivana.ini", true, false}));
    finder.wait();
    EXPECT_TRUE(finder.succeeded());
    EXPECT_EQ(finder.found(), Folders{tree.path() + "a/deep/er/"});
    EXPECT_EQ(finder.folderText(), tree.path() + "a/deep/er/");
}

TEST(FolderFinder, OffersFoundFoldersOutsideTheBackupAndConfigFolders) {
    const Folders found{"/h/sync/", "/h/.local/share/Odrivo/", "/h/.local/share/Odrivo/Backup/old/", "/h/x/"};
    const struct {
        std::string backup, config;
        Folders offered;
    } cases[] = {
        {"/h/.local/share/Odrivo/Backup/", "/h/.local/share/Odrivo/", {"/h/sync/", "/h/x/"}},
        {"/h/.local/share/Odrivo/Backup/", "/h/elsewhere/", {"/h/sync/", "/h/.local/share/Odrivo/", "/h/x/"}},
        {"", "/h/sync/", {"/h/.local/share/Odrivo/", "/h/.local/share/Odrivo/Backup/old/", "/h/x/"}},
        {"", "", found},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.backup + " | " + c.config);
        EXPECT_EQ(CFolderFinder::offeredFolders(found, c.backup, c.config), c.offered);
    }
}

} // namespace
