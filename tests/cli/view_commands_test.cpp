// odrivo-cli list, stats, export, import and reminders against the van log, under UTC and the "C"
// locale, so dates (month/day/year) and money have fixed forms.

#include "cli_fixture.h"
#include "exchange/csv_export.h"
#include "exchange/export_name.h"

#include <iterator>

using clitest::has;
using clitest::refused;
using clitest::split;
using clitest::Strings;
using logtest::readFile;
using logtest::writeFile;

namespace {

class ViewCommands : public clitest::CliFixture {
protected:
    // 2026: fuel at 1000 (03-01), an oil change at 1100 (03-05), a trip at 1200 (02-20), fuel at 1300
    // (03-10); last view "Any", saved dates 03-04 to 03-10 23:59; oil due every 500 miles or 30 days,
    // warned 400 miles or 5 days ahead. Import map "Car" reads type, odometer, date from columns
    // 0..2, "Swapped" the odometer from 2.
    void SetUp() override {
        CliFixture::SetUp();
        writeProfile("LastVehicle=Van\r\nLastView=3\r\n[ListAttributes]\r\nLastBackupDate=03/01/2026 10:00\r\n"
                     "LastMap=Car\r\n[Car]\r\nF0=1\r\nF1=2\r\nF2=3\r\n[Swapped]\r\nF0=1\r\nF1=3\r\n");
        CDVItem fuel = clitest::item(CDVItem::Fuel, 1000, "2026-03-01", "Fuel", "", 35);
        fuel.Measure = "Gallons";
        fuel.Quantity = 10;
        fuel.UnitPrice = 3.5;
        CDVItem later = fuel;
        later.Odometer = 1300;
        later.Date = *parseIsoDateTime("2026-03-10");
        later.Economy = 30;
        CDVItem repair = clitest::item(CDVItem::Repair, 1100, "2026-03-05", "Oil Change", "Lakeside Garage", 45);
        repair.Icon = 4;
        CDVItem trip = clitest::item(CDVItem::Trip, 1200, "2026-02-20", "Trip");
        trip.EndOdometer = 1250;
        trip.Parking = 3;
        logtest::writeFile(home("Drivana.ini"),
                           "[VehicleList]\r\nVehicle0=Van\r\n[Van]\r\nVIN=VAN1\r\nCostPerMile=0.5\r\n"
                           "Liquid=Litre\r\nOilDistance=500\r\nOilDays=30\r\nLeadOdo=400\r\nLeadDays=5\r\n"
                           "[Config]\r\nFromDate=1772582400\r\nToDate=1773187140\r\n");
        clitest::saveLog(m_data, {fuel, repair, trip, later});
    }

    clitest::CliRun run(const char* command, Strings options) const {
        options.insert(options.begin(), command);
        return CliFixture::run(options);
    }

    std::string m_data = home("VAN1.odv"), m_csv = home("import.csv");

    // The settings, the vehicle list, the log and the state folder SetUp made, and whatever came since.
    long files() const { return std::distance(std::filesystem::directory_iterator(home()), {}); }
};

TEST_F(ViewCommands, ListAndExportWriteTheWindowsCellTexts) {
    const auto r = run("list", {}); // the last view was "Any"
    ASSERT_EQ(r.code, 0) << r.err;
    const auto rows = clitest::lines(r.out);
    ASSERT_EQ(rows.size(), 4u);
    const auto fuel = split(rows[0], "\t"), repair = split(rows[1], "\t"), trip = split(rows[2], "\t");
    ASSERT_EQ(fuel.size(), 21u);
    EXPECT_EQ(Strings(fuel.begin(), fuel.begin() + 5), (Strings{"0", "Fuel", "   1000", "03/01/2026", "$3.500"}));
    EXPECT_EQ((Strings{repair[0], repair[1], repair[4]}), (Strings{"4", "Oil Change", "$45.00"}));
    EXPECT_EQ((Strings{trip[4], trip[19]}), (Strings{"$28.00 (claim)", "     50"})); // 50 x 0.5 + 3 parking
    // Export adds the extension unless the name has it, in any case.
    const auto exported = run("export", {"--view", "repairs", "--out", home("van")});
    ASSERT_EQ(exported.code, 0) << exported.err;
    EXPECT_EQ(exported.out, "Export to " + home("van.csv") + " Complete.\n");
    EXPECT_EQ(logtest::readFile(home("van.csv")),
              "\xEF\xBB\xBF" + CCsvExport::headerLine(1) +
                  "\r\n\"03/05/2026\",\"   1100\",\"Oil Change\",\"Lakeside Garage\",\" 45.00\",\"\",\"\"\r\n");
    ASSERT_EQ(run("export", {"--view", "repairs", "--out", home("Van.CSV")}).code, 0);
    EXPECT_EQ(files(), 6); // "Van.CSV" as it was named, beside "van.csv"
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
        Strings listed;
        for (const auto& row : clitest::lines(list.out))
            listed.push_back(split(row, "\t")[2]);
        EXPECT_EQ(listed, odometers);
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

TEST_F(ViewCommands, StatsPrintsTotalsFiguresAndVerdictCountingEntriesAsStored) {
    const auto r = run("stats", {"--view", "repairs"});
    ASSERT_EQ(r.code, 0) << r.err;
    for (const char* line : {"Fuel entries: 2", "Fuel cost: 70.00", "Repair cost: 45.00", "Trip expenses: 3.00",
                             "Total expenses: 118.00", "Latest odometer: 1300",
                             "Distance: 200", // latest odometer minus the first row shown (the repair)
                             "Economy MAX: 30.00", "Economy AVG: 30.00", "Repair cost MAX: 45.00",
                             "Running cost: $0.59   / Mi.", "Performance: Not enough data to calculate performance"})
        EXPECT_TRUE(has(r.out, std::string(line) + "\n"));
    // The list reads an entry whose text begins with "Trip" as a trip; the cost pages must not.
    CVehicleLogDoc doc;
    ASSERT_EQ(doc.load(home("VAN1.odv")).status, LogLoadStatus::Loaded);
    doc.at(1).Entry = "Trip computer repair";
    ASSERT_TRUE(doc.save(home("VAN1.odv")).saved);
    const auto all = run("stats", {});
    ASSERT_EQ(all.code, 0) << all.err;
    for (const char* line : {"Repair cost MAX: 45.00", "Repair cost AVG: 45.00", "Fuel cost AVG: 3.500"})
        EXPECT_TRUE(has(all.out, std::string(line) + "\n"));
}

TEST_F(ViewCommands, BadOptionsAreRefusedAndNothingIsWritten) {
    const std::string missing = home("missing/rows.csv");
    const std::tuple<const char*, Strings, std::string> cases[] = {
        {"export", {"--out", home("what?.csv")}, home("what?.csv") + "\n" + CExportName::kInvalidText},
        {"export", {"--out", missing}, "cannot write " + missing + ": No such file or directory"},
        {"export", {"--out", home("bad.csv"), "--view", "cars"}, "cars"},
        {"export", {"--out", home("bad.csv"), "--from", "2026-03-01"}, "--to"},
        {"export", {"--out", home("bad.csv"), "--vehicle", "Truck"}, "Truck"},
        {"reminders", {"--vehicle", "Truck"}, "Run \"odrivo-cli vehicles\" to see the vehicles."},
        {"list", {"--from", "2026-13-01", "--to", "2026-12-01"}, "dates are written like 2026-03-15"},
        {"stats", {"--now", "yesterday"}, "--now is written like"},
        {"report", {"vehicle"}, "give either --pdf FILE or --layout"},
        {"report", {"vehicle", "--pdf", home("r.pdf")}, "built without PDF support"},
        {"report", {"view", "--layout", "--search", "nowhere"}, "Sorry! Nothing in list to print.\nAborting Print!"},
        {"report", {"item", "--layout"}, "Choose the row with --entry N"},
        {"report", {"item", "--layout", "--entry", "5"}, "--entry 5 is not a listed row; the list has 4 row(s)"},
        {"list",
         {"--range", "Next Week"},
         "unknown date range \"Next Week\"; use one of \"View Filter Off\", "
         "\"This Week\", \"This Month\", \"This Year\", \"Last Week\", \"Last Month\", "
         "\"Last Year\", \"Select Dates\"."},
    };
    for (const auto& [command, options, message] : cases) {
        EXPECT_TRUE(refused(run(command, options), message)) << command << " " << options.back();
        EXPECT_EQ(files(), 4);
    }
    // Either form of --now is refused only when both readings fail, so these reach both.
    for (const char* bad :
         {"", "tomorrow", "2026-3-20", "20.03.2026", "2026-03-20T12", "2026-03-20 12", "2026-03-20  12:00",
          "2026-03-20 12:00:00Z", "2026-03-20T12:00:05Z", "2026-02-29", "2026-04-31", "2026-03-20 24:00",
          "2026-03-20 12:60", "2026-03-20T-1:30", "+026-03-20", " 026-03-20", "2026-03- 2"})
        EXPECT_TRUE(refused(run("reminders", {"--now", bad}),
                            std::string("--now \"") + bad +
                                "\" is not a date; write it like 2026-03-15, \"2026-03-15 14:30\""));
}

// Every month's last day is a date and the day after it is not; February has its 29th in leap years.
TEST(CliDates, MonthsEndOnTheirLastDay) {
    const int lastDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int month = 1; month <= 12; ++month) {
        char last[32], after[32];
        std::snprintf(last, sizeof last, "2026-%02d-%02d", month, lastDays[month - 1]);
        std::snprintf(after, sizeof after, "2026-%02d-%02d", month, lastDays[month - 1] + 1);
        EXPECT_TRUE(parseIsoDateTime(last).has_value()) << last;
        EXPECT_FALSE(parseIsoDateTime(after).has_value()) << after;
    }
    EXPECT_TRUE(parseIsoDateTime("2024-02-29") && parseIsoDateTime("2000-02-29") && !parseIsoDateTime("2100-02-29"));
}

TEST_F(ViewCommands, ReportLaysOutTheListedRowsAsTheWindowPrintsThem) {
    const auto view = run("report", {"view", "--layout"});
    ASSERT_EQ(view.code, 0) << view.err;
    for (const char* text : {"\"VEHICLE REPORT\"", "\"TOTAL\"", "\"Page:1 of 1\"", "\"Lakeside Garage\""})
        EXPECT_TRUE(has(view.out, text));
    // The second listed row, as list numbers them.
    const auto item = run("report", {"item", "--layout", "--entry", "2"});
    ASSERT_EQ(item.code, 0) << item.err;
    EXPECT_TRUE(has(item.out, "\"Lakeside Garage\""));
    EXPECT_FALSE(has(item.out, "\"Fuel Qty.\""));
}

const char* const kDistanceLine = "8\tOil change due in: 300     Miles"; // 500 - (1300 - 1100)
const char* const kBackupLine = "6\tLast Backup: 03/01/2026 10:00";

TEST_F(ViewCommands, RemindersNowSetsTodayToTheSecond) {
    const std::pair<const char*, Strings> cases[] = {
        {"2026-03-20", {kDistanceLine, kBackupLine}}, // the due reminder above the backup line
        {"2026-04-01 12:00", {kDistanceLine, "8\tOil change due in: 3    days", kBackupLine}},
        {"2026-04-01T12:00", {kDistanceLine, "8\tOil change due in: 3    days", kBackupLine}},
        // 30 days less a second after the oil change, then exactly 31 days.
        {"2026-04-04 23:59:59", {kDistanceLine, "8\tOil change due in:      days", kBackupLine}},
        {"2026-04-05 00:00:00", {kDistanceLine, "5\tOil change OVERDUE by: 1    days", kBackupLine}},
    };
    for (const auto& [now, lines] : cases) {
        const auto r = run("reminders", {"--now", now});
        ASSERT_EQ(r.code, 0) << now << ": " << r.err;
        EXPECT_EQ(clitest::lines(r.out), lines) << now;
    }
}

TEST_F(ViewCommands, ImportImportsThroughTheChosenMapSavesAndRemembers) {
    writeFile(m_csv, "Type,Odo,Date\r\nFuel,1000,03/04/2026\r\nTire rotation,900,\r\nNo odometer,0,\r\n");
    const auto r = run("import", {m_csv});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Import Complete!\nImported 1 lines\nSkipped 1 Lines\n");
    writeFile(m_csv, "Type,Date,Odo\r\nWash,03/04/2026,1500\r\n");
    ASSERT_EQ(run("import", {m_csv, "--map", "Swapped", "--vehicle", "Van"}).code, 0);

    CVehicleLogDoc doc;
    ASSERT_TRUE(doc.load(m_data).ok());
    Strings texts;
    for (const auto& e : doc.entries())
        texts.push_back(e->Entry);
    EXPECT_EQ(texts, (Strings{"Tire rotation", "Fuel", "Fuel", "Oil Change", "Trip", "Fuel", "Wash"}));
    // The vehicle's liquid and the locale's date order reach the import; the time of day is the run's.
    EXPECT_EQ(doc.at(1).Measure, "Litre");
    EXPECT_EQ(doc.at(1).Date / 86400, *parseIsoDateTime("2026-03-04") / 86400);
    const std::string settings = readFile(profile()); // the map and file are remembered for the next import
    EXPECT_TRUE(has(settings, "LastMap=Swapped\r\n"));
    EXPECT_TRUE(has(settings, "CSVName=import.csv\r\n"));
}

// A web fuel log's export (LF, no type column, ISO dates with a time, a partial-fill column).
TEST_F(ViewCommands, ImportAutoMapPrintsTheMapAndImportsAsTheTypeSays) {
    const std::string csv = ODRIVO_TEST_DATA "/import/web_fuel_log.csv";
    const auto r = run("import", {csv, "--auto-map", "--type", "fuel", "--map", "Web"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "Map \"Web\":\n  Odometer <- \"Odometer\"\n  Date <- \"Date\"\n  Station <- \"Station\"\n"
              "  Fuel Qty <- \"Fuel Quantity\"\n  Fuel Price <- \"Price per Unit\"\n"
              "  Tolls & Maint cost <- \"Total Cost\"\n  Notes <- \"Notes\"\n  Partial Fill <- \"Partial Fill\"\n"
              "  EntryType = \"Fuel\" on every line\nImport Complete!\nImported 1 lines\nSkipped 0 Lines\n");
    CVehicleLogDoc doc;
    ASSERT_TRUE(doc.load(m_data).ok());
    ASSERT_EQ(doc.size(), 7u);
    EXPECT_EQ(std::pair(doc.at(5).Odometer, doc.at(5).PartialFill), std::pair(10650.0, 1));
    const std::string settings = readFile(profile()); // saved and listed under its name, kind and all
    EXPECT_TRUE(has(settings, "Map1=Web\r\n") && has(settings, "[Web]\r\n") && has(settings, "FixedEntry=Fuel\r\n"))
        << settings;
}

TEST_F(ViewCommands, ImportErrorsSaveNothing) {
    const std::string line = "Type,Odo,Date\r\nFuel,1100,\r\n";
    const std::tuple<std::string, Strings, const char*> cases[] = {
        {"", {m_csv}, "ERROR 401: Error opening CSV file"}, // no file
        {line + "Fuel," + std::string(130, '9') + ",\r\n", {m_csv}, "Error 3221:\nCSV data format bad,"},
        {"Odo,Date\r\n1100,\r\n", {m_csv, "--auto-map"}, "no EntryType column, so no line says what it is"},
        {line, {m_csv, "--map", "Unsaved"}, "The map \"Unsaved\" has no Odometer column"},
        {line, {m_csv, "--vehicle", "Bus"}, "no vehicle \"Bus\""},
    };
    const std::string before = readFile(m_data);
    for (const auto& [csv, options, message] : cases) {
        std::filesystem::remove(m_csv);
        if (!csv.empty())
            writeFile(m_csv, csv);
        const auto r = run("import", options);
        EXPECT_TRUE(refused(r, message));
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(readFile(m_data), before) << message;
    }
    writeFile(m_data, "not a vehicle log"); // unreadable: never overwritten
    writeFile(m_csv, line);
    EXPECT_TRUE(refused(run("import", {m_csv}), "VAN1.odv"));
    EXPECT_EQ(readFile(m_data), "not a vehicle log");
}

} // namespace
