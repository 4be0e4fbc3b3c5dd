#include "cli/import_commands.h"

#include "calc/locale_info.h"
#include "cli/cli_vehicle.h"
#include "exchange/column_map.h"
#include "exchange/csv_import.h"
#include "exchange/heading_matcher.h"
#include "store/app_profile.h"

#include <ctime>
#include <filesystem>
#include <ostream>

namespace {

// The map as the user checks it: each mapped field with its heading, and the fixed kind.
void printMap(std::ostream& out, const std::string& name, const CColumnMap& map, const CsvHeadings& headings) {
    out << "Map \"" << name << "\":\n";
    for (int slot = 0; slot < CColumnMap::kFieldCount; ++slot) {
        const int column = map.column(slot);
        if (column >= 0 && column < static_cast<int>(headings.columns.size()))
            out << "  " << CColumnMap::fieldNames()[static_cast<std::size_t>(slot)] << " <- \""
                << headings.columns[static_cast<std::size_t>(column)] << "\"\n";
    }
    if (!map.isMapped(CColumnMap::EntryType) && !map.fixedEntry().empty())
        out << "  EntryType = \"" << map.fixedEntry() << "\" on every line\n";
}

} // namespace

int runImport(const std::string& profilePath, const ImportOptions& options, std::ostream& out, std::ostream& err) {
    CliVehicle opened;
    // Refuses a data file that exists but cannot be read, so it is never replaced.
    if (!openCliVehicle(profilePath, options.vehicle, opened, err))
        return 1;

    CAppProfile profile(profilePath);
    const CsvHeadings headings = CCsvImport::readHeadings(options.csvPath);
    if (!headings.ok) {
        err << "odrivo-cli: " << headings.message << "\n(" << options.csvPath
            << "). Check the file's name and that it is a CSV file with a heading line.\n";
        return 1;
    }

    std::string mapName;
    CColumnMap map;
    if (options.autoMap) {
        // Named after the file, as the Import dialog names a proposed map.
        mapName = options.map.value_or(std::filesystem::path(options.csvPath).stem().string());
        map = CHeadingMatcher::proposedMap(headings.columns);
    } else {
        mapName = options.map.value_or(profile.getText(ProfileKeys::LastMap));
        map.load(profile, mapName);
    }
    if (options.type)
        map.setFixedEntry(*options.type == "fuel" ? "Fuel" : *options.type == "trip" ? "Trip" : "Repair");
    if (map.isMapped(CColumnMap::Odometer) && !map.isMapped(CColumnMap::EntryType) && map.fixedEntry().empty()) {
        err << "odrivo-cli: the map \"" << mapName
            << "\" has no EntryType column, so no line says what it is.\nSay it with --type fuel, --type repair "
               "or --type trip. Nothing was imported; "
            << opened.session.dataFilePath() << " is unchanged.\n";
        return 1;
    }
    if (options.autoMap)
        printMap(out, mapName, map, headings);

    const CsvDateStyle dateStyle = CCsvImport::dateStyleFrom(CLibcLocale().dateFormat());
    CCsvImport import(map, opened.settings, dateStyle, static_cast<DVTime>(std::time(nullptr)));
    import.setNumberStyle(CCsvImport::localeNumberStyle());
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
    // A proposed map is listed with the saved ones, so the Import dialog offers it next time
    // (a profile that cannot be written fails the save just below, which says so).
    if (options.autoMap)
        CColumnMap::addName(profile, mapName);
    if (!CCsvImport::rememberImport(profile, map, mapName, options.csvPath, &error)) {
        err << "odrivo-cli: the entries were imported and saved, but " << error
            << "\nCheck that the profile can be written; the map and file name are not remembered.\n";
        return 1;
    }
    return 0;
}
