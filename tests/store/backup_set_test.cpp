// CBackupSet in temporary folders: which files a run takes, the round trip that brings
// a deleted data file back, copies that fail without stopping the run, the order of the
// dialog's list, and the dates kept in the profile.

#include "store/backup_set.h"

#include "../calc/fixed_locale.h"
#include "log_file_bytes.h"
#include "store/activity_log.h"
#include "store/app_profile.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

using logtest::readFile;
using logtest::TempFolder;
using logtest::writeFile;

namespace {

namespace fs = std::filesystem;

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

std::vector<std::string> namesOf(const std::vector<BackupFile>& files) {
    std::vector<std::string> names;
    for (const BackupFile& file : files)
        names.push_back(file.name);
    return names;
}

class BackupSet : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(data());
        fs::create_directory(config());
    }

    std::string data() const { return m_root.file("Data/"); }
    std::string config() const { return m_root.file("Config/"); }
    std::string backupFolder() const { return m_root.file("Backup/"); }
    CBackupSet set() const { return CBackupSet({data(), backupFolder(), config()}); }

    TempFolder m_root;
};

// A data and a backup folder of their own, and a run in one direction that logs what fails.
struct Direction {
    explicit Direction(bool restoring) : restore(restoring) {
        fs::create_directory(data);
        fs::create_directory(backup);
    }
    const std::string& from() const { return restore ? backup : data; }
    const std::string& to() const { return restore ? data : backup; }
    CopyRunResult run() {
        const CBackupSet set({data, backup, root.path()});
        return restore ? set.restore(&log) : set.backup(&log);
    }

    TempFolder root;
    std::string data = root.file("Data/"), backup = root.file("Backup/");
    CActivityLog log{root.file("Odrivo.log"), root.file("Odrivo.archive")};
    bool restore;
};

// Data files hold NULs and CR LF pairs that a text-mode copy or a string cut at NUL would spoil.
const std::string kCarBytes = logtest::logWithNote("Car log");
const std::string kVanBytes = logtest::logWithNote("Van");

TEST_F(BackupSet, TakesOnlyDataFilesAndIniFiles) {
    writeFile(data() + "Car.odv", kCarBytes);
    writeFile(data() + "VAN.ODV", kVanBytes);
    writeFile(data() + "notes.txt", "not ours");
    writeFile(data() + "odv", "no extension");
    fs::create_directory(data() + "Old.odv");
    writeFile(config() + "Drivana.ini", "[VehicleList]\r\n");
    writeFile(config() + "Lists.ini", "[Stations]\r\n");
    writeFile(config() + "Drivana.ini.bak", "old");

    const CopyRunResult result = set().backup(nullptr);

    EXPECT_TRUE(result.failed.empty());
    EXPECT_EQ(namesOf(result.copied), (std::vector<std::string>{"Car.odv", "VAN.ODV", "Drivana.ini", "Lists.ini"}));
    EXPECT_EQ(namesIn(backupFolder()), (std::set<std::string>{"Car.odv", "VAN.ODV", "Drivana.ini", "Lists.ini"}));
    EXPECT_EQ(readFile(backupFolder() + "Car.odv"), kCarBytes);
    EXPECT_EQ(readFile(backupFolder() + "Lists.ini"), "[Stations]\r\n");
}

TEST_F(BackupSet, RestoreBringsBackADataFileDeletedSinceAnEarlierBackup) {
    writeFile(data() + "Car.odv", kCarBytes);
    writeFile(data() + "Van.odv", kVanBytes);
    writeFile(config() + "Drivana.ini", "[VehicleList]\r\nVehicle0=Car\r\nVehicle1=Van\r\n");
    ASSERT_TRUE(set().backup(nullptr).failed.empty());

    // The van goes, the car changes, and a second backup overwrites only what is still there.
    fs::remove(data() + "Van.odv");
    const std::string carLater = logtest::logWithNote("Car later");
    writeFile(data() + "Car.odv", carLater);
    writeFile(config() + "Drivana.ini", "[VehicleList]\r\nVehicle0=Car\r\n");
    ASSERT_TRUE(set().backup(nullptr).failed.empty());
    EXPECT_EQ(readFile(backupFolder() + "Van.odv"), kVanBytes);
    EXPECT_EQ(readFile(backupFolder() + "Car.odv"), carLater);

    writeFile(data() + "Car.odv", kVanBytes);
    writeFile(data() + "Truck.odv", "made after the backup");
    const CopyRunResult restored = set().restore(nullptr);

    EXPECT_TRUE(restored.failed.empty());
    EXPECT_EQ(readFile(data() + "Van.odv"), kVanBytes);
    EXPECT_EQ(readFile(data() + "Car.odv"), carLater);
    EXPECT_EQ(readFile(config() + "Drivana.ini"), "[VehicleList]\r\nVehicle0=Car\r\n");
    // Restore replaces; it never removes a working file the backup does not hold.
    EXPECT_EQ(readFile(data() + "Truck.odv"), "made after the backup");
    // Neither direction leaves temporary files behind.
    EXPECT_EQ(namesIn(data()), (std::set<std::string>{"Car.odv", "Van.odv", "Truck.odv"}));
    EXPECT_EQ(namesIn(backupFolder()), (std::set<std::string>{"Car.odv", "Van.odv", "Drivana.ini"}));
}

TEST_F(BackupSet, RestoreRemakesAMissingWorkingFolder) {
    fs::create_directory(backupFolder());
    writeFile(backupFolder() + "Car.odv", kCarBytes);
    fs::remove(data());

    const CopyRunResult restored = set().restore(nullptr);

    EXPECT_TRUE(restored.failed.empty());
    EXPECT_EQ(readFile(data() + "Car.odv"), kCarBytes);
}

TEST_F(BackupSet, AFailedCopyIsLoggedAndTheRunGoesOn) {
    for (const bool restore : {false, true}) {
        SCOPED_TRACE(restore ? "restore" : "backup");
        Direction d(restore);
        writeFile(d.from() + "A.odv", kCarBytes);
        writeFile(d.from() + "B.odv", kCarBytes);
        writeFile(d.from() + "C.odv", kVanBytes);
        // A folder where the copy must go cannot be replaced by a file.
        fs::create_directory(d.to() + "B.odv");
        writeFile(d.to() + "B.odv/keep.txt", "user's file");

        const CopyRunResult result = d.run();

        EXPECT_EQ(namesOf(result.copied), (std::vector<std::string>{"A.odv", "C.odv"}));
        ASSERT_EQ(result.failed.size(), 1u);
        EXPECT_EQ(result.failed[0].file.name, "B.odv");
        EXPECT_NE(result.failed[0].reason.find(d.to() + "B.odv"), std::string::npos) << result.failed[0].reason;
        EXPECT_EQ(readFile(d.to() + "C.odv"), kVanBytes);
        EXPECT_EQ(readFile(d.to() + "B.odv/keep.txt"), "user's file");

        const std::string logBytes = readFile(d.log.logPath());
        ASSERT_EQ(logBytes.size(), 2 * CActivityLog::kLineSize);
        const std::string line = logBytes.substr(CActivityLog::kLineSize + 58, 200);
        EXPECT_EQ(line.rfind(restore ? "Restore copy failed: " : "Backup copy failed: ", 0), 0u) << line;
        EXPECT_NE(line.find("B.odv"), std::string::npos) << line;
    }
}

TEST_F(BackupSet, AnUnreadableSourceLeavesTheTargetAsItWas) {
    fs::create_directory(backupFolder());
    writeFile(data() + "Car.odv", "the user's only copy");
    // A backup copy that cannot be read must not empty the working file.
    fs::create_symlink(m_root.file("nowhere.odv"), backupFolder() + "Car.odv");

    const CopyRunResult result = set().restore(nullptr);

    ASSERT_EQ(result.failed.size(), 1u);
    EXPECT_TRUE(result.copied.empty());
    EXPECT_EQ(readFile(data() + "Car.odv"), "the user's only copy");
}

TEST_F(BackupSet, ADamagedLogNeverReplacesTheCopyItWouldOverwrite) {
    const std::string cut = kCarBytes.substr(0, kCarBytes.size() - 9);
    for (const bool restore : {false, true}) {
        SCOPED_TRACE(restore ? "restore" : "backup");
        Direction d(restore);
        writeFile(d.from() + "Car.odv", cut);
        writeFile(d.to() + "Car.odv", kCarBytes);
        writeFile(d.from() + "Van.odv", kVanBytes);

        const CopyRunResult result = d.run();

        EXPECT_EQ(namesOf(result.copied), std::vector<std::string>{"Van.odv"});
        ASSERT_EQ(result.failed.size(), 1u);
        EXPECT_EQ(result.failed[0].file.name, "Car.odv");
        EXPECT_NE(result.failed[0].reason.find("does not read as a vehicle log"), std::string::npos);
        EXPECT_EQ(readFile(d.to() + "Car.odv"), kCarBytes);
        EXPECT_NE(readFile(d.log.logPath()).find("skipped damaged file: " + d.from() + "Car.odv"), std::string::npos);
    }
}

TEST_F(BackupSet, RestoreListShowsTheNewestCopyOnTop) {
    fs::create_directory(backupFolder());
    for (const char* name : {"Lists.ini", "b.odv", "Drivana.ini", "a.odv"})
        writeFile(backupFolder() + name, std::string_view(name).ends_with(".odv") ? kCarBytes : name);

    std::vector<std::string> seen;
    const CopyRunResult result = set().restore(nullptr, [&seen](const BackupFile& file) { seen.push_back(file.name); });

    const std::vector<std::string> copyOrder{"a.odv", "b.odv", "Drivana.ini", "Lists.ini"};
    EXPECT_EQ(seen, copyOrder);
    EXPECT_EQ(namesOf(result.copied), copyOrder);
    EXPECT_EQ(result.listNewestFirst(), (std::vector<std::string>{"Lists.ini", "Drivana.ini", "b.odv", "a.odv"}));
    EXPECT_EQ(result.copied[0].target, data() + "a.odv");
    EXPECT_EQ(result.copied[3].target, config() + "Lists.ini");
}

TEST_F(BackupSet, DatesAreKeptInTheProfileWithoutSeconds) {
    const TimeZone utc("UTC");
    CAppProfile profile(m_root.file("Odrivo.ini"));
    EXPECT_EQ(CBackupSet::lastBackupDate(profile), "Unknown");
    EXPECT_EQ(CBackupSet::lastRestoreDate(profile), "Unknown");
    // 2026-03-05 14:07:59 UTC; the test runs in the "C" locale.
    EXPECT_TRUE(CBackupSet::recordBackup(profile, 1772719679));
    EXPECT_TRUE(CBackupSet::recordRestore(profile, 1772719679 + 3600));
    const std::string backupDate = CBackupSet::lastBackupDate(profile);
    const std::string restoreDate = CBackupSet::lastRestoreDate(profile);
    EXPECT_EQ(backupDate, "03/05/2026 14:07");
    EXPECT_EQ(restoreDate, "03/05/2026 15:07");
    EXPECT_EQ(profile.getText(ProfileKeys::LastBackupDate), backupDate);
}

} // namespace
