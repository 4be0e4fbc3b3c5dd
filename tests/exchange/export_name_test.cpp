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

// A drive letter's colon is allowed, a folder is no file name, and the limit counts characters, not
// bytes: 254 two-byte letters are 508 bytes and still allowed. Which characters are refused is below.
TEST(ExportName, RefusesFoldersAndLongNames) {
    const std::string e = "\u00e9", euro = "\u20ac";
    const std::pair<std::string, bool> cases[] = {{"/home/eva/export.csv", true},
                                                  {"C:\\Export.CSV", true},
                                                  {"", false},
                                                  {"/home/eva/", false},
                                                  {repeated("a", 254), true},
                                                  {repeated("a", 255), false},
                                                  {repeated("a", 300), false},
                                                  {repeated(e, 254), true},
                                                  {repeated(e, 255), false},
                                                  {repeated(euro, 253) + "ab", false}};
    for (const auto& [name, valid] : cases)
        EXPECT_EQ(CExportName::isValid(name), valid) << name.substr(0, 40) << " (" << name.size() << " bytes)";
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

// The name keeps its case, and ".csv" anywhere in it counts.
TEST(ExportName, AddsCsvUnlessTheNameMentionsItAndDefaultsToTheVin) {
    const std::pair<std::string, std::string> cases[] = {{"Export.CSV", "Export.CSV"},
                                                         {"export.csv", "export.csv"},
                                                         {"export.Csv", "export.Csv"},
                                                         {"export", "export.csv"},
                                                         {"export.txt", "export.txt.csv"},
                                                         {"export.csv.bak", "export.csv.bak"},
                                                         {"csv", "csv.csv"},
                                                         {"\u00c9VA/export", "\u00c9VA/export.csv"}};
    for (const auto& [name, result] : cases)
        EXPECT_EQ(CExportName::withCsvExtension("/home/eva/" + name), "/home/eva/" + result) << name;
    EXPECT_EQ(CExportName::defaultName("/home/eva/Documents/", "1HGCM82633A004352"),
              "/home/eva/Documents/1HGCM82633A004352.CSV");
}

} // namespace
