#include "calc/cost_statistics.h"

#include "calc/units.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Figures = CCostStatistics::PageFigures;
using Running = CCostStatistics::RunningCost;

const std::string kNoData = "No Data";

// Dates read "day N" so that every figure's date names the entry that set it.
class FixedLocale : public CLocaleInfo {
public:
    std::string shortDate(DVTime t) const override { return "day " + std::to_string(t); }
    std::string timeOfDay(DVTime) const override { return "12:00"; }
    std::string currencySymbol() const override { return "$"; }
};

CDVItem fuel(DVTime day, double economy, int partial = 0) {
    CDVItem e;
    e.EntryType = CDVItem::Fuel, e.Entry = "Fuel", e.Date = day, e.Economy = economy, e.PartialFill = partial;
    e.UnitPrice = 1.5, e.Quantity = 10;
    e.Cost = 15; // what the economy recalculation leaves in a fuel entry's Cost
    return e;
}

CDVItem priced(DVTime day, double unitPrice) {
    CDVItem e = fuel(day, 30);
    e.UnitPrice = unitPrice;
    return e;
}

CDVItem repair(DVTime day, double cost) {
    CDVItem e;
    e.EntryType = CDVItem::Repair, e.Entry = "Oil change", e.Date = day, e.Cost = cost;
    return e;
}

CDVItem trip(DVTime day) {
    CDVItem e;
    e.EntryType = CDVItem::Trip, e.Entry = "Trip", e.Date = day, e.Cost = 40, e.Economy = 99;
    e.UnitPrice = 9; // distance claim
    return e;
}

void fillDoc(CVehicleLogDoc& doc, const std::vector<CDVItem>& entries) {
    for (const auto& e : entries)
        doc.append(std::make_unique<CDVItem>(e));
}

using PageFunction = Figures (*)(const CVehicleLogDoc&, const CLocaleInfo&);

struct PageCase {
    const char* name;
    PageFunction page;
    std::vector<CDVItem> entries;
    Figures expected;
};

void expectFigures(const Figures& a, const Figures& e, const char* name) {
    SCOPED_TRACE(name);
    EXPECT_EQ((std::vector{a.max, a.maxDate, a.min, a.minDate, a.current, a.average}),
              (std::vector{e.max, e.maxDate, e.min, e.minDate, e.current, e.average}));
    EXPECT_NEAR(a.currentValue, e.currentValue, 1e-9);
    EXPECT_NEAR(a.averageValue, e.averageValue, 1e-9);
}

TEST(CostStatistics, PageFigures) {
    const PageCase cases[] = {
        {"economy: partial fill counts in the divisor only, and as the last entry hides Current",
         &CCostStatistics::economyPage,
         {fuel(1, 30), fuel(2, 32), fuel(3, 20, 1)},
         {"32.00", "day 2", "20.00", "day 3", kNoData, "20.67", 0, 62.0 / 3}},
        {"economy: trips by type or by Entry text, repairs and zero economies are left out",
         &CCostStatistics::economyPage,
         [] {
             CDVItem tripText = fuel(2, 99);
             tripText.Entry = "Fuel on the Trip home";
             CDVItem repairWithEconomy = repair(4, 10);
             repairWithEconomy.Economy = 50;
             return std::vector<CDVItem>{fuel(1, 30), tripText, fuel(3, 25), repairWithEconomy, trip(5), fuel(6, 0)};
         }(),
         {"30.00", "day 1", "25.00", "day 3", "25.00", "27.50", 25, 27.5}},
        {"economy: MIN starts from the first economy; ties keep the earlier date",
         &CCostStatistics::economyPage,
         {fuel(1, 25), fuel(2, 31), fuel(3, 20), fuel(4, 31), fuel(5, 20)},
         {"31.00", "day 2", "20.00", "day 3", "20.00", "25.40", 20, 25.4}},
        {"economy: empty log", &CCostStatistics::economyPage, {repair(1, 50)}, {}},
        {"fuel cost: entries without a price are left out, three decimals",
         &CCostStatistics::fuelCostPage,
         {priced(1, 1.5), priced(2, 0), priced(3, 1.2), priced(4, 1.9), trip(5), priced(6, 1.2)},
         {"1.900", "day 4", "1.200", "day 3", "1.200", "1.450", 1.2, 1.45}},
        {"fuel cost: no priced fuel", &CCostStatistics::fuelCostPage, {priced(1, 0), trip(2), repair(3, 20)}, {}},
        {"repair cost: a free job resets MIN; fuel Costs are not repairs",
         &CCostStatistics::repairCostPage,
         {repair(1, 0), fuel(2, 30), repair(3, 50), repair(4, 0), repair(5, 70)},
         {"70.00", "day 5", "70.00", "day 5", "70.00", "30.00", 70, 30}},
        {"repair cost: MIN takes lower costs once set",
         &CCostStatistics::repairCostPage,
         {repair(1, 80), repair(2, 50), repair(3, 60)},
         {"80.00", "day 1", "50.00", "day 2", "60.00", "63.33", 60, 190.0 / 3}},
        {"repair cost: only free jobs never set MAX",
         &CCostStatistics::repairCostPage,
         {repair(1, 0), repair(2, 0)},
         {kNoData, kNoData, "0.00", "day 2", "0.00", "0.00", 0, 0}},
        {"repair cost: no repairs still shows an average",
         &CCostStatistics::repairCostPage,
         {fuel(1, 30), trip(2)},
         {kNoData, kNoData, kNoData, kNoData, kNoData, "0.00", 0, 0}},
    };
    const FixedLocale locale;
    for (const auto& c : cases) {
        CVehicleLogDoc doc;
        fillDoc(doc, c.entries);
        expectFigures(c.page(doc, locale), c.expected, c.name);
    }
}

RefreshTotals sampleTotals() {
    RefreshTotals t;
    t.fuelCount = 4, t.fuelCost = 200, t.repairCount = 2, t.repairCost = 150, t.tripCount = 1, t.tripExpenses = 12.5;
    t.totalExpenses = 362.5, t.distance = 1450, t.entryCount = 7;
    return t;
}

TEST(CostStatistics, RunningCostTexts) {
    const Running r = CCostStatistics::runningCost(sampleTotals(), "$", units::kMiles);
    const Running k = CCostStatistics::runningCost(sampleTotals(), "kr", units::kKilometres);
    RefreshTotals empty;
    empty.entryCount = 5; // the vehicle has entries, none in range
    const Running z = CCostStatistics::runningCost(empty, "$", units::kMiles);
    const std::pair<std::string, std::string> cases[] = {
        {r.fuelTotal, "$200.00"},          {r.repairsTotal, "$150.00"},        {r.parkingTotal, "$12.50 "},
        {r.distanceTotal, "1450    Mi."},  {r.fuelAverage, "$50.00 "},         {r.repairsAverage, "$75.00 "},
        {r.parkingAverage, "$12.50 "},     {r.distanceAverage, "207     Mi."}, // 1450 / 7 = 207.14
        {r.runningCost, "$0.25   / Mi."},                                      // 362.5 / 1450
        {k.fuelTotal, "kr200.00"},         {k.parkingAverage, "kr12.50 "},     {k.distanceTotal, "1450    Km."},
        {k.runningCost, "kr0.25   / Km."}, {z.fuelTotal, "$0.00  "},           {z.repairsTotal, "$0.00  "},
        {z.parkingTotal, "$0.00  "},       {z.distanceTotal, "0       Mi."},   {z.runningCost, kNoData},
    };
    for (const auto& [actual, expected] : cases)
        EXPECT_EQ(actual, expected);
}

// Each condition on its own turns exactly its field into "No Data".
TEST(CostStatistics, RunningCostNoDataConditions) {
    const std::tuple<const char*, std::function<void(RefreshTotals&)>, std::string Running::*> cases[] = {
        {"no fuel cost", [](RefreshTotals& t) { t.fuelCost = 0; }, &Running::fuelAverage},
        {"negative fuel cost", [](RefreshTotals& t) { t.fuelCost = -3; }, &Running::fuelAverage},
        {"no fuel entry", [](RefreshTotals& t) { t.fuelCount = 0; }, &Running::fuelAverage},
        {"no repair cost", [](RefreshTotals& t) { t.repairCost = 0; }, &Running::repairsAverage},
        {"no repair entry", [](RefreshTotals& t) { t.repairCount = 0; }, &Running::repairsAverage},
        {"no trip expenses", [](RefreshTotals& t) { t.tripExpenses = 0; }, &Running::parkingAverage},
        {"no trip entry", [](RefreshTotals& t) { t.tripCount = 0; }, &Running::parkingAverage},
        {"no entry at all", [](RefreshTotals& t) { t.entryCount = 0; }, &Running::distanceAverage},
        {"no expenses", [](RefreshTotals& t) { t.totalExpenses = 0; }, &Running::runningCost},
    };
    const Running full = CCostStatistics::runningCost(sampleTotals(), "$", units::kMiles);
    for (const auto& [name, change, field] : cases) {
        SCOPED_TRACE(name);
        RefreshTotals totals = sampleTotals();
        change(totals);
        const Running r = CCostStatistics::runningCost(totals, "$", units::kMiles);
        EXPECT_EQ(r.*field, kNoData);
        for (auto other : {&Running::fuelAverage, &Running::repairsAverage, &Running::parkingAverage,
                           &Running::distanceAverage, &Running::runningCost})
            EXPECT_EQ(r.*other, other == field ? kNoData : full.*other);
    }

    RefreshTotals noDistance = sampleTotals();
    noDistance.distance = 0;
    const Running r = CCostStatistics::runningCost(noDistance, "$", units::kMiles);
    EXPECT_EQ((std::vector{r.distanceAverage, r.runningCost, r.fuelAverage}),
              (std::vector<std::string>{kNoData, kNoData, "$50.00 "}));

    // One entry and less than one unit of distance still have an average: the total itself.
    noDistance.distance = 0.5, noDistance.entryCount = 1;
    const Running one = CCostStatistics::runningCost(noDistance, "$", units::kMiles);
    EXPECT_EQ(one.distanceAverage, one.distanceTotal);
}

} // namespace
