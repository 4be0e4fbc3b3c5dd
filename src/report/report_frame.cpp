#include "report/report_frame.h"

#include "calc/entry_text.h"
#include "report/report_text.h"

using namespace reportflags;

double CReportFrame::drawHead(CReportPage& page, const ReportFacts& facts) {
    if (!page.printBitmap(logoPath(facts.configFolder), 0.5, 0.1, 1.5, 2.0) && !facts.ownLogoPath.empty())
        page.printBitmap(facts.ownLogoPath, 0.5, 0.1, 1.5, 2.0);
    const ColourRef previous = page.setTextColour(kBlue);
    page.printText(0.75, 2.2, kBold | kCentre, 24, "%s", reporttext::fitBytes(facts.vehicle.company).c_str());
    page.setTextColour(previous);
    return drawTitle(page, headingName(facts));
}

double CReportFrame::drawTitle(CReportPage& page, const std::string& title) {
    page.drawLine(1.6, 0, 1.6, kRuleRight, 3);
    const double row = page.printText(1.7, 0, kCentre, 24, "%s", title.c_str());
    page.drawLine(row, 0, row, kRuleRight, 3);
    return row;
}

void CReportFrame::drawFoot(CReportPage& page, int number, int count) {
    // A sheet too short for the foot (a landscape letter page) just goes without it.
    CReportRegion* foot = page.createRegion(9.75, 0, 10.25, kRuleRight, fillstyle::kNone);
    if (!foot)
        return;
    foot->drawFrame();
    page.printInRegion(*foot, 0, 0, kBold | kCentre, 10, "Page:%d of %d", number, count);
}

std::string CReportFrame::logoPath(const std::string& folder) {
    if (folder.empty() || folder.back() == '/')
        return folder + "Logo.bmp";
    return folder + "/Logo.bmp";
}

std::string CReportFrame::headingName(const ReportFacts& facts) {
    return reporttext::fitBytes(CEntryText::upperCase(facts.vehicleName));
}
