// The fuel dialog headless: typed fields reaching the record and the live fields, a refused
// Save and Cancel leaving record and profile alone.

#include "dialog_fixture.h"
#include "ui/entry/fuel_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <tuple>

using namespace dialog_test;

namespace {

class FuelDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        write("Lists.ini", "[FuelStationList]\nLine0=Texaco\nLine1=Aral\n");
        std::tie(m_context.currentOdometer, m_context.previousFuelOdometer, m_context.startTime) =
            std::tuple(1250, 1000, 1'700'000'000);
        std::tie(m_context.currencySymbol, m_context.profile, m_context.listsPath) =
            std::tuple("$", m_profile.get(), path("Lists.ini"));
    }
    EntryContext m_context;
};

TEST_F(FuelDlgTest, NewEntryTypedAndSaved) {
    CDVItem record;
    CFuelDlg dialog(record, m_context);
    dialog.show();
    auto* station = child<QComboBox>(dialog, "stationCombo");
    EXPECT_EQ(std::pair(station->itemText(0), station->currentText()), std::pair(QString("Aral"), QString("Select")));
    retype(child<QLineEdit>(dialog, "odometerEdit"), "1300");
    retype(child<QLineEdit>(dialog, "priceEdit"), "3.5");
    retype(child<QLineEdit>(dialog, "quantityEdit"), "10");
    QTest::keyClick(child<QComboBox>(dialog, "measureCombo"), Qt::Key_Down); // the pick ends with the list closing
    EXPECT_EQ(
        QStringList({child<QLineEdit>(dialog, "distanceEdit")->text(), child<QLineEdit>(dialog, "economyEdit")->text(),
                     child<QLineEdit>(dialog, "totalEdit")->text()}),
        QStringList({"300", "30", "$ 35.00"}));
    station->setFocus();
    station->lineEdit()->clear();
    QTest::keyClicks(station, "Shell");
    child<QCheckBox>(dialog, "partialCheck")->setChecked(true);
    click(dialog, "saveButton");
    EXPECT_EQ(std::pair(dialog.result(), CMessageBox::shown().size()), std::pair(int(QDialog::Accepted), size_t{0}));
    const CDVItem& r = record;
    EXPECT_EQ(std::tuple(r.Odometer, r.Date, r.Quantity, r.UnitPrice, r.PartialFill, r.Station, r.Measure),
              std::tuple(1300.0, DVTime{1'700'000'000}, 10.0, 3.5, 1, "Shell", "Imp. Gallons"));
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastMeasure), "/ Imp. Gallons");
}

TEST_F(FuelDlgTest, RefusedSaveKeepsTheFieldFocusedAndCancelChangesNothing) {
    CDVItem record;
    std::tie(record.Quantity, record.Odometer, record.Measure) = std::tuple(5, 1100, "Litres");
    const CDVItem original = record;
    ASSERT_TRUE(m_profile->putText(ProfileKeys::LastMeasure, "before"));
    for (const auto& [field, text, named] :
         {std::tuple{"odometerEdit", "12a", "Odometer"}, std::tuple{"tempEdit", "20.5", "Fuel Cell Temperature"},
          std::tuple{"priceEdit", "abc", "Unit Price"}, std::tuple{"", "", ""}}) {
        SCOPED_TRACE(field);
        CMessageBox::clearShown();
        CFuelDlg dialog(record, m_context);
        dialog.show();
        retype(child<QLineEdit>(dialog, "quantityEdit"), "7");
        if (*field) {
            retype(child<QLineEdit>(dialog, field), QString::fromLatin1(text));
            click(dialog, "saveButton");
            expectRefused(dialog, named);
            EXPECT_EQ(dialog.focusWidget(), child<QLineEdit>(dialog, field));
        } else {
            click(dialog, "cancelButton");
            EXPECT_EQ(dialog.result(), QDialog::Rejected);
        }
        EXPECT_EQ(record, original);
        EXPECT_EQ(m_profile->getText(ProfileKeys::LastMeasure), "before");
    }
}

} // namespace
