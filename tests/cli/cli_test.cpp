#include "cli_fixture.h"
#include "store/vehicle_log_doc.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <bit>
#include <filesystem>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

using logtest::filledItem;
using logtest::readFile;
using logtest::TempFolder;
using logtest::writeFile;

namespace {

using clitest::CliRun;

CliRun run(std::vector<std::string> args) {
    return clitest::runArgs(std::move(args));
}

std::string saveDoc(const std::string& path, const std::vector<CDVItem>& records) {
    CVehicleLogDoc doc;
    for (const auto& r : records)
        doc.append(std::make_unique<CDVItem>(r));
    EXPECT_TRUE(doc.save(path).saved);
    return readFile(path);
}

CDVItem extremeItem() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    CDVItem r;
    r.Icon = std::numeric_limits<std::int32_t>::min();
    r.EntryType = std::numeric_limits<std::int32_t>::max();
    r.Odometer = std::numeric_limits<double>::max();
    r.Date = std::numeric_limits<std::int64_t>::min();
    r.EconomyUnit = std::numeric_limits<double>::denorm_min();
    r.Note = "line one\nline \"two\"\t\x01";
    r.Measure = "\xC5\x81\xC3\xB3"
                "d\xC5\xBA";                                 // UTF-16 on disk
    r.Station = "\xF0\x9F\x9A\x97 " + std::string(300, 's'); // UTF-16 with a 16-bit length
    r.Invoice = "\xE2\x82\xAC\xC2\x81\xC3\xBF";              // Windows-1252 bytes 80 81 FF
    r.Purpose = std::string(70000, 'p');
    r.Contact = std::string("a\0b", 3);
    r.DepartTime = std::numeric_limits<std::int64_t>::max();
    r.SpareTime = -1;
    r.CellTemp = -40;
    r.Cost = -0.0;
    r.Quantity = inf;
    r.UnitPrice = -inf;
    r.EndOdometer = std::numeric_limits<double>::quiet_NaN();
    r.Economy = std::bit_cast<double>(std::uint64_t{0xFFF8000000000000}); // the NaN of 0.0 / 0.0 on x86
    r.Parking = std::bit_cast<double>(std::uint64_t{0x7FF0000000000001}); // a signalling NaN
    return r;
}

class CliTest : public ::testing::Test {
protected:
    TempFolder m_folder;
    std::string m_data = m_folder.file("V.odv");
    std::string m_json = m_folder.file("V.json");
    std::string m_packed = m_folder.file("packed.odv");
};

} // namespace

TEST_F(CliTest, HelpListsTheCommands) {
    const CliRun r = run({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("dump"), std::string::npos);
    EXPECT_NE(r.out.find("pack"), std::string::npos);
    EXPECT_EQ(r.err, "");
}

TEST_F(CliTest, UsageErrorsGoToTheErrorStream) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"frobnicate"}, {"dump"}, {"pack", "only-one.json"}}) {
        const CliRun r = run(args);
        EXPECT_NE(r.code, 0);
        EXPECT_FALSE(r.err.empty());
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(CliTest, DumpPrintsOneObjectPerEntryWithFieldsInOrder) {
    CDVItem fuel = filledItem();
    fuel.EntryType = 0;
    fuel.Entry = "Fuel";
    CDVItem trip;
    trip.EntryType = 2;
    trip.Odometer = 20001.25;
    trip.Destination = "M\xC3\xBCnchen";
    saveDoc(m_data, {fuel, trip});

    const CliRun r = run({"dump", m_data});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto json = nlohmann::ordered_json::parse(r.out);
    ASSERT_TRUE(json.is_array());
    ASSERT_EQ(json.size(), 2u);
    for (const auto& record : json) {
        std::vector<std::string> keys;
        for (const auto& [key, value] : record.items())
            keys.push_back(key);
        std::vector<std::string> expected;
        for (const auto& field : dvItemFields())
            expected.push_back(field.name);
        EXPECT_EQ(keys, expected);
    }
    const auto& first = json[0];
    EXPECT_TRUE(first["Icon"].is_number_integer());
    EXPECT_EQ(first["Icon"], 19);
    EXPECT_TRUE(first["Odometer"].is_number_float());
    EXPECT_EQ(first["Odometer"], 12345.5);
    EXPECT_TRUE(first["Date"].is_number_integer());
    EXPECT_EQ(first["Date"], 1700000000);
    EXPECT_EQ(first["SpareTime"], -5);
    EXPECT_EQ(first["Economy"], 6.8);
    EXPECT_EQ(first["Entry"], "Fuel");
    EXPECT_EQ(json[1]["Destination"], "M\xC3\xBCnchen");
    EXPECT_EQ(json[1]["Note"], "");
}

TEST_F(CliTest, DumpThenPackReproducesTheFileExactly) {
    CDVItem second = filledItem();
    second.Odometer = 10; // out of odometer order: pack must keep the file's order
    const std::vector<std::pair<const char*, std::vector<CDVItem>>> cases = {
        {"no entries", {}},
        {"ordinary entries", {filledItem(), second, CDVItem{}}},
        {"wide text and extreme values", {extremeItem(), filledItem()}},
    };
    for (const auto& [name, records] : cases) {
        SCOPED_TRACE(name);
        const std::string original = saveDoc(m_data, records);
        const CliRun dumped = run({"dump", m_data});
        ASSERT_EQ(dumped.code, 0) << dumped.err;
        writeFile(m_json, dumped.out);
        std::filesystem::remove(m_packed);
        const CliRun packed = run({"pack", m_json, m_packed});
        ASSERT_EQ(packed.code, 0) << packed.err;
        EXPECT_EQ(readFile(m_packed), original);
    }
}

TEST_F(CliTest, NonFiniteNumbersAreNamedStrings) {
    saveDoc(m_data, {extremeItem()});
    const CliRun r = run({"dump", m_data});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json[0]["Quantity"], "Infinity");
    EXPECT_EQ(json[0]["UnitPrice"], "-Infinity");
    EXPECT_EQ(json[0]["EndOdometer"], "NaN");
    EXPECT_EQ(json[0]["Economy"], "NaN(0xFFF8000000000000)");
    EXPECT_EQ(json[0]["Measure"], "\xC5\x81\xC3\xB3"
                                  "d\xC5\xBA");
}

TEST_F(CliTest, PackOverALongerFileKeepsItsTail) {
    const std::string longer = saveDoc(m_data, {filledItem(), filledItem(), filledItem()});
    writeFile(m_json, R"([{"Odometer": 7, "Entry": "Fuel"}])");
    const CliRun r = run({"pack", m_json, m_data});
    ASSERT_EQ(r.code, 0) << r.err;

    CDVItem expected;
    expected.Odometer = 7;
    expected.Entry = "Fuel";
    CVehicleLogDoc doc;
    doc.append(std::make_unique<CDVItem>(expected));
    const std::string head = doc.encode();
    const std::string written = readFile(m_data);
    ASSERT_EQ(written.size(), longer.size());
    EXPECT_EQ(written.substr(0, head.size()), head);
    EXPECT_EQ(written.substr(head.size()), longer.substr(head.size()));
}

TEST_F(CliTest, PackRefusesToOverwriteAnUnreadableDataFile) {
    const std::string notALog("\x01\x00\xFF\xFF\x01\x00\x07\x00XXXXXXX", 15);
    writeFile(m_data, notALog);
    writeFile(m_json, "[]");
    const CliRun r = run({"pack", m_json, m_data});
    EXPECT_NE(r.code, 0);
    EXPECT_NE(r.err.find(m_data), std::string::npos) << r.err;
    EXPECT_EQ(readFile(m_data), notALog);
}

TEST_F(CliTest, DumpReportsMissingAndDamagedFiles) {
    const CliRun missing = run({"dump", m_data});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find(m_data), std::string::npos);
    EXPECT_EQ(missing.out, "");

    writeFile(m_data, std::string("\x02\x00\xFF\xFF\x01\x00\x07\x00"
                                  "CDVItem\x01",
                                  16));
    const CliRun cut = run({"dump", m_data});
    EXPECT_EQ(cut.code, 1);
    EXPECT_NE(cut.err.find("could not be read: it ends after 0 of 2 entries"), std::string::npos) << cut.err;
    EXPECT_EQ(cut.out, "");
}

TEST_F(CliTest, BadPackInputIsRejectedAndNothingIsWritten) {
    struct Case {
        const char* name;
        std::string json;
        std::vector<std::string> fragments;
    };
    const std::vector<Case> cases = {
        {"syntax error", "[{\"Icon\": 1,}\n]", {"not valid JSON", "line 1"}},
        {"truncated", "[{\"Icon\": 1}", {"not valid JSON"}},
        {"not an array", R"({"Icon": 1})", {"expected an array of records, found object"}},
        {"element not an object", R"([{}, 5])", {"record at index 1", "expected an object, found number"}},
        {"unknown field", R"([{"Odometr": 5}])", {"record at index 0", "unknown field \"Odometr\""}},
        {"string for a double", R"([{"Odometer": "5"}])", {"record at index 0", "field Odometer", "the string \"5\""}},
        {"fraction for an int", R"([{}, {"Icon": 1.5}])", {"record at index 1", "field Icon", "not a whole number"}},
        {"int above range", R"([{"CellTemp": 2147483648}])", {"field CellTemp", "out of range"}},
        {"int below range", R"([{"CellTemp": -2147483649}])", {"field CellTemp", "out of range"}},
        {"time above range", R"([{"Date": 9223372036854775808}])", {"field Date", "out of range"}},
        {"time above range as a real", R"([{"Date": 9.3e18}])", {"field Date", "out of range"}},
        {"time as text", R"([{"Date": "2024-01-01"}])", {"field Date", "expected a whole number, found string"}},
        {"number for a string", R"([{"Note": 12}])", {"field Note", "expected a string, found number"}},
        {"null for a double", R"([{"Cost": null}])", {"field Cost", "expected a number, found null"}},
        {"malformed NaN", R"j([{"Cost": "NaN(0x7FF0000000000000)"}])j", {"field Cost"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(m_json, c.json);
        const CliRun r = run({"pack", m_json, m_packed});
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find(m_json), std::string::npos) << r.err;
        for (const auto& fragment : c.fragments)
            EXPECT_NE(r.err.find(fragment), std::string::npos) << "missing \"" << fragment << "\" in: " << r.err;
        EXPECT_FALSE(std::filesystem::exists(m_packed));
    }

    writeFile(m_json, "[]");
    const std::string noFolder = m_folder.file("no-folder/V.odv");
    const CliRun cannotCreate = run({"pack", m_json, noFolder});
    EXPECT_NE(cannotCreate.code, 0);
    EXPECT_NE(cannotCreate.err.find("cannot create " + noFolder), std::string::npos) << cannotCreate.err;

    const CliRun missing = run({"pack", m_folder.file("absent.json"), m_packed});
    EXPECT_NE(missing.code, 0);
    EXPECT_NE(missing.err.find("absent.json"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_packed));
}

TEST_F(CliTest, PackFillsMissingFieldsWithNewRecordDefaults) {
    writeFile(m_json, R"([{"EntryType": 1, "Odometer": 500, "Entry": "Oil change", "Cost": 49.9,
                           "Date": 1700000000, "Quantity": "Infinity"}])");
    ASSERT_EQ(run({"pack", m_json, m_packed}).code, 0);
    CVehicleLogDoc doc;
    ASSERT_EQ(doc.load(m_packed).status, LogLoadStatus::Loaded);
    ASSERT_EQ(doc.size(), 1u);
    CDVItem expected;
    expected.EntryType = 1;
    expected.Odometer = 500;
    expected.Entry = "Oil change";
    expected.Cost = 49.9;
    expected.Date = 1700000000;
    expected.Quantity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(doc.at(0), expected);
}
