// CCsvExport: each layout's bytes, value formats and cuts, and writing the file (dates from
// FixedLocale: day.month.year, 24-hour times in UTC); CExportName: the file names refused, when
// ".csv" is added, the default name.

#include "exchange/csv_export.h"
#include "exchange/export_name.h"

#include "../calc/fixed_locale.h"
#include "../store/log_file_bytes.h"

#include <gtest/gtest.h>

#include <cctype>
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

// Numbers round to their column's places; one wider than its column is written whole, never cut.
TEST(CsvExport, NumberFormats) {
    CDVItem entry = entryAs(CDVItem::Repair);
    entry.Odometer = 1e20;
    entry.UnitPrice = 12.34567;
    entry.Cost = 1234.5;
    entry.Parking = 3.005;
    entry.Economy = 31.456;
    const std::string line = CCsvExport::entryLine(entry, 3, FixedLocale());
    for (const char* text : {"100000000000000000000", "12.346", "1234.50", "3.00", "31.46"})
        EXPECT_TRUE(holds(line, text));
}

// Entry, location and note are cut to 20, 29 and 60 characters: exactly the limit is unchanged, a
// cut keeps the last character whole (two or three bytes) and none of the first dropped one's
// bytes. The other texts are written whole, their quotes and commas unescaped.
TEST(CsvExport, TextsAreCutToWholeCharactersOrWrittenWhole) {
    const FixedLocale locale;
    const std::string e = "\u00e9", euro = "\u20ac", quoted = std::string(90, 'x') + e + " \"quoted\",\"split\" end";
    const auto line = [&locale](std::string CDVItem::*field, const std::string& text) {
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
    const logtest::TempFolder folder;
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
    const auto times = [](const std::string& piece, std::size_t count) {
        std::string text;
        while (count-- > 0)
            text += piece;
        return text;
    };
    const std::string e = "\u00e9", euro = "\u20ac";
    for (const std::string& name :
         {std::string("/home/eva/export.csv"), std::string("C:\\Export.CSV"), times("a", 254), times(e, 254)})
        EXPECT_TRUE(CExportName::isValid(name)) << name.size() << " bytes";
    for (const std::string& name :
         {std::string(), std::string("/home/eva/"), times("a", 255), times(e, 255), times(euro, 253) + "ab"})
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
