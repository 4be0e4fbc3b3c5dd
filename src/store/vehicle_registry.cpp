#include "store/vehicle_registry.h"

#include "store/activity_log.h"
#include "store/file_io.h"
#include "store/text_codec.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace {

// Fixed sections.
constexpr const char* kVehicleList = "VehicleList";
constexpr const char* kVehicleSlot = "Vehicle%d";
constexpr const char* kVersions = "Versions";
constexpr const char* kDesktop = "Desktop";
constexpr const char* kDaccess = "Daccess";
constexpr const char* kVersionText = "1.0.7 Build 237";
constexpr const char* kAccessFormat = "Last Access: %d-%d-%d";
constexpr const char* kTripSettings = "TripSettings";
constexpr const char* kDetailed = "Detailed";
constexpr const char* kCompanyName = "CompanyName";
constexpr const char* kHomeAddress = "HomeAddress";
constexpr const char* kUseContacts = "UseContacts";
constexpr const char* kSortListBy = "SortListBy";
constexpr const char* kYes = "Yes";
constexpr const char* kConfigSection = "Config";
constexpr const char* kFromDate = "FromDate";
constexpr const char* kToDate = "ToDate";

// Keys of a vehicle's section.
constexpr const char* kCompany = "Company";
constexpr const char* kVin = "VIN";
constexpr const char* kMake = "Make";
constexpr const char* kPlate = "Plate";
constexpr const char* kModel = "Model";
constexpr const char* kYear = "Year";
constexpr const char* kStartOdometer = "Start Odometer";
constexpr const char* kCustomName = "Custom%d";
constexpr const char* kCustomDays = "C%dDays";
constexpr const char* kCustomDistance = "C%dMiles";
constexpr const char* kCostPerMile = "CostPerMile";
constexpr const char* kSetupDate = "SetupDate";
constexpr const char* kDistance = "Distance";
constexpr const char* kEcono = "Econo";
constexpr const char* kLiquid = "Liquid";
constexpr const char* kLeadDays = "LeadDays";
constexpr const char* kLeadOdo = "LeadOdo";
constexpr const char* kLastMileage = "LastR%dMileage";
constexpr const char* kLastDate = "LastR%dDate";

// The fixed reminder intervals in the order the file is read and written.
struct IntervalKeys {
    const char* days;
    const char* distance;
    int VehicleSettings::*daysField;
    double VehicleSettings::*distanceField;
};
constexpr std::array<IntervalKeys, 5> kIntervals{{
    {"CoolDays", "CoolDistance", &VehicleSettings::coolDays, &VehicleSettings::coolDistance},
    {"OilDays", "OilDistance", &VehicleSettings::oilDays, &VehicleSettings::oilDistance},
    {"TransDays", "TransDistance", &VehicleSettings::transDays, &VehicleSettings::transDistance},
    {"TuneDays", "TuneDistance", &VehicleSettings::tuneDays, &VehicleSettings::tuneDistance},
    {"TireDays", "TireDistance", &VehicleSettings::tireDays, &VehicleSettings::tireDistance},
}};

// Unit words are written as the header lists them and read by looking for each in turn.
constexpr std::array<const char*, 3> kSortOrders{"Date", "Purpose", "Contact"};

std::string numbered(const char* format, int n) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, format, n);
    return buffer;
}

// The code of the last word of `words` that `text` contains; 0 when it contains none.
template <std::size_t N> int codeIn(const std::string& text, const std::array<const char*, N>& words) {
    int code = 0;
    for (std::size_t i = 0; i < N; ++i)
        if (text.find(words[i]) != std::string::npos)
            code = static_cast<int>(i);
    return code;
}

// A code outside the table is written as the default unit.
template <std::size_t N> const char* wordOf(int code, const std::array<const char*, N>& words) {
    return code >= 0 && static_cast<std::size_t>(code) < N ? words[static_cast<std::size_t>(code)] : words[0];
}

// A time read as a real; a value no clock can hold reads as 0 (no time).
DVTime timeOf(double value) {
    constexpr double kLimit = 1e15;
    return std::isfinite(value) && std::fabs(value) < kLimit ? static_cast<DVTime>(value) : 0;
}

// Reads one section, parsed once, with the defaults the file's readers use.
struct SectionReader {
    CProfileFile::Section section;

    std::string text(const std::string& key) const { return section.getText(key, ""); }
    int integer(const std::string& key) const { return section.getInt(key, 0); }
    double real(const std::string& key, double def = 0) const { return section.getReal(key, def); }
};

// Writes one key after another until a write fails; later writes are then skipped.
struct SectionWriter {
    CProfileFile& file;
    const std::string& section;
    bool ok = true;

    void text(const std::string& key, const std::string& value) {
        if (ok)
            ok = file.putText(section, key, value);
    }
    void integer(const std::string& key, long value) {
        if (ok)
            ok = file.putInt(section, key, value);
    }
    void real(const std::string& key, double value) {
        if (ok)
            ok = file.putReal(section, key, value);
    }
};

enum class SectionKeys { All, NewVehicle };

// Writes the vehicle's section in the order the handheld edition writes it. A new vehicle
// leaves out the company and the warning leads.
bool writeSection(CProfileFile& file, const VehicleSettings& s, SectionKeys which) {
    const bool all = which == SectionKeys::All;
    SectionWriter w{file, s.name};
    if (all)
        w.text(kCompany, s.company);
    w.text(kVin, s.vin);
    w.text(kMake, s.make);
    w.text(kPlate, s.plate);
    w.text(kModel, s.model);
    w.integer(kYear, s.year);
    w.real(kStartOdometer, s.startOdometer);
    for (const IntervalKeys& interval : kIntervals) {
        w.integer(interval.days, s.*interval.daysField);
        w.real(interval.distance, s.*interval.distanceField);
    }
    w.real(kCostPerMile, s.costPerMile);
    for (int i = 0; i < VehicleSettings::kCustomCount; ++i)
        w.text(numbered(kCustomName, i + 1), s.customNames[static_cast<std::size_t>(i)]);
    for (int i = 0; i < VehicleSettings::kCustomCount; ++i)
        w.integer(numbered(kCustomDays, i + 1), s.customDays[static_cast<std::size_t>(i)]);
    for (int i = 0; i < VehicleSettings::kCustomCount; ++i)
        w.real(numbered(kCustomDistance, i + 1), s.customDistance[static_cast<std::size_t>(i)]);
    w.real(kSetupDate, static_cast<double>(s.setupDate));
    w.text(kDistance, wordOf(s.distanceUnit, CVehicleRegistry::kDistanceUnits));
    w.text(kEcono, wordOf(s.economyUnit, CVehicleRegistry::kEconomyUnits));
    w.text(kLiquid, wordOf(s.liquid, CVehicleRegistry::kLiquidUnits));
    if (all) {
        w.real(kLeadDays, s.leadDays);
        w.real(kLeadOdo, s.leadOdo);
    }
    for (int i = 0; i < VehicleSettings::kReminderCount; ++i) {
        w.real(numbered(kLastMileage, i), s.lastMileage[static_cast<std::size_t>(i)]);
        w.real(numbered(kLastDate, i), s.lastDate[static_cast<std::size_t>(i)]);
    }
    return w.ok;
}

std::string accessText(std::time_t today) {
    std::tm local{};
    ::localtime_r(&today, &local);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, kAccessFormat, local.tm_mday, local.tm_mon + 1, local.tm_year + 1900);
    return buffer;
}

} // namespace

CVehicleRegistry::CVehicleRegistry(const std::string& configFolder) : m_file(configFolder + kFileName) {}

bool CVehicleRegistry::exists() const {
    return odrivo::fileExists(m_file.file());
}

std::vector<std::string> CVehicleRegistry::vehicleNames() const {
    const CProfileFile::Section list = m_file.section(kVehicleList);
    std::vector<std::string> names;
    for (int i = 0;; ++i) {
        std::string name = list.getText(numbered(kVehicleSlot, i), "");
        if (name.empty())
            return names;
        names.push_back(std::move(name));
    }
}

int CVehicleRegistry::selectionIndex(const std::vector<std::string>& names, const std::string& current) {
    const auto beginsWith = [&](const std::string& text) {
        if (text.size() < current.size())
            return false;
        for (std::size_t i = 0; i < current.size(); ++i)
            if (odrivo::asciiLower(text[i]) != odrivo::asciiLower(current[i]))
                return false;
        return true;
    };
    const std::size_t count = names.size();
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t index = (step + 1) % count;
        if (beginsWith(names[index]))
            return static_cast<int>(index);
    }
    return -1;
}

bool CVehicleRegistry::loadVehicle(const std::string& name, VehicleSettings& settings, std::time_t now,
                                   CActivityLog* log) const {
    std::string reason;
    switch (m_file.status(&reason)) {
    case odrivo::ReadStatus::Ok:
        break;
    case odrivo::ReadStatus::Missing:
        m_lastError = "the file does not exist";
        return false;
    case odrivo::ReadStatus::Failed:
        m_lastError = "cannot read the file: " + reason;
        return false;
    }

    VehicleSettings s;
    s.name = name;

    const SectionReader trip{m_file.section(kTripSettings)};
    s.detailedTrips = trip.text(kDetailed).find(kYes) != std::string::npos;
    s.tripCompanyName = trip.text(kCompanyName).find(kYes) != std::string::npos;
    s.tripHomeAddress = trip.text(kHomeAddress).find(kYes) != std::string::npos;
    s.tripUseContacts = trip.text(kUseContacts).find(kYes) != std::string::npos;
    s.tripSortOrder = codeIn(trip.text(kSortListBy), kSortOrders);

    const SectionReader r{m_file.section(name)};
    s.company = r.text(kCompany);
    s.vin = r.text(kVin);
    s.make = r.text(kMake);
    s.plate = r.text(kPlate);
    s.model = r.text(kModel);
    s.year = r.integer(kYear);
    s.startOdometer = r.real(kStartOdometer);
    for (const IntervalKeys& interval : kIntervals) {
        s.*interval.daysField = r.integer(interval.days);
        s.*interval.distanceField = r.real(interval.distance);
    }
    s.costPerMile = r.real(kCostPerMile);
    for (int i = 0; i < VehicleSettings::kCustomCount; ++i)
        s.customNames[static_cast<std::size_t>(i)] = r.text(numbered(kCustomName, i + 1));
    for (int i = 0; i < VehicleSettings::kCustomCount; ++i)
        s.customDays[static_cast<std::size_t>(i)] = r.integer(numbered(kCustomDays, i + 1));
    for (int i = 0; i < VehicleSettings::kCustomCount; ++i)
        s.customDistance[static_cast<std::size_t>(i)] = r.real(numbered(kCustomDistance, i + 1));
    s.setupDate = timeOf(r.real(kSetupDate));
    if (s.setupDate == 0)
        s.setupDate = static_cast<DVTime>(now);
    s.leadDays = r.real(kLeadDays);
    s.leadOdo = r.real(kLeadOdo);
    s.distanceUnit = codeIn(r.text(kDistance), CVehicleRegistry::kDistanceUnits);
    s.economyUnit = codeIn(r.text(kEcono), CVehicleRegistry::kEconomyUnits);
    s.liquid = codeIn(r.text(kLiquid), CVehicleRegistry::kLiquidUnits);
    for (int i = 0; i < VehicleSettings::kReminderCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        s.lastMileage[at] = r.real(numbered(kLastMileage, i), s.startOdometer);
        s.lastDate[at] = r.real(numbered(kLastDate, i), static_cast<double>(s.setupDate));
    }

    if (log) {
        log->write("Vehicle Selection");
        log->write("Company: " + s.company);
        log->write("VIN: " + s.vin);
        log->write("Make: " + s.make + "  Model: " + s.model + "  Year: " + std::to_string(s.year));
    }
    settings = std::move(s);
    return true;
}

bool CVehicleRegistry::saveVehicle(const VehicleSettings& settings, const std::vector<std::string>& selectorEntries,
                                   std::time_t today) {
    if (settings.name.empty()) {
        m_lastError = "the vehicle has no name";
        return false;
    }
    const bool written = m_file.batch([&] {
        for (std::size_t i = 0; i < selectorEntries.size(); ++i)
            if (!m_file.putText(kVehicleList, numbered(kVehicleSlot, static_cast<int>(i)), selectorEntries[i]))
                return false;
        return m_file.putText(kVersions, kDesktop, kVersionText) &&
               m_file.putText(kVersions, kDaccess, accessText(today)) &&
               writeSection(m_file, settings, SectionKeys::All);
    });
    return written || failed();
}

bool CVehicleRegistry::removeFromList(const std::string& name) {
    if (!exists()) {
        m_lastError = "the file " + path() + " does not exist";
        return false;
    }
    std::vector<std::pair<std::string, std::string>> entries;
    for (std::string& other : vehicleNames())
        if (other != name)
            entries.emplace_back(numbered(kVehicleSlot, static_cast<int>(entries.size())), std::move(other));
    if (m_file.replaceSection(kVehicleList, entries))
        return true;
    return failed();
}

bool CVehicleRegistry::writeNewVehicle(const VehicleSettings& settings, std::time_t now) {
    if (settings.name.empty()) {
        m_lastError = "the vehicle has no name";
        return false;
    }
    VehicleSettings fresh;
    fresh.name = settings.name;
    fresh.vin = settings.vin;
    fresh.make = settings.make;
    fresh.plate = settings.plate;
    fresh.model = settings.model;
    fresh.year = settings.year;
    fresh.startOdometer = settings.startOdometer;
    fresh.setupDate = static_cast<DVTime>(now);
    fresh.distanceUnit = settings.distanceUnit;
    fresh.economyUnit = settings.economyUnit;
    fresh.liquid = settings.liquid;
    fresh.lastMileage.fill(settings.startOdometer);
    fresh.lastDate.fill(static_cast<double>(now));
    const bool written = m_file.batch([&] {
        // The first absent or empty slot is the one that ends the list.
        const int slot = static_cast<int>(vehicleNames().size());
        return m_file.putText(kVehicleList, numbered(kVehicleSlot, slot), settings.name) &&
               writeSection(m_file, fresh, SectionKeys::NewVehicle);
    });
    return written || failed();
}

std::string CVehicleRegistry::vin(const std::string& vehicle) const {
    return m_file.getText(vehicle, kVin, "");
}

std::time_t CVehicleRegistry::fromDate(std::time_t now) const {
    return static_cast<std::time_t>(timeOf(m_file.getReal(kConfigSection, kFromDate, static_cast<double>(now))));
}

std::time_t CVehicleRegistry::toDate(std::time_t now) const {
    return static_cast<std::time_t>(timeOf(m_file.getReal(kConfigSection, kToDate, static_cast<double>(now))));
}

bool CVehicleRegistry::writeDateRange(std::time_t from, std::time_t to) {
    const bool written = m_file.batch([&] {
        return m_file.putReal(kConfigSection, kFromDate, static_cast<double>(from)) &&
               m_file.putReal(kConfigSection, kToDate, static_cast<double>(to));
    });
    return written || failed();
}

bool CVehicleRegistry::failed() const {
    m_lastError = m_file.lastError();
    return false;
}
