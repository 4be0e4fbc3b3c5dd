// The three printed reports, drawn through CRecordingSurface on a 600-dpi letter sheet: a
// table row is 125 pixels high, the page foot starts at 5850 pixels (9.75 in).

#include "../calc/fixed_locale.h"
#include "report/by_view_report.h"
#include "report/recording_surface.h"
#include "report/selected_item_report.h"
#include "report/vehicle_info_report.h"
#include "store/vehicle_log_doc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Text {
    int top;
    std::string text;
    std::string line; // the whole recorded line: font, format, colour
};
// One page's texts in drawing order, and its other recorded lines.
struct Page {
    std::vector<Text> texts;
    std::vector<std::string> others;

    long count(const std::string& text) const {
        return std::count_if(texts.begin(), texts.end(), [&](const Text& t) { return t.text == text; });
    }
    // The recorded line that drew `text` ("" when none did).
    std::string lineOf(const std::string& text) const {
        const auto found = std::find_if(texts.begin(), texts.end(), [&](const Text& t) { return t.text == text; });
        return found == texts.end() ? std::string() : found->line;
    }
    int topOf(const std::string& text) const {
        const auto found = std::find_if(texts.begin(), texts.end(), [&](const Text& t) { return t.text == text; });
        return found == texts.end() ? -1 : found->top;
    }
    void expectAll(const std::vector<std::string>& wanted) const {
        for (const std::string& text : wanted)
            EXPECT_EQ(count(text), 1) << '"' << text << '"';
    }
};

// The recorded lines split at each "page" line; a text is what follows the background mode.
std::vector<Page> pagesOf(const std::vector<std::string>& lines) {
    std::vector<Page> pages(1);
    for (const std::string& line : lines) {
        int left = 0, top = 0;
        if (line == "page") {
            pages.emplace_back();
        } else if (std::sscanf(line.c_str(), "text %d,%d", &left, &top) == 2) {
            std::size_t open = line.find(" opaque \"");
            open = open == std::string::npos ? line.find(" transparent \"") + 14 : open + 9;
            pages.back().texts.push_back({top, line.substr(open, line.size() - open - 1), line});
        } else {
            pages.back().others.push_back(line);
        }
    }
    return pages;
}

class ReportsTest : public ::testing::Test {
protected:
    ReportsTest() {
        facts.vehicleName = "Family Van";
        facts.vehicle.company = "Acme Haulage";
        facts.vehicle.costPerMile = 0.5;
        facts.shortDate = [](DVTime t) { return "d" + std::to_string(t); };
        facts.timeOfDay = [](DVTime t) { return "t" + std::to_string(t); };
        facts.configFolder = "/nonexistent/odrivo/";
        facts.ownLogoPath = ":/report/logo.svg";
    }

    // Keeps what run() returned in `printedAll`.
    std::vector<Page> byView(const std::vector<CDVItem>& items, int mode) {
        std::vector<const CDVItem*> rows;
        for (const CDVItem& item : items)
            rows.push_back(&item);
        CRecordingSurface surface;
        printedAll = CByViewReport::run(surface, facts, rows, mode);
        return pagesOf(surface.lines());
    }
    Page selected(const CDVItem& item) {
        CRecordingSurface surface;
        CSelectedItemReport::run(surface, facts, item);
        return pagesOf(surface.lines()).at(0);
    }
    Page vehicleInfo() {
        CRecordingSurface surface;
        CVehicleInfoReport::run(surface, facts);
        return pagesOf(surface.lines()).at(0);
    }

    ReportFacts facts;
    bool printedAll = false;
};

// `count` repairs dated 1, 2, ... (so each row's date cell is "d<n>") costing 1.50 each.
std::vector<CDVItem> repairs(int count) {
    std::vector<CDVItem> items(count);
    for (int i = 0; i < count; ++i)
        items[i].EntryType = CDVItem::Repair, items[i].Date = i + 1, items[i].Odometer = 1000 + i, items[i].Cost = 1.5;
    return items;
}

const char* const kNote = "Not all entries may be printed due to view and filter selections.  To print ALL entries, "
                          "select ALL in the list view options.";

} // namespace

TEST_F(ReportsTest, ByViewBreaksPagesAndPrintsTheTotalOnceAfterTheLastRow) {
    struct Case {
        int rows;
        std::vector<int> perPage;
        const char* total;
    };
    const Case cases[] = {
        {2, {2}, "$  3.00 "},       {32, {32}, "$ 48.00 "},        {33, {32, 1}, "$ 49.50 "},
        {75, {32, 43}, "$112.50 "}, {76, {32, 43, 1}, "$114.00 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        const std::vector<Page> pages = byView(repairs(c.rows), 1);
        EXPECT_TRUE(printedAll);
        ASSERT_EQ(pages.size(), c.perPage.size());
        const int count = static_cast<int>(pages.size());
        int date = 0;
        for (int n = 0; n < count; ++n) {
            SCOPED_TRACE(n + 1);
            const Page& page = pages[n];
            const bool last = n + 1 == count;
            for (int row = 0; row < c.perPage[n]; ++row) // every row on its page, in list order
                EXPECT_EQ(page.count("d" + std::to_string(++date)), 1);
            EXPECT_EQ(page.count("Page:" + std::to_string(n + 1) + " of " + std::to_string(count)), 1);
            EXPECT_EQ(page.count("Continued..."), last ? 0 : 1);
            EXPECT_EQ(page.count("TOTAL"), last ? 1 : 0);
            EXPECT_EQ(page.count("MAINTENANCE REPORT"), n == 0 ? 1 : 0);
            // The note's line ends above the page foot.
            ASSERT_GT(page.topOf(kNote), 0);
            EXPECT_LE(page.topOf(kNote) + 80, 5850);
        }
        const Page& last = pages.back();
        EXPECT_EQ(last.topOf("TOTAL"), last.topOf("d" + std::to_string(c.rows)) + 125);
        EXPECT_EQ(last.topOf(c.total), last.topOf("TOTAL"));
    }
}

TEST_F(ReportsTest, ByViewWithoutRowsFailsAfterSayingSo) {
    const std::vector<Page> pages = byView({}, 0);
    EXPECT_FALSE(printedAll);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].texts.size(), 1u);
    pages[0].expectAll({"Sorry! No items in list to print.  Aborting Print."});
}

TEST_F(ReportsTest, NotesAreCutByCharactersWithAnEllipsisWhenTooLong) {
    // "é" is two bytes: a byte count would cut in the middle of one or keep too few.
    const std::string e = "é", n28(28, 'n');
    struct Case {
        int mode;
        std::string note, shown;
    };
    const Case cases[] = {
        {1, n28, n28},
        {1, n28 + "n", n28.substr(3) + "..."},
        {1, n28.substr(4) + e + "xxxx", n28.substr(4) + e + "..."},
        {1, n28.substr(1) + e, n28.substr(1) + e},
        {3, n28 + n28 + "nn", n28 + n28 + "nn"},
        {3, n28 + n28 + "nn" + e, n28 + n28.substr(1) + "..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        std::vector<CDVItem> items = repairs(1);
        items[0].Note = c.note;
        byView(items, c.mode)[0].expectAll({c.shown});
    }
}

TEST_F(ReportsTest, AnyViewBracketsTripsAndLeavesThemOutOfTheTotal) {
    std::vector<CDVItem> items(3);
    items[0].EntryType = CDVItem::Fuel, items[0].Quantity = 10, items[0].UnitPrice = 2, items[0].Station = "Shell";
    items[1].EntryType = CDVItem::Repair, items[1].Cost = 30, items[1].Station = "Garage";
    items[1].Entry = "Brake pads and discs!";
    CDVItem& trip = items[2];
    trip.EntryType = CDVItem::Trip, trip.Odometer = 1000, trip.EndOdometer = 1100, trip.Parking = 2, trip.Cost = 3;
    trip.Destination = "Depot", trip.Contact = "Ann", trip.Purpose = "Sales";
    const Page page = byView(items, 3)[0];
    page.expectAll({"VEHICLE REPORT", "$ 20.00 ", "$ 30.00 ", "[$ 55.00]", "Depot", "Garage", "Cont.:Ann Purpose:Sales",
                    "TOTAL", "$ 50.00 ", "Brake pads and discs"});
    // Ten-point rows (the fuel view's are twelve and bold); numbers keep to the right.
    EXPECT_TRUE(page.lineOf("Garage").find("-83 w400 left") != std::string::npos) << page.lineOf("Garage");
    EXPECT_TRUE(page.lineOf("[$ 55.00]").find(" right") != std::string::npos) << page.lineOf("[$ 55.00]");
}

TEST_F(ReportsTest, FuelAndTripRowsFormatTheirCells) {
    std::vector<CDVItem> fuel(1);
    fuel[0].Odometer = 12345.4, fuel[0].Station = std::string(23, 's') + "€tail", fuel[0].CellTemp = 7;
    fuel[0].Invoice = "é42", fuel[0].Quantity = 12.5, fuel[0].UnitPrice = 1.2;
    const Page fuelPage = byView(fuel, 0)[0];
    fuelPage.expectAll({"  12345 ", std::string(23, 's') + "€", "  7 ", std::string(15, ' ') + "é42", "12.500 ",
                        "$1.200 ", "$15.00 ", "FUEL REPORT"});
    for (const char* number : {"  12345 ", "  7 ", "12.500 "})
        EXPECT_TRUE(fuelPage.lineOf(number).find("-100 w700 right") != std::string::npos) << fuelPage.lineOf(number);

    std::vector<CDVItem> trips(1);
    trips[0].EntryType = CDVItem::Trip, trips[0].Odometer = 100, trips[0].EndOdometer = 160;
    trips[0].Cost = 4, trips[0].Parking = 1;
    // The tolls print under "Exp." and again under "Claim"; the total adds the claim of $30.
    const Page trip = byView(trips, 2)[0];
    trip.expectAll({"Exp.", "Tolls", "Claim", "$1.00 ", "$ 35.00 "});
    EXPECT_EQ(trip.count("$4.00 "), 2);
    // Later pages head the seventh and eighth columns "Park" and "Exp.".
    const std::vector<Page> twoPages = byView(std::vector<CDVItem>(33, trips[0]), 2);
    ASSERT_EQ(twoPages.size(), 2u);
    twoPages[1].expectAll({"Park", "Exp."});
    EXPECT_EQ(twoPages[1].count("Tolls"), 0);
}

TEST_F(ReportsTest, ViewBoxShowsTheFiguresOfTheView) {
    facts.lastOdometer = 20000, facts.currentEconomy = 31.256, facts.averageEconomy = 29.5, facts.fuelEntries = 12;
    facts.lastOilChange = 15000, facts.lastTuneUp = 14000, facts.lastTireRotation = 13000;
    facts.lastCoolantFlush = 12000, facts.lastTransService = 11000;
    facts.vehicle.vin = "VIN123", facts.vehicle.plate = "ABC", facts.vehicle.year = 2020;
    facts.printDate = "1.2.2026", facts.printTime = "10:30";
    byView(repairs(1), 0)[0].expectAll({"FAMILY VAN", "VIN:  VIN123", "Plate #:  ABC  Year:  2020  ",
                                        "Report Date:  1.2.2026 10:30", "Current Odometer:    20000",
                                        "Current Fuel Economy:  31.26", "Average Fuel Economy:  29.50",
                                        "Total Fuel Entries:  12"});
    // The box's lines are nine points high.
    EXPECT_TRUE(byView(repairs(1), 0)[0].lineOf("Total Fuel Entries:  12").find(" -75 ") != std::string::npos);
    byView(repairs(1), 1)[0].expectAll({"Last Oil Change:    15000", "Last Tune-Up:    14000",
                                        "Last Tire Rotation:    13000", "Last Coolant Flush:    12000",
                                        "Last Trans. Service:    11000"});
    byView(repairs(1), 3)[0].expectAll({"Last Oil Change:    15000 Last Tune-Up:    14000 ",
                                        "Last Trans. Service :    11000 Current Fuel Economy:  31.26",
                                        "Average Fuel Economy:  29.50 Total Fuel Entries:  12"});
}

TEST_F(ReportsTest, SelectedItemPrintsEveryFieldOfItsKind) {
    CDVItem fuel;
    fuel.CellTemp = 0, fuel.Quantity = 10, fuel.Measure = "Litres", fuel.UnitPrice = 1.5, fuel.FuelDistance = 420;
    fuel.Economy = 30, fuel.EconomyUnit = 2, fuel.Invoice = std::string(1200, 'i');
    CDVItem trip;
    trip.EntryType = CDVItem::Trip, trip.Odometer = 500, trip.EndOdometer = 400, trip.Cost = 2, trip.Parking = 3;
    trip.DepartTime = 0, trip.ArriveTime = 90061;
    facts.vehicle.distanceUnit = 1;
    selected(fuel).expectAll({"Fuel Purchase", " (only used on Hybrid Vehicles)", "10.000 Litres", "$1.500 ", "$15.00 ",
                              "    420 Since last fuel.", "Ecomomy", "30.00 L/100km", std::string(400, 'i'),
                              "Page:1 of 1"});
    // An unfinished trip's negative claim stays out of its total.
    selected(trip).expectAll({"Trip", "    500 Kilometers", "   -100 Kilometers", "d0 t0", "d90061 t90061",
                              "1 Days 01 Hours 01 Min", "$-50.00 @ 0.500 per Kilometer", "$ 5.00 ", "Page:1 of 1"});
    fuel.CellTemp = 7;
    const Page page = selected(fuel);
    page.expectAll({"7 (only used on Hybrid Vehicles)", "Date"});
    // The kind's line sits below the vehicle's name, and the first field right under the headings.
    EXPECT_GT(page.topOf("Fuel Purchase"), page.topOf("FAMILY VAN"));
    EXPECT_LT(page.topOf("Date") - page.topOf("Description"), 2 * 125);
}

TEST_F(ReportsTest, VehicleInfoListsTheRemindersAndNamesUnnamedOnesUndefined) {
    VehicleSettings& v = facts.vehicle;
    v.oilDistance = 5000, v.oilDays = 90, v.tuneDistance = 30000, v.tuneDays = 365, v.distanceUnit = 1;
    v.customNames = {"", "A very long custom reminder", "", "", "Wipers"};
    v.customDistance[4] = 100, v.customDays[4] = 30, v.economyUnit = 4, v.year = 2019, v.make = "Ford";
    v.model = "Transit";
    facts.currentEconomy = 12.345, facts.performanceText = "Performance GOOD. Nothing to suggest.";
    const Page page = vehicleInfo();
    page.expectAll({"Acme Haulage", "FAMILY VAN", "2019 Ford  Transit ", "Oil Change:\t5000    Kilometers \t90   days ",
                    "Tune Up:\t30000   Kilometers \t365  days ",
                    "A very long custom :\t0       Kilometers \t0    days ", "Wipers:\t100     Kilometers \t30   days ",
                    "Current Fuel Economy for this vehicle is 12.35 KPL", "Performance GOOD. Nothing to suggest.",
                    "Page:1 of 1"});
    EXPECT_EQ(page.count("Undefined:\t0       Kilometers \t0    days "), 3);
}

TEST_F(ReportsTest, LogoFallsBackToTheProgramsOwnWhenLogoBmpCannotBeRead) {
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "odrivo_report_logo";
    std::filesystem::create_directories(folder);
    const std::string logo = (folder / "Logo.bmp").string();
    std::filesystem::remove(logo);
    facts.configFolder = folder.string(); // without the trailing '/'
    auto bitmaps = [&] {
        std::vector<std::string> found;
        for (const std::string& line : vehicleInfo().others)
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
    // Each fixed service kind at its own odometer, so a mixed-up kind shows.
    const std::pair<double, const char*> entries[] = {{1050, "Fuel"},         {1100, "Oil Change"}, {1200, "Cool"},
                                                      {1300, "Transmission"}, {1400, "Rotate"},     {1600, "Fuel"}};
    for (const auto& [odometer, entry] : entries) {
        auto item = std::make_unique<CDVItem>();
        item->EntryType = entry[0] == 'F' ? CDVItem::Fuel : CDVItem::Repair, item->Odometer = odometer;
        item->Entry = entry, item->Economy = odometer / 50, item->Quantity = 10;
        doc.append(std::move(item));
    }
    VehicleSettings vehicle;
    vehicle.name = "My Car", vehicle.startOdometer = 1000;
    CViewRefresh view;
    const CViewRefresh::Result refresh = view.run(doc, {3}, 0);
    const FixedLocale locale("€");
    const ReportFacts facts =
        ReportFacts::gather(vehicle, doc, refresh, locale, utcTime(2026, 3, 4, 5, 6), "/cfg/", ":/logo");
    // Latest odometer, fuel count, economy Current and AVG, then the services (tune-up: none, the start odometer).
    EXPECT_EQ((std::vector<double>{facts.lastOdometer, double(facts.fuelEntries), facts.currentEconomy,
                                   facts.averageEconomy, facts.lastOilChange, facts.lastCoolantFlush,
                                   facts.lastTransService, facts.lastTireRotation, facts.lastTuneUp}),
              (std::vector<double>{1600, 2, 32, 26.5, 1100, 1200, 1300, 1400, 1000}));
    EXPECT_EQ(facts.vehicleName + "|" + facts.performanceText, "My Car|Not enough data to calculate performance");
    EXPECT_EQ(facts.currency + facts.printDate + " " + facts.printTime, "€04.03.2026 05:06");
    EXPECT_EQ(facts.shortDate(86400) + " " + facts.timeOfDay(3600), "02.01.1970 01:00");
    EXPECT_EQ(facts.configFolder + facts.ownLogoPath, "/cfg/:/logo");
    EXPECT_EQ(ReportFacts::gather(vehicle, doc, refresh, FixedLocale("ABCD"), 0, "", "").currency, "$");
}
