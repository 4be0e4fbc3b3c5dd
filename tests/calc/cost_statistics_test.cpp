#include "calc/cost_statistics.h"

#include "calc/units.h"

#include <gtest/gtest.h>

namespace {

using Figures = CCostStatistics::PageFigures;
using Running = CCostStatistics::RunningCost;
using Texts = std::vector<std::string>;

const std::string kNoData = "No Data";

// Dates read "day N" so that every figure's date names the entry that set it.
class DayLocale : public CLocaleInfo {
public:
    std::string shortDate(DVTime t) const override { return "day " + std::to_string(t); }
    std::string timeOfDay(DVTime) const override { return "12:00"; }
    std::string currencySymbol() const override { return "$"; }
};

// Cost 15 is what the economy recalculation leaves in a fuel entry; a trip's UnitPrice is its distance claim.
CDVItem item(CDVItem::Type type, DVTime day, double economy, double unitPrice = 1.5, double cost = 15, int partial = 0,
             std::string entry = "Fuel") {
    CDVItem e;
    e.EntryType = type, e.Date = day, e.Economy = economy, e.UnitPrice = unitPrice, e.Quantity = 10, e.Cost = cost;
    e.PartialFill = partial, e.Entry = std::move(entry);
    return e;
}
CDVItem repair(DVTime day, double cost, double economy = 0) {
    return item(CDVItem::Repair, day, economy, 0, cost, 0, "Oil change");
}

TEST(CostStatistics, PageFigures) {
    using Page = Figures (*)(const CVehicleLogDoc&, const CLocaleInfo&);
    constexpr auto F = CDVItem::Fuel;
    const CDVItem trip = item(CDVItem::Trip, 5, 99, 9, 40, 0, "Trip");
    const Page economy = &CCostStatistics::economyPage, price = &CCostStatistics::fuelCostPage,
               repairs = &CCostStatistics::repairCostPage;
    // clang-format off
    const std::tuple<const char*, Page, std::vector<CDVItem>, Figures> cases[] = {
        {"a partial fill counts in the divisor only, and as the last entry hides Current", economy,
         {item(F, 1, 30), item(F, 2, 32), item(F, 3, 20, 1.5, 15, 1)},
         {"32.00", "day 2", "20.00", "day 3", kNoData, "20.67", 0, 62.0 / 3}},
        {"trips by type or by Entry text, repairs and zero economies are left out", economy,
         {item(F, 1, 30), item(F, 2, 99, 1.5, 15, 0, "Fuel on the Trip home"), item(F, 3, 25), repair(4, 10, 50), trip,
          item(F, 6, 0)},
         {"30.00", "day 1", "25.00", "day 3", "25.00", "27.50", 25, 27.5}},
        {"no economy", economy, {repair(1, 50)}, {}},
        {"entries without a price are left out, three decimals", price,
         {item(F, 1, 30, 1.5), item(F, 2, 30, 0), item(F, 3, 30, 1.2), item(F, 4, 30, 1.9), trip, item(F, 6, 30, 1.2)},
         {"1.900", "day 4", "1.200", "day 3", "1.200", "1.450", 1.2, 1.45}},
        {"a free job resets MIN; fuel Costs are not repairs", repairs,
         {repair(1, 0), item(F, 2, 30), repair(3, 50), repair(4, 0), repair(5, 70)},
         {"70.00", "day 5", "70.00", "day 5", "70.00", "30.00", 70, 30}},
        {"only free jobs never set MAX", repairs, {repair(1, 0), repair(2, 0)},
         {kNoData, kNoData, "0.00", "day 2", "0.00", "0.00", 0, 0}}};
    // clang-format on
    for (const auto& [name, page, entries, e] : cases) {
        SCOPED_TRACE(name);
        CVehicleLogDoc doc;
        for (const auto& entry : entries)
            doc.append(std::make_unique<CDVItem>(entry));
        const Figures a = page(doc, DayLocale());
        EXPECT_EQ((Texts{a.max, a.maxDate, a.min, a.minDate, a.current, a.average}),
                  (Texts{e.max, e.maxDate, e.min, e.minDate, e.current, e.average}));
        EXPECT_NEAR(a.currentValue, e.currentValue, 1e-9);
        EXPECT_NEAR(a.averageValue, e.averageValue, 1e-9);
        // The window's one walk for all three pages gives each page's figures exactly.
        const CCostStatistics::GraphFigures all = CCostStatistics::graphPages(doc, DayLocale());
        const Figures& b = page == economy ? all.economy : page == price ? all.fuelCost : all.repairCost;
        EXPECT_EQ((Texts{b.max, b.maxDate, b.min, b.minDate, b.current, b.average}),
                  (Texts{a.max, a.maxDate, a.min, a.minDate, a.current, a.average}));
        EXPECT_EQ(std::tuple(b.currentValue, b.averageValue, b.maxValue, b.minValue),
                  std::tuple(a.currentValue, a.averageValue, a.maxValue, a.minValue));
    }
}

RefreshTotals sampleTotals() {
    RefreshTotals t;
    t.fuelCount = 4, t.fuelCost = 200, t.repairCount = 2, t.repairCost = 150, t.tripCount = 1, t.tripExpenses = 12.5;
    t.totalExpenses = 362.5, t.distance = 1450, t.entryCount = 7;
    return t;
}

Texts texts(const Running& r) {
    return {r.fuelTotal,      r.repairsTotal,   r.parkingTotal,    r.distanceTotal, r.fuelAverage,
            r.repairsAverage, r.parkingAverage, r.distanceAverage, r.runningCost};
}

// 1450 / 7 = 207.14 a day, 362.5 / 1450 = 0.25 a mile.
TEST(CostStatistics, RunningCostTexts) {
    EXPECT_EQ(texts(CCostStatistics::runningCost(sampleTotals(), "$", units::kMiles)),
              (Texts{"$200.00", "$150.00", "$12.50 ", "1450    Mi.", "$50.00 ", "$75.00 ", "$12.50 ", "207     Mi.",
                     "$0.25   / Mi."}));
    const Running k = CCostStatistics::runningCost(sampleTotals(), "kr", units::kKilometres);
    EXPECT_EQ((Texts{k.fuelTotal, k.distanceTotal, k.runningCost}),
              (Texts{"kr200.00", "1450    Km.", "kr0.25   / Km."}));
    RefreshTotals empty;
    empty.entryCount = 5; // the vehicle has entries, none in range
    EXPECT_EQ(texts(CCostStatistics::runningCost(empty, "$", units::kMiles)),
              (Texts{"$0.00  ", "$0.00  ", "$0.00  ", "0       Mi.", kNoData, kNoData, kNoData, kNoData, kNoData}));
}

// Each condition on its own turns exactly its averages into "No Data".
TEST(CostStatistics, RunningCostNoDataConditions) {
    using Field = std::string Running::*;
    // clang-format off
    const std::tuple<std::function<void(RefreshTotals&)>, std::vector<Field>> cases[] = {
        {[](RefreshTotals& t) { t.fuelCost = 0; }, {&Running::fuelAverage}},
        {[](RefreshTotals& t) { t.fuelCount = 0; }, {&Running::fuelAverage}},
        {[](RefreshTotals& t) { t.repairCost = 0; }, {&Running::repairsAverage}},
        {[](RefreshTotals& t) { t.repairCount = 0; }, {&Running::repairsAverage}},
        {[](RefreshTotals& t) { t.tripExpenses = 0; }, {&Running::parkingAverage}},
        {[](RefreshTotals& t) { t.tripCount = 0; }, {&Running::parkingAverage}},
        {[](RefreshTotals& t) { t.entryCount = 0; }, {&Running::distanceAverage}},
        {[](RefreshTotals& t) { t.totalExpenses = 0; }, {&Running::runningCost}},
        {[](RefreshTotals& t) { t.distance = 0; }, {&Running::distanceAverage, &Running::runningCost}}};
    // clang-format on
    const Running full = CCostStatistics::runningCost(sampleTotals(), "$", units::kMiles);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [change, fields] = cases[i];
        RefreshTotals totals = sampleTotals();
        change(totals);
        Running expected = full;
        for (Field field : fields)
            expected.*field = kNoData;
        const Texts actual = texts(CCostStatistics::runningCost(totals, "$", units::kMiles)), wanted = texts(expected);
        // The totals follow the changed figure; the averages are the last five.
        EXPECT_EQ(Texts(actual.begin() + 4, actual.end()), Texts(wanted.begin() + 4, wanted.end())) << "case " << i;
    }
    // One entry and less than one unit of distance still have an average: the total itself.
    RefreshTotals one = sampleTotals();
    one.distance = 0.5, one.entryCount = 1;
    const Running r = CCostStatistics::runningCost(one, "$", units::kMiles);
    EXPECT_EQ(r.distanceAverage, r.distanceTotal);
}

} // namespace
