#pragma once
// odrivo-cli report: one of the three printed reports for the rows that `list` prints, as
// the window prints it. --layout prints every drawing call of the report as a line of text;
// --pdf writes a PDF file. Writing PDF needs the Qt drawing library, which the odrivo-cli
// program plugs in at start (setPdfWriter); without it --pdf is refused.

#include "cli/view_commands.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

class CDrawingSurface;

struct ReportOptions {
    std::string kind;         // view, item or vehicle
    std::optional<int> entry; // item: the row's position in the listed rows, from 1
    std::optional<std::string> pdf;
    bool layout = false;
};

// Writes the PDF that `layout` draws to `path`; the error text when it could not.
using PdfWriter = std::function<std::optional<std::string>(const std::string& path,
                                                           const std::function<bool(CDrawingSurface&)>& layout)>;
void setPdfWriter(PdfWriter writer);

int runReport(const std::string& profilePath, const ViewOptions& view, const ReportOptions& options, std::ostream& out,
              std::ostream& err);
