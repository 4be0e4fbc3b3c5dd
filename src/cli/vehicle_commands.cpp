#include "cli/vehicle_commands.h"

#include "calc/economy_calculator.h"
#include "cli/cli_vehicle.h"
#include "store/app_profile.h"
#include "store/folder_settings.h"
#include "store/vehicle_registry.h"

#include <ostream>
#include <strings.h>

int runVehicles(const std::string& profilePath, std::ostream& out, std::ostream& err) {
    const CAppProfile profile(profilePath);
    const CVehicleRegistry registry(FolderSettings::read(profile).config);
    if (!requireRegistry(registry, err))
        return 1;
    const std::string current = profile.getText(ProfileKeys::LastVehicle);
    bool marked = false;
    for (const std::string& name : registry.vehicleNames()) {
        const bool isCurrent = !marked && strcasecmp(name.c_str(), current.c_str()) == 0;
        marked = marked || isCurrent;
        out << (isCurrent ? "* " : "  ") << name << '\n';
    }
    return 0;
}

int runRecalc(const std::string& profilePath, const std::optional<std::string>& vehicle, std::ostream& out,
              std::ostream& err) {
    CliVehicle opened;
    if (!openCliVehicle(profilePath, vehicle, opened, err))
        return 1;
    if (opened.status == LogLoadStatus::Missing) {
        out << opened.name << " has no entries yet; there is nothing to recalculate.\n";
        return 0;
    }
    const VehicleSettings& s = opened.settings;
    CEconomyCalculator::recalculate(opened.session.doc(), {s.startOdometer, s.distanceUnit, s.economyUnit});
    const SessionResult saved = opened.session.saveAndReload();
    if (!saved.message.empty()) {
        err << "odrivo-cli: " << saved.message << '\n';
        return 1;
    }
    out << "Recalculated the fuel economy of " << opened.name << ": " << opened.session.doc().size() << " entries in "
        << opened.session.dataFilePath() << ".\n";
    return 0;
}
