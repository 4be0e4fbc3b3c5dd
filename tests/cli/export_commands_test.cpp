// odrivo-cli export against the van log, under UTC and the "C" locale: the file holds the rows
// `list` prints, in its order, in the view's layout.

#include "cli_fixture.h"
#include "exchange/csv_export.h"
#include "exchange/export_name.h"

#include <algorithm>

using clitest::has;
using clitest::Strings;

namespace {

class ExportCommand : public clitest::CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        writeVanLog();
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

TEST_F(ExportCommand, WritesTheRowsListPrintsInTheViewsLayout) {
    const std::pair<Strings, int> cases[] = {
        {{}, 3}, // the window's last view
        {{"--view", "trips"}, 2},
        {{"--view", "any", "--from", "2026-03-04", "--to", "2026-03-10T23:59"}, 3},
        {{"--view", "fuel", "--search", "lakeside"}, 0},
    };
    const std::string path = home("rows.csv");
    for (const auto& [options, viewMode] : cases) {
        Strings listArgs = {"list"}, exportArgs = {"export", "--out", path};
        listArgs.insert(listArgs.end(), options.begin(), options.end());
        exportArgs.insert(exportArgs.end(), options.begin(), options.end());
        const auto list = run(listArgs), exported = run(exportArgs);
        ASSERT_EQ(list.code, 0) << list.err;
        ASSERT_EQ(exported.code, 0) << exported.err;
        const std::string bytes = logtest::readFile(path);
        ASSERT_EQ(bytes.rfind("\xEF\xBB\xBF", 0), 0u);
        const auto lines = clitest::lines(bytes.substr(3), "\r\n");
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0], CCsvExport::headerLine(viewMode));
        Strings written;
        for (std::size_t i = 1; i < lines.size(); ++i)
            written.push_back(clitest::split(lines[i], "\",\"")[1]);
        EXPECT_EQ(written, clitest::column(list.out, 2)) << exportArgs.back();
    }
}

TEST_F(ExportCommand, AddsTheExtensionAndReportsCompletion) {
    const auto r = run({"export", "--view", "repairs", "--out", home("van")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Export to " + home("van.csv") + " Complete.\n");
    EXPECT_EQ(logtest::readFile(home("van.csv")),
              "\xEF\xBB\xBF" + CCsvExport::headerLine(1) +
                  "\r\n\"03/05/2026\",\"   1100\",\"Oil Change\",\"Lakeside Garage\",\" 45.00\",\"\",\"\"\r\n");
    ASSERT_EQ(run({"export", "--view", "repairs", "--out", home("Van.CSV")}).code, 0);
    EXPECT_EQ(newFiles(), (Strings{"Van.CSV", "van.csv"}));
}

TEST_F(ExportCommand, RefusalsNameTheProblemAndWriteNothing) {
    const std::string missing = home("missing/rows.csv");
    const std::pair<Strings, std::string> cases[] = {
        {{"--out", home("what?.csv")}, home("what?.csv") + "\n" + CExportName::kInvalidText},
        {{"--out", missing}, "cannot write " + missing + ": No such file or directory"},
        {{"--out", home("bad.csv"), "--view", "cars"}, "cars"},
        {{"--out", home("bad.csv"), "--from", "2026-03-01"}, "--to"},
        {{"--out", home("bad.csv"), "--vehicle", "Truck"}, "Truck"},
    };
    for (const auto& [options, message] : cases) {
        Strings args = options;
        args.insert(args.begin(), "export");
        const auto r = run(args);
        EXPECT_EQ(r.code, 1) << options.back();
        EXPECT_TRUE(has(r.err, message));
        EXPECT_TRUE(newFiles().empty()) << options.back();
    }
}

} // namespace
