#pragma once
// CSelectedItemReport prints every field of one log entry as a two-column table of labels
// and values under the common page head, with a line naming the kind of entry above it.

#include "report/drawing_surface.h"
#include "report/report_facts.h"
#include "store/dv_item.h"

class CSelectedItemReport {
public:
    static constexpr const char* kNoSelectionMessage =
        "Sorry! You need to select an item in the list to be printed.\nAborting Print!";
    static constexpr const char* kLogLine = "Print Selected Item";

    // Prints one page for `item` on the surface, whose page the caller has started.
    static void run(CDrawingSurface& surface, const ReportFacts& facts, const CDVItem& item);
};
