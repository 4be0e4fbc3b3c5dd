#include "report/selected_item_report.h"

#include "calc/entry_text.h"
#include "calc/units.h"
#include "report/report_frame.h"
#include "report/report_page.h"
#include "report/report_text.h"

#include <string>
#include <utility>
#include <vector>

using namespace reportflags;
using reporttext::fitBytes;
using reporttext::format;
using reporttext::leadingCharacters;

namespace {

using Lines = std::vector<std::pair<const char*, std::string>>;

Lines fuelLines(const CDVItem& item, const ReportFacts& facts) {
    const char* money = facts.currency.c_str();
    return {{"Date", facts.shortDate(item.Date)},
            {"Odometer", format("%7.0f ", item.Odometer)},
            {"Station", leadingCharacters(item.Station, 60)},
            {"Cell Temp.", format("%.d (only used on Hybrid Vehicles)", item.CellTemp)},
            {"Fuel Qty.", format("%4.3f %s", item.Quantity, fitBytes(item.Measure).c_str())},
            {"Fuel Price", format("%s%4.3f ", money, item.UnitPrice)},
            {"Fuel Cost", format("%s%4.2f ", money, item.Quantity * item.UnitPrice)},
            {"Distance", format("%7.0f %s", static_cast<double>(item.FuelDistance), "Since last fuel.")},
            {"Ecomomy", units::economyText(item.Economy, item.EconomyUnit)},
            {"Invoice", fitBytes(item.Invoice)},
            {"Note", leadingCharacters(item.Note, 60)}};
}

Lines repairLines(const CDVItem& item, const ReportFacts& facts) {
    return {{"Date", facts.shortDate(item.Date)},
            {"Facility", leadingCharacters(item.Station, 60)},
            {"Total Cost", format("%s%4.2f ", facts.currency.c_str(), item.Cost)},
            {"Invoice", fitBytes(item.Invoice)},
            {"Note", leadingCharacters(item.Note, 60)}};
}

Lines tripLines(const CDVItem& item, const ReportFacts& facts) {
    const char* money = facts.currency.c_str();
    const bool kilometres = facts.vehicle.distanceUnit == 1;
    const char* distance = kilometres ? "%7.0f Kilometers" : "%7.0f Miles";
    const double rate = facts.vehicle.costPerMile;
    const double claim = (item.EndOdometer - item.Odometer) * rate;
    const double total = item.Cost + item.Parking + (item.EndOdometer > item.Odometer ? claim : 0.0);
    auto when = [&](DVTime t) { return facts.shortDate(t) + " " + facts.timeOfDay(t); };
    return {{"Date", facts.shortDate(item.Date)},
            {"Contact", leadingCharacters(item.Contact, 60)},
            {"Destination", leadingCharacters(item.Destination, 60)},
            {"Purpose", leadingCharacters(item.Purpose, 60)},
            {"Start Odo.", format(distance, item.Odometer)},
            {"End Odo.", format(distance, item.EndOdometer)},
            {"Distance", format(distance, item.EndOdometer - item.Odometer)},
            {"Depart", when(item.DepartTime)},
            {"Arrive", when(item.ArriveTime)},
            {"Duration", CEntryText::durationText(item.DepartTime, item.ArriveTime)},
            {"Claim",
             format(kilometres ? "%s%4.2f @ %3.3f per Kilometer" : "%s%4.2f @ %3.3f per Mile", money, claim, rate)},
            {"Parking", format("%s%4.2f ", money, item.Parking)},
            {"Tolls / Exp.", format("%s%4.2f ", money, item.Cost)},
            {"Total", format("%s%5.2f ", money, total)},
            {"Note", leadingCharacters(item.Note, 60)}};
}

// The line above the table: which kind of entry this is.
const char* kindLine(const CDVItem& item) {
    switch (item.EntryType) {
    case CDVItem::Fuel:
        return "Fuel Purchase";
    case CDVItem::Repair:
        return "Repair / Maintenance";
    case CDVItem::Trip:
        return "Trip";
    default:
        return "Log Entry";
    }
}

} // namespace

void CSelectedItemReport::run(CDrawingSurface& surface, const ReportFacts& facts, const CDVItem& item) {
    CReportPage page(surface);
    const double rule = CReportFrame::drawHead(page, facts);
    const double below = page.printText(rule + 1.0, 0, kBold | kItalic, 24, "%s", kindLine(item));

    Lines lines;
    if (item.EntryType == CDVItem::Fuel)
        lines = fuelLines(item, facts);
    else if (item.EntryType == CDVItem::Trip)
        lines = tripLines(item, facts);
    else
        lines = repairLines(item, facts);

    TableDescription description;
    description.top = below + 0.2;
    description.left = 0;
    description.right = 7.9;
    description.bottom = 9.75; // the page foot
    description.columns = {{1.4, "Description"}, {6, "Data"}};
    if (CReportTable* table = page.createTable(description)) {
        table->drawHeadings();
        for (int row = 0; row < static_cast<int>(lines.size()); ++row) {
            page.printCell(*table, row, 0, 12, kBold, "%s", lines[row].first);
            page.printCell(*table, row, 1, 12, kBold, "%s", lines[row].second.c_str());
        }
    }
    CReportFrame::drawFoot(page, 1, 1);
}
