// odrivo-cli import against a small log in a temporary folder, under UTC and the "C" locale
// (month/day/year dates): the log is saved only when the whole file was read.

#include "cli_fixture.h"
#include "store/vehicle_log_doc.h"

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
        writeFile(home("Drivana.ini"), "[VehicleList]\r\nVehicle0=Van\r\n[Van]\r\nVIN=VAN1\r\nLiquid=Litre\r\n");
        CVehicleLogDoc doc;
        auto existing = std::make_unique<CDVItem>();
        existing->Odometer = 1000;
        existing->Entry = "Existing";
        doc.append(std::move(existing));
        ASSERT_TRUE(doc.save(m_data).saved);
    }

    clitest::CliRun import(std::vector<std::string> args) const {
        args.insert(args.begin(), "import");
        return run(args);
    }

    std::vector<std::string> entries() {
        CVehicleLogDoc doc;
        EXPECT_TRUE(doc.load(m_data).ok());
        std::vector<std::string> texts;
        for (const auto& e : doc.entries())
            texts.push_back(e->Entry);
        return texts;
    }

    std::string m_data = home("VAN1.odv");
    std::string m_csv = home("import.csv");
};

TEST_F(ImportCommand, ImportsThroughTheLastMapAndSaves) {
    writeFile(m_csv, "Type,Odo,Date\r\nFuel,1000,03/04/2026\r\nTire rotation,900,\r\nNo odometer,0,\r\n");
    const clitest::CliRun r = import({m_csv});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Import Complete!\nImported 1 lines\nSkipped 1 Lines\n");
    EXPECT_EQ(entries(), (std::vector<std::string>{"Tire rotation", "Fuel", "Existing"}));

    CVehicleLogDoc doc;
    ASSERT_TRUE(doc.load(m_data).ok());
    const CDVItem& fuel = doc.at(1);
    EXPECT_EQ(fuel.EntryType, CDVItem::Fuel);
    EXPECT_EQ(fuel.Measure, "Litre");
    std::tm parts{};
    const auto date = static_cast<std::time_t>(fuel.Date);
    ::gmtime_r(&date, &parts);
    EXPECT_EQ(parts.tm_year + 1900, 2026);
    EXPECT_EQ(parts.tm_mon + 1, 3);
    EXPECT_EQ(parts.tm_mday, 4);
    EXPECT_EQ(doc.at(0).Icon, 17);
}

TEST_F(ImportCommand, MapOptionChoosesTheMap) {
    writeFile(m_csv, "Type,Date,Odo\r\nWash,03/04/2026,1500\r\n");
    const clitest::CliRun r = import({m_csv, "--map", "Swapped", "--vehicle", "Van"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(entries(), (std::vector<std::string>{"Existing", "Wash"}));
    const std::string settings = readFile(profile()); // the map and file are remembered for the next import
    for (const std::string& key :
         {std::string("LastMap=Swapped\r\n"), std::string("CSVName=import.csv\r\n"), "CSVPath=" + home()})
        EXPECT_NE(settings.find(key), std::string::npos) << key << " in " << settings;
}

TEST_F(ImportCommand, ErrorsSaveNothing) {
    std::string tooMany = "Fuel,1200";
    for (int i = 0; i < 28; ++i)
        tooMany += ",x";
    const struct {
        const char* name;
        std::string csv; // empty: no file
        std::vector<std::string> extra;
        const char* message;
    } cases[] = {
        {"no file", "", {}, "ERROR 401: Error opening CSV file"},
        {"no columns", "Just a title\r\n", {}, "ERROR 2201:"},
        {"format", "Type,Odo,Date\r\nFuel,1100,\r\nFuel,1200,", {}, "Error 3221:\nCSV data format bad,"},
        {"too many fields", "Type,Odo,Date\r\nFuel,1100,\r\n" + tooMany + "\r\n", {}, "Too many fields"},
        {"map without odometer", "Type,Odo,Date\r\nFuel,1100,\r\n", {"--map", "Unsaved"}, "Odometer field must be"},
        {"unknown vehicle", "Type,Odo,Date\r\nFuel,1100,\r\n", {"--vehicle", "Bus"}, "no vehicle \"Bus\""},
    };
    const std::string before = readFile(m_data);
    for (const auto& c : cases) {
        std::filesystem::remove(m_csv);
        if (!c.csv.empty())
            writeFile(m_csv, c.csv);
        std::vector<std::string> args = {m_csv};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const clitest::CliRun r = import(args);
        EXPECT_EQ(r.code, 1) << c.name;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << c.name;
        EXPECT_EQ(readFile(m_data), before) << c.name;
    }
}

TEST_F(ImportCommand, UnreadableDataFileIsNeverOverwritten) {
    const std::string garbage = "not a vehicle log";
    writeFile(m_data, garbage);
    writeFile(m_csv, "Type,Odo,Date\r\nFuel,1100,\r\n");
    const clitest::CliRun r = import({m_csv});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("VAN1.odv"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(m_data), garbage);
}

} // namespace
