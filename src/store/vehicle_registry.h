#pragma once
// CVehicleRegistry is the vehicle list file "Drivana.ini" in the config folder: one
// section per vehicle (named by the vehicle) plus the fixed sections. It reads the
// values the main window needs and writes those it keeps there, through CProfileFile.

#include "store/profile_file.h"

#include <ctime>
#include <string>

class CVehicleRegistry {
public:
    static constexpr const char* kFileName = "Drivana.ini";

    explicit CVehicleRegistry(const std::string& configFolder);

    const std::string& path() const { return m_file.file(); }
    bool exists() const;

    // The VIN of the vehicle's section ("" when absent).
    std::string vin(const std::string& vehicle) const;

    // The main window's date range (Config FromDate / ToDate); `now` when absent.
    std::time_t fromDate(std::time_t now) const;
    std::time_t toDate(std::time_t now) const;
    // Writes both dates as real numbers. False, with lastError(), when the file cannot be written.
    bool writeDateRange(std::time_t from, std::time_t to);

    const std::string& lastError() const { return m_file.lastError(); }

private:
    CProfileFile m_file;
};
