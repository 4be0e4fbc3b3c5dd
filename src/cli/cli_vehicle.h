#pragma once
// Opens a vehicle for a command the way the program does: folders and current vehicle
// from the per-user profile, the vehicle's settings from its registry, its log from its
// data file. Anything that stops the command is explained on `err`.

#include "store/log_session.h"
#include "store/vehicle_settings.h"

#include <iosfwd>
#include <optional>
#include <string>

struct CliVehicle {
    std::string name;
    VehicleSettings settings;
    CLogSession session;
    LogLoadStatus status = LogLoadStatus::Missing;
};

class CVehicleRegistry;

// False (with a message naming the file) when a settings file exists but cannot be read:
// a command must not carry on as if it held nothing.
bool requireReadable(const std::string& settingsPath, std::ostream& err);

// False (with a message saying how to get one) when the registry file does not exist or cannot be read.
bool requireRegistry(const CVehicleRegistry& registry, std::ostream& err);

// False (with a message) when there is no registry, no such vehicle, or a log that cannot be read.
bool openCliVehicle(const std::string& profilePath, const std::optional<std::string>& vehicle, CliVehicle& out,
                    std::ostream& err);
