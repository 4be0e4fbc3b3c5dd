#pragma once
// CReportFrame draws what the printed reports share: the page head with the logo, the
// owner's company and the vehicle's name between two rules, the title line between two
// rules, and the page foot with the page number. All reports lay out in the engine's text
// mode, one page object per printed page.

#include "report/report_facts.h"
#include "report/report_page.h"

#include <string>

class CReportFrame {
public:
    static constexpr ColourRef kBlue = colourRef(0, 0, 200);
    static constexpr double kRuleRight = 7.95;

    // Logo, company and the vehicle's name between two rules; returns the row of the second rule.
    static double drawHead(CReportPage& page, const ReportFacts& facts);
    // A 24-point centred line at 1.7 between a rule at 1.6 and one right under it; returns
    // the row of the second rule.
    static double drawTitle(CReportPage& page, const std::string& title);
    // The framed box across the page's foot with "Page:<number> of <count>" at its top.
    static void drawFoot(CReportPage& page, int number, int count);

    // "Logo.bmp" in the folder.
    static std::string logoPath(const std::string& folder);
    // The vehicle's name as the reports head it: upper case, cut to fit one engine call.
    static std::string headingName(const ReportFacts& facts);
};
