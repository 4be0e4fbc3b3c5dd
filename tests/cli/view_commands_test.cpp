// odrivo-cli list and stats against the van log, under UTC and the "C" locale so dates and
// money have fixed forms.

#include "cli_fixture.h"

using clitest::has;
using clitest::split;
using clitest::Strings;

namespace {

class ViewCommands : public clitest::CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        writeVanLog();
    }
};

TEST_F(ViewCommands, ListPrintsTheWindowsRowsWithTheirCellTexts) {
    const auto r = run({"list"}); // the last view was "Any"
    ASSERT_EQ(r.code, 0) << r.err;
    const auto rows = clitest::lines(r.out);
    ASSERT_EQ(rows.size(), 4u);
    const auto fuel = split(rows[0], "\t"), repair = split(rows[1], "\t"), trip = split(rows[2], "\t");
    ASSERT_EQ(fuel.size(), 21u);
    EXPECT_EQ(Strings(fuel.begin(), fuel.begin() + 5), (Strings{"0", "Fuel", "   1000", "03/01/2026", "$3.500"}));
    EXPECT_EQ((Strings{repair[0], repair[1], repair[4]}), (Strings{"4", "Oil Change", "$45.00"}));
    EXPECT_EQ((Strings{trip[4], trip[19]}), (Strings{"$28.00 (claim)", "     50"})); // 50 x 0.5 + 3 parking
}

TEST_F(ViewCommands, ListFollowsViewRangeAndSearch) {
    const std::pair<Strings, Strings> cases[] = {
        {{"--view", "repairs"}, {"   1100"}},
        {{"--view", "fuel"}, {"   1000", "   1300"}},
        {{"--view", "any", "--range", "This Month", "--now", "2026-03-20T12:00"}, {"   1000", "   1100", "   1300"}},
        {{"--view", "any", "--range", "Last Month", "--now", "2026-03-20"}, {"   1200"}},
        {{"--view", "any", "--from", "2026-03-04", "--to", "2026-03-10T23:59"}, {"   1100", "   1300"}},
        {{"--view", "any", "--range", "select dates"}, {"   1100", "   1300"}},
        {{"--view", "fuel", "--search", "lakeside"}, {"   1100"}},
    };
    for (const auto& [options, odometers] : cases) {
        Strings args = options;
        args.insert(args.begin(), "list");
        const auto r = run(args);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(clitest::column(r.out, 2), odometers) << options[1] << " " << options.back();
    }
}

TEST_F(ViewCommands, StatsPrintsTotalsFiguresAndVerdict) {
    const auto r = run({"stats", "--view", "repairs"});
    ASSERT_EQ(r.code, 0) << r.err;
    for (const char* line : {"Fuel entries: 2", "Fuel cost: 70.00", "Repair cost: 45.00", "Trip expenses: 3.00",
                             "Total expenses: 118.00", "Latest odometer: 1300",
                             "Distance: 200", // latest odometer minus the first row shown (the repair)
                             "Economy MAX: 30.00", "Economy AVG: 30.00", "Repair cost MAX: 45.00",
                             "Running cost: $0.59   / Mi.", "Performance: Not enough data to calculate performance"})
        EXPECT_TRUE(has(r.out, std::string(line) + "\n"));
}

TEST_F(ViewCommands, CostPagesCountEntriesAsStoredWhateverTheirText) {
    // The list reads an entry whose text begins with "Trip" as a trip; the cost pages must not.
    CVehicleLogDoc doc;
    ASSERT_EQ(doc.load(home("VAN1.odv")).status, LogLoadStatus::Loaded);
    doc.at(1).Entry = "Trip computer repair";
    ASSERT_TRUE(doc.save(home("VAN1.odv")).saved);
    const auto r = run({"stats"});
    ASSERT_EQ(r.code, 0) << r.err;
    for (const char* line : {"Repair cost MAX: 45.00", "Repair cost AVG: 45.00", "Fuel cost AVG: 3.500"})
        EXPECT_TRUE(has(r.out, std::string(line) + "\n"));
}

TEST_F(ViewCommands, BadOptionsAreRefused) {
    for (const Strings& args :
         {Strings{"list", "--view", "cars"}, Strings{"list", "--from", "2026-03-01"},
          Strings{"stats", "--now", "yesterday"}, Strings{"list", "--from", "2026-13-01", "--to", "2026-12-01"},
          Strings{"list", "--vehicle", "Truck"}}) {
        const auto r = run(args);
        EXPECT_NE(r.code, 0) << args[1];
        EXPECT_FALSE(r.err.empty());
    }
    const auto r = run({"list", "--range", "Next Week"});
    EXPECT_EQ(r.code, 1);
    for (const char* range : {"\"View Filter Off\"", "\"Last Year\"", "\"Select Dates\"", "Next Week"})
        EXPECT_TRUE(has(r.err, range));
}

TEST_F(ViewCommands, IsoDateTimeTakesTheThreeFormsAndRejectsTheRest) {
    const std::time_t day = 1773532800; // 2026-03-15
    EXPECT_EQ(parseIsoDateTime("2026-03-15"), std::optional(day));
    EXPECT_EQ(parseIsoDateTime("2026-03-15T14:30"), std::optional(day + 14 * 3600 + 1800));
    EXPECT_EQ(parseIsoDateTime("2026-03-15T14:30:45"), std::optional(day + 14 * 3600 + 1845));
    EXPECT_EQ(parseIsoDateTime("2028-02-29"), std::optional<std::time_t>(1835395200));
    for (const char* bad : {"", "2026-3-15", "2026-03-15 14:30", "2026-03-15T14", "2026-03-15T14:30:05Z", "15.03.2026",
                            "2026-02-29", "2026-04-31", " 026-03-15", "+026-03-15", "2026-03-15T-1:30"})
        EXPECT_FALSE(parseIsoDateTime(bad).has_value()) << bad;
}

} // namespace
