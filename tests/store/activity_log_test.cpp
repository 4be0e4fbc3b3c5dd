#include "store/activity_log.h"

#include "../calc/fixed_locale.h"
#include "log_file_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;
using logtest::readFile;

namespace {

constexpr std::size_t kLine = CActivityLog::kLineSize;

std::string zeros(std::size_t n) {
    return std::string(n, '\0');
}

// The log stamps lines with local time; the tests pin the zone so the bytes are known.
class ActivityLog : public ::testing::Test {
protected:
    CActivityLog makeLog(const std::string& folder = "") {
        CActivityLog log(m_dir + folder + "Odrivo.log", m_dir + folder + "Odrivo.archive");
        log.setClock([] { return std::time_t{1956527998}; }); // 2031-12-31 23:59:58 UTC
        return log;
    }
    // The description field of every line after the header, zero padding removed.
    static std::vector<std::string> descriptions(const std::string& bytes) {
        EXPECT_EQ(bytes.size() % kLine, 0u);
        std::vector<std::string> out;
        for (std::size_t at = kLine; at + kLine <= bytes.size(); at += kLine)
            out.push_back(bytes.substr(at + 58, 200).c_str());
        return out;
    }
    // "m<first>" to "m<last>".
    static std::vector<std::string> numbered(int first, int last) {
        std::vector<std::string> out;
        for (int i = first; i <= last; ++i)
            out.push_back("m" + std::to_string(i));
        return out;
    }

    TimeZone m_utc{"UTC"};
    logtest::TempFolder m_folder;
    const std::string& m_dir = m_folder.path();
};

TEST_F(ActivityLog, FirstWriteCreatesFolderHeaderAndFixedWidthLines) {
    EXPECT_EQ(CActivityLog::headerLine(), "DATE" + zeros(6) + "TIME" + zeros(4) + "MODULE" + zeros(14) + "PROCEDURE" +
                                              zeros(11) + "DESCRIPTION" + zeros(189) + "\r\n");
    const std::string d200(200, 'd');
    EXPECT_EQ(CActivityLog::formatLine("03-05-2024-extra", "14:07:09:99", std::string(21, 'm') + "M",
                                       std::string(25, 'p'), d200 + "cut"),
              "03-05-202414:07:09" + std::string(20, 'm') + std::string(20, 'p') + d200 + "\r\n");
    EXPECT_EQ(CActivityLog::formatLine("", "", "", "Init", "x"),
              zeros(18) + zeros(20) + "Init" + zeros(16) + "x" + zeros(199) + "\r\n");

    CActivityLog log = makeLog("state/Odrivo/");
    log.setSection("Initialization");
    log.write("DataPath = /home/u/Data/");
    // Stored in Windows-1252, '?' for what it cannot hold, and cut after conversion:
    // 150 characters take 300 bytes in UTF-8 but 150 in the log.
    log.write("Caf\u00E9 \u20AC \u4E2D");
    std::string accents;
    for (int i = 0; i < 150; ++i)
        accents += "\u00E9";
    log.write(accents);
    log.write(std::string(260, 'z'));

    const auto line = [](const std::string& text) {
        return CActivityLog::formatLine("12-31-2031", "23:59:58", "Odrivo", "Initialization", text);
    };
    EXPECT_EQ(readFile(log.logPath()), CActivityLog::headerLine() + line("DataPath = /home/u/Data/") +
                                           line("Caf\xE9 \x80 ?") + line(std::string(150, '\xE9')) +
                                           line(std::string(200, 'z')));
}

TEST_F(ActivityLog, HundredthLineMovesTheOthersToTheArchive) {
    CActivityLog log = makeLog();
    for (const std::string& text : numbered(1, 99))
        log.write(text);
    const std::string before = readFile(log.logPath());
    ASSERT_EQ(before.size(), 100 * kLine);
    EXPECT_FALSE(fs::exists(log.archivePath()));

    log.write("m100");
    // The archive holds the log's lines byte for byte after its own header.
    EXPECT_EQ(readFile(log.archivePath()), before);
    EXPECT_EQ(readFile(log.logPath()),
              CActivityLog::headerLine() + CActivityLog::formatLine("12-31-2031", "23:59:58", "Odrivo", "", "m100"));
    // The second rotation appends to the archive without another header.
    for (const std::string& text : numbered(101, 199))
        log.write(text);
    EXPECT_EQ(descriptions(readFile(log.logPath())), numbered(199, 199));
    EXPECT_EQ(descriptions(readFile(log.archivePath())), numbered(1, 198));
}

TEST_F(ActivityLog, UnwritableLogOrArchiveIsSkippedSilently) {
    // A folder where the log file should be.
    fs::create_directory(m_dir + "Odrivo.log");
    CActivityLog log = makeLog();
    log.write("lost");
    EXPECT_TRUE(fs::is_empty(log.logPath()));
    EXPECT_FALSE(fs::exists(log.archivePath()));

    // A full log keeps growing when the archive cannot be opened.
    fs::create_directories(m_dir + "full/Odrivo.archive");
    CActivityLog full = makeLog("full/");
    for (const std::string& text : numbered(1, 101))
        full.write(text);
    EXPECT_EQ(descriptions(readFile(full.logPath())), numbered(1, 101));
}

} // namespace
