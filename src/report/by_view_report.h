#pragma once
// CByViewReport prints the rows of the entry list, in list order, as a table whose columns
// follow the view mode, under a head with the vehicle's details and figures that suit the
// view. The first page holds kFirstPageRows rows under that head; each further page holds
// kLaterPageRows under the table's headings alone. Every page ends with a dark-blue line
// under its rows ("Continued..." or, after the last row, the total), the page number and a
// note that the list's filters chose the rows.

#include "report/drawing_surface.h"
#include "report/report_facts.h"
#include "store/dv_item.h"

#include <vector>

class CByViewReport {
public:
    static constexpr const char* kEmptyListMessage = "Sorry! Nothing in list to print.\nAborting Print!";
    static constexpr const char* kLogLine = "Print selection 3";
    static constexpr int kFirstPageRows = 32;
    // 44 rows would push the total line and the note into the page foot.
    static constexpr int kLaterPageRows = 43;

    // The pages `rows` list rows take (at least 1).
    static int pageCount(int rows);

    // Prints `rows` for `viewMode` (0 fuel, 1 repairs, 2 trips, 3 any; any other value
    // prints as 3) on the surface, whose first page the caller has started; further pages
    // are started here. False when there is nothing to print (a line saying so is drawn)
    // or the device refused a new page: the caller then aborts the document.
    static bool run(CDrawingSurface& surface, const ReportFacts& facts, const std::vector<const CDVItem*>& rows,
                    int viewMode);
};
