// The repair and trip dialogs headless. What both share (a refused number, Cancel, the list
// buttons) runs over both; then each one's own Save, and the list editor.

#include "calc/repair_form.h"
#include "dialog_fixture.h"
#include "store/pick_list.h"
#include "ui/entry/repair_dlg.h"
#include "ui/entry/trip_dlg.h"

#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimeEdit>
#include <QToolButton>
#include <tuple>

using namespace dialog_test;

namespace {

constexpr DVTime kStart = 1'700'000'000;

class RepairTripDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        write("Lists.ini", "[RepairList]\r\nLine0=Oil Change\r\nLine1=Brake pads\r\n[RepairLocation]\r\nLine0=Quick "
                           "Lube\r\n[ContactList]\r\nLine0=Zed\r\nLine1=Bob\r\n[PurposeList]\r\nLine0=Audit\r\n");
        CRepairForm::resetDefaultIcon();
    }
    void TearDown() override {
        CRepairForm::resetDefaultIcon();
        DialogTest::TearDown();
    }
    EntryContext context(double rate = 0.5) const {
        EntryContext c;
        std::tie(c.vehicle.name, c.vehicle.costPerMile, c.currentOdometer, c.startTime) =
            std::tuple("Blue Van", rate, 20'000, kStart);
        std::tie(c.profile, c.listsPath) = std::tuple(m_profile.get(), path("Lists.ini"));
        return c;
    }
    std::unique_ptr<QDialog> open(bool repair, CDVItem& record) const {
        if (repair)
            return std::make_unique<CRepairDlg>(record, context());
        return std::make_unique<CTripDlg>(record, context());
    }
};

TEST_F(RepairTripDlgTest, RefusalListButtonsAndCancelLeaveTheRecordAlone) {
    const struct {
        bool repair;
        const char *number, *named, *listButton, *combo, *otherButton, *otherCombo;
        ProfileKey remembered; // written only by a Save
    } cases[] = {{true, "costEdit", "Total Cost", "descriptionListButton", "descriptionCombo", "locationListButton",
                  "locationCombo", ProfileKeys::LastMaintType},
                 {false, "parkingEdit", "Parking", "contactListButton", "contactCombo", "purposeListButton",
                  "purposeCombo", ProfileKeys::LastTripContact}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.combo);
        CMessageBox::clearShown();
        CDVItem record;
        auto dialog = open(c.repair, record);
        auto* number = child<QLineEdit>(*dialog, c.number);
        const QString typed = number->text();
        number->setText(QStringLiteral("1.2x"));
        click(*dialog, "saveButton");
        expectRefused(*dialog, c.named);
        number->setText(typed);

        auto* combo = child<QComboBox>(*dialog, c.combo);
        const int count = combo->count();
        m_itemToAdd = QStringLiteral("Carol added");
        click(*dialog, c.listButton); // the editor's last addition is taken from the reloaded list
        EXPECT_EQ(std::pair(combo->currentText(), combo->count()), std::pair(m_itemToAdd, count + 1));
        m_itemToAdd.clear();
        click(*dialog, c.otherButton); // nothing added empties the field
        EXPECT_EQ(child<QComboBox>(*dialog, c.otherCombo)->currentText(), QString());
        click(*dialog, "cancelButton");
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(record, CDVItem{});
        EXPECT_EQ(m_profile->getText(c.remembered, "-"), "-");
    }
    EXPECT_EQ(m_listEditorRuns, 4);
}

TEST_F(RepairTripDlgTest, RepairSaveTakesTypedPickedAndIconChoices) {
    CDVItem record;
    CRepairDlg dialog(record, context());
    auto* description = child<QComboBox>(dialog, "descriptionCombo");
    const int brakes = description->findText(QStringLiteral("Brake pads"));
    description->setCurrentIndex(brakes);
    emit description->activated(brakes);
    EXPECT_EQ(dialog.form().iconCode(), 1); // picked from the list: the brakes code
    QTest::mouseClick(child<QToolButton>(dialog, "tireIconButton"), Qt::LeftButton);
    child<QComboBox>(dialog, "locationCombo")->setCurrentIndex(0);
    for (const auto& [edit, text] :
         {std::pair{"odometerEdit", "52310.5"}, {"invoiceEdit", "A-17"}, {"costEdit", "45.5"}})
        child<QLineEdit>(dialog, edit)->setText(QString::fromLatin1(text));
    QTest::keyClicks(child<QPlainTextEdit>(dialog, "detailsEdit"), QStringLiteral("5W-30"));
    click(dialog, "saveButton");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(std::tuple(record.Icon, record.Entry, record.Station, record.Invoice, record.Note),
              std::tuple(17, "Brake pads", "Quick Lube", "A-17", "5W-30"));
    EXPECT_EQ(std::tuple(record.Odometer, record.Cost, record.Date), std::tuple(52'310.5, 45.5, kStart));
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastMaintLoc), "Quick Lube");
}

TEST_F(RepairTripDlgTest, TripStopsAtTheLimitsAndSavesTheClaim) {
    CDVItem record;
    CTripDlg dialog(record, context(0.5));
    auto* contact = child<QComboBox>(dialog, "contactCombo");
    dialog.show();
    EXPECT_EQ(dialog.focusWidget(), contact);
    QTest::keyClicks(contact->lineEdit(), QStringLiteral("Ann"));
    child<QComboBox>(dialog, "purposeCombo")->setCurrentIndex(0);
    auto* destination = child<QComboBox>(dialog, "destinationCombo");
    destination->clearEditText();
    QTest::keyClicks(destination->lineEdit(), QString(45, QLatin1Char('d')));
    EXPECT_EQ(destination->currentText().size(), 40);
    retype(child<QLineEdit>(dialog, "arrivalOdometerEdit"), QStringLiteral("20120"));
    child<QTimeEdit>(dialog, "departureTimeEdit")->setTime(QTime(7, 30, 45));
    child<QLineEdit>(dialog, "tollsEdit")->setText(QStringLiteral("6.5"));
    child<QLineEdit>(dialog, "parkingEdit")->setText(QStringLiteral("2"));
    click(dialog, "saveButton");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const QDate startDay = QDateTime::fromSecsSinceEpoch(kStart).date();
    // 120 driven at the vehicle's rate; seconds are dropped from the time.
    EXPECT_EQ(std::tuple(record.Contact, record.Purpose, record.EndOdometer, record.UnitPrice, record.Cost,
                         record.Parking, record.DepartTime),
              std::tuple("Ann", "Audit", 20'120.0, 60.0, 6.5, 2.0,
                         DVTime(QDateTime(startDay, QTime(7, 30)).toSecsSinceEpoch())));
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastTripDestination), std::string(40, 'd'));
}

TEST_F(RepairTripDlgTest, ListEditorAddsByEnterAndDeletesTheSelectedItemInTheFile) {
    CEditListDlg dialog(path("Lists.ini"), std::string(CPickList::RepairList));
    dialog.show();
    auto* edit = child<QLineEdit>(dialog, "newItemEdit");
    QTest::keyClicks(edit, QString(45, QLatin1Char('x')));
    EXPECT_EQ(edit->text().size(), 40);
    retype(edit, QStringLiteral("belt"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible()) << "Enter adds; it does not close the dialog";
    EXPECT_EQ(std::pair(dialog.lastAdded(), edit->text()), std::pair(std::string("belt"), QString()));
    auto* list = child<QListWidget>(dialog, "itemList");
    list->setCurrentItem(list->findItems(QStringLiteral("Oil Change"), Qt::MatchExactly).value(0));
    click(dialog, "deleteButton");
    EXPECT_EQ(CPickList::load(path("Lists.ini"), CPickList::RepairList),
              (std::vector<std::string>{"belt", "Brake pads"}));
}

} // namespace
