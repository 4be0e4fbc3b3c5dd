#include "report/vehicle_info_report.h"

#include "calc/units.h"
#include "report/report_frame.h"
#include "report/report_page.h"
#include "report/report_text.h"

#include <string>

using namespace reportflags;
using reporttext::fitBytes;

void CVehicleInfoReport::run(CDrawingSurface& surface, const ReportFacts& facts) {
    CReportPage page(surface);
    CReportFrame::drawHead(page, facts);
    const VehicleSettings& vehicle = facts.vehicle;

    if (CReportRegion* box = page.createRegion(2.5, 0, 8.5, 7.98, fillstyle::kNone)) {
        box->drawFrame();
        box->drawTitle("Vehicle Information", 14, kBold | kFill | kCentre, fillstyle::kLightGray);
        page.setLineSpacing(1.0);
        double row =
            page.printInRegion(*box, 0.2, 0.01, kBold | kSingleLine, 14, "VIN:  %s", fitBytes(vehicle.vin).c_str());
        row = page.printInRegion(*box, row, 0.01, kSingleLine, 12, "Last Odometer:  %7.0f", facts.lastOdometer);
        row = page.printInRegion(*box, row, 0.01, kSingleLine, 12, "Plate (tag) #:  %s  ",
                                 fitBytes(vehicle.plate).c_str());
        row = page.printInRegion(*box, row, 0.01, kSingleLine, 12, "%d %s  %s ", vehicle.year,
                                 fitBytes(vehicle.make).c_str(), fitBytes(vehicle.model).c_str());
        row = page.printInRegion(*box, row, 0.01, kSingleLine, 12, "Report Date:  %s %s", facts.printDate.c_str(),
                                 facts.printTime.c_str());

        row = page.printInRegion(*box, row, 0.01, kBold, 14, " ");
        row = page.printInRegion(*box, row, 0.01, kSingleLine, 12, "REMINDERS:  ");
        const char* unit = vehicle.distanceUnit == units::kKilometres ? "Kilometers" : "Miles";
        auto reminder = [&](const std::string& name, double distance, int days) {
            row = page.printInRegion(*box, row, 0.01, kExpandTabs | kSingleLine, 12, "%s:\t%-7.0f %s \t%-4d days ",
                                     name.c_str(), distance, unit, days);
        };
        reminder("Oil Change", vehicle.oilDistance, vehicle.oilDays);
        reminder("Coolant Flush", vehicle.coolDistance, vehicle.coolDays);
        reminder("Rotate Tires", vehicle.tireDistance, vehicle.tireDays);
        reminder("Transmission", vehicle.transDistance, vehicle.transDays);
        reminder("Tune Up", vehicle.tuneDistance, vehicle.tuneDays);
        for (int i = 0; i < VehicleSettings::kCustomCount; ++i) {
            const std::string& name = vehicle.customNames[i];
            reminder(reporttext::leadingCharacters(name.empty() ? "Undefined" : name, 19), vehicle.customDistance[i],
                     vehicle.customDays[i]);
        }

        const char* economyUnit = units::economyUnitName(vehicle.economyUnit);
        row = page.printInRegion(*box, row, 0.01, kSingleLine, 12, " ");
        row = page.printInRegion(*box, row, 0.01, kSingleLine, 12, "FUEL ECONOMY:  ");
        row = page.printInRegion(*box, row, 0.01, kSingleLine, 12, "Current Fuel Economy for this vehicle is %3.2f %s",
                                 facts.currentEconomy, economyUnit);
        row = page.printInRegion(*box, row, 0.01, kSingleLine, 12, "Average Fuel Economy for this vehicle is %3.2f %s",
                                 facts.averageEconomy, economyUnit);

        row = page.printInRegion(*box, row, 0.01, kBold, 14, " ");
        row = page.printInRegion(*box, row, 0.01, 0, 12, "PERFORMANCE:  ");
        row = page.printInRegion(*box, row, 0.01, 0, 12, "%s", fitBytes(facts.performanceText).c_str());
        page.printInRegion(*box, row, 0.01, kBold, 14, " ");
    }
    page.printText(7.0, 0, kCentre, 14, " ");
    CReportFrame::drawFoot(page, 1, 1);
}
