#include "report/by_view_report.h"

#include "report/report_frame.h"
#include "report/report_page.h"
#include "report/report_text.h"

#include <string>

using namespace reportflags;
using reporttext::format;
using reporttext::leadingCharacters;

namespace {

enum ViewMode { kFuel = 0, kRepairs = 1, kTrips = 2, kAny = 3 };

constexpr ColourRef kDarkBlue = colourRef(0, 0, 125);
constexpr int kTablePointSize = CReportTable::kDefaultPointSize;
constexpr double kTableRight = 7.9;
constexpr const char* kNote = "Not all entries may be printed due to view and filter selections.  To print ALL "
                              "entries, select ALL in the list view options.";

struct Cell {
    std::string text;
    bool number = false; // right-aligned
};

// One list row's cells and what it adds to the running total.
struct Row {
    std::vector<Cell> cells;
    double added = 0;
};

std::vector<ColumnDescription> columnsOf(int mode, bool laterPage) {
    std::vector<ColumnDescription> columns;
    switch (mode) {
    case kFuel:
        columns = {{0.68, "Date"},   {0.68, "Odo."}, {2.38, "Station"}, {0.5, "Temp"},
                   {1.5, "Invoice"}, {0.75, "Qty"},  {0.75, "Cost"},    {0.75, "Ext Cost"}};
        break;
    case kRepairs:
        columns = {{0.75, "Date"}, {0.68, "Odo."}, {1.5, "Repair"}, {1.5, "Facility"},
                   {1, "Invoice"}, {1.75, "Note"}, {0.75, "Cost"}};
        break;
    case kTrips:
        columns = {{0.75, "Date"},
                   {0.68, "Start"},
                   {0.68, "End"},
                   {1.25, "Contact"},
                   {1.25, "Dest."},
                   {1.25, "Purpose"},
                   {0.68, laterPage ? "Park" : "Exp."},
                   {0.68, laterPage ? "Exp." : "Tolls"},
                   {0.75, "Claim"}};
        break;
    default:
        columns = {{0.75, "Date"}, {0.68, "Odo."}, {1.5, "Entry"}, {1.5, "Location"}, {2.75, "Note"}, {0.75, "Cost"}};
        break;
    }
    columns.back().fillStyle = fillstyle::kLightGray;
    return columns;
}

double claimOf(const CDVItem& item, const ReportFacts& facts) {
    return (item.EndOdometer - item.Odometer) * facts.vehicle.costPerMile;
}

Row rowOf(const CDVItem& item, int mode, const ReportFacts& facts) {
    const char* money = facts.currency.c_str();
    const std::string date = facts.shortDate(item.Date);
    Row row;
    switch (mode) {
    case kFuel: {
        const double cost = item.Quantity * item.UnitPrice;
        row.cells = {{date},
                     {format("%7.0f ", item.Odometer), true},
                     {leadingCharacters(item.Station, 24)},
                     {format("%3d ", item.CellTemp), true},
                     {reporttext::padLeft(reporttext::fitBytes(item.Invoice), 18)},
                     {format("%3.3f ", item.Quantity), true},
                     {format("%s%3.3f ", money, item.UnitPrice), true},
                     {format("%s%3.2f ", money, cost), true}};
        row.added = cost;
        break;
    }
    case kRepairs:
        row.cells = {{date},
                     {format("%7.0f", item.Odometer), true},
                     {leadingCharacters(item.Entry, 24)},
                     {leadingCharacters(item.Station, 29)},
                     {leadingCharacters(item.Invoice, 18)},
                     {reporttext::shortened(item.Note, 28)},
                     {format("%s%6.2f ", money, item.Cost), true}};
        row.added = item.Cost;
        break;
    case kTrips: {
        const double claim = claimOf(item, facts);
        row.cells = {{date},
                     {format("%7.0f", item.Odometer), true},
                     {format("%7.0f", item.EndOdometer), true},
                     {leadingCharacters(item.Contact, 20)},
                     {leadingCharacters(item.Destination, 20)},
                     {leadingCharacters(item.Purpose, 20)},
                     {format("%s%3.2f ", money, item.Cost), true},
                     {format("%s%4.2f ", money, item.Parking), true},
                     {format("%s%4.2f ", money, item.Cost), true}};
        row.added = claim + item.Parking + item.Cost;
        break;
    }
    default: {
        const bool trip = item.EntryType == CDVItem::Trip;
        row.cells = {{date},
                     {format("%7.0f", item.Odometer), true},
                     {leadingCharacters(item.Entry, 20)},
                     {leadingCharacters(trip ? item.Destination : item.Station, 29)}};
        if (trip) {
            row.cells.push_back(
                {"Cont.:" + leadingCharacters(item.Contact, 20) + " Purpose:" + leadingCharacters(item.Purpose, 20)});
            // A trip's claim is shown for reference only; it is not a cost paid.
            row.cells.push_back({format("[%s%6.2f]", money, claimOf(item, facts) + item.Parking + item.Cost), true});
        } else {
            row.added = item.EntryType == CDVItem::Fuel ? item.Quantity * item.UnitPrice : item.Cost;
            row.cells.push_back({reporttext::shortened(item.Note, 58)});
            row.cells.push_back({format("%s%6.2f ", money, row.added), true});
        }
        break;
    }
    }
    return row;
}

// The vehicle's details, the view's figures and the report's title; returns the row under them.
double drawFirstHead(CReportPage& page, const ReportFacts& facts, int mode) {
    const ColourRef previous = page.setTextColour(CReportFrame::kBlue);
    page.printText(0, 0, kBold | kCentre, 24, "%s", CReportFrame::headingName(facts).c_str());
    page.setTextColour(previous);

    const VehicleSettings& vehicle = facts.vehicle;
    if (CReportRegion* box = page.createRegion(0.5, 0, 1.5, 3.9, fillstyle::kNone)) {
        box->drawFrame();
        box->drawTitle("Vehicle Information", 10, kBold | kFill | kCentre, fillstyle::kLightGray);
        page.setLineSpacing(1.0);
        double row = page.printInRegion(*box, 0, 0.01, kBold | kSingleLine, 12, "VIN:  %s",
                                        reporttext::fitBytes(vehicle.vin).c_str());
        row = page.printInRegion(*box, row, 0.01, kSingleLine, 9, "Last Odometer:  %7.0f", facts.lastOdometer);
        row = page.printInRegion(*box, row, 0.01, kSingleLine, 9, "Plate #:  %s  Year:  %d  ",
                                 reporttext::fitBytes(vehicle.plate).c_str(), vehicle.year);
        row =
            page.printInRegion(*box, row, 0.01, kSingleLine, 9, "Make:  %s  Model:  %s  ",
                               reporttext::fitBytes(vehicle.make).c_str(), reporttext::fitBytes(vehicle.model).c_str());
        page.printInRegion(*box, row, 0.01, kSingleLine, 9, "Report Date:  %s %s", facts.printDate.c_str(),
                           facts.printTime.c_str());
    }

    static const char* const kBoxTitles[] = {"Fuel Economy", "Maintenance Reminders", "Trip Statistics", "Notes"};
    if (CReportRegion* box = page.createRegion(0.5, 4, 1.5, 7.9, fillstyle::kLightGray)) {
        box->drawFrame();
        box->drawTitle(kBoxTitles[mode], 10, kBold | kFill | kCentre, fillstyle::kBlack);
        double row = 0;
        auto line = [&](const std::string& text) {
            row = page.printInRegion(*box, row, 0.01, kSingleLine, 9, "%s", text.c_str());
        };
        if (mode == kFuel) {
            line(format("Current Odometer:  %7.0f", facts.lastOdometer));
            line(format("Current Fuel Economy:  %3.2f", facts.currentEconomy));
            line(format("Average Fuel Economy:  %3.2f", facts.averageEconomy));
            line(format("Total Fuel Entries:  %d", facts.fuelEntries));
        } else if (mode == kRepairs) {
            line(format("%.20s:  %7.0f", "Last Oil Change", facts.lastOilChange));
            line(format("%.20s:  %7.0f", "Last Tune-Up", facts.lastTuneUp));
            line(format("%.20s:  %7.0f", "Last Tire Rotation", facts.lastTireRotation));
            line(format("%.20s:  %7.0f", "Last Coolant Flush", facts.lastCoolantFlush));
            line(format("%.20s:  %7.0f", "Last Trans. Service", facts.lastTransService));
        } else if (mode == kAny) {
            line(format("%.20s:  %7.0f %.20s:  %7.0f ", "Last Oil Change", facts.lastOilChange, "Last Tune-Up",
                        facts.lastTuneUp));
            line(format("%.20s:  %7.0f %.20s:  %7.0f", "Last Tire Rotation", facts.lastTireRotation,
                        "Last Coolant Flush", facts.lastCoolantFlush));
            line(format("%.20s:  %7.0f Current Fuel Economy:  %3.2f", "Last Trans. Service ", facts.lastTransService,
                        facts.currentEconomy));
            line(format("Average Fuel Economy:  %3.2f Total Fuel Entries:  %d", facts.averageEconomy,
                        facts.fuelEntries));
        }
    }

    static const char* const kTitles[] = {"FUEL REPORT", "MAINTENANCE REPORT", "TRIP REPORT", "VEHICLE REPORT"};
    return CReportFrame::drawTitle(page, kTitles[mode]);
}

// A table under `top` with room for its headings, `capacity` rows and the closing line.
CReportTable* createTable(CReportPage& page, int mode, bool laterPage, double top, int capacity) {
    TableDescription description;
    description.inInches = false;
    description.top = page.toUnitsY(top);
    description.left = 0;
    description.right = page.toUnitsX(kTableRight);
    // Whole rows in page units, so the table holds exactly the rows it is meant to.
    const int rowHeight = page.toUnitsY(1.5 * kTablePointSize / 72.0);
    description.bottom = description.top + static_cast<double>(capacity + 2) * rowHeight;
    for (ColumnDescription column : columnsOf(mode, laterPage)) {
        column.width = page.toUnitsX(column.width);
        description.columns.push_back(column);
    }
    return page.createTable(description);
}

} // namespace

int CByViewReport::pageCount(int rows) {
    if (rows <= kFirstPageRows)
        return 1;
    return 1 + (rows - kFirstPageRows + kLaterPageRows - 1) / kLaterPageRows;
}

bool CByViewReport::run(CDrawingSurface& surface, const ReportFacts& facts, const std::vector<const CDVItem*>& listRows,
                        int viewMode) {
    const int mode = viewMode >= kFuel && viewMode <= kAny ? viewMode : kAny;
    std::vector<const CDVItem*> rows;
    for (const CDVItem* item : listRows)
        if (item)
            rows.push_back(item);
    if (rows.empty()) {
        CReportPage page(surface);
        page.printText(0, 0, 0, 0, "Sorry! No items in list to print.  Aborting Print.");
        return false;
    }
    const int count = pageCount(static_cast<int>(rows.size()));
    const int pointSize = mode == kFuel ? 12 : 10;
    const unsigned textFlags = mode == kFuel ? unsigned(kBold) : 0u;
    std::size_t next = 0;
    double total = 0;
    for (int number = 1; number <= count; ++number) {
        if (number > 1 && !surface.newPage())
            return false;
        CReportPage page(surface);
        const bool later = number > 1;
        const double top = later ? 0.1 : drawFirstHead(page, facts, mode) + 0.1;
        const int capacity = later ? kLaterPageRows : kFirstPageRows;
        CReportTable* table = createTable(page, mode, later, top, capacity);
        if (!table)
            return false;
        table->drawHeadings();
        int row = 0;
        for (; row < capacity && next < rows.size(); ++row, ++next) {
            const Row cells = rowOf(*rows[next], mode, facts);
            for (int column = 0; column < static_cast<int>(cells.cells.size()); ++column) {
                const Cell& cell = cells.cells[column];
                page.printCell(*table, row, column, pointSize, cell.number ? textFlags | kRight : textFlags, "%s",
                               cell.text.c_str());
            }
            total += cells.added;
        }
        const int lastColumn = table->columnCount() - 1;
        const ColourRef previous = page.setTextColour(kDarkBlue);
        if (number == count) {
            page.printCell(*table, row, 0, 18, kBold, "TOTAL");
            page.printCell(*table, row, lastColumn, 18, kBold | kRight, "%s%6.2f ", facts.currency.c_str(), total);
        } else {
            page.printCell(*table, row, lastColumn, 14, kItalic | kRight, "Continued...");
        }
        page.setTextColour(previous);
        CReportFrame::drawFoot(page, number, count);
        page.printText(page.toInchesY(table->rect().bottom) + 0.1, 0, kCentre, 8, "%s", kNote);
    }
    return true;
}
