// Drives the repair dialog headless: its fixed texts, typing and picking descriptions,
// the icon buttons, the list buttons, Save and Cancel, and refused numbers.

#include "calc/repair_form.h"
#include "store/app_profile.h"
#include "store/profile_file.h"
#include "ui/entry/edit_list_dlg.h"
#include "ui/entry/repair_dlg.h"
#include "ui/entry/repair_editor.h"
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
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace fs = std::filesystem;

namespace {

constexpr DVTime kStart = 1'700'000'000;

class RepairDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        m_dir = fs::temp_directory_path() / ("odrivo-repair-" + std::to_string(rd()));
        fs::create_directories(m_dir);
        m_lists = (m_dir / "Lists.ini").string();
        CProfileFile lists(m_lists);
        lists.putText("RepairList", "Line0", std::string_view("Oil Change"));
        lists.putText("RepairList", "Line1", std::string_view("Brake pads"));
        lists.putText("RepairLocation", "Line0", std::string_view("Quick Lube"));
        m_profile = std::make_unique<CAppProfile>((m_dir / "profile.ini").string());
        CRepairForm::resetDefaultIcon();
        CMessageBox::clearShown();
        CMessageBox::setResponder([](const CMessageBox::Shown&) { return QMessageBox::Ok; });
        CModalRunner::setHandler([this](QDialog& dialog) {
            auto* editor = qobject_cast<CEditListDlg*>(&dialog);
            if (!editor)
                return static_cast<int>(QDialog::Rejected);
            ++m_listEditorRuns;
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
        CRepairForm::resetDefaultIcon();
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    EntryContext context() const {
        EntryContext c;
        c.currentOdometer = 52'300;
        c.startTime = kStart;
        c.profile = m_profile.get();
        c.listsPath = m_lists;
        return c;
    }

    static CDVItem existing(std::string description, int icon) {
        CDVItem item;
        item.EntryType = CDVItem::Repair;
        item.Icon = icon;
        item.Odometer = 41'000;
        item.Date = 1'650'000'000;
        item.Entry = std::move(description);
        item.Station = "Dealer";
        item.Cost = 120;
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
    int m_listEditorRuns = 0;
};

TEST_F(RepairDlgTest, ShowsItsFixedTexts) {
    CDVItem record;
    CRepairDlg dialog(record, context());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Repairs and Maintenance"));
    EXPECT_EQ(child<QLabel>(dialog, "infoLabel")->text(),
              QStringLiteral("Enter Repairs and regularly scheduled maintenance here.  Reminder repair types have been "
                             "added to the description list by Odrivo.  "));
    const struct {
        const char* name;
        const char* tip;
    } tips[] = {
        {"descriptionListButton", "Edit Repair Description list"},
        {"locationListButton", "Edit Repair Facility list"},
        {"saveButton", "Save the changes"},
        {"cancelButton", "Cancel without saving"},
        {"defaultIconButton", "Default Icon"},
        {"cautionIconButton", "Caution"},
        {"tireIconButton", "Tire"},
        {"selectedIconButton", "Selected Icon"},
    };
    for (const auto& t : tips)
        EXPECT_EQ(child<QWidget>(dialog, t.name)->toolTip(), QString::fromLatin1(t.tip)) << t.name;
    EXPECT_TRUE(child<QPushButton>(dialog, "saveButton")->isDefault());
    // The list is loaded; the remembered texts fill a new entry.
    auto* description = child<QComboBox>(dialog, "descriptionCombo");
    EXPECT_EQ(description->count(), 2);
    EXPECT_EQ(description->currentText(), QStringLiteral("Maint."));
    EXPECT_EQ(child<QComboBox>(dialog, "locationCombo")->currentText(), QStringLiteral("Select"));
    EXPECT_EQ(child<QLineEdit>(dialog, "odometerEdit")->text(), QStringLiteral("52300"));
}

TEST_F(RepairDlgTest, TypedDescriptionSetsTheCodeAndSaveWritesRecordAndProfile) {
    CDVItem record;
    CRepairDlg dialog(record, context());
    auto* description = child<QComboBox>(dialog, "descriptionCombo");
    description->clearEditText();
    QTest::keyClicks(description->lineEdit(), QStringLiteral("Full Oil Change"));
    EXPECT_EQ(dialog.form().iconCode(), 4);

    auto* location = child<QComboBox>(dialog, "locationCombo");
    location->setCurrentIndex(0);
    child<QLineEdit>(dialog, "odometerEdit")->setText(QStringLiteral("52310.5"));
    child<QLineEdit>(dialog, "invoiceEdit")->setText(QStringLiteral("A-17"));
    child<QLineEdit>(dialog, "costEdit")->setText(QStringLiteral("45.5"));
    QTest::keyClicks(child<QPlainTextEdit>(dialog, "detailsEdit"), QStringLiteral("5W-30"));

    QSignalSpy finished(&dialog, &QDialog::finished);
    QTest::mouseClick(child<QPushButton>(dialog, "saveButton"), Qt::LeftButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), QDialog::Accepted);
    EXPECT_EQ(record.Entry, "Full Oil Change");
    EXPECT_EQ(record.Station, "Quick Lube");
    EXPECT_EQ(record.Invoice, "A-17");
    EXPECT_EQ(record.Note, "5W-30");
    EXPECT_EQ(record.Odometer, 52'310.5);
    EXPECT_EQ(record.Cost, 45.5);
    EXPECT_EQ(record.Date, kStart);
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastMaintType), "Full Oil Change");
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastMaintLoc), "Quick Lube");
}

TEST_F(RepairDlgTest, PickedItemAndIconButtonsReachTheForm) {
    CDVItem record = existing("Brakes", 12);
    CRepairDlg dialog(record, context());
    EXPECT_EQ(dialog.form().iconCode(), 12);
    auto* description = child<QComboBox>(dialog, "descriptionCombo");
    const int oil = description->findText(QStringLiteral("Oil Change"));
    ASSERT_GE(oil, 0);
    description->setCurrentIndex(oil);
    emit description->activated(oil);
    EXPECT_EQ(dialog.form().iconCode(), 4);

    QTest::mouseClick(child<QToolButton>(dialog, "watchIconButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.form().iconCode(), 10);
    QTest::mouseClick(child<QToolButton>(dialog, "defaultIconButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.form().iconCode(), 1); // the run's default is still the general repair icon
    QTest::mouseClick(child<QToolButton>(dialog, "tireIconButton"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(dialog, "saveButton"), Qt::LeftButton);
    EXPECT_EQ(record.Icon, 17);
    EXPECT_EQ(record.Entry, "Oil Change");
}

TEST_F(RepairDlgTest, RefusedNumberKeepsTheDialogOpen) {
    for (const char* field : {"odometerEdit", "costEdit"}) {
        CMessageBox::clearShown();
        CDVItem record = existing("Brakes", 1);
        const CDVItem before = record;
        CRepairDlg dialog(record, context());
        child<QLineEdit>(dialog, field)->setText(QStringLiteral("12x"));
        QSignalSpy finished(&dialog, &QDialog::finished);
        QTest::mouseClick(child<QPushButton>(dialog, "saveButton"), Qt::LeftButton);
        EXPECT_EQ(finished.count(), 0) << field;
        ASSERT_EQ(CMessageBox::shown().size(), 1u) << field;
        EXPECT_TRUE(CMessageBox::shown()[0].text.contains(
            QString::fromLatin1(std::string_view(field) == "odometerEdit" ? "Odometer" : "Total Cost")));
        EXPECT_EQ(record, before);
        EXPECT_EQ(m_profile->getText(ProfileKeys::LastMaintType), "Maint.");
    }
}

TEST_F(RepairDlgTest, CancelLeavesRecordAndProfileAlone) {
    CDVItem record = existing("Brakes", 9);
    const CDVItem before = record;
    CRepairDlg dialog(record, context());
    child<QComboBox>(dialog, "descriptionCombo")->setEditText(QStringLiteral("Tune-Up"));
    child<QLineEdit>(dialog, "costEdit")->setText(QStringLiteral("99"));
    QSignalSpy finished(&dialog, &QDialog::finished);
    QTest::mouseClick(child<QPushButton>(dialog, "cancelButton"), Qt::LeftButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), QDialog::Rejected);
    EXPECT_EQ(record, before);
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastMaintType), "Maint.");
}

TEST_F(RepairDlgTest, ListButtonsTakeTheAddedItem) {
    CDVItem record = existing("Brakes", 11);
    CRepairDlg dialog(record, context());
    auto* description = child<QComboBox>(dialog, "descriptionCombo");
    m_itemToAdd = QStringLiteral("Oil Change and filter");
    QTest::mouseClick(child<QPushButton>(dialog, "descriptionListButton"), Qt::LeftButton);
    EXPECT_EQ(m_listEditorRuns, 1);
    EXPECT_EQ(description->currentText(), m_itemToAdd);
    EXPECT_GE(description->findText(m_itemToAdd), 0); // the list was reloaded
    EXPECT_EQ(dialog.form().iconCode(), 11);          // and the code not matched again

    // Closing the editor without adding empties the field.
    m_itemToAdd.clear();
    QTest::mouseClick(child<QPushButton>(dialog, "locationListButton"), Qt::LeftButton);
    EXPECT_EQ(child<QComboBox>(dialog, "locationCombo")->currentText(), QString());
    EXPECT_EQ(description->currentText(), QStringLiteral("Oil Change and filter"));
}

TEST_F(RepairDlgTest, EditorRunsTheDialog) {
    int contexts = 0;
    CRepairEditor editor(
        [&] {
            ++contexts;
            return context();
        },
        nullptr);
    CModalRunner::setHandler([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("costEdit"))->setText(QStringLiteral("15"));
        dialog.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
        return dialog.result();
    });
    CDVItem record;
    EXPECT_TRUE(editor.edit(record));
    EXPECT_EQ(record.Cost, 15);
    EXPECT_EQ(contexts, 1);

    CModalRunner::setHandler([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    CDVItem untouched = existing("Brakes", 1);
    const CDVItem before = untouched;
    EXPECT_FALSE(editor.edit(untouched));
    EXPECT_EQ(untouched, before);
    EXPECT_EQ(contexts, 2);
}

} // namespace
