#pragma once
// odrivo-cli import: reads a CSV file into a vehicle's log as the Import dialog does. The
// column map is one saved in the profile (by default the one named by "LastMap"); the
// dates follow the user's locale date order. The log is saved (atomically) only when the
// whole file was read; on any error the data file is left exactly as it was.

#include <iosfwd>
#include <optional>
#include <string>

struct ImportOptions {
    std::string csvPath;
    std::optional<std::string> vehicle;
    std::optional<std::string> map;
};

int runImport(const std::string& profilePath, const ImportOptions& options, std::ostream& out, std::ostream& err);
