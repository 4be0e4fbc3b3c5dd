#include "calc/view_refresh.h"

#include "fixed_locale.h"

#include <gtest/gtest.h>

namespace {

TEST(ViewRefresh, DateRangesAtTheirEdges) {
    const TimeZone utc("UTC");
    const DVTime sunday = utcTime(2024, 3, 17, 12); // weekday 1: the week began Saturday noon
    const DVTime march15 = utcTime(2024, 3, 15, 9), newYear = utcTime(2024, 1, 1, 0, 0, 1);
    const DVTime from = utcTime(2024, 2, 1, 8), to = utcTime(2024, 2, 10, 18);
    const DVTime mar16 = utcTime(2024, 3, 16, 12), mar9 = utcTime(2024, 3, 9, 12), mar1 = utcTime(2024, 3, 1);
    const DVTime jan1 = utcTime(2024, 1, 1), feb1 = utcTime(2024, 2, 1), dec1 = utcTime(2023, 12, 1);
    // range, now, times in range, times out of range
    // clang-format off
    const std::tuple<const char*, DVTime, std::vector<DVTime>, std::vector<DVTime>> cases[] = {
        {"View Filter Off", march15, {0}, {}},
        {"This Week", sunday, {mar16, sunday}, {mar16 - 1, sunday + 1}}, // not the future
        {"Last Week", sunday, {mar9, mar16}, {mar9 - 1, mar16 + 1}},
        {"This Month", march15, {mar1}, {mar1 - 1, utcTime(2023, 3, 15)}},
        {"This Year", march15, {jan1}, {jan1 - 1}},
        {"Last Month", newYear, {dec1}, {dec1 - 1, utcTime(2022, 12, 15), jan1}},
        {"Last Month", march15, {feb1}, {feb1 - 1, mar1, utcTime(2023, 2, 15)}},
        {"Last Year", march15, {utcTime(2023, 1, 1)}, {jan1, utcTime(2023, 1, 1) - 1}},
        {"Select Dates", march15, {from, to}, {from - 1, to + 1}},
        {"this week", march15, {}, {march15}}, {"", march15, {}, {march15}}};
    // clang-format on
    for (const auto& [range, now, inside, outside] : cases)
        for (const bool in : {true, false})
            for (const DVTime t : in ? inside : outside)
                EXPECT_EQ(CViewRefresh::inDateRange(range, t, now, from, to), in)
                    << range << " now " << now << " t " << t;
}

TEST(ViewRefresh, MonthsAndWeekdaysAreLocal) {
    const TimeZone newYork("EST5");
    // 1 March 03:00 UTC is still 29 February in the local zone, a Thursday (weekday 5).
    const DVTime now = utcTime(2024, 3, 1, 3);
    EXPECT_TRUE(CViewRefresh::inDateRange("This Month", utcTime(2024, 2, 15), now, 0, 0));
    EXPECT_FALSE(CViewRefresh::inDateRange("Last Month", utcTime(2024, 2, 15), now, 0, 0));
    EXPECT_TRUE(CViewRefresh::inDateRange("This Week", now - 5 * 86400, now, 0, 0));
    EXPECT_FALSE(CViewRefresh::inDateRange("This Week", now - 5 * 86400 - 1, now, 0, 0));
}

class ViewRefreshRun : public ::testing::Test {
protected:
    void SetUp() override {
        fuel(1000, utcTime(2024, 2, 20), 10, 2, 30).FuelDistance = 77; // before this month
        fuel(1300.9, march(2), 10, 2, 30);
        CDVItem& repair = add(CDVItem::Repair, 1350, march(3));
        repair.Cost = 100, repair.Entry = "My Trip";
        CDVItem& trip = add(CDVItem::Trip, 1400, march(4));
        trip.EndOdometer = 1500, trip.Cost = 5, trip.Parking = 7;
        fuel(1600, march(5), 12, 2.5, 25).PartialFill = 1;
        CDVItem& oslo = add(CDVItem::Repair, 1650, march(6));
        oslo.Entry = "Trip to Oslo", oslo.Cost = 9;
        fuel(1700.75, march(7), 8, 2, 33).Measure = "Litres";
    }

    static DVTime march(int day) { return utcTime(2024, 3, day); }
    CDVItem& add(CDVItem::Type type, double odometer, DVTime date) {
        m_doc.append(std::make_unique<CDVItem>());
        CDVItem& item = m_doc.at(m_doc.size() - 1);
        item.EntryType = type, item.Odometer = odometer, item.Date = date, item.DisplayPos = 99;
        return item;
    }
    CDVItem& fuel(double odometer, DVTime date, double quantity, double price, double economy) {
        CDVItem& item = add(CDVItem::Fuel, odometer, date);
        item.Quantity = quantity, item.UnitPrice = price, item.Economy = economy;
        return item;
    }

    std::vector<std::size_t> indexes(const std::vector<CDVItem*>& rows) const {
        std::vector<std::size_t> result;
        for (const CDVItem* row : rows)
            result.push_back(static_cast<std::size_t>(m_doc.indexOf(row)));
        return result;
    }

    static CViewRefresh::Filter thisMonth(int viewMode) { return {viewMode, "This Month"}; }

    TimeZone m_utc{"UTC"};
    CVehicleLogDoc m_doc;
    const std::time_t m_now = utcTime(2024, 3, 15, 12);
};

TEST_F(ViewRefreshRun, TotalsOverInRangeEntriesWhateverTheViewMode) {
    const FixedLocale locale;
    const CCostStatistics::GraphFigures asSaved = CCostStatistics::graphPages(m_doc, locale);
    CCostStatistics::GraphWalk walk(locale);
    const CViewRefresh::Result result = CViewRefresh().run(m_doc, thisMonth(1), m_now, &walk);
    // The graph pages' figures see the log as saved: "Trip to Oslo" is still their last repair.
    const CCostStatistics::GraphFigures figures = walk.finish();
    EXPECT_EQ(
        std::tuple(figures.repairCost.current, figures.repairCost.average, figures.economy.average,
                   figures.fuelCost.max),
        std::tuple(std::string("9.00"), asSaved.repairCost.average, asSaved.economy.average, asSaved.fuelCost.max));
    // The charts draw the log after the "Trip" rule: four fills and the one repair left.
    EXPECT_EQ(result.chartPoints, (std::array<std::size_t, 3>{4, 4, 1}));
    const RefreshTotals& t = result.totals;
    // The repair named "Trip to Oslo" counts as a trip, "My Trip" does not.
    EXPECT_EQ(std::tuple(t.fuelCount, t.repairCount, t.tripCount, t.entryCount), std::tuple(3, 1, 2, 7));
    EXPECT_EQ(
        (std::vector{t.fuelQuantity, t.fuelCost, t.repairCost, t.tripExpenses, t.totalExpenses, t.latestOdometer}),
        (std::vector{30.0, 20.0 + 30 + 16, 100.0, 5.0 + 7 + 9, 66.0 + 100 + 21, 1700.75}));
    const PerformanceInputs& p = result.performance;
    EXPECT_EQ(p.qualifying, 2); // the partial fill does not qualify
    EXPECT_EQ((std::vector{p.current, p.firstOdometer, p.lastOdometer, p.totalFuel}),
              (std::vector{33.0, 1300.9, 1700.75, 30.0}));

    for (std::size_t i = 0; i < m_doc.size(); ++i)
        EXPECT_EQ(m_doc.at(i).DisplayPos, static_cast<int>(i));
    EXPECT_EQ(m_doc.at(5).EntryType, CDVItem::Trip);
}

// The distance runs from the first row to the latest odometer; with no row, from 0. Only a
// repair on 3 March in a fuel view leaves no row, so its distance is the whole 1350.
TEST_F(ViewRefreshRun, RowsAndDistancePerViewMode) {
    const DVTime mar3 = march(3), mar3End = march(4) - 1;
    // clang-format off
    const std::tuple<int, const char*, DVTime, DVTime, std::vector<std::size_t>, double> cases[] = {
        {0, "This Month", 0, 0, {1, 4, 6}, 1700.75 - 1300.9}, {1, "This Month", 0, 0, {2}, 1700.75 - 1350},
        {2, "This Month", 0, 0, {3, 5}, 1700.75 - 1400}, {3, "This Month", 0, 0, {1, 2, 3, 4, 5, 6}, 1700.75 - 1300.9},
        {3, "Next Year", 0, 0, {}, 0}, {0, "Select Dates", mar3, mar3End, {}, 1350}};
    // clang-format on
    for (const auto& [viewMode, range, from, to, rows, distance] : cases) {
        const CViewRefresh::Result result = CViewRefresh().run(m_doc, {viewMode, range, from, to}, m_now);
        EXPECT_EQ(indexes(result.rows), rows) << viewMode << " " << range;
        EXPECT_DOUBLE_EQ(result.totals.distance, distance) << viewMode << " " << range;
    }
}

TEST_F(ViewRefreshRun, FirstFillOfEveryPassHasNoDistance) {
    const auto fuelDistances = [this] {
        return std::vector{m_doc.at(0).FuelDistance, m_doc.at(1).FuelDistance, m_doc.at(4).FuelDistance,
                           m_doc.at(6).FuelDistance};
    };
    CViewRefresh refresh;
    refresh.run(m_doc, thisMonth(0), m_now);
    // Out of range: untouched; 1600 - 1300.9 truncated.
    EXPECT_EQ(fuelDistances(), (std::vector<std::int32_t>{77, 0, 299, 100}));
    EXPECT_DOUBLE_EQ(refresh.previousFuelOdometer(), 1700.75);

    // The next pass does not measure its first fill against the last one of this pass.
    refresh.run(m_doc, CViewRefresh::Filter{}, m_now);
    EXPECT_EQ(fuelDistances(), (std::vector<std::int32_t>{0, 300, 299, 100}));
    EXPECT_DOUBLE_EQ(refresh.previousFuelOdometer(), 1700.75);
}

TEST_F(ViewRefreshRun, LatestOdometerTakesTripArrivals) {
    add(CDVItem::Trip, 1800, march(10)).EndOdometer = 2500;
    add(CDVItem::Trip, 1900, march(11)).EndOdometer = 1850;            // below its start
    add(CDVItem::Trip, 1950, utcTime(2023, 3, 11)).EndOdometer = 9000; // out of range
    const CViewRefresh::Result result = CViewRefresh().run(m_doc, thisMonth(2), m_now);
    EXPECT_EQ((std::vector{result.totals.latestOdometer, result.totals.distance, result.performance.lastOdometer}),
              (std::vector{2500.0, 2500.0 - 1400, 1900.0}));
}

} // namespace
