#pragma once
// CViewRefresh decides, after the vehicle's log has been (re)loaded, which entries the
// entry list shows and gathers what the statistics, the performance watch and the fuel
// dialog need from the same pass. The main window loads the document, calls run() with
// its filter, puts the returned rows into the list in the order given, and hands the
// totals and performance inputs on; search() replaces the rows without touching them.
//
// One pass in list order, with p counting every entry from 0:
// - every entry gets DisplayPos = p, and an entry whose Entry text begins with "Trip"
//   becomes a trip (EntryType 2), whatever it was saved as;
// - the date range (inDateRange) decides whether the entry counts at all; entries out of
//   range, and entries of a type other than fuel, repair and trip, count nowhere;
// - an in-range entry adds to its type's totals, moves the latest odometer (its Odometer,
//   or its EndOdometer when that is above 0 and above its Odometer, whichever is higher
//   than the latest so far) and the first/last odometer of the performance inputs, and
//   becomes a row when the view mode shows its type (0 fuel, 1 repairs, 2 trips, 3 all);
// - an in-range fuel entry gets FuelDistance = Odometer - the previous in-range fuel
//   entry's Odometer, truncated toward zero (negative when the log goes backwards); the
//   first in-range fuel entry gets 0, so its Distance is blank on every pass.
// Every entry also goes, as the file holds it, to the graph pages' figures when the caller
// gathers them in this pass, and after the "Trip" rule counts toward each chart's points.
// The last fuel odometer of a run is kept as the fuel dialog's default for a new fill;
// it starts at 0.
//
// The distance total is the latest odometer minus the Odometer of the first row, taking
// 0 for that odometer when no row was added: nothing in range gives 0 - 0, entries in
// range but none shown give the whole latest odometer.

#include "calc/cost_statistics.h"
#include "calc/entry_text.h"
#include "calc/refresh_totals.h"
#include "store/vehicle_log_doc.h"

#include <array>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

class CViewRefresh {
public:
    struct Filter {
        int viewMode = 0; // 0 fuel, 1 repairs, 2 trips, 3 any
        std::string dateRange = "View Filter Off";
        DVTime from = 0; // "Select Dates" bounds, both included
        DVTime to = 0;
    };

    struct Result {
        std::vector<CDVItem*> rows; // in list order
        RefreshTotals totals;
        PerformanceInputs performance;
        // Entries of the whole log with a point on each graph page (CGraphFeed::Kind order),
        // counted after the "Trip" rule, as the charts draw them.
        std::array<std::size_t, 3> chartPoints{};
    };

    // The items of the date-range selector, in the order of the table they come from.
    static const std::array<const char*, 8>& dateRanges();

    // Whether a time `t` lies in the named range as seen at `now`. Months, years and the
    // weekday (Sunday starts the week) are taken in local time; the weeks are whole
    // 24-hour days counted back from `now`, so on a Sunday at noon "This Week" begins on
    // Saturday at noon. A text that names no range gives false.
    static bool inDateRange(std::string_view range, DVTime t, std::time_t now, DVTime from, DVTime to);

    // One refresh pass over the loaded document; rewrites DisplayPos, FuelDistance and the
    // type of "Trip…" entries in place (the caller's next save writes them).
    // `figures`, when given, takes every entry as the file holds it (before the "Trip" rule),
    // so that the graph pages' figures need no walk of their own.
    Result run(CVehicleLogDoc& doc, const Filter& filter, std::time_t now,
               CCostStatistics::GraphWalk* figures = nullptr);

    // The Odometer of the last in-range fuel entry seen by any run so far (0 before one).
    double previousFuelOdometer() const { return m_previousFuelOdometer; }

    // Every entry, whatever its type or date, one of whose texts contains `text` without
    // regard to ASCII case; an empty text matches all.
    static std::vector<CDVItem*> search(CVehicleLogDoc& doc, const std::string& text, const CEntryText& texts);

private:
    double m_previousFuelOdometer = 0;
};
