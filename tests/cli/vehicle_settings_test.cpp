// odrivo-cli vehicle: printing a vehicle's settings, changing them through the registry's save,
// and refusing changes it cannot make without writing anything.

#include "cli_fixture.h"

#include "store/profile_file.h"

#include <ctime>

using clitest::has;
using clitest::refused;
using logtest::readFile;
using logtest::writeFile;

namespace {

const std::string kRegistry = "; kept as typed\r\n[VehicleList]\r\nVehicle0=Car\r\nVehicle1=Van\r\n"
                              "[TripSettings]\r\nDetailed=Yes\r\n"
                              "[Van]\r\nVIN=VAN1\r\nEcono=L/100km\r\nStart Odometer=1200.5\r\nC2Miles=7500\r\n"
                              "Custom2=Brakes\r\nLeadDays=14\r\n"
                              "[Car]\r\nVIN=CAR1\r\nStart Odometer=1000\r\nColour=Red\r\nLastR0Date=1700000000\r\n";

class VehicleSettingsCommand : public clitest::CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        writeProfile("LastVehicle=car\r\n");
        writeFile(home("Drivana.ini"), kRegistry);
    }

    std::string key(const std::string& section, const std::string& name) const {
        return CProfileFile(home("Drivana.ini")).getText(section, name, "(absent)");
    }
};

TEST_F(VehicleSettingsCommand, PrintsTheSettingsAsKeysItTakesBack) {
    const auto van = run({"vehicle", "--vehicle", "Van"});
    ASSERT_EQ(van.code, 0) << van.err;
    for (const char* line : {"[Van]\n", "VIN=VAN1\n", "Econo=L/100km\n", "Start Odometer=1200.5\n", "C2Miles=7500\n",
                             "Custom2=Brakes\n", "LeadDays=14\n", "Distance=Mile\n", "Liquid=US\n", "Year=0\n"})
        EXPECT_TRUE(has(van.out, line));
    // Without --vehicle: the current one.
    EXPECT_TRUE(has(run({"vehicle"}).out, "VIN=CAR1\n"));
    EXPECT_EQ(readFile(home("Drivana.ini")), kRegistry);

    // What is printed goes back in unchanged.
    clitest::Strings args{"vehicle", "--vehicle", "Van", "--set"};
    for (const std::string& line : clitest::lines(van.out))
        if (!line.starts_with('[') && !line.starts_with("VIN="))
            args.push_back(line);
    ASSERT_EQ(run(args).code, 0);
    EXPECT_EQ(run({"vehicle", "--vehicle", "Van"}).out, van.out);
}

TEST_F(VehicleSettingsCommand, SavesTheChangesWithTheRecomputedReminderState) {
    const auto now = std::time(nullptr);
    CDVItem oil = clitest::item(CDVItem::Repair, 5000, "2026-01-01", "Oil Change");
    oil.Date = now - 10 * 86400 - 3600;
    CDVItem tires = clitest::item(CDVItem::Repair, 6000, "2026-01-01", "Rotate Tires");
    tires.Date = now - 3 * 86400 - 3600;
    clitest::saveLog(home("CAR1.odv"), {oil, tires});

    // Custom1 is 20 characters in 22 bytes; the leads sit on their limits.
    const auto r = run({"vehicle", "--set", "Year=2004", "Econo=kpl", "model=Transit", "Custom1=Crème brûlée 20 chr",
                        "C1Days=180", "LeadDays=90", "LeadOdo=10000", "OilDistance=-1", "CostPerMile=+0.455"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(has(r.out, "Saved the settings of car"));
    for (const std::string line :
         {"Year=2004", "Econo=KPL", "Model=Transit", "Custom1=Crème brûlée 20 chr", "C1Days=180", "LeadDays=90.000000",
          "LeadOdo=10000.000000", "OilDistance=-1.000000", "CostPerMile=0.455000", "Colour=Red",
          "Start Odometer=1000.000000", "LastR0Mileage=5000.000000", "LastR0Date=10.000000",
          "LastR1Mileage=1000.000000", "LastR1Date=0.000000", "LastR4Mileage=6000.000000", "LastR4Date=3.000000"}) {
        SCOPED_TRACE(line);
        const auto equals = line.find('=');
        EXPECT_EQ(key("Car", line.substr(0, equals)), line.substr(equals + 1));
    }
    EXPECT_EQ(key("Versions", "Desktop"), "1.0.7 Build 237");
    EXPECT_TRUE(has(key("Versions", "Daccess"), "Last Access: "));
    const std::string after = readFile(home("Drivana.ini"));
    for (const char* kept : {"; kept as typed\r\n[VehicleList]\r\nVehicle0=Car\r\nVehicle1=Van\r\n",
                             "[TripSettings]\r\nDetailed=Yes\r\n[Van]\r\nVIN=VAN1\r\nEcono=L/100km\r\n"
                             "Start Odometer=1200.5\r\nC2Miles=7500\r\nCustom2=Brakes\r\nLeadDays=14\r\n[Car]\r\n"})
        EXPECT_TRUE(has(after, kept));
}

TEST_F(VehicleSettingsCommand, RefusesWhatItCannotSaveAndWritesNothing) {
    const struct {
        clitest::Strings sets;
        const char* says;
    } cases[] = {
        {{"Year=19x7"}, "Year: \"19x7\" is not a whole number"},
        {{"Year=99999999999"}, "Year: 99999999999 is out of range"},
        {{"C3Days=2.5"}, "C3Days: \"2.5\" is not a whole number"},
        {{"LeadDays=91"}, "LeadDays: 91 is out of range (from 0 to 90)"},
        {{"LeadDays=-1"}, "LeadDays: -1 is out of range"},
        {{"LeadOdo=10000.5"}, "LeadOdo: 10000.5 is out of range (from 0 to 10000)"},
        {{"OilDistance=abc"}, "OilDistance: \"abc\" is not a number"},
        {{"OilDistance=nan"}, "OilDistance: \"nan\" is not a number"},
        {{"OilDistance="}, "OilDistance: \"\" is not a number"},
        {{"C1Miles=1e300"}, "C1Miles: 1e300 is out of range"},
        {{"Econo=MPGX"}, "Econo: \"MPGX\" is not one of MPG, MPL, L/100km, MPiG, KPL"},
        {{"Custom1=Twenty-one characters"}, "Custom1: \"Twenty-one characters\" is longer than 20 characters"},
        {{"Plate=AB\n12"}, "Plate: the text holds a line break"},
        {{"Make=日本"}, "Make: \"日本\" holds characters the file cannot store"},
        {{"Colour=Red"}, "Colour: there is no such key"},
        {{"VIN=NEW1"}, "VIN: it is not changed here"},
        {{"LastR0Mileage=5"}, "LastR0Mileage: it is not changed here"},
        {{"Company=Fleet"}, "Company: it is not changed here"},
        {{"Year"}, "--set \"Year\" is not KEY=VALUE"},
        // A good change before a bad one is not saved either.
        {{"Year=2001", "LeadDays=100"}, "LeadDays: 100 is out of range"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        clitest::Strings args{"vehicle", "--set"};
        args.insert(args.end(), c.sets.begin(), c.sets.end());
        const auto r = run(args);
        EXPECT_TRUE(refused(r, c.says));
        EXPECT_TRUE(has(r.err, "Nothing was changed."));
        EXPECT_EQ(readFile(home("Drivana.ini")), kRegistry);
    }
}

} // namespace
