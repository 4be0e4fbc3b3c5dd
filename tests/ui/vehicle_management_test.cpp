// The main window's vehicle commands and reminder list: switching through the selector,
// File > New and File > Delete against the vehicle registry file and the data folder, and
// File > Backup and Restore bringing every file back.

#include "main_window_fixture.h"

#include "calc/reminder_check.h"
#include "store/vehicle_log_doc.h"
#include "store/vehicle_registry.h"
#include "ui/entry/new_vehicle_dlg.h"
#include "ui/main/backup_dlg.h"
#include "ui/main/restore_dlg.h"

#include <QFocusEvent>
#include <QTreeWidget>
#include <tuple>

using namespace window_test;

namespace {

using Lines = QList<std::pair<QString, int>>;

class VehicleManagementTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CBackupDlg::resetLastResult();
        CRestoreDlg::resetLastResult();
    }

    std::string config() const { return CAppFolders::defaultConfigFolder(); }
    std::string data() const { return CAppFolders::defaultDataFolder(); }
    std::string registryPath() const { return config() + "Drivana.ini"; }

    // Registers the vehicles in order; each gets a VIN and a log of `entries[i]` repairs.
    void writeVehicles(const std::vector<std::string>& names, const std::vector<int>& entries) {
        fs::create_directories(config());
        fs::create_directories(data());
        CProfileFile registry(registryPath());
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string n = std::to_string(i), vin = "VIN" + n;
            ASSERT_TRUE(registry.putText("VehicleList", "Vehicle" + n, names[i]));
            for (const auto& [key, value] : {std::pair{"VIN", vin}, std::pair{"Make", "Make" + n},
                                             std::pair{"Model", "Model" + n}, std::pair{"Year", "200" + n}})
                ASSERT_TRUE(registry.putText(names[i], key, value));
            CVehicleLogDoc doc;
            for (int e = 0; e < entries[i]; ++e) {
                auto item = std::make_unique<CDVItem>();
                std::tie(item->EntryType, item->Icon, item->Odometer) =
                    std::tuple(CDVItem::Repair, CDVItem::Repair, 1000 + 100 * e);
                doc.insert(std::move(item));
            }
            ASSERT_TRUE(doc.save(data() + vin + ".odv").saved);
        }
        ASSERT_TRUE(CAppProfile(CAppFolders::profilePath()).putText(ProfileKeys::LastVehicle, names.front()));
        // Every view shows all entries, whatever their dates.
        ASSERT_TRUE(CAppProfile(CAppFolders::profilePath()).putNumber(ProfileKeys::LastView, 3));
    }

    static std::string bytesOf(const std::string& path) {
        std::string bytes;
        odrivo::readWholeFile(path, bytes);
        return bytes;
    }
    QComboBox* selector() const { return m_window->findChild<QComboBox*>(QStringLiteral("vehicleCombo")); }
    QStringList selectorNames() const {
        QStringList names;
        for (int i = 0; i < selector()->count(); ++i)
            names << selector()->itemText(i);
        return names;
    }

    int rows() const { return entryList()->model()->rowCount(); }
    // Chooses the selector's entry `index` as the user does.
    void choose(int index) {
        selector()->setCurrentIndex(index);
        emit selector()->activated(index);
    }

    // Answers every Yes/No question with `yes` and everything else with OK.
    void answerQuestions(bool yes) {
        CMessageBox::setResponder([yes](const CMessageBox::Shown& shown) {
            if (shown.buttons & QMessageBox::Yes)
                return yes ? QMessageBox::Yes : QMessageBox::No;
            return QMessageBox::Ok;
        });
    }
};

TEST_F(VehicleManagementTest, ReminderListShowsDueLinesWholeAboveTheLastBackup) {
    writeVehicles({"Van"}, {3});
    CProfileFile registry(registryPath());
    ASSERT_TRUE(registry.putText("Van", "Start Odometer", "900"));
    ASSERT_TRUE(registry.putText("Van", "OilDistance", "800"));
    ASSERT_TRUE(registry.putText("Van", "LeadOdo", "500"));
    ASSERT_TRUE(CAppProfile(CAppFolders::profilePath()).putText(ProfileKeys::LastBackupDate, "12/01/2026 10:00"));
    ASSERT_TRUE(CAppProfile(CAppFolders::profilePath()).putNumber(ProfileKeys::ReminderColumnWidth, 0, 190));
    CVehicleLogDlg& window = start();
    // No oil change in the log: the 300 driven since the start odometer leave 500 of 800.
    EXPECT_EQ(window.reminderLines(),
              (Lines{{"Oil change due in: 500     Miles", 8}, {"Last Backup: 12/01/2026 10:00", 6}}));

    // The list is wide enough for its longest line, so it needs no horizontal scroll bar.
    auto* list = window.findChild<QTreeWidget*>(QStringLiteral("reminderList"));
    EXPECT_GT(list->viewport()->width(),
              list->fontMetrics().horizontalAdvance("Oil change due in: 500     Miles") + list->iconSize().width());
    // The column keeps the user's width, which is written when the list loses the focus.
    EXPECT_EQ(list->columnWidth(0), 190);
    list->setColumnWidth(0, 240);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(list, &focusOut);
    EXPECT_EQ(profileText("ListAttributes", "ReminderList0"), "240");
}

TEST_F(VehicleManagementTest, SwitchingLoadsTheChosenVehicleAndItsLog) {
    writeVehicles({"Alpha", "Beta", "Gamma"}, {1, 2, 0});
    fs::remove(data() + "VIN2.odv");
    CVehicleLogDlg& window = start();
    EXPECT_EQ(selectorNames(), QStringList({"Alpha", "Beta", "Gamma"}));

    choose(1);
    EXPECT_EQ(window.vehicleName(), "Beta");
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(window.reminderLines().back().first, "Last Backup: Unknown");

    // A vehicle whose data file is missing shows an empty log, without a message.
    choose(2);
    EXPECT_EQ(window.vehicleName(), "Gamma");
    EXPECT_EQ(rows(), 0);
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join("|").toStdString();
    EXPECT_FALSE(fs::exists(data() + "VIN2.odv")) << "looking at a vehicle creates no file";

    window.close();
    EXPECT_EQ(profileText("Initialize", "LastVehicle"), "Gamma");
}

TEST_F(VehicleManagementTest, VehicleWhoseSettingsCannotBeReadOpensNothingToSaveInto) {
    writeVehicles({"Alpha", "Beta"}, {2, 3});
    CVehicleLogDlg& window = start();
    ScriptedEditor repair;
    repair.script = [](CDVItem& item) {
        item.Odometer = 5000;
        return true;
    };
    window.setEntryEditor(CDVItem::Repair, &repair);
    ASSERT_TRUE(window.action(CommandId::AddRepair)->isEnabled());
    const std::string alphaLog = bytesOf(data() + "VIN0.odv");
    fs::remove(registryPath());

    choose(1);
    ASSERT_EQ(shownTexts().size(), 1);
    EXPECT_TRUE(shownTexts()[0].contains(QString::fromStdString(registryPath()))) << shownTexts()[0].toStdString();
    EXPECT_EQ(rows(), 0);
    EXPECT_FALSE(window.action(CommandId::AddRepair)->isEnabled());
    window.addEntry(CDVItem::Repair);
    EXPECT_EQ(repair.calls, 0);
    EXPECT_EQ(bytesOf(data() + "VIN0.odv"), alphaLog);
}

TEST_F(VehicleManagementTest, NewVehicleGetsTheNextSlotAnEmptyLogAndBecomesCurrent) {
    writeVehicles({"Alpha"}, {2});
    CVehicleLogDlg& window = start();
    bool save = true;
    m_dialogHandler = [&](QDialog& dialog) -> std::optional<int> {
        auto* form = qobject_cast<CNewVehicleDlg*>(&dialog);
        if (!form)
            return std::nullopt;
        form->findChild<QLineEdit*>(QStringLiteral("nameEdit"))->setText(QStringLiteral("Bravo"));
        form->findChild<QLineEdit*>(QStringLiteral("vinEdit"))->clear();
        QTest::keyClicks(form->findChild<QLineEdit*>(QStringLiteral("vinEdit")), QStringLiteral("ab12"));
        if (save)
            form->save();
        return save ? form->result() : CNewVehicleDlg::kCancelled;
    };
    window.action(CommandId::NewVehicle)->trigger();
    EXPECT_EQ(window.vehicleName(), "Bravo");
    EXPECT_EQ(selectorNames(), QStringList({"Alpha", "Bravo"}));
    EXPECT_EQ(selector()->currentText(), "Bravo");
    EXPECT_TRUE(fs::exists(data() + "AB12.odv"));

    save = false; // Cancel changes nothing
    const std::string before = bytesOf(registryPath());
    window.action(CommandId::NewVehicle)->trigger();
    EXPECT_EQ(window.vehicleName(), "Bravo");
    EXPECT_EQ(bytesOf(registryPath()), before);
}

TEST_F(VehicleManagementTest, DeletingTheMiddleVehicleRewritesTheListWithoutAGap) {
    writeVehicles({"Alpha", "Beta", "Gamma"}, {1, 2, 3});
    CVehicleLogDlg& window = start();
    choose(1);
    ASSERT_EQ(window.vehicleName(), "Beta");
    const std::string dataBefore = bytesOf(data() + "VIN1.odv");

    answerQuestions(false);
    const std::string before = bytesOf(registryPath());
    window.action(CommandId::DeleteVehicle)->trigger();
    ASSERT_EQ(CMessageBox::shown().size(), 1u);
    EXPECT_EQ(CMessageBox::shown()[0].text, "DELETE! This operation will delete the current vehicle\nARE YOU SURE?");
    EXPECT_EQ(CMessageBox::shown()[0].defaultButton, QMessageBox::No);
    EXPECT_EQ(bytesOf(registryPath()), before) << "No changes nothing";
    EXPECT_EQ(window.vehicleName(), "Beta");

    answerQuestions(true);
    window.action(CommandId::DeleteVehicle)->trigger();
    EXPECT_EQ(CVehicleRegistry(config()).vehicleNames(), (std::vector<std::string>{"Alpha", "Gamma"}));
    EXPECT_EQ(bytesOf(data() + "VIN1.odv"), dataBefore) << "the data file stays";
    EXPECT_EQ(selectorNames(), QStringList({"Alpha", "Gamma"}));
    EXPECT_EQ(window.vehicleName(), "Alpha");
    EXPECT_EQ(rows(), 1);
    const auto log = logDescriptions();
    EXPECT_NE(std::find(log.begin(), log.end(), "Vehicle Deleted :2001 Make1 Model1  VIN VIN1"), log.end());
}

TEST_F(VehicleManagementTest, DeletingTheLastVehicleLeavesNoVehicleAndNoWrites) {
    writeVehicles({"Solo"}, {2});
    CVehicleLogDlg& window = start();
    answerQuestions(true);
    window.action(CommandId::DeleteVehicle)->trigger();
    EXPECT_EQ(std::tuple(window.vehicleName(), selector()->count(), rows()), std::tuple("", 0, 0));
    for (int id : {CommandId::AddFuel, CommandId::AddRepair, CommandId::AddTrip, CommandId::DeleteVehicle})
        EXPECT_FALSE(window.action(id)->isEnabled()) << id;
    EXPECT_TRUE(window.action(CommandId::NewVehicle)->isEnabled());
    EXPECT_TRUE(fs::exists(data() + "VIN0.odv"));
}

TEST_F(VehicleManagementTest, RestoreBringsBackADeletedVehicleByteForByte) {
    writeVehicles({"Alpha", "Beta"}, {2, 3});
    CVehicleLogDlg* window = &start();
    m_dialogHandler = [](QDialog& dialog) -> std::optional<int> {
        auto* run = qobject_cast<CCopyRunDlg*>(&dialog);
        if (!run)
            return std::nullopt;
        run->runCopy();
        run->reject();
        return run->result();
    };
    answerQuestions(true);
    window->action(CommandId::Backup)->trigger();
    const std::string betaLog = bytesOf(data() + "VIN1.odv");
    const std::string registryBytes = bytesOf(registryPath());
    EXPECT_EQ(bytesOf(window->backupFolder() + "VIN1.odv"), betaLog);
    const std::string stamp = profileText("ListAttributes", "LastBackupDate");
    EXPECT_EQ(window->reminderLines().front(), std::make_pair(QString::fromStdString("Full Backup: " + stamp), 6));

    // Beta goes from the list and loses its data file; the restore brings both back. The
    // vehicle shown, made after the backup, is not in the restored list: the first one opens.
    choose(1);
    window->action(CommandId::DeleteVehicle)->trigger();
    fs::remove(data() + "VIN1.odv");
    ASSERT_TRUE(CProfileFile(registryPath()).putText("VehicleList", "Vehicle1", "Later"));
    ASSERT_TRUE(CProfileFile(registryPath()).putText("Later", "VIN", "L1"));
    ASSERT_TRUE(CAppProfile(CAppFolders::profilePath()).putText(ProfileKeys::LastVehicle, "Later"));
    window = &start();
    ASSERT_EQ(window->vehicleName(), "Later");
    window->action(CommandId::Restore)->trigger();
    EXPECT_EQ(bytesOf(data() + "VIN1.odv"), betaLog);
    EXPECT_EQ(bytesOf(registryPath()), registryBytes);
    EXPECT_EQ(selectorNames(), QStringList({"Alpha", "Beta"}));
    EXPECT_EQ(window->vehicleName(), "Alpha");
    EXPECT_EQ(rows(), 2);
    const std::string restored = profileText("ListAttributes", "LastRestoreDate");
    EXPECT_EQ(window->reminderLines().front(),
              std::make_pair(QString::fromStdString("Restore data on: " + restored), 6));

    // Declining either question leaves the files and writes the failure to the log.
    answerQuestions(false);
    fs::remove(data() + "VIN1.odv");
    window->action(CommandId::Restore)->trigger();
    window->action(CommandId::Backup)->trigger();
    EXPECT_FALSE(fs::exists(data() + "VIN1.odv"));
    EXPECT_EQ(bytesOf(window->backupFolder() + "VIN1.odv"), betaLog);
    const auto log = logDescriptions();
    for (const char* line : {"Full Backup Completed OK", "Full Restore Failure", "Full Backup Failure"})
        EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
}

} // namespace
