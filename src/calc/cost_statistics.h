#pragma once
// CCostStatistics works out the figures of the summary pages beside the graphs and of the
// running-cost page. The economy, fuel cost and repair cost pages each take the whole log
// of the vehicle (every entry of the document, no date range, no view mode) and reduce
// one value per entry to MAX and MIN with the date of the entry that set them, the value of
// the last entry (Current) and an average; every text is "No Data" until some entry sets
// it, and dates come from the locale's short date format. The running-cost page instead
// formats the totals that the last view refresh gathered over the entries in range.
// Nothing here keeps state: the window works the graph pages' figures out at each refresh.

#include "calc/locale_info.h"
#include "calc/refresh_totals.h"
#include "store/vehicle_log_doc.h"

#include <string>

class CCostStatistics {
public:
    static constexpr const char* kNoData = "No Data";

    // One graph page's column of figures. currentValue and averageValue are the numbers
    // behind Current and AVG, 0 when the page shows "No Data" for them; the economy page's
    // pair goes to status bar panes 1 and 2.
    struct PageFigures {
        std::string max = kNoData;
        std::string maxDate = kNoData;
        std::string min = kNoData;
        std::string minDate = kNoData;
        std::string current = kNoData;
        std::string average = kNoData;
        double currentValue = 0;
        double averageValue = 0;
        // The numbers behind MAX and MIN as the page's running maximum and minimum end up.
        double maxValue = 0;
        double minValue = 0;
    };

    // Fuel entries with an economy above 0, except those whose Entry text mentions "Trip".
    // Partial fills take part in MAX, MIN and the divisor of AVG but not in its sum.
    static PageFigures economyPage(const CVehicleLogDoc& doc, const CLocaleInfo& locale);
    // Fuel entries with a unit price above 0.
    static PageFigures fuelCostPage(const CVehicleLogDoc& doc, const CLocaleInfo& locale);
    // Every repair entry, whatever its cost. AVG is never "No Data": "0.00" without repairs.
    static PageFigures repairCostPage(const CVehicleLogDoc& doc, const CLocaleInfo& locale);
    // The three pages' figures from one walk of the log, each as its own function gives it.
    struct GraphFigures {
        PageFigures economy;
        PageFigures fuelCost;
        PageFigures repairCost;
    };
    static GraphFigures graphPages(const CVehicleLogDoc& doc, const CLocaleInfo& locale);
    // Gathers what graphPages() gives one entry at a time, in log order, for a caller that
    // walks the log anyway: the log is large and every entry lives in a block of its own.
    class GraphWalk {
    public:
        explicit GraphWalk(const CLocaleInfo& locale) : m_locale(locale) {}
        void add(const CDVItem& entry);
        GraphFigures finish();

        // One page's running state.
        struct Page {
            PageFigures figures;
            const CDVItem* last = nullptr;
            double maxValue = 0;
            double minValue = 0;
            double sum = 0;
            int count = 0;
        };

    private:
        const CLocaleInfo& m_locale;
        Page m_economy;
        Page m_fuelCost;
        Page m_repairCost;
    };

    // The running-cost page's fields: totals, per-entry averages and cost per distance.
    struct RunningCost {
        std::string fuelTotal;
        std::string repairsTotal;
        std::string parkingTotal;
        std::string distanceTotal;
        std::string fuelAverage;
        std::string repairsAverage;
        std::string parkingAverage;
        std::string distanceAverage;
        std::string runningCost;
    };

    // The fields for the totals of the last refresh. `currencySymbol` is shown as given (the
    // caller limits it to two characters); `distanceUnit` is the vehicle's units::DistanceUnitCode.
    static RunningCost runningCost(const RefreshTotals& totals, const std::string& currencySymbol, int distanceUnit);
    // What the page shows before its first computation.
    static RunningCost initialRunningCost();
};
