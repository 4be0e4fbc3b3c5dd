#include "store/vehicle_registry.h"

#include "log_file_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

using Names = std::vector<std::string>;

namespace {

constexpr std::time_t kNow = 1765000000; // 2025-12-06 05:46:40 UTC

// A file as hand editing and the handheld leave it: odd spacing and letter case, comments,
// a quoted value, unknown keys, malformed numbers and a gap in the vehicle list.
const std::string kHandWritten =
    "; vehicles, edited by hand\r\n[VehicleList]\r\nvehicle0 = Car\r\nVehicle1=Car 2\r\n"
    "Vehicle3=Hidden behind the gap\r\n\r\n[TRIPSETTINGS]\r\ndetailed = Yes please\r\nCompanyName=no\r\n"
    "HomeAddress=YES\r\nUseContacts=Yes\r\nSortListBy=Purpose, then Contact\r\n\r\n"
    "[car]\r\nCompany = Acme Fleet \r\nvin=1FTEX1EP5FKD12345\r\nMAKE=Ford\r\nPlate = 'ABC 123'\r\nModel=F-150\r\n"
    "Year = 2015\r\nstart odometer = 1200.5\r\nOilDays=90\r\noildistance=3000.000000\r\n"
    "; coolant done at the dealer\r\nPaint=Blue\r\nCoolDays=12abc\r\nTireDistance=abc\r\n"
    "TuneDistance=3.5e2 miles\r\nCustom2=Brakes\r\nc2days=30\r\nC2Miles=1500.25\r\nCostPerMile=0.545\r\n"
    "SetupDate=1700000000.000000\r\nDistance=Kilometers\r\nEcono=MPiG\r\nLiquid=Imp. gallons\r\nLeadDays=7.9\r\n"
    "LeadOdo=150\r\nLastR0Mileage=1000\r\nLastR9Mileage=2500.75\r\nLastR3Date=19675\r\n\r\n"
    "[Car 2]\r\nVIN=CAR2VIN\r\nNotes=kept\r\n";

// Every field with a value of its own, so a key read into or written from the wrong field shows up.
VehicleSettings distinctSettings(const std::string& name) {
    const std::array<std::string, 5> jobs{"Job 1", "Job 2", "Job 3", "Job 4", "Job 5"};
    const std::array<int, 5> days{11, 12, 13, 14, 15};
    const std::array<double, 5> miles{21.5, 22.5, 23.5, 24.5, 25.5};
    VehicleSettings s;
    std::tie(s.name, s.company, s.vin, s.make, s.plate, s.model, s.year, s.startOdometer) =
        std::tuple(name, "Fleet Co", "JH4DA9350LS000001", "Acura", "XYZ-789", "Integra", 1990, 100.25);
    std::tie(s.oilDays, s.oilDistance, s.coolDays, s.coolDistance, s.tireDays, s.tireDistance, s.tuneDays,
             s.tuneDistance, s.transDays, s.transDistance) = std::tuple(1, 2.5, 3, 4.5, 5, 6.5, 7, 8.5, 9, 10.5);
    std::tie(s.customNames, s.customDays, s.customDistance, s.costPerMile, s.setupDate, s.distanceUnit, s.economyUnit,
             s.liquid, s.leadDays, s.leadOdo) = std::tuple(jobs, days, miles, 0.75, 1600000000, 1, 4, 2, 14, 250.5);
    for (std::size_t i = 0; i < 10; ++i) {
        s.lastMileage[i] = 1000.5 + static_cast<double>(i);
        s.lastDate[i] = 30.0 + static_cast<double>(i);
    }
    return s;
}

class VehicleRegistry : public ::testing::Test {
protected:
    std::string iniPath() const { return m_dir.file(CVehicleRegistry::kFileName); }
    void writeIni(const std::string& bytes) const { logtest::writeFile(iniPath(), bytes); }
    std::string ini() const { return logtest::readFile(iniPath()); }
    VehicleSettings load(const std::string& name) const {
        VehicleSettings s;
        EXPECT_TRUE(m_registry.loadVehicle(name, s, kNow, nullptr)) << m_registry.lastError();
        return s;
    }
    logtest::TempFolder m_dir;
    CVehicleRegistry m_registry{m_dir.path()};
};

} // namespace

TEST_F(VehicleRegistry, HandWrittenFileLoadsAndSaveKeepsEveryLineItDoesNotWrite) {
    writeIni(kHandWritten);
    VehicleSettings s = load("Car");
    EXPECT_EQ(std::tie(s.name, s.company, s.vin, s.make, s.plate, s.model, s.customNames[0], s.customNames[1]),
              std::make_tuple("Car", "Acme Fleet", "1FTEX1EP5FKD12345", "Ford", "ABC 123", "F-150", "", "Brakes"));
    // Flags need "Yes" with this spelling; of the sort words the last matching one wins.
    EXPECT_EQ(std::tie(s.detailedTrips, s.tripCompanyName, s.tripHomeAddress, s.tripUseContacts, s.tripSortOrder),
              std::make_tuple(true, false, false, true, 2));
    // A malformed number reads as its leading part (CoolDays, TuneDistance).
    EXPECT_EQ(std::tie(s.year, s.oilDays, s.coolDays, s.transDays, s.customDays[1], s.distanceUnit, s.economyUnit,
                       s.liquid, s.setupDate),
              std::make_tuple(2015, 90, 12, 0, 30, 1, 3, 1, std::time_t{1700000000}));
    EXPECT_EQ(std::tie(s.startOdometer, s.oilDistance, s.tireDistance, s.tuneDistance, s.customDistance[1],
                       s.costPerMile, s.leadDays, s.leadOdo),
              std::make_tuple(1200.5, 3000.0, 0.0, 350.0, 1500.25, 0.545, 7.9, 150.0));
    // An absent last odometer reads as the start odometer, an absent last date as the setup date.
    EXPECT_EQ(std::tie(s.lastMileage[0], s.lastMileage[1], s.lastMileage[9], s.lastDate[3], s.lastDate[4]),
              std::make_tuple(1000.0, 1200.5, 2500.75, 19675.0, 1700000000.0));
    EXPECT_EQ(m_registry.vehicleNames(), (Names{"Car", "Car 2"})); // the list stops at the first gap
    // Saving keeps comments, unknown keys, other sections and the list behind its gap byte for
    // byte and in order; rewritten lines keep the key's spelling and the spacing before the value.
    s.year = 2016;
    s.plate = "NEW 1";
    ASSERT_TRUE(m_registry.saveVehicle(s, {"Car", "Car 2"}, kNow)) << m_registry.lastError();
    const std::string after = ini();
    std::size_t at = 0;
    for (const char* line :
         {"; vehicles, edited by hand\r\n[VehicleList]\r\nvehicle0 = Car\r\n", "Vehicle3=Hidden behind the gap\r\n",
          "detailed = Yes please\r\nCompanyName=no\r\n", "Company = Acme Fleet\r\n", "Plate = NEW 1\r\n",
          "Year = 2016\r\nstart odometer = 1200.500000\r\n", "; coolant done at the dealer\r\nPaint=Blue\r\n",
          "CoolDays=12\r\n", "TuneDistance=350.000000\r\n", "Distance=Kilometer\r\nEcono=MPiG\r\nLiquid=Imp\r\n",
          "LastR3Date=19675.000000\r\n", "\r\n[Car 2]\r\nVIN=CAR2VIN\r\nNotes=kept\r\n"}) {
        at = after.find(line, at);
        ASSERT_NE(at, std::string::npos) << "missing or out of order: " << line;
    }
    EXPECT_EQ(load("Car"), s);
    ASSERT_TRUE(m_registry.saveVehicle(s, {"Car", "Car 2"}, kNow)); // the same values again change nothing
    EXPECT_EQ(ini(), after);
}

TEST_F(VehicleRegistry, SaveWritesTheListVersionAndEveryFieldUnderItsOwnKey) {
    writeIni("[VehicleList]\r\nVehicle0=Old\r\nVehicle1=Old 2\r\nVehicle2=Stale\r\n");
    const VehicleSettings s = distinctSettings("Integra");
    ASSERT_TRUE(m_registry.saveVehicle(s, {"Integra", "Civic"}, 1796486400)) << m_registry.lastError();
    // A new section lists the keys in the order the handheld edition writes them.
    std::string last;
    for (int i = 0; i < 10; ++i)
        last += "LastR" + std::to_string(i) + "Mileage=" + std::to_string(1000.5 + i) + "\r\nLastR" +
                std::to_string(i) + "Date=" + std::to_string(30.0 + i) + "\r\n";
    EXPECT_EQ(ini(), "[VehicleList]\r\nVehicle0=Integra\r\nVehicle1=Civic\r\nVehicle2=Stale\r\n[Versions]\r\n"
                     "Desktop=1.0.7 Build 237\r\nDaccess=Last Access: 5-12-2026\r\n[Integra]\r\nCompany=Fleet Co\r\n"
                     "VIN=JH4DA9350LS000001\r\nMake=Acura\r\nPlate=XYZ-789\r\nModel=Integra\r\nYear=1990\r\n"
                     "Start Odometer=100.250000\r\nCoolDays=3\r\nCoolDistance=4.500000\r\nOilDays=1\r\n"
                     "OilDistance=2.500000\r\nTransDays=9\r\nTransDistance=10.500000\r\nTuneDays=7\r\n"
                     "TuneDistance=8.500000\r\nTireDays=5\r\nTireDistance=6.500000\r\nCostPerMile=0.750000\r\n"
                     "Custom1=Job 1\r\nCustom2=Job 2\r\nCustom3=Job 3\r\nCustom4=Job 4\r\nCustom5=Job 5\r\n"
                     "C1Days=11\r\nC2Days=12\r\nC3Days=13\r\nC4Days=14\r\nC5Days=15\r\nC1Miles=21.500000\r\n"
                     "C2Miles=22.500000\r\nC3Miles=23.500000\r\nC4Miles=24.500000\r\nC5Miles=25.500000\r\n"
                     "SetupDate=1600000000.000000\r\nDistance=Kilometer\r\nEcono=KPL\r\nLiquid=Litre\r\n"
                     "LeadDays=14.000000\r\nLeadOdo=250.500000\r\n" +
                         last);
    EXPECT_EQ(load("Integra"), s);
    // Codes outside the unit tables are written as the first unit.
    VehicleSettings units = s;
    std::tie(units.economyUnit, units.distanceUnit, units.liquid) = std::make_tuple(5, 2, 3);
    ASSERT_TRUE(m_registry.saveVehicle(units, {"Integra"}, kNow));
    const VehicleSettings back = load("Integra");
    EXPECT_EQ(std::tie(back.economyUnit, back.distanceUnit, back.liquid), std::make_tuple(0, 0, 0));
}

TEST_F(VehicleRegistry, AbsentSetupDateReadsAsNow) {
    writeIni("[V]\r\nSetupDate=0\r\nLastR2Date=7\r\n");
    const VehicleSettings s = load("V");
    EXPECT_EQ(std::tie(s.setupDate, s.lastDate[0], s.lastDate[2]), std::make_tuple(kNow, double(kNow), 7.0));
}

TEST_F(VehicleRegistry, MissingOrUnreadableFileChangesNothingAndFailuresSayWhy) {
    const VehicleSettings before = distinctSettings("Kept");
    VehicleSettings s = before;
    EXPECT_FALSE(m_registry.exists());
    EXPECT_FALSE(m_registry.loadVehicle("Kept", s, kNow, nullptr));
    EXPECT_EQ(s, before);
    EXPECT_FALSE(m_registry.removeFromList("A"));
    EXPECT_NE(m_registry.lastError().find("does not exist"), std::string::npos) << m_registry.lastError();
    EXPECT_FALSE(m_registry.saveVehicle(distinctSettings(""), {"A"}, kNow));
    EXPECT_FALSE(m_registry.writeNewVehicle(distinctSettings(""), kNow));
    EXPECT_FALSE(m_registry.exists()) << "nothing is written for a vehicle without a name";
    // A folder where the file should be: reads fail, the first write fails and the rest are not tried.
    std::filesystem::create_directory(iniPath());
    const CVehicleRegistry reader(m_dir.path()); // its lastError() is the load's alone
    EXPECT_FALSE(reader.loadVehicle("Kept", s, kNow, nullptr));
    EXPECT_EQ(s, before);
    EXPECT_NE(reader.lastError().find("cannot read"), std::string::npos) << reader.lastError();
    EXPECT_FALSE(m_registry.saveVehicle(before, {"A"}, kNow));
    EXPECT_NE(m_registry.lastError().find("cannot read"), std::string::npos) << m_registry.lastError();
    EXPECT_FALSE(m_registry.writeNewVehicle(before, kNow) || m_registry.writeDateRange(1, 2));
}

TEST_F(VehicleRegistry, RemovingAVehicleRewritesTheListWithoutAGap) {
    const std::pair<std::string, std::string> cases[] = {
        // The middle of three: indexes 0 and 1 remain, 2 goes; the vehicle's section stays.
        {"[VehicleList]\r\nVehicle0=A\r\nVehicle1=B\r\nVehicle2=C\r\n[B]\r\nVIN=1\r\n",
         "[B]\r\nVIN=1\r\n[VehicleList]\r\nVehicle0=A\r\nVehicle1=C\r\n"},
        // Every entry of the name goes; names behind the first gap and other keys go with the section.
        {"; top\r\n[VehicleList]\r\nVehicle0=B\r\nVehicle1=A\r\nVehicle2=B\r\nVehicle4=E\r\nNote=x\r\n",
         "; top\r\n[VehicleList]\r\nVehicle0=A\r\n"},
        // The last vehicle leaves no list at all.
        {"[VehicleList]\r\nVehicle0=B\r\n[Cfg]\r\nk=1\r\n", "[Cfg]\r\nk=1\r\n"},
    };
    for (const auto& [before, after] : cases) {
        writeIni(before);
        ASSERT_TRUE(m_registry.removeFromList("B")) << m_registry.lastError();
        EXPECT_EQ(ini(), after) << before;
    }
}

TEST_F(VehicleRegistry, SelectionIndex) {
    const std::tuple<Names, const char*, int> cases[] = {
        {{"Car", "Car 2"}, "Car", 1},     // the search starts at the second entry
        {{"Car", "Truck"}, "car", 0},     // and wraps to the first, case aside
        {{"Van", "Bus", "Car"}, "Ca", 2}, // a prefix is enough
        {{"Van", "Car"}, "Car 2", -1},    // the entry must hold all of the name
        {{}, "Car", -1}};
    for (const auto& [names, current, index] : cases)
        EXPECT_EQ(CVehicleRegistry::selectionIndex(names, current), index) << current;
}

TEST_F(VehicleRegistry, NewVehicleTakesTheFirstFreeSlot) {
    writeIni("[VehicleList]\r\nVehicle0=A\r\nVehicle1=\r\n[Truck]\r\nCompany=Left alone\r\nLeadDays=9\r\n");
    const VehicleSettings s = distinctSettings("Truck");
    ASSERT_TRUE(m_registry.writeNewVehicle(s, kNow)) << m_registry.lastError();
    EXPECT_EQ(m_registry.vehicleNames(), (Names{"A", "Truck"}));
    // Identity and units come from the form; no reminders; company and leads are not written.
    VehicleSettings expected;
    std::tie(expected.name, expected.company, expected.vin, expected.make, expected.plate, expected.model,
             expected.year, expected.startOdometer) =
        std::tuple("Truck", "Left alone", s.vin, s.make, s.plate, s.model, s.year, s.startOdometer);
    std::tie(expected.setupDate, expected.distanceUnit, expected.economyUnit, expected.liquid, expected.leadDays) =
        std::make_tuple(kNow, s.distanceUnit, s.economyUnit, s.liquid, 9.0);
    expected.lastMileage.fill(s.startOdometer);
    expected.lastDate.fill(static_cast<double>(kNow));
    EXPECT_EQ(load("Truck"), expected);
    EXPECT_NE(ini().find("C5Miles=0.000000\r\nSetupDate=1765000000.000000\r\n"), std::string::npos);
}

TEST_F(VehicleRegistry, DateRange) {
    EXPECT_EQ(m_registry.fromDate(kNow), kNow);
    ASSERT_TRUE(m_registry.writeDateRange(1700000000, 1700086400));
    EXPECT_EQ(std::pair(m_registry.fromDate(kNow), m_registry.toDate(kNow)), std::pair(1700000000L, 1700086400L));
    EXPECT_NE(ini().find("FromDate=1700000000.000000\r\n"), std::string::npos);
    // A time no clock can hold reads as no time.
    for (const auto& [text, expected] :
         {std::pair("999999999999999", 999999999999999L), {"1000000000000000", 0L}, {"-1e15", 0L}}) {
        writeIni(std::string("[Config]\r\nFromDate=") + text + "\r\n");
        EXPECT_EQ(m_registry.fromDate(kNow), expected) << text;
    }
}
