#include "store/first_run_installer.h"

#include "log_file_bytes.h"
#include "store/pick_list.h"
#include "store/profile_file.h"
#include "store/vehicle_log_doc.h"
#include "store/vehicle_registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using logtest::readFile;
using logtest::TempFolder;
using logtest::writeFile;

namespace {

constexpr std::time_t kNow = 1765000000;
constexpr std::time_t kDay = 86400;

class FirstRunInstaller : public ::testing::Test {
protected:
    std::string config() const { return m_root.file("config/"); }
    std::string data() const { return m_root.file("data/"); }
    std::string registryPath() const { return config() + CVehicleRegistry::kFileName; }
    std::string listsPath() const { return config() + "Lists.ini"; }
    std::string logPath() const {
        return CVehicleLogDoc::dataFilePath(data(), CVehicleRegistry(config()).vin(CFirstRunInstaller::kSampleVehicle));
    }

    CFirstRunInstaller::Result install() const { return CFirstRunInstaller::installIfNeeded(config(), data(), kNow); }

    static std::vector<std::string> folderNames(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder m_root;
};

} // namespace

TEST_F(FirstRunInstaller, InstallsTheSampleVehicle) {
    const auto result = install();
    ASSERT_TRUE(result.installed) << result.message;
    EXPECT_TRUE(result.message.empty());

    const CVehicleRegistry registry(config());
    EXPECT_EQ(registry.vehicleNames(), std::vector<std::string>{"My Vehicle"});
    VehicleSettings s;
    ASSERT_TRUE(registry.loadVehicle("My Vehicle", s, kNow, nullptr));
    EXPECT_EQ(s.vin.size(), 17u);
    EXPECT_EQ(s.vin.find_first_of("IOQioq"), std::string::npos) << s.vin;
    EXPECT_EQ(std::tie(s.distanceUnit, s.economyUnit, s.liquid, s.oilDays, s.oilDistance),
              std::make_tuple(0, 0, 0, 90, 3000.0));
    for (const double distance : {s.coolDistance, s.tireDistance, s.tuneDistance, s.transDistance})
        EXPECT_GT(distance, s.oilDistance);
    EXPECT_LT(s.setupDate, kNow - 60 * kDay);
    EXPECT_GT(s.setupDate, kNow - 365 * kDay);
    // Written through the registry, so it reads like any other vehicle section.
    const std::string ini = readFile(registryPath());
    EXPECT_NE(ini.find("[VehicleList]\r\nVehicle0=My Vehicle\r\n"), std::string::npos);
    EXPECT_NE(ini.find("Econo=MPG\r\n"), std::string::npos);

    EXPECT_EQ(
        CPickList::load(listsPath(), CPickList::RepairList),
        (std::vector<std::string>{"Oil Change", "Coolant Flush", "Rotate Tires", "Tune-Up", "Transmission Service"}));

    // The station pick list offers each station the sample log names, once.
    CVehicleLogDoc doc;
    ASSERT_EQ(doc.load(logPath()).status, LogLoadStatus::Loaded);
    std::set<std::string> logStations;
    for (const auto& entry : doc.entries())
        if (entry->EntryType == CDVItem::Fuel && !entry->Station.empty())
            logStations.insert(entry->Station);
    const std::vector<std::string> listed = CPickList::load(listsPath(), CPickList::FuelStationList);
    EXPECT_GE(listed.size(), 2u);
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), logStations);
    EXPECT_EQ(listed.size(), logStations.size()) << "each station once";

    // A believable log: about four months ending a few days ago, after the vehicle was set up.
    ASSERT_GE(doc.size(), 10u);
    int fuel = 0, partial = 0, finishedTrips = 0, openTrips = 0, oilChanges = 0, otherRepairs = 0;
    DVTime first = doc.at(0).Date, last = 0;
    for (std::size_t i = 0; i < doc.size(); ++i) {
        const CDVItem& e = doc.at(i);
        SCOPED_TRACE("entry " + std::to_string(i));
        EXPECT_GE(e.Odometer, s.startOdometer);
        if (i > 0) {
            EXPECT_GT(e.Odometer, doc.at(i - 1).Odometer);
            EXPECT_GT(e.Date, doc.at(i - 1).Date) << "later odometers are later dates";
        }
        EXPECT_LT(e.Date, kNow);
        last = std::max(last, e.Date);
        first = std::min(first, e.Date);
        switch (e.EntryType) {
        case CDVItem::Fuel:
            ++fuel;
            partial += e.PartialFill;
            EXPECT_DOUBLE_EQ(e.Cost, e.Quantity * e.UnitPrice);
            break;
        case CDVItem::Repair:
            oilChanges += e.Entry == "Oil Change" && e.Icon == 4;
            otherRepairs += e.Entry != "Oil Change";
            break;
        case CDVItem::Trip:
            EXPECT_NE(e.DepartTime, 0);
            if (e.Icon == 19) {
                ++finishedTrips;
                EXPECT_GT(e.EndOdometer, e.Odometer);
                EXPECT_GT(e.ArriveTime, e.DepartTime);
            } else {
                openTrips += e.Icon == 18 && e.EndOdometer == 0.0 && e.ArriveTime == 0;
            }
            break;
        default:
            ADD_FAILURE() << "entry type " << e.EntryType;
        }
    }
    EXPECT_GE(fuel, 7);
    EXPECT_GE(otherRepairs, 1);
    EXPECT_EQ(std::tie(partial, oilChanges, finishedTrips, openTrips), std::make_tuple(1, 1, 1, 1));
    EXPECT_GT(last, kNow - 7 * kDay);
    EXPECT_GT(first, kNow - 150 * kDay);
    EXPECT_LT(first, kNow - 100 * kDay);
    EXPECT_GE(first, s.setupDate);

    // No scratch files are left behind.
    EXPECT_EQ(folderNames(config()), (std::vector<std::string>{"Drivana.ini", "Lists.ini"}));
    EXPECT_EQ(folderNames(data()), std::vector<std::string>{s.vin + ".odv"});
}

TEST_F(FirstRunInstaller, RunsOnlyOnce) {
    ASSERT_TRUE(install().installed);
    const std::string ini = readFile(registryPath());
    const std::string lists = readFile(listsPath());
    const std::string log = readFile(logPath());

    const auto again = CFirstRunInstaller::installIfNeeded(config(), data(), kNow + 400 * kDay);
    EXPECT_FALSE(again.installed);
    EXPECT_TRUE(again.message.empty()) << again.message;
    EXPECT_EQ(readFile(registryPath()), ini);
    EXPECT_EQ(readFile(listsPath()), lists);
    EXPECT_EQ(readFile(logPath()), log);
}

TEST_F(FirstRunInstaller, FirstStartOnlyWithoutProfileAndWithAnEmptyDefaultFolder) {
    const std::string profile = m_root.file("Odrivo.ini");
    struct Case {
        const char* name;
        bool profile;
        const char* configFile; // nullptr: the folder is missing
        bool first;
    };
    for (const Case& c :
         {Case{"nothing at all", false, nullptr, true}, Case{"empty folder", false, "", true},
          Case{"profile exists", true, "", false}, Case{"folder holds a file", false, "Lists.ini", false},
          Case{"only a cut-short staging folder", false, ".odrivo-setup-a1B2c3", true}}) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(config());
        std::filesystem::remove(profile);
        if (c.profile)
            writeFile(profile, "");
        if (c.configFile) {
            std::filesystem::create_directories(config());
            if (*c.configFile == '.')
                std::filesystem::create_directory(config() + c.configFile);
            else if (*c.configFile)
                writeFile(config() + c.configFile, "");
        }
        EXPECT_EQ(CFirstRunInstaller::isFirstStart(profile, config()), c.first);
    }
    // The install clears such a left-over away.
    EXPECT_TRUE(install().installed);
    EXPECT_EQ(folderNames(config()), (std::vector<std::string>{"Drivana.ini", "Lists.ini"}));
}

TEST_F(FirstRunInstaller, ExistingFilesAreLeftAlone) {
    // Where the sample log goes, found from a first installation elsewhere.
    ASSERT_TRUE(install().installed);
    const std::string logName = std::filesystem::path(logPath()).filename().string();
    const std::string installedLists = readFile(listsPath());
    std::filesystem::remove_all(config());
    std::filesystem::remove_all(data());

    const std::string mine = "my own bytes";
    {
        std::filesystem::create_directories(config());
        writeFile(registryPath(), "[VehicleList]\r\nVehicle0=Truck\r\n");
        EXPECT_FALSE(install().installed);
        EXPECT_EQ(readFile(registryPath()), "[VehicleList]\r\nVehicle0=Truck\r\n");
        EXPECT_FALSE(std::filesystem::exists(listsPath()));
        EXPECT_FALSE(std::filesystem::exists(data() + logName));
        std::filesystem::remove(registryPath());
    }
    {
        writeFile(listsPath(), mine);
        const auto result = install();
        EXPECT_TRUE(result.installed) << result.message;
        EXPECT_EQ(readFile(listsPath()), mine);
        EXPECT_TRUE(std::filesystem::exists(data() + logName));
        std::filesystem::remove_all(config());
        std::filesystem::remove_all(data());
    }
    {
        std::filesystem::create_directories(data());
        writeFile(data() + logName, mine);
        const auto result = install();
        EXPECT_TRUE(result.installed) << result.message;
        EXPECT_EQ(readFile(data() + logName), mine);
        EXPECT_EQ(readFile(listsPath()), installedLists);
        EXPECT_TRUE(std::filesystem::exists(registryPath()));
    }
}

TEST_F(FirstRunInstaller, FailureNamesTheFileAndInstallsNoVehicleList) {
    ASSERT_TRUE(install().installed);
    const std::string log = logPath();
    std::filesystem::remove_all(config());
    std::filesystem::remove_all(data());

    // A folder in the sample log's place: the log cannot be written.
    std::filesystem::create_directories(log);
    auto result = install();
    EXPECT_FALSE(result.installed);
    EXPECT_NE(result.message.find(log), std::string::npos) << result.message;
    EXPECT_FALSE(std::filesystem::exists(registryPath())) << "the next start must try again";

    // A file in the data folder's place.
    std::filesystem::remove_all(data());
    writeFile(m_root.file("data"), "not a folder");
    result = install();
    EXPECT_FALSE(result.installed);
    EXPECT_NE(result.message.find(m_root.file("data")), std::string::npos) << result.message;
    EXPECT_FALSE(std::filesystem::exists(registryPath()));
}
