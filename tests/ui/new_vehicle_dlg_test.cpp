// The new vehicle dialog headless: Save writing the registry from the fields, refusals and
// Cancel writing nothing, and the data file error.

#include "dialog_fixture.h"
#include "store/vehicle_registry.h"
#include "store/vehicle_settings.h"
#include "ui/entry/new_vehicle_dlg.h"

#include <QRadioButton>
#include <tuple>

using namespace dialog_test;

namespace {

constexpr std::time_t kNow = 1765000000;

class NewVehicleDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        fs::create_directories(m_config);
        fs::create_directories(m_data);
    }
    std::unique_ptr<CNewVehicleDlg> open(const std::string& data = {}) {
        auto dialog = std::make_unique<CNewVehicleDlg>(m_config, data.empty() ? m_data : data);
        dialog->setClock([] { return kNow; });
        dialog->show();
        retype(child<QLineEdit>(*dialog, "vinEdit"), "NEW1");
        return dialog;
    }
    std::string m_config = path("config") + "/", m_data = path("data") + "/";
    std::string m_registry = m_config + CVehicleRegistry::kFileName;
};

TEST_F(NewVehicleDlgTest, SaveRegistersTheVehicleFromItsFields) {
    write("config/Drivana.ini", "[VehicleList]\r\nVehicle0=Car\r\n");
    auto dialog = open();
    EXPECT_TRUE(child<QPushButton>(*dialog, "saveButton")->isDefault());
    const char* typed[][2] = {{"vinEdit", "jh4da9350ls000001"}, {"nameEdit", "My Van"}, {"makeEdit", "Acura"},
                              {"modelEdit", "Integra"},         {"yearEdit", "1990"},   {"plateEdit", "XYZ 789"},
                              {"odometerEdit", "1200.5"}};
    for (const auto& [edit, text] : typed)
        retype(child<QLineEdit>(*dialog, edit), QString::fromLatin1(text));
    for (const char* radio : {"kilometersRadio", "litresRadio", "litresPer100KmRadio"})
        child<QRadioButton>(*dialog, radio)->click();
    click(*dialog, "saveButton");
    EXPECT_EQ(dialog->result(), CNewVehicleDlg::kSaved);
    CVehicleRegistry registry(m_config);
    EXPECT_EQ(registry.vehicleNames(), (std::vector<std::string>{"Car", "My Van"}));
    VehicleSettings s;
    ASSERT_TRUE(registry.loadVehicle("My Van", s, kNow, nullptr));
    EXPECT_EQ(std::tuple(s.vin, s.make, s.model, s.plate, s.year, s.startOdometer),
              std::tuple("JH4DA9350LS000001", "Acura", "Integra", "XYZ 789", 1990, 1200.5));
    EXPECT_EQ(std::tuple(s.distanceUnit, s.liquid, s.economyUnit, s.setupDate), std::tuple(1, 2, 2, DVTime{kNow}));
}

TEST_F(NewVehicleDlgTest, RefusalAndCancelWriteNothing) {
    const std::string before = "[VehicleList]\r\nVehicle0=My Van\r\n";
    write("config/Drivana.ini", before);
    write("data/TAKEN1.odv", "entries");
    const struct {
        const char *edit, *typed, *named;
    } cases[] = {{"odometerEdit", "12 km", "Starting Odometer"},
                 {"nameEdit", "my van", "\"My Van\" already exists"},
                 {"vinEdit", "taken1", "TAKEN1.odv"},
                 {"cancelButton", "", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit);
        auto dialog = open();
        CMessageBox::clearShown();
        if (*c.typed) {
            retype(child<QLineEdit>(*dialog, c.edit), c.typed);
            child<QLineEdit>(*dialog, "plateEdit")->setFocus();
            dialog->save();
            EXPECT_TRUE(dialog->isVisible());
            expectRefused(*dialog, c.named);
            EXPECT_EQ(dialog->focusWidget(), child<QLineEdit>(*dialog, c.edit));
        } else {
            click(*dialog, c.edit);
            EXPECT_EQ(dialog->result(), CNewVehicleDlg::kCancelled);
        }
        EXPECT_EQ(read(m_registry), before);
    }
    EXPECT_EQ(read(m_data + "TAKEN1.odv"), "entries");
    EXPECT_FALSE(fs::exists(m_data + "NEW1.odv"));
}

TEST_F(NewVehicleDlgTest, DataFileErrorFollowsTheRegistration) {
    auto failing = open(path("gone") + "/");
    failing->save();
    EXPECT_EQ(failing->result(), CNewVehicleDlg::kSaved);
    ASSERT_EQ(CMessageBox::shown().size(), 1u);
    EXPECT_TRUE(CMessageBox::shown()[0].text.startsWith("Unable to create database.\nFilename: NEW1\nPath: "));
    EXPECT_EQ(CVehicleRegistry(m_config).vehicleNames(), std::vector<std::string>{"New Vehicle"});
}

} // namespace
