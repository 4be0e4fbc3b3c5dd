#include "store/activity_log.h"

#include "../calc/fixed_locale.h"
#include "log_file_bytes.h"
#include "store/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;
using logtest::readFile;
using logtest::TempFolder;

namespace {

constexpr std::size_t kLine = CActivityLog::kLineSize;

std::string zeros(std::size_t n) {
    return std::string(n, '\0');
}

// The log stamps lines with local time; the tests pin the zone so the bytes are known.
class ActivityLog : public ::testing::Test {
protected:
    CActivityLog makeLog(const std::string& logName = "Odrivo.log", const std::string& archiveName = "Odrivo.archive") {
        CActivityLog log(m_dir + logName, m_dir + archiveName);
        log.setClock([] { return std::time_t{1709647629}; }); // 2024-03-05 14:07:09 UTC
        return log;
    }

    // The description field of every line, zero padding removed; the header's is "DESCRIPTION".
    static std::vector<std::string> descriptions(const std::string& bytes) {
        EXPECT_EQ(bytes.size() % kLine, 0u);
        std::vector<std::string> out;
        for (std::size_t at = 0; at + kLine <= bytes.size(); at += kLine) {
            std::string d = bytes.substr(at + 58, 200);
            d.resize(d.find('\0') == std::string::npos ? d.size() : d.find('\0'));
            out.push_back(d);
        }
        return out;
    }

    static std::vector<std::string> numbered(const std::string& prefix, int first, int last) {
        std::vector<std::string> out;
        for (int i = first; i <= last; ++i)
            out.push_back(prefix + std::to_string(i));
        return out;
    }

    TimeZone m_utc{"UTC"};
    TempFolder m_folder;
    const std::string& m_dir = m_folder.path();
};

} // namespace

TEST_F(ActivityLog, HeaderLineBytes) {
    const std::string expected = "DATE" + zeros(6) + "TIME" + zeros(4) + "MODULE" + zeros(14) + "PROCEDURE" +
                                 zeros(11) + "DESCRIPTION" + zeros(189) + "\r\n";
    EXPECT_EQ(CActivityLog::headerLine(), expected);
}

TEST_F(ActivityLog, FieldsAreCutToTheirWidthsAndZeroPadded) {
    struct Case {
        std::string module, procedure, description;
        std::string moduleField, procedureField, descriptionField;
    };
    const std::string d200(200, 'd');
    const Case cases[] = {
        {"", "", "", zeros(20), zeros(20), zeros(200)},
        {"Odrivo", "Initialization", "x", "Odrivo" + zeros(14), "Initialization" + zeros(6), "x" + zeros(199)},
        {std::string(20, 'm'), std::string(20, 'p'), d200, std::string(20, 'm'), std::string(20, 'p'), d200},
        {std::string(21, 'm') + "M", std::string(25, 'p'), d200 + "cut", std::string(20, 'm'), std::string(20, 'p'),
         d200},
    };
    for (const Case& c : cases) {
        const std::string line =
            CActivityLog::formatLine("03-05-2024-extra", "14:07:09:99", c.module, c.procedure, c.description);
        EXPECT_EQ(line, "03-05-202414:07:09" + c.moduleField + c.procedureField + c.descriptionField + "\r\n");
    }
}

TEST_F(ActivityLog, FirstWriteCreatesFolderHeaderAndLine) {
    CActivityLog log(m_dir + "state/Odrivo/Odrivo.log", m_dir + "state/Odrivo/Odrivo.archive");
    log.setClock([] { return std::time_t{1956527998}; }); // 2031-12-31 23:59:58 UTC
    log.setSection("Initialization");
    log.write("DataPath = /home/u/Data/");
    log.write("Caf\u00E9 \u20AC \u4E2D"); // stored in Windows-1252, '?' for what it cannot hold

    const std::string expected =
        CActivityLog::headerLine() +
        CActivityLog::formatLine("12-31-2031", "23:59:58", "Odrivo", "Initialization", "DataPath = /home/u/Data/") +
        CActivityLog::formatLine("12-31-2031", "23:59:58", "Odrivo", "Initialization", "Caf\xE9 \x80 ?");
    EXPECT_EQ(readFile(log.logPath()), expected);
    EXPECT_EQ(readFile(log.logPath()).substr(kLine, 38), "12-31-203123:59:58Odrivo" + zeros(14));
    EXPECT_FALSE(fs::exists(log.archivePath()));
}

TEST_F(ActivityLog, DescriptionIsCutAfterConversion) {
    CActivityLog log = makeLog();
    // 150 characters take 300 bytes in UTF-8 but 150 in the log: nothing is cut.
    std::string accents;
    for (int i = 0; i < 150; ++i)
        accents += "\u00E9";
    log.write(accents);
    log.write(std::string(260, 'z'));

    const std::string bytes = readFile(log.logPath());
    ASSERT_EQ(bytes.size(), 3 * kLine);
    EXPECT_EQ(bytes.substr(kLine + 58, 200), std::string(150, '\xE9') + zeros(50));
    EXPECT_EQ(bytes.substr(2 * kLine + 58, 200), std::string(200, 'z'));
    EXPECT_EQ(bytes.substr(2 * kLine + 258), "\r\n");
}

TEST_F(ActivityLog, HundredthLineMovesTheOthersToTheArchive) {
    CActivityLog log = makeLog();
    for (int i = 1; i <= 99; ++i)
        log.write("m" + std::to_string(i));
    ASSERT_EQ(readFile(log.logPath()).size(), 100 * kLine);
    EXPECT_FALSE(fs::exists(log.archivePath()));

    const std::string before = readFile(log.logPath());
    log.write("m100");
    const std::string archive = readFile(log.archivePath());
    // The archive holds the log's lines byte for byte after its own header.
    EXPECT_EQ(archive, before);
    EXPECT_EQ(readFile(log.logPath()),
              CActivityLog::headerLine() + CActivityLog::formatLine("03-05-2024", "14:07:09", "Odrivo", "", "m100"));

    // The second rotation appends to the archive without another header.
    for (int i = 101; i <= 199; ++i)
        log.write("m" + std::to_string(i));
    std::vector<std::string> expectedLog{"DESCRIPTION", "m199"};
    EXPECT_EQ(descriptions(readFile(log.logPath())), expectedLog);
    std::vector<std::string> expectedArchive = numbered("m", 1, 198);
    expectedArchive.insert(expectedArchive.begin(), "DESCRIPTION");
    EXPECT_EQ(descriptions(readFile(log.archivePath())), expectedArchive);
}

TEST_F(ActivityLog, UnopenableLogIsSkippedSilently) {
    // A folder where the log file should be.
    fs::create_directory(m_dir + "Odrivo.log");
    CActivityLog log = makeLog();
    log.write("lost");
    EXPECT_TRUE(fs::is_directory(log.logPath()));
    EXPECT_TRUE(fs::is_empty(log.logPath()));
    EXPECT_FALSE(fs::exists(log.archivePath()));

    // Its folder cannot be created: a file is in the way.
    ASSERT_TRUE(odrivo::writeFileAtomically(m_dir + "blocker", "keep"));
    CActivityLog blocked(m_dir + "blocker/Odrivo/Odrivo.log", m_dir + "blocker/Odrivo/Odrivo.archive");
    blocked.write("lost");
    EXPECT_EQ(readFile(m_dir + "blocker"), "keep");
}

TEST_F(ActivityLog, FullLogKeepsGrowingWhenTheArchiveCannotBeOpened) {
    fs::create_directory(m_dir + "Odrivo.archive");
    CActivityLog log = makeLog();
    for (int i = 1; i <= 101; ++i)
        log.write("m" + std::to_string(i));
    std::vector<std::string> expected = numbered("m", 1, 101);
    expected.insert(expected.begin(), "DESCRIPTION");
    EXPECT_EQ(descriptions(readFile(log.logPath())), expected);
}
