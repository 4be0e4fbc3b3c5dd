// The main window's vehicle commands and reminder list: switching through the selector,
// File > New and File > Delete against the vehicle registry file and the data folder, and
// File > Backup and Restore bringing every file back.

#include "main_window_fixture.h"

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
    // Registers the vehicles in order; each gets a VIN and a log of `entries[i]` repairs.
    static void writeVehicles(const std::vector<std::string>& names, const std::vector<int>& entries) {
        fs::create_directories(data());
        CProfileFile registry(registryPath());
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string n = std::to_string(i);
            ASSERT_TRUE(registry.putText("VehicleList", "Vehicle" + n, names[i]));
            for (const auto& [key, value] : {std::pair{"VIN", "VIN" + n}, std::pair{"Make", "Make" + n},
                                             std::pair{"Model", "Model" + n}, std::pair{"Year", "200" + n}})
                ASSERT_TRUE(registry.putText(names[i], key, value));
            CVehicleLogDoc doc;
            for (int e = 0; e < entries[i]; ++e) {
                auto item = std::make_unique<CDVItem>();
                std::tie(item->EntryType, item->Icon, item->Odometer) = std::tuple(CDVItem::Repair, 1, 1000 + 100 * e);
                doc.insert(std::move(item));
            }
            ASSERT_TRUE(doc.save(data() + "VIN" + n + ".odv").saved);
        }
        ASSERT_TRUE(profile().putText(ProfileKeys::LastVehicle, names.front()));
        ASSERT_TRUE(profile().putNumber(ProfileKeys::LastView, 3)); // every entry, whatever its date
    }
    QComboBox* selector() const { return child<QComboBox>("vehicleCombo"); }
    QStringList selectorNames() const {
        QStringList names;
        for (int i = 0; i < selector()->count(); ++i)
            names << selector()->itemText(i);
        return names;
    }
    // Chooses the selector's entry `index` as the user does.
    void choose(int index) {
        selector()->setCurrentIndex(index);
        emit selector()->activated(index);
    }
};

TEST_F(VehicleManagementTest, ReminderListShowsDueLinesWholeAboveTheLastBackup) {
    writeVehicles({"Van"}, {3});
    for (const auto& [key, value] : {std::pair{"Start Odometer", "900"}, {"OilDistance", "800"}, {"LeadOdo", "500"}})
        ASSERT_TRUE(CProfileFile(registryPath()).putText("Van", key, value));
    ASSERT_TRUE(profile().putText(ProfileKeys::LastBackupDate, "12/01/2026 10:00"));
    ASSERT_TRUE(profile().putNumber(ProfileKeys::ReminderColumnWidth, 0, 190));
    CVehicleLogDlg& window = start();
    // No oil change in the log: the 300 driven since the start odometer leave 500 of 800.
    const QString due = "Oil change due in: 500     Miles";
    EXPECT_EQ(window.reminderLines(), (Lines{{due, 8}, {"Last Backup: 12/01/2026 10:00", 6}}));
    // The list is wide enough for its longest line, so it needs no horizontal scroll bar.
    auto* list = child<QTreeWidget>("reminderList");
    EXPECT_GT(list->viewport()->width(), list->fontMetrics().horizontalAdvance(due) + list->iconSize().width());
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
    EXPECT_EQ(std::pair(window.vehicleName(), rows()), std::pair(std::string("Beta"), 2));
    EXPECT_EQ(window.reminderLines().back().first, "Last Backup: Unknown");
    // A vehicle whose data file is missing shows an empty log, without a message or a new file.
    choose(2);
    EXPECT_EQ(std::pair(window.vehicleName(), rows()), std::pair(std::string("Gamma"), 0));
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join("|").toStdString();
    EXPECT_FALSE(fs::exists(data() + "VIN2.odv"));
    window.close();
    EXPECT_EQ(profileText("Initialize", "LastVehicle"), "Gamma");
}

TEST_F(VehicleManagementTest, VehicleWhoseSettingsCannotBeReadOpensNothingToSaveInto) {
    writeVehicles({"Alpha", "Beta"}, {2, 3});
    CVehicleLogDlg& window = start();
    ScriptedEditor repair;
    repair.script = [](CDVItem& item) { return item.Odometer = 5000, true; };
    window.setEntryEditor(CDVItem::Repair, &repair);
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
    onDialog<CNewVehicleDlg>([&](CNewVehicleDlg& form) {
        form.findChild<QLineEdit*>(QStringLiteral("nameEdit"))->setText(QStringLiteral("Bravo"));
        form.findChild<QLineEdit*>(QStringLiteral("vinEdit"))->clear();
        QTest::keyClicks(form.findChild<QLineEdit*>(QStringLiteral("vinEdit")), QStringLiteral("ab12"));
        save ? form.save() : form.reject();
    });
    window.action(CommandId::NewVehicle)->trigger();
    EXPECT_EQ(std::pair(window.vehicleName(), selector()->currentText()),
              std::pair(std::string("Bravo"), QString("Bravo")));
    EXPECT_EQ(selectorNames(), QStringList({"Alpha", "Bravo"}));
    EXPECT_TRUE(fs::exists(data() + "AB12.odv"));
    save = false; // Cancel changes nothing
    const std::string before = bytesOf(registryPath());
    window.action(CommandId::NewVehicle)->trigger();
    EXPECT_EQ(window.vehicleName(), "Bravo");
    EXPECT_EQ(bytesOf(registryPath()), before);
}

TEST_F(VehicleManagementTest, DeletingAsksWithNoAsDefaultAndRewritesTheListWithoutAGap) {
    writeVehicles({"Alpha", "Beta", "Gamma"}, {1, 2, 3});
    CVehicleLogDlg& window = start();
    choose(1);
    const std::string dataBefore = bytesOf(data() + "VIN1.odv");
    answerQuestions(false);
    const std::string before = bytesOf(registryPath());
    window.action(CommandId::DeleteVehicle)->trigger();
    ASSERT_EQ(CMessageBox::shown().size(), 1u);
    EXPECT_EQ(CMessageBox::shown()[0].text, "DELETE! This operation will delete the current vehicle\nARE YOU SURE?");
    EXPECT_EQ(CMessageBox::shown()[0].defaultButton, QMessageBox::No);
    EXPECT_EQ(std::pair(bytesOf(registryPath()), window.vehicleName()), std::pair(before, std::string("Beta")));

    answerQuestions(true);
    window.action(CommandId::DeleteVehicle)->trigger();
    EXPECT_EQ(CVehicleRegistry(config()).vehicleNames(), (std::vector<std::string>{"Alpha", "Gamma"}));
    EXPECT_EQ(bytesOf(data() + "VIN1.odv"), dataBefore) << "the data file stays";
    EXPECT_EQ(selectorNames(), QStringList({"Alpha", "Gamma"}));
    EXPECT_EQ(std::pair(window.vehicleName(), rows()), std::pair(std::string("Alpha"), 1));
    EXPECT_TRUE(logged("Vehicle Deleted :2001 Make1 Model1  VIN VIN1"));
    // With the last one gone there is no vehicle to add to.
    window.action(CommandId::DeleteVehicle)->trigger();
    window.action(CommandId::DeleteVehicle)->trigger();
    EXPECT_EQ(std::tuple(window.vehicleName(), selector()->count(), rows()), std::tuple("", 0, 0));
    for (int id : {CommandId::AddFuel, CommandId::AddRepair, CommandId::DeleteVehicle})
        EXPECT_FALSE(window.action(id)->isEnabled()) << id;
    EXPECT_TRUE(window.action(CommandId::NewVehicle)->isEnabled());
}

TEST_F(VehicleManagementTest, RestoreBringsBackADeletedVehicleByteForByte) {
    writeVehicles({"Alpha", "Beta"}, {2, 3});
    CVehicleLogDlg* window = &start();
    onDialog<CCopyRunDlg>([](CCopyRunDlg& run) {
        run.runCopy();
        run.reject();
    });
    answerQuestions(true);
    window->action(CommandId::Backup)->trigger();
    const std::string betaLog = bytesOf(data() + "VIN1.odv"), registryBytes = bytesOf(registryPath());
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
    ASSERT_TRUE(profile().putText(ProfileKeys::LastVehicle, "Later"));
    window = &start();
    window->action(CommandId::Restore)->trigger();
    EXPECT_EQ(std::pair(bytesOf(data() + "VIN1.odv"), bytesOf(registryPath())), std::pair(betaLog, registryBytes));
    EXPECT_EQ(selectorNames(), QStringList({"Alpha", "Beta"}));
    EXPECT_EQ(std::pair(window->vehicleName(), rows()), std::pair(std::string("Alpha"), 2));
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
    for (const char* line : {"Full Backup Completed OK", "Full Restore Failure", "Full Backup Failure"})
        EXPECT_TRUE(logged(line)) << line;
}

} // namespace
