#include "cli/cli_vehicle.h"

#include "store/app_profile.h"
#include "store/file_io.h"
#include "store/folder_settings.h"
#include "store/vehicle_registry.h"

#include <algorithm>
#include <ctime>
#include <ostream>
#include <strings.h>

bool requireReadable(const std::string& settingsPath, std::ostream& err) {
    std::string bytes;
    std::string reason;
    if (odrivo::readWholeFile(settingsPath, bytes, &reason) != odrivo::ReadStatus::Failed)
        return true;
    err << "odrivo-cli: cannot read the settings file " << settingsPath << ": " << reason
        << ".\nCheck that it is a file you may read, then run the command again. Nothing was changed.\n";
    return false;
}

bool requireRegistry(const CVehicleRegistry& registry, std::ostream& err) {
    if (!requireReadable(registry.path(), err))
        return false;
    if (registry.exists())
        return true;
    err << "odrivo-cli: there is no vehicle list " << registry.path()
        << ".\nStart Odrivo once to create it, or point --profile at the settings that name its folder.\n";
    return false;
}

bool openCliVehicle(const std::string& profilePath, const std::optional<std::string>& vehicle, CliVehicle& out,
                    std::ostream& err) {
    const CAppProfile profile(profilePath);
    const FolderSettings folders = FolderSettings::read(profile);
    const CVehicleRegistry registry(folders.config);
    if (!requireRegistry(registry, err))
        return false;
    out.name = vehicle.value_or(profile.getText(ProfileKeys::LastVehicle));
    const std::vector<std::string> names = registry.vehicleNames();
    if (std::none_of(names.begin(), names.end(),
                     [&](const std::string& n) { return strcasecmp(n.c_str(), out.name.c_str()) == 0; })) {
        err << "odrivo-cli: there is no vehicle \"" << out.name << "\" in " << registry.path()
            << ".\nRun \"odrivo-cli vehicles\" to see the vehicles.\n";
        return false;
    }
    registry.loadVehicle(out.name, out.settings, std::time(nullptr), nullptr);
    out.session.setDataFolder(folders.data);
    out.session.setVin(out.settings.vin);
    const LogLoadResult loaded = out.session.reload();
    out.status = loaded.status;
    if (!loaded.ok()) {
        err << "odrivo-cli: " << loaded.message << '\n';
        if (loaded.status == LogLoadStatus::CannotCreate)
            err << "The data folder " << folders.data
                << " does not exist or cannot be written; create it or correct the data folder in " << profilePath
                << ".\n";
        return false;
    }
    return true;
}
