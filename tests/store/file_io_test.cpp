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
using logtest::TempFolder;

namespace {

class FileIo : public ::testing::Test {
protected:
    std::vector<std::string> namesIn(const std::string& folder) const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder m_folder;
    const std::string& m_dir = m_folder.path();
};

std::string contentOf(const std::string& path) {
    std::string bytes;
    EXPECT_EQ(readWholeFile(path, bytes), ReadStatus::Ok);
    return bytes;
}

} // namespace

TEST_F(FileIo, AtomicWriteCreatesAndReplacesWholeContent) {
    const std::string path = m_dir + "log.odv";
    const std::string binary("\x00\x01\xFF\r\n tail", 10);
    ASSERT_TRUE(writeFileAtomically(path, binary));
    EXPECT_EQ(contentOf(path), binary);

    // A shorter write leaves nothing of the longer old content behind.
    ASSERT_TRUE(writeFileAtomically(path, "ab"));
    EXPECT_EQ(contentOf(path), "ab");
    ASSERT_TRUE(writeFileAtomically(path, ""));
    EXPECT_EQ(contentOf(path), "");
    EXPECT_EQ(namesIn(m_dir), std::vector<std::string>{"log.odv"});
}

TEST_F(FileIo, AtomicWriteKeepsThePermissionsOfTheReplacedFile) {
    const std::string path = m_dir + "Drivana.ini";
    ASSERT_TRUE(writeFileAtomically(path, "old"));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(contentOf(path), "new");

    // A new file gets what any program would give it: 0666 less the umask.
    const mode_t previous = ::umask(027);
    ASSERT_TRUE(writeFileAtomically(m_dir + "Lists.ini", "x"));
    ::umask(previous);
    ASSERT_EQ(::stat((m_dir + "Lists.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(FileIo, FailedAtomicWriteLeavesNoTemporaryFileAndKeepsTheOldOne) {
    std::string error;
    EXPECT_FALSE(writeFileAtomically(m_dir + "missing/x.odv", "data", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(namesIn(m_dir).empty());

    // The target is a folder: the rename fails after the temporary file was written.
    ASSERT_TRUE(fs::create_directory(m_dir + "taken"));
    error.clear();
    EXPECT_FALSE(writeFileAtomically(m_dir + "taken", "data", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(namesIn(m_dir), std::vector<std::string>{"taken"});
    EXPECT_TRUE(fs::is_directory(m_dir + "taken"));
}

TEST_F(FileIo, ReadWholeFileTellsMissingFromFailed) {
    std::string bytes = "stale";
    std::string error;
    EXPECT_EQ(readWholeFile(m_dir + "none", bytes, &error), ReadStatus::Missing);
    EXPECT_TRUE(bytes.empty());

    // A folder opens but cannot be read.
    EXPECT_EQ(readWholeFile(m_dir, bytes, &error), ReadStatus::Failed);
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(bytes.empty());

    std::string big(200000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(writeFileAtomically(m_dir + "big", big));
    EXPECT_EQ(readWholeFile(m_dir + "big", bytes), ReadStatus::Ok);
    EXPECT_EQ(bytes, big);

    if (::geteuid() != 0) { // root reads anything
        ASSERT_EQ(::chmod((m_dir + "big").c_str(), 0), 0);
        error.clear();
        EXPECT_EQ(readWholeFile(m_dir + "big", bytes, &error), ReadStatus::Failed);
        EXPECT_FALSE(error.empty());
    }
}

TEST_F(FileIo, EnsureFolderCreatesParentsAndRejectsFiles) {
    const std::string nested = m_dir + "a/b/c/";
    EXPECT_TRUE(ensureFolder(nested));
    EXPECT_TRUE(fs::is_directory(nested));
    EXPECT_TRUE(ensureFolder(nested)); // already there

    ASSERT_TRUE(writeFileAtomically(m_dir + "file", "x"));
    std::string error;
    EXPECT_FALSE(ensureFolder(m_dir + "file", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ensureFolder(m_dir + "file/sub", &error));
    EXPECT_TRUE(fileExists(m_dir + "file"));
    EXPECT_FALSE(fileExists(nested)); // a folder is not a file
}

TEST(FileIoPaths, FolderOf) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/u/.local/state/Odrivo/Odrivo.log", "/home/u/.local/state/Odrivo/"},
        {"/x", "/"},
        {"data/", "data/"},
        {"Odrivo.log", ""},
        {"", ""},
    };
    for (const auto& [path, folder] : cases)
        EXPECT_EQ(folderOf(path), folder) << path;
}

TEST_F(FileIo, SaveWritesThroughALinkAndSweepsLeftoverTemporaries) {
    ASSERT_TRUE(fs::create_directory(m_dir + "real"));
    const std::string target = m_dir + "real/Drivana.ini";
    ASSERT_TRUE(writeFileAtomically(target, "old"));
    fs::create_symlink("real/Drivana.ini", m_dir + "Drivana.ini");
    // What a save that died before its rename leaves, beside an unrelated file of a similar name.
    ASSERT_TRUE(writeFileAtomically(m_dir + "real/Drivana.ini.odrivo-save-AbC123", "half"));
    ASSERT_TRUE(writeFileAtomically(m_dir + "real/Other.ini.odrivo-save-AbC123", "other"));

    ASSERT_TRUE(writeFileAtomically(m_dir + "Drivana.ini", "new"));
    EXPECT_TRUE(fs::is_symlink(m_dir + "Drivana.ini"));
    EXPECT_EQ(contentOf(target), "new");
    EXPECT_EQ(namesIn(m_dir + "real"), (std::vector<std::string>{"Drivana.ini", "Other.ini.odrivo-save-AbC123"}));
}

TEST_F(FileIo, ReadRefusesAFifoWithoutWaitingForAWriter) {
    const std::string fifo = m_dir + "VIN.odv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string bytes;
    std::string error;
    EXPECT_EQ(readWholeFile(fifo, bytes, &error), ReadStatus::Failed);
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
}
