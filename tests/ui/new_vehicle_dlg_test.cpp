// Drives the new vehicle dialog headless: its texts and initial values, the VIN filter as
// the user types and pastes, Save writing the registry and the data file, refused input
// keeping the dialog open with nothing written, the data file error, and Cancel.

#include "store/vehicle_registry.h"
#include "store/vehicle_settings.h"
#include "ui/entry/new_vehicle_dlg.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/modal_runner.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr std::time_t kNow = 1765000000;

class NewVehicleDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        m_root = fs::temp_directory_path() / ("odrivo-newvehdlg-" + std::to_string(rd()));
        fs::create_directories(m_root / "config");
        fs::create_directories(m_root / "data");
        m_config = (m_root / "config").string() + "/";
        m_data = (m_root / "data").string() + "/";
        CMessageBox::clearShown();
        CMessageBox::setResponder([](const CMessageBox::Shown&) { return QMessageBox::Ok; });
    }

    void TearDown() override {
        CMessageBox::setResponder(nullptr);
        CModalRunner::setHandler(nullptr);
        fs::remove_all(m_root);
    }

    std::unique_ptr<CNewVehicleDlg> open() {
        auto dialog = std::make_unique<CNewVehicleDlg>(m_config, m_data);
        dialog->setClock([] { return kNow; });
        dialog->show();
        return dialog;
    }

    template <class T> static T* child(QWidget& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static void retype(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    std::string ini() const {
        std::ifstream in(m_config + CVehicleRegistry::kFileName, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    fs::path m_root;
    std::string m_config;
    std::string m_data;
};

TEST_F(NewVehicleDlgTest, ShowsItsTextsAndInitialValues) {
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), "New Vehicle");
    const struct {
        const char* edit;
        const char* text;
        int maxLength;
    } edits[] = {
        {"vinEdit", "Enter VIN Number", 18}, {"nameEdit", "New Vehicle", 20}, {"makeEdit", "Make", 32767},
        {"modelEdit", "Model", 32767},       {"yearEdit", "2000", 32767},     {"plateEdit", "Unplated", 32767},
        {"odometerEdit", "0", 32767},
    };
    for (const auto& e : edits) {
        auto* edit = child<QLineEdit>(*dialog, e.edit);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), e.text) << e.edit;
        EXPECT_EQ(edit->maxLength(), e.maxLength) << e.edit;
    }
    const struct {
        const char* label;
        const char* text;
    } labels[] = {
        {"vinLabel", "V.I.N"},
        {"nameLabel", "Name"},
        {"makeLabel", "Make"},
        {"modelLabel", "Model"},
        {"yearLabel", "Year"},
        {"plateLabel", "Plate"},
        {"odometerLabel", "Starting Odometer:"},
        {"vinHintLabel",
         "Enter the Vehicle Identification Number for this vehicle. This number will be the name of the "
         "database for this vehicle and can not be changed. Use Numbers 0-9 and letters a-z Only! "},
        {"odometerHintLabel",
         "Enter the Odometer reading of the first data entry if the vehicle is not new, otherwise leave at 0."},
        {"saveHintLabel", "Select SAVE to create a new vehicle, select the new vehicle and add reminders "},
    };
    for (const auto& l : labels)
        EXPECT_EQ(child<QLabel>(*dialog, l.label)->text(), l.text) << l.label;
    EXPECT_TRUE(child<QLabel>(*dialog, "nameHintLabel")->text().contains("\"My Van\""));

    const char* radios[] = {"milesRadio",       "kilometersRadio", "usGallonsRadio", "imperialGallonsRadio",
                            "litresRadio",      "mpgRadio",        "mplRadio",       "litresPer100KmRadio",
                            "mpgImperialRadio", "kplRadio"};
    for (const char* name : radios) {
        const bool initial = std::string(name) == "milesRadio" || std::string(name) == "usGallonsRadio" ||
                             std::string(name) == "mpgRadio";
        EXPECT_EQ(child<QRadioButton>(*dialog, name)->isChecked(), initial) << name;
    }
    auto* save = child<QPushButton>(*dialog, "saveButton");
    EXPECT_EQ(save->toolTip(), "Save the changes");
    EXPECT_TRUE(save->isDefault());
    EXPECT_FALSE(save->icon().isNull());
    EXPECT_EQ(child<QPushButton>(*dialog, "cancelButton")->toolTip(), "Cancel without saving");
}

TEST_F(NewVehicleDlgTest, VinIsFilteredAsItIsTypedAndPasted) {
    auto dialog = open();
    auto* vin = child<QLineEdit>(*dialog, "vinEdit");
    retype(vin, "1hg-cm-");
    EXPECT_EQ(vin->text(), "1HGCM");
    EXPECT_EQ(vin->cursorPosition(), 5);

    // A hyphen typed between characters stays.
    vin->setCursorPosition(3);
    QTest::keyClick(vin, Qt::Key_Minus);
    EXPECT_EQ(vin->text(), "1HG-CM");
    EXPECT_EQ(vin->cursorPosition(), 4);

    // Pasting at the front: the leading filter characters go, the cursor stays after the paste.
    vin->setCursorPosition(0);
    vin->insert("--ab");
    EXPECT_EQ(vin->text(), "AB1HG-CM");
    EXPECT_EQ(vin->cursorPosition(), 2);
}

TEST_F(NewVehicleDlgTest, SaveRegistersTheVehicleThroughTheModalRunner) {
    std::ofstream(m_config + CVehicleRegistry::kFileName) << "[VehicleList]\r\nVehicle0=Car\r\n";
    CNewVehicleDlg dialog(m_config, m_data);
    dialog.setClock([] { return kNow; });
    CModalRunner::setHandler([this](QDialog& shown) {
        retype(child<QLineEdit>(shown, "vinEdit"), "jh4da9350ls000001");
        retype(child<QLineEdit>(shown, "nameEdit"), "My Van");
        retype(child<QLineEdit>(shown, "makeEdit"), "Acura");
        retype(child<QLineEdit>(shown, "modelEdit"), "Integra");
        retype(child<QLineEdit>(shown, "yearEdit"), "1990");
        retype(child<QLineEdit>(shown, "plateEdit"), "XYZ 789");
        retype(child<QLineEdit>(shown, "odometerEdit"), "1200.5");
        QTest::mouseClick(child<QRadioButton>(shown, "kilometersRadio"), Qt::LeftButton);
        QTest::mouseClick(child<QRadioButton>(shown, "litresRadio"), Qt::LeftButton);
        QTest::mouseClick(child<QRadioButton>(shown, "litresPer100KmRadio"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(shown, "saveButton"), Qt::LeftButton);
        return shown.result();
    });
    EXPECT_EQ(CModalRunner::run(dialog), CNewVehicleDlg::kSaved);
    EXPECT_TRUE(CMessageBox::shown().empty());

    CVehicleRegistry registry(m_config);
    EXPECT_EQ(registry.vehicleNames(), (std::vector<std::string>{"Car", "My Van"}));
    VehicleSettings s;
    ASSERT_TRUE(registry.loadVehicle("My Van", s, kNow, nullptr));
    EXPECT_EQ(s.vin, "JH4DA9350LS000001");
    EXPECT_EQ(s.make, "Acura");
    EXPECT_EQ(s.model, "Integra");
    EXPECT_EQ(s.plate, "XYZ 789");
    EXPECT_EQ(s.year, 1990);
    EXPECT_EQ(s.startOdometer, 1200.5);
    EXPECT_EQ(s.distanceUnit, 1);
    EXPECT_EQ(s.liquid, 2);
    EXPECT_EQ(s.economyUnit, 2);
    EXPECT_EQ(s.setupDate, kNow);
    EXPECT_TRUE(fs::exists(m_data + "JH4DA9350LS000001.odv"));
}

TEST_F(NewVehicleDlgTest, RefusedInputNamesTheFieldAndKeepsTheDialogOpen) {
    const std::string before = "[VehicleList]\r\nVehicle0=My Van\r\n";
    std::ofstream(m_config + CVehicleRegistry::kFileName) << before;
    std::ofstream(m_data + "TAKEN1.odv") << "entries";
    const struct {
        const char* edit;
        const char* typed;
        const char* named;
        const char* focused;
    } cases[] = {
        {"yearEdit", "19x0", "Year", "yearEdit"},
        {"odometerEdit", "12 km", "Starting Odometer", "odometerEdit"},
        {"nameEdit", "my van", "\"My Van\" already exists", "nameEdit"},
        {"vinEdit", "taken1", "TAKEN1.odv", "vinEdit"},
    };
    for (const auto& c : cases) {
        auto dialog = open();
        retype(child<QLineEdit>(*dialog, "vinEdit"), "NEW1");
        retype(child<QLineEdit>(*dialog, "nameEdit"), "Truck");
        retype(child<QLineEdit>(*dialog, c.edit), c.typed);
        child<QLineEdit>(*dialog, "plateEdit")->setFocus();
        CMessageBox::clearShown();
        dialog->save();
        EXPECT_TRUE(dialog->isVisible()) << c.edit;
        EXPECT_EQ(dialog->result(), 0) << c.edit;
        ASSERT_EQ(CMessageBox::shown().size(), 1u) << c.edit;
        EXPECT_TRUE(CMessageBox::shown()[0].text.contains(QString::fromUtf8(c.named)))
            << c.edit << ": " << CMessageBox::shown()[0].text.toStdString();
        EXPECT_EQ(dialog->focusWidget(), child<QLineEdit>(*dialog, c.focused)) << c.edit;
        EXPECT_EQ(ini(), before) << c.edit;
    }
    EXPECT_EQ(fs::file_size(m_data + "TAKEN1.odv"), 7u);
    EXPECT_FALSE(fs::exists(m_data + "NEW1.odv"));
}

TEST_F(NewVehicleDlgTest, DataFileErrorIsShownAfterTheVehicleIsRegistered) {
    const std::string missingData = (m_root / "gone").string() + "/";
    CNewVehicleDlg dialog(m_config, missingData);
    dialog.setClock([] { return kNow; });
    dialog.show();
    retype(child<QLineEdit>(dialog, "vinEdit"), "V1");
    dialog.save();
    EXPECT_EQ(dialog.result(), CNewVehicleDlg::kSaved);
    ASSERT_EQ(CMessageBox::shown().size(), 1u);
    EXPECT_EQ(CMessageBox::shown()[0].title, "Error 2105!");
    EXPECT_EQ(CMessageBox::shown()[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(CMessageBox::shown()[0].text.startsWith("Unable to create database.\nFilename: V1\nPath: "));
    EXPECT_EQ(CVehicleRegistry(m_config).vehicleNames(), std::vector<std::string>{"New Vehicle"});
}

TEST_F(NewVehicleDlgTest, CancelAndEscapeWriteNothing) {
    for (const bool escape : {false, true}) {
        auto dialog = open();
        retype(child<QLineEdit>(*dialog, "vinEdit"), "ABC");
        if (escape)
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else
            QTest::mouseClick(child<QPushButton>(*dialog, "cancelButton"), Qt::LeftButton);
        EXPECT_EQ(dialog->result(), CNewVehicleDlg::kCancelled) << escape;
        EXPECT_FALSE(dialog->isVisible()) << escape;
    }
    EXPECT_FALSE(fs::exists(m_config + CVehicleRegistry::kFileName));
    EXPECT_TRUE(fs::is_empty(m_data));
    EXPECT_TRUE(CMessageBox::shown().empty());
}

} // namespace
