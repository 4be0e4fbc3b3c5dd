// odrivo-cli vehicles and recalc, run in-process against a settings file that points
// at temporary folders.

#include "cli/cli_app.h"

#include "../store/log_file_bytes.h"
#include "store/vehicle_log_doc.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using logtest::readFile;
using logtest::TempFolder;
using logtest::writeFile;

namespace {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

class VehicleCommands : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(profile(),
                  "[Initialize]\r\nPath=" + m_home.path() + "\r\nConfig=" + m_home.path() + "\r\nLastVehicle=car\r\n");
        writeFile(m_home.file("Drivana.ini"), "[VehicleList]\r\nVehicle0=Car\r\nVehicle1=Car 2\r\nVehicle2=Van\r\n"
                                              "[Van]\r\nVIN=VAN1\r\nEcono=L/100km\r\n"
                                              "[Car]\r\nVIN=CAR1\r\n");
    }

    std::string profile() const { return m_home.file("Odrivo.ini"); }

    CliRun run(std::vector<std::string> args) {
        args.insert(args.begin(), {"odrivo-cli", "--profile", profile()});
        std::vector<const char*> argv;
        for (const auto& a : args)
            argv.push_back(a.c_str());
        std::ostringstream out;
        std::ostringstream err;
        const int code = runCli(static_cast<int>(argv.size()), argv.data(), out, err);
        return {code, out.str(), err.str()};
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

    TempFolder m_home;
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
}

TEST_F(VehicleCommands, RecalcDefaultsToTheCurrentVehicle) {
    writeFills("CAR1");
    ASSERT_EQ(run({"recalc"}).code, 0);
    CVehicleLogDoc doc;
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
    EXPECT_FALSE(std::filesystem::exists(m_home.file(".odv")));

    std::filesystem::remove(m_home.file("Drivana.ini"));
    r = run({"vehicles"});
    EXPECT_NE(r.code, 0);
    EXPECT_NE(r.err.find("Drivana.ini"), std::string::npos);
}

} // namespace
