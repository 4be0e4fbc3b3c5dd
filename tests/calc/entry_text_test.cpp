#include "calc/entry_text.h"

#include "fixed_locale.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const DVTime kMarch15 = utcTime(2024, 3, 15, 10, 30);

CDVItem fuelEntry() {
    CDVItem item;
    item.EntryType = CDVItem::Fuel;
    item.Odometer = 12345.6;
    item.Date = kMarch15;
    item.UnitPrice = 1.239;
    item.Quantity = 40.5;
    item.Measure = "Litres";
    item.Economy = 7.84;
    item.EconomyUnit = 2;
    item.CellTemp = 0;
    item.FuelDistance = 412;
    item.Purpose = "not shown for fuel";
    item.Destination = "Depot";
    item.Note = "full";
    return item;
}

CDVItem repairEntry() {
    CDVItem item;
    item.EntryType = CDVItem::Repair;
    item.Odometer = 13000;
    item.Date = kMarch15;
    item.Cost = 89.5;
    item.Quantity = 3;          // not shown for repairs
    item.Measure = "Litres";    //
    item.FuelDistance = 55;     //
    item.Purpose = "not shown"; //
    return item;
}

CDVItem tripEntry() {
    CDVItem item;
    item.EntryType = CDVItem::Trip;
    item.Odometer = 1000;
    item.EndOdometer = 1100;
    item.Date = kMarch15;
    item.Cost = 3;
    item.Parking = 2;
    item.Purpose = "Visit";
    item.DepartTime = kMarch15;
    item.ArriveTime = kMarch15 + 86400 + 2 * 3600 + 5 * 60 + 59;
    return item;
}

struct CellCase {
    const char* name;
    CDVItem item;
    int column;
    const char* text;
};

TEST(EntryText, CellTextsPerTypeAndColumn) {
    CDVItem namedRepair = repairEntry();
    namedRepair.Entry = "Oil Change";
    CDVItem noDistance = fuelEntry();
    noDistance.FuelDistance = 0;
    CDVItem backwardsDistance = fuelEntry();
    backwardsDistance.FuelDistance = -5;
    CDVItem warmCell = fuelEntry();
    warmCell.CellTemp = -7;
    CDVItem backwardsTrip = tripEntry();
    backwardsTrip.EndOdometer = 900; // claim -100 x 0.5 + 3 + 2
    CDVItem namedTrip = tripEntry();
    namedTrip.Entry = "Trip to Oslo";
    CDVItem noTimes = tripEntry();
    noTimes.DepartTime = 0;
    noTimes.ArriveTime = 0;

    const CellCase cases[] = {
        {"fuel icon", fuelEntry(), 0, ""},
        {"fuel type", fuelEntry(), 1, "Fuel"},
        {"fuel odometer", fuelEntry(), 2, "  12346"},
        {"fuel date", fuelEntry(), 3, "15.03.2024"},
        {"fuel price", fuelEntry(), 4, "\u20ac1.239"},
        {"fuel quantity", fuelEntry(), 5, "40.500"},
        {"fuel measure", fuelEntry(), 6, "Litres"},
        {"fuel economy", fuelEntry(), 7, "7.84 L/100km"},
        {"fuel temp 0", fuelEntry(), 10, "  0"},
        {"fuel temp -7", warmCell, 10, " -7"},
        {"fuel distance", fuelEntry(), 11, "   412"},
        {"fuel distance 0", noDistance, 11, " "},
        {"fuel distance < 0", backwardsDistance, 11, " "},
        {"fuel purpose", fuelEntry(), 12, " "},
        {"fuel destination", fuelEntry(), 13, "Depot"},
        {"fuel no depart", fuelEntry(), 15, ""},
        {"fuel end odometer", fuelEntry(), 17, " "},
        {"fuel duration", fuelEntry(), 18, " "},
        {"fuel traveled", fuelEntry(), 19, " "},
        {"fuel note", fuelEntry(), 20, "full"},
        {"beyond the columns", fuelEntry(), 21, ""},
        {"repair type", repairEntry(), 1, "Maint."},
        {"named repair type", namedRepair, 1, "Oil Change"},
        {"repair price", repairEntry(), 4, "\u20ac89.50"},
        {"repair quantity", repairEntry(), 5, " "},
        {"repair measure", repairEntry(), 6, " "},
        {"repair economy", repairEntry(), 7, " "},
        {"repair temp", repairEntry(), 10, " "},
        {"repair distance", repairEntry(), 11, " "},
        {"repair purpose", repairEntry(), 12, " "},
        {"repair end odometer", repairEntry(), 17, "      0"},
        {"repair duration", repairEntry(), 18, " "},
        {"trip type", tripEntry(), 1, "Trip"},
        {"named trip type", namedTrip, 1, "Trip to Oslo"},
        {"trip claim", tripEntry(), 4, "\u20ac55.00 (claim)"},
        {"backwards trip claim", backwardsTrip, 4, "\u20ac-45.00 (claim)"},
        {"trip purpose", tripEntry(), 12, "Visit"},
        {"trip depart", tripEntry(), 15, "15.03.2024 10:30"},
        {"trip arrive", tripEntry(), 16, "16.03.2024 12:35"},
        {"trip end odometer", tripEntry(), 17, "   1100"},
        {"trip duration", tripEntry(), 18, "1 Days 02 Hours 05 Min"},
        {"trip without times", noTimes, 18, "0 Days 00 Hours 00 Min"},
        {"trip without times depart", noTimes, 15, ""},
        {"trip traveled", tripEntry(), 19, "    100"},
        {"backwards trip traveled", backwardsTrip, 19, " "},
    };
    const FixedLocale locale;
    const CEntryText texts(locale, 0.5);
    for (const CellCase& c : cases)
        EXPECT_EQ(texts.cell(c.item, c.column), c.text) << c.name;
}

TEST(EntryText, ListShowsOnlyOneCharacterSymbolsSearchAllowsTwo) {
    struct SymbolCase {
        const char* symbol;
        const char* listPrice;
        const char* searchPrice;
    };
    const SymbolCase cases[] = {
        {"\u20ac", "\u20ac89.50", "\u20ac89.50"},
        {"kr", "$89.50", "kr89.50"},
        {"Fr.", "$89.50", "$89.50"},
        {"", "$89.50", "$89.50"},
    };
    for (const SymbolCase& c : cases) {
        const FixedLocale locale(c.symbol);
        const CEntryText texts(locale, 0);
        EXPECT_EQ(texts.cell(repairEntry(), 4), c.listPrice) << c.symbol;
        EXPECT_TRUE(texts.matches(repairEntry(), CEntryText::upperCase(c.searchPrice))) << c.symbol;
    }
    const FixedLocale kroner("kr");
    EXPECT_FALSE(CEntryText(kroner, 0).matches(repairEntry(), "$89"));
}

TEST(EntryText, DurationTexts) {
    const std::pair<DVTime, const char*> cases[] = {
        {0, "0 Days 00 Hours 00 Min"},
        {59, "0 Days 00 Hours 00 Min"},
        {3 * 86400 + 23 * 3600 + 59 * 60 + 59, "3 Days 23 Hours 59 Min"},
        {400 * 86400 + 3600, "400 Days 01 Hours 00 Min"},
        {-90 * 60, "-0 Days 01 Hours 30 Min"},
        {-(2 * 86400 + 60), "-2 Days 00 Hours 01 Min"},
    };
    const DVTime depart = kMarch15;
    for (const auto& [span, text] : cases)
        EXPECT_EQ(CEntryText::durationText(depart, depart + span), text) << span;
}

struct CompareCase {
    const char* name;
    std::function<void(CDVItem&)> setA;
    std::function<void(CDVItem&)> setB;
    int column;
    int ascending; // expected result for direction +1; -1 gives the negation
};

TEST(EntryText, CompareByColumnKey) {
    const CompareCase cases[] = {
        {"odometers under one apart", [](CDVItem& e) { e.Odometer = 100.2; }, [](CDVItem& e) { e.Odometer = 100.7; }, 2,
         0},
        {"odometers", [](CDVItem& e) { e.Odometer = 100; }, [](CDVItem& e) { e.Odometer = 102.5; }, 2, -2},
        {"entry text ignores case", [](CDVItem& e) { e.Entry = "oil"; }, [](CDVItem& e) { e.Entry = "OIL"; }, 1, 0},
        {"entry text", [](CDVItem& e) { e.Entry = "apple"; }, [](CDVItem& e) { e.Entry = "Banana"; }, 1, -1},
        {"icon column sorts by entry", [](CDVItem& e) { e.Entry = "b"; }, [](CDVItem& e) { e.Entry = "a"; }, 0, 1},
        {"shorter text first", [](CDVItem& e) { e.Note = "ab"; }, [](CDVItem& e) { e.Note = "abc"; }, 20, -1},
        {"dates in seconds", [](CDVItem& e) { e.Date = 1000; }, [](CDVItem& e) { e.Date = 1090; }, 3, -90},
        {"price key", [](CDVItem& e) { e.UnitPrice = 1.5, e.Quantity = 10; },
         [](CDVItem& e) { e.Cost = 12, e.Parking = 8; }, 4, -5},
        {"cell temp", [](CDVItem& e) { e.CellTemp = 7; }, [](CDVItem& e) { e.CellTemp = 3; }, 10, 4},
        {"depart", [](CDVItem& e) { e.DepartTime = 50; }, [](CDVItem& e) { e.DepartTime = 20; }, 15, 30},
        {"end odometer", [](CDVItem& e) { e.EndOdometer = 9; }, [](CDVItem& e) { e.EndOdometer = 12; }, 17, -3},
        {"distance has no key", [](CDVItem& e) { e.FuelDistance = 9; }, [](CDVItem& e) { e.FuelDistance = 1; }, 11, 0},
        {"duration has no key", [](CDVItem& e) { e.ArriveTime = 9000; }, [](CDVItem&) {}, 18, 0},
        {"traveled has no key", [](CDVItem& e) { e.EndOdometer = 900; }, [](CDVItem&) {}, 19, 0},
    };
    for (const CompareCase& c : cases) {
        CDVItem a;
        CDVItem b;
        c.setA(a);
        c.setB(b);
        const int ascending = CEntryText::compare(a, b, c.column, 1);
        const int descending = CEntryText::compare(a, b, c.column, -1);
        if (c.column == 1 || c.column == 0 || c.column == 20) { // texts: only the sign is fixed
            EXPECT_EQ((ascending > 0) - (ascending < 0), c.ascending) << c.name;
        } else {
            EXPECT_EQ(ascending, c.ascending) << c.name;
        }
        EXPECT_EQ((descending > 0) - (descending < 0), -((ascending > 0) - (ascending < 0))) << c.name;
    }

    // Times further apart than an int holds still compare by their order.
    CDVItem early;
    CDVItem late;
    late.Date = 5'000'000'000;
    EXPECT_LT(CEntryText::compare(early, late, 3, 1), 0);
    EXPECT_GT(CEntryText::compare(early, late, 3, -1), 0);
}

TEST(EntryText, SortIsStableAndFollowsTheDirection) {
    std::vector<CDVItem> items(6);
    const double odometers[] = {300, 100.2, 200, 100.7, 100.5, 50};
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i].Odometer = odometers[i];
        items[i].DisplayPos = static_cast<int>(i);
    }
    const auto order = [](const std::vector<CDVItem*>& rows) {
        std::vector<int> positions;
        for (const CDVItem* row : rows)
            positions.push_back(row->DisplayPos);
        return positions;
    };
    std::vector<CDVItem*> rows;
    for (CDVItem& item : items)
        rows.push_back(&item);

    CEntryText::sort(rows, 2, 1);
    // 100.2, 100.7 and 100.5 are equal under the column's comparison and keep their order.
    EXPECT_EQ(order(rows), (std::vector<int>{5, 1, 3, 4, 2, 0}));
    CEntryText::sort(rows, 2, -1);
    EXPECT_EQ(order(rows), (std::vector<int>{0, 2, 1, 3, 4, 5}));
    CEntryText::sort(rows, 11, 1); // no key: nothing moves
    EXPECT_EQ(order(rows), (std::vector<int>{0, 2, 1, 3, 4, 5}));
}

struct SearchCase {
    const char* name;
    CDVItem::Type type;
    std::function<void(CDVItem&)> set;
    const char* needle;
};

// Each case gives one text of an otherwise empty entry a piece that no other text of that
// entry has: the entry must match with it and not without it.
TEST(EntryText, SearchLooksAtEveryText) {
    const DVTime evening = utcTime(2023, 7, 1, 22, 45);
    const SearchCase cases[] = {
        {"note", CDVItem::Fuel, [](CDVItem& e) { e.Note = "a qqz b"; }, "QQZ"},
        {"measure", CDVItem::Fuel, [](CDVItem& e) { e.Measure = "Imp. Gallons"; }, "IMP. GAL"},
        {"station", CDVItem::Repair, [](CDVItem& e) { e.Station = "Kwik"; }, "KWIK"},
        {"invoice", CDVItem::Repair, [](CDVItem& e) { e.Invoice = "inv-9"; }, "INV-9"},
        {"purpose of any type", CDVItem::Fuel, [](CDVItem& e) { e.Purpose = "sales"; }, "SALES"},
        {"destination", CDVItem::Trip, [](CDVItem& e) { e.Destination = "Bergen"; }, "BERGEN"},
        {"contact", CDVItem::Trip, [](CDVItem& e) { e.Contact = "Öle"; }, "ÖLE"},
        {"entry", CDVItem::Repair, [](CDVItem& e) { e.Entry = "Brakes"; }, "BRAKES"},
        {"odometer", CDVItem::Repair, [](CDVItem& e) { e.Odometer = 98765; }, "98765"},
        {"date", CDVItem::Repair, [](CDVItem& e) { e.Date = utcTime(2022, 11, 9); }, "09.11.2022"},
        {"fuel price", CDVItem::Fuel, [](CDVItem& e) { e.UnitPrice = 4.321; }, "4.321"},
        {"repair price", CDVItem::Repair, [](CDVItem& e) { e.Cost = 12.5; }, "12.50"},
        {"trip claim", CDVItem::Trip, [](CDVItem& e) { e.Parking = 6.25; }, "\u20ac6.25 (CLAIM)"},
        {"quantity", CDVItem::Fuel, [](CDVItem& e) { e.Quantity = 37.125; }, "37.125"},
        {"economy", CDVItem::Fuel, [](CDVItem& e) { e.Economy = 31.25; }, "31.25 MPG"},
        {"cell temp", CDVItem::Fuel, [](CDVItem& e) { e.CellTemp = 47; }, "47"},
        {"depart", CDVItem::Trip, [evening](CDVItem& e) { e.DepartTime = evening; }, "01.07.2023 22:45"},
        {"arrive", CDVItem::Trip, [evening](CDVItem& e) { e.ArriveTime = evening; }, "22:45"},
        {"end odometer", CDVItem::Repair, [](CDVItem& e) { e.Odometer = 60000, e.EndOdometer = 54321; }, "54321"},
        {"duration", CDVItem::Trip, [](CDVItem& e) { e.ArriveTime = 3 * 86400; }, "3 DAYS"},
        {"traveled", CDVItem::Trip, [](CDVItem& e) { e.Odometer = 100, e.EndOdometer = 777; }, "677"},
    };
    const FixedLocale locale;
    const CEntryText texts(locale, 0);
    for (const SearchCase& c : cases) {
        CDVItem item;
        item.EntryType = c.type;
        EXPECT_FALSE(texts.matches(item, c.needle)) << c.name << ": found before the change";
        c.set(item);
        EXPECT_TRUE(texts.matches(item, c.needle)) << c.name;
    }
}

TEST(EntryText, SearchSkipsTextsTheTypeDoesNotShow) {
    const FixedLocale locale;
    const CEntryText texts(locale, 0);
    CDVItem repair;
    repair.EntryType = CDVItem::Repair;
    repair.Quantity = 37.125;
    repair.Economy = 31.25;
    repair.CellTemp = 47;
    for (const char* needle : {"37.125", "31.25", "47", "DAYS"})
        EXPECT_FALSE(texts.matches(repair, needle)) << needle;
    EXPECT_TRUE(texts.matches(repair, ""));
}

} // namespace
