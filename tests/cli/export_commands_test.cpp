// odrivo-cli export against a small log in temporary folders, under UTC and the "C"
// locale: the file holds the rows `list` prints, in its order, in the view's layout.

#include "cli/view_commands.h"
#include "cli_fixture.h"
#include "exchange/csv_export.h"
#include "exchange/export_name.h"
#include "store/vehicle_log_doc.h"

using logtest::TempFolder;

namespace {

class ExportCommand : public clitest::CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        writeProfile("LastVehicle=Van\r\nLastView=3\r\n");
        logtest::writeFile(m_home.file("Drivana.ini"),
                           "[VehicleList]\r\nVehicle0=Van\r\n[Van]\r\nVIN=VAN1\r\nCostPerMile=0.5\r\n");
        CVehicleLogDoc doc;
        doc.append(entry(CDVItem::Fuel, 1000, "2026-03-01", "Fuel", "Shell"));
        doc.append(entry(CDVItem::Repair, 1100, "2026-03-05", "Oil Change", "Lakeside Garage"));
        doc.append(entry(CDVItem::Trip, 1200, "2026-02-20", "Trip", ""));
        doc.append(entry(CDVItem::Fuel, 1300, "2026-03-10", "Fuel", "Lakeside Fuel"));
        ASSERT_TRUE(doc.save(m_home.file("VAN1.odv")).saved);
    }

    static std::unique_ptr<CDVItem> entry(CDVItem::Type type, double odometer, const char* date, const char* text,
                                          const char* station) {
        auto item = std::make_unique<CDVItem>();
        item->EntryType = type;
        item->Odometer = odometer;
        item->Date = *parseIsoDateTime(date);
        item->Entry = text;
        item->Station = station;
        item->Cost = 45;
        return item;
    }

    using Result = clitest::CliRun;

    // Every file in the home folder other than the ones SetUp wrote.
    std::vector<std::string> newFiles() const {
        std::vector<std::string> names;
        for (const auto& item : std::filesystem::directory_iterator(m_home.path())) {
            const std::string name = item.path().filename().string();
            if (name != "Odrivo.ini" && name != "Drivana.ini" && name != "VAN1.odv" && name != "state")
                names.push_back(name);
        }
        return names;
    }
};

TEST_F(ExportCommand, WritesTheRowsListPrintsInTheViewsLayout) {
    const struct {
        std::vector<std::string> options;
        int viewMode;
    } cases[] = {
        {{}, 3}, // the window's last view
        {{"--view", "repairs"}, 1},
        {{"--view", "fuel"}, 0},
        {{"--view", "trips"}, 2},
        {{"--view", "any", "--range", "This Month", "--now", "2026-03-20T12:00"}, 3},
        {{"--view", "any", "--from", "2026-03-04", "--to", "2026-03-10T23:59"}, 3},
        {{"--view", "fuel", "--search", "lakeside"}, 0},
    };
    for (const auto& c : cases) {
        std::vector<std::string> listArgs = {"list"};
        listArgs.insert(listArgs.end(), c.options.begin(), c.options.end());
        const Result list = run(listArgs);
        ASSERT_EQ(list.code, 0) << list.err;
        std::vector<std::string> listed;
        for (const auto& row : clitest::lines(list.out))
            listed.push_back(clitest::split(row, "\t")[2]);

        const std::string path = m_home.file("rows.csv");
        std::vector<std::string> exportArgs = {"export", "--out", path};
        exportArgs.insert(exportArgs.end(), c.options.begin(), c.options.end());
        const Result exported = run(exportArgs);
        ASSERT_EQ(exported.code, 0) << exported.err;
        const std::string bytes = logtest::readFile(path);
        ASSERT_EQ(bytes.rfind("\xEF\xBB\xBF", 0), 0u);
        const auto lines = clitest::lines(bytes.substr(3), "\r\n");
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0], CCsvExport::headerLine(c.viewMode));
        std::vector<std::string> written;
        for (std::size_t i = 1; i < lines.size(); ++i)
            written.push_back(clitest::split(lines[i], "\",\"")[1]);
        EXPECT_EQ(written, listed) << exportArgs.back();
    }
}

TEST_F(ExportCommand, AddsTheExtensionAndReportsCompletion) {
    const Result result = run({"export", "--view", "repairs", "--out", m_home.file("van")});
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "Export to " + m_home.file("van.csv") + " Complete.\n");
    EXPECT_EQ(logtest::readFile(m_home.file("van.csv")),
              "\xEF\xBB\xBF" + CCsvExport::headerLine(1) +
                  "\r\n\"03/05/2026\",\"   1100\",\"Oil Change\",\"Lakeside Garage\",\" 45.00\",\"\",\"\"\r\n");

    const Result upper = run({"export", "--view", "repairs", "--out", m_home.file("Van.CSV")});
    ASSERT_EQ(upper.code, 0) << upper.err;
    EXPECT_TRUE(std::filesystem::exists(m_home.file("Van.CSV")));
    EXPECT_FALSE(std::filesystem::exists(m_home.file("Van.CSV.csv")));
}

TEST_F(ExportCommand, RefusesAnInvalidName) {
    const Result result = run({"export", "--out", m_home.file("what?.csv")});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find(m_home.file("what?.csv")), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(CExportName::kInvalidText), std::string::npos) << result.err;
    EXPECT_TRUE(newFiles().empty());
}

TEST_F(ExportCommand, FailureNamesTheFileAndWritesNothing) {
    const std::string path = m_home.file("missing/rows.csv");
    const Result result = run({"export", "--out", path});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("cannot write " + path + ": "), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("No such file or directory"), std::string::npos) << result.err;
    EXPECT_TRUE(newFiles().empty());

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--view", "cars"}, {"--from", "2026-03-01"}, {"--vehicle", "Truck"}}) {
        std::vector<std::string> args = {"export", "--out", m_home.file("bad.csv")};
        args.insert(args.end(), bad.begin(), bad.end());
        const Result refused = run(args);
        EXPECT_EQ(refused.code, 1) << bad[0];
        EXPECT_FALSE(refused.err.empty()) << bad[0];
        EXPECT_TRUE(newFiles().empty()) << bad[0];
    }
}

} // namespace
