#pragma once
// CVehicleInfoReport prints the vehicle's identity, its reminder intervals, its fuel economy
// and the performance watch's verdict on one page under the common page head.

#include "report/drawing_surface.h"
#include "report/report_facts.h"

class CVehicleInfoReport {
public:
    static constexpr const char* kLogLine = "Print Repair Report";

    // Prints one page on the surface, whose page the caller has started. The facts are only
    // read: a custom reminder without a name prints as "Undefined" but stays unnamed.
    static void run(CDrawingSurface& surface, const ReportFacts& facts);
};
