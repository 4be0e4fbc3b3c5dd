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

#include <string>
#include <tuple>
#include <vector>

namespace {

const DVTime kStart = utcTime(2026, 1, 15, 9, 41);
using C = CColumnMap;
// Odometer, date, type, entry, quantity, price, partial fill, station, economy after Recalculate.
using Entry = std::tuple<double, DVTime, int, std::string, double, double, int, std::string, double>;

void importFile(CVehicleLogDoc& doc, const std::string& path, const CColumnMap& map, const VehicleSettings& vehicle,
                const CsvDateStyle& dates, const CsvNumberStyle& numbers = {}) {
    CCsvImport importer(map, vehicle, dates, kStart);
    importer.setNumberStyle(numbers);
    const CsvImportResult result = importer.run(path, CCsvImport::readHeadings(path).dataStart, doc);
    EXPECT_TRUE(result.ok()) << result.message;
}

TEST(CsvRealImport, OtherProgramsFilesImportThroughTheProposedMap) {
    TimeZone utc("UTC0");
    const int fuel = CDVItem::Fuel;
    // The US files: 650 miles since the last full fill on the partial fill's 20 gallons and the last 30.
    const std::vector<Entry> web = {{10250, utcTime(2024, 1, 5, 8, 30), fuel, "Fuel", 40, 3.459, 0, "Shell", 0},
                                    {10650, utcTime(2024, 1, 19, 17, 45), fuel, "Fuel", 20, 3.399, 1, "Costco", 0},
                                    {10900, utcTime(2024, 1, 26, 7, 10), fuel, "Fuel", 30, 3.299, 0, "Shell", 13}};
    std::vector<Entry> spreadsheet = web;
    std::get<7>(spreadsheet[0]) = std::get<7>(spreadsheet[2]) = "Shell, Main St";
    spreadsheet.insert(spreadsheet.begin() + 1,
                       {10400, utcTime(2024, 1, 12, 14, 15), CDVItem::Repair, "Oil change", 0, 0, 0, "Jiffy", 0});
    // Kilometres, litres and L/100km: 650 km on 38 litres.
    const std::vector<Entry> euro = {
        {12250, utcTime(2024, 1, 5, 9, 41), fuel, "Fuel", 40.5, 1.659, 0, "Aral", 0},
        {12900, utcTime(2024, 1, 19, 9, 41), fuel, "Fuel", 38, 1.629, 0, "Shell", 100 * 38 / 650.0}};
    const CsvNumberStyle euroNumbers{",", ".", ""};
    using Case = std::tuple<const char*, CsvDateStyle, CsvNumberStyle, const char*, std::vector<Entry>>;
    for (const auto& [file, dates, numbers, fixedEntry, entries] :
         {Case{"web_fuel_log.csv", {}, {}, "Fuel", web},
          Case{"spreadsheet_us.csv", {}, {".", ",", ""}, "", spreadsheet},
          Case{"euro_log.csv", {1, "."}, euroNumbers, "Fuel", euro},
          Case{"euro_log_utf16le.csv", {1, "."}, euroNumbers, "Fuel", euro},
          Case{"euro_log_utf16be.csv", {1, "."}, euroNumbers, "Fuel", euro}}) {
        SCOPED_TRACE(file);
        const std::string path = std::string(ODRIVO_TEST_DATA "/import/") + file;
        CColumnMap map = CHeadingMatcher::proposedMap(CCsvImport::readHeadings(path).columns);
        map.setFixedEntry(fixedEntry);
        VehicleSettings vehicle;
        if (numbers.decimalPoint == ",")
            vehicle.distanceUnit = 1, vehicle.economyUnit = 2, vehicle.liquid = 2;
        CVehicleLogDoc doc;
        importFile(doc, path, map, vehicle, dates, numbers);
        CEconomyCalculator::recalculate(doc, {0, vehicle.distanceUnit, vehicle.economyUnit});
        ASSERT_EQ(doc.size(), entries.size());
        for (std::size_t i = 0; i < doc.size(); ++i) {
            const CDVItem& e = doc.at(i);
            const auto& [odometer, date, type, text, quantity, price, partial, station, economy] = entries[i];
            EXPECT_EQ(std::tuple(e.Odometer, e.Date, e.EntryType, e.Entry, e.PartialFill, e.Station),
                      std::tuple(odometer, date, type, text, partial, station));
            EXPECT_NEAR(e.Quantity, quantity, 1e-9);
            EXPECT_NEAR(e.UnitPrice, price, 1e-9);
            EXPECT_NEAR(e.Economy, economy, 1e-9);
            if (type == CDVItem::Repair) { // its cost from the file's total
                EXPECT_EQ(e.Cost, 59);
            }
        }
    }
}

// Our own export's headings map every field it writes, and its entries export again the same.
TEST(CsvRealImport, OwnExportRoundTripsThroughTheProposedMap) {
    TimeZone utc("UTC0");
    // Each holds the fields of its kind that the export writes (the cell temperature is not read back).
    std::vector<CDVItem> entries(3);
    std::vector<CDVItem*> shown;
    for (int type : {CDVItem::Fuel, CDVItem::Repair, CDVItem::Trip}) {
        CDVItem& e = entries[type];
        std::tie(e.EntryType, e.Entry, e.Odometer, e.Date) =
            std::tuple(type, CDVItem::typeLabel(type), 1000 + type, utcTime(2023, 11, 14, 9, 41));
        std::tie(e.Station, e.Measure, e.Invoice, e.Note, e.Cost) =
            std::tuple("Shell", "Litres", "INV-7", "note", 45.25);
        shown.push_back(&e);
    }
    std::tie(entries[0].Quantity, entries[0].UnitPrice, entries[0].Economy) = std::tuple(30.125, 1.5, 6.8);
    CDVItem& trip = entries[2];
    std::tie(trip.Purpose, trip.Destination, trip.Contact, trip.EndOdometer, trip.Parking, trip.DepartTime,
             trip.ArriveTime) =
        std::tuple("Visit", "Brno", "Eva", 1050, 2.5, utcTime(2023, 11, 14, 22, 15), utcTime(2023, 11, 14, 23, 15));
    const logtest::TempFolder folder;
    const std::string path = folder.file("own.csv"), bytes = CCsvExport::fileBytes(shown, 3, FixedLocale());
    logtest::writeFile(path, bytes);
    CVehicleLogDoc doc;
    importFile(doc, path, CHeadingMatcher::proposedMap(CCsvImport::readHeadings(path).columns), VehicleSettings{},
               {1, "."});
    std::vector<CDVItem*> imported;
    for (std::size_t i = 0; i < doc.size(); ++i)
        imported.push_back(&doc.at(i));
    EXPECT_EQ(CCsvExport::fileBytes(imported, 3, FixedLocale()), bytes);
}

// The usual words the files above do not use: brackets and punctuation, and near misses.
TEST(CsvRealImport, HeadingsNameFieldsInTheUsualWords) {
    using H = std::pair<const char*, int>;
    for (const auto& [heading, slot] :
         {H{"Odometer (mi)", C::Odometer}, H{" KM ", C::Odometer}, H{"Price/Gallon", C::FuelPrice},
          H{"Partial Fill-up", C::PartialFill}, H{"Category", C::EntryType}, H{"Fuel Cost", C::FuelCost},
          H{"Fuel Type", -1}, H{"Missed fill up", -1}, H{"Odometer reading km", -1}, H{"", -1}})
        EXPECT_EQ(CHeadingMatcher::slotOf(heading), slot) << heading;
    // The first heading naming a field gets it; columns past a line's 28 fields map nothing.
    std::vector<std::string> headings = {"Notes", "Date", "Note", "Mileage"};
    headings.resize(30, "x");
    headings.back() = "Station";
    const CColumnMap map = CHeadingMatcher::proposedMap(headings);
    EXPECT_EQ(std::tuple(map.column(C::Notes), map.column(C::Date), map.column(C::Odometer), map.isMapped(C::Station)),
              std::tuple(0, 1, 3, false));
}

TEST(CsvRealImport, NumbersWithCurrencySignsAndLocaleSeparatorsAndPartialFills) {
    const CsvNumberStyle plain, us{".", ",", ""}, euro{",", ".", "kr"};
    using N = std::tuple<const char*, const CsvNumberStyle*, double>;
    for (const auto& [field, style, value] :
         {N{"$3.459", &plain, 3.459}, N{" -$3.50", &plain, -3.5}, N{"\u00A3 12", &plain, 12},
          N{"\u20AC1,269", &euro, 1.269}, N{"\u20B9100", &plain, 100}, N{"kr 12,5", &euro, 12.5},
          N{"1,234,567.5", &us, 1234567.5}, N{"12,34", &us, 12}, N{"1,2345", &us, 1}, N{"1.234,5", &euro, 1234.5},
          N{"3.45", &euro, 3.45}, N{"1,234", &plain, 1}, N{"1e5", &us, 0}, N{"$1e5", &plain, 0}, N{"abc", &euro, 0},
          N{"x12", &plain, 0}, N{"-", &plain, 0}, N{" 12.5 km", &plain, 12.5}, N{",345", &us, 0}})
        EXPECT_EQ(CCsvImport::parseNumber(field, *style), value) << field;
    using Y = std::pair<const char*, bool>;
    for (const auto& [field, yes] :
         {Y{"true", true}, Y{" y ", true}, Y{" ", false}, Y{"yes please", false}, Y{"2", false}})
        EXPECT_EQ(CCsvImport::isYes(field), yes) << field;
}

// The fixed kind applies only while EntryType is unmapped; a partial fill is only a fuel entry's.
TEST(CsvRealImport, FixedEntryKindAndPartialFills) {
    using F = std::tuple<const char*, int, int, int, int>; // fixed, type column, type, icon, partial
    for (const auto& [fixed, typeColumn, type, icon, partial] :
         {F{"Trip", -1, CDVItem::Trip, 2, 0}, F{"Oil change", -1, CDVItem::Repair, 4, 0},
          F{"Trip", 2, CDVItem::Fuel, 0, 1}}) {
        CColumnMap map;
        for (const auto& [slot, column] : {std::pair(C::Odometer, 0), {C::PartialFill, 1}, {C::EntryType, typeColumn}})
            map.setColumn(slot, column);
        map.setFixedEntry(fixed);
        CVehicleLogDoc doc;
        ASSERT_TRUE(CCsvImport(map, VehicleSettings{}, {}, kStart).importBytes("O\n100,yes,Gas\n", 2, doc).ok());
        ASSERT_EQ(doc.size(), 1u);
        EXPECT_EQ(std::tuple(doc.at(0).EntryType, doc.at(0).Icon, doc.at(0).PartialFill),
                  std::tuple(type, icon, partial))
            << fixed;
    }
    // UTF-16 beyond the files' letters: a surrogate pair is one character, an odd last byte none.
    EXPECT_EQ(odrivo::csvTextToUtf8(std::string("\xFF\xFE\x41\0=\xD8\x97\xDE\0", 9)), "A\U0001F697");
}

} // namespace
