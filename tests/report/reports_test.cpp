// The three printed reports, drawn through CRecordingSurface on a 600-dpi letter sheet: a
// table row is 125 pixels high, the page foot starts at 5850 pixels (9.75 in).

#include "../calc/fixed_locale.h"
#include "calc/view_refresh.h"
#include "report/by_view_report.h"
#include "report/recording_surface.h"
#include "report/report_facts.h"
#include "report/selected_item_report.h"
#include "report/vehicle_info_report.h"
#include "store/vehicle_log_doc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using Page = std::vector<std::string>;

// The recorded lines split at each "page" line.
std::vector<Page> pagesOf(const std::vector<std::string>& lines) {
    std::vector<Page> pages(1);
    for (const std::string& line : lines) {
        if (line == "page")
            pages.emplace_back();
        else
            pages.back().push_back(line);
    }
    return pages;
}

// The quoted text at the end of a recorded "text" line, which follows the background mode.
std::string textOf(const std::string& line) {
    std::size_t open = line.find(" opaque \"");
    open = open == std::string::npos ? line.find(" transparent \"") + 14 : open + 9;
    return line.substr(open, line.size() - open - 1);
}

// The texts drawn, in drawing order.
std::vector<std::string> textsOf(const Page& page) {
    std::vector<std::string> texts;
    for (const std::string& line : page)
        if (line.rfind("text ", 0) == 0)
            texts.push_back(textOf(line));
    return texts;
}

// The top edge of the first text line that prints `text`; -1 when none does.
int topOf(const Page& page, const std::string& text) {
    for (const std::string& line : page) {
        int left = 0, top = 0;
        if (line.rfind("text ", 0) == 0 && textOf(line) == text &&
            std::sscanf(line.c_str(), "text %d,%d", &left, &top) == 2)
            return top;
    }
    return -1;
}

// The texts drawn with their top edge at `top`.
std::vector<std::string> textsAt(const Page& page, int top) {
    std::vector<std::string> texts;
    for (const std::string& line : page) {
        int left = 0, at = 0;
        if (std::sscanf(line.c_str(), "text %d,%d", &left, &at) == 2 && at == top)
            texts.push_back(textOf(line));
    }
    return texts;
}

long countOf(const Page& page, const std::string& text) {
    const std::vector<std::string> texts = textsOf(page);
    return std::count(texts.begin(), texts.end(), text);
}

bool printed(const Page& page, const std::string& text) {
    return countOf(page, text) > 0;
}

class ReportsTest : public ::testing::Test {
protected:
    ReportsTest() {
        facts.vehicleName = "Family Van";
        facts.vehicle.company = "Acme Haulage";
        facts.vehicle.costPerMile = 0.5;
        facts.currency = "$";
        facts.shortDate = [](DVTime t) { return "d" + std::to_string(t); };
        facts.timeOfDay = [](DVTime t) { return "t" + std::to_string(t); };
        facts.configFolder = "/nonexistent/odrivo/";
        facts.ownLogoPath = ":/report/logo.svg";
    }

    std::vector<Page> byView(const std::vector<CDVItem>& items, int mode, bool* result = nullptr) {
        std::vector<const CDVItem*> rows;
        for (const CDVItem& item : items)
            rows.push_back(&item);
        CRecordingSurface surface;
        const bool ok = CByViewReport::run(surface, facts, rows, mode);
        if (result)
            *result = ok;
        return pagesOf(surface.lines());
    }

    Page selected(const CDVItem& item) {
        CRecordingSurface surface;
        CSelectedItemReport::run(surface, facts, item);
        return surface.lines();
    }

    Page vehicleInfo() {
        CRecordingSurface surface;
        CVehicleInfoReport::run(surface, facts);
        return surface.lines();
    }

    ReportFacts facts;
};

// `count` repairs dated 1, 2, ... (so each row's date cell is "d<n>") costing 1.50 each.
std::vector<CDVItem> repairs(int count) {
    std::vector<CDVItem> items(count);
    for (int i = 0; i < count; ++i) {
        items[i].EntryType = CDVItem::Repair;
        items[i].Date = i + 1;
        items[i].Odometer = 1000 + i;
        items[i].Cost = 1.5;
    }
    return items;
}

} // namespace

TEST_F(ReportsTest, ByViewBreaksPagesAndPrintsTheTotalOnceAfterTheLastRow) {
    struct Case {
        int rows;
        std::vector<int> perPage;
        const char* total;
    };
    const Case cases[] = {
        {1, {1}, "$  1.50 "},       {32, {32}, "$ 48.00 "},        {33, {32, 1}, "$ 49.50 "},
        {75, {32, 43}, "$112.50 "}, {76, {32, 43, 1}, "$114.00 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        bool ok = false;
        const std::vector<Page> pages = byView(repairs(c.rows), 1, &ok);
        EXPECT_TRUE(ok);
        ASSERT_EQ(pages.size(), c.perPage.size());
        const int count = static_cast<int>(pages.size());
        int date = 0;
        for (int n = 0; n < count; ++n) {
            SCOPED_TRACE(n + 1);
            const Page& page = pages[n];
            const bool last = n + 1 == count;
            // Every row on the page it belongs to, in list order.
            for (int row = 0; row < c.perPage[n]; ++row)
                EXPECT_EQ(countOf(page, "d" + std::to_string(++date)), 1);
            EXPECT_EQ(countOf(page, "Page:" + std::to_string(n + 1) + " of " + std::to_string(count)), 1);
            EXPECT_EQ(countOf(page, "Continued..."), last ? 0 : 1);
            EXPECT_EQ(countOf(page, "TOTAL"), last ? 1 : 0);
            EXPECT_EQ(printed(page, "MAINTENANCE REPORT"), n == 0);
            // The note ends above the page foot.
            const int note = topOf(page, "Not all entries may be printed due to view and filter selections.  To "
                                         "print ALL entries, select ALL in the list view options.");
            ASSERT_GT(note, 0);
            EXPECT_LE(note + 80, 5850);
        }
        const Page& last = pages.back();
        const int total = topOf(last, "TOTAL");
        EXPECT_EQ(total, topOf(last, "d" + std::to_string(c.rows)) + 125);
        EXPECT_EQ(textsAt(last, total), (std::vector<std::string>{"TOTAL", c.total}));
    }
    EXPECT_EQ(CByViewReport::pageCount(0), 1);
}

TEST_F(ReportsTest, ByViewWithoutRowsFailsAfterSayingSo) {
    bool ok = true;
    const std::vector<Page> pages = byView({}, 0, &ok);
    EXPECT_FALSE(ok);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(textsOf(pages[0]), std::vector<std::string>{"Sorry! No items in list to print.  Aborting Print."});
}

TEST_F(ReportsTest, NotesAreCutByCharactersWithAnEllipsisWhenTooLong) {
    // "é" is two bytes: a byte count would cut in the middle of one or keep too few.
    const std::string e = "\xc3\xa9";
    struct Case {
        int mode;
        std::string note, shown;
    };
    const Case cases[] = {
        {1, std::string(28, 'n'), std::string(28, 'n')},
        {1, std::string(29, 'n'), std::string(25, 'n') + "..."},
        {1, std::string(24, 'n') + e + "xxxx", std::string(24, 'n') + e + "..."},
        {1, std::string(27, 'n') + e, std::string(27, 'n') + e},
        {3, std::string(58, 'n'), std::string(58, 'n')},
        {3, std::string(58, 'n') + e, std::string(55, 'n') + "..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        std::vector<CDVItem> items = repairs(1);
        items[0].Note = c.note;
        EXPECT_TRUE(printed(byView(items, c.mode)[0], c.shown));
    }
}

TEST_F(ReportsTest, AnyViewBracketsTripsAndLeavesThemOutOfTheTotal) {
    std::vector<CDVItem> items(3);
    items[0].EntryType = CDVItem::Fuel, items[0].Quantity = 10, items[0].UnitPrice = 2, items[0].Station = "Shell";
    items[1].EntryType = CDVItem::Repair, items[1].Cost = 30, items[1].Station = "Garage";
    items[2].EntryType = CDVItem::Trip, items[2].Odometer = 1000, items[2].EndOdometer = 1100;
    items[2].Parking = 2, items[2].Cost = 3, items[2].Destination = "Depot", items[2].Contact = "Ann";
    items[2].Purpose = "Sales";
    const Page page = byView(items, 3)[0];
    for (const char* text : {"VEHICLE REPORT", "$ 20.00 ", "$ 30.00 ", "[$ 55.00]", "Depot", "Garage",
                             "Cont.:Ann Purpose:Sales", "TOTAL", "$ 50.00 "})
        EXPECT_TRUE(printed(page, text)) << text;
}

TEST_F(ReportsTest, FuelAndTripRowsFormatTheirCells) {
    std::vector<CDVItem> fuel(1);
    fuel[0].Odometer = 12345.4, fuel[0].Station = std::string(23, 's') + "\xe2\x82\xac" + "tail";
    fuel[0].CellTemp = 7,
    fuel[0].Invoice = "\xc3\xa9"
                      "42",
    fuel[0].Quantity = 12.5, fuel[0].UnitPrice = 1.2;
    const Page fuelPage = byView(fuel, 0)[0];
    for (const std::string& text :
         {std::string("  12345 "), std::string(23, 's') + "\xe2\x82\xac", std::string("  7 "),
          std::string(15, ' ') + "\xc3\xa9"
                                 "42",
          std::string("12.500 "), std::string("$1.200 "), std::string("$15.00 "), std::string("FUEL REPORT")})
        EXPECT_TRUE(printed(fuelPage, text)) << text;

    std::vector<CDVItem> trips(1);
    trips[0].EntryType = CDVItem::Trip, trips[0].Odometer = 100, trips[0].EndOdometer = 160;
    trips[0].Cost = 4, trips[0].Parking = 1;
    const std::vector<Page> tripPages = byView(trips, 2);
    for (const char* text : {"Exp.", "Tolls", "Claim", "$4.00 ", "$1.00 ", "$30.00 ", "$ 35.00 "})
        EXPECT_TRUE(printed(tripPages[0], text)) << text;
    // Later pages head the seventh and eighth columns "Park" and "Exp.".
    const std::vector<Page> twoPages = byView(std::vector<CDVItem>(33, trips[0]), 2);
    ASSERT_EQ(twoPages.size(), 2u);
    EXPECT_TRUE(printed(twoPages[1], "Park"));
    EXPECT_FALSE(printed(twoPages[1], "Tolls"));
}

TEST_F(ReportsTest, ViewBoxShowsTheFiguresOfTheView) {
    facts.lastOdometer = 20000, facts.currentEconomy = 31.256, facts.averageEconomy = 29.5, facts.fuelEntries = 12;
    facts.lastOilChange = 15000, facts.lastTuneUp = 14000, facts.lastTireRotation = 13000;
    facts.lastCoolantFlush = 12000, facts.lastTransService = 11000;
    facts.vehicle.vin = "VIN123", facts.vehicle.plate = "ABC", facts.vehicle.year = 2020;
    facts.printDate = "1.2.2026", facts.printTime = "10:30";
    const Page fuel = byView(repairs(1), 0)[0];
    for (const char* text : {"FAMILY VAN", "VIN:  VIN123", "Plate #:  ABC  Year:  2020  ",
                             "Report Date:  1.2.2026 10:30", "Current Odometer:    20000",
                             "Current Fuel Economy:  31.26", "Average Fuel Economy:  29.50", "Total Fuel Entries:  12"})
        EXPECT_TRUE(printed(fuel, text)) << text;
    const Page repair = byView(repairs(1), 1)[0];
    for (const char* text : {"Last Oil Change:    15000", "Last Tune-Up:    14000", "Last Tire Rotation:    13000",
                             "Last Coolant Flush:    12000", "Last Trans. Service:    11000"})
        EXPECT_TRUE(printed(repair, text)) << text;
    const Page any = byView(repairs(1), 3)[0];
    for (const char* text : {"Last Oil Change:    15000 Last Tune-Up:    14000 ",
                             "Last Trans. Service :    11000 Current Fuel Economy:  31.26",
                             "Average Fuel Economy:  29.50 Total Fuel Entries:  12"})
        EXPECT_TRUE(printed(any, text)) << text;
}

TEST_F(ReportsTest, SelectedItemPrintsEveryFieldOfItsKind) {
    CDVItem fuel;
    fuel.CellTemp = 0, fuel.Quantity = 10, fuel.Measure = "Litres", fuel.UnitPrice = 1.5, fuel.FuelDistance = 420;
    fuel.Economy = 30, fuel.EconomyUnit = 2, fuel.Invoice = std::string(1200, 'i');
    CDVItem trip;
    trip.EntryType = CDVItem::Trip, trip.Odometer = 500, trip.EndOdometer = 400, trip.Cost = 2, trip.Parking = 3;
    trip.DepartTime = 0, trip.ArriveTime = 90061;
    struct Case {
        CDVItem item;
        int distanceUnit;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {fuel,
         0,
         {"Fuel Purchase", " (only used on Hybrid Vehicles)", "10.000 Litres", "$1.500 ", "$15.00 ",
          "    420 Since last fuel.", "Ecomomy", "30.00 L/100km", std::string(400, 'i')}},
        {trip,
         1,
         {"Trip", "    500 Kilometers", "   -100 Kilometers", "d0 t0", "d90061 t90061", "1 Days 01 Hours 01 Min",
          "$-50.00 @ 0.500 per Kilometer", "$ 5.00 "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texts[0]);
        facts.vehicle.distanceUnit = c.distanceUnit;
        const Page page = selected(c.item);
        for (const std::string& text : c.texts)
            EXPECT_TRUE(printed(page, text)) << text;
        EXPECT_TRUE(printed(page, "Page:1 of 1"));
    }
    fuel.CellTemp = 7;
    EXPECT_TRUE(printed(selected(fuel), "7 (only used on Hybrid Vehicles)"));
}

TEST_F(ReportsTest, VehicleInfoListsTheRemindersAndNamesUnnamedOnesUndefined) {
    VehicleSettings& v = facts.vehicle;
    v.oilDistance = 5000, v.oilDays = 90, v.tuneDistance = 30000, v.tuneDays = 365, v.distanceUnit = 1;
    v.customNames = {"", "A very long custom reminder", "", "", "Wipers"};
    v.customDistance[4] = 100, v.customDays[4] = 30, v.economyUnit = 4;
    v.year = 2019, v.make = "Ford", v.model = "Transit";
    facts.currentEconomy = 12.345, facts.performanceText = "Performance GOOD. Nothing to suggest.";
    const Page page = vehicleInfo();
    for (const char* text :
         {"ACME HAULAGE", "Acme Haulage", "FAMILY VAN", "2019 Ford  Transit ",
          "Oil Change:\t5000    Kilometers \t90   days ", "Tune Up:\t30000   Kilometers \t365  days ",
          "A very long custom :\t0       Kilometers \t0    days ", "Wipers:\t100     Kilometers \t30   days ",
          "Current Fuel Economy for this vehicle is 12.35 KPL", "Performance GOOD. Nothing to suggest.", "Page:1 of 1"})
        EXPECT_EQ(countOf(page, text), std::string(text) == "ACME HAULAGE" ? 0 : 1) << text;
    EXPECT_EQ(countOf(page, "Undefined:\t0       Kilometers \t0    days "), 3);
}

TEST_F(ReportsTest, LogoFallsBackToTheProgramsOwnWhenLogoBmpCannotBeRead) {
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "odrivo_report_logo";
    std::filesystem::create_directories(folder);
    const std::string logo = (folder / "Logo.bmp").string();
    std::filesystem::remove(logo);
    facts.configFolder = folder.string(); // without the trailing '/'
    auto bitmaps = [&] {
        std::vector<std::string> found;
        for (const std::string& line : vehicleInfo())
            if (line.rfind("bitmap ", 0) == 0)
                found.push_back(line.substr(line.find('"')));
        return found;
    };
    EXPECT_EQ(bitmaps(), (std::vector<std::string>{"\"" + logo + "\" missing", "\":/report/logo.svg\" missing"}));
    std::ofstream(logo) << "BM";
    EXPECT_EQ(bitmaps(), std::vector<std::string>{"\"" + logo + "\" drawn"});
    std::filesystem::remove_all(folder);
}

TEST(ReportFactsGather, TakesTheFiguresTheWindowShows) {
    CVehicleLogDoc doc;
    auto add = [&](int type, double odometer, const char* entry, double economy = 0) {
        auto item = std::make_unique<CDVItem>();
        item->EntryType = type, item->Odometer = odometer, item->Entry = entry, item->Economy = economy;
        item->Quantity = 10, item->Date = 86400;
        doc.append(std::move(item));
    };
    add(CDVItem::Fuel, 1050, "Fuel", 30);
    add(CDVItem::Repair, 1100, "Oil Change");
    add(CDVItem::Repair, 1200, "Cool");
    add(CDVItem::Repair, 1300, "Transmission");
    add(CDVItem::Repair, 1400, "Rotate");
    add(CDVItem::Fuel, 1600, "Fuel", 34);
    VehicleSettings vehicle;
    vehicle.name = "My Car", vehicle.startOdometer = 1000, vehicle.economyUnit = 0;
    CViewRefresh view;
    CViewRefresh::Filter filter;
    filter.viewMode = 3;
    const CViewRefresh::Result refresh = view.run(doc, filter, 86400 * 10);
    const FixedLocale locale("\u20ac");
    const DVTime now = utcTime(2026, 3, 4, 5, 6);
    const ReportFacts facts = ReportFacts::gather(vehicle, doc, refresh, locale, now, "/cfg/", ":/logo");

    EXPECT_EQ(facts.vehicleName, "My Car");
    EXPECT_EQ(facts.lastOdometer, 1600);
    EXPECT_EQ(facts.fuelEntries, 2);
    EXPECT_DOUBLE_EQ(facts.currentEconomy, 34);
    EXPECT_DOUBLE_EQ(facts.averageEconomy, 32);
    EXPECT_EQ(facts.lastOilChange, 1100);
    EXPECT_EQ(facts.lastCoolantFlush, 1200);
    EXPECT_EQ(facts.lastTransService, 1300);
    EXPECT_EQ(facts.lastTireRotation, 1400);
    EXPECT_EQ(facts.lastTuneUp, 1000); // none in the log: the start odometer
    EXPECT_EQ(facts.performanceText, "Not enough data to calculate performance");
    EXPECT_EQ(facts.currency, "\u20ac");
    EXPECT_EQ(facts.printDate, "04.03.2026");
    EXPECT_EQ(facts.printTime, "05:06");
    EXPECT_EQ(facts.shortDate(86400), "02.01.1970");
    EXPECT_EQ(facts.timeOfDay(3600), "01:00");
    EXPECT_EQ(facts.configFolder, "/cfg/");
    EXPECT_EQ(facts.ownLogoPath, ":/logo");
    EXPECT_EQ(ReportFacts::gather(vehicle, doc, refresh, FixedLocale("ABCD"), now, "", "").currency, "$");
}
