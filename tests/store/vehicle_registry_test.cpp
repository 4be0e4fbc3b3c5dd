#include "store/vehicle_registry.h"

#include "../calc/fixed_locale.h"
#include "log_file_bytes.h"
#include "store/activity_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using logtest::readFile;
using logtest::TempFolder;
using logtest::writeFile;

namespace {

constexpr std::time_t kNow = 1765000000; // 2025-12-06 05:46:40 UTC

// A file as hand editing and the handheld leave it: odd spacing and letter case, comments,
// a quoted value, unknown keys, malformed numbers and a gap in the vehicle list.
const std::string kHandWritten = "; vehicles, edited by hand\r\n"
                                 "[VehicleList]\r\n"
                                 "vehicle0 = Car\r\n"
                                 "Vehicle1=Car 2\r\n"
                                 "Vehicle3=Hidden behind the gap\r\n"
                                 "\r\n"
                                 "[TRIPSETTINGS]\r\n"
                                 "detailed = Yes please\r\n"
                                 "CompanyName=no\r\n"
                                 "HomeAddress=YES\r\n"
                                 "UseContacts=Yes\r\n"
                                 "SortListBy=Purpose, then Contact\r\n"
                                 "\r\n"
                                 "[car]\r\n"
                                 "Company = Acme Fleet \r\n"
                                 "vin=1FTEX1EP5FKD12345\r\n"
                                 "MAKE=Ford\r\n"
                                 "Plate = 'ABC 123'\r\n"
                                 "Model=F-150\r\n"
                                 "Year = 2015\r\n"
                                 "start odometer = 1200.5\r\n"
                                 "OilDays=90\r\n"
                                 "oildistance=3000.000000\r\n"
                                 "; coolant done at the dealer\r\n"
                                 "Paint=Blue\r\n"
                                 "CoolDays=12abc\r\n"
                                 "TireDistance=abc\r\n"
                                 "TuneDistance=3.5e2 miles\r\n"
                                 "Custom2=Brakes\r\n"
                                 "c2days=30\r\n"
                                 "C2Miles=1500.25\r\n"
                                 "CostPerMile=0.545\r\n"
                                 "SetupDate=1700000000.000000\r\n"
                                 "Distance=Kilometers\r\n"
                                 "Econo=MPiG\r\n"
                                 "Liquid=Imp. gallons\r\n"
                                 "LeadDays=7.9\r\n"
                                 "LeadOdo=150\r\n"
                                 "LastR0Mileage=1000\r\n"
                                 "LastR9Mileage=2500.75\r\n"
                                 "LastR3Date=19675\r\n"
                                 "\r\n"
                                 "[Car 2]\r\n"
                                 "VIN=CAR2VIN\r\n"
                                 "Notes=kept\r\n";

class VehicleRegistry : public ::testing::Test {
protected:
    std::string iniPath() const { return m_dir.file(CVehicleRegistry::kFileName); }
    void writeIni(const std::string& bytes) const { writeFile(iniPath(), bytes); }
    std::string ini() const { return readFile(iniPath()); }

    VehicleSettings load(const std::string& name) const {
        VehicleSettings s;
        EXPECT_TRUE(m_registry.loadVehicle(name, s, kNow, nullptr)) << m_registry.lastError();
        return s;
    }

    // The lines of the file, each with its line ending.
    static std::vector<std::string> lines(const std::string& bytes) {
        std::vector<std::string> out;
        std::size_t at = 0;
        while (at < bytes.size()) {
            const std::size_t end = bytes.find('\n', at);
            const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
            out.push_back(bytes.substr(at, next - at));
            at = next;
        }
        return out;
    }

    TimeZone m_utc{"UTC"};
    TempFolder m_dir;
    CVehicleRegistry m_registry{m_dir.path()};
};

// Every field with a value of its own, so a key read into or written from the wrong
// field shows up.
VehicleSettings distinctSettings(const std::string& name) {
    VehicleSettings s;
    s.name = name;
    s.company = "Fleet Co";
    s.vin = "JH4DA9350LS000001";
    s.make = "Acura";
    s.plate = "XYZ-789";
    s.model = "Integra";
    s.year = 1990;
    s.startOdometer = 100.25;
    s.oilDays = 1;
    s.oilDistance = 2.5;
    s.coolDays = 3;
    s.coolDistance = 4.5;
    s.tireDays = 5;
    s.tireDistance = 6.5;
    s.tuneDays = 7;
    s.tuneDistance = 8.5;
    s.transDays = 9;
    s.transDistance = 10.5;
    for (std::size_t i = 0; i < 5; ++i) {
        s.customNames[i] = "Job " + std::to_string(i + 1);
        s.customDays[i] = 11 + static_cast<int>(i);
        s.customDistance[i] = 21.5 + static_cast<double>(i);
    }
    s.costPerMile = 0.75;
    s.setupDate = 1600000000;
    s.distanceUnit = 1;
    s.economyUnit = 4;
    s.liquid = 2;
    s.leadDays = 14;
    s.leadOdo = 250.5;
    for (std::size_t i = 0; i < 10; ++i) {
        s.lastMileage[i] = 1000.5 + static_cast<double>(i);
        s.lastDate[i] = 30.0 + static_cast<double>(i);
    }
    return s;
}

} // namespace

TEST_F(VehicleRegistry, HandWrittenFileLoads) {
    writeIni(kHandWritten);
    const VehicleSettings s = load("Car");

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
}

TEST_F(VehicleRegistry, SaveKeepsEveryLineItDoesNotWrite) {
    writeIni(kHandWritten);
    const std::string before = ini();
    VehicleSettings s = load("Car");
    s.year = 2016;
    s.plate = "NEW 1";
    ASSERT_TRUE(m_registry.saveVehicle(s, {"Car", "Car 2"}, kNow)) << m_registry.lastError();
    const std::string after = ini();

    // The keys a save writes, by section; every other line must come through byte for byte.
    std::set<std::string> vehicleKeys = {"company",        "vin",         "make",      "plate",    "model", "year",
                                         "start odometer", "costpermile", "setupdate", "distance", "econo", "liquid",
                                         "leaddays",       "leadodo"};
    for (const char* kind : {"oil", "cool", "tire", "tune", "trans"}) {
        vehicleKeys.insert(std::string(kind) + "days");
        vehicleKeys.insert(std::string(kind) + "distance");
    }
    for (int i = 1; i <= 5; ++i) {
        vehicleKeys.insert("custom" + std::to_string(i));
        vehicleKeys.insert("c" + std::to_string(i) + "days");
        vehicleKeys.insert("c" + std::to_string(i) + "miles");
    }
    for (int i = 0; i < 10; ++i) {
        vehicleKeys.insert("lastr" + std::to_string(i) + "mileage");
        vehicleKeys.insert("lastr" + std::to_string(i) + "date");
    }
    const auto untouched = [&](const std::string& bytes) {
        std::vector<std::string> kept;
        std::string section;
        for (const std::string& line : lines(bytes)) {
            std::string lower;
            for (const char c : line)
                lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (!lower.empty() && lower.front() == '[')
                section = lower.substr(1, lower.find(']') - 1);
            std::string key = lower.substr(0, lower.find('='));
            while (!key.empty() && key.back() == ' ')
                key.pop_back();
            const bool written = (section == "car" && vehicleKeys.count(key)) ||
                                 (section == "vehiclelist" && (key == "vehicle0" || key == "vehicle1")) ||
                                 section == "versions";
            if (!written)
                kept.push_back(line);
        }
        return kept;
    };
    EXPECT_EQ(untouched(after), untouched(before));
    EXPECT_EQ(after.substr(0, after.find("Company")), before.substr(0, before.find("Company")));

    // Rewritten lines keep the key's spelling and the spacing before the value.
    const std::vector<std::string> afterLines = lines(after);
    for (const std::string expected :
         {"vehicle0 = Car\r\n", "Year = 2016\r\n", "Plate = NEW 1\r\n", "start odometer = 1200.500000\r\n",
          "CoolDays=12\r\n", "Distance=Kilometer\r\n", "Liquid=Imp\r\n", "LeadDays=7.900000\r\n"})
        EXPECT_EQ(std::count(afterLines.begin(), afterLines.end(), expected), 1) << expected;
    EXPECT_EQ(load("Car"), s);

    // Saving the same values again changes nothing.
    ASSERT_TRUE(m_registry.saveVehicle(s, {"Car", "Car 2"}, kNow));
    EXPECT_EQ(ini(), after);
}

TEST_F(VehicleRegistry, EveryFieldHasItsOwnKey) {
    const VehicleSettings s = distinctSettings("Integra");
    ASSERT_TRUE(m_registry.saveVehicle(s, {"Integra"}, kNow)) << m_registry.lastError();
    const std::string section = ini().substr(ini().find("[Integra]\r\n"));

    // A new section lists the keys in the order the handheld edition writes them.
    std::string expected =
        "[Integra]\r\nCompany=Fleet Co\r\nVIN=JH4DA9350LS000001\r\nMake=Acura\r\nPlate=XYZ-789\r\n"
        "Model=Integra\r\nYear=1990\r\nStart Odometer=100.250000\r\n"
        "CoolDays=3\r\nCoolDistance=4.500000\r\nOilDays=1\r\nOilDistance=2.500000\r\n"
        "TransDays=9\r\nTransDistance=10.500000\r\nTuneDays=7\r\nTuneDistance=8.500000\r\n"
        "TireDays=5\r\nTireDistance=6.500000\r\nCostPerMile=0.750000\r\n"
        "Custom1=Job 1\r\nCustom2=Job 2\r\nCustom3=Job 3\r\nCustom4=Job 4\r\nCustom5=Job 5\r\n"
        "C1Days=11\r\nC2Days=12\r\nC3Days=13\r\nC4Days=14\r\nC5Days=15\r\n"
        "C1Miles=21.500000\r\nC2Miles=22.500000\r\nC3Miles=23.500000\r\nC4Miles=24.500000\r\n"
        "C5Miles=25.500000\r\nSetupDate=1600000000.000000\r\n"
        "Distance=Kilometer\r\nEcono=KPL\r\nLiquid=Litre\r\nLeadDays=14.000000\r\nLeadOdo=250.500000\r\n";
    for (int i = 0; i < 10; ++i)
        expected += "LastR" + std::to_string(i) + "Mileage=" + std::to_string(1000.5 + i) + "\r\nLastR" +
                    std::to_string(i) + "Date=" + std::to_string(30.0 + i) + "\r\n";
    EXPECT_EQ(section, expected);
    EXPECT_EQ(load("Integra"), s);
}

TEST_F(VehicleRegistry, SaveWritesTheListVersionAndUnitTexts) {
    writeIni("[VehicleList]\r\nVehicle0=Old\r\nVehicle1=Old 2\r\nVehicle2=Stale\r\n");
    VehicleSettings s = distinctSettings("Integra");
    s.costPerMile = 0.655;
    const std::time_t today = 1796486400; // 2026-12-05 16:00 UTC
    // Each unit code in turn (distance and liquid codes wrap around their tables).
    const char* economy[] = {"MPG", "MPL", "L/100km", "MPiG", "KPL"};
    const char* distance[] = {"Mile", "Kilometer"};
    const char* liquid[] = {"US", "Imp", "Litre"};
    for (int code = 0; code < 5; ++code) {
        s.economyUnit = code;
        s.distanceUnit = code % 2;
        s.liquid = code % 3;
        ASSERT_TRUE(m_registry.saveVehicle(s, {"Integra", "Civic"}, today)) << m_registry.lastError();
        const std::vector<std::string> l = lines(ini());
        for (const std::string& expected :
             {std::string("Vehicle0=Integra\r\n"), std::string("Vehicle1=Civic\r\n"), std::string("Vehicle2=Stale\r\n"),
              std::string("Desktop=1.0.7 Build 237\r\n"), std::string("Daccess=Last Access: 5-12-2026\r\n"),
              std::string("CostPerMile=0.655000\r\n"), "Econo=" + std::string(economy[code]) + "\r\n",
              "Distance=" + std::string(distance[code % 2]) + "\r\n",
              "Liquid=" + std::string(liquid[code % 3]) + "\r\n"})
            EXPECT_EQ(std::count(l.begin(), l.end(), expected), 1) << expected;
    }
}

TEST_F(VehicleRegistry, TextsReadAsCodes) {
    struct Case {
        const char* text;
        int distance, economy, liquid, sort;
    };
    const Case cases[] = {
        {"", 0, 0, 0, 0},
        {"Kilometers", 1, 0, 0, 0},
        {"Kilometer", 1, 0, 0, 0},
        {"Mile", 0, 0, 0, 0},
        {"Miles", 0, 0, 0, 0},
        {"kilometer", 0, 0, 0, 0},
        {"MPG", 0, 0, 0, 0},
        {"MPL", 0, 1, 0, 0},
        {"L/100km", 0, 2, 0, 0},
        {"MPiG", 0, 3, 0, 0},
        {"KPL", 0, 4, 0, 0},
        {"mpg", 0, 0, 0, 0},
        {"KPL or MPG", 0, 4, 0, 0},
        {"US", 0, 0, 0, 0},
        {"Imp", 0, 0, 1, 0},
        {"Litres", 0, 0, 2, 0},
        {"Liter", 0, 0, 0, 0},
        {"US or Imp", 0, 0, 1, 0},
        {"Purpose", 0, 0, 0, 1},
        {"Contact", 0, 0, 0, 2},
        {"Contact Date", 0, 0, 0, 2},
        {"Purpose/Date", 0, 0, 0, 1},
    };
    for (const Case& c : cases) {
        const std::string t = c.text;
        writeIni("[TripSettings]\r\nSortListBy=" + t + "\r\n[V]\r\nDistance=" + t + "\r\nEcono=" + t +
                 "\r\nLiquid=" + t + "\r\n");
        const VehicleSettings s = load("V");
        EXPECT_EQ(s.distanceUnit, c.distance) << t;
        EXPECT_EQ(s.economyUnit, c.economy) << t;
        EXPECT_EQ(s.liquid, c.liquid) << t;
        EXPECT_EQ(s.tripSortOrder, c.sort) << t;
    }
}

TEST_F(VehicleRegistry, AbsentSetupDateReadsAsNow) {
    for (const std::string setup : {"", "SetupDate=\r\n", "SetupDate=0\r\n"}) {
        writeIni("[V]\r\nStart Odometer=50\r\n" + setup + "LastR2Date=7\r\n");
        const VehicleSettings s = load("V");
        EXPECT_EQ(s.setupDate, kNow) << setup;
        for (std::size_t i = 0; i < 10; ++i) {
            EXPECT_EQ(s.lastDate[i], i == 2 ? 7.0 : static_cast<double>(kNow)) << i;
            EXPECT_EQ(s.lastMileage[i], 50.0) << i;
        }
    }
}

TEST_F(VehicleRegistry, VehicleWithoutSectionReadsDefaults) {
    writeIni(kHandWritten);
    VehicleSettings expected;
    expected.name = "Nobody";
    expected.setupDate = kNow;
    expected.lastDate.fill(static_cast<double>(kNow));
    expected.detailedTrips = true;
    expected.tripUseContacts = true;
    expected.tripSortOrder = 2;
    EXPECT_EQ(load("Nobody"), expected);
}

TEST_F(VehicleRegistry, MissingOrUnreadableFileChangesNothingAndFailuresSayWhy) {
    const VehicleSettings before = distinctSettings("Kept");
    VehicleSettings s = before;
    EXPECT_FALSE(m_registry.exists());
    EXPECT_FALSE(m_registry.loadVehicle("Kept", s, kNow, nullptr));
    EXPECT_EQ(s, before);
    EXPECT_FALSE(m_registry.lastError().empty());

    const VehicleSettings unnamed = distinctSettings("");
    EXPECT_FALSE(m_registry.saveVehicle(unnamed, {"A"}, kNow));
    EXPECT_FALSE(m_registry.lastError().empty());
    EXPECT_FALSE(m_registry.exists()) << "nothing is written for a vehicle without a name";
    EXPECT_FALSE(m_registry.writeNewVehicle(unnamed, kNow));

    // A folder where the file should be: reads fail, the first write fails and the rest are not tried.
    std::filesystem::create_directory(iniPath());
    const CVehicleRegistry reader(m_dir.path()); // its lastError() is the load's alone
    EXPECT_FALSE(reader.loadVehicle("Kept", s, kNow, nullptr));
    EXPECT_EQ(s, before);
    EXPECT_NE(reader.lastError().find("cannot read"), std::string::npos) << reader.lastError();
    EXPECT_FALSE(m_registry.saveVehicle(before, {"A"}, kNow));
    EXPECT_NE(m_registry.lastError().find("cannot read"), std::string::npos) << m_registry.lastError();
    EXPECT_FALSE(m_registry.writeNewVehicle(before, kNow));
    EXPECT_FALSE(m_registry.writeDateRange(1, 2));
}

TEST_F(VehicleRegistry, VehicleListStopsAtTheFirstGap) {
    writeIni(kHandWritten);
    EXPECT_EQ(m_registry.vehicleNames(), (std::vector<std::string>{"Car", "Car 2"}));

    writeIni("[VehicleList]\r\nVehicle0=A\r\nVehicle1=\r\nVehicle2=C\r\n");
    EXPECT_EQ(m_registry.vehicleNames(), std::vector<std::string>{"A"});

    writeIni("[Other]\r\nVehicle0=A\r\n");
    EXPECT_TRUE(m_registry.vehicleNames().empty());
}

TEST_F(VehicleRegistry, RemovingAVehicleRewritesTheListWithoutAGap) {
    struct Case {
        const char* before;
        const char* name;
        const char* after;
    };
    const Case cases[] = {
        // The middle of three: indexes 0 and 1 remain, 2 goes; the vehicle's section stays.
        {"[VehicleList]\r\nVehicle0=A\r\nVehicle1=B\r\nVehicle2=C\r\n[B]\r\nVIN=1\r\n", "B",
         "[B]\r\nVIN=1\r\n[VehicleList]\r\nVehicle0=A\r\nVehicle1=C\r\n"},
        // Every entry of the name goes; names behind the first gap and other keys go with the section.
        {"; top\r\n[VehicleList]\r\nVehicle0=A\r\nVehicle1=B\r\nVehicle2=A\r\nVehicle4=E\r\nNote=x\r\n", "A",
         "; top\r\n[VehicleList]\r\nVehicle0=B\r\n"},
        // The last vehicle leaves no list at all; a name that is not listed changes only the layout.
        {"[VehicleList]\r\nVehicle0=A\r\n[Cfg]\r\nk=1\r\n", "A", "[Cfg]\r\nk=1\r\n"},
        {"[VehicleList]\r\nvehicle0 = A\r\n", "Z", "[VehicleList]\r\nVehicle0=A\r\n"},
    };
    for (const Case& c : cases) {
        writeIni(c.before);
        ASSERT_TRUE(m_registry.removeFromList(c.name)) << m_registry.lastError();
        EXPECT_EQ(ini(), c.after) << c.before;
    }
    std::filesystem::remove(m_registry.path());
    EXPECT_FALSE(m_registry.removeFromList("A"));
    EXPECT_NE(m_registry.lastError().find("does not exist"), std::string::npos) << m_registry.lastError();
    EXPECT_FALSE(std::filesystem::exists(m_registry.path()));
}

TEST_F(VehicleRegistry, SelectionIndex) {
    using Names = std::vector<std::string>;
    struct Case {
        Names names;
        std::string current;
        int index;
    };
    const Case cases[] = {
        {{"Car", "Car 2"}, "Car", 1},      // the search starts at the second entry
        {{"Car", "Truck"}, "car", 0},      // and wraps to the first, case aside
        {{"Car 2", "Car"}, "CAR", 1},      //
        {{"Van", "Bus", "Car"}, "Ca", 2},  // a prefix is enough
        {{"Van", "Car"}, "Car 2", -1},     // the entry must hold all of the name
        {{"My Vehicle"}, "My Vehicle", 0}, //
        {{}, "Car", -1},                   //
    };
    for (const Case& c : cases)
        EXPECT_EQ(CVehicleRegistry::selectionIndex(c.names, c.current), c.index) << c.current;
}

TEST_F(VehicleRegistry, NewVehicleTakesTheFirstFreeSlot) {
    writeIni("[VehicleList]\r\nVehicle0=A\r\nVehicle1=B\r\nVehicle3=D\r\n[Truck]\r\nCompany=Left alone\r\n"
             "LeadDays=9\r\n");
    VehicleSettings s = distinctSettings("Truck");
    s.startOdometer = 500.5;
    s.distanceUnit = 1;
    s.economyUnit = 2;
    s.liquid = 2;
    const std::time_t now = 1765000000;
    ASSERT_TRUE(m_registry.writeNewVehicle(s, now)) << m_registry.lastError();

    std::string section = "[Truck]\r\nCompany=Left alone\r\nLeadDays=9\r\n"
                          "VIN=JH4DA9350LS000001\r\nMake=Acura\r\nPlate=XYZ-789\r\nModel=Integra\r\nYear=1990\r\n"
                          "Start Odometer=500.500000\r\n";
    for (const char* kind : {"Cool", "Oil", "Trans", "Tune", "Tire"})
        section += std::string(kind) + "Days=0\r\n" + kind + "Distance=0.000000\r\n";
    section += "CostPerMile=0.000000\r\n";
    for (int i = 1; i <= 5; ++i)
        section += "Custom" + std::to_string(i) + "=\r\n";
    for (int i = 1; i <= 5; ++i)
        section += "C" + std::to_string(i) + "Days=0\r\n";
    for (int i = 1; i <= 5; ++i)
        section += "C" + std::to_string(i) + "Miles=0.000000\r\n";
    section += "SetupDate=1765000000.000000\r\nDistance=Kilometer\r\nEcono=L/100km\r\nLiquid=Litre\r\n";
    for (int i = 0; i < 10; ++i)
        section += "LastR" + std::to_string(i) + "Mileage=500.500000\r\nLastR" + std::to_string(i) +
                   "Date=1765000000.000000\r\n";
    EXPECT_EQ(ini(), "[VehicleList]\r\nVehicle0=A\r\nVehicle1=B\r\nVehicle3=D\r\nVehicle2=Truck\r\n" + section);
    EXPECT_EQ(m_registry.vehicleNames(), (std::vector<std::string>{"A", "B", "Truck", "D"}));
}

TEST_F(VehicleRegistry, LoadWritesTheVehicleToTheLog) {
    writeIni(kHandWritten);
    CActivityLog log(m_dir.file("Odrivo.log"), m_dir.file("Odrivo.archive"));
    log.setClock([] { return kNow; });
    VehicleSettings s;
    ASSERT_TRUE(m_registry.loadVehicle("Car", s, kNow, &log));

    const std::string bytes = readFile(log.logPath());
    std::vector<std::string> descriptions;
    for (std::size_t at = CActivityLog::kLineSize; at + CActivityLog::kLineSize <= bytes.size();
         at += CActivityLog::kLineSize) {
        std::string d = bytes.substr(at + 58, 200);
        descriptions.push_back(d.substr(0, d.find('\0')));
    }
    EXPECT_EQ(descriptions,
              (std::vector<std::string>{"Vehicle Selection", "Company: Acme Fleet", "VIN: 1FTEX1EP5FKD12345",
                                        "Make: Ford  Model: F-150  Year: 2015"}));
}

TEST_F(VehicleRegistry, DateRange) {
    EXPECT_EQ(m_registry.fromDate(kNow), kNow);
    ASSERT_TRUE(m_registry.writeDateRange(1700000000, 1700086400));
    EXPECT_EQ(m_registry.fromDate(kNow), 1700000000);
    EXPECT_EQ(m_registry.toDate(kNow), 1700086400);
    EXPECT_NE(ini().find("FromDate=1700000000.000000\r\n"), std::string::npos);

    // A time no clock can hold reads as no time.
    const std::pair<const char*, std::time_t> limits[] = {{"999999999999999", 999999999999999},
                                                          {"-999999999999999", -999999999999999},
                                                          {"1000000000000000", 0},
                                                          {"-1e15", 0}};
    for (const auto& [text, expected] : limits) {
        writeIni(std::string("[Config]\r\nFromDate=") + text + "\r\n");
        EXPECT_EQ(m_registry.fromDate(kNow), expected) << text;
    }
}
