// odrivo-cli vehicles, recalc, backup and restore, and the settings every command needs, against
// a settings file that points at temporary folders.

#include "cli_fixture.h"

#include <sys/stat.h>

using clitest::has;
using clitest::refused;
using logtest::readFile;
using logtest::writeFile;

namespace {

namespace fs = std::filesystem;

const std::string kList = "[VehicleList]\r\nVehicle0=Car\r\nVehicle1=Car 2\r\nVehicle2=Van\r\n"
                          "[Van]\r\nVIN=VAN1\r\nEcono=L/100km\r\n[Car]\r\nVIN=CAR1\r\n";

class VehicleCommands : public clitest::CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        writeProfile("LastVehicle=car\r\n");
        writeFile(home("Drivana.ini"), kList);
    }

    const std::string m_car = home("CAR1.odv"), m_saved = home("Backup/"), m_carBytes = logtest::logWithNote("Car"),
                      m_log = home("state/Odrivo/Odrivo.log");

    // Two fills of 10 gallons at 2 each, 300 miles apart.
    // Returns the second fill as saved.
    CDVItem recalc(const std::string& vin, clitest::Strings args) const {
        CDVItem fill = clitest::item(CDVItem::Fuel, 1000, "2026-03-01", "Fuel");
        fill.Measure = "Gallons";
        fill.Quantity = 10;
        fill.UnitPrice = 2;
        CDVItem next = fill;
        next.Odometer = 1300;
        clitest::saveLog(home(vin + ".odv"), {fill, next});
        CVehicleLogDoc doc;
        args.insert(args.begin(), "recalc");
        const auto r = run(args);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_TRUE(doc.load(home(vin + ".odv")).ok());
        return doc.at(1);
    }
};

TEST_F(VehicleCommands, RecalcUsesTheVehiclesEconomyUnitAndRefusesWhatItCannotDo) {
    const CDVItem van = recalc("VAN1", {"--vehicle", "Van"});
    EXPECT_NEAR(van.Economy, 37.8541 / 4.828032, 1e-9); // 37.8541 litres over 482.8032 km, per 100 km
    EXPECT_EQ((std::pair{van.EconomyUnit, van.Cost}), (std::pair{2.0, 20.0}));
    // Without --vehicle: the current one, in miles per gallon.
    EXPECT_NEAR(recalc("CAR1", {}).Economy, 30.0, 0.005);

    const std::string bad("\x01\x00\xFF\xFF\x01\x00\x07\x00NotItem", 12);
    writeFile(home("VAN1.odv"), bad);
    EXPECT_TRUE(refused(run({"recalc", "--vehicle", "Van"}), home("VAN1.odv")));
    EXPECT_EQ(readFile(home("VAN1.odv")), bad);
    EXPECT_TRUE(refused(run({"recalc", "--vehicle", "Truck"}), "Truck"));
    // No VIN and no entries yet: no file is made.
    EXPECT_EQ(run({"recalc", "--vehicle", "Car 2"}).code, 0);
    EXPECT_FALSE(std::filesystem::exists(home("UnKnown.odv")));
}

TEST_F(VehicleCommands, VehiclesAreListedUnlessTheSettingsCannotBeRead) {
    const auto listed = run({"vehicles"});
    EXPECT_EQ(std::pair(listed.code, listed.out), std::pair(0, std::string("* Car\n  Car 2\n  Van\n")));
    // Every command stops on settings it cannot read, naming them.
    using S = clitest::Strings;
    const S commands[] = {S{"vehicles"},
                          S{"list"},
                          S{"stats"},
                          S{"reminders"},
                          S{"vehicle", "--set", "Year=2000"},
                          S{"recalc"},
                          S{"export", "--out", home("out.csv")},
                          S{"import", home("in.csv")},
                          S{"backup"},
                          S{"restore", "--yes"}};
    for (const char* file : {"Odrivo.ini", "Drivana.ini"}) {
        // A FIFO where the file should be: it exists but holds nothing readable, even for root.
        const std::string path = home(file), bytes = readFile(path);
        std::filesystem::remove(path);
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        for (const auto& args : commands) {
            SCOPED_TRACE(std::string(file) + " " + args[0]);
            EXPECT_TRUE(refused(run(args), "cannot read the settings file " + path));
            EXPECT_FALSE(std::filesystem::exists(home("Backup")));
        }
        std::filesystem::remove(path);
        writeFile(path, bytes);
    }
    writeFile(profile(), "[Initialize]\r\nPath=" + home("gone/") + "\r\nConfig=" + home() + "\r\nLastVehicle=car\r\n");
    EXPECT_TRUE(refused(run({"list"}), "ERROR 2105!"));
    EXPECT_TRUE(has(run({"list"}).err, "The data folder " + home("gone/")));
    std::filesystem::remove(home("Drivana.ini"));
    EXPECT_TRUE(refused(run({"vehicles"}), "Drivana.ini"));
}

TEST_F(VehicleCommands, BackupAndRestoreCopyDateAndReportTheRun) {
    writeFile(m_car, m_carBytes);
    const auto backup = run({"backup"});
    ASSERT_EQ(backup.code, 0) << backup.err;
    EXPECT_EQ(readFile(m_saved + "CAR1.odv"), m_carBytes);
    EXPECT_EQ(readFile(m_saved + "Drivana.ini"), kList);
    EXPECT_TRUE(fs::exists(m_saved + "Odrivo.ini"));
    EXPECT_TRUE(has(backup.out, "Copied " + m_car + " -> " + m_saved + "CAR1.odv\n"));
    EXPECT_TRUE(has(backup.out, "3 files copied"));
    EXPECT_FALSE(has(backup.out, "Full Backup: Unknown"));
    EXPECT_TRUE(has(readFile(profile()), "LastBackupDate="));
    EXPECT_TRUE(has(readFile(m_log), "Full Backup Completed OK"));

    fs::remove(m_car);
    writeFile(home("Drivana.ini"), "[VehicleList]\r\n");
    const auto asked = run({"restore"});
    EXPECT_TRUE(refused(asked, "run \"restore --yes\""));
    EXPECT_TRUE(has(asked.out, "  " + m_car + "\n"));
    EXPECT_FALSE(fs::exists(m_car));
    EXPECT_FALSE(has(readFile(profile()), "LastRestoreDate="));

    const auto r = run({"restore", "--yes"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readFile(m_car), m_carBytes);
    EXPECT_EQ(readFile(home("Drivana.ini")), kList);
    EXPECT_TRUE(has(r.out, "Copied " + m_saved + "CAR1.odv -> " + m_car + "\n"));
    // The settings file was among the restored files; the restore's date is written after it came back.
    EXPECT_TRUE(has(readFile(profile()), "LastRestoreDate="));
    EXPECT_FALSE(has(r.out, "Restore data on: Unknown"));

    fs::remove(m_saved + "CAR1.odv");
    fs::create_directories(m_saved + "CAR1.odv"); // a copy that cannot be made; the others still are
    const auto failed = run({"backup"});
    EXPECT_TRUE(refused(failed, "CAR1.odv was not copied"));
    EXPECT_TRUE(has(failed.out, "2 files copied to " + m_saved + ", 1 failed."));
    EXPECT_TRUE(has(readFile(m_log), "Backup copy failed: "));
}

} // namespace
