#include "store/data_file_owner.h"

#include "store/vehicle_log_doc.h"
#include "store/vehicle_registry.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Two names of one file: the same inode when both exist, else the same normalised absolute path.
bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    if (fs::equivalent(a, b, error))
        return true;
    return fs::weakly_canonical(fs::absolute(a, error), error) == fs::weakly_canonical(fs::absolute(b, error), error);
}

} // namespace

CDataFileOwner::Result CDataFileOwner::find(const std::string& configFolder, const std::string& dataFolder,
                                            const std::string& file) {
    std::error_code error;
    // Messages name the file as a full path: a name relative to where the program was started
    // means little in a window.
    const std::string shown = fs::absolute(file, error).lexically_normal().string();
    if (!fs::is_regular_file(file, error))
        return {"", "The file " + shown + " does not exist or is not a file. Check its name and try again."};
    const CVehicleRegistry registry(configFolder);
    if (!registry.exists())
        return {"", "The file " + shown + " cannot be opened: the vehicle list " + registry.path() +
                        " does not exist. Create a vehicle first (File, New)."};
    for (const std::string& name : registry.vehicleNames()) {
        const std::string vin = registry.vin(name);
        // A VIN that would name a file outside the data folder names no data file at all.
        if (CVehicleLogDoc::vinPathProblem(vin).empty() &&
            sameFile(CVehicleLogDoc::dataFilePath(dataFolder, vin), file))
            return {name, ""};
    }
    return {"", "The file " + shown + " is not the data file of any vehicle. Odrivo keeps each vehicle's log in " +
                    dataFolder +
                    ", in a file named after the vehicle's VIN. To use this log, copy it there under the VIN of "
                    "its vehicle, or choose the data folder that holds it in Tools, Setup."};
}
