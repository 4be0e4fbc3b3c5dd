#include "store/vehicle_registry.h"

#include "store/file_io.h"

namespace {
constexpr const char* kConfigSection = "Config";
constexpr const char* kFromDate = "FromDate";
constexpr const char* kToDate = "ToDate";
constexpr const char* kVin = "VIN";
} // namespace

CVehicleRegistry::CVehicleRegistry(const std::string& configFolder) : m_file(configFolder + kFileName) {}

bool CVehicleRegistry::exists() const { return odrivo::fileExists(m_file.file()); }

std::string CVehicleRegistry::vin(const std::string& vehicle) const { return m_file.getText(vehicle, kVin, ""); }

std::time_t CVehicleRegistry::fromDate(std::time_t now) const {
    return static_cast<std::time_t>(m_file.getReal(kConfigSection, kFromDate, static_cast<double>(now)));
}

std::time_t CVehicleRegistry::toDate(std::time_t now) const {
    return static_cast<std::time_t>(m_file.getReal(kConfigSection, kToDate, static_cast<double>(now)));
}

bool CVehicleRegistry::writeDateRange(std::time_t from, std::time_t to) {
    const bool fromOk = m_file.putReal(kConfigSection, kFromDate, static_cast<double>(from));
    const bool toOk = m_file.putReal(kConfigSection, kToDate, static_cast<double>(to));
    return fromOk && toOk;
}
