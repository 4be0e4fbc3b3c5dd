// Drives the repair and trip dialogs headless. What both share (refused numbers, Cancel,
// the list buttons, the editors) runs over both; then each one's own Save.

#include "calc/repair_form.h"
#include "dialog_fixture.h"
#include "ui/entry/repair_dlg.h"
#include "ui/entry/repair_editor.h"
#include "ui/entry/trip_dlg.h"
#include "ui/entry/trip_editor.h"

#include <QComboBox>
#include <QDateEdit>
#include <QPlainTextEdit>
#include <QTimeEdit>
#include <QToolButton>
#include <tuple>

using namespace dialog_test;

namespace {

constexpr DVTime kStart = 1'700'000'000;
enum class Kind { Repair, Trip };

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
        c.vehicle.name = "Blue Van";
        c.vehicle.costPerMile = rate;
        c.currentOdometer = 20'000;
        c.startTime = kStart;
        c.profile = m_profile.get();
        c.listsPath = path("Lists.ini");
        return c;
    }

    static CDVItem stored(Kind kind) {
        CDVItem item;
        item.Odometer = 18'000;
        item.Date = kStart - 7200;
        if (kind == Kind::Repair) {
            std::tie(item.EntryType, item.Icon, item.Entry, item.Cost) = std::tuple(CDVItem::Repair, 11, "Brakes", 120);
            return item;
        }
        std::tie(item.EntryType, item.Icon, item.Entry, item.EndOdometer, item.UnitPrice) =
            std::tuple(CDVItem::Trip, 19, "Trip", 18'100, 50);
        std::tie(item.DepartTime, item.ArriveTime, item.Contact, item.Destination) =
            std::tuple(kStart - 7200, kStart - 3600, "Bob", "Shelbyville");
        return item;
    }

    std::unique_ptr<QDialog> open(Kind kind, CDVItem& record) const {
        if (kind == Kind::Repair)
            return std::make_unique<CRepairDlg>(record, context());
        return std::make_unique<CTripDlg>(record, context());
    }

    // The remembered text a refused or cancelled dialog must not have written.
    std::string remembered(Kind kind) const {
        return m_profile->getText(kind == Kind::Repair ? ProfileKeys::LastMaintType : ProfileKeys::LastTripContact);
    }
};

// A refused number, the list buttons and Cancel all leave the record and the profile alone.
TEST_F(RepairTripDlgTest, RefusalListButtonsAndCancelLeaveTheRecordAlone) {
    const struct {
        Kind kind;
        const char *number, *named, *listButton, *combo, *otherButton, *otherCombo;
    } cases[] = {{Kind::Repair, "costEdit", "Total Cost", "descriptionListButton", "descriptionCombo",
                  "locationListButton", "locationCombo"},
                 {Kind::Trip, "parkingEdit", "Parking", "contactListButton", "contactCombo", "purposeListButton",
                  "purposeCombo"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.combo);
        CMessageBox::clearShown();
        CDVItem record = stored(c.kind);
        const CDVItem before = record;
        const std::string profileBefore = remembered(c.kind);
        auto dialog = open(c.kind, record);
        auto* number = child<QLineEdit>(*dialog, c.number);
        const QString typed = number->text();
        number->setText(QStringLiteral("1.2x"));
        click(*dialog, "saveButton");
        expectRefused(*dialog, c.named);
        EXPECT_EQ(record, before);
        EXPECT_EQ(remembered(c.kind), profileBefore);
        number->setText(typed);

        auto* combo = child<QComboBox>(*dialog, c.combo);
        const int count = combo->count();
        m_itemToAdd = QStringLiteral("Carol added");
        click(*dialog, c.listButton);
        EXPECT_EQ(combo->currentText(), m_itemToAdd); // the editor's last addition is taken
        EXPECT_EQ(combo->count(), count + 1);         // from the reloaded list
        m_itemToAdd.clear();
        click(*dialog, c.otherButton); // nothing added empties the field
        EXPECT_EQ(child<QComboBox>(*dialog, c.otherCombo)->currentText(), QString());
        EXPECT_EQ(combo->currentText(), QStringLiteral("Carol added"));
        click(*dialog, "cancelButton");
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(record, before);
        EXPECT_EQ(remembered(c.kind), profileBefore);
    }
    EXPECT_EQ(m_listEditorRuns, 4);
}

TEST_F(RepairTripDlgTest, EditorsAskForAFreshContextAndReportSave) {
    for (const Kind kind : {Kind::Repair, Kind::Trip}) {
        int contexts = 0;
        const auto fresh = [&] {
            ++contexts;
            return context(0);
        };
        std::unique_ptr<CEntryEditor> editor;
        if (kind == Kind::Repair)
            editor = std::make_unique<CRepairEditor>(fresh, nullptr);
        else
            editor = std::make_unique<CTripEditor>(fresh, nullptr);
        CModalRunner::setHandler([](QDialog& dialog) {
            dialog.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
            return dialog.result();
        });
        CDVItem record = stored(kind);
        EXPECT_TRUE(editor->edit(record));
        // The trip claim is worked out again with the fresh context's rate of 0.
        EXPECT_EQ(record.UnitPrice, 0);
        CModalRunner::setHandler([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
        const CDVItem before = record;
        EXPECT_FALSE(editor->edit(record));
        EXPECT_EQ(record, before);
        EXPECT_EQ(contexts, 2);
    }
}

TEST_F(RepairTripDlgTest, RepairSaveTakesTypedPickedAndIconChoices) {
    CDVItem record;
    CRepairDlg dialog(record, context());
    EXPECT_TRUE(child<QPushButton>(dialog, "saveButton")->isDefault());
    auto* description = child<QComboBox>(dialog, "descriptionCombo");
    description->clearEditText();
    QTest::keyClicks(description->lineEdit(), QStringLiteral("Full Oil Change"));
    EXPECT_EQ(dialog.form().iconCode(), 4);
    const int brakes = description->findText(QStringLiteral("Brake pads"));
    description->setCurrentIndex(brakes);
    emit description->activated(brakes);
    EXPECT_EQ(dialog.form().iconCode(), 1);
    QTest::mouseClick(child<QToolButton>(dialog, "tireIconButton"), Qt::LeftButton);

    child<QComboBox>(dialog, "locationCombo")->setCurrentIndex(0);
    child<QLineEdit>(dialog, "odometerEdit")->setText(QStringLiteral("52310.5"));
    child<QLineEdit>(dialog, "invoiceEdit")->setText(QStringLiteral("A-17"));
    child<QLineEdit>(dialog, "costEdit")->setText(QStringLiteral("45.5"));
    QTest::keyClicks(child<QPlainTextEdit>(dialog, "detailsEdit"), QStringLiteral("5W-30"));
    click(dialog, "saveButton");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(std::tuple(record.Icon, record.Entry, record.Station, record.Invoice, record.Note),
              std::tuple(17, "Brake pads", "Quick Lube", "A-17", "5W-30"));
    EXPECT_EQ(std::tuple(record.Odometer, record.Cost, record.Date), std::tuple(52'310.5, 45.5, kStart));
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastMaintLoc), "Quick Lube");
}

TEST_F(RepairTripDlgTest, TripShowsItsValuesStopsAtTheLimitsAndSavesTheClaim) {
    CDVItem existing = stored(Kind::Trip);
    CTripDlg shown(existing, context());
    EXPECT_EQ(child<QLineEdit>(shown, "arrivalOdometerEdit")->text(), QStringLiteral("18100"));
    EXPECT_EQ(child<QTimeEdit>(shown, "arrivalTimeEdit")->time(),
              QDateTime::fromSecsSinceEpoch(existing.ArriveTime).time());

    CDVItem record;
    CTripDlg dialog(record, context(0.5));
    auto* contact = child<QComboBox>(dialog, "contactCombo");
    dialog.show();
    EXPECT_EQ(dialog.focusWidget(), contact);
    contact->clearEditText();
    QTest::keyClicks(contact->lineEdit(), QStringLiteral("Ann"));
    child<QComboBox>(dialog, "purposeCombo")->setCurrentIndex(0);
    auto* destination = child<QComboBox>(dialog, "destinationCombo");
    destination->clearEditText();
    QTest::keyClicks(destination->lineEdit(), QString(45, QLatin1Char('d')));
    auto* notes = child<QPlainTextEdit>(dialog, "notesEdit");
    QTest::keyClicks(notes, QString(260, QLatin1Char('n')));
    EXPECT_EQ(std::pair(destination->currentText().size(), notes->toPlainText().size()),
              std::pair(qsizetype{40}, qsizetype{256}));
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

} // namespace
