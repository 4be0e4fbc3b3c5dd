// CExportName: which export file names are refused, when ".csv" is added, the default name.

#include "exchange/export_name.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

std::string repeated(const std::string& piece, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += piece;
    return text;
}

TEST(ExportName, RefusesReservedCharactersAndLongNames) {
    const struct {
        std::string name;
        bool valid;
    } cases[] = {
        {"/home/eva/export.csv", true},
        {"C:\\Export.CSV", true}, // the colon of a drive letter is allowed
        {"/home/eva/a*b.csv", false},
        {"/home/eva/what?.csv", false},
        {"/home/eva/<log>.csv", false},
        {"/home/eva/log>.csv", false},
        {"/home/eva/a|b.csv", false},
        {"", false},           // no name at all
        {"/home/eva/", false}, // a folder, not a file
        {repeated("a", 254), true},
        {repeated("a", 255), false},
        {repeated("a", 300), false},
        // characters, not bytes: 254 two-byte letters are 508 bytes and still allowed
        {repeated("\u00e9", 254), true},
        {repeated("\u00e9", 255), false},
        {repeated("\u20ac", 253) + "ab", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CExportName::isValid(c.name), c.valid) << c.name.substr(0, 40) << " (" << c.name.size() << " bytes)";
}

TEST(ExportName, RefusalNamesExactlyTheCharactersRefused) {
    const std::string text = CExportName::kInvalidText;
    const auto from = text.find("contain ");
    const std::string listed = text.substr(from, text.find(", nor end with /") - from); // "contain *, ?, ... |"
    for (char c = '!'; c <= '~'; ++c) {
        const bool named =
            !std::isalnum(static_cast<unsigned char>(c)) && c != ',' && listed.find(c) != std::string::npos;
        EXPECT_EQ(!CExportName::isValid(std::string("/home/eva/a") + c + "b.csv"), named) << c;
    }
}

TEST(ExportName, AddsCsvUnlessTheNameMentionsIt) {
    const struct {
        const char* name;
        const char* result;
    } cases[] = {
        {"/home/eva/Export.CSV", "/home/eva/Export.CSV"}, // the name keeps its case
        {"/home/eva/export.csv", "/home/eva/export.csv"},
        {"/home/eva/export.Csv", "/home/eva/export.Csv"},
        {"/home/eva/export", "/home/eva/export.csv"},
        {"/home/eva/export.txt", "/home/eva/export.txt.csv"},
        {"/home/eva/export.csv.bak", "/home/eva/export.csv.bak"}, // ".csv" anywhere counts
        {"/home/eva/csv", "/home/eva/csv.csv"},
        {"/home/\u00c9VA/export", "/home/\u00c9VA/export.csv"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CExportName::withCsvExtension(c.name), c.result) << c.name;
}

TEST(ExportName, DefaultNameIsTheVinInTheFolder) {
    EXPECT_EQ(CExportName::defaultName("/home/eva/Documents/", "1HGCM82633A004352"),
              "/home/eva/Documents/1HGCM82633A004352.CSV");
}

} // namespace
