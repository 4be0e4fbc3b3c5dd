// Drives the fuel dialog headless: typing into its fields, picking a measure, the station
// list editor, and what Save, a refused Save and Cancel leave in the record and profile.

#include "dialog_fixture.h"
#include "ui/entry/fuel_dlg.h"
#include "ui/entry/fuel_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <tuple>

using namespace dialog_test;

namespace {

class FuelDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        write("Lists.ini", "[FuelStationList]\nLine0=Texaco\nLine1=Aral\n");
        m_context.currentOdometer = 1250;
        m_context.previousFuelOdometer = 1000;
        m_context.startTime = 1'700'000'000;
        m_context.currencySymbol = "$";
        m_context.profile = m_profile.get();
        m_context.listsPath = path("Lists.ini");
    }

    EntryContext m_context;
};

TEST_F(FuelDlgTest, NewEntryTypedAndSaved) {
    CDVItem record;
    CFuelDlg dialog(record, m_context);
    dialog.show();
    auto* station = child<QComboBox>(dialog, "stationCombo");
    auto* measure = child<QComboBox>(dialog, "measureCombo");
    EXPECT_EQ(station->itemText(0), "Aral"); // the entry dialogs' pick lists are sorted
    EXPECT_EQ(station->currentText(), "Select");

    retype(child<QLineEdit>(dialog, "odometerEdit"), "1300");
    EXPECT_EQ(child<QLineEdit>(dialog, "distanceEdit")->text(), "300");
    retype(child<QLineEdit>(dialog, "priceEdit"), "3.5");
    retype(child<QLineEdit>(dialog, "quantityEdit"), "10");
    EXPECT_EQ(child<QLineEdit>(dialog, "economyEdit")->text(), "30");
    QTest::keyClick(measure, Qt::Key_Down); // the user's pick ends with the list closing
    EXPECT_EQ(child<QLineEdit>(dialog, "totalEdit")->text(), "$ 35.00");

    station->setFocus();
    station->lineEdit()->clear();
    QTest::keyClicks(station, "Shell");
    QTest::keyClicks(child<QLineEdit>(dialog, "invoiceEdit"), "INV-9");
    QTest::keyClicks(child<QPlainTextEdit>(dialog, "notesEdit"), "first");
    child<QCheckBox>(dialog, "partialCheck")->setChecked(true);
    retype(child<QLineEdit>(dialog, "tempEdit"), "18");
    click(dialog, "saveButton");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(CMessageBox::shown().empty());
    const CDVItem& r = record;
    EXPECT_EQ(std::tuple(r.Odometer, r.Date, r.Quantity, r.UnitPrice, r.PartialFill, r.CellTemp),
              std::tuple(1300.0, DVTime{1'700'000'000}, 10.0, 3.5, 1, 18));
    EXPECT_EQ(std::tuple(r.Station, r.Measure, r.Invoice, r.Note),
              std::tuple("Shell", "Imp. Gallons", "INV-9", "first"));
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastMeasure), "/ Imp. Gallons");
}

TEST_F(FuelDlgTest, NoNumberKeepsTheDialogOpenOnThatFieldAndCancelChangesNothing) {
    CDVItem record;
    record.Quantity = 5;
    record.Odometer = 1100;
    record.Measure = "Litres";
    const CDVItem original = record;
    for (const auto& [field, text, named] :
         {std::tuple{"odometerEdit", "12a", "Odometer"}, std::tuple{"tempEdit", "20.5", "Fuel Cell Temperature"},
          std::tuple{"priceEdit", "abc", "Unit Price"}}) {
        SCOPED_TRACE(field);
        CMessageBox::clearShown();
        m_profile->putText(ProfileKeys::LastMeasure, "before"); // the previous round's Save wrote it
        CFuelDlg dialog(record, m_context);
        dialog.show();
        retype(child<QLineEdit>(dialog, field), QString::fromLatin1(text));
        retype(child<QLineEdit>(dialog, "quantityEdit"), "7");
        click(dialog, "saveButton");
        expectRefused(dialog, named);
        EXPECT_EQ(dialog.focusWidget(), child<QLineEdit>(dialog, field));
        EXPECT_EQ(record, original);
        EXPECT_EQ(m_profile->getText(ProfileKeys::LastMeasure), "before");

        retype(child<QLineEdit>(dialog, field), "1200");
        click(dialog, "saveButton");
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(record.Quantity, 7);
        record = original;
    }

    m_profile->putText(ProfileKeys::LastMeasure, "before");
    CFuelDlg dialog(record, m_context); // Cancel after a change leaves it all alone too
    retype(child<QLineEdit>(dialog, "quantityEdit"), "99");
    click(dialog, "cancelButton");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(record, original);
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastMeasure), "before");
}

TEST_F(FuelDlgTest, StationButtonAndEditorHandBackWhatWasChosen) {
    for (const QString& added : {QStringLiteral("Jet"), QString()}) {
        CDVItem record;
        CFuelDlg dialog(record, m_context);
        m_itemToAdd = added;
        click(dialog, "stationButton");
        auto* station = child<QComboBox>(dialog, "stationCombo");
        EXPECT_EQ(station->currentText(), added);
        EXPECT_EQ(station->count(), 3); // "Jet" stays in the list after the first round
    }
    EXPECT_EQ(m_listEditorRuns, 2);

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
        shown.findChild<QLineEdit*>(QStringLiteral("quantityEdit"))->setText(QStringLiteral("8"));
        shown.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
        return shown.result();
    });
    CDVItem record;
    EXPECT_TRUE(editor.edit(record));
    EXPECT_EQ(record.Odometer, 1400);
    EXPECT_EQ(record.Quantity, 8);
    CModalRunner::setHandler([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    CDVItem untouched;
    EXPECT_FALSE(editor.edit(untouched));
    EXPECT_EQ(contexts, 2);
    EXPECT_EQ(untouched, CDVItem{});
}

} // namespace
