// The new vehicle rules without the window: the VIN filter and length limits, the number
// fields, what Save writes into the vehicle registry and the data folder, and the refusals
// that keep an existing vehicle or data file from being overwritten.

#include "calc/new_vehicle_form.h"

#include "../store/log_file_bytes.h"
#include "store/vehicle_log_doc.h"
#include "store/vehicle_registry.h"
#include "store/vehicle_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using logtest::readFile;
using logtest::TempFolder;
using logtest::writeFile;

namespace {

constexpr std::time_t kNow = 1765000000;

TEST(NewVehicleFormVin, FilterDropsEdgeCharactersOnly) {
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {
        {"1hgcm82633a", "1HGCM82633A"},
        {"1HGCM-", "1HGCM"},
        {"-1HGCM", "1HGCM"},
        {"(1HG)", "1HG"},
        {"1HG-CM", "1HG-CM"},
        {"1HG/CM", "1HG/CM"},
        {"--..", ""},
        {"!#$%&'()*+,-./:;<=>?[\\]^_{}~\"@`", ""},
        {"\"@`AB`@\"", "AB"},
        {" AB ", " AB "},
        {"AB|", "AB|"},
        {"ä1-", "ä1"},
        {"abcdefghij0123456789", "ABCDEFGHIJ01234567"}, // cut to 18 characters
        {"ABCDEFGHIJ0123456-89", "ABCDEFGHIJ0123456"},  // cut first, then filtered
    };
    for (const auto& c : cases) {
        CNewVehicleForm form;
        form.fields().vin = c.typed;
        form.vinChanged();
        EXPECT_EQ(form.fields().vin, c.shown) << c.typed;
    }
}

TEST(NewVehicleFormVin, FilterSetIsThirtyOnePunctuationCharacters) {
    std::string members;
    for (int c = 1; c < 256; ++c) {
        if (CNewVehicleForm::isVinFilterChar(static_cast<char>(c)))
            members += static_cast<char>(c);
    }
    EXPECT_EQ(members, "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{}~");
    EXPECT_FALSE(CNewVehicleForm::isVinFilterChar('|'));
    EXPECT_FALSE(CNewVehicleForm::isVinFilterChar('\0'));
}

TEST(NewVehicleFormVin, TypingDropsATrailingHyphenButPastingKeepsAnInnerOne) {
    CNewVehicleForm form;
    form.fields().vin.clear();
    for (const char c : std::string("1hg-cm")) {
        form.fields().vin += c;
        form.vinChanged();
    }
    EXPECT_EQ(form.fields().vin, "1HGCM");

    form.fields().vin = "1hg-cm";
    EXPECT_TRUE(form.vinChanged());
    EXPECT_EQ(form.fields().vin, "1HG-CM");
    EXPECT_FALSE(form.vinChanged());
}

TEST(NewVehicleFormLimits, NameIsCutToItsLength) {
    CNewVehicleForm form;
    form.fields().name = "A name far longer than twenty";
    form.nameChanged();
    EXPECT_EQ(form.fields().name, "A name far longer th");
    // Characters, not bytes: "é" is two bytes.
    EXPECT_EQ(CNewVehicleForm::clipped("ééé", 2), "éé");
    EXPECT_EQ(CNewVehicleForm::clipped("ab", 2), "ab");
    EXPECT_EQ(CNewVehicleForm::clipped("abc", 0), "");
}

TEST(NewVehicleFormNumbers, WholeTextsOnly) {
    EXPECT_EQ(CNewVehicleForm::parseInteger(" 2015 "), 2015);
    EXPECT_EQ(CNewVehicleForm::parseInteger("-3"), -3);
    EXPECT_EQ(CNewVehicleForm::parseInteger("+7"), 7);
    for (const char* bad : {"", " ", "20a", "2015.5", "abc", "99999999999"})
        EXPECT_FALSE(CNewVehicleForm::parseInteger(bad)) << bad;

    EXPECT_EQ(CNewVehicleForm::parseNumber("1200.5"), 1200.5);
    EXPECT_EQ(CNewVehicleForm::parseNumber(" 3e2"), 300.0);
    for (const char* bad : {"", "1,5", "12 km", "inf", "nan", "x"})
        EXPECT_FALSE(CNewVehicleForm::parseNumber(bad)) << bad;
    EXPECT_EQ(CNewVehicleForm::numberText(1234.5), "1234.5");
    EXPECT_EQ(CNewVehicleForm::numberText(0), "0");
}

class NewVehicleFormSave : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_config);
        fs::create_directories(m_data);
    }

    void writeIni(const std::string& text) const { writeFile(m_config + CVehicleRegistry::kFileName, text); }
    std::string ini() const { return readFile(m_config + CVehicleRegistry::kFileName); }

    static CNewVehicleForm truck() {
        CNewVehicleForm form;
        CNewVehicleForm::Fields& f = form.fields();
        f.vin = "JH4DA9350LS000001";
        f.name = "Truck";
        f.make = "Acura";
        f.model = "Integra";
        f.year = 1990;
        f.plate = "XYZ-789";
        f.startOdometer = 500.5;
        f.distanceUnit = 1;
        f.liquid = 2;
        f.economyUnit = 3;
        return form;
    }

    CNewVehicleForm::Outcome save(const CNewVehicleForm& form) {
        CVehicleRegistry registry(m_config);
        return form.save(registry, m_data, kNow);
    }

    TempFolder m_root;
    std::string m_config = m_root.file("config/");
    std::string m_data = m_root.file("data/");
};

TEST_F(NewVehicleFormSave, RegistersTheVehicleAndCreatesAnEmptyLog) {
    writeIni("[VehicleList]\r\nVehicle0=A\r\nVehicle1=B\r\n");
    const CNewVehicleForm::Outcome outcome = save(truck());
    ASSERT_TRUE(outcome.ok()) << outcome.message;
    EXPECT_TRUE(outcome.message.empty());

    CVehicleRegistry registry(m_config);
    EXPECT_EQ(registry.vehicleNames(), (std::vector<std::string>{"A", "B", "Truck"}));
    VehicleSettings s;
    ASSERT_TRUE(registry.loadVehicle("Truck", s, kNow + 100, nullptr));
    // The form's fields, set up now, no reminders, every reminder last done at the start.
    VehicleSettings expected;
    expected.name = "Truck";
    expected.vin = "JH4DA9350LS000001";
    expected.make = "Acura";
    expected.model = "Integra";
    expected.plate = "XYZ-789";
    expected.year = 1990;
    expected.startOdometer = 500.5;
    expected.distanceUnit = 1;
    expected.liquid = 2;
    expected.economyUnit = 3;
    expected.setupDate = kNow;
    expected.lastMileage.fill(500.5);
    expected.lastDate.fill(static_cast<double>(kNow));
    EXPECT_EQ(s, expected);
    EXPECT_NE(ini().find("Econo=MPiG\r\n"), std::string::npos);

    CVehicleLogDoc doc;
    const std::string path = CVehicleLogDoc::dataFilePath(m_data, "JH4DA9350LS000001");
    EXPECT_EQ(doc.load(path).status, LogLoadStatus::Loaded);
    EXPECT_EQ(doc.size(), 0u);
}

TEST_F(NewVehicleFormSave, TakesTheFirstEmptySlotAndAnEmptyVinGetsTheUnknownFile) {
    writeIni("[VehicleList]\r\nVehicle0=A\r\nVehicle1=\r\nVehicle2=C\r\n");
    CNewVehicleForm form = truck();
    form.fields().vin.clear();
    ASSERT_TRUE(save(form).ok());
    CVehicleRegistry registry(m_config);
    EXPECT_EQ(registry.vehicleNames(), (std::vector<std::string>{"A", "Truck", "C"}));
    EXPECT_EQ(registry.vin("Truck"), "");
    EXPECT_TRUE(fs::exists(m_data + "UnKnown.odv"));
}

TEST_F(NewVehicleFormSave, RefusalsWriteNothing) {
    const std::string before = "[VehicleList]\r\nVehicle0=My Car\r\n[My Car]\r\nVIN=OLD1\r\nMake=Ford\r\n";
    const struct {
        const char* what;
        const char* vin;
        const char* name;
        CNewVehicleForm::Field field;
        const char* says;
    } cases[] = {
        {"name in another case", "NEW1", "MY CAR", CNewVehicleForm::Field::Name, "\"My Car\" already exists"},
        {"empty name", "NEW1", "", CNewVehicleForm::Field::Name, "Name"},
        {"bracket in name", "NEW1", "Van]", CNewVehicleForm::Field::Name, "[ or ]"},
        {"data file exists", "EXISTING", "Van", CNewVehicleForm::Field::Vin, "EXISTING.odv"},
        {"empty VIN, UnKnown exists", "", "Van", CNewVehicleForm::Field::Vin, "UnKnown.odv"},
        {"slash in VIN", "AB/CD", "Van", CNewVehicleForm::Field::Vin, "contains /"},
    };
    writeFile(m_data + "EXISTING.odv", "entries");
    writeFile(m_data + "UnKnown.odv", "more entries");
    for (const auto& c : cases) {
        writeIni(before);
        CNewVehicleForm form = truck();
        form.fields().vin = c.vin;
        form.fields().name = c.name;
        const CNewVehicleForm::Outcome outcome = save(form);
        EXPECT_FALSE(outcome.registered) << c.what;
        EXPECT_FALSE(outcome.dataFileSaved) << c.what;
        EXPECT_EQ(outcome.field, c.field) << c.what;
        EXPECT_NE(outcome.message.find(c.says), std::string::npos) << c.what << ": " << outcome.message;
        EXPECT_EQ(ini(), before) << c.what;
    }
    EXPECT_EQ(fs::file_size(m_data + "EXISTING.odv"), 7u);
    EXPECT_EQ(fs::file_size(m_data + "UnKnown.odv"), 12u);
    EXPECT_FALSE(fs::exists(m_data + "NEW1.odv"));
}

TEST_F(NewVehicleFormSave, DataFileThatCannotBeCreatedKeepsTheRegistration) {
    const std::string missingData = m_root.file("no such folder/");
    CVehicleRegistry registry(m_config);
    const CNewVehicleForm::Outcome outcome = truck().save(registry, missingData, kNow);
    EXPECT_TRUE(outcome.registered);
    EXPECT_FALSE(outcome.dataFileSaved);
    EXPECT_EQ(outcome.title, "Error 2105!");
    EXPECT_EQ(outcome.message, "Unable to create database.\nFilename: JH4DA9350LS000001\nPath: " + missingData +
                                   "\nIf this error persists, send an email to support@odrivo.org and include the "
                                   "above information.");
    EXPECT_EQ(CVehicleRegistry(m_config).vehicleNames(), std::vector<std::string>{"Truck"});
}

TEST_F(NewVehicleFormSave, RegistryThatCannotBeWrittenNamesTheFile) {
    const std::string missingConfig = m_root.file("no config/");
    CVehicleRegistry registry(missingConfig);
    const CNewVehicleForm::Outcome outcome = truck().save(registry, m_data, kNow);
    EXPECT_FALSE(outcome.registered);
    EXPECT_NE(outcome.message.find(missingConfig + "Drivana.ini"), std::string::npos) << outcome.message;
    EXPECT_NE(outcome.message.find("Check that this file can be written"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(m_data));
}

} // namespace
