#include "calc/entry_text.h"

#include "fixed_locale.h"

#include <gtest/gtest.h>

namespace {

const DVTime kMarch15 = utcTime(2024, 3, 15, 10, 30);

CDVItem fuelEntry() {
    CDVItem e;
    e.EntryType = CDVItem::Fuel, e.Odometer = 12345.6, e.Date = kMarch15, e.UnitPrice = 1.239, e.Quantity = 40.5;
    e.Measure = "Litres", e.Economy = 7.84, e.EconomyUnit = 2, e.FuelDistance = 412, e.Purpose = "not shown";
    e.Destination = "Depot", e.Note = "full";
    return e;
}

// Quantity, measure, distance and purpose are not shown for repairs.
CDVItem repairEntry() {
    CDVItem e;
    e.EntryType = CDVItem::Repair, e.Odometer = 13000, e.Date = kMarch15, e.Cost = 89.5, e.Quantity = 3;
    e.Measure = "Litres", e.FuelDistance = 55, e.Purpose = "not shown";
    return e;
}

CDVItem tripEntry() {
    CDVItem e;
    e.EntryType = CDVItem::Trip, e.Odometer = 1000, e.EndOdometer = 1100, e.Date = kMarch15, e.Cost = 3, e.Parking = 2;
    e.Purpose = "Visit", e.DepartTime = kMarch15, e.ArriveTime = kMarch15 + 86400 + 2 * 3600 + 5 * 60 + 59;
    return e;
}

CDVItem with(CDVItem e, const std::function<void(CDVItem&)>& change) {
    change(e);
    return e;
}

TEST(EntryText, CellTextsPerTypeAndColumn) {
    using V = std::vector<std::string>;
    const FixedLocale locale;
    const CEntryText texts(locale, 0.5);
    const auto cells = [&texts](const CDVItem& item, const std::vector<int>& columns) {
        V out;
        for (int column : columns)
            out.push_back(texts.cell(item, column));
        return out;
    };
    const CDVItem fuel = fuelEntry(), repair = repairEntry(), trip = tripEntry();
    EXPECT_EQ(cells(fuel, {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 15, 17, 18, 19, 20, 21}),
              (V{"", "Fuel", "  12346", "15.03.2024", "\u20ac1.239", "40.500", "Litres", "7.84 L/100km", "  0",
                 "   412", " ", "Depot", "", " ", " ", " ", "full", ""}));
    EXPECT_EQ(cells(repair, {1, 4, 5, 6, 7, 10, 11, 12, 17, 18}),
              (V{"Maint.", "\u20ac89.50", " ", " ", " ", " ", " ", " ", "      0", " "}));
    EXPECT_EQ(cells(trip, {1, 4, 12, 15, 16, 17, 18, 19}),
              (V{"Trip", "\u20ac55.00 (claim)", "Visit", "15.03.2024 10:30", "16.03.2024 12:35", "   1100",
                 "1 Days 02 Hours 05 Min", "    100"}));
    // Claim -100 x 0.5 + 3 + 2.
    EXPECT_EQ(cells(with(trip, [](CDVItem& e) { e.EndOdometer = 900; }), {4, 19}), (V{"\u20ac-45.00 (claim)", " "}));
    EXPECT_EQ(cells(with(trip, [](CDVItem& e) { e.DepartTime = e.ArriveTime = 0; }), {15, 18}),
              (V{"", "0 Days 00 Hours 00 Min"}));
    EXPECT_EQ(texts.cell(with(fuel, [](CDVItem& e) { e.CellTemp = -7; }), 10), " -7");
    EXPECT_EQ(texts.cell(with(fuel, [](CDVItem& e) { e.FuelDistance = -5; }), 11), " ");
    EXPECT_EQ(texts.cell(with(repair, [](CDVItem& e) { e.Entry = "Oil Change"; }), 1), "Oil Change");
}

TEST(EntryText, DurationTexts) {
    // clang-format off
    const std::pair<DVTime, const char*> cases[] = {{3 * 86400 + 23 * 3600 + 59 * 60 + 59, "3 Days 23 Hours 59 Min"},
        {-90 * 60, "-0 Days 01 Hours 30 Min"}, {-(2 * 86400 + 60), "-2 Days 00 Hours 01 Min"}};
    // clang-format on
    for (const auto& [span, text] : cases)
        EXPECT_EQ(CEntryText::durationText(kMarch15, kMarch15 + span), text) << span;
}

using Set = std::function<void(CDVItem&)>;

// 100.2, 100.7 and 100.5 are equal under the odometer column and keep their order; without a key nothing moves.
TEST(EntryText, SortIsStableAndFollowsTheDirection) {
    std::vector<CDVItem> items(6);
    std::vector<CDVItem*> rows;
    const double odometers[] = {300.0, 100.2, 200.0, 100.7, 100.5, 50.0};
    for (int i = 0; i < 6; ++i)
        items[i].Odometer = odometers[i], items[i].DisplayPos = i, rows.push_back(&items[i]);
    for (const auto& [column, direction, order] : {std::tuple{2, 1, std::vector{5, 1, 3, 4, 2, 0}},
                                                   {2, -1, std::vector{0, 2, 1, 3, 4, 5}},
                                                   {11, 1, std::vector{0, 2, 1, 3, 4, 5}}}) {
        CEntryText::sort(rows, column, direction);
        std::vector<int> positions;
        for (const CDVItem* row : rows)
            positions.push_back(row->DisplayPos);
        EXPECT_EQ(positions, order) << column << " " << direction;
    }
}

// Each column orders by its own key: two entries that differ in that key alone, "b" over "a"
// (or 2 over 1), come in that order ascending and the other way descending; texts ignore case.
TEST(EntryText, EachColumnSortsByItsKey) {
    // clang-format off
    const std::pair<int, std::function<void(CDVItem&, int)>> cases[] = {
        {0, [](CDVItem& e, int k) { e.Entry = k ? "B" : "a"; }},
        {1, [](CDVItem& e, int k) { e.Entry = k ? "b" : "A"; }},
        {2, [](CDVItem& e, int k) { e.Odometer = 1 + k; }},
        {3, [](CDVItem& e, int k) { e.Date = 1 + k; }},
        // The price column's total, 21 against 22, where each term decides the order.
        {4, [](CDVItem& e, int k) { e.UnitPrice = 1, e.Quantity = k ? 12 : 1, e.Cost = e.Parking = k ? 5 : 10; }},
        {5, [](CDVItem& e, int k) { e.Quantity = 1 + k; }},
        {6, [](CDVItem& e, int k) { e.Measure = k ? "b" : "a"; }},
        {7, [](CDVItem& e, int k) { e.Economy = 1 + k; }},
        {8, [](CDVItem& e, int k) { e.Station = k ? "b" : "a"; }},
        {9, [](CDVItem& e, int k) { e.Invoice = k ? "b" : "a"; }},
        {10, [](CDVItem& e, int k) { e.CellTemp = 1 + k; }},
        {12, [](CDVItem& e, int k) { e.Purpose = k ? "b" : "a"; }},
        {13, [](CDVItem& e, int k) { e.Destination = k ? "b" : "a"; }},
        {14, [](CDVItem& e, int k) { e.Contact = k ? "b" : "a"; }},
        {15, [](CDVItem& e, int k) { e.DepartTime = 1 + k; }},
        {16, [](CDVItem& e, int k) { e.ArriveTime = 1 + k; }},
        {17, [](CDVItem& e, int k) { e.EndOdometer = 1 + k; }},
        {20, [](CDVItem& e, int k) { e.Note = k ? "b" : "a"; }},
    };
    // clang-format on
    for (const auto& [column, set] : cases) {
        CDVItem low, high;
        set(low, 0), set(high, 1);
        EXPECT_TRUE(CEntryText::compare(low, high, column, 1) < 0 && CEntryText::compare(high, low, column, 1) > 0 &&
                    CEntryText::compare(low, high, column, -1) > 0 && CEntryText::compare(low, low, column, 1) == 0)
            << column;
    }
}

// Each case gives one text of an otherwise empty entry a piece that no other text of that entry
// has: the entry must match with it and not without it, and as a repair only if a repair shows that text.
TEST(EntryText, SearchLooksAtEveryTextItsTypeShows) {
    const DVTime evening = utcTime(2023, 7, 1, 22, 45);
    // clang-format off
    const std::tuple<CDVItem::Type, Set, const char*, bool> cases[] = {
        {CDVItem::Fuel, [](CDVItem& e) { e.Note = "a qqz b"; }, "QQZ", true},
        {CDVItem::Repair, [](CDVItem& e) { e.Cost = 12.5; }, "12.50", true},
        {CDVItem::Trip, [](CDVItem& e) { e.Parking = 6.25; }, "\u20ac6.25 (CLAIM)", false},
        {CDVItem::Trip, [evening](CDVItem& e) { e.DepartTime = evening; }, "01.07.2023 22:45", true},
        {CDVItem::Trip, [](CDVItem& e) { e.ArriveTime = 3 * 86400; }, "3 DAYS", false},
        {CDVItem::Fuel, [](CDVItem& e) { e.CellTemp = 47; }, "47", false}};
    // clang-format on
    const FixedLocale locale;
    const CEntryText texts(locale, 0);
    for (const auto& [type, set, needle, inRepair] : cases) {
        CDVItem item;
        item.EntryType = type;
        EXPECT_FALSE(texts.matches(item, needle)) << needle << ": found before the change";
        EXPECT_TRUE(texts.matches(with(item, set), needle)) << needle;
        item.EntryType = CDVItem::Repair;
        EXPECT_EQ(texts.matches(with(item, set), needle), inRepair) << needle << " in a repair";
    }
    EXPECT_TRUE(texts.matches(CDVItem{}, ""));
}

// The list shows a symbol of one character, the search reads one of up to two; longer ones are "$".
TEST(EntryText, PriceSymbolLimitsInTheListAndTheSearch) {
    using C = std::tuple<const char*, const char*, const char*>;
    for (const auto& [symbol, listed, found] :
         {C{"\u00a3", "\u00a31.239", "\u00a31.239"}, C{"Fr", "$1.239", "FR1.239"}, C{"CHF", "$1.239", "$1.239"}}) {
        const FixedLocale locale(symbol);
        const CEntryText texts(locale, 0);
        EXPECT_EQ(texts.cell(fuelEntry(), 4), listed) << symbol;
        EXPECT_TRUE(texts.matches(fuelEntry(), found)) << symbol;
    }
}

} // namespace
