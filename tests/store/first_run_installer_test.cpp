#include "store/first_run_installer.h"

#include "log_file_bytes.h"
#include "store/pick_list.h"
#include "store/vehicle_log_doc.h"
#include "store/vehicle_registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;
using logtest::readFile;
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
    CFirstRunInstaller::Result install(std::time_t now = kNow) const {
        return CFirstRunInstaller::installIfNeeded(config(), data(), now);
    }
    // Installs once to learn where the sample log goes, then starts from empty folders.
    std::string sampleLogName() {
        EXPECT_TRUE(install().installed);
        const std::string name = fs::path(logPath()).filename().string();
        fs::remove_all(config());
        fs::remove_all(data());
        return name;
    }
    static std::vector<std::string> names(const std::string& folder) {
        std::vector<std::string> out;
        for (const auto& entry : fs::directory_iterator(folder))
            out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    logtest::TempFolder m_root;
};

TEST_F(FirstRunInstaller, InstallsTheSampleVehicleOnce) {
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
    EXPECT_LT(s.setupDate, kNow - 60 * kDay);
    EXPECT_GT(s.setupDate, kNow - 365 * kDay);
    EXPECT_EQ(
        CPickList::load(listsPath(), CPickList::RepairList),
        (std::vector<std::string>{"Oil Change", "Coolant Flush", "Rotate Tires", "Tune-Up", "Transmission Service"}));

    // A believable log: about four months ending a few days ago, after the vehicle was set up;
    // the station pick list offers each station it names, once.
    CVehicleLogDoc doc;
    ASSERT_EQ(doc.load(logPath()).status, LogLoadStatus::Loaded);
    ASSERT_GE(doc.size(), 10u);
    std::set<std::string> stations;
    int fuel = 0, partial = 0, oilChanges = 0, finishedTrips = 0, openTrips = 0;
    for (std::size_t i = 0; i < doc.size(); ++i) {
        const CDVItem& e = doc.at(i);
        SCOPED_TRACE("entry " + std::to_string(i));
        EXPECT_LT(e.Date, kNow);
        EXPECT_GT(e.Odometer, i ? doc.at(i - 1).Odometer : s.startOdometer);
        EXPECT_GT(e.Date, i ? doc.at(i - 1).Date : s.setupDate) << "later odometers are later dates";
        if (e.EntryType == CDVItem::Fuel) {
            ++fuel;
            partial += e.PartialFill;
            EXPECT_DOUBLE_EQ(e.Cost, e.Quantity * e.UnitPrice);
            if (!e.Station.empty())
                stations.insert(e.Station);
        }
        oilChanges += e.EntryType == CDVItem::Repair && e.Entry == "Oil Change" && e.Icon == 4;
        const bool trip = e.EntryType == CDVItem::Trip && e.DepartTime != 0;
        finishedTrips += trip && e.Icon == 19 && e.EndOdometer > e.Odometer && e.ArriveTime > e.DepartTime;
        openTrips += trip && e.Icon == 18 && e.EndOdometer == 0.0 && e.ArriveTime == 0;
    }
    EXPECT_GE(fuel, 7);
    EXPECT_EQ(std::tie(partial, oilChanges, finishedTrips, openTrips), std::make_tuple(1, 1, 1, 1));
    EXPECT_GT(doc.at(doc.size() - 1).Date, kNow - 7 * kDay);
    EXPECT_GT(doc.at(0).Date, kNow - 150 * kDay);
    EXPECT_LT(doc.at(0).Date, kNow - 100 * kDay);
    const std::vector<std::string> listed = CPickList::load(listsPath(), CPickList::FuelStationList);
    EXPECT_GE(listed.size(), 2u);
    EXPECT_EQ(std::multiset<std::string>(listed.begin(), listed.end()),
              std::multiset<std::string>(stations.begin(), stations.end()));
    // No scratch files are left behind.
    EXPECT_EQ(names(config()), (std::vector<std::string>{"Drivana.ini", "Lists.ini"}));
    EXPECT_EQ(names(data()), std::vector<std::string>{s.vin + ".odv"});

    const std::string files[] = {readFile(registryPath()), readFile(listsPath()), readFile(logPath())};
    const auto again = install(kNow + 400 * kDay);
    EXPECT_FALSE(again.installed);
    EXPECT_TRUE(again.message.empty()) << again.message;
    EXPECT_EQ(files[0] + files[1] + files[2], readFile(registryPath()) + readFile(listsPath()) + readFile(logPath()));
}

TEST_F(FirstRunInstaller, FirstStartOnlyWithoutProfileAndWithAnEmptyDefaultFolder) {
    const std::string profile = m_root.file("Odrivo.ini");
    const struct {
        bool profile;
        const char* configFile; // nullptr: the folder is missing
        bool first;
    } cases[] = {{false, nullptr, true},
                 {false, "", true},
                 {true, "", false},
                 {false, "Lists.ini", false},
                 {false, ".odrivo-setup-a1B2c3", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.configFile ? c.configFile : "no folder");
        fs::remove_all(config());
        fs::remove(profile);
        if (c.profile)
            writeFile(profile, "");
        if (c.configFile) {
            fs::create_directories(config());
            if (*c.configFile == '.')
                fs::create_directory(config() + c.configFile);
            else if (*c.configFile)
                writeFile(config() + c.configFile, "");
        }
        EXPECT_EQ(CFirstRunInstaller::isFirstStart(profile, config()), c.first);
    }
    // The last is what a cut-short install leaves; the next one clears it away.
    EXPECT_TRUE(install().installed);
    EXPECT_EQ(names(config()), (std::vector<std::string>{"Drivana.ini", "Lists.ini"}));
}

TEST_F(FirstRunInstaller, ExistingFilesAreLeftAlone) {
    const std::string logName = sampleLogName();
    const std::string mine = "[VehicleList]\r\nVehicle0=Truck\r\n";
    // A registry of the user's own: nothing is installed.
    fs::create_directories(config());
    writeFile(registryPath(), mine);
    EXPECT_FALSE(install().installed);
    EXPECT_EQ(readFile(registryPath()), mine);
    EXPECT_FALSE(fs::exists(listsPath()));
    EXPECT_FALSE(fs::exists(data() + logName));
    fs::remove(registryPath());

    // Pick lists or a log of the user's own are kept; the rest is installed.
    for (const std::string& path : {listsPath(), data() + logName}) {
        SCOPED_TRACE(path);
        fs::create_directories(data());
        writeFile(path, mine);
        const auto result = install();
        EXPECT_TRUE(result.installed) << result.message;
        EXPECT_EQ(readFile(path), mine);
        EXPECT_TRUE(fs::exists(listsPath()) && fs::exists(data() + logName) && fs::exists(registryPath()));
        fs::remove_all(config());
        fs::remove_all(data());
    }
}

TEST_F(FirstRunInstaller, FailureNamesTheFileAndInstallsNoVehicleList) {
    const std::string log = data() + sampleLogName();
    fs::create_directories(log); // a folder in the sample log's place
    auto result = install();
    EXPECT_FALSE(result.installed);
    EXPECT_NE(result.message.find(log), std::string::npos) << result.message;
    EXPECT_FALSE(fs::exists(registryPath())) << "the next start must try again";

    fs::remove_all(data());
    writeFile(m_root.file("data"), "not a folder");
    result = install();
    EXPECT_NE(result.message.find(m_root.file("data")), std::string::npos) << result.message;
    EXPECT_FALSE(result.installed || fs::exists(registryPath()));
}

} // namespace
