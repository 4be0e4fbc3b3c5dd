// odrivo-cli backup and restore against a settings file that points at temporary folders.

#include "cli_fixture.h"
#include "store/activity_log.h"

using clitest::has;
using logtest::readFile;
using logtest::writeFile;

namespace {

namespace fs = std::filesystem;

const std::string kCarBytes = logtest::logWithNote("Car"), kList = "[VehicleList]\r\nVehicle0=Car\r\n";

class BackupCommands : public clitest::CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        fs::create_directory(data());
        writeFile(profile(),
                  "[Initialize]\r\nPath=" + data() + "\r\nConfig=" + home() + "\r\nBackup=" + saved() + "\r\n");
        writeFile(data() + "CAR1.odv", kCarBytes);
        writeFile(home("Drivana.ini"), kList);
    }

    std::string data() const { return home("Data/"); }
    std::string saved() const { return home("Backup/"); }

    // The description fields of the activity log, after its header.
    clitest::Strings logLines() const {
        const std::string bytes = readFile(home("state/Odrivo/Odrivo.log"));
        clitest::Strings lines;
        for (std::size_t at = CActivityLog::kLineSize; at + CActivityLog::kLineSize <= bytes.size();
             at += CActivityLog::kLineSize)
            lines.push_back(bytes.substr(at + 58, 200).c_str());
        return lines;
    }
};

TEST_F(BackupCommands, BackupCopiesPrintsLogsAndDatesTheRun) {
    const auto r = run({"backup"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readFile(saved() + "CAR1.odv"), kCarBytes);
    EXPECT_EQ(readFile(saved() + "Drivana.ini"), kList);
    EXPECT_TRUE(fs::exists(saved() + "Odrivo.ini"));
    EXPECT_TRUE(has(r.out, "Copied " + data() + "CAR1.odv -> " + saved() + "CAR1.odv\n"));
    EXPECT_TRUE(has(r.out, "3 files copied"));
    EXPECT_FALSE(has(r.out, "Full Backup: Unknown"));
    EXPECT_TRUE(has(readFile(profile()), "LastBackupDate="));
    EXPECT_EQ(logLines(), clitest::Strings{"Full Backup Completed OK"});
}

TEST_F(BackupCommands, RestoreOnlySaysWhatItWouldReplaceUntilYesBringsItBack) {
    ASSERT_EQ(run({"backup"}).code, 0);
    fs::remove(data() + "CAR1.odv");
    writeFile(home("Drivana.ini"), "[VehicleList]\r\n");

    const auto asked = run({"restore"});
    EXPECT_EQ(asked.code, 1);
    EXPECT_FALSE(fs::exists(data() + "CAR1.odv"));
    EXPECT_TRUE(has(asked.out, "  " + data() + "CAR1.odv\n"));
    EXPECT_TRUE(has(asked.err, "--yes"));
    EXPECT_FALSE(has(readFile(profile()), "LastRestoreDate="));

    const auto r = run({"restore", "--yes"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readFile(data() + "CAR1.odv"), kCarBytes);
    EXPECT_EQ(readFile(home("Drivana.ini")), kList);
    EXPECT_TRUE(has(r.out, "Copied " + saved() + "CAR1.odv -> " + data() + "CAR1.odv\n"));
    // The settings file was among the restored files; the restore's date is written after it came back.
    EXPECT_TRUE(has(readFile(profile()), "LastRestoreDate="));
    EXPECT_FALSE(has(r.out, "Restore data on: Unknown"));
}

TEST_F(BackupCommands, AFailedCopyIsReportedAndTheOthersAreStillMade) {
    fs::create_directories(saved() + "CAR1.odv");
    const auto r = run({"backup"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(has(r.err, "CAR1.odv was not copied"));
    EXPECT_EQ(readFile(saved() + "Drivana.ini"), kList);
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("Backup copy failed: ", 0), 0u) << lines[0];
}

} // namespace
