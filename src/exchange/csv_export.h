#pragma once
// CCsvExport writes the entries a list shows, in the list's order, to a comma-separated
// file in the column layout of the list's view (0 fuel, 1 repairs, 2 trips, 3 any). The
// file is UTF-8 with a byte-order mark and CR LF line ends: the layout's header line, then
// one line per entry with every value in double quotes. Values are formatted as the list
// shows them (locale short date, fixed decimals) and cut where their column has a limit.

#include "calc/locale_info.h"
#include "store/dv_item.h"

#include <string>
#include <vector>

class CCsvExport {
public:
    // The header line of a view's layout, without its line end ("Any" for an unknown view).
    static std::string headerLine(int viewMode);
    // One entry's line in the layout of `viewMode`, without its line end.
    static std::string entryLine(const CDVItem& entry, int viewMode, const CLocaleInfo& locale);
    // The whole file: byte-order mark, header line and one line per row, each ended by CR LF.
    static std::string fileBytes(const std::vector<CDVItem*>& rows, int viewMode, const CLocaleInfo& locale);
    // Appends `value` as printf's "%<width>.<precision>f" writes it: fixed decimals, padded
    // on the left with spaces to `width`, never cut (precision up to 80).
    static void appendNumber(std::string& out, double value, int width, int precision);
    // Writes fileBytes() to `path` (written beside it, then renamed over it). False, with a
    // reason in `error`, when the file cannot be written; an older file is then left as it was.
    static bool writeFile(const std::string& path, const std::vector<CDVItem*>& rows, int viewMode,
                          const CLocaleInfo& locale, std::string* error = nullptr);
};
