// odrivo-cli vehicles and recalc, run in-process against a settings file that points
// at temporary folders.

#include "cli_fixture.h"
#include "store/vehicle_log_doc.h"

#include <sys/stat.h>

using logtest::readFile;
using logtest::writeFile;

namespace {

using clitest::CliRun;

class VehicleCommands : public clitest::CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        writeProfile("LastVehicle=car\r\n");
        writeFile(home("Drivana.ini"), "[VehicleList]\r\nVehicle0=Car\r\nVehicle1=Car 2\r\nVehicle2=Van\r\n"
                                       "[Van]\r\nVIN=VAN1\r\nEcono=L/100km\r\n"
                                       "[Car]\r\nVIN=CAR1\r\n");
    }

    void writeFills(const std::string& vin) {
        CVehicleLogDoc doc;
        for (double odometer : {1000.0, 1300.0}) {
            auto item = std::make_unique<CDVItem>();
            item->Odometer = odometer;
            item->Measure = "Gallons";
            item->Quantity = 10;
            item->UnitPrice = 2;
            doc.insert(std::move(item));
        }
        ASSERT_TRUE(doc.save(m_home.file(vin + ".odv")).saved);
    }
};

TEST_F(VehicleCommands, VehiclesListsInOrderAndMarksTheCurrentOne) {
    const CliRun r = run({"vehicles"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "* Car\n  Car 2\n  Van\n");
}

TEST_F(VehicleCommands, RecalcUsesTheVehiclesEconomyUnitAndSaves) {
    writeFills("VAN1");
    const CliRun r = run({"recalc", "--vehicle", "Van"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Van"), std::string::npos);
    CVehicleLogDoc doc;
    ASSERT_TRUE(doc.load(m_home.file("VAN1.odv")).ok());
    EXPECT_EQ(doc.at(0).Economy, 0.0);
    // 37.8541 litres over 482.8032 km, per 100 km
    EXPECT_NEAR(doc.at(1).Economy, 37.8541 / 4.828032, 1e-9);
    EXPECT_EQ(doc.at(1).EconomyUnit, 2.0);
    EXPECT_EQ(doc.at(1).Cost, 20.0);

    writeFills("CAR1"); // without --vehicle: the current one, in miles per gallon
    ASSERT_EQ(run({"recalc"}).code, 0);
    ASSERT_TRUE(doc.load(m_home.file("CAR1.odv")).ok());
    EXPECT_NEAR(doc.at(1).Economy, 30.0, 0.005);
}

TEST_F(VehicleCommands, RecalcRefusesWhatItCannotDoAndChangesNothing) {
    writeFile(m_home.file("VAN1.odv"), std::string("\x01\x00\xFF\xFF\x01\x00\x07\x00NotItem", 12));
    const std::string before = readFile(m_home.file("VAN1.odv"));
    CliRun r = run({"recalc", "--vehicle", "Van"});
    EXPECT_NE(r.code, 0);
    EXPECT_NE(r.err.find(m_home.file("VAN1.odv")), std::string::npos) << r.err;
    EXPECT_EQ(readFile(m_home.file("VAN1.odv")), before);

    r = run({"recalc", "--vehicle", "Truck"});
    EXPECT_NE(r.code, 0);
    EXPECT_NE(r.err.find("Truck"), std::string::npos);

    r = run({"recalc", "--vehicle", "Car 2"}); // no entries yet: no file is made
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_FALSE(std::filesystem::exists(m_home.file("UnKnown.odv")));

    std::filesystem::remove(m_home.file("Drivana.ini"));
    r = run({"vehicles"});
    EXPECT_NE(r.code, 0);
    EXPECT_NE(r.err.find("Drivana.ini"), std::string::npos);
}

TEST_F(VehicleCommands, UnreadableSettingsStopEveryCommandWithItsName) {
    const std::vector<std::vector<std::string>> commands = {{"vehicles"},
                                                            {"list"},
                                                            {"stats"},
                                                            {"reminders"},
                                                            {"recalc"},
                                                            {"export", "--out", home("out.csv")},
                                                            {"import", home("in.csv")},
                                                            {"backup"},
                                                            {"restore", "--yes"}};
    for (const char* file : {"Odrivo.ini", "Drivana.ini"}) {
        // A FIFO where the file should be: it exists but holds nothing readable, even for root.
        const std::string path = home(file);
        const std::string bytes = readFile(path);
        std::filesystem::remove(path);
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        for (const auto& args : commands) {
            SCOPED_TRACE(std::string(file) + " " + args[0]);
            const CliRun r = run(args);
            EXPECT_EQ(r.code, 1);
            EXPECT_NE(r.err.find("cannot read the settings file " + path), std::string::npos) << r.err;
            EXPECT_FALSE(std::filesystem::exists(home("Backup")));
        }
        std::filesystem::remove(path);
        writeFile(path, bytes);
    }
}

TEST_F(VehicleCommands, MissingDataFolderIsNamed) {
    writeFile(profile(), "[Initialize]\r\nPath=" + home("gone/") + "\r\nConfig=" + home() + "\r\nLastVehicle=car\r\n");
    const CliRun r = run({"list"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("ERROR 2105!"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("The data folder " + home("gone/")), std::string::npos) << r.err;
}

} // namespace
