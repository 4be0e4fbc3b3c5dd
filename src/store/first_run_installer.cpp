#include "store/first_run_installer.h"

#include "store/pick_list.h"

#include "store/file_io.h"
#include "store/profile_file.h"
#include "store/vehicle_log_doc.h"
#include "store/vehicle_registry.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>
#include <vector>

namespace {

constexpr const char* kListsFileName = "Lists.ini";
constexpr const char* kRepairList = "RepairList";
constexpr const char* kLineKey = "Line";
constexpr const char* kFuelEntry = "Fuel";
constexpr const char* kTripEntry = "Trip";
constexpr const char* kGallons = "Gallons";
constexpr const char* kWhatToDo = "Check that the folder exists and can be written to, then start Odrivo again.";

// The standard jobs, spelled as the reminder check recognises them.
constexpr const char* kRepairJobs[] = {"Oil Change", "Coolant Flush", "Rotate Tires", "Tune-Up",
                                       "Transmission Service"};

constexpr const char* kSampleVin = "2HGFC2F58KH508216";
constexpr int kSetupDaysAgo = 130;
constexpr double kStartOdometer = 41250.0;
constexpr double kCostPerMile = 0.655;

// Entry icons the entry dialogs store.
constexpr int kOilIcon = 4;
constexpr int kDefaultRepairIcon = 1;
constexpr int kOpenTripIcon = 18;
constexpr int kFinishedTripIcon = 19;

VehicleSettings sampleVehicle(std::time_t setupDate) {
    VehicleSettings s;
    s.name = CFirstRunInstaller::kSampleVehicle;
    s.vin = kSampleVin;
    s.make = "Honda";
    s.model = "Civic";
    s.year = 2019;
    s.plate = "8KLM417";
    s.startOdometer = kStartOdometer;
    s.oilDays = 90;
    s.oilDistance = 3000;
    s.coolDays = 730;
    s.coolDistance = 30000;
    s.tireDays = 180;
    s.tireDistance = 6000;
    s.tuneDays = 365;
    s.tuneDistance = 30000;
    s.transDays = 730;
    s.transDistance = 60000;
    s.customNames[0] = "Replace wiper blades";
    s.customDays[0] = 365;
    s.costPerMile = kCostPerMile;
    s.setupDate = static_cast<DVTime>(setupDate);
    s.leadDays = 14;
    s.leadOdo = 300;
    s.lastMileage.fill(kStartOdometer);
    s.lastDate.fill(static_cast<double>(setupDate));
    return s;
}

// Local `hour`:`minute` on the day `days` before `now`.
DVTime daysBefore(std::time_t now, int days, int hour, int minute) {
    std::tm t{};
    ::localtime_r(&now, &t);
    t.tm_mday -= days;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = 0;
    t.tm_isdst = -1;
    return static_cast<DVTime>(std::mktime(&t));
}

struct SampleFill {
    int daysAgo, hour, minute;
    double odometer, gallons, price;
    bool partial;
    const char* station;
    const char* invoice;
    const char* note;
};

// About two weeks and 300 miles apart at close to 30 MPG; the partial fill's fuel is
// counted with the next full tank.
constexpr SampleFill kFills[] = {
    {124, 17, 42, 41262.4, 10.214, 3.299, false, "Main Street Gas", "", ""},
    {110, 8, 5, 41571.8, 10.487, 3.359, false, "Main Street Gas", "004817", ""},
    {96, 18, 20, 41889.1, 10.812, 3.419, false, "Highway 9 Travel Center", "", ""},
    {82, 12, 31, 42186.5, 10.036, 3.479, false, "", "", ""},
    {70, 16, 2, 42352.7, 4.500, 3.529, true, "Corner Fuel Stop", "", "Half tank before the long weekend"},
    {56, 9, 14, 42662.9, 11.642, 3.489, false, "Main Street Gas", "005230", ""},
    {42, 19, 48, 42983.6, 10.968, 3.449, false, "", "", ""},
    {28, 7, 55, 43284.0, 10.135, 3.399, false, "Highway 9 Travel Center", "TC-77120", ""},
    {14, 17, 10, 43577.5, 9.874, 3.329, false, "", "", ""},
    {4, 18, 36, 43895.2, 10.861, 3.289, false, "Corner Fuel Stop", "", ""},
};

std::unique_ptr<CDVItem> fill(const SampleFill& f, double previousOdometer, std::time_t now) {
    auto item = std::make_unique<CDVItem>();
    item->EntryType = CDVItem::Fuel;
    item->Entry = kFuelEntry;
    item->Date = daysBefore(now, f.daysAgo, f.hour, f.minute);
    item->Odometer = f.odometer;
    item->Measure = kGallons;
    item->Quantity = f.gallons;
    item->UnitPrice = f.price;
    item->Cost = f.gallons * f.price;
    item->PartialFill = f.partial ? 1 : 0;
    item->Station = f.station;
    item->Invoice = f.invoice;
    item->Note = f.note;
    if (previousOdometer > 0 && f.odometer > previousOdometer)
        item->FuelDistance = static_cast<std::int32_t>(f.odometer - previousOdometer);
    return item;
}

std::unique_ptr<CDVItem> repair(DVTime date, double odometer, const char* job, int icon, double cost,
                                const char* station, const char* invoice, const char* note) {
    auto item = std::make_unique<CDVItem>();
    item->EntryType = CDVItem::Repair;
    item->Icon = icon;
    item->Entry = job;
    item->Date = date;
    item->Odometer = odometer;
    item->Cost = cost;
    item->Station = station;
    item->Invoice = invoice;
    item->Note = note;
    return item;
}

std::unique_ptr<CDVItem> trip(DVTime depart, double odometer, const char* purpose, const char* destination,
                              const char* contact) {
    auto item = std::make_unique<CDVItem>();
    item->EntryType = CDVItem::Trip;
    item->Icon = kOpenTripIcon;
    item->Entry = kTripEntry;
    item->Date = depart;
    item->DepartTime = depart;
    item->Odometer = odometer;
    item->Purpose = purpose;
    item->Destination = destination;
    item->Contact = contact;
    return item;
}

void buildSampleLog(CVehicleLogDoc& doc, std::time_t now) {
    double previous = 0;
    for (const SampleFill& f : kFills) {
        doc.insert(fill(f, previous, now));
        previous = f.odometer;
    }
    doc.insert(repair(daysBefore(now, 88, 10, 30), 42010.6, kRepairJobs[0], kOilIcon, 44.95, "Lakeside Auto Care",
                      "R-10582", "Synthetic 0W-20 and a new filter"));
    doc.insert(repair(daysBefore(now, 35, 13, 15), 43120.3, "Replace wiper blades", kDefaultRepairIcon, 27.98,
                      "Parts Plus Auto", "", "Front pair"));

    auto finished =
        trip(daysBefore(now, 74, 8, 10), 42301.2, "Client meeting", "Riverside Office Park", "Dana Whitfield");
    finished->Icon = kFinishedTripIcon;
    finished->ArriveTime = daysBefore(now, 74, 8, 55);
    finished->EndOdometer = 42339.8;
    finished->Cost = 2.50;
    finished->Parking = 6.00;
    finished->UnitPrice = (finished->EndOdometer - finished->Odometer) * kCostPerMile;
    finished->Note = "Quarterly review";
    doc.insert(std::move(finished));

    doc.insert(trip(daysBefore(now, 2, 7, 40), 43951.8, "Site visit", "Harbor Warehouse", "Marcus Lee"));
}

std::string failure(const std::string& what, const std::string& path, const std::string& reason) {
    return "Odrivo could not set up " + what + ".\n" + path + ": " + reason + "\n" + kWhatToDo;
}

// A scratch folder beside the real files, so a file only appears once it is complete.
class StagingFolder {
public:
    explicit StagingFolder(const std::string& parent) {
        std::string pattern = parent + CFirstRunInstaller::kStagingPrefix + "XXXXXX";
        if (::mkdtemp(pattern.data()))
            m_path = pattern + "/";
        else
            m_error = std::strerror(errno);
    }
    ~StagingFolder() {
        if (!m_path.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(m_path, ec);
        }
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    const std::string& path() const { return m_path; }
    const std::string& error() const { return m_error; }

private:
    std::string m_path;
    std::string m_error;
};

// Moves a complete staged file into place unless a file of that name appeared meanwhile.
bool publish(const std::string& staged, const std::string& target, std::string& reason) {
    std::string bytes;
    if (odrivo::readWholeFile(staged, bytes, &reason) != odrivo::ReadStatus::Ok) {
        if (reason.empty())
            reason = "the prepared file went missing";
        return false;
    }
    if (odrivo::fileExists(target))
        return true;
    return odrivo::writeFileAtomically(target, bytes, &reason);
}

bool installLists(const std::string& configFolder, const std::string& staging, std::string& message) {
    const std::string target = configFolder + kListsFileName;
    if (odrivo::fileExists(target))
        return true;
    CProfileFile lists(staging + kListsFileName);
    for (std::size_t i = 0; i < std::size(kRepairJobs); ++i) {
        if (!lists.putText(kRepairList, kLineKey + std::to_string(i), kRepairJobs[i])) {
            message = failure("its pick lists", target, lists.lastError());
            return false;
        }
    }
    // The station pick list starts with the stations the sample log names, each once.
    std::vector<std::string> stations;
    for (const SampleFill& f : kFills)
        if (*f.station && std::find(stations.begin(), stations.end(), f.station) == stations.end())
            stations.emplace_back(f.station);
    for (std::size_t i = 0; i < stations.size(); ++i) {
        if (!lists.putText(CPickList::FuelStationList, kLineKey + std::to_string(i), stations[i])) {
            message = failure("its pick lists", target, lists.lastError());
            return false;
        }
    }
    std::string reason;
    if (!publish(lists.file(), target, reason)) {
        message = failure("its pick lists", target, reason);
        return false;
    }
    return true;
}

bool installRegistry(const std::string& configFolder, const std::string& staging, std::time_t now,
                     std::string& message) {
    const VehicleSettings vehicle = sampleVehicle(static_cast<std::time_t>(daysBefore(now, kSetupDaysAgo, 9, 0)));
    CVehicleRegistry staged(staging);
    CVehicleRegistry registry(configFolder);
    if (!staged.saveVehicle(vehicle, {vehicle.name}, now) ||
        !staged.writeDateRange(static_cast<std::time_t>(vehicle.setupDate), now)) {
        message = failure("its vehicle list", registry.path(), staged.lastError());
        return false;
    }
    std::string reason;
    if (!publish(staged.path(), registry.path(), reason)) {
        message = failure("its vehicle list", registry.path(), reason);
        return false;
    }
    return true;
}

bool installSampleLog(const std::string& dataFolder, std::time_t now, std::string& message) {
    const std::string path = CVehicleLogDoc::dataFilePath(dataFolder, kSampleVin);
    if (odrivo::fileExists(path))
        return true;
    CVehicleLogDoc doc;
    buildSampleLog(doc, now);
    const LogSaveResult saved = doc.save(path);
    if (!saved.saved) {
        message = "Odrivo could not set up the sample vehicle's log.\n" + saved.message + "\n" + kWhatToDo;
        return false;
    }
    return true;
}

} // namespace

bool CFirstRunInstaller::isFirstStart(const std::string& profilePath, const std::string& defaultConfigFolder) {
    std::error_code ec;
    if (std::filesystem::exists(profilePath, ec) || ec)
        return false;
    std::filesystem::directory_iterator it(defaultConfigFolder, ec);
    if (ec)
        return ec == std::errc::no_such_file_or_directory;
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        if (it->path().filename().string().rfind(kStagingPrefix, 0) != 0)
            return false;
    return !ec;
}

void CFirstRunInstaller::removeStagingLeftovers(const std::string& configFolder) {
    std::error_code ec;
    std::filesystem::directory_iterator it(configFolder, ec);
    std::vector<std::filesystem::path> leftovers;
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        if (it->path().filename().string().rfind(kStagingPrefix, 0) == 0)
            leftovers.push_back(it->path());
    for (const auto& path : leftovers)
        std::filesystem::remove_all(path, ec);
}

CFirstRunInstaller::Result CFirstRunInstaller::installIfNeeded(const std::string& configFolder,
                                                               const std::string& dataFolder, std::time_t now) {
    Result result;
    const CVehicleRegistry registry(configFolder);
    if (registry.exists())
        return result;

    std::string reason;
    for (const std::string& folder : {configFolder, dataFolder}) {
        if (!odrivo::ensureFolder(folder, &reason)) {
            result.message = failure("its folders", folder, reason);
            return result;
        }
    }
    // An installation cut short leaves its scratch folder behind; it holds nothing worth keeping.
    removeStagingLeftovers(configFolder);
    const StagingFolder staging(configFolder);
    if (staging.path().empty()) {
        result.message = failure("its settings", configFolder, staging.error());
        return result;
    }
    // The vehicle list goes last: until it exists, the next start tries again.
    if (!installSampleLog(dataFolder, now, result.message) ||
        !installLists(configFolder, staging.path(), result.message) ||
        !installRegistry(configFolder, staging.path(), now, result.message))
        return result;
    result.installed = true;
    return result;
}
