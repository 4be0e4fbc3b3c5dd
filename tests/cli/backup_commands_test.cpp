// odrivo-cli backup and restore, run in-process against a settings file that points at
// temporary folders; the activity log goes to a temporary state folder.

#include "cli_fixture.h"
#include "store/activity_log.h"

using logtest::readFile;
using logtest::writeFile;

namespace {

namespace fs = std::filesystem;

using clitest::CliRun;

const std::string kCarBytes = logtest::logWithNote("Car");

class BackupCommands : public clitest::CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        fs::create_directory(data());
        writeFile(profile(), "[Initialize]\r\nPath=" + data() + "\r\nConfig=" + m_home.path() +
                                 "\r\nBackup=" + backupFolder() + "\r\n");
        writeFile(data() + "CAR1.odv", kCarBytes);
        writeFile(m_home.file("Drivana.ini"), "[VehicleList]\r\nVehicle0=Car\r\n");
    }

    std::string data() const { return m_home.file("Data/"); }
    std::string backupFolder() const { return m_home.file("Backup/"); }

    // The description fields of the activity log, after its header.
    std::vector<std::string> logLines() const {
        const std::string bytes = readFile(m_home.file("state/Odrivo/Odrivo.log"));
        std::vector<std::string> lines;
        for (std::size_t at = CActivityLog::kLineSize; at + CActivityLog::kLineSize <= bytes.size();
             at += CActivityLog::kLineSize)
            lines.push_back(bytes.substr(at + 58, 200).c_str());
        return lines;
    }
};

TEST_F(BackupCommands, BackupCopiesPrintsLogsAndDatesTheRun) {
    const CliRun r = run({"backup"});

    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readFile(backupFolder() + "CAR1.odv"), kCarBytes);
    EXPECT_EQ(readFile(backupFolder() + "Drivana.ini"), "[VehicleList]\r\nVehicle0=Car\r\n");
    EXPECT_TRUE(fs::exists(backupFolder() + "Odrivo.ini"));
    EXPECT_NE(r.out.find("Copied " + data() + "CAR1.odv -> " + backupFolder() + "CAR1.odv\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("3 files copied"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Full Backup: Unknown"), std::string::npos) << r.out;
    EXPECT_NE(readFile(profile()).find("LastBackupDate="), std::string::npos);
    EXPECT_EQ(logLines(), (std::vector<std::string>{"Full Backup Completed OK"}));
}

TEST_F(BackupCommands, RestoreWithoutYesOnlySaysWhatItWouldReplace) {
    ASSERT_EQ(run({"backup"}).code, 0);
    fs::remove(data() + "CAR1.odv");

    const CliRun r = run({"restore"});

    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(fs::exists(data() + "CAR1.odv"));
    EXPECT_NE(r.out.find("  " + data() + "CAR1.odv\n"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("--yes"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(profile()).find("LastRestoreDate="), std::string::npos);
}

TEST_F(BackupCommands, RestoreWithYesBringsBackADeletedDataFile) {
    ASSERT_EQ(run({"backup"}).code, 0);
    fs::remove(data() + "CAR1.odv");
    writeFile(m_home.file("Drivana.ini"), "[VehicleList]\r\n");

    const CliRun r = run({"restore", "--yes"});

    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readFile(data() + "CAR1.odv"), kCarBytes);
    EXPECT_EQ(readFile(m_home.file("Drivana.ini")), "[VehicleList]\r\nVehicle0=Car\r\n");
    EXPECT_NE(r.out.find("Copied " + backupFolder() + "CAR1.odv -> " + data() + "CAR1.odv\n"), std::string::npos)
        << r.out;
    // The settings file was among the restored files; the restore's date is written after it came back.
    EXPECT_NE(readFile(profile()).find("LastRestoreDate="), std::string::npos);
    EXPECT_EQ(r.out.find("Restore data on: Unknown"), std::string::npos) << r.out;
}

TEST_F(BackupCommands, AFailedCopyIsReportedAndTheOthersAreStillMade) {
    fs::create_directories(backupFolder() + "CAR1.odv");

    const CliRun r = run({"backup"});

    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("CAR1.odv was not copied"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(backupFolder() + "Drivana.ini"), "[VehicleList]\r\nVehicle0=Car\r\n");
    const std::vector<std::string> lines = logLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("Backup copy failed: ", 0), 0u) << lines[0];
}

} // namespace
