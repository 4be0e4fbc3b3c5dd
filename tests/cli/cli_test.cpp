// odrivo-cli dump and pack: a log as JSON and back, byte for byte, and the refusals that
// leave every file as it was.

#include "cli_fixture.h"

#include <nlohmann/json.hpp>

#include <bit>
#include <limits>

using clitest::has;
using clitest::refused;
using logtest::filledItem;
using logtest::readFile;
using logtest::writeFile;

namespace {

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
                "d\xC5\xBA"; // UTF-16 on disk
    r.Contact = std::string("a\0b", 3);
    r.DepartTime = std::numeric_limits<std::int64_t>::max();
    r.Cost = -0.0;
    r.Quantity = inf;
    r.UnitPrice = -inf;
    r.EndOdometer = std::numeric_limits<double>::quiet_NaN();
    r.Economy = std::bit_cast<double>(std::uint64_t{0xFFF8000000000000}); // the NaN of 0.0 / 0.0 on x86
    r.Parking = std::bit_cast<double>(std::uint64_t{0x7FF0000000000001}); // a signalling NaN
    return r;
}

class CliTest : public clitest::CliFixture {
protected:
    std::string m_data = home("V.odv"), m_json = home("V.json"), m_packed = home("packed.odv");
};

} // namespace

TEST_F(CliTest, HelpGoesToOutputUsageErrorsToTheErrorStream) {
    const auto help = clitest::runArgs({"--help"});
    EXPECT_EQ(std::pair(help.code, help.err), std::pair(0, std::string()));
    EXPECT_TRUE(has(help.out, "dump") && has(help.out, "pack")) << help.out;
    for (const clitest::Strings& args : {clitest::Strings{}, {"frobnicate"}, {"dump"}, {"pack", "only-one.json"}}) {
        const auto r = clitest::runArgs(args);
        EXPECT_NE(r.code, 0);
        EXPECT_FALSE(r.err.empty());
        EXPECT_EQ(r.out, "");
    }
}

// Dump prints one object an entry, its fields in the file's order; pack turns that back into
// the very same bytes, entries in the file's order even when their odometers are not.
TEST_F(CliTest, DumpThenPackReproducesTheFileExactly) {
    CDVItem fuel = filledItem(), before = filledItem();
    fuel.Entry = "Fuel";
    before.Odometer = 10;
    const std::string original = clitest::saveLog(m_data, {fuel, CDVItem{}, extremeItem(), before});
    const auto dumped = clitest::runArgs({"dump", m_data});
    ASSERT_EQ(dumped.code, 0) << dumped.err;
    const auto json = nlohmann::ordered_json::parse(dumped.out);
    ASSERT_EQ(json.size(), 4u);
    clitest::Strings order, fields;
    for (const auto& [key, value] : json[2].items())
        order.push_back(key);
    for (const auto& field : dvItemFields())
        fields.push_back(field.name);
    EXPECT_EQ(order, fields);
    // Whole numbers print without a fraction, non-finite ones as named strings.
    const auto pick = [&json](int index, std::initializer_list<const char*> keys) {
        std::string out;
        for (const char* key : keys)
            out += std::string(key) + "=" + json[index][key].dump() + " ";
        return out;
    };
    EXPECT_EQ(pick(0, {"Icon", "Odometer", "Date", "SpareTime", "Economy", "Entry"}),
              "Icon=19 Odometer=12345.5 Date=1700000000 SpareTime=-5 Economy=6.8 Entry=\"Fuel\" ");
    EXPECT_EQ(pick(1, {"Note", "Cost"}), "Note=\"\" Cost=0.0 ");
    EXPECT_EQ(pick(2, {"Quantity", "UnitPrice", "EndOdometer", "Economy", "Measure"}),
              "Quantity=\"Infinity\" UnitPrice=\"-Infinity\" EndOdometer=\"NaN\" Economy=\"NaN(0xFFF8000000000000)\" "
              "Measure=\"\xC5\x81\xC3\xB3\x64\xC5\xBA\" ");

    for (const auto& [json, bytes] : {std::pair{dumped.out, original}, {"[]", clitest::saveLog(m_packed, {})}}) {
        writeFile(m_json, json);
        std::filesystem::remove(m_packed);
        const auto packed = clitest::runArgs({"pack", m_json, m_packed});
        ASSERT_EQ(packed.code, 0) << packed.err;
        EXPECT_EQ(readFile(m_packed), bytes);
    }
}

TEST_F(CliTest, PackOverALongerFileKeepsItsTailAndFillsDefaults) {
    const std::string longer = clitest::saveLog(m_data, {filledItem(), filledItem(), filledItem()});
    writeFile(m_json, R"([{"EntryType": 1, "Odometer": 500, "Entry": "Oil change", "Cost": 49.9,
                           "Date": 1700000000, "Quantity": "Infinity"}])");
    const auto r = clitest::runArgs({"pack", m_json, m_data});
    ASSERT_EQ(r.code, 0) << r.err;
    // Every field not named keeps a new entry's value.
    CDVItem expected = clitest::item(CDVItem::Repair, 500, "2023-11-14T22:13:20", "Oil change", "", 49.9);
    expected.Quantity = std::numeric_limits<double>::infinity();
    const std::string head = clitest::saveLog(m_packed, {expected}), written = readFile(m_data);
    ASSERT_EQ(written.size(), longer.size());
    EXPECT_EQ(written, head + longer.substr(head.size()));
}

TEST_F(CliTest, UnreadableLogsAreNamedAndNeverOverwritten) {
    const std::string notALog("\x01\x00\xFF\xFF\x01\x00\x07\x00XXXXXXX", 15);
    writeFile(m_data, notALog);
    writeFile(m_json, "[]");
    EXPECT_TRUE(refused(clitest::runArgs({"pack", m_json, m_data}), m_data));
    EXPECT_EQ(readFile(m_data), notALog);

    const auto missing = clitest::runArgs({"dump", home("gone.odv")});
    EXPECT_TRUE(refused(missing, home("gone.odv")));
    EXPECT_EQ(missing.out, "");
    writeFile(m_data, std::string("\x02\x00\xFF\xFF\x01\x00\x07\x00"
                                  "CDVItem\x01",
                                  16)); // two entries, none there
    const auto cut = clitest::runArgs({"dump", m_data});
    EXPECT_TRUE(refused(cut, "could not be read: it ends after 0 of 2 entries"));
    EXPECT_EQ(cut.out, "");
}

TEST_F(CliTest, BadPackInputIsRejectedAndNothingIsWritten) {
    const std::tuple<const char*, std::string, clitest::Strings> cases[] = {
        {"syntax error", "[{\"Icon\": 1,}\n]", {"not valid JSON", "line 1"}},
        {"not an array", R"({"Icon": 1})", {"expected an array of records, found object"}},
        {"element not an object", R"([{}, 5])", {"record at index 1", "expected an object, found number"}},
        {"unknown field", R"([{"Odometr": 5}])", {"record at index 0", "unknown field \"Odometr\""}},
        {"string for a double", R"([{"Odometer": "5"}])", {"record at index 0", "field Odometer", "the string \"5\""}},
        {"fraction for an int", R"([{}, {"Icon": 1.5}])", {"record at index 1", "field Icon", "not a whole number"}},
        {"int above range", R"([{"CellTemp": 2147483648}])", {"field CellTemp", "out of range"}},
        {"time above range", R"([{"Date": 9223372036854775808}])", {"field Date", "out of range"}},
        {"time above range as a real", R"([{"Date": 9.3e18}])", {"field Date", "out of range"}},
        {"number for a string", R"([{"Note": 12}])", {"field Note", "expected a string, found number"}},
        {"null for a double", R"([{"Cost": null}])", {"field Cost", "expected a number, found null"}},
        {"malformed NaN", R"j([{"Cost": "NaN(0x7FF0000000000000)"}])j", {"field Cost"}},
    };
    for (const auto& [name, json, fragments] : cases) {
        SCOPED_TRACE(name);
        writeFile(m_json, json);
        const auto r = clitest::runArgs({"pack", m_json, m_packed});
        EXPECT_TRUE(refused(r, m_json));
        for (const auto& fragment : fragments)
            EXPECT_TRUE(has(r.err, fragment));
        EXPECT_FALSE(std::filesystem::exists(m_packed));
    }

    writeFile(m_json, "[]");
    const std::string noFolder = home("no-folder/V.odv");
    EXPECT_TRUE(refused(clitest::runArgs({"pack", m_json, noFolder}), "cannot create " + noFolder));
    EXPECT_TRUE(refused(clitest::runArgs({"pack", home("absent.json"), m_packed}), "absent.json"));
    EXPECT_FALSE(std::filesystem::exists(m_packed));
}
