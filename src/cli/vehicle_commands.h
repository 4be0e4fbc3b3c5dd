#pragma once
// The odrivo-cli commands that work on the vehicles of the registry: list them, and
// recalculate a vehicle's fuel economy. They find their files as the program does:
// the folders and the current vehicle come from the per-user profile.

#include <iosfwd>
#include <optional>
#include <string>

int runVehicles(const std::string& profilePath, std::ostream& out, std::ostream& err);
int runRecalc(const std::string& profilePath, const std::optional<std::string>& vehicle, std::ostream& out,
              std::ostream& err);
