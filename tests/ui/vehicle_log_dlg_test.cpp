// The main window headless in a temporary home: start-up, layout and closing, the filters,
// Recalculate, entries, the reminder list, switching, adding and deleting vehicles, Backup and Restore.

#include "main_window_fixture.h"

#include "calc/locale_info.h"
#include "store/vehicle_registry.h"
#include "ui/entry/delete_confirm_dlg.h"
#include "ui/entry/entry_dialogs.h"
#include "ui/entry/fuel_dlg.h"
#include "ui/entry/new_vehicle_dlg.h"
#include "ui/main/backup_dlg.h"
#include "ui/main/restore_dlg.h"

#include <QDateTimeEdit>
#include <QFocusEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>

using namespace window_test;

namespace {

TEST_F(MainWindowTest, FirstStartInstallsTheSampleAndTheProfileKeepsTheLayout) {
    m_uncheckSplash = true;
    CVehicleLogDlg& window = start();
    EXPECT_EQ(std::pair(m_splashShown, window.vehicleName()), std::pair(1, std::string("My Vehicle")));
    // The sample log's economy is worked out, and the status bar shows it from the first refresh.
    for (const char* pane : {"currentEconomyPane", "averageEconomyPane"})
        EXPECT_GT(child<QLabel>(pane)->text().toDouble(), 20.0) << pane;
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join("|").toStdString();
    // The list gets about three fifths of the height the splitter shares out.
    const QList<int> split = child<QSplitter>("splitter")->sizes();
    EXPECT_NEAR(split[1] * 1.0 / (split[0] + split[1]), 0.6, 0.05);
    const std::size_t entries = window.session().doc().size();
    window.close();
    const std::string home = (m_home / "data").string() + "/Odrivo/";
    const std::pair<const char*, std::string> written[] = {
        {"Path", home + "Data/"}, {"Backup", home + "Backup/"}, {"Config", home}, {"LastVehicle", "My Vehicle"},
        {"LastView", "0"},        {"AskDelete", "1"},           {"Splash", "0"}};
    for (const auto& [key, value] : written)
        EXPECT_EQ(profileText("Initialize", key), value) << key;
    EXPECT_EQ(profileText("ListAttributes", "TabHeight"), std::to_string(split[0]));
    EXPECT_TRUE(logged("DataPath = " + home + "Data/"));

    ASSERT_TRUE(profile().putNumber(ProfileKeys::SelectedTab, 3));
    ASSERT_TRUE(CProfileFile(CAppFolders::profilePath()).putText("ListAttributes", "TabHeight", "250"));
    CVehicleLogDlg& again = start();
    EXPECT_EQ(again.session().doc().size(), entries) << "a second start installs nothing more";
    EXPECT_EQ(m_splashShown, 1) << "the splash must not show once switched off";
    EXPECT_EQ(std::pair(child<QTabWidget>("tabWidget")->currentIndex(), child<QSplitter>("splitter")->sizes().value(0)),
              std::pair(3, 250));
    QTest::keyClick(&again, Qt::Key_Return);
    EXPECT_TRUE(again.isVisible()) << "Enter does nothing";

    // A folder where the profile file should be: closing reports each value it cannot write.
    fs::remove(CAppFolders::profilePath());
    fs::create_directories(CAppFolders::profilePath());
    again.close();
    const QStringList texts = shownTexts();
    for (const char* text : {"Path failed to set", "Backup Path failed to set", "Config Path failed to set",
                             "Last Vehicle failed to set", "Last Tab failed to set"})
        EXPECT_TRUE(texts.contains(text)) << text;
    EXPECT_TRUE(texts.last().contains(QString::fromStdString(CAppFolders::profilePath())));
}

// A vehicle with one entry of each type, dated relative to now so the date ranges select them.
class FilteredWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        const DVTime now = std::time(nullptr);
        writeVehicles({"Van"}, {{entry(CDVItem::Fuel, 1000, now - 400 * 86400, "old fill"),
                                 entry(CDVItem::Repair, 1100, now - 3600, "front axle"),
                                 entry(CDVItem::Trip, 1200, now - 7200, "to the coast"),
                                 entry(CDVItem::Fuel, 1300, now - 60, "recent fill")}});
    }
    static std::unique_ptr<CVehicleLogDoc> reread() {
        auto doc = std::make_unique<CVehicleLogDoc>();
        EXPECT_TRUE(doc->load(data() + "VIN0.odv").ok());
        return doc;
    }
};

TEST_F(FilteredWindowTest, RadiosRangeAndSearchAreWiredToTheRows) {
    start();
    auto* range = child<QComboBox>("dateRangeCombo");
    auto* search = child<QComboBox>("searchCombo");
    EXPECT_EQ(column(2), QStringList({"1000", "1300"})) << "the last view is Fuel";
    clickButton("tripsRadio");
    EXPECT_EQ(column(2), QStringList({"1200"}));
    clickButton("anyRadio");
    range->setCurrentIndex(range->findText("This Week"));
    emit range->activated(range->currentIndex());
    EXPECT_EQ(column(2), QStringList({"1100", "1200", "1300"}));
    for (const auto& [text, found] : {std::pair{"COAST", QStringList{"1200"}}, {"nothing like this", QStringList{}}}) {
        search->setCurrentText(text);
        clickButton("searchButton");
        EXPECT_EQ(column(2), found) << text;
    }
}

TEST_F(FilteredWindowTest, DatesHaveFourDigitYearsAndRecalculateKeepsTheSelection) {
    ASSERT_TRUE(CProfileFile(registryPath()).putText("Van", "Econo", "L/100km"));
    CVehicleLogDlg& window = start();
    const CLibcLocale locale;
    auto* from = child<QDateTimeEdit>("fromDateEdit");
    EXPECT_EQ(from->text().toStdString(), locale.shortDate(from->dateTime().toSecsSinceEpoch()));
    EXPECT_EQ(column(3).value(1).toStdString(), locale.shortDate(std::time(nullptr) - 60));
    EXPECT_EQ(column(3).value(1).size(), 10) << "month, day and a four-digit year";
    EXPECT_EQ(column(7).value(1), "0.00 MPG") << "not computed before Recalculate";
    entryList()->selectRow(1);
    window.action(CommandId::Recalculate)->trigger();
    EXPECT_EQ(column(7).value(1), "7.84 L/100km"); // 37.85 litres over 482.80 km, in the vehicle's unit
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_TRUE(window.statusBar()->currentMessage().startsWith("Recalculation done"));
    EXPECT_NEAR(reread()->at(3).Economy, 37.8541 / 4.828032, 1e-4);
}

TEST_F(FilteredWindowTest, AddEditAndDeleteReachListAndFile) {
    CVehicleLogDlg& window = start();
    auto dialogs = std::make_unique<CEntryDialogs>(window);
    onDialog<CFuelDlg>([](CFuelDlg& fuel) {
        for (const auto& [name, text] :
             {std::pair{"odometerEdit", "1600"}, {"quantityEdit", "40"}, {"priceEdit", "1.5"}}) {
            auto* edit = fuel.findChild<QLineEdit*>(QString::fromLatin1(name));
            edit->selectAll();
            QTest::keyClicks(edit, text);
        }
        QTest::mouseClick(fuel.findChild<QPushButton*>(QStringLiteral("saveButton")), Qt::LeftButton);
    });
    window.action(CommandId::AddFuel)->trigger();
    EXPECT_EQ(column(2), QStringList({"1000", "1300", "1600"}));
    const CDVItem& added = window.session().doc().at(4);
    EXPECT_EQ(std::tuple(added.Quantity, added.Cost, added.FuelDistance),
              std::tuple(40.0, 60.0, 300)); // distance since the fill at 1300

    onDialog<CFuelDlg>([](CFuelDlg& fuel) {
        fuel.findChild<QPlainTextEdit*>(QStringLiteral("notesEdit"))->setPlainText(QStringLiteral("edited"));
        QTest::mouseClick(fuel.findChild<QPushButton*>(QStringLiteral("saveButton")), Qt::LeftButton);
    });
    QTableView* list = entryList();
    const QRect cell = list->visualRect(list->model()->index(1, 2));
    // The view opens an entry when the second click lands on the row the first one pressed.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());

    int asked = 0;
    onDialog<CDeleteConfirmDlg>([&](CDeleteConfirmDlg& confirm) {
        auto* no = confirm.findChild<QPushButton*>(QStringLiteral("noButton"));
        confirm.show();
        EXPECT_TRUE(no->isDefault());
        EXPECT_EQ(confirm.focusWidget(), no) << "deleting cannot be undone: No has the focus";
        // The first request is answered No, the second Yes.
        QTest::mouseClick(++asked > 1 ? confirm.findChild<QPushButton*>(QStringLiteral("yesButton")) : no,
                          Qt::LeftButton);
    });
    list->selectRow(2);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(rows(), 3);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(column(2), QStringList({"1000", "1300"}));
    EXPECT_EQ(selectedRow(), 1) << "the new last row is selected";
    const auto reloaded = reread();
    ASSERT_EQ(reloaded->size(), 4u);
    EXPECT_EQ(reloaded->at(3).Note, "edited");
}

using Lines = QList<std::pair<QString, int>>;

TEST_F(MainWindowTest, ReminderListShowsDueLinesWholeAboveTheLastBackup) {
    writeVehicles({"Van"}, {fills(3)});
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

TEST_F(MainWindowTest, SwitchingLoadsTheChosenVehicleAndUnreadableSettingsOpenNothingToSaveInto) {
    writeVehicles({"Alpha", "Beta", "Gamma"}, {fills(2), fills(3), {}});
    fs::remove(data() + "VIN2.odv");
    CVehicleLogDlg& window = start();
    choose(1);
    EXPECT_EQ(std::pair(window.vehicleName(), rows()), std::pair(std::string("Beta"), 3));
    // A vehicle whose data file is missing shows an empty log, without a message or a new file.
    choose(2);
    EXPECT_EQ(std::pair(window.vehicleName(), rows()), std::pair(std::string("Gamma"), 0));
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join("|").toStdString();
    EXPECT_FALSE(fs::exists(data() + "VIN2.odv"));
    choose(0);
    const CEntryDialogs dialogs(window);
    int opened = 0;
    m_dialogHandler = [&](QDialog&) { return ++opened, std::optional<int>(QDialog::Accepted); };
    const std::string alphaLog = bytesOf(data() + "VIN0.odv");
    fs::remove(registryPath()); // the settings of the next vehicle cannot be read
    choose(1);
    ASSERT_EQ(shownTexts().size(), 1);
    EXPECT_TRUE(shownTexts()[0].contains(QString::fromStdString(registryPath()))) << shownTexts()[0].toStdString();
    EXPECT_EQ(rows(), 0);
    EXPECT_FALSE(window.action(CommandId::AddRepair)->isEnabled());
    window.addEntry(CDVItem::Repair);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(bytesOf(data() + "VIN0.odv"), alphaLog);
}

TEST_F(MainWindowTest, TitleNamesTheVehicleAndADataFileOpensItsVehicle) {
    writeVehicles({"Alpha", "Beta"}, {fills(2), fills(3)});
    fs::copy_file(data() + "VIN1.odv", data() + "Stray.odv");
    CVehicleLogDlg& window = start();
    EXPECT_EQ(window.windowTitle(), "Alpha");
    window.openDataFile(data() + "VIN1.odv");
    EXPECT_EQ(std::tuple(window.vehicleName(), window.windowTitle(), rows()), std::tuple("Beta", "Beta", 3));
    window.openDataFile(data() + "Stray.odv"); // the rules of which file is whose are the core's
    ASSERT_EQ(shownTexts().size(), 1);
    EXPECT_TRUE(shownTexts()[0].startsWith(QString::fromStdString("The file " + data() + "Stray.odv is not")));
    EXPECT_EQ(std::pair(window.vehicleName(), rows()), std::pair(std::string("Beta"), 3));
}

TEST_F(MainWindowTest, DeletingAsksWithNoAsDefaultRewritesTheListWithoutAGapAndNewFillsIt) {
    writeVehicles({"Alpha", "Beta", "Gamma"}, {fills(1), fills(2), fills(3)});
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
    window.action(CommandId::DeleteVehicle)->trigger();
    window.action(CommandId::DeleteVehicle)->trigger();
    EXPECT_EQ(std::tuple(window.vehicleName(), selector()->count(), rows()), std::tuple("", 0, 0));
    EXPECT_FALSE(window.action(CommandId::AddFuel)->isEnabled()) << "no vehicle to add to";
    // File > New fills the empty list again, from every field of its dialog.
    onDialog<CNewVehicleDlg>([&](CNewVehicleDlg& form) {
        const char* typed[][2] = {{"vinEdit", "ab12"},       {"nameEdit", "Bravo"}, {"makeEdit", "Acura"},
                                  {"modelEdit", "Z"},        {"yearEdit", "1990"},  {"plateEdit", "XY 7"},
                                  {"odometerEdit", "1200.5"}};
        for (const auto& [name, text] : typed) {
            form.findChild<QLineEdit*>(QString::fromLatin1(name))->clear();
            QTest::keyClicks(form.findChild<QLineEdit*>(QString::fromLatin1(name)), QString::fromLatin1(text));
        }
        for (const char* radio : {"kilometersRadio", "litresRadio", "litresPer100KmRadio"})
            form.findChild<QRadioButton*>(QString::fromLatin1(radio))->click();
        form.save();
    });
    window.action(CommandId::NewVehicle)->trigger();
    EXPECT_EQ(std::tuple(window.vehicleName(), selectorNames(), rows()), std::tuple("Bravo", QStringList{"Bravo"}, 0));
    EXPECT_TRUE(fs::exists(data() + "AB12.odv"));
    VehicleSettings s;
    ASSERT_TRUE(CVehicleRegistry(config()).loadVehicle("Bravo", s, 0, nullptr));
    EXPECT_EQ(std::tuple(s.make, s.model, s.plate, s.year, s.startOdometer, s.distanceUnit, s.liquid, s.economyUnit),
              std::tuple("Acura", "Z", "XY 7", 1990, 1200.5, 1, 2, 2));
}

TEST_F(MainWindowTest, RestoreBringsBackADeletedVehicleByteForByte) {
    CBackupDlg::resetLastResult();
    CRestoreDlg::resetLastResult();
    writeVehicles({"Alpha", "Beta"}, {fills(2), fills(3)});
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

    // Beta gives its slot to a vehicle made after the backup and loses its data file; the
    // restore brings both back, and as the vehicle shown is not in the restored list the first one opens.
    fs::remove(data() + "VIN1.odv");
    ASSERT_TRUE(CProfileFile(registryPath()).putText("VehicleList", "Vehicle1", "Later"));
    ASSERT_TRUE(CProfileFile(registryPath()).putText("Later", "VIN", "L1"));
    ASSERT_TRUE(profile().putText(ProfileKeys::LastVehicle, "Later"));
    window = &start();
    window->action(CommandId::Restore)->trigger();
    EXPECT_EQ(std::pair(bytesOf(data() + "VIN1.odv"), bytesOf(registryPath())), std::pair(betaLog, registryBytes));
    EXPECT_EQ(selectorNames(), QStringList({"Alpha", "Beta"}));
    EXPECT_EQ(std::pair(window->vehicleName(), rows()), std::pair(std::string("Alpha"), 2));
    EXPECT_TRUE(logged("Full Backup Completed OK"));
}

} // namespace
