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
using Names = std::vector<std::string>;

namespace {

constexpr std::time_t kNow = 1765000000;
constexpr std::time_t kDay = 86400;

class FirstRunInstaller : public ::testing::Test {
protected:
    std::string logPath() const {
        return CVehicleLogDoc::dataFilePath(m_data, CVehicleRegistry(m_config).vin(CFirstRunInstaller::kSampleVehicle));
    }
    std::string allFiles() const { return readFile(m_registry) + readFile(m_lists) + readFile(logPath()); }
    CFirstRunInstaller::Result install(std::time_t now = kNow) const {
        return CFirstRunInstaller::installIfNeeded(m_config, m_data, now);
    }
    // Installs once to learn where the sample log goes, then starts from empty folders.
    std::string sampleLog() {
        EXPECT_TRUE(install().installed);
        const std::string path = logPath();
        fs::remove_all(m_config);
        fs::remove_all(m_data);
        return path;
    }
    Names configNames() const {
        Names out;
        for (const auto& entry : fs::directory_iterator(m_config))
            out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    logtest::TempFolder m_root;
    const std::string m_config = m_root.file("config/"), m_data = m_root.file("data/");
    const std::string m_registry = m_config + CVehicleRegistry::kFileName, m_lists = m_config + "Lists.ini";
};

TEST_F(FirstRunInstaller, InstallsTheSampleVehicleOnce) {
    const auto result = install();
    ASSERT_TRUE(result.installed && result.message.empty()) << result.message;
    const CVehicleRegistry registry(m_config);
    EXPECT_EQ(registry.vehicleNames(), Names{"My Vehicle"});
    VehicleSettings s;
    ASSERT_TRUE(registry.loadVehicle("My Vehicle", s, kNow, nullptr));
    EXPECT_EQ(std::tie(s.distanceUnit, s.economyUnit, s.liquid, s.oilDays, s.oilDistance),
              std::make_tuple(0, 0, 0, 90, 3000.0));
    EXPECT_LT(s.setupDate, kNow - 60 * kDay);

    // A believable log: about four months ending a few days ago, after the vehicle was set up;
    // the station pick list offers each station it names, once.
    CVehicleLogDoc doc;
    ASSERT_EQ(doc.load(logPath()).status, LogLoadStatus::Loaded);
    ASSERT_GE(doc.size(), 10u);
    std::set<std::string> stations;
    int partial = 0, oilChanges = 0;
    for (std::size_t i = 0; i < doc.size(); ++i) {
        const CDVItem& e = doc.at(i);
        EXPECT_GT(e.Odometer, i ? doc.at(i - 1).Odometer : s.startOdometer) << i;
        EXPECT_GT(e.Date, i ? doc.at(i - 1).Date : s.setupDate) << "later odometers are later dates " << i;
        partial += e.PartialFill;
        oilChanges += e.EntryType == CDVItem::Repair && e.Entry == "Oil Change";
        if (e.EntryType == CDVItem::Fuel && !e.Station.empty())
            stations.insert(e.Station);
    }
    EXPECT_EQ(std::tie(partial, oilChanges), std::make_tuple(1, 1));
    EXPECT_GT(doc.at(0).Date, kNow - 150 * kDay);
    EXPECT_LT(doc.at(0).Date, kNow - 100 * kDay);
    EXPECT_GT(doc.at(doc.size() - 1).Date, kNow - 7 * kDay);
    EXPECT_LT(doc.at(doc.size() - 1).Date, kNow);
    const Names listed = CPickList::load(m_lists, CPickList::FuelStationList);
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), stations);
    EXPECT_EQ(listed.size(), stations.size()) << "each station once";
    EXPECT_EQ(CPickList::load(m_lists, CPickList::RepairList),
              (Names{"Oil Change", "Coolant Flush", "Rotate Tires", "Tune-Up", "Transmission Service"}));
    // No scratch files are left behind, and a second run changes nothing.
    EXPECT_EQ(configNames(), (Names{"Drivana.ini", "Lists.ini"}));
    const std::string files = allFiles();
    const auto again = install(kNow + 400 * kDay);
    EXPECT_FALSE(again.installed || !again.message.empty()) << again.message;
    EXPECT_EQ(allFiles(), files);
}

TEST_F(FirstRunInstaller, FirstStartOnlyWithoutProfileAndWithAnEmptyDefaultFolder) {
    const std::string profile = m_root.file("Odrivo.ini");
    // What the config folder holds (nullptr: it is missing); the last is what a cut-short
    // install leaves, and the install clears it away.
    // clang-format off
    const std::tuple<bool, const char*, bool> cases[] = {
        {false, nullptr, true}, {false, "", true}, {true, "", false}, {false, "Lists.ini", false},
        {false, ".odrivo-setup-a1B2c3/", true}};
    // clang-format on
    for (const auto& [withProfile, held, first] : cases) {
        fs::remove_all(m_config);
        fs::remove(profile);
        if (withProfile)
            writeFile(profile, "");
        if (held)
            fs::create_directories(m_config + (std::string(held).ends_with('/') ? held : ""));
        if (held && *held && *held != '.')
            writeFile(m_config + held, "");
        EXPECT_EQ(CFirstRunInstaller::isFirstStart(profile, m_config), first) << withProfile << (held ? held : "");
    }
    EXPECT_TRUE(install().installed);
    EXPECT_EQ(configNames(), (Names{"Drivana.ini", "Lists.ini"}));
}

TEST_F(FirstRunInstaller, ExistingFilesAreLeftAlone) {
    const std::string log = sampleLog();
    const std::string mine = "the user's own bytes";
    // Pick lists or a log of the user's own are kept; the rest is installed.
    for (const std::string& path : {m_lists, log}) {
        fs::create_directories(m_data);
        fs::create_directories(m_config);
        writeFile(path, mine);
        EXPECT_TRUE(install().installed);
        EXPECT_EQ(readFile(path), mine);
        EXPECT_TRUE(fs::exists(m_lists) && fs::exists(log) && fs::exists(m_registry)) << path;
        fs::remove_all(m_config);
        fs::remove_all(m_data);
    }
}

TEST_F(FirstRunInstaller, FailureNamesTheFileAndInstallsNoVehicleList) {
    const std::string log = sampleLog();
    fs::create_directories(log); // a folder in the sample log's place
    auto result = install();
    EXPECT_NE(result.message.find(log), std::string::npos) << result.message;
    EXPECT_FALSE(result.installed || fs::exists(m_registry)) << "the next start must try again";
    fs::remove_all(m_data);
    writeFile(m_root.file("data"), "not a folder");
    result = install();
    EXPECT_NE(result.message.find(m_root.file("data")), std::string::npos) << result.message;
    EXPECT_FALSE(result.installed || fs::exists(m_registry));
}

} // namespace
