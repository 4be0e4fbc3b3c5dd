#pragma once
// CVehicleRegistry is the vehicle list file "Drivana.ini" in the config folder: the
// VehicleList section naming the vehicles, one section per vehicle (named by the vehicle)
// holding its VehicleSettings, and the fixed Versions, TripSettings and Config sections.
// Loading reads a vehicle's section into VehicleSettings, filling absent keys with their
// defaults; saving writes the settings back key by key through CProfileFile (all keys in
// one write), so every line it does not write stays as the user or the handheld edition left it.

#include "store/profile_file.h"
#include "store/vehicle_settings.h"

#include <array>
#include <ctime>
#include <string>
#include <vector>

class CActivityLog;

class CVehicleRegistry {
public:
    static constexpr const char* kFileName = "Drivana.ini";
    // The unit words the file holds, indexed by the settings' unit codes.
    static constexpr std::array<const char*, 2> kDistanceUnits{"Mile", "Kilometer"};
    static constexpr std::array<const char*, 5> kEconomyUnits{"MPG", "MPL", "L/100km", "MPiG", "KPL"};
    static constexpr std::array<const char*, 3> kLiquidUnits{"US", "Imp", "Litre"};

    // The config folder's path ends with a separator.
    explicit CVehicleRegistry(const std::string& configFolder);

    const std::string& path() const { return m_file.file(); }
    bool exists() const;

    // The names of VehicleList Vehicle0, Vehicle1, ... up to the first absent or empty one.
    std::vector<std::string> vehicleNames() const;
    // Where the selector shows `current`: the first name that begins with it, without regard
    // to case, searching from the second name to the last and then the first. -1 when none.
    static int selectionIndex(const std::vector<std::string>& names, const std::string& current);

    // Reads the trip options and the vehicle's section into `settings` (absent keys read as
    // their defaults; a name without a section reads all defaults) and, when `log` is given,
    // logs the vehicle's identity. False, with `settings` untouched, when the file is missing
    // or cannot be read (lastError() says which).
    bool loadVehicle(const std::string& name, VehicleSettings& settings, std::time_t now, CActivityLog* log) const;

    // Writes the selector's names as Vehicle0.. (later keys stay), the program version and
    // the access date of `today`, then every key of the section named settings.name, all in
    // one write. When a key cannot be written, nothing is, and lastError() says why.
    bool saveVehicle(const VehicleSettings& settings, const std::vector<std::string>& selectorEntries,
                     std::time_t today);

    // A new vehicle: its name goes to the first absent or empty VehicleList slot and its
    // section gets identity and units from `settings`, no reminder intervals, set up `now`.
    // Company and the warning leads are not written.
    bool writeNewVehicle(const VehicleSettings& settings, std::time_t now);

    // Takes every entry named `name` out of the vehicle list and writes the other names (up
    // to the first gap) back as Vehicle0, Vehicle1, ... with no gap, in one write. The
    // vehicle's own section stays. False, with lastError(), when the file cannot be written.
    bool removeFromList(const std::string& name);

    // The VIN of the vehicle's section ("" when absent).
    std::string vin(const std::string& vehicle) const;

    // The main window's date range (Config FromDate / ToDate); `now` when absent.
    std::time_t fromDate(std::time_t now) const;
    std::time_t toDate(std::time_t now) const;
    // Writes both dates as real numbers in one write. False, with lastError(), when the file cannot be written.
    bool writeDateRange(std::time_t from, std::time_t to);

    // Why the last failed operation failed, in plain words.
    const std::string& lastError() const { return m_lastError; }

private:
    bool failed() const;

    CProfileFile m_file;
    // Set by the const loadVehicle too.
    mutable std::string m_lastError;
};
