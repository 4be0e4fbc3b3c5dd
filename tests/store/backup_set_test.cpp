#include "store/backup_set.h"

#include "../calc/fixed_locale.h"
#include "log_file_bytes.h"
#include "store/activity_log.h"
#include "store/app_profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using logtest::readFile;
using logtest::writeFile;
using Names = std::vector<std::string>;

namespace {

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

Names namesOf(const std::vector<BackupFile>& files) {
    Names names;
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
    std::string backup() const { return m_root.file("Backup/"); }
    CBackupSet set() const { return CBackupSet({data(), backup(), config()}); }

    logtest::TempFolder m_root;
};

// Data files hold NULs and CR LF pairs that a text-mode copy or a string cut at NUL would spoil.
const std::string kCarBytes = logtest::logWithNote("Car log");
const std::string kVanBytes = logtest::logWithNote("Van");

TEST_F(BackupSet, BackupTakesDataAndIniFilesAndRestoreReplacesButNeverRemoves) {
    writeFile(data() + "Car.odv", kCarBytes);
    writeFile(data() + "VAN.ODV", kVanBytes);
    writeFile(data() + "notes.txt", "not ours");
    writeFile(data() + "odv", "no extension");
    fs::create_directory(data() + "Old.odv");
    writeFile(config() + "Drivana.ini", "[VehicleList]\r\n");
    writeFile(config() + "Drivana.ini.bak", "old");
    CopyRunResult result = set().backup(nullptr);
    EXPECT_TRUE(result.failed.empty());
    EXPECT_EQ(namesOf(result.copied), (Names{"Car.odv", "VAN.ODV", "Drivana.ini"}));
    EXPECT_EQ(readFile(backup() + "VAN.ODV"), kVanBytes);

    // Restore remakes a missing working folder and tells each file before copying it.
    fs::remove(data() + "VAN.ODV");
    writeFile(data() + "Car.odv", kVanBytes);
    writeFile(data() + "Truck.odv", "made after the backup");
    fs::remove_all(config());
    Names seen;
    result = set().restore(nullptr, [&seen](const BackupFile& file) { seen.push_back(file.name); });
    EXPECT_TRUE(result.failed.empty());
    EXPECT_EQ(seen, namesOf(result.copied));
    ASSERT_EQ(result.listNewestFirst(), (Names{"Drivana.ini", "VAN.ODV", "Car.odv"}));
    EXPECT_EQ(result.copied[2].target, config() + "Drivana.ini");
    EXPECT_EQ(readFile(data() + "VAN.ODV") + readFile(data() + "Car.odv"), kVanBytes + kCarBytes);
    EXPECT_EQ(readFile(config() + "Drivana.ini"), "[VehicleList]\r\n");
    EXPECT_EQ(readFile(data() + "Truck.odv"), "made after the backup");
    // Neither direction leaves temporary files behind.
    EXPECT_EQ(namesIn(data()),
              (std::set<std::string>{"Car.odv", "VAN.ODV", "Truck.odv", "notes.txt", "odv", "Old.odv"}));
    EXPECT_EQ(namesIn(backup()), (std::set<std::string>{"Car.odv", "VAN.ODV", "Drivana.ini"}));
}

TEST_F(BackupSet, FailedCopiesKeepTheTargetAndAreLoggedAndTheRunGoesOn) {
    const std::string cut = kCarBytes.substr(0, kCarBytes.size() - 9);
    for (const bool restore : {false, true}) {
        SCOPED_TRACE(restore ? "restore" : "backup");
        logtest::TempFolder root;
        const std::string data = root.file("Data/"), store = root.file("Backup/");
        fs::create_directory(data);
        fs::create_directory(store);
        const std::string& from = restore ? store : data;
        const std::string& to = restore ? data : store;
        writeFile(from + "A.odv", kCarBytes);
        writeFile(from + "C.odv", kVanBytes);
        // A folder where the copy must go cannot be replaced by a file.
        writeFile(from + "B.odv", kCarBytes);
        fs::create_directory(to + "B.odv");
        writeFile(to + "B.odv/keep.txt", "user's file");
        // A damaged log never replaces the copy it would overwrite.
        writeFile(from + "D.odv", cut);
        writeFile(to + "D.odv", kCarBytes);
        // Nor does a source that cannot be read.
        fs::create_symlink(root.file("nowhere.odv"), from + "E.odv");
        writeFile(to + "E.odv", "the only copy");

        CActivityLog log{root.file("Odrivo.log"), root.file("Odrivo.archive")};
        const CBackupSet set({data, store, root.path()});
        const CopyRunResult result = restore ? set.restore(&log) : set.backup(&log);

        EXPECT_EQ(namesOf(result.copied), (Names{"A.odv", "C.odv"}));
        ASSERT_EQ(result.failed.size(), 3u);
        EXPECT_EQ(namesOf({result.failed[0].file, result.failed[1].file, result.failed[2].file}),
                  (Names{"B.odv", "D.odv", "E.odv"}));
        EXPECT_NE(result.failed[0].reason.find(to + "B.odv"), std::string::npos) << result.failed[0].reason;
        EXPECT_NE(result.failed[1].reason.find("does not read as a vehicle log"), std::string::npos);
        EXPECT_EQ(readFile(to + "C.odv"), kVanBytes);
        EXPECT_EQ(readFile(to + "B.odv/keep.txt") + readFile(to + "E.odv"), "user's filethe only copy");
        EXPECT_EQ(readFile(to + "D.odv"), kCarBytes);

        const std::string logBytes = readFile(log.logPath());
        EXPECT_NE(logBytes.find((restore ? "Restore copy failed: " : "Backup copy failed: ") + from + "B.odv"),
                  std::string::npos);
        EXPECT_NE(logBytes.find("skipped damaged file: " + from + "D.odv"), std::string::npos);
    }
}

TEST_F(BackupSet, DatesAreKeptInTheProfileWithoutSeconds) {
    const TimeZone utc("UTC");
    CAppProfile profile(m_root.file("Odrivo.ini"));
    EXPECT_EQ(CBackupSet::lastBackupDate(profile) + CBackupSet::lastRestoreDate(profile), "UnknownUnknown");
    // 2026-03-05 14:07:59 UTC; the test runs in the "C" locale.
    EXPECT_TRUE(CBackupSet::recordBackup(profile, 1772719679));
    EXPECT_TRUE(CBackupSet::recordRestore(profile, 1772719679 + 3600));
    EXPECT_EQ(CBackupSet::lastBackupDate(profile), "03/05/2026 14:07");
    EXPECT_EQ(CBackupSet::lastRestoreDate(profile), "03/05/2026 15:07");
    EXPECT_EQ(profile.getText(ProfileKeys::LastBackupDate), "03/05/2026 14:07");
}

} // namespace
