// Importing the files other vehicle logs and spreadsheets write (tests/data/import): the map
// their headings propose, a fixed entry kind, partial fills, ISO dates, currency numbers and
// UTF-16. Local times are checked in UTC.

#include "exchange/csv_export.h"
#include "exchange/csv_import.h"
#include "exchange/csv_text.h"
#include "exchange/heading_matcher.h"

#include "../calc/fixed_locale.h"
#include "../store/log_file_bytes.h"
#include "calc/economy_calculator.h"
#include "store/vehicle_log_doc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace {

const DVTime kStart = utcTime(2026, 1, 15, 9, 41);
using C = CColumnMap;

// What an imported entry is checked for.
struct Expected {
    double odometer;
    DVTime date;
    int type;
    std::string entry;
    double quantity;
    double price;
    int partial;
    std::string station;
    double economyAfterRecalculate;
};

struct FileCase {
    const char* file;
    CsvDateStyle dates;
    CsvNumberStyle numbers;
    const char* fixedEntry;
    bool metric; // km, L/100km and litres, else miles, MPG and US gallons
    std::vector<Expected> entries;
};

const std::vector<Expected> kUsFills = {
    {10250, utcTime(2024, 1, 5, 8, 30), CDVItem::Fuel, "Fuel", 40, 3.459, 0, "", 0},
    {10650, utcTime(2024, 1, 19, 17, 45), CDVItem::Fuel, "Fuel", 20, 3.399, 1, "Costco", 0},
    // 650 miles since the last full fill on the partial fill's 20 gallons and these 30.
    {10900, utcTime(2024, 1, 26, 7, 10), CDVItem::Fuel, "Fuel", 30, 3.299, 0, "", 13},
};
const std::vector<Expected> kEuroFills = {
    {12250, utcTime(2024, 1, 5, 9, 41), CDVItem::Fuel, "Fuel", 40.5, 1.659, 0, "Aral", 0},
    {12900, utcTime(2024, 1, 19, 9, 41), CDVItem::Fuel, "Fuel", 38, 1.629, 0, "Shell", 100 * 38 / 650.0},
};
const CsvNumberStyle kEuro{",", ".", ""};

std::vector<Expected> withStations(std::vector<Expected> entries, const char* first, const char* last) {
    entries.front().station = first;
    entries.back().station = last;
    return entries;
}

TEST(CsvRealImport, OtherProgramsFilesImportThroughTheProposedMap) {
    TimeZone utc("UTC0");
    std::vector<Expected> spreadsheet = withStations(kUsFills, "Shell, Main St", "Shell, Main St");
    spreadsheet.insert(spreadsheet.begin() + 1,
                       {10400, utcTime(2024, 1, 12, 14, 15), CDVItem::Repair, "Oil change", 0, 0, 0, "Jiffy", 0});
    const FileCase cases[] = {
        {"web_fuel_log.csv", {}, {}, "Fuel", false, withStations(kUsFills, "Shell", "Shell")},
        {"spreadsheet_us.csv", {}, {".", ",", ""}, "", false, spreadsheet},
        {"euro_log.csv", {1, "."}, kEuro, "Fuel", true, kEuroFills},
        {"euro_log_utf16le.csv", {1, "."}, kEuro, "Fuel", true, kEuroFills},
        {"euro_log_utf16be.csv", {1, "."}, kEuro, "Fuel", true, kEuroFills},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = std::string(ODRIVO_TEST_DATA "/import/") + c.file;
        const CsvHeadings headings = CCsvImport::readHeadings(path);
        ASSERT_TRUE(headings.ok) << headings.message;
        CColumnMap map = CHeadingMatcher::proposedMap(headings.columns);
        map.setFixedEntry(c.fixedEntry);
        VehicleSettings vehicle;
        if (c.metric)
            vehicle.distanceUnit = 1, vehicle.economyUnit = 2, vehicle.liquid = 2;
        CCsvImport importer(map, vehicle, c.dates, kStart);
        importer.setNumberStyle(c.numbers);
        CVehicleLogDoc doc;
        const CsvImportResult result = importer.run(path, headings.dataStart, doc);
        ASSERT_TRUE(result.ok()) << result.message;
        CEconomyCalculator::recalculate(doc, {0, vehicle.distanceUnit, vehicle.economyUnit});
        ASSERT_EQ(doc.size(), c.entries.size());
        for (std::size_t i = 0; i < doc.size(); ++i) {
            const CDVItem& e = doc.at(i);
            const Expected& x = c.entries[i];
            EXPECT_EQ(std::tuple(e.Odometer, e.Date, e.EntryType, e.Entry, e.PartialFill, e.Station),
                      std::tuple(x.odometer, x.date, x.type, x.entry, x.partial, x.station))
                << "entry " << i;
            EXPECT_NEAR(e.Quantity, x.quantity, 1e-9) << "entry " << i;
            EXPECT_NEAR(e.UnitPrice, x.price, 1e-9) << "entry " << i;
            EXPECT_NEAR(e.Economy, x.economyAfterRecalculate, 1e-6) << "entry " << i;
            if (e.EntryType == CDVItem::Repair) // its cost from the file's total
                EXPECT_EQ(e.Cost, 59);
        }
    }
}

// Our own export's headings map every field it writes, and the entries come back as they were.
TEST(CsvRealImport, OwnExportRoundTripsThroughTheProposedMap) {
    TimeZone utc("UTC0");
    std::vector<CDVItem> entries(3, logtest::filledItem());
    std::vector<CDVItem*> shown;
    for (int type = 0; type < 3; ++type) {
        entries[type].EntryType = type;
        entries[type].Odometer = 1000 + type;
        entries[type].Entry = type == 0 ? "Fuel" : type == 1 ? "Tires" : "Trip";
        entries[type].Measure = "Litres";
        shown.push_back(&entries[type]);
    }
    const logtest::TempFolder folder;
    const std::string path = folder.file("own.csv");
    logtest::writeFile(path, CCsvExport::fileBytes(shown, 3, FixedLocale()));
    const CsvHeadings headings = CCsvImport::readHeadings(path);
    CVehicleLogDoc doc;
    ASSERT_TRUE(CCsvImport(CHeadingMatcher::proposedMap(headings.columns), VehicleSettings{}, {1, "."}, kStart)
                    .run(path, headings.dataStart, doc)
                    .ok());
    ASSERT_EQ(doc.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const CDVItem& e = doc.at(i);
        CDVItem x = entries[i];
        EXPECT_EQ(std::tuple(e.EntryType, e.Entry, e.Odometer, e.Station, e.Measure, e.Invoice, e.Note, e.Cost),
                  std::tuple(x.EntryType, x.Entry, x.Odometer, x.Station, x.Measure, x.Invoice, x.Note, x.Cost));
        // The export writes the day only; the time of day is the program's start.
        EXPECT_EQ(e.Date / 86400, x.Date / 86400);
        EXPECT_EQ((std::vector<double>{e.Quantity, e.UnitPrice}),
                  (std::vector<double>{i == 0 ? x.Quantity : 0, i == 0 ? x.UnitPrice : 0}));
        x.EndOdometer = std::round(x.EndOdometer); // written without decimals
        if (i == 2)
            EXPECT_EQ(
                std::tuple(e.Purpose, e.Destination, e.Contact, e.EndOdometer, e.Parking, e.DepartTime, e.ArriveTime),
                std::tuple(x.Purpose, x.Destination, x.Contact, x.EndOdometer, x.Parking, x.DepartTime, x.ArriveTime));
    }
}

TEST(CsvRealImport, HeadingsNameFieldsInTheUsualWords) {
    using H = std::pair<const char*, int>;
    for (const auto& [heading, slot] :
         {H{"Odometer (mi)", C::Odometer}, H{" KM ", C::Odometer}, H{"Fuelup Date", C::Date},
          H{"Fuel Quantity", C::FuelQty}, H{"Liters", C::FuelQty}, H{"Price/Gallon", C::FuelPrice},
          H{"Price per Unit", C::FuelPrice}, H{"Total Cost", C::TollsMaint}, H{"Brand", C::Station},
          H{"Comments", C::Notes}, H{"Partial Fill-up", C::PartialFill}, H{"Category", C::EntryType},
          H{"Fuel Cost", C::FuelCost}, H{"Tolls & Maint cost", C::TollsMaint}, H{"Depart Date/Time", C::DepartDate},
          H{"Fuel Type", -1}, H{"Missed fill up", -1}, H{"Odometer reading km", -1}, H{"", -1}})
        EXPECT_EQ(CHeadingMatcher::slotOf(heading), slot) << heading;
    // The first heading naming a field gets it; columns past a line's 28 fields map nothing.
    std::vector<std::string> headings = {"Notes", "Date", "Note", "Mileage"};
    headings.resize(30, "x");
    headings.back() = "Station";
    const CColumnMap map = CHeadingMatcher::proposedMap(headings);
    EXPECT_EQ(std::tuple(map.column(C::Notes), map.column(C::Date), map.column(C::Odometer), map.isMapped(C::Station),
                         map.fixedEntry()),
              std::tuple(0, 1, 3, false, std::string()));
}

TEST(CsvRealImport, NumbersWithCurrencySignsAndLocaleSeparators) {
    const CsvNumberStyle plain, us{".", ",", ""}, euro{",", ".", "kr"};
    using N = std::tuple<const char*, const CsvNumberStyle*, double>;
    for (const auto& [field, style, value] :
         {N{"$3.459", &plain, 3.459}, N{" -$3.50", &plain, -3.5}, N{"\u00A3 12", &plain, 12},
          N{"\u20AC1,269", &euro, 1.269}, N{"\u20B9100", &plain, 100}, N{"kr 12,5", &euro, 12.5},
          N{"1,234,567.5", &us, 1234567.5}, N{"12,34", &us, 12}, N{"1,2345", &us, 1}, N{"1.234,5", &euro, 1234.5},
          N{"3.45", &euro, 3.45}, N{"1,234", &plain, 1}, N{"1e5", &us, 0}, N{"$1e5", &plain, 0}, N{"abc", &euro, 0},
          N{"x12", &plain, 0}, N{"-", &plain, 0}, N{" 12.5 km", &plain, 12.5}})
        EXPECT_EQ(CCsvImport::parseNumber(field, *style), value) << field;
    for (const char* yes : {"1", "true", "YES", " y ", "Y"})
        EXPECT_TRUE(CCsvImport::isYes(yes)) << yes;
    for (const char* no : {"0", "no", "", " ", "yes please", "2"})
        EXPECT_FALSE(CCsvImport::isYes(no)) << no;
}

// The fixed kind applies only while EntryType is unmapped; a partial fill is only a fuel entry's.
TEST(CsvRealImport, FixedEntryKindAndPartialFills) {
    // Columns: odometer, partial fill, type.
    using F =
        std::tuple<const char*, bool, const char*, int, int, int>; // fixed, type mapped, line, type, icon, partial
    for (const auto& [fixed, typeMapped, line, type, icon, partial] :
         {F{"Fuel", false, "100,yes,Trip", CDVItem::Fuel, 0, 1}, F{"Trip", false, "100,1,Fuel", CDVItem::Trip, 2, 0},
          F{"Oil change", false, "100,1,", CDVItem::Repair, 4, 0}, F{"Trip", true, "100,true,Gas", CDVItem::Fuel, 0, 1},
          F{"Fuel", false, "100,no,", CDVItem::Fuel, 0, 0}}) {
        SCOPED_TRACE(line);
        CColumnMap map;
        map.setColumn(C::Odometer, 0);
        map.setColumn(C::PartialFill, 1);
        map.setColumn(C::EntryType, typeMapped ? 2 : -1);
        map.setFixedEntry(fixed);
        CVehicleLogDoc doc;
        const std::string bytes = std::string("Odo,Partial,Type\n") + line + "\n";
        ASSERT_TRUE(CCsvImport(map, VehicleSettings{}, {}, kStart).importBytes(bytes, 17, doc).ok());
        ASSERT_EQ(doc.size(), 1u);
        EXPECT_EQ(std::tuple(doc.at(0).EntryType, doc.at(0).Icon, doc.at(0).PartialFill),
                  std::tuple(type, icon, partial));
    }
}

TEST(CsvRealImport, Utf16NeedsItsMarkAndKeepsEveryCharacter) {
    using T = std::pair<std::string, std::string>;
    for (const auto& [bytes, text] :
         {T{std::string("\xFF\xFE"
                        "A\0\xAC\x20,\0=\xD8\x97\xDE",
                        12),
            "A\u20AC,\U0001F697"},
          T{std::string("\xFE\xFF\0A\0B\0", 7), "AB"}, T{std::string("A\0B\0", 4), std::string("A\0B\0", 4)},
          T{"\xEF\xBB\xBF"
            "Caf\xC3\xA9",
            "\xEF\xBB\xBF"
            "Caf\u00E9"},
          T{"Caf\xE9", "Caf\u00E9"}})
        EXPECT_EQ(odrivo::csvTextToUtf8(bytes), text);
}

} // namespace
