// odrivo-cli list, stats and export against the van log, under UTC and the "C" locale so dates
// and money have fixed forms: the export file holds the rows `list` prints, in the view's layout.

#include "cli_fixture.h"
#include "exchange/csv_export.h"
#include "exchange/export_name.h"

#include <algorithm>

using clitest::has;
using clitest::refused;
using clitest::split;
using clitest::Strings;

namespace {

class ViewCommands : public clitest::CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        writeVanLog();
    }

    clitest::CliRun run(const char* command, Strings options) const {
        options.insert(options.begin(), command);
        return CliFixture::run(options);
    }

    // Every file in the home folder other than the ones SetUp wrote.
    Strings newFiles() const {
        Strings names;
        for (const auto& entry : std::filesystem::directory_iterator(home()))
            if (const auto name = entry.path().filename().string();
                name != "Odrivo.ini" && name != "Drivana.ini" && name != "VAN1.odv" && name != "state")
                names.push_back(name);
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(ViewCommands, ListPrintsTheWindowsRowsWithTheirCellTexts) {
    const auto r = run("list", {}); // the last view was "Any"
    ASSERT_EQ(r.code, 0) << r.err;
    const auto rows = clitest::lines(r.out);
    ASSERT_EQ(rows.size(), 4u);
    const auto fuel = split(rows[0], "\t"), repair = split(rows[1], "\t"), trip = split(rows[2], "\t");
    ASSERT_EQ(fuel.size(), 21u);
    EXPECT_EQ(Strings(fuel.begin(), fuel.begin() + 5), (Strings{"0", "Fuel", "   1000", "03/01/2026", "$3.500"}));
    EXPECT_EQ((Strings{repair[0], repair[1], repair[4]}), (Strings{"4", "Oil Change", "$45.00"}));
    EXPECT_EQ((Strings{trip[4], trip[19]}), (Strings{"$28.00 (claim)", "     50"})); // 50 x 0.5 + 3 parking
}

// Export writes the rows list prints, in the order it prints them, under the view's header.
TEST_F(ViewCommands, ListAndExportFollowViewRangeAndSearch) {
    const std::tuple<Strings, Strings, int> cases[] = {
        {{}, {"   1000", "   1100", "   1200", "   1300"}, 3}, // the window's last view
        {{"--view", "repairs"}, {"   1100"}, 1},
        {{"--view", "trips"}, {"   1200"}, 2},
        {{"--view", "any", "--range", "This Month", "--now", "2026-03-20T12:00"}, {"   1000", "   1100", "   1300"}, 3},
        {{"--view", "any", "--range", "Last Month", "--now", "2026-03-20"}, {"   1200"}, 3},
        {{"--view", "any", "--from", "2026-03-04", "--to", "2026-03-10T23:59"}, {"   1100", "   1300"}, 3},
        {{"--view", "any", "--range", "select dates"}, {"   1100", "   1300"}, 3},
        {{"--view", "fuel", "--search", "lakeside"}, {"   1100"}, 0},
    };
    for (const auto& [options, odometers, viewMode] : cases) {
        SCOPED_TRACE(options.empty() ? "last view" : options[1] + " " + options.back());
        const auto list = run("list", options);
        ASSERT_EQ(list.code, 0) << list.err;
        EXPECT_EQ(clitest::column(list.out, 2), odometers);
        Strings exportArgs = options;
        exportArgs.insert(exportArgs.end(), {"--out", home("rows.csv")});
        ASSERT_EQ(run("export", exportArgs).code, 0);
        const auto lines = clitest::lines(logtest::readFile(home("rows.csv")), "\r\n");
        ASSERT_EQ(lines.size(), odometers.size() + 1);
        EXPECT_EQ(lines[0], "\xEF\xBB\xBF" + CCsvExport::headerLine(viewMode));
        for (std::size_t i = 1; i < lines.size(); ++i)
            EXPECT_EQ(split(lines[i], "\",\"")[1], odometers[i - 1]);
    }
}

TEST_F(ViewCommands, StatsPrintsTotalsFiguresAndVerdict) {
    const auto r = run("stats", {"--view", "repairs"});
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
    const auto r = run("stats", {});
    ASSERT_EQ(r.code, 0) << r.err;
    for (const char* line : {"Repair cost MAX: 45.00", "Repair cost AVG: 45.00", "Fuel cost AVG: 3.500"})
        EXPECT_TRUE(has(r.out, std::string(line) + "\n"));
}

TEST_F(ViewCommands, ExportAddsTheExtensionAndReportsCompletion) {
    const auto r = run("export", {"--view", "repairs", "--out", home("van")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Export to " + home("van.csv") + " Complete.\n");
    EXPECT_EQ(logtest::readFile(home("van.csv")),
              "\xEF\xBB\xBF" + CCsvExport::headerLine(1) +
                  "\r\n\"03/05/2026\",\"   1100\",\"Oil Change\",\"Lakeside Garage\",\" 45.00\",\"\",\"\"\r\n");
    ASSERT_EQ(run("export", {"--view", "repairs", "--out", home("Van.CSV")}).code, 0);
    EXPECT_EQ(newFiles(), (Strings{"Van.CSV", "van.csv"}));
}

TEST_F(ViewCommands, BadOptionsAreRefusedAndNothingIsWritten) {
    const std::string missing = home("missing/rows.csv");
    const std::tuple<const char*, Strings, std::string> cases[] = {
        {"export", {"--out", home("what?.csv")}, home("what?.csv") + "\n" + CExportName::kInvalidText},
        {"export", {"--out", missing}, "cannot write " + missing + ": No such file or directory"},
        {"export", {"--out", home("bad.csv"), "--view", "cars"}, "cars"},
        {"export", {"--out", home("bad.csv"), "--from", "2026-03-01"}, "--to"},
        {"export", {"--out", home("bad.csv"), "--vehicle", "Truck"}, "Truck"},
        {"list", {"--from", "2026-13-01", "--to", "2026-12-01"}, "dates are written like 2026-03-15"},
        {"stats", {"--now", "yesterday"}, "--now is written like"},
        {"list", {"--range", "Next Week"}, "Next Week"},
        {"list", {"--range", "Next Week"}, "\"View Filter Off\""},
        {"list", {"--range", "Next Week"}, "\"Select Dates\""},
    };
    for (const auto& [command, options, message] : cases) {
        EXPECT_TRUE(refused(run(command, options), message)) << command << " " << options.back();
        EXPECT_TRUE(newFiles().empty());
    }
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
