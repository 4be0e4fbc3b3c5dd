// The CSV exchange: CCsvImport, CColumnMap (saved through the profile), CCsvExport (dates from
// FixedLocale: day.month.year, 24-hour, UTC) and CExportName. Local times are checked in UTC.

#include "exchange/csv_export.h"
#include "exchange/csv_import.h"
#include "exchange/export_name.h"

#include "../calc/fixed_locale.h"
#include "../store/log_file_bytes.h"
#include "store/app_profile.h"
#include "store/vehicle_log_doc.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

using logtest::readFile;
using logtest::TempFolder;
using Scan = CCsvImport::ScanStatus;
using Strings = std::vector<std::string>;

namespace {

const DVTime kStart = utcTime(2026, 1, 15, 9, 41);
const std::string kHeading = "Type,Odo,Date\r\n";

std::string repeat(const std::string& text, int count) {
    std::string out;
    while (count-- > 0)
        out += text;
    return out;
}

// Column order of the test files: type, odometer, date, then the given slots.
CColumnMap basicMap(std::vector<int> slots = {}) {
    slots.insert(slots.begin(), {CColumnMap::EntryType, CColumnMap::Odometer, CColumnMap::Date});
    CColumnMap map;
    for (std::size_t column = 0; column < slots.size(); ++column)
        map.setColumn(slots[column], static_cast<int>(column));
    return map;
}

VehicleSettings vehicle(int liquid = 0) {
    VehicleSettings v;
    v.distanceUnit = 1;
    v.economyUnit = 2;
    v.liquid = liquid;
    return v;
}

CsvImportResult importLines(CVehicleLogDoc& doc, const std::string& lines, CColumnMap map = basicMap(),
                            int liquid = 0) {
    return CCsvImport(map, vehicle(liquid), CsvDateStyle{}, kStart).importBytes(kHeading + lines, kHeading.size(), doc);
}

TEST(CsvImportHeadings, ListsNonEmptyHeadingsWhereDataStartsAndErrors) {
    // The heading line is read up to 512 characters (the 513th, "Z", is cut off).
    const std::string wide = "\u00E9," + std::string(510, 'b') + "Z\n";
    const std::tuple<std::string, Strings, std::size_t> cases[] = {
        {"\"Date\",\"Odometer\",\"Entry\"\r\n\"1\"", {"Date", "Odometer", "Entry"}, 27},
        {"A,,B, \"C\" ,\r\nx", {"A", "B", " \"C\" "}, 13},
        {"\xEF\xBB\xBF\"Date\",\"Odo\"\n", {"Date", "Odo"}, 16},
    };
    EXPECT_EQ(CCsvImport::headingsOf(wide).columns, (Strings{"\u00E9", std::string(510, 'b')}));
    for (const auto& [bytes, columns, dataStart] : cases) {
        const CsvHeadings h = CCsvImport::headingsOf(bytes);
        EXPECT_EQ(std::tuple(h.ok, h.columns, h.dataStart), std::tuple(true, columns, dataStart)) << bytes;
    }
    const CsvHeadings noComma = CCsvImport::headingsOf("Just one heading\r\n1,2,3\r\n");
    EXPECT_TRUE(!noComma.ok && noComma.message.starts_with("ERROR 2201: The CSV file selected")) << noComma.message;
}

TEST(CsvImportScanner, SplitsLinesAndRefusesBadOnes) {
    const std::string hans = repeat("\u6C49", 100); // 100 characters, 300 bytes
    const std::string fields28 = repeat(",1", 28).substr(1);
    // name, chunk, status, the leading slots (the rest must be " "), bytes consumed
    const Scan ok = Scan::Line;
    const std::tuple<const char*, std::string, Scan, Strings, std::size_t> cases[] = {
        {"quoted comma stays", "\"a,b\",\"c\"\r\n", ok, {"a,b", "c"}, 11},
        {"inner quote kept, end quote dropped", "ab\"cd,ef\",\"z\"\r\n", ok, {"ab\"cd", "ef", "z"}, 15},
        // Blanks go before the trailing comma does, so the one before it stays.
        {"empty fields are blank", ",, x ,\r\n", ok, {" ", " ", "x ", " "}, 8},
        {"one-character last field ends at CR", "a,b\r\n", ok, {"a", "b", " "}, 5},
        {"the LF past the chunk is not the line's", "a,b\r", ok, {"a", "b"}, 4},
        {"LF ends a line", "Fuel,12\nGas,9\n", ok, {"Fuel", "12"}, 8},
        {"lone CR ends a line", "Fuel,12\rGas,9\r", ok, {"Fuel", "12"}, 8},
        {"tabs are the text's, blanks are trimmed", " \tx\t,y\r\n", ok, {"\tx\t", "y"}, 8},
        {"limit counts characters", hans + ",1\r\n", ok, {hans, "1"}, hans.size() + 4},
        {"quote then LF ends a field", "\"x\",\"long text\"\n", ok, {"x", "long text"}, 16},
        {"124 characters and a comma", std::string(124, 'x') + ",\r\n", ok, {std::string(124, 'x')}, 127},
        {"125 characters without an end", std::string(125, 'x') + ",\r\n", Scan::FormatError, {}, 0},
        {"28 fields", fields28 + "\r\n", ok, Strings(28, "1"), fields28.size() + 2},
        {"29 fields", fields28 + ",2\r\n", Scan::TooManyFields, {}, 0},
    };
    for (const auto& [name, chunk, status, leading, used] : cases) {
        SCOPED_TRACE(name);
        CCsvImport::LineBuffer fields;
        fields.fill("stale");
        std::size_t consumed = 0;
        ASSERT_EQ(CCsvImport::scanLine(chunk, fields, consumed), status);
        if (status != ok)
            continue;
        EXPECT_EQ(consumed, used);
        for (std::size_t i = 0; i < fields.size(); ++i)
            EXPECT_EQ(fields[i], i < leading.size() ? leading[i] : " ") << "slot " << i;
    }
}

TEST(CsvImportEntries, TypeIconMeasureAndFieldsByKeyword) {
    // Columns after type, odometer and date: quantity, price, end odometer, purpose, tolls,
    // station, measure, invoice, notes.
    const CColumnMap map = basicMap({CColumnMap::FuelQty, CColumnMap::FuelPrice, CColumnMap::EndOdo,
                                     CColumnMap::Purpose, CColumnMap::TollsMaint, CColumnMap::Station,
                                     CColumnMap::Measure, CColumnMap::Invoice, CColumnMap::Notes});
    // line, liquid, type, icon, measure, quantity, end odometer, purpose
    const std::tuple<std::string, int, int, int, const char*, double, double, const char*> cases[] = {
        {"FUEL,100,,12.5,1.9,500,Work,3,Shell", 2, CDVItem::Fuel, 0, "Litre", 12.5, 0, ""},
        {"Gas,100,,10,,,,,", 1, CDVItem::Fuel, 0, "Imp.Gallons", 10, 0, ""},
        {"fuel,100,,10,,,,,", 0, CDVItem::Fuel, 0, "Gallons", 10, 0, ""},
        {"Fuel,100,,10,,,,,,gallon", 2, CDVItem::Fuel, 0, "Gallons", 10, 0, ""},
        {"Fuel,100,,10,,,,,,Imperial", 2, CDVItem::Fuel, 0, "Imp. Gallons", 10, 0, ""},
        {"Fuel,100,,10,,,,,, litres", 0, CDVItem::Fuel, 0, "Litres", 10, 0, ""},
        {"Fuel,100,,10,,,,,,kWh", 2, CDVItem::Fuel, 0, "Litre", 10, 0, ""},
        {"Tire rotation,100,,10,,,,,", 2, CDVItem::Repair, 17, " ", 0, 0, ""},
        {"Business,100,,10,,500,Work,,", 0, CDVItem::Trip, 2, " ", 0, 500, "Work"},
        {"Gas trip,100,,10,,500,Work,,", 2, CDVItem::Trip, 2, "Litre", 10, 500, "Work"},
        {"Fuel,100,,1e5,,,,,", 2, CDVItem::Fuel, 0, "Litre", 0, 0, ""},
    };
    for (const auto& [line, liquid, type, icon, measure, quantity, endOdometer, purpose] : cases) {
        SCOPED_TRACE(line);
        CVehicleLogDoc doc;
        ASSERT_TRUE(importLines(doc, line + "\r\n", map, liquid).ok());
        ASSERT_EQ(doc.size(), 1u);
        const CDVItem& e = doc.at(0);
        EXPECT_EQ((Strings{e.Entry, e.Measure, e.Purpose}),
                  (Strings{line.substr(0, line.find(',')), measure, purpose}));
        // No date in the field: the program's start time.
        EXPECT_EQ(std::tuple(e.EntryType, e.Icon, e.Date, e.SpareTime), std::tuple(type, icon, kStart, kStart));
        const bool fuel = type == CDVItem::Fuel || quantity != 0;
        EXPECT_EQ((std::vector<double>{e.Quantity, e.EndOdometer, e.Odometer, double(e.DistanceUnit), e.EconomyUnit}),
                  (std::vector<double>{quantity, endOdometer, 100, fuel ? 1.0 : 0, fuel ? 2.0 : 0}));
    }
    CVehicleLogDoc doc;
    ASSERT_TRUE(importLines(doc, "Fuel,50,,,,,,42.5,Garage,,INV-7,\"Paid, cash\"\r\n", map).ok());
    EXPECT_EQ((Strings{doc.at(0).Station, doc.at(0).Invoice, doc.at(0).Note}),
              (Strings{"Garage", "INV-7", "Paid, cash"}));
    EXPECT_DOUBLE_EQ(doc.at(0).Cost, 42.5);
}

TEST(CsvImportRun, CountsSkipsErrorsAndMessages) {
    const auto done = [](int imported, int skipped) {
        return "Import Complete!\nImported " + std::to_string(imported) + " lines\nSkipped " + std::to_string(skipped) +
               " Lines";
    };
    const std::string two = "Fuel,100,\r\nFuel,200,\r\n";
    const CsvImportStatus ok = CsvImportStatus::Completed;
    // name, lines, a slot to unmap or -1, status, inserted (an error keeps those before it), skipped, message
    const std::tuple<const char*, std::string, int, CsvImportStatus, int, int, std::string> cases[] = {
        {"heading only", "", -1, ok, 0, 0, done(0, 0)},
        {"two lines", two, -1, ok, 2, 0, done(0, 0)},
        {"no odometer", "Fuel,0,\r\nFuel,-5,\r\nFuel,abc,\r\nFuel,inf,\r\nFuel,10,\r\n", -1, ok, 1, 4, done(3, 4)},
        {"blank line", "Fuel,10,\r\n\r\n", -1, ok, 1, 1, done(0, 1)},
        {"entry type unmapped", two, CColumnMap::EntryType, ok, 0, 2, done(0, 2)},
        {"last line ends with the file", "Fuel,100,\r\nFuel,200,", -1, ok, 2, 0, done(0, 0)},
        {"last line ends with the file, too long", "Fuel,100,\r\nFuel," + std::string(600, '9'), -1,
         CsvImportStatus::FormatError, 1, 0, CCsvImport::kFormatError},
        {"odometer unmapped", two, CColumnMap::Odometer, CsvImportStatus::OdometerNotMapped, 0, 0,
         "WARNING! The Odometer field must be mapped.  All imported data must have a mileage entry to be valid."},
        {"long field", two + "Fuel," + std::string(200, '9') + ",\r\n", -1, CsvImportStatus::FormatError, 2, 0,
         "Error 3221:\nCSV data format bad,\nPlease refer to manual under Importing CSV files."},
        {"29 fields", two + "Fuel,300" + repeat(",x", 27) + "\r\n", -1, CsvImportStatus::TooManyFields, 2, 0,
         CCsvImport::kTooManyFieldsError},
    };
    for (const auto& [name, lines, unmap, status, inserted, skipped, message] : cases) {
        SCOPED_TRACE(name);
        CColumnMap map = basicMap();
        map.unmap(unmap);
        CVehicleLogDoc doc;
        const CsvImportResult r = importLines(doc, lines, map);
        EXPECT_EQ(std::tuple(r.status, r.inserted, int(doc.size()), r.skipped, r.message),
                  std::tuple(status, inserted, inserted, skipped, message));
    }
    CVehicleLogDoc doc;
    const CsvImportResult missing =
        CCsvImport(basicMap(), vehicle(), CsvDateStyle{}, kStart).run("/nonexistent.csv", 0, doc);
    EXPECT_EQ(std::pair(missing.status, missing.message),
              std::pair(CsvImportStatus::CannotOpen, std::string("ERROR 402: Error opening CSV file")));
}

TEST(CsvImportRun, StopCheckSeesEachLineStartAndStopsBeforeTheLine) {
    CCsvImport importer(basicMap(), vehicle(), CsvDateStyle{}, kStart);
    std::vector<std::size_t> seen; // each line's start, then the text's size
    importer.setStopCheck([&](std::size_t at, std::size_t size) {
        return seen.insert(seen.end(), {at, size}), seen.size() == 6;
    });
    CVehicleLogDoc doc;
    const CsvImportResult r = importer.importBytes(kHeading + "Fuel,100,\r\nFuel,200,\r\nFuel,300,\r\n", 15, doc);
    EXPECT_EQ(std::tuple(r.status, r.inserted, doc.size(), r.message, seen),
              std::tuple(CsvImportStatus::Stopped, 2, std::size_t(2), std::string(),
                         std::vector<std::size_t>{15, 48, 26, 48, 37, 48}));
}

TEST(CsvImportRun, TracksTheLastReading) {
    // A line past the log's last reading is the new last one; one before it leaves none.
    CVehicleLogDoc doc;
    ASSERT_TRUE(importLines(doc, "old 100,100,\r\nold 200,200,\r\n").ok());
    EXPECT_FALSE(importLines(doc, "Wash,200,\r\nWax,50,\r\n").lastOdometer.has_value());
    EXPECT_EQ(importLines(doc, "Tires,300,\r\nWipers,250,\r\n").lastOdometer, 300.0);
    // In a log out of order the highest reading decides wherever it stands; NaN never does.
    CVehicleLogDoc unsorted;
    for (const double odometer : {400.0, std::numeric_limits<double>::quiet_NaN(), 100.0}) {
        unsorted.append(std::make_unique<CDVItem>());
        unsorted.at(unsorted.size() - 1).Odometer = odometer;
    }
    EXPECT_FALSE(importLines(unsorted, "Wash,300,\r\n").lastOdometer.has_value());
    EXPECT_EQ(importLines(unsorted, "Wax,450,\r\nTires,420,\r\n").lastOdometer, 450.0);
}

TEST(CsvImportDates, OrdersTwoDigitYearsTimesAndFallback) {
    TimeZone utc("UTC0");
    const CsvDateStyle mdy{0, "/"}, dmy{1, "."}, ymd{2, "/"};
    const DVTime march4 = utcTime(2005, 3, 4, 9, 41);
    // The day is two characters at most, 02/30 normalises as mktime does, 9999-12-31 is the last day.
    using D = std::tuple<const char*, CsvDateStyle, DVTime>;
    for (const auto& [field, style, expected] :
         {D{"03/04/05", mdy, march4}, D{"03/04/59", mdy, utcTime(2059, 3, 4, 9, 41)},
          D{"03/04/60", mdy, utcTime(1960, 3, 4, 9, 41)}, D{"2005/03/04", ymd, march4}, D{"04.03.2005", dmy, march4},
          D{"03/04/2005 02:30 PM", mdy, utcTime(2005, 3, 4, 14, 30)},
          D{"03/04/2005 12:15 PM", mdy, utcTime(2005, 3, 4, 12, 15)},
          D{"03/04/2005 07:05", mdy, utcTime(2005, 3, 4, 7, 5)}, D{"02/30/2005", mdy, utcTime(2005, 3, 2, 9, 41)},
          D{"03/0405", mdy, march4}, D{"12/31/9999", mdy, utcTime(9999, 12, 31, 9, 41)},
          D{"2147483647.02.2005", dmy, kStart}, D{"03/04/05", CsvDateStyle{5, "/"}, kStart},
          // ISO 8601 whatever the order; seconds and zones are not read.
          D{"2005-03-04", dmy, march4}, D{"2005-3-4 07:05", mdy, utcTime(2005, 3, 4, 7, 5)},
          D{"2005-03-04T23:59:58Z", ymd, utcTime(2005, 3, 4, 23, 59)},
          D{"2005-03-04 7:5", mdy, utcTime(2005, 3, 4, 7, 5)}, D{"2005-03-04x", mdy, kStart},
          D{"2005-13-04", dmy, kStart}, D{"2005-03-04 24:00", mdy, kStart}, D{"2005-03-04T12", mdy, kStart},
          D{"2005-03", mdy, kStart}})
        EXPECT_EQ(CCsvImport::parseDate(field, style, kStart), expected) << field;
    // Anything else falls back to the start time.
    for (const char* field :
         {"4-Mar-2005", "Jun 4 2005", " ", "", "01/02/-2147483648", "-2147483648/02/2005", "13/04/2005", "12/32/2005"})
        EXPECT_EQ(CCsvImport::parseDate(field, mdy, kStart), kStart) << field;
}

TEST(CsvImportDates, StyleFromLocaleDateFormat) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"%m/%d/%Y", 0, "/"},    {"%d.%m.%Y", 1, "."}, {"%Y-%m-%d", 2, "-"}, {"%F", 2, "-"},
        {"%D", 0, "/"},          {"%e/%m/%y", 1, "/"}, {"", 0, "/"},         {"%b %d %Y", 0, " "},
        {"%-d. %B %G", 1, ". "}, {"%g-%h-%d", 2, "-"}};
    for (const auto& [format, order, separator] : cases) {
        const CsvDateStyle s = CCsvImport::dateStyleFrom(format);
        EXPECT_EQ(std::tuple(s.order, s.dateSeparator, s.timeSeparator, s.afternoon),
                  std::tuple(order, std::string(separator), std::string(":"), std::string("PM")))
            << format;
    }
}

TEST(CsvImportRun, ReadsUtf8OrWindows1252AndRemembersTheImport) {
    TempFolder folder;
    const std::string path = folder.file("cafe.csv");
    CColumnMap map = basicMap();
    map.setColumn(CColumnMap::Date, -1);
    map.setColumn(CColumnMap::Station, 2);
    for (const std::string bytes : {"Type,Odo,Station\rFuel,100,Caf\xE9 M\xFCller\r", // Windows-1252
                                    "\xEF\xBB\xBFType,Odo,Station\r\nFuel,100,Caf\xC3\xA9 M\xC3\xBCller\r\n",
                                    "Type,Odo,Station\nFuel,100,Caf\xC3\xA9 M\xC3\xBCller\n"}) {
        SCOPED_TRACE(bytes);
        logtest::writeFile(path, bytes);
        const CsvHeadings headings = CCsvImport::readHeadings(path);
        ASSERT_EQ(headings.columns, (Strings{"Type", "Odo", "Station"}));
        CVehicleLogDoc doc;
        ASSERT_TRUE(CCsvImport(map, vehicle(), CsvDateStyle{}, kStart).run(path, headings.dataStart, doc).ok());
        ASSERT_EQ(doc.size(), 1u);
        EXPECT_EQ(doc.at(0).Station, "Caf\u00E9 M\u00FCller");
    }
    CAppProfile profile(folder.file("Odrivo.ini"));
    std::string error;
    ASSERT_TRUE(CCsvImport::rememberImport(profile, map, "Cafe", path, &error)) << error;
    CColumnMap saved;
    saved.load(profile, "Cafe");
    EXPECT_EQ(saved, map);
    EXPECT_EQ(profile.getText(ProfileKeys::CSVPath), path.substr(0, path.size() - 8)); // name and map: command test
}

// The file holds column + 1 for each of the 28 slots (F0 to F27), 0 for an unmapped one. "Car" is
// refused as a name beside "Car 2", yet its map is still saved under its own section. Values no
// line can have load unmapped, and so does a map never saved; slots and columns past 0..27 too.
TEST(ColumnMap, SaveWritesColumnPlusOneAndLoadsOnlyColumnsALineCanHave) {
    TempFolder folder;
    const std::string path = folder.file("Odrivo.ini");
    CAppProfile profile(path);
    ASSERT_TRUE(profile.putText(ProfileKeys::MapName, 1, "Car 2"));
    CColumnMap map = basicMap({CColumnMap::Notes});
    map.setFixedEntry("Oil change");
    for (const auto& [slot, column] : {std::pair(27, 5), {28, 1}, {-1, 1}, {CColumnMap::Notes, 28}})
        map.setColumn(slot, column);
    EXPECT_FALSE(map.isMapped(CColumnMap::Notes));
    std::string error;
    ASSERT_TRUE(map.save(profile, "Car", &error)) << error;
    const std::string ini = readFile(path);
    for (const char* line : {"[Car]", "F0=1", "F1=2", "F2=3", "F3=0", "F26=0", "F27=6", "FixedEntry=Oil change"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << "\n" << ini;
    EXPECT_EQ(ini.find("F28"), std::string::npos) << ini;
    EXPECT_EQ(CColumnMap::savedNames(profile), Strings{"Car 2"});
    CColumnMap loaded;
    loaded.setColumn(CColumnMap::Notes, 4); // replaced by the load
    loaded.load(CAppProfile(path), "Car");
    EXPECT_EQ(loaded, map);
    EXPECT_FALSE(loaded.save(profile, "", &error));
    EXPECT_FALSE(error.empty());
    const std::pair<const char*, int> cases[] = {{"2147483648", -1}, {"-2147483648", -1}, {"29", -1},
                                                 {"0", -1},          {"28", 27},          {"1", 0}};
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(profile.putText(ProfileKey{"Odd", "F%d", "", 0}, i, cases[i].first));
    loaded.load(profile, "Odd");
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(loaded.column(i), cases[i].second) << cases[i].first;
    loaded.load(profile, "Nothing here");
    EXPECT_EQ(loaded, CColumnMap());
    EXPECT_EQ(profile.getText(ProfileKeys::LastMap), "Car"); // saving names the last map, loading does not
}

// The list of names stops at its first gap; a name is added only when no saved name contains it.
TEST(ColumnMap, AddNameUsesTheSubstringRule) {
    TempFolder gap;
    CAppProfile withGap(gap.file("Odrivo.ini"));
    for (const auto& [index, name] : {std::pair{1, "Van"}, {2, "Truck"}, {4, "Lost"}})
        ASSERT_TRUE(withGap.putText(ProfileKeys::MapName, index, name));
    EXPECT_EQ(CColumnMap::savedNames(withGap), (Strings{"Van", "Truck"}));
    using Case = std::tuple<Strings, const char*, bool, Strings>; // saved, name, added, names after
    for (const auto& [saved, name, added, after] :
         {Case{{}, "Car", true, {"Car"}}, Case{{"Car 2"}, "Car", false, {"Car 2"}},
          Case{{"Car"}, "Car", false, {"Car"}}, Case{{"Car"}, "Car 2", true, {"Car", "Car 2"}},
          Case{{"Van", "Truck"}, "ruck", false, {"Van", "Truck"}}, Case{{"Van"}, "", false, {"Van"}}}) {
        TempFolder folder;
        CAppProfile profile(folder.file("Odrivo.ini"));
        for (std::size_t i = 0; i < saved.size(); ++i)
            ASSERT_TRUE(profile.putText(ProfileKeys::MapName, static_cast<int>(i) + 1, saved[i]));
        EXPECT_EQ(CColumnMap::addName(profile, name), added) << name;
        EXPECT_EQ(CColumnMap::savedNames(profile), after) << name;
    }
}

const std::string kBom = "\xEF\xBB\xBF";

const char* const kFuelHeader = R"("Date","Odometer","Entry","Station","Fuel Qty","Measure","Fuel Price","Invoice",)"
                                R"("Economy","Cell Temp.","Note")";
const char* const kRepairHeader = R"("Date","Odometer","Description","Facility","Cost","Invoice","Note")";
const char* const kTripHeader = R"("Date","Odometer","Entry","Tolls","Parking/Expenses","Purpose","Destination",)"
                                R"("Contact","End Mileage","Depart Date/Time","Arrive Date/Time","Note")";
const char* const kAnyHeader =
    R"("Date","Odometer","Entry","Location","Fuel Qty","Measure","Fuel Price","Repairs/Tolls","Parking/Expenses",)"
    R"("Invoice","Economy","Cell Temp.","Purpose","Destination","Contact","End Mileage","Depart Date/Time",)"
    R"("Arrive Date/Time","Note")";

// An entry holding every field, as the given type.
CDVItem entryAs(int type) {
    CDVItem e = logtest::filledItem();
    e.EntryType = type;
    e.Note = "Caf\u00e9 stop";
    return e;
}

// Whether `line` holds `value` as one whole quoted value.
::testing::AssertionResult holds(const std::string& line, const std::string& value) {
    if (line.find("\"" + value + "\"") != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << value << "\" not in " << line;
}

// Each layout's whole file for one entry: the byte-order mark, the header line, the entry line.
TEST(CsvExport, FileBytesInEachLayout) {
    const FixedLocale locale;
    CDVItem fuel = entryAs(CDVItem::Fuel), repair = entryAs(CDVItem::Repair), trip = entryAs(CDVItem::Trip);
    CDVItem open = trip; // no arrival time yet: blank, not the start of the epoch
    open.ArriveTime = 0;
    // Every stored field is written in the "Any" layout whatever the type; only a trip's times.
    const std::string head = R"("14.11.2023","  12346","Trip",)", note = "\"Caf\xC3\xA9 stop\"",
                      any = head +
                            R"("Shell","30.125","Litres","1.500"," 45.25","2.50","INV-7","6.80","-12","Visit",)" +
                            R"("Brno","Eva","  12401",)",
                      timed = head + R"(" 45.25","2.50","Visit","Brno","Eva","  12401","14.11.2023 22:15",)";
    const std::tuple<CDVItem*, int, const char*, std::string> cases[] = {
        {&fuel, 0, kFuelHeader, head + R"("Shell","30.125","Litres","1.500","INV-7","6.80","-12",)" + note},
        {&repair, 1, kRepairHeader, head + R"("Shell"," 45.25","INV-7",)" + note},
        {&trip, 2, kTripHeader, timed + R"("14.11.2023 23:15",)" + note},
        {&open, 2, kTripHeader, timed + R"(" ",)" + note},
        {&fuel, 3, kAnyHeader, any + R"(" "," ",)" + note},
        {&repair, 7, kAnyHeader, any + R"(" "," ",)" + note},
        {&trip, -1, kAnyHeader, any + R"("14.11.2023 22:15","14.11.2023 23:15",)" + note},
    };
    for (const auto& [entry, viewMode, header, line] : cases) {
        SCOPED_TRACE(std::to_string(viewMode) + " " + entry->Entry);
        EXPECT_EQ(CCsvExport::fileBytes({entry}, viewMode, locale), kBom + header + "\r\n" + line + "\r\n");
        EXPECT_EQ(CCsvExport::fileBytes({}, viewMode, locale), kBom + header + "\r\n");
    }
}

// A number wider than its column is written whole, never cut.
TEST(CsvExport, WideNumbersAreWrittenWhole) {
    CDVItem entry = entryAs(CDVItem::Repair);
    entry.Odometer = 1e20;
    entry.Cost = 1234.5;
    const std::string line = CCsvExport::entryLine(entry, 3, FixedLocale());
    EXPECT_TRUE(holds(line, "100000000000000000000") && holds(line, "1234.50")) << line;
}

// Every number column's format ("%7.0f", "%3.3f", "%4.3f", "%6.2f", "%4.2f") gives what printf gives:
// ties on an exact half, values just off one, signed zero, the extremes of a double, NaN and infinity.
TEST(CsvExport, NumbersAreWrittenAsPrintfWritesThem) {
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    // clang-format off
    const double values[] = {0.0, -0.0, 0.5, 1.5, 2.5, -2.5, 0.125, 0.375, -0.625, 1.005, 2.675, 0.0005, 0.0015,
                             -0.0004, 12345.5, 99999.95, 123456.785, 4503599627370495.5, 1e-300, 5e-324, 1e20, 1e22,
                             1.7976931348623157e308, -1.7976931348623157e308, inf, -inf, nan, -nan};
    // clang-format on
    const std::pair<int, int> formats[] = {{7, 0}, {3, 3}, {4, 3}, {6, 2}, {4, 2}};
    char expected[400];
    for (const double value : values)
        for (const auto& [width, precision] : formats) {
            std::snprintf(expected, sizeof expected, "%*.*f", width, precision, value);
            std::string out = "\"";
            CCsvExport::appendNumber(out, value, width, precision);
            EXPECT_EQ(out, std::string("\"") + expected) << value << " %" << width << "." << precision << "f";
        }
}

// Entry, location and note are cut to 20, 29 and 60 characters: exactly the limit is unchanged, a
// cut keeps the last character whole (two or three bytes) and none of the first dropped one's
// bytes. The other texts are written whole, their quotes and commas unescaped.
TEST(CsvExport, TextsAreCutToWholeCharactersOrWrittenWhole) {
    const FixedLocale locale;
    const std::string e = "\u00e9", euro = "\u20ac", quoted = std::string(90, 'x') + e + " \"quoted\",\"split\" end";
    const auto line = [&locale](CDVText CDVItem::*field, const std::string& text) {
        CDVItem entry = entryAs(CDVItem::Trip);
        entry.*field = text;
        return CCsvExport::entryLine(entry, 3, locale);
    };
    for (const auto& [field, limit] : {std::pair{&CDVItem::Entry, 20}, {&CDVItem::Station, 29}, {&CDVItem::Note, 60}}) {
        const std::string head(limit - 1, 'a');
        using P = std::pair<std::string, std::string>;
        for (const auto& [text, written] : {P{head + e, head + e}, P{head + e + "xyz", head + e},
                                            P{head + euro + euro, head + euro}, P{head + "b" + e, head + "b"}})
            EXPECT_TRUE(holds(line(field, text), written)) << limit;
    }
    for (const auto field :
         {&CDVItem::Invoice, &CDVItem::Purpose, &CDVItem::Destination, &CDVItem::Contact, &CDVItem::Measure})
        EXPECT_TRUE(holds(line(field, quoted), quoted));
}

TEST(CsvExport, WriteFileReplacesTheFileOrCreatesNothing) {
    const TempFolder folder;
    const FixedLocale locale;
    CDVItem fuel = entryAs(CDVItem::Fuel);
    std::string error;
    EXPECT_FALSE(CCsvExport::writeFile(folder.file("missing/out.csv"), {&fuel}, 0, locale, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    const std::string path = folder.file("out.csv");
    logtest::writeFile(path, "older export");
    ASSERT_TRUE(CCsvExport::writeFile(path, {&fuel}, 0, locale, &error)) << error;
    EXPECT_EQ(logtest::readFile(path), CCsvExport::fileBytes({&fuel}, 0, locale));
}

// A drive letter's colon is allowed, a folder is no file name, and the limit counts characters, not
// bytes (254 two-byte letters are 508 bytes and still allowed). The refusal text names exactly the
// characters refused.
TEST(ExportName, RefusesFoldersLongNamesAndTheCharactersItNames) {
    const std::string e = "\u00e9", euro = "\u20ac";
    for (const std::string& name :
         {std::string("/home/eva/export.csv"), std::string("C:\\Export.CSV"), repeat("a", 254), repeat(e, 254)})
        EXPECT_TRUE(CExportName::isValid(name)) << name.size() << " bytes";
    for (const std::string& name :
         {std::string(), std::string("/home/eva/"), repeat("a", 255), repeat(e, 255), repeat(euro, 253) + "ab"})
        EXPECT_FALSE(CExportName::isValid(name)) << name.size() << " bytes";
    const std::string text = CExportName::kInvalidText;
    const auto from = text.find("contain ");
    const std::string listed = text.substr(from, text.find(", nor end with /") - from); // "contain *, ?, ... |"
    for (char c = '!'; c <= '~'; ++c) {
        const bool named =
            !std::isalnum(static_cast<unsigned char>(c)) && c != ',' && listed.find(c) != std::string::npos;
        EXPECT_EQ(!CExportName::isValid(std::string("/home/eva/a") + c + "b.csv"), named) << c;
    }
}

// The name keeps its case, and ".csv" anywhere in it counts.
TEST(ExportName, AddsCsvUnlessTheNameMentionsItAndDefaultsToTheVin) {
    using P = std::pair<const char*, const char*>;
    for (const auto& [name, result] : {P{"/e/x.Csv", "/e/x.Csv"}, P{"/e/x.txt", "/e/x.txt.csv"},
                                       P{"/e/x.csv.bak", "/e/x.csv.bak"}, P{"/e/csv", "/e/csv.csv"}})
        EXPECT_EQ(CExportName::withCsvExtension(name), result) << name;
    EXPECT_EQ(CExportName::defaultName("/home/eva/Documents/", "1HGCM82633A004352"),
              "/home/eva/Documents/1HGCM82633A004352.CSV");
}

} // namespace
