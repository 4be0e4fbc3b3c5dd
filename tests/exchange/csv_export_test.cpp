// CCsvExport: header lines, value formats and cuts, the file's bytes, and writing the file.
// Dates come from FixedLocale (day.month.year, 24-hour times in UTC).

#include "exchange/csv_export.h"

#include "../calc/fixed_locale.h"
#include "../store/log_file_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace {

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

// Columns of the "Any" layout.
constexpr std::size_t kEntry = 2, kLocation = 3, kMeasure = 5, kInvoice = 9, kPurpose = 12, kDestination = 13,
                      kContact = 14, kNote = 18;

CDVItem fuelEntry() {
    CDVItem e;
    e.EntryType = CDVItem::Fuel;
    e.Date = utcTime(2026, 3, 1, 9, 30);
    e.Odometer = 12345;
    e.Entry = "Fuel";
    e.Station = "Shell Brno";
    e.Quantity = 40.5;
    e.Measure = "Litres";
    e.UnitPrice = 1.859;
    e.Cost = 75.29;
    e.Invoice = "A-17";
    e.Economy = 6.25;
    e.CellTemp = -3;
    e.Note = "Caf\u00e9 stop";
    e.DepartTime = utcTime(2026, 3, 1, 9, 0); // stored, but only a trip writes its times
    e.ArriveTime = utcTime(2026, 3, 1, 9, 20);
    return e;
}

CDVItem repairEntry() {
    CDVItem e;
    e.EntryType = CDVItem::Repair;
    e.Date = utcTime(2026, 3, 5);
    e.Odometer = 12400;
    e.Entry = "Brake pads";
    e.Station = "Garage Novak";
    e.Cost = 210.5;
    e.Invoice = "R-9";
    e.Note = "front axle";
    return e;
}

CDVItem tripEntry() {
    CDVItem e;
    e.EntryType = CDVItem::Trip;
    e.Date = utcTime(2026, 3, 7);
    e.Odometer = 12500;
    e.Entry = "Trip";
    e.Cost = 4.5;
    e.Parking = 12;
    e.Purpose = "Client visit";
    e.Destination = "Olomouc";
    e.Contact = "Eva";
    e.EndOdometer = 12580;
    e.DepartTime = utcTime(2026, 3, 7, 8, 15, 30);
    e.ArriveTime = utcTime(2026, 3, 7, 17, 5);
    return e;
}

// The values of a line, split where the writer joins them.
std::vector<std::string> values(const std::string& line) {
    std::vector<std::string> result;
    const std::string inner = line.substr(1, line.size() - 2);
    std::size_t start = 0;
    for (;;) {
        const auto join = inner.find("\",\"", start);
        result.push_back(inner.substr(start, join - start));
        if (join == std::string::npos)
            return result;
        start = join + 3;
    }
}

TEST(CsvExport, HeaderLineOfEachView) {
    const std::pair<int, const char*> cases[] = {{0, kFuelHeader}, {1, kRepairHeader}, {2, kTripHeader},
                                                 {3, kAnyHeader},  {7, kAnyHeader},    {-1, kAnyHeader}};
    const FixedLocale locale;
    for (const auto& [viewMode, header] : cases) {
        EXPECT_EQ(CCsvExport::headerLine(viewMode), header) << viewMode;
        // An empty list: the byte-order mark and the header line only.
        EXPECT_EQ(CCsvExport::fileBytes({}, viewMode, locale), kBom + header + "\r\n") << viewMode;
    }
}

TEST(CsvExport, EntryLinesInEachLayout) {
    const FixedLocale locale;
    const CDVItem fuel = fuelEntry();
    const CDVItem repair = repairEntry();
    const CDVItem trip = tripEntry();
    CDVItem open = tripEntry(); // no arrival time yet: blank, not the start of the epoch
    open.ArriveTime = 0;
    const std::tuple<const CDVItem&, int, std::string> cases[] = {
        {fuel, 0,
         "\"01.03.2026\",\"  12345\",\"Fuel\",\"Shell Brno\",\"40.500\",\"Litres\",\"1.859\",\"A-17\","
         "\"6.25\",\"-3\",\"Caf\xC3\xA9 stop\""},
        {fuel, 3,
         "\"01.03.2026\",\"  12345\",\"Fuel\",\"Shell Brno\",\"40.500\",\"Litres\",\"1.859\",\" 75.29\","
         "\"0.00\",\"A-17\",\"6.25\",\"-3\",\"\",\"\",\"\",\"      0\",\" \",\" \",\"Caf\xC3\xA9 stop\""},
        {repair, 1, R"("05.03.2026","  12400","Brake pads","Garage Novak","210.50","R-9","front axle")"},
        {repair, 3,
         R"("05.03.2026","  12400","Brake pads","Garage Novak","0.000","","0.000","210.50","0.00","R-9",)"
         R"("0.00","0","","","","      0"," "," ","front axle")"},
        {trip, 2,
         R"("07.03.2026","  12500","Trip","  4.50","12.00","Client visit","Olomouc","Eva","  12580",)"
         R"("07.03.2026 08:15","07.03.2026 17:05","")"},
        {trip, 3,
         R"("07.03.2026","  12500","Trip","","0.000","","0.000","  4.50","12.00","","0.00","0",)"
         R"("Client visit","Olomouc","Eva","  12580","07.03.2026 08:15","07.03.2026 17:05","")"},
        {open, 2,
         R"("07.03.2026","  12500","Trip","  4.50","12.00","Client visit","Olomouc","Eva","  12580",)"
         R"("07.03.2026 08:15"," ","")"},
    };
    for (const auto& [entry, viewMode, line] : cases)
        EXPECT_EQ(CCsvExport::entryLine(entry, viewMode, locale), line) << viewMode << " " << entry.Entry;
}

TEST(CsvExport, NumberFormats) {
    const FixedLocale locale;
    // field, value, its column in the "Any" layout, text
    const std::tuple<double CDVItem::*, double, std::size_t, const char*> cases[] = {
        {&CDVItem::Odometer, 1234567.6, 1, "1234568"},
        {&CDVItem::Odometer, 1e20, 1, "100000000000000000000"}, // wider than the column: whole, never cut
        {&CDVItem::UnitPrice, 12.34567, 6, "12.346"},
        {&CDVItem::Cost, 0, 7, "  0.00"},
        {&CDVItem::Cost, 1234.5, 7, "1234.50"},
        {&CDVItem::Parking, 3.005, 8, "3.00"},
        {&CDVItem::Economy, 31.456, 10, "31.46"},
    };
    for (const auto& [field, number, column, text] : cases) {
        CDVItem entry = repairEntry();
        entry.*field = number;
        EXPECT_EQ(values(CCsvExport::entryLine(entry, 3, locale))[column], text) << number;
    }
    CDVItem cold = fuelEntry();
    cold.CellTemp = -12;
    EXPECT_EQ(values(CCsvExport::entryLine(cold, 0, locale))[9], "-12");
}

// Exactly the limit is unchanged; a cut keeps the last character whole, be it two or three bytes,
// and none of the first dropped character's bytes stay.
TEST(CsvExport, CutTextsKeepWholeCharacters) {
    const FixedLocale locale;
    const std::string e = "\u00e9", euro = "\u20ac";
    const std::tuple<std::string CDVItem::*, std::size_t, std::size_t> fields[] = {
        {&CDVItem::Entry, kEntry, 20}, {&CDVItem::Station, kLocation, 29}, {&CDVItem::Note, kNote, 60}};
    for (const auto& [field, column, limit] : fields) {
        const std::string head(limit - 1, 'a');
        const std::pair<std::string, std::string> cases[] = {{head + e, head + e},
                                                             {head + e + "xyz", head + e},
                                                             {head + euro + euro, head + euro},
                                                             {head + "b" + e, head + "b"}};
        for (const auto& [text, written] : cases) {
            CDVItem entry = tripEntry();
            entry.*field = text;
            EXPECT_EQ(values(CCsvExport::entryLine(entry, 3, locale))[column], written) << limit;
        }
    }
}

TEST(CsvExport, LongTextsOfUncutColumnsAreWrittenWhole) {
    const FixedLocale locale;
    const std::string longText = std::string(90, 'x') + "\u00e9 \"quoted\",\"split\" end";
    for (const auto& [field, column] :
         {std::pair{&CDVItem::Invoice, kInvoice}, std::pair{&CDVItem::Purpose, kPurpose},
          std::pair{&CDVItem::Destination, kDestination}, std::pair{&CDVItem::Contact, kContact},
          std::pair{&CDVItem::Measure, kMeasure}}) {
        CDVItem entry = tripEntry();
        entry.*field = longText;
        const std::string line = CCsvExport::entryLine(entry, 3, locale);
        EXPECT_NE(line.find("\"" + longText + "\""), std::string::npos) << column;
        EXPECT_EQ(values(line).size(), 20u) << "the quote-comma-quote inside the text splits it unescaped";
    }
}

TEST(CsvExport, WriteFileReplacesTheFileOrCreatesNothing) {
    const logtest::TempFolder folder;
    const FixedLocale locale;
    CDVItem fuel = fuelEntry();
    std::string error;
    EXPECT_FALSE(CCsvExport::writeFile(folder.file("missing/out.csv"), {&fuel}, 0, locale, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));

    const std::string path = folder.file("out.csv");
    logtest::writeFile(path, "older export");
    ASSERT_TRUE(CCsvExport::writeFile(path, {&fuel}, 0, locale, &error)) << error;
    EXPECT_EQ(logtest::readFile(path), CCsvExport::fileBytes({&fuel}, 0, locale));
}

} // namespace
