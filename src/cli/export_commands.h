#pragma once
// odrivo-cli export: the rows that `list` prints for the same options, written with
// CCsvExport in the column layout of the chosen view. The file name follows the export
// dialog's rules (CExportName): refused names write nothing, ".csv" is added when missing.

#include "cli/view_commands.h"

#include <iosfwd>
#include <string>

int runExport(const std::string& profilePath, const ViewOptions& options, const std::string& outPath, std::ostream& out,
              std::ostream& err);
