#pragma once
// The odrivo-cli command that shows and changes one vehicle's settings, the ones the setup
// pages edit: identity, units, claim rate, reminder intervals, custom reminders and leads.
// Each is named by its key in the vehicle's section of the vehicle list file, so what the
// command prints can be given back to it as KEY=VALUE. Changes are checked all together
// first and saved the way the setup dialog saves them, or refused with nothing written.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

struct VehicleSettingsOptions {
    std::optional<std::string> vehicle;
    std::vector<std::string> assignments; // KEY=VALUE, applied in order
};

int runVehicleSettings(const std::string& profilePath, const VehicleSettingsOptions& options, std::ostream& out,
                       std::ostream& err);
