#include "cli/import_commands.h"

#include "calc/locale_info.h"
#include "cli/cli_vehicle.h"
#include "exchange/column_map.h"
#include "exchange/csv_import.h"
#include "store/app_profile.h"

#include <ctime>
#include <ostream>

int runImport(const std::string& profilePath, const ImportOptions& options, std::ostream& out, std::ostream& err) {
    CliVehicle opened;
    // Refuses a data file that exists but cannot be read, so it is never replaced.
    if (!openCliVehicle(profilePath, options.vehicle, opened, err))
        return 1;

    CAppProfile profile(profilePath);
    const std::string mapName = options.map.value_or(profile.getText(ProfileKeys::LastMap));
    CColumnMap map;
    map.load(profile, mapName);

    const CsvHeadings headings = CCsvImport::readHeadings(options.csvPath);
    if (!headings.ok) {
        err << "odrivo-cli: " << headings.message << "\n(" << options.csvPath
            << "). Check the file's name and that it is a CSV file with a heading line.\n";
        return 1;
    }

    const CsvDateStyle dateStyle = CCsvImport::dateStyleFrom(CLibcLocale().dateFormat());
    const CCsvImport import(map, opened.settings, dateStyle, static_cast<DVTime>(std::time(nullptr)));
    const CsvImportResult result = import.run(options.csvPath, headings.dataStart, opened.session.doc());
    if (!result.ok()) {
        err << "odrivo-cli: " << result.message << '\n';
        if (result.status == CsvImportStatus::OdometerNotMapped)
            err << "The map \"" << mapName
                << "\" has no Odometer column. Save a map in Odrivo's Import dialog, or name one with --map.\n";
        else if (result.status == CsvImportStatus::CannotOpen)
            err << "(" << options.csvPath << ")\n";
        err << "Nothing was imported; " << opened.session.dataFilePath() << " is unchanged.\n";
        return 1;
    }

    const LogSaveResult saved = opened.session.save();
    if (!saved.saved) {
        err << "odrivo-cli: " << saved.message << '\n';
        return 1;
    }
    out << result.message << '\n';
    std::string error;
    if (!CCsvImport::rememberImport(profile, map, mapName, options.csvPath, &error)) {
        err << "odrivo-cli: the entries were imported and saved, but " << error
            << "\nCheck that the profile can be written; the map and file name are not remembered.\n";
        return 1;
    }
    return 0;
}
