#include "store/file_io.h"

#include "log_file_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace odrivo;
using Names = std::vector<std::string>;

namespace {

class FileIo : public ::testing::Test {
protected:
    static Names namesIn(const std::string& folder) {
        Names names;
        for (const auto& e : fs::directory_iterator(folder))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static mode_t modeOf(const std::string& path) {
        struct stat st {};
        EXPECT_EQ(::stat(path.c_str(), &st), 0);
        return st.st_mode & 07777;
    }

    logtest::TempFolder m_folder;
    const std::string& m_dir = m_folder.path();
};

TEST_F(FileIo, AtomicWriteReplacesWholeContentAndKeepsPermissions) {
    const std::string path = m_dir + "Drivana.ini";
    const std::string binary("\x00\x01\xFF\r\n tail", 10);
    ASSERT_TRUE(writeFileAtomically(path, binary));
    EXPECT_EQ(logtest::readFile(path), binary);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    // A shorter write leaves nothing of the longer old content behind.
    ASSERT_TRUE(writeFileAtomically(path, "ab"));
    EXPECT_EQ(logtest::readFile(path), "ab");
    EXPECT_EQ(modeOf(path), 0640u);

    // A new file gets what any program would give it: 0666 less the umask.
    const mode_t previous = ::umask(027);
    ASSERT_TRUE(writeFileAtomically(m_dir + "Lists.ini", "x"));
    ::umask(previous);
    EXPECT_EQ(modeOf(m_dir + "Lists.ini"), 0640u);
    EXPECT_EQ(namesIn(m_dir), (Names{"Drivana.ini", "Lists.ini"}));
}

TEST_F(FileIo, FailedAtomicWriteLeavesNoTemporaryFileAndKeepsTheOldOne) {
    // A missing folder, and a folder as the target: its rename fails after the temporary file was written.
    ASSERT_TRUE(fs::create_directory(m_dir + "taken"));
    for (const char* target : {"missing/x.odv", "taken"}) {
        std::string error;
        EXPECT_FALSE(writeFileAtomically(m_dir + target, "data", &error));
        EXPECT_FALSE(error.empty()) << target;
    }
    EXPECT_EQ(namesIn(m_dir), Names{"taken"});
    EXPECT_TRUE(fs::is_directory(m_dir + "taken"));
}

TEST_F(FileIo, SaveWritesThroughALinkAndSweepsLeftoverTemporaries) {
    ASSERT_TRUE(fs::create_directory(m_dir + "real"));
    const std::string target = m_dir + "real/Drivana.ini";
    ASSERT_TRUE(writeFileAtomically(target, "old"));
    fs::create_symlink("real/Drivana.ini", m_dir + "Drivana.ini");
    // What a save that died before its rename leaves, beside an unrelated file of a similar name.
    ASSERT_TRUE(writeFileAtomically(target + ".odrivo-save-AbC123", "half"));
    ASSERT_TRUE(writeFileAtomically(m_dir + "real/Other.ini.odrivo-save-AbC123", "other"));
    ASSERT_TRUE(writeFileAtomically(m_dir + "Drivana.ini", "new"));
    EXPECT_TRUE(fs::is_symlink(m_dir + "Drivana.ini"));
    EXPECT_EQ(logtest::readFile(target), "new");
    EXPECT_EQ(namesIn(m_dir + "real"), (Names{"Drivana.ini", "Other.ini.odrivo-save-AbC123"}));
}

TEST_F(FileIo, ReadWholeFileTellsMissingFromFailed) {
    // A folder opens but cannot be read; a FIFO is refused without waiting for a writer.
    ASSERT_EQ(::mkfifo((m_dir + "VIN.odv").c_str(), 0600), 0);
    const struct {
        const char* name;
        ReadStatus status;
        const char* error;
    } cases[] = {{"none", ReadStatus::Missing, ""},
                 {"", ReadStatus::Failed, ""},
                 {"VIN.odv", ReadStatus::Failed, "not a regular file"}};
    for (const auto& c : cases) {
        std::string bytes = "stale", error;
        EXPECT_EQ(readWholeFile(m_dir + c.name, bytes, &error), c.status) << c.name;
        EXPECT_TRUE(bytes.empty()) << c.name;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        EXPECT_TRUE(c.status == ReadStatus::Missing || !error.empty()) << c.name;
    }
}

TEST(FileIoPaths, FolderOf) {
    const std::pair<const char*, const char*> folders[] = {
        {"/home/u/Odrivo.log", "/home/u/"}, {"/x", "/"}, {"data/", "data/"}, {"Odrivo.log", ""}, {"", ""}};
    for (const auto& [path, folder] : folders)
        EXPECT_EQ(folderOf(path), folder) << path;
}

} // namespace
