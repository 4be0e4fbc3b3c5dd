// odrivo-cli import into the van's log, under UTC and the "C" locale (month/day/year dates):
// the log is saved only when the whole file was read.

#include "cli_fixture.h"

using clitest::has;
using clitest::refused;
using clitest::Strings;
using logtest::readFile;
using logtest::writeFile;

namespace {

class ImportCommand : public clitest::CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        // "Car" maps type, odometer and date from columns 0..2; "Swapped" reads the odometer from column 2.
        writeProfile("LastVehicle=Van\r\n[ListAttributes]\r\nLastMap=Car\r\n"
                     "[Car]\r\nF0=1\r\nF1=2\r\nF2=3\r\n[Swapped]\r\nF0=1\r\nF1=3\r\n");
        writeVan("Liquid=Litre\r\n", {clitest::item(CDVItem::Fuel, 1000, "2026-01-01", "Existing")});
    }

    clitest::CliRun import(Strings args) const {
        args.insert(args.begin(), {"import", m_csv});
        return run(args);
    }

    std::string m_data = home("VAN1.odv"), m_csv = home("import.csv");
};

TEST_F(ImportCommand, ImportsThroughTheChosenMapSavesAndRemembers) {
    writeFile(m_csv, "Type,Odo,Date\r\nFuel,1000,03/04/2026\r\nTire rotation,900,\r\nNo odometer,0,\r\n");
    const auto r = import({});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Import Complete!\nImported 1 lines\nSkipped 1 Lines\n");
    writeFile(m_csv, "Type,Date,Odo\r\nWash,03/04/2026,1500\r\n");
    ASSERT_EQ(import({"--map", "Swapped", "--vehicle", "Van"}).code, 0);

    CVehicleLogDoc doc;
    ASSERT_TRUE(doc.load(m_data).ok());
    Strings texts;
    for (const auto& e : doc.entries())
        texts.push_back(e->Entry);
    EXPECT_EQ(texts, (Strings{"Tire rotation", "Fuel", "Existing", "Wash"}));
    // The vehicle's liquid and the locale's date order reach the import; the time of day is the run's.
    EXPECT_EQ(doc.at(1).Measure, "Litre");
    EXPECT_EQ(doc.at(1).Date / 86400, *parseIsoDateTime("2026-03-04") / 86400);
    const std::string settings = readFile(profile()); // the map and file are remembered for the next import
    EXPECT_TRUE(has(settings, "LastMap=Swapped\r\n"));
    EXPECT_TRUE(has(settings, "CSVName=import.csv\r\n"));
}

TEST_F(ImportCommand, ErrorsSaveNothing) {
    const std::string line = "Type,Odo,Date\r\nFuel,1100,\r\n";
    const std::tuple<std::string, Strings, const char*> cases[] = {
        {"", {}, "ERROR 401: Error opening CSV file"}, // no file
        {"Just a title\r\n", {}, "ERROR 2201:"},
        {line + "Fuel,1200,", {}, "Error 3221:\nCSV data format bad,"},
        {line, {"--map", "Unsaved"}, "The map \"Unsaved\" has no Odometer column"},
        {line, {"--vehicle", "Bus"}, "no vehicle \"Bus\""},
    };
    const std::string before = readFile(m_data);
    for (const auto& [csv, options, message] : cases) {
        std::filesystem::remove(m_csv);
        if (!csv.empty())
            writeFile(m_csv, csv);
        const auto r = import(options);
        EXPECT_TRUE(refused(r, message));
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(readFile(m_data), before) << message;
    }
    writeFile(m_data, "not a vehicle log"); // unreadable: never overwritten
    writeFile(m_csv, line);
    EXPECT_TRUE(refused(import({}), "VAN1.odv"));
    EXPECT_EQ(readFile(m_data), "not a vehicle log");
}

} // namespace
