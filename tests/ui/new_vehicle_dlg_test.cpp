// Drives the new vehicle dialog headless: initial values, the VIN filter as the user types
// and pastes, Save writing the registry and the data file from the fields, refused input
// keeping the dialog open with nothing written, the data file error, and Cancel.

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
        m_config = path("config") + "/";
        m_data = path("data") + "/";
        fs::create_directories(m_config);
        fs::create_directories(m_data);
    }

    std::unique_ptr<CNewVehicleDlg> open(const std::string& data = {}) {
        auto dialog = std::make_unique<CNewVehicleDlg>(m_config, data.empty() ? m_data : data);
        dialog->setClock([] { return kNow; });
        dialog->show();
        return dialog;
    }

    std::string ini() const {
        std::string bytes;
        odrivo::readWholeFile(m_config + CVehicleRegistry::kFileName, bytes);
        return bytes;
    }

    std::string m_config;
    std::string m_data;
};

TEST_F(NewVehicleDlgTest, StartsWithDefaultsAndFiltersTheVin) {
    auto dialog = open();
    EXPECT_EQ(child<QLineEdit>(*dialog, "nameEdit")->text(), "New Vehicle");
    EXPECT_TRUE(child<QPushButton>(*dialog, "saveButton")->isDefault());

    auto* vin = child<QLineEdit>(*dialog, "vinEdit");
    retype(vin, "1hg-cm-");
    EXPECT_EQ(vin->text(), "1HGCM");
    vin->setCursorPosition(3);
    QTest::keyClick(vin, Qt::Key_Minus); // a hyphen typed between characters stays
    EXPECT_EQ(vin->text(), "1HG-CM");
    EXPECT_EQ(vin->cursorPosition(), 4);
    vin->setCursorPosition(0);
    vin->insert("--ab"); // a paste loses its leading filter characters; the cursor follows it
    EXPECT_EQ(vin->text(), "AB1HG-CM");
    EXPECT_EQ(vin->cursorPosition(), 2);
}

TEST_F(NewVehicleDlgTest, SaveRegistersTheVehicleFromItsFields) {
    write("config/Drivana.ini", "[VehicleList]\r\nVehicle0=Car\r\n");
    CNewVehicleDlg dialog(m_config, m_data);
    dialog.setClock([] { return kNow; });
    CModalRunner::setHandler([](QDialog& shown) {
        for (const auto& [edit, text] :
             {std::pair{"vinEdit", "jh4da9350ls000001"}, std::pair{"nameEdit", "My Van"},
              std::pair{"makeEdit", "Acura"}, std::pair{"modelEdit", "Integra"}, std::pair{"yearEdit", "1990"},
              std::pair{"plateEdit", "XYZ 789"}, std::pair{"odometerEdit", "1200.5"}})
            retype(child<QLineEdit>(shown, edit), QString::fromLatin1(text));
        for (const char* radio : {"kilometersRadio", "litresRadio", "litresPer100KmRadio"})
            QTest::mouseClick(child<QRadioButton>(shown, radio), Qt::LeftButton);
        click(shown, "saveButton");
        return shown.result();
    });
    EXPECT_EQ(CModalRunner::run(dialog), CNewVehicleDlg::kSaved);
    CVehicleRegistry registry(m_config);
    EXPECT_EQ(registry.vehicleNames(), (std::vector<std::string>{"Car", "My Van"}));
    VehicleSettings s;
    ASSERT_TRUE(registry.loadVehicle("My Van", s, kNow, nullptr));
    EXPECT_EQ(std::tuple(s.vin, s.make, s.model, s.plate),
              std::tuple("JH4DA9350LS000001", "Acura", "Integra", "XYZ 789"));
    EXPECT_EQ(std::tuple(s.year, s.startOdometer, s.distanceUnit, s.liquid, s.economyUnit, s.setupDate),
              std::tuple(1990, 1200.5, 1, 2, 2, DVTime{kNow}));
}

TEST_F(NewVehicleDlgTest, RefusedInputNamesTheFieldAndWritesNothing) {
    const std::string before = "[VehicleList]\r\nVehicle0=My Van\r\n";
    write("config/Drivana.ini", before);
    write("data/TAKEN1.odv", "entries");
    const struct {
        const char* edit;
        const char* typed;
        const char* named;
    } cases[] = {{"odometerEdit", "12 km", "Starting Odometer"},
                 {"nameEdit", "my van", "\"My Van\" already exists"},
                 {"vinEdit", "taken1", "TAKEN1.odv"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit);
        auto dialog = open();
        retype(child<QLineEdit>(*dialog, "vinEdit"), "NEW1");
        retype(child<QLineEdit>(*dialog, "nameEdit"), "Truck");
        retype(child<QLineEdit>(*dialog, c.edit), c.typed);
        child<QLineEdit>(*dialog, "plateEdit")->setFocus();
        CMessageBox::clearShown();
        dialog->save();
        EXPECT_TRUE(dialog->isVisible());
        expectRefused(*dialog, c.named);
        EXPECT_EQ(dialog->focusWidget(), child<QLineEdit>(*dialog, c.edit));
        EXPECT_EQ(ini(), before);
    }
    EXPECT_EQ(fs::file_size(m_data + "TAKEN1.odv"), 7u);
    EXPECT_FALSE(fs::exists(m_data + "NEW1.odv"));
}

TEST_F(NewVehicleDlgTest, DataFileErrorFollowsTheRegistrationAndCancelWritesNothing) {
    auto failing = open(path("gone") + "/");
    retype(child<QLineEdit>(*failing, "vinEdit"), "V1");
    failing->save();
    EXPECT_EQ(failing->result(), CNewVehicleDlg::kSaved);
    ASSERT_EQ(CMessageBox::shown().size(), 1u);
    EXPECT_TRUE(CMessageBox::shown()[0].text.startsWith("Unable to create database.\nFilename: V1\nPath: "));
    EXPECT_EQ(CVehicleRegistry(m_config).vehicleNames(), std::vector<std::string>{"New Vehicle"});

    fs::remove(m_config + CVehicleRegistry::kFileName);
    for (const bool escape : {false, true}) {
        auto dialog = open();
        retype(child<QLineEdit>(*dialog, "vinEdit"), "ABC");
        if (escape)
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else
            click(*dialog, "cancelButton");
        EXPECT_EQ(dialog->result(), CNewVehicleDlg::kCancelled) << escape;
    }
    EXPECT_FALSE(fs::exists(m_config + CVehicleRegistry::kFileName));
    EXPECT_TRUE(fs::is_empty(m_data));
}

} // namespace
