// odrivo-cli backup and restore against a settings file that points at temporary folders.

#include "cli_fixture.h"
#include "store/activity_log.h"

using clitest::has;
using clitest::refused;
using logtest::readFile;
using logtest::writeFile;

namespace {

namespace fs = std::filesystem;

const std::string kCarBytes = logtest::logWithNote("Car"), kList = "[VehicleList]\r\nVehicle0=Car\r\n";

class BackupCommands : public clitest::CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        writeProfile();
        writeFile(home("CAR1.odv"), kCarBytes);
        writeFile(home("Drivana.ini"), kList);
    }

    // The description fields of the activity log, after its header.
    clitest::Strings logLines() const {
        const std::string bytes = readFile(home("state/Odrivo/Odrivo.log"));
        clitest::Strings lines;
        for (std::size_t at = CActivityLog::kLineSize; at + CActivityLog::kLineSize <= bytes.size();
             at += CActivityLog::kLineSize)
            lines.push_back(bytes.substr(at + 58, 200).c_str());
        return lines;
    }

    const std::string m_car = home("CAR1.odv"), m_saved = home("Backup/");
};

TEST_F(BackupCommands, BackupCopiesPrintsLogsAndDatesTheRun) {
    const auto r = run({"backup"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readFile(m_saved + "CAR1.odv"), kCarBytes);
    EXPECT_EQ(readFile(m_saved + "Drivana.ini"), kList);
    EXPECT_TRUE(fs::exists(m_saved + "Odrivo.ini"));
    EXPECT_TRUE(has(r.out, "Copied " + m_car + " -> " + m_saved + "CAR1.odv\n"));
    EXPECT_TRUE(has(r.out, "3 files copied"));
    EXPECT_FALSE(has(r.out, "Full Backup: Unknown"));
    EXPECT_TRUE(has(readFile(profile()), "LastBackupDate="));
    EXPECT_EQ(logLines(), clitest::Strings{"Full Backup Completed OK"});
}

TEST_F(BackupCommands, RestoreOnlySaysWhatItWouldReplaceUntilYesBringsItBack) {
    ASSERT_EQ(run({"backup"}).code, 0);
    fs::remove(m_car);
    writeFile(home("Drivana.ini"), "[VehicleList]\r\n");
    const auto asked = run({"restore"});
    EXPECT_TRUE(refused(asked, "run \"restore --yes\""));
    EXPECT_TRUE(has(asked.out, "  " + m_car + "\n"));
    EXPECT_FALSE(fs::exists(m_car));
    EXPECT_FALSE(has(readFile(profile()), "LastRestoreDate="));

    const auto r = run({"restore", "--yes"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readFile(m_car), kCarBytes);
    EXPECT_EQ(readFile(home("Drivana.ini")), kList);
    EXPECT_TRUE(has(r.out, "Copied " + m_saved + "CAR1.odv -> " + m_car + "\n"));
    // The settings file was among the restored files; the restore's date is written after it came back.
    EXPECT_TRUE(has(readFile(profile()), "LastRestoreDate="));
    EXPECT_FALSE(has(r.out, "Restore data on: Unknown"));
}

TEST_F(BackupCommands, AFailedCopyIsReportedAndLogged) {
    fs::create_directories(m_saved + "CAR1.odv");
    const auto r = run({"backup"});
    EXPECT_TRUE(refused(r, "CAR1.odv was not copied"));
    EXPECT_TRUE(has(r.out, "2 files copied to " + m_saved + ", 1 failed."));
    EXPECT_EQ(logLines().at(0).rfind("Backup copy failed: ", 0), 0u);
}

} // namespace
