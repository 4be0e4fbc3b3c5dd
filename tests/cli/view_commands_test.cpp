// odrivo-cli list and stats against a small log in temporary folders, under UTC and the
// "C" locale so dates and money have fixed forms.

#include "cli/view_commands.h"
#include "cli_fixture.h"
#include "store/vehicle_log_doc.h"

using clitest::lines;
using logtest::writeFile;

static std::vector<std::string> fields(const std::string& row) {
    return clitest::split(row, "\t");
}

namespace {

class ViewCommands : public clitest::CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        writeProfile("LastVehicle=Van\r\nLastView=3\r\n");
        writeFile(m_home.file("Drivana.ini"),
                  "[VehicleList]\r\nVehicle0=Van\r\n[Van]\r\nVIN=VAN1\r\nCostPerMile=0.5\r\n"
                  "[Config]\r\nFromDate=1772582400\r\nToDate=1773187140\r\n"); // 2026-03-04 to 03-10 23:59
        CVehicleLogDoc doc;
        doc.append(fuel(1000, "2026-03-01", 0));
        auto repair = std::make_unique<CDVItem>();
        repair->EntryType = CDVItem::Repair;
        repair->Icon = 4;
        repair->Odometer = 1100;
        repair->Date = *parseIsoDateTime("2026-03-05");
        repair->Entry = "Oil Change";
        repair->Cost = 45;
        repair->Station = "Lakeside Garage";
        doc.append(std::move(repair));
        auto trip = std::make_unique<CDVItem>();
        trip->EntryType = CDVItem::Trip;
        trip->Icon = 19;
        trip->Entry = "Trip";
        trip->Odometer = 1200;
        trip->EndOdometer = 1250;
        trip->Date = *parseIsoDateTime("2026-02-20");
        trip->Purpose = "Client visit";
        trip->Parking = 3;
        doc.append(std::move(trip));
        doc.append(fuel(1300, "2026-03-10", 30));
        ASSERT_TRUE(doc.save(m_home.file("VAN1.odv")).saved);
    }

    static std::unique_ptr<CDVItem> fuel(double odometer, const char* date, double economy) {
        auto item = std::make_unique<CDVItem>();
        item->Odometer = odometer;
        item->Date = *parseIsoDateTime(date);
        item->Entry = "Fuel";
        item->Measure = "Gallons";
        item->Quantity = 10;
        item->UnitPrice = 3.5;
        item->Cost = 35;
        item->Economy = economy;
        return item;
    }

    std::pair<int, std::string> run(std::vector<std::string> args) const {
        const clitest::CliRun r = CliFixture::run(args);
        return {r.code, r.code == 0 ? r.out : r.err};
    }
};

TEST_F(ViewCommands, ListPrintsTheWindowsRowsWithTheirCellTexts) {
    const auto [code, out] = run({"list"}); // the last view was "Any"
    ASSERT_EQ(code, 0) << out;
    const auto rows = lines(out);
    ASSERT_EQ(rows.size(), 4u);
    const auto first = fields(rows[0]);
    ASSERT_EQ(first.size(), 21u);
    EXPECT_EQ(first[0], "0");
    EXPECT_EQ(first[1], "Fuel");
    EXPECT_EQ(first[2], "   1000");
    EXPECT_EQ(first[3], "03/01/2026");
    EXPECT_EQ(first[4], "$3.500");
    const auto repair = fields(rows[1]);
    EXPECT_EQ(repair[0], "4");
    EXPECT_EQ(repair[1], "Oil Change");
    EXPECT_EQ(repair[4], "$45.00");
    const auto trip = fields(rows[2]);
    EXPECT_EQ(trip[4], "$28.00 (claim)"); // 50 x 0.5 + 0 tolls + 3 parking
    EXPECT_EQ(trip[19], "     50");
}

TEST_F(ViewCommands, ListFollowsViewRangeAndSearch) {
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> odometers;
    };
    const Case cases[] = {
        {{"list", "--view", "repairs"}, {"   1100"}},
        {{"list", "--view", "fuel"}, {"   1000", "   1300"}},
        {{"list", "--view", "any", "--range", "This Month", "--now", "2026-03-20T12:00"},
         {"   1000", "   1100", "   1300"}},
        {{"list", "--view", "any", "--range", "Last Month", "--now", "2026-03-20"}, {"   1200"}},
        {{"list", "--view", "any", "--from", "2026-03-04", "--to", "2026-03-10T23:59"}, {"   1100", "   1300"}},
        {{"list", "--view", "any", "--range", "select dates"}, {"   1100", "   1300"}},
        {{"list", "--view", "fuel", "--search", "lakeside"}, {"   1100"}},
    };
    for (const Case& c : cases) {
        const auto [code, out] = run(c.args);
        ASSERT_EQ(code, 0) << out;
        std::vector<std::string> odometers;
        for (const auto& row : lines(out))
            odometers.push_back(fields(row)[2]);
        EXPECT_EQ(odometers, c.odometers) << c.args[2];
    }
}

TEST_F(ViewCommands, StatsPrintsTotalsFiguresAndVerdict) {
    const auto [code, out] = run({"stats", "--view", "repairs"});
    ASSERT_EQ(code, 0) << out;
    for (const char* line : {"Fuel entries: 2", "Fuel cost: 70.00", "Repair cost: 45.00", "Trip expenses: 3.00",
                             "Total expenses: 118.00", "Latest odometer: 1300",
                             "Distance: 200", // latest odometer minus the first row shown (the repair)
                             "Economy MAX: 30.00", "Economy AVG: 30.00", "Repair cost MAX: 45.00",
                             "Running cost: $0.59   / Mi.", "Performance: Not enough data to calculate performance"})
        EXPECT_NE(out.find(std::string(line) + "\n"), std::string::npos) << line << "\n" << out;
}

TEST_F(ViewCommands, CostPagesCountEntriesAsStoredWhateverTheirText) {
    // The list reads an entry whose text begins with "Trip" as a trip; the cost pages must not.
    CVehicleLogDoc doc;
    ASSERT_EQ(doc.load(m_home.file("VAN1.odv")).status, LogLoadStatus::Loaded);
    doc.at(1).Entry = "Trip computer repair";
    ASSERT_TRUE(doc.save(m_home.file("VAN1.odv")).saved);
    const auto [code, out] = run({"stats"});
    ASSERT_EQ(code, 0) << out;
    for (const char* line : {"Repair cost MAX: 45.00", "Repair cost AVG: 45.00", "Fuel cost AVG: 3.500"})
        EXPECT_NE(out.find(std::string(line) + "\n"), std::string::npos) << line << "\n" << out;
}

TEST_F(ViewCommands, BadOptionsAreRefused) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"list", "--view", "cars"},
                                                 {"list", "--from", "2026-03-01"},
                                                 {"stats", "--now", "yesterday"},
                                                 {"list", "--from", "2026-13-01", "--to", "2026-12-01"},
                                                 {"list", "--vehicle", "Truck"}}) {
        const auto [code, err] = run(args);
        EXPECT_NE(code, 0) << args[1];
        EXPECT_FALSE(err.empty());
    }
    const auto [code, err] = run({"list", "--range", "Next Week"});
    EXPECT_EQ(code, 1);
    for (const char* range : {"\"View Filter Off\"", "\"Last Year\"", "\"Select Dates\"", "Next Week"})
        EXPECT_NE(err.find(range), std::string::npos) << range << " in " << err;
}

TEST(IsoDateTime, ParsesTheThreeFormsAndRejectsTheRest) {
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(parseIsoDateTime("2026-03-15"), std::optional<std::time_t>(1773532800));
    EXPECT_EQ(parseIsoDateTime("2026-03-15T14:30"), std::optional<std::time_t>(1773532800 + 14 * 3600 + 1800));
    EXPECT_EQ(parseIsoDateTime("2026-03-15T14:30:45"), std::optional<std::time_t>(1773532800 + 14 * 3600 + 1845));
    EXPECT_EQ(parseIsoDateTime("2028-02-29"), std::optional<std::time_t>(1835395200));
    for (const char* bad : {"", "2026-3-15", "2026-03-15 14:30", "2026-03-15T14", "2026-03-15T14:30:05Z", "15.03.2026",
                            "2026-02-29", "2026-04-31", " 026-03-15", "+026-03-15", "2026-03-15T-1:30"})
        EXPECT_FALSE(parseIsoDateTime(bad).has_value()) << bad;
    unsetenv("TZ");
    tzset();
}

} // namespace
