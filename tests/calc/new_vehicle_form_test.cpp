#include "calc/new_vehicle_form.h"

#include "../store/log_file_bytes.h"
#include "store/vehicle_log_doc.h"
#include "store/vehicle_registry.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using logtest::readFile;
using logtest::writeFile;

namespace {

constexpr std::time_t kNow = 1765000000;

TEST(NewVehicleForm, VinFilterAndFieldLimits) {
    // Cut to 18 characters first, then filtered.
    // clang-format off
    const std::pair<const char*, const char*> vins[] = {{"1hgcm82633a", "1HGCM82633A"},
        {"(1HG)", "1HG"}, {"1HG-CM", "1HG-CM"}, {"!#$%&'()*+,-./:;<=>?[\\]^_{}~\"@`", ""}, {"\"@`AB`@\"", "AB"},
        {" AB ", " AB "}, {"ä1-", "ä1"}, {"abcdefghij0123456789", "ABCDEFGHIJ01234567"},
        {"ABCDEFGHIJ0123456-89", "ABCDEFGHIJ0123456"}};
    // clang-format on
    for (const auto& [typed, shown] : vins) {
        CNewVehicleForm form;
        form.fields().vin = typed;
        form.vinChanged();
        EXPECT_EQ(form.fields().vin, shown) << typed;
    }
    // A change reports whether the filter changed the text.
    CNewVehicleForm form;
    form.fields().vin = "1hg-cm";
    const bool changed = form.vinChanged();
    EXPECT_EQ(std::pair(changed, form.vinChanged()), std::pair(true, false));
    form.fields().name = "A name far longer than twenty";
    form.nameChanged();
    EXPECT_EQ(form.fields().name, "A name far longer th");
    EXPECT_EQ(CNewVehicleForm::clipped("ééé", 2) + "|" + CNewVehicleForm::clipped("abc", 0), "éé|"); // characters
}

TEST(NewVehicleForm, NumberFieldsTakeWholeTextsOnly) {
    const std::pair<const char*, std::optional<int>> ints[] = {{" 2015 ", 2015}, {"+7", 7},      {"", {}},
                                                               {"20a", {}},      {"2015.5", {}}, {"99999999999", {}}};
    for (const auto& [text, value] : ints)
        EXPECT_EQ(CNewVehicleForm::parseInteger(text), value) << text;
    EXPECT_EQ(CNewVehicleForm::numberText(1234.5), "1234.5");
}

class NewVehicleFormSave : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(m_config), fs::create_directories(m_data); }
    void writeIni(const std::string& text) const { writeFile(m_config + CVehicleRegistry::kFileName, text); }
    std::string ini() const { return readFile(m_config + CVehicleRegistry::kFileName); }

    static CNewVehicleForm truck() {
        CNewVehicleForm form;
        form.fields() = {"JH4DA9350LS000001", "Truck", "Acura", "Integra", 1990, "XYZ-789", 500.5, 1, 2, 3};
        return form;
    }
    CNewVehicleForm::Outcome save(const CNewVehicleForm& form, const std::string& config, const std::string& data) {
        CVehicleRegistry registry(config);
        return form.save(registry, data, kNow);
    }

    logtest::TempFolder m_root;
    std::string m_config = m_root.file("config/");
    std::string m_data = m_root.file("data/");
};

TEST_F(NewVehicleFormSave, RegistersTheVehicleInTheFirstFreeSlotWithAnEmptyLog) {
    writeIni("[VehicleList]\r\nVehicle0=A\r\nVehicle1=\r\nVehicle2=C\r\n");
    const CNewVehicleForm::Outcome outcome = save(truck(), m_config, m_data);
    ASSERT_TRUE(outcome.ok() && outcome.message.empty()) << outcome.message;

    CVehicleRegistry registry(m_config);
    EXPECT_EQ(registry.vehicleNames(), (std::vector<std::string>{"A", "Truck", "C"}));
    VehicleSettings s, expected;
    ASSERT_TRUE(registry.loadVehicle("Truck", s, kNow + 100, nullptr));
    // The form's fields, set up now, no reminders, every reminder last done at the start.
    expected.name = "Truck", expected.vin = "JH4DA9350LS000001", expected.make = "Acura", expected.model = "Integra";
    expected.plate = "XYZ-789", expected.year = 1990, expected.startOdometer = 500.5, expected.distanceUnit = 1;
    expected.liquid = 2, expected.economyUnit = 3, expected.setupDate = kNow;
    expected.lastMileage.fill(500.5);
    expected.lastDate.fill(static_cast<double>(kNow));
    EXPECT_EQ(s, expected);
    EXPECT_NE(ini().find("Econo=MPiG\r\n"), std::string::npos);
    CVehicleLogDoc doc;
    EXPECT_EQ(doc.load(CVehicleLogDoc::dataFilePath(m_data, s.vin)).status, LogLoadStatus::Loaded);
    EXPECT_EQ(doc.size(), 0u);

    CNewVehicleForm noVin = truck();
    noVin.fields().vin.clear(), noVin.fields().name = "Van";
    ASSERT_TRUE(save(noVin, m_config, m_data).ok());
    EXPECT_EQ(CVehicleRegistry(m_config).vin("Van"), "");
    EXPECT_TRUE(fs::exists(m_data + "UnKnown.odv"));
}

TEST_F(NewVehicleFormSave, RefusalsWriteNothing) {
    const std::string before = "[VehicleList]\r\nVehicle0=My Car\r\n[My Car]\r\nVIN=OLD1\r\nMake=Ford\r\n";
    using F = CNewVehicleForm::Field;
    // clang-format off
    const std::tuple<const char*, const char*, F, const char*> cases[] = {
        {"NEW1", "MY CAR", F::Name, "\"My Car\" already exists"}, {"NEW1", "", F::Name, "Name"},
        {"NEW1", "Van]", F::Name, "[ or ]"}, {"EXISTING", "Van", F::Vin, "EXISTING.odv"},
        {"", "Van", F::Vin, "UnKnown.odv"}, {"AB/CD", "Van", F::Vin, "contains /"}};
    // clang-format on
    writeFile(m_data + "EXISTING.odv", "entries");
    writeFile(m_data + "UnKnown.odv", "more entries");
    for (const auto& [vin, name, field, says] : cases) {
        SCOPED_TRACE(std::string(vin) + " / " + name);
        writeIni(before);
        CNewVehicleForm form = truck();
        form.fields().vin = vin, form.fields().name = name;
        const CNewVehicleForm::Outcome outcome = save(form, m_config, m_data);
        EXPECT_EQ(std::tuple(outcome.registered, outcome.dataFileSaved, outcome.field),
                  std::tuple(false, false, field));
        EXPECT_NE(outcome.message.find(says), std::string::npos) << outcome.message;
        EXPECT_EQ(ini(), before);
    }
    EXPECT_EQ(readFile(m_data + "EXISTING.odv"), "entries");
    EXPECT_EQ(readFile(m_data + "UnKnown.odv"), "more entries");
    EXPECT_FALSE(fs::exists(m_data + "NEW1.odv"));
}

TEST_F(NewVehicleFormSave, FailuresNameTheFileThatCouldNotBeWritten) {
    const std::string noData = m_root.file("no such folder/");
    const CNewVehicleForm::Outcome outcome = save(truck(), m_config, noData);
    EXPECT_TRUE(outcome.registered && !outcome.dataFileSaved);
    EXPECT_EQ(outcome.title, "Error 2105!");
    EXPECT_EQ(outcome.message, "Unable to create database.\nFilename: JH4DA9350LS000001\nPath: " + noData +
                                   "\nIf this error persists, send an email to support@odrivo.org and include the "
                                   "above information.");
    EXPECT_EQ(CVehicleRegistry(m_config).vehicleNames(), std::vector<std::string>{"Truck"});

    const std::string noConfig = m_root.file("no config/");
    const CNewVehicleForm::Outcome refused = save(truck(), noConfig, m_data);
    EXPECT_FALSE(refused.registered);
    for (const std::string& part : {noConfig + "Drivana.ini", std::string("Check that this file can be written")})
        EXPECT_NE(refused.message.find(part), std::string::npos) << refused.message;
    EXPECT_TRUE(fs::is_empty(m_data));
}

} // namespace
