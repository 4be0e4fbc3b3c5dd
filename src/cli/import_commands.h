#pragma once
// odrivo-cli import: reads a CSV file into a vehicle's log as the Import dialog does. The
// column map is one saved in the profile (by default the one named by "LastMap"), or with
// --auto-map the one the file's headings propose, printed before the import and saved under
// --map or the file's name without its extension. --type says what the lines are when the
// map has no EntryType column. The dates follow the user's locale date order (ISO dates are read in any), the
// numbers its decimal point and thousands separator. The log is saved (atomically) only
// when the whole file was read; on any error the data file is left exactly as it was.

#include <iosfwd>
#include <optional>
#include <string>

struct ImportOptions {
    std::string csvPath;
    std::optional<std::string> vehicle;
    std::optional<std::string> map;
    std::optional<std::string> type; // "fuel", "repair" or "trip"
    bool autoMap = false;
};

int runImport(const std::string& profilePath, const ImportOptions& options, std::ostream& out, std::ostream& err);
