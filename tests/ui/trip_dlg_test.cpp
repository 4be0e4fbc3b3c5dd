// Drives the trip dialog headless: its fixed texts and focus, typing and Save with the
// claim, the text limits, the list buttons, Cancel, and refused numbers.

#include "store/app_profile.h"
#include "store/profile_file.h"
#include "ui/entry/edit_list_dlg.h"
#include "ui/entry/trip_dlg.h"
#include "ui/entry/trip_editor.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/modal_runner.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimeEdit>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace fs = std::filesystem;

namespace {

constexpr DVTime kStart = 1'700'000'000;

class TripDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        m_dir = fs::temp_directory_path() / ("odrivo-trip-" + std::to_string(rd()));
        fs::create_directories(m_dir);
        m_lists = (m_dir / "Lists.ini").string();
        CProfileFile lists(m_lists);
        lists.putText("ContactList", "Line0", std::string_view("Zed"));
        lists.putText("ContactList", "Line1", std::string_view("Bob"));
        lists.putText("PurposeList", "Line0", std::string_view("Audit"));
        m_profile = std::make_unique<CAppProfile>((m_dir / "profile.ini").string());
        CMessageBox::clearShown();
        CMessageBox::setResponder([](const CMessageBox::Shown&) { return QMessageBox::Ok; });
        CModalRunner::setHandler([this](QDialog& dialog) {
            auto* editor = qobject_cast<CEditListDlg*>(&dialog);
            if (!editor)
                return static_cast<int>(QDialog::Rejected);
            if (!m_itemToAdd.isEmpty()) {
                editor->findChild<QLineEdit*>(QStringLiteral("newItemEdit"))->setText(m_itemToAdd);
                editor->add();
            }
            return static_cast<int>(QDialog::Accepted);
        });
    }

    void TearDown() override {
        CModalRunner::setHandler(nullptr);
        CMessageBox::setResponder(nullptr);
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    EntryContext context(double rate = 0.5) const {
        EntryContext c;
        c.vehicle.name = "Blue Van";
        c.vehicle.costPerMile = rate;
        c.currentOdometer = 20'000;
        c.startTime = kStart;
        c.profile = m_profile.get();
        c.listsPath = m_lists;
        return c;
    }

    static CDVItem storedTrip() {
        CDVItem item;
        item.Icon = 19;
        item.EntryType = CDVItem::Trip;
        item.Odometer = 18'000;
        item.EndOdometer = 18'100;
        item.DepartTime = kStart - 7200;
        item.ArriveTime = kStart - 3600;
        item.Date = item.DepartTime;
        item.Contact = "Bob";
        item.Purpose = "Audit";
        item.Destination = "Shelbyville";
        item.Entry = "Trip";
        item.UnitPrice = 50;
        return item;
    }

    template <class T> static T* child(QDialog& dialog, const char* name) {
        T* found = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    fs::path m_dir;
    std::string m_lists;
    std::unique_ptr<CAppProfile> m_profile;
    QString m_itemToAdd;
};

TEST_F(TripDlgTest, ShowsItsFixedTextsAndStartsInTheContact) {
    CDVItem record;
    CTripDlg dialog(record, context());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Trips"));
    EXPECT_EQ(child<QLabel>(dialog, "vehicleLabel")->text(), QStringLiteral("Blue Van"));
    EXPECT_EQ(child<QLabel>(dialog, "tollsLabel")->text(), QStringLiteral("Toll & Exp."));
    const struct {
        const char* name;
        const char* tip;
    } tips[] = {
        {"contactListButton", "Edit contact list"},         {"purposeListButton", "Edit purpose list"},
        {"destinationListButton", "Edit destination list"}, {"saveButton", "Save the changes"},
        {"cancelButton", "Cancel without saving"},
    };
    for (const auto& t : tips)
        EXPECT_EQ(child<QWidget>(dialog, t.name)->toolTip(), QString::fromLatin1(t.tip)) << t.name;
    EXPECT_TRUE(child<QPushButton>(dialog, "saveButton")->isDefault());
    auto* contact = child<QComboBox>(dialog, "contactCombo");
    EXPECT_EQ(contact->count(), 2);
    EXPECT_EQ(contact->currentText(), QStringLiteral("Select"));
    dialog.show();
    EXPECT_EQ(dialog.focusWidget(), contact);
}

TEST_F(TripDlgTest, SaveWritesTripClaimAndProfile) {
    CDVItem record;
    CTripDlg dialog(record, context(0.5));
    auto* contact = child<QComboBox>(dialog, "contactCombo");
    contact->clearEditText();
    QTest::keyClicks(contact->lineEdit(), QStringLiteral("Ann"));
    child<QComboBox>(dialog, "purposeCombo")->setCurrentIndex(0);
    child<QComboBox>(dialog, "destinationCombo")->setEditText(QStringLiteral("Capital City"));
    auto* arrival = child<QLineEdit>(dialog, "arrivalOdometerEdit");
    arrival->clear();
    QTest::keyClicks(arrival, QStringLiteral("20120"));
    child<QTimeEdit>(dialog, "departureTimeEdit")->setTime(QTime(7, 30, 45));
    child<QTimeEdit>(dialog, "arrivalTimeEdit")->setTime(QTime(16, 5, 10));
    child<QLineEdit>(dialog, "tollsEdit")->setText(QStringLiteral("6.5"));
    child<QLineEdit>(dialog, "parkingEdit")->setText(QStringLiteral("2"));

    QSignalSpy finished(&dialog, &QDialog::finished);
    QTest::mouseClick(child<QPushButton>(dialog, "saveButton"), Qt::LeftButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), QDialog::Accepted);
    EXPECT_EQ(record.Contact, "Ann");
    EXPECT_EQ(record.Purpose, "Audit");
    EXPECT_EQ(record.Destination, "Capital City");
    EXPECT_EQ(record.Odometer, 20'000);
    EXPECT_EQ(record.EndOdometer, 20'120);
    EXPECT_DOUBLE_EQ(record.UnitPrice, 60); // the vehicle's rate reached the form
    EXPECT_EQ(record.Cost, 6.5);
    EXPECT_EQ(record.Parking, 2);
    const QDate startDay = QDateTime::fromSecsSinceEpoch(kStart).date();
    EXPECT_EQ(record.DepartTime, QDateTime(startDay, QTime(7, 30)).toSecsSinceEpoch());
    EXPECT_EQ(record.ArriveTime, QDateTime(startDay, QTime(16, 5)).toSecsSinceEpoch());
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastTripContact), "Ann");
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastTripPurpose), "Audit");
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastTripDestination), "Capital City");
}

TEST_F(TripDlgTest, ExistingTripShowsItsValues) {
    CDVItem record = storedTrip();
    CTripDlg dialog(record, context());
    EXPECT_EQ(child<QComboBox>(dialog, "contactCombo")->currentText(), QStringLiteral("Bob"));
    EXPECT_EQ(child<QComboBox>(dialog, "destinationCombo")->currentText(), QStringLiteral("Shelbyville"));
    EXPECT_EQ(child<QLineEdit>(dialog, "departureOdometerEdit")->text(), QStringLiteral("18000"));
    EXPECT_EQ(child<QLineEdit>(dialog, "arrivalOdometerEdit")->text(), QStringLiteral("18100"));
    const QDateTime arrive = QDateTime::fromSecsSinceEpoch(record.ArriveTime);
    EXPECT_EQ(child<QDateEdit>(dialog, "arrivalDateEdit")->date(), arrive.date());
    EXPECT_EQ(child<QTimeEdit>(dialog, "arrivalTimeEdit")->time(), arrive.time());
}

TEST_F(TripDlgTest, RefusedNumberKeepsTheDialogOpen) {
    const struct {
        const char* field;
        const char* named;
    } cases[] = {{"departureOdometerEdit", "Departure Odometer"},
                 {"arrivalOdometerEdit", "Arrival Odometer"},
                 {"tollsEdit", "Toll & Exp."},
                 {"parkingEdit", "Parking"}};
    for (const auto& c : cases) {
        CMessageBox::clearShown();
        CDVItem record = storedTrip();
        const CDVItem before = record;
        CTripDlg dialog(record, context());
        child<QLineEdit>(dialog, c.field)->setText(QStringLiteral("1.2.3"));
        QSignalSpy finished(&dialog, &QDialog::finished);
        QTest::mouseClick(child<QPushButton>(dialog, "saveButton"), Qt::LeftButton);
        EXPECT_EQ(finished.count(), 0) << c.field;
        ASSERT_EQ(CMessageBox::shown().size(), 1u) << c.field;
        EXPECT_TRUE(CMessageBox::shown()[0].text.startsWith(QString::fromLatin1(c.named))) << c.field;
        EXPECT_EQ(record, before);
        EXPECT_EQ(m_profile->getText(ProfileKeys::LastTripContact), "Select");
    }
}

TEST_F(TripDlgTest, TypingStopsAtTheLimits) {
    CDVItem record;
    CTripDlg dialog(record, context());
    auto* destination = child<QComboBox>(dialog, "destinationCombo");
    destination->clearEditText();
    QTest::keyClicks(destination->lineEdit(), QString(45, QLatin1Char('d')));
    EXPECT_EQ(destination->currentText().size(), 40);
    auto* notes = child<QPlainTextEdit>(dialog, "notesEdit");
    QTest::keyClicks(notes, QString(260, QLatin1Char('n')));
    EXPECT_EQ(notes->toPlainText().size(), 256);
}

TEST_F(TripDlgTest, ListButtonsCancelAndEditor) {
    CDVItem record = storedTrip();
    const CDVItem before = record;
    {
        CTripDlg dialog(record, context());
        m_itemToAdd = QStringLiteral("Carol");
        QTest::mouseClick(child<QPushButton>(dialog, "contactListButton"), Qt::LeftButton);
        auto* contact = child<QComboBox>(dialog, "contactCombo");
        EXPECT_EQ(contact->currentText(), QStringLiteral("Carol"));
        EXPECT_EQ(contact->count(), 3);
        m_itemToAdd.clear();
        QTest::mouseClick(child<QPushButton>(dialog, "purposeListButton"), Qt::LeftButton);
        EXPECT_EQ(child<QComboBox>(dialog, "purposeCombo")->currentText(), QString());
        EXPECT_EQ(contact->currentText(), QStringLiteral("Carol"));
        QTest::mouseClick(child<QPushButton>(dialog, "cancelButton"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(record, before);
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastTripContact), "Select");

    CTripEditor editor([this] { return context(0); }, nullptr);
    CModalRunner::setHandler([](QDialog& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
        return dialog.result();
    });
    EXPECT_TRUE(editor.edit(record));
    EXPECT_EQ(record.UnitPrice, 0); // the editor's context, with a rate of 0, replaced the stored claim of 50
}

} // namespace
