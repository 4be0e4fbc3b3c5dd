// Drives the fuel dialog headless: typing into its fields, picking a measure, the station
// list editor, and what Save, a refused Save and Cancel leave in the record and profile.

#include "store/app_profile.h"
#include "ui/entry/edit_list_dlg.h"
#include "ui/entry/fuel_dlg.h"
#include "ui/entry/fuel_editor.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/modal_runner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

namespace fs = std::filesystem;

namespace {

class FuelDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        m_folder = fs::temp_directory_path() / ("odrivo-fuel-" + std::to_string(rd()));
        fs::create_directories(m_folder);
        std::ofstream(m_folder / "Lists.ini") << "[FuelStationList]\nLine0=Texaco\nLine1=Aral\n";
        m_profile = std::make_unique<CAppProfile>((m_folder / "profile.ini").string());
        m_context.vehicle.distanceUnit = 0;
        m_context.vehicle.economyUnit = 0;
        m_context.vehicle.liquid = 0;
        m_context.currentOdometer = 1250;
        m_context.previousFuelOdometer = 1000;
        m_context.startTime = 1'700'000'000;
        m_context.currencySymbol = "$";
        m_context.profile = m_profile.get();
        m_context.listsPath = (m_folder / "Lists.ini").string();
        CMessageBox::clearShown();
        CMessageBox::setResponder([](const CMessageBox::Shown&) { return QMessageBox::Ok; });
    }

    void TearDown() override {
        CMessageBox::setResponder(nullptr);
        CModalRunner::setHandler(nullptr);
        m_profile.reset();
        fs::remove_all(m_folder);
    }

    template <class T> static T* child(QWidget& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static void retype(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    fs::path m_folder;
    std::unique_ptr<CAppProfile> m_profile;
    EntryContext m_context;
};

TEST_F(FuelDlgTest, NewEntryTypedAndSaved) {
    CDVItem record;
    CFuelDlg dialog(record, m_context);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Fuel");
    auto* station = child<QComboBox>(dialog, "stationCombo");
    auto* measure = child<QComboBox>(dialog, "measureCombo");
    EXPECT_EQ(station->count(), 2);
    EXPECT_EQ(station->itemText(0), "Aral"); // the entry dialogs' pick lists are sorted
    EXPECT_EQ(station->currentText(), "Select");
    EXPECT_EQ(measure->currentText(), "Gallons");
    EXPECT_EQ(child<QLineEdit>(dialog, "odometerEdit")->text(), "1250");
    EXPECT_EQ(child<QLabel>(dialog, "unitLabel")->text(), "Gallon");
    EXPECT_EQ(child<QLabel>(dialog, "distanceUnitLabel")->text(), "Mi.");
    EXPECT_EQ(child<QPushButton>(dialog, "stationButton")->toolTip(), "Edit Fueling Station list");

    retype(child<QLineEdit>(dialog, "odometerEdit"), "1300");
    EXPECT_EQ(child<QLineEdit>(dialog, "distanceEdit")->text(), "300");
    retype(child<QLineEdit>(dialog, "priceEdit"), "3.5");
    retype(child<QLineEdit>(dialog, "quantityEdit"), "10");
    EXPECT_EQ(child<QLineEdit>(dialog, "economyEdit")->text(), "30");
    EXPECT_EQ(child<QLineEdit>(dialog, "totalEdit")->text(), "$35.00");

    QTest::keyClick(measure, Qt::Key_Down); // the user's pick ends with the list closing
    EXPECT_EQ(measure->currentText(), "Imp. Gallons");
    EXPECT_EQ(child<QLabel>(dialog, "unitLabel")->text(), "/ Imp. Gallons");
    EXPECT_EQ(child<QLineEdit>(dialog, "totalEdit")->text(), "$ 35.00");

    station->setFocus();
    station->lineEdit()->clear();
    QTest::keyClicks(station, "Shell");
    QTest::keyClicks(child<QLineEdit>(dialog, "invoiceEdit"), "INV-9");
    QTest::keyClicks(child<QPlainTextEdit>(dialog, "notesEdit"), "first");
    child<QCheckBox>(dialog, "partialCheck")->setChecked(true);
    retype(child<QLineEdit>(dialog, "tempEdit"), "18");
    QTest::mouseClick(child<QPushButton>(dialog, "saveButton"), Qt::LeftButton);

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(CMessageBox::shown().empty());
    EXPECT_EQ(record.Odometer, 1300);
    EXPECT_EQ(record.Date, 1'700'000'000);
    EXPECT_EQ(record.Station, "Shell");
    EXPECT_EQ(record.Measure, "Imp. Gallons");
    EXPECT_EQ(record.Quantity, 10);
    EXPECT_EQ(record.UnitPrice, 3.5);
    EXPECT_EQ(record.Invoice, "INV-9");
    EXPECT_EQ(record.Note, "first");
    EXPECT_EQ(record.PartialFill, 1);
    EXPECT_EQ(record.CellTemp, 18);
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastStation), "Shell");
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastMeasure), "/ Imp. Gallons");
}

TEST_F(FuelDlgTest, TextThatIsNoNumberKeepsTheDialogOpenOnThatField) {
    CDVItem record;
    record.Quantity = 5;
    record.Odometer = 1100;
    record.Measure = "Litres";
    const CDVItem original = record;
    struct Case {
        const char* field;
        const char* text;
        const char* named;
    };
    // Which texts parse is CFuelForm::wholeNumber/wholeInteger's rule; here one refusal per check of Save.
    for (const Case& c : {Case{"odometerEdit", "12a", "Odometer"}, Case{"tempEdit", "20.5", "Fuel Cell Temperature"},
                          Case{"priceEdit", "abc", "Unit Price"}}) {
        SCOPED_TRACE(c.field);
        CMessageBox::clearShown();
        m_profile->putText(ProfileKeys::LastMeasure, "before"); // the previous round's Save wrote it
        CFuelDlg dialog(record, m_context);
        dialog.show();
        retype(child<QLineEdit>(dialog, c.field), QString::fromLatin1(c.text));
        retype(child<QLineEdit>(dialog, "quantityEdit"), "7");
        QTest::mouseClick(child<QPushButton>(dialog, "saveButton"), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        ASSERT_EQ(CMessageBox::shown().size(), 1u);
        EXPECT_TRUE(CMessageBox::shown()[0].text.contains(QString::fromLatin1(c.named)));
        EXPECT_EQ(dialog.focusWidget(), child<QLineEdit>(dialog, c.field));
        EXPECT_EQ(record, original);
        EXPECT_EQ(m_profile->getText(ProfileKeys::LastMeasure), "before");

        retype(child<QLineEdit>(dialog, c.field), "1200");
        QTest::mouseClick(child<QPushButton>(dialog, "saveButton"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(record.Quantity, 7);
        record = original;
    }
}

TEST_F(FuelDlgTest, CancelLeavesAnExistingRecordUntouched) {
    CDVItem record;
    record.Quantity = 12.5;
    record.UnitPrice = 1.25;
    record.Cost = 15.6251;
    record.Odometer = 1200;
    record.Measure = "Litres";
    record.Station = "Aral";
    record.Economy = 31.456;
    record.FuelDistance = 200;
    const CDVItem original = record;
    m_context.currencySymbol = "kr";

    CFuelDlg dialog(record, m_context);
    dialog.show();
    EXPECT_EQ(child<QLineEdit>(dialog, "quantityEdit")->text(), "12.500");
    EXPECT_EQ(child<QLineEdit>(dialog, "priceEdit")->text(), "1.250");
    EXPECT_EQ(child<QLineEdit>(dialog, "totalEdit")->text(), "kr15.63");
    EXPECT_EQ(child<QLineEdit>(dialog, "economyEdit")->text(), "31.46");
    EXPECT_EQ(child<QComboBox>(dialog, "measureCombo")->currentText(), "Litres");
    EXPECT_EQ(child<QComboBox>(dialog, "stationCombo")->currentText(), "Aral");

    retype(child<QLineEdit>(dialog, "quantityEdit"), "99");
    retype(child<QLineEdit>(dialog, "odometerEdit"), "5000");
    QTest::mouseClick(child<QPushButton>(dialog, "cancelButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(record, original);
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastMeasure), "Gallon");
}

TEST_F(FuelDlgTest, StationButtonHandsBackTheItemAdded) {
    for (const QString& added : {QStringLiteral("Jet"), QString()}) {
        CDVItem record;
        CFuelDlg dialog(record, m_context);
        int editorRuns = 0;
        CModalRunner::setHandler([&](QDialog& shown) {
            auto* editor = qobject_cast<CEditListDlg*>(&shown);
            EXPECT_NE(editor, nullptr);
            ++editorRuns;
            if (editor != nullptr && !added.isEmpty()) {
                editor->findChild<QLineEdit*>(QStringLiteral("newItemEdit"))->setText(added);
                editor->add();
            }
            return static_cast<int>(QDialog::Accepted);
        });
        QTest::mouseClick(child<QPushButton>(dialog, "stationButton"), Qt::LeftButton);
        EXPECT_EQ(editorRuns, 1);
        auto* station = child<QComboBox>(dialog, "stationCombo");
        EXPECT_EQ(station->currentText(), added);
        EXPECT_EQ(station->count(), 3); // "Jet" stays in the list after the first round
        EXPECT_NE(station->findText(QStringLiteral("Jet")), -1);
    }
}

TEST_F(FuelDlgTest, EditorRunsTheDialogWithAFreshContext) {
    int contexts = 0;
    CFuelEditor editor(
        [&] {
            ++contexts;
            EntryContext context = m_context;
            context.currentOdometer = 1400;
            return context;
        },
        nullptr);
    CModalRunner::setHandler([](QDialog& shown) {
        auto* dialog = qobject_cast<CFuelDlg*>(&shown);
        EXPECT_NE(dialog, nullptr);
        if (dialog == nullptr)
            return static_cast<int>(QDialog::Rejected);
        dialog->findChild<QLineEdit*>(QStringLiteral("quantityEdit"))->setText(QStringLiteral("8"));
        dialog->save();
        return dialog->result();
    });
    CDVItem record;
    EXPECT_TRUE(editor.edit(record));
    EXPECT_EQ(contexts, 1);
    EXPECT_EQ(record.Odometer, 1400);
    EXPECT_EQ(record.Quantity, 8);

    CModalRunner::setHandler([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    CDVItem untouched;
    EXPECT_FALSE(editor.edit(untouched));
    EXPECT_EQ(contexts, 2);
    EXPECT_EQ(untouched, CDVItem{});
}

} // namespace
