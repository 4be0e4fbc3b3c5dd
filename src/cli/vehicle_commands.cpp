#include "cli/vehicle_commands.h"

#include "calc/economy_calculator.h"
#include "store/app_profile.h"
#include "store/folder_settings.h"
#include "store/log_session.h"
#include "store/vehicle_registry.h"
#include "store/vehicle_settings.h"

#include <algorithm>
#include <ctime>
#include <ostream>
#include <strings.h>
#include <vector>

namespace {

bool sameName(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// The registry of the profile's config folder, or nothing (with a message) when there is none.
std::optional<CVehicleRegistry> openRegistry(const FolderSettings& folders, std::ostream& err) {
    CVehicleRegistry registry(folders.config);
    if (!registry.exists()) {
        err << "odrivo-cli: there is no vehicle list " << registry.path()
            << ".\nStart Odrivo once to create it, or point --profile at the settings that name its folder.\n";
        return std::nullopt;
    }
    return registry;
}

} // namespace

int runVehicles(const std::string& profilePath, std::ostream& out, std::ostream& err) {
    const CAppProfile profile(profilePath);
    const auto registry = openRegistry(FolderSettings::read(profile), err);
    if (!registry)
        return 1;
    const std::string current = profile.getText(ProfileKeys::LastVehicle);
    bool marked = false;
    for (const std::string& name : registry->vehicleNames()) {
        const bool isCurrent = !marked && sameName(name, current);
        marked = marked || isCurrent;
        out << (isCurrent ? "* " : "  ") << name << '\n';
    }
    return 0;
}

int runRecalc(const std::string& profilePath, const std::optional<std::string>& vehicle, std::ostream& out,
              std::ostream& err) {
    const CAppProfile profile(profilePath);
    const FolderSettings folders = FolderSettings::read(profile);
    const auto registry = openRegistry(folders, err);
    if (!registry)
        return 1;
    const std::string name = vehicle.value_or(profile.getText(ProfileKeys::LastVehicle));
    const std::vector<std::string> names = registry->vehicleNames();
    if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return sameName(n, name); })) {
        err << "odrivo-cli: there is no vehicle \"" << name << "\" in " << registry->path()
            << ".\nRun \"odrivo-cli vehicles\" to see the vehicles.\n";
        return 1;
    }

    VehicleSettings settings;
    registry->loadVehicle(name, settings, std::time(nullptr), nullptr);
    CLogSession session;
    session.setDataFolder(folders.data);
    session.setVin(settings.vin);
    const LogLoadResult loaded = session.reload();
    if (!loaded.ok()) {
        err << "odrivo-cli: " << loaded.message << '\n';
        return 1;
    }
    if (loaded.status == LogLoadStatus::Missing) {
        out << name << " has no entries yet; there is nothing to recalculate.\n";
        return 0;
    }
    CEconomyCalculator::recalculate(session.doc(),
                                    {settings.startOdometer, settings.distanceUnit, settings.economyUnit});
    const SessionResult saved = session.saveAndReload();
    if (!saved.message.empty()) {
        err << "odrivo-cli: " << saved.message << '\n';
        return 1;
    }
    out << "Recalculated the fuel economy of " << name << ": " << session.doc().size() << " entries in "
        << session.dataFilePath() << ".\n";
    return 0;
}
