// CCsvImport: headings, the line scanner and field cleaning, entries built through a column
// map, dates, insertion order, counts and the errors that stop an import. Times are checked
// in UTC (TimeZone) so that local-time conversions do not depend on the machine.

#include "exchange/csv_import.h"

#include "../calc/fixed_locale.h"
#include "../store/log_file_bytes.h"
#include "exchange/csv_export.h"
#include "store/app_profile.h"
#include "store/vehicle_log_doc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using logtest::TempFolder;
using logtest::writeFile;

namespace {

const DVTime kStart = utcTime(2026, 1, 15, 9, 41);

// Column order of the test files: type, odometer, date, then the rest.
CColumnMap basicMap() {
    CColumnMap map;
    map.setColumn(CColumnMap::EntryType, 0);
    map.setColumn(CColumnMap::Odometer, 1);
    map.setColumn(CColumnMap::Date, 2);
    return map;
}

VehicleSettings vehicle(int liquid = 0) {
    VehicleSettings v;
    v.distanceUnit = 1;
    v.economyUnit = 2;
    v.liquid = liquid;
    return v;
}

std::vector<std::string> entryTexts(const CVehicleLogDoc& doc) {
    std::vector<std::string> out;
    for (const auto& e : doc.entries())
        out.push_back(e->Entry);
    return out;
}

const std::string kHeading = "Type,Odo,Date\r\n";

TEST(CsvImportHeadings, ListsNonEmptyHeadingsAndWhereDataStarts) {
    struct Case {
        std::string bytes;
        std::vector<std::string> columns;
        std::size_t dataStart;
    };
    const std::vector<Case> cases = {
        {"\"Date\",\"Odometer\",\"Entry\"\r\n\"1\"", {"Date", "Odometer", "Entry"}, 27},
        {"A,,B, \"C\" ,\r\nx", {"A", "B", " \"C\" "}, 13},
        {"\xEF\xBB\xBF\"Date\",\"Odo\"\n", {"Date", "Odo"}, 16},
        {"One,Two", {"One", "Two"}, 8},
    };
    // The heading line is read up to 512 characters (the 513th, "Z", is cut off).
    const std::string wide = "\u00E9," + std::string(510, 'b') + "Z\n";
    EXPECT_EQ(CCsvImport::headingsOf(wide).columns, (std::vector<std::string>{"\u00E9", std::string(510, 'b')}));
    for (const Case& c : cases) {
        const CsvHeadings h = CCsvImport::headingsOf(c.bytes);
        EXPECT_TRUE(h.ok) << c.bytes;
        EXPECT_EQ(h.columns, c.columns) << c.bytes;
        EXPECT_EQ(h.dataStart, c.dataStart) << c.bytes;
    }
}

TEST(CsvImportHeadings, ErrorsForNoColumnsAndUnreadableFile) {
    const CsvHeadings noComma = CCsvImport::headingsOf("Just one heading\r\n1,2,3\r\n");
    EXPECT_FALSE(noComma.ok);
    EXPECT_TRUE(noComma.message.starts_with("ERROR 2201: The CSV file selected"));

    TempFolder folder;
    const CsvHeadings missing = CCsvImport::readHeadings(folder.file("absent.csv"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message, "ERROR 401: Error opening CSV file");

    writeFile(folder.file("a.csv"), "Type,Odo\r\nFuel,100\r\n");
    const CsvHeadings read = CCsvImport::readHeadings(folder.file("a.csv"));
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.columns, (std::vector<std::string>{"Type", "Odo"}));
    EXPECT_EQ(read.dataStart, 10u);
}

TEST(CsvImportScanner, SplitsLinesByTheFileFormatRules) {
    std::string hans; // 100 characters, 300 bytes
    for (int i = 0; i < 100; ++i)
        hans += "\u6C49";
    struct Case {
        const char* name;
        std::string chunk;
        std::vector<std::string> fields; // the leading slots; the rest must be " "
        std::size_t consumed;
    };
    const std::vector<Case> cases = {
        {"plain", "Fuel,1200,x\r\nnext", {"Fuel", "1200", "x"}, 13},
        {"quoted comma stays", "\"a,b\",\"c\"\r\n", {"a,b", "c"}, 11},
        {"inner quote kept, end quote dropped", "ab\"cd,ef\",\"z\"\r\n", {"ab\"cd", "ef", "z"}, 15},
        // Blanks go before the trailing comma does, so the one before it stays.
        {"empty fields are blank", ",, x ,\r\n", {" ", " ", "x ", " "}, 8},
        {"one-character last field ends at CR", "a,b\r\n", {"a", "b", " "}, 5},
        {"LF ends a line", "Fuel,12\nGas,9\n", {"Fuel", "12"}, 8},
        {"lone CR ends a line", "Fuel,12\rGas,9\r", {"Fuel", "12"}, 8},
        {"tabs are the text's, blanks are trimmed", " \tx\t,y\r\n", {"\tx\t", "y"}, 8},
        {"limit counts characters", hans + ",1\r\n", {hans, "1"}, hans.size() + 4},
        {"quote then LF ends a field", "\"x\",\"long text\"\n", {"x", "long text"}, 16},
    };
    for (const Case& c : cases) {
        CCsvImport::LineBuffer fields;
        fields.fill("stale");
        std::size_t consumed = 0;
        ASSERT_EQ(CCsvImport::scanLine(c.chunk, fields, consumed), CCsvImport::ScanStatus::Line) << c.name;
        EXPECT_EQ(consumed, c.consumed) << c.name;
        for (std::size_t i = 0; i < fields.size(); ++i)
            EXPECT_EQ(fields[i], i < c.fields.size() ? c.fields[i] : " ") << c.name << " slot " << i;
    }
}

TEST(CsvImportScanner, LineEndsAtTheEndOfTheChunk) {
    const std::string bytes = "a,b\r\n";
    CCsvImport::LineBuffer fields;
    std::size_t consumed = 0;
    ASSERT_EQ(CCsvImport::scanLine(std::string_view(bytes).substr(0, 4), fields, consumed),
              CCsvImport::ScanStatus::Line);
    EXPECT_EQ(consumed, 4u); // the LF past the chunk is not the line's
}

TEST(CsvImportScanner, FormatErrorsAndFieldCount) {
    struct Case {
        const char* name;
        std::string chunk;
        CCsvImport::ScanStatus status;
    };
    const std::string longest(124, 'x');
    std::string fields28, fields29;
    for (int i = 0; i < 28; ++i)
        fields28 += (i ? "," : "") + std::to_string(i);
    fields29 = fields28 + ",28";
    const std::vector<Case> cases = {
        {"124 characters and a comma", longest + ",\r\n", CCsvImport::ScanStatus::Line},
        {"125 characters without an end", longest + "x,\r\n", CCsvImport::ScanStatus::FormatError},
        {"last line without an end", "Fuel,100", CCsvImport::ScanStatus::FormatError},
        {"28 fields", fields28 + "\r\n", CCsvImport::ScanStatus::Line},
        {"29 fields", fields29 + "\r\n", CCsvImport::ScanStatus::TooManyFields},
    };
    for (const Case& c : cases) {
        CCsvImport::LineBuffer fields;
        std::size_t consumed = 0;
        EXPECT_EQ(CCsvImport::scanLine(c.chunk, fields, consumed), c.status) << c.name;
    }
}

TEST(CsvImportScanner, CleanField) {
    const auto repeat = [](const char* text, int count) {
        std::string out;
        while (count-- > 0)
            out += text;
        return out;
    };
    const std::pair<std::string, std::string> cases[] = {
        {repeat("\u00E9", 300), repeat("\u00E9", 254)},
        {"\"Shell\",", "Shell"},
        {"  Shell  \r\n", "Shell"},
        {"\",,x", "x"},
        {"\"\",", " "},
        {"x\"\"", "x"},
        {"a\"b,", "a\"b"},
        {"\r\n", " "},
        {std::string(300, 'k'), std::string(254, 'k')},
    };
    for (const auto& [raw, clean] : cases)
        EXPECT_EQ(CCsvImport::cleanField(raw), clean) << raw;
}

TEST(CsvImportEntries, TypeIconMeasureAndFieldsByKeyword) {
    TimeZone utc("UTC0");
    CColumnMap map = basicMap();
    map.setColumn(CColumnMap::FuelQty, 3);
    map.setColumn(CColumnMap::FuelPrice, 4);
    map.setColumn(CColumnMap::EndOdo, 5);
    map.setColumn(CColumnMap::Purpose, 6);
    map.setColumn(CColumnMap::TollsMaint, 7);
    map.setColumn(CColumnMap::Station, 8);

    struct Case {
        std::string line;
        int liquid;
        int type;
        int icon;
        const char* measure;
        double quantity;
        double endOdometer;
        const char* purpose;
    };
    const std::vector<Case> cases = {
        {"FUEL,100,,12.5,1.9,500,Work,3,Shell", 2, CDVItem::Fuel, 0, "Litre", 12.5, 0, ""},
        {"Gas,100,,10,,,,,", 1, CDVItem::Fuel, 0, "Imp.Gallons", 10, 0, ""},
        {"fuel,100,,10,,,,,", 0, CDVItem::Fuel, 0, "Gallons", 10, 0, ""},
        {"Tire rotation,100,,10,,,,,", 2, CDVItem::Repair, 17, " ", 0, 0, ""},
        {"Oil change,100,,,,,,,", 0, CDVItem::Repair, 4, " ", 0, 0, ""},
        {"Coolant and tune,100,,,,,,,", 0, CDVItem::Repair, 7, " ", 0, 0, ""},
        {"Business,100,,10,,500,Work,,", 0, CDVItem::Trip, 2, " ", 0, 500, "Work"},
        {"Gas trip,100,,10,,500,Work,,", 2, CDVItem::Trip, 2, "Litre", 10, 500, "Work"},
        {"Brakes,100,,,,,,,", 0, CDVItem::Repair, 1, " ", 0, 0, ""},
        {"Fuel,100,,1e5,,,,,", 2, CDVItem::Fuel, 0, "Litre", 0, 0, ""},
    };
    for (const Case& c : cases) {
        CCsvImport import(map, vehicle(c.liquid), CsvDateStyle{}, kStart);
        CVehicleLogDoc doc;
        const CsvImportResult r = import.importBytes(kHeading + c.line + "\r\n", kHeading.size(), doc);
        ASSERT_TRUE(r.ok()) << c.line << r.message;
        ASSERT_EQ(doc.size(), 1u) << c.line;
        const CDVItem& e = doc.at(0);
        EXPECT_EQ(e.Entry, c.line.substr(0, c.line.find(','))) << c.line;
        EXPECT_EQ(e.EntryType, c.type) << c.line;
        EXPECT_EQ(e.Icon, c.icon) << c.line;
        EXPECT_EQ(e.Measure, c.measure) << c.line;
        EXPECT_DOUBLE_EQ(e.Quantity, c.quantity) << c.line;
        EXPECT_DOUBLE_EQ(e.EndOdometer, c.endOdometer) << c.line;
        EXPECT_EQ(e.Purpose, c.purpose) << c.line;
        EXPECT_DOUBLE_EQ(e.Odometer, 100) << c.line;
        EXPECT_EQ(e.SpareTime, kStart) << c.line;
        // No date in the field: the program's start time.
        EXPECT_EQ(e.Date, kStart) << c.line;
        const bool fuel = c.type == CDVItem::Fuel || c.quantity != 0;
        EXPECT_EQ(e.DistanceUnit, fuel ? 1 : 0) << c.line;
        EXPECT_DOUBLE_EQ(e.EconomyUnit, fuel ? 2 : 0) << c.line;
    }
}

TEST(CsvImportEntries, CostStationAndMappedMeasure) {
    CColumnMap map = basicMap();
    map.setColumn(CColumnMap::Measure, 3);
    map.setColumn(CColumnMap::TollsMaint, 4);
    map.setColumn(CColumnMap::Station, 5);
    map.setColumn(CColumnMap::Invoice, 6);
    map.setColumn(CColumnMap::Notes, 7);
    const std::pair<const char*, const char*> measures[] = {
        {"gallon", "Gallons"}, {"Imperial", "Imp. Gallons"}, {" litres", "Litres"}, {"kWh", "Litre"}};
    for (const auto& [text, measure] : measures) {
        CCsvImport import(map, vehicle(2), CsvDateStyle{}, kStart);
        CVehicleLogDoc doc;
        const std::string line = std::string("Fuel,50,,") + text + ",42.5,Garage,INV-7,\"Paid, cash\"\r\n";
        ASSERT_TRUE(import.importBytes(kHeading + line, kHeading.size(), doc).ok());
        ASSERT_EQ(doc.size(), 1u);
        EXPECT_EQ(doc.at(0).Measure, measure) << text;
        EXPECT_DOUBLE_EQ(doc.at(0).Cost, 42.5);
        EXPECT_EQ(doc.at(0).Station, "Garage");
        EXPECT_EQ(doc.at(0).Invoice, "INV-7");
        EXPECT_EQ(doc.at(0).Note, "Paid, cash");
    }
}

TEST(CsvImportRun, CountsSkipsErrorsAndMessages) {
    struct Case {
        const char* name;
        std::string data;
        int unmap; // a slot to unmap, or -1
        CsvImportStatus status;
        int inserted; // an error keeps the entries inserted before it
        int skipped;
        std::string message;
    };
    const auto done = [](int imported, int skipped) {
        return "Import Complete!\nImported " + std::to_string(imported) + " lines\nSkipped " + std::to_string(skipped) +
               " Lines";
    };
    const std::string two = "Fuel,100,\r\nFuel,200,\r\n";
    std::string tooMany = "Fuel,300";
    for (int i = 0; i < 27; ++i)
        tooMany += ",x";
    const CsvImportStatus ok = CsvImportStatus::Completed;
    const std::vector<Case> cases = {
        {"heading only", "", -1, ok, 0, 0, done(0, 0)},
        {"two lines", two, -1, ok, 2, 0, done(0, 0)},
        {"no odometer", "Fuel,0,\r\nFuel,-5,\r\nFuel,abc,\r\nFuel,inf,\r\nFuel,10,\r\n", -1, ok, 1, 4, done(3, 4)},
        {"blank line", "Fuel,10,\r\n\r\n", -1, ok, 1, 1, done(0, 1)},
        {"entry type unmapped", two, CColumnMap::EntryType, ok, 0, 2, done(0, 2)},
        {"odometer unmapped", two, CColumnMap::Odometer, CsvImportStatus::OdometerNotMapped, 0, 0,
         "WARNING! The Odometer field must be mapped.  All imported data must have a mileage entry to be valid."},
        {"long field", two + "Fuel," + std::string(200, '9') + ",\r\n", -1, CsvImportStatus::FormatError, 2, 0,
         "Error 3221:\nCSV data format bad,\nPlease refer to manual under Importing CSV files."},
        {"no line end", two + "Fuel,300", -1, CsvImportStatus::FormatError, 2, 0, CCsvImport::kFormatError},
        {"29 fields", two + tooMany + "\r\n", -1, CsvImportStatus::TooManyFields, 2, 0,
         CCsvImport::kTooManyFieldsError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CColumnMap map = basicMap();
        map.unmap(c.unmap);
        CVehicleLogDoc doc;
        const CsvImportResult r =
            CCsvImport(map, vehicle(), CsvDateStyle{}, kStart).importBytes(kHeading + c.data, kHeading.size(), doc);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.inserted, c.inserted);
        EXPECT_EQ(static_cast<int>(doc.size()), c.inserted);
        EXPECT_EQ(r.skipped, c.skipped);
        EXPECT_EQ(r.message, c.message);
    }
    EXPECT_TRUE(std::string(CCsvImport::kTooManyFieldsError).starts_with("Error!\nToo many fields in CSV line.\n"));
    TempFolder folder;
    CVehicleLogDoc doc;
    const CsvImportResult missing =
        CCsvImport(basicMap(), vehicle(), CsvDateStyle{}, kStart).run(folder.file("gone.csv"), 0, doc);
    EXPECT_EQ(missing.status, CsvImportStatus::CannotOpen);
    EXPECT_EQ(missing.message, "ERROR 402: Error opening CSV file");
}

TEST(CsvImportRun, InsertsBeforeEqualOdometerAndTracksLastReading) {
    CVehicleLogDoc doc;
    for (const auto& [odometer, entry] : {std::pair{100.0, "old 100"}, std::pair{200.0, "old 200"}}) {
        auto e = std::make_unique<CDVItem>();
        e->Odometer = odometer;
        e->Entry = entry;
        doc.insert(std::move(e));
    }
    CCsvImport import(basicMap(), vehicle(), CsvDateStyle{}, kStart);
    const CsvImportResult r = import.importBytes(kHeading + "Wash,200,\r\nWax,50,\r\n", kHeading.size(), doc);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(entryTexts(doc), (std::vector<std::string>{"Wax", "old 100", "Wash", "old 200"}));
    EXPECT_FALSE(r.lastOdometer.has_value());

    const CsvImportResult end = import.importBytes(kHeading + "Tires,300,\r\nWipers,250,\r\n", kHeading.size(), doc);
    ASSERT_TRUE(end.ok());
    EXPECT_EQ(entryTexts(doc).back(), "Tires");
    ASSERT_TRUE(end.lastOdometer.has_value());
    EXPECT_DOUBLE_EQ(*end.lastOdometer, 300);
}

TEST(CsvImportRun, ProgressTexts) {
    CCsvImport import(basicMap(), vehicle(), CsvDateStyle{}, kStart);
    std::vector<std::string> texts;
    import.setProgress([&texts](const std::string& text) { texts.push_back(text);
});
CVehicleLogDoc doc;
ASSERT_TRUE(import.importBytes(kHeading + "Fuel,120,\r\nFuel,0,\r\n", kHeading.size(), doc).ok());
EXPECT_EQ(texts, (std::vector<std::string>{"Importing Data", "120", "Skipping", "Import Compete.", "CSV Maps"}));
} // namespace

TEST(CsvImportDates, OrdersTwoDigitYearsTimesAndFallback) {
    TimeZone utc("UTC0");
    const CsvDateStyle mdy{0, "/"};
    const CsvDateStyle dmy{1, "."};
    const CsvDateStyle ymd{2, "/"};
    struct Case {
        const char* field;
        CsvDateStyle style;
        DVTime expected;
    };
    const std::vector<Case> cases = {
        {"03/04/05", mdy, utcTime(2005, 3, 4, 9, 41)},
        {"03/04/99", mdy, utcTime(1999, 3, 4, 9, 41)},
        {"03/04/59", mdy, utcTime(2059, 3, 4, 9, 41)},
        {"03/04/60", mdy, utcTime(1960, 3, 4, 9, 41)},
        {"2005/03/04", ymd, utcTime(2005, 3, 4, 9, 41)},
        {"04.03.2005", dmy, utcTime(2005, 3, 4, 9, 41)},
        {"03/04/2005 02:30 PM", mdy, utcTime(2005, 3, 4, 14, 30)},
        {"03/04/2005 12:15 PM", mdy, utcTime(2005, 3, 4, 12, 15)},
        {"03/04/2005 07:05", mdy, utcTime(2005, 3, 4, 7, 5)},
        {"02/30/2005", mdy, utcTime(2005, 3, 2, 9, 41)}, // normalised as mktime does
        {"4-Mar-2005", mdy, kStart},
        {"Jun 4 2005", mdy, kStart},
        {" ", mdy, kStart},
        {"", mdy, kStart},
        {"03/04/05", CsvDateStyle{5, "/"}, kStart},
        {"03/0405", mdy, utcTime(2005, 3, 4, 9, 41)}, // the day is two characters at most
        {"01/02/-2147483648", mdy, kStart},
        {"-2147483648/02/2005", mdy, kStart},
        {"2147483647.02.2005", dmy, kStart},
        {"13/04/2005", mdy, kStart},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CCsvImport::parseDate(c.field, c.style, kStart), c.expected) << c.field;
}

TEST(CsvImportDates, StyleFromLocaleDateFormat) {
    struct Case {
        const char* format;
        int order;
        const char* separator;
    };
    const Case cases[] = {
        {"%m/%d/%Y", 0, "/"}, {"%d.%m.%Y", 1, "."}, {"%Y-%m-%d", 2, "-"}, {"%F", 2, "-"},          {"%D", 0, "/"},
        {"%e/%m/%y", 1, "/"}, {"", 0, "/"},         {"%b %d %Y", 0, " "}, {"%-d. %B %G", 1, ". "}, {"%g-%h-%d", 2, "-"},
    };
    for (const Case& c : cases) {
        const CsvDateStyle style = CCsvImport::dateStyleFrom(c.format);
        EXPECT_EQ(style.order, c.order) << c.format;
        EXPECT_EQ(style.dateSeparator, c.separator) << c.format;
        EXPECT_EQ(style.timeSeparator, ":");
        EXPECT_EQ(style.afternoon, "PM");
    }
}

TEST(CsvImportRun, ReadsBackTheAnyViewExport) {
    TimeZone utc("UTC0");
    CDVItem fuel;
    fuel.EntryType = CDVItem::Fuel;
    fuel.Entry = "Fuel";
    fuel.Odometer = 1200;
    fuel.Date = utcTime(2024, 5, 17);
    fuel.Station = "Shell";
    for (int i = 0; i < 20; ++i)
        fuel.Note += "\u52A0\u6CB9\u7AD9"; // 60 characters, 180 bytes
    fuel.Quantity = 40.5;
    CDVItem trip;
    trip.EntryType = CDVItem::Trip;
    trip.Entry = "Business";
    trip.Odometer = 1300;
    trip.Date = utcTime(2024, 6, 2);
    trip.EndOdometer = 1350;
    trip.Purpose = "Client";
    std::vector<CDVItem*> rows = {&fuel, &trip};

    TempFolder folder;
    const std::string path = folder.file("export.csv");
    ASSERT_TRUE(CCsvExport::writeFile(path, rows, 3, FixedLocale()));
    const CsvHeadings headings = CCsvImport::readHeadings(path);
    ASSERT_TRUE(headings.ok);
    ASSERT_EQ(headings.columns.size(), 19u);
    EXPECT_EQ(headings.columns.front(), "Date");

    CColumnMap map;
    map.setColumn(CColumnMap::Date, 0);
    map.setColumn(CColumnMap::Odometer, 1);
    map.setColumn(CColumnMap::EntryType, 2);
    map.setColumn(CColumnMap::Station, 3);
    map.setColumn(CColumnMap::FuelQty, 4);
    map.setColumn(CColumnMap::Purpose, 12);
    map.setColumn(CColumnMap::EndOdo, 15);
    const auto note = std::find(headings.columns.begin(), headings.columns.end(), "Note");
    ASSERT_NE(note, headings.columns.end());
    map.setColumn(CColumnMap::Notes, static_cast<int>(note - headings.columns.begin()));
    CCsvImport import(map, vehicle(2), CCsvImport::dateStyleFrom("%d.%m.%Y"), kStart);
    CVehicleLogDoc doc;
    const CsvImportResult r = import.run(path, headings.dataStart, doc);
    ASSERT_TRUE(r.ok()) << r.message;
    ASSERT_EQ(doc.size(), 2u);
    EXPECT_EQ(doc.at(0).Station, "Shell");
    EXPECT_EQ(doc.at(0).Note, fuel.Note);
    EXPECT_DOUBLE_EQ(doc.at(0).Quantity, 40.5);
    EXPECT_EQ(doc.at(0).Date, utcTime(2024, 5, 17, 9, 41));
    EXPECT_EQ(doc.at(1).EntryType, CDVItem::Trip);
    EXPECT_EQ(doc.at(1).Purpose, "Client");
    EXPECT_DOUBLE_EQ(doc.at(1).EndOdometer, 1350);
}

TEST(CsvImportRun, ReadsUtf8OrWindows1252AndRemembersTheImport) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"Windows-1252", "Type,Odo,Station\rFuel,100,Caf\xE9 M\xFCller\r"},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBFType,Odo,Station\r\nFuel,100,Caf\xC3\xA9 M\xC3\xBCller\r\n"},
        {"UTF-8 without one", "Type,Odo,Station\nFuel,100,Caf\xC3\xA9 M\xC3\xBCller\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string path = folder.file("cafe.csv");
        writeFile(path, c.bytes);
        const CsvHeadings headings = CCsvImport::readHeadings(path);
        ASSERT_EQ(headings.columns, (std::vector<std::string>{"Type", "Odo", "Station"}));
        CColumnMap map = basicMap();
        map.setColumn(CColumnMap::Date, -1);
        map.setColumn(CColumnMap::Station, 2);
        CVehicleLogDoc doc;
        const CsvImportResult r = CCsvImport(map, vehicle(), CsvDateStyle{}, kStart).run(path, headings.dataStart, doc);
        ASSERT_TRUE(r.ok()) << r.message;
        ASSERT_EQ(doc.size(), 1u);
        EXPECT_EQ(doc.at(0).Station, "Caf\u00E9 M\u00FCller");

        CAppProfile profile(folder.file("Odrivo.ini"));
        std::string error;
        ASSERT_TRUE(CCsvImport::rememberImport(profile, map, "Cafe", path, &error)) << error;
        EXPECT_EQ(profile.getText(ProfileKeys::LastMap), "Cafe");
        CColumnMap saved;
        saved.load(profile, "Cafe");
        EXPECT_EQ(saved, map);
        EXPECT_EQ(profile.getText(ProfileKeys::CSVName), "cafe.csv");
        EXPECT_EQ(profile.getText(ProfileKeys::CSVPath), path.substr(0, path.size() - 8));
    }
}

} // namespace
