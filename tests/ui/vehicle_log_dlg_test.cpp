// Drives the main window headless in a temporary home: start-up, the command table,
// the add/edit/delete flows with scripted entry editors, and what closing writes.

#include "main_window_fixture.h"

#include "ui/main/export_dlg.h"

#include <QAbstractItemView>

using namespace window_test;

namespace {

TEST_F(MainWindowTest, FirstStartInEmptyHomeUsesDefaultsAndCloseWritesProfileAndLog) {
    CVehicleLogDlg& window = start();
    EXPECT_EQ(m_splashShown, 1);
    EXPECT_EQ(window.vehicleName(), "My Vehicle") << "a new installation opens on its sample vehicle";
    const std::string dataHome = (m_home / "data").string();
    EXPECT_EQ(window.dataFolder(), dataHome + "/Odrivo/Data/");
    EXPECT_EQ(window.backupFolder(), dataHome + "/Odrivo/Backup/");
    EXPECT_EQ(window.configFolder(), dataHome + "/Odrivo/");
    for (const auto& folder : {window.dataFolder(), window.backupFolder(), window.configFolder()})
        EXPECT_TRUE(fs::is_directory(folder)) << folder;

    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("tabWidget"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 5);
    const QStringList titles = {"Economy", "Fuel Cost", "Repair Cost", "Running Cost", "Reminders"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(tabs->tabText(i), titles[i]);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join("|").toStdString();

    window.close();

    EXPECT_EQ(profileText("Initialize", "Path"), dataHome + "/Odrivo/Data/");
    EXPECT_EQ(profileText("Initialize", "Backup"), dataHome + "/Odrivo/Backup/");
    EXPECT_EQ(profileText("Initialize", "Config"), dataHome + "/Odrivo/");
    EXPECT_EQ(profileText("Initialize", "LastVehicle"), "My Vehicle");
    EXPECT_EQ(profileText("Initialize", "LastView"), "0");
    EXPECT_EQ(profileText("Initialize", "AskDelete"), "1");
    EXPECT_EQ(profileText("Initialize", "Splash"), "1");
    EXPECT_EQ(profileText("ListAttributes", "Tab"), "0");
    EXPECT_EQ(profileText("Graphs", "Animate"), "0");
    const auto placement = WindowPlacement::parse(profileText("Initialize", "State"));
    ASSERT_TRUE(placement.has_value()) << profileText("Initialize", "State");
    EXPECT_GT(placement->right, placement->left);
    EXPECT_GT(placement->bottom, placement->top);

    CProfileFile registry(window.configFolder() + "Drivana.ini");
    EXPECT_GT(registry.getReal("Config", "FromDate", -1), 1.0e9);
    EXPECT_GT(registry.getReal("Config", "ToDate", -1), 1.0e9);

    std::string logBytes;
    ASSERT_EQ(odrivo::readWholeFile(CAppFolders::logPath(), logBytes), odrivo::ReadStatus::Ok);
    ASSERT_EQ(logBytes.size() % CActivityLog::kLineSize, 0u);
    // header, date, three folders, then the four lines of the vehicle's selection
    ASSERT_EQ(logBytes.size() / CActivityLog::kLineSize, 9u);
    EXPECT_EQ(logBytes.substr(0, CActivityLog::kLineSize), CActivityLog::headerLine());
    auto description = [&](int line) {
        const std::string field = logBytes.substr(line * CActivityLog::kLineSize + 58, 200);
        return field.substr(0, field.find('\0'));
    };
    auto procedure = [&](int line) {
        const std::string field = logBytes.substr(line * CActivityLog::kLineSize + 38, 20);
        return field.substr(0, field.find('\0'));
    };
    EXPECT_EQ(description(1).rfind("Date: Day=", 0), 0u) << description(1);
    EXPECT_EQ(procedure(1), "Initialization");
    EXPECT_EQ(description(2), "DataPath = " + dataHome + "/Odrivo/Data/");
    EXPECT_EQ(description(3), "BackupPath = " + dataHome + "/Odrivo/Backup/");
    EXPECT_EQ(description(4), "ConfigPath = " + dataHome + "/Odrivo/");
    EXPECT_EQ(description(5), "Vehicle Selection");
    EXPECT_EQ(description(7), "VIN: " + window.vehicleSettings().vin);
}

TEST_F(MainWindowTest, FirstStartShowsTheSampleLogWithItsEconomyWorkedOut) {
    CVehicleLogDlg& window = start();
    auto* list = window.findChild<QTableView*>(QStringLiteral("entryList"));
    ASSERT_NE(list, nullptr);
    ASSERT_GT(list->model()->rowCount(), 5);
    EXPECT_FALSE(window.vehicleSettings().vin.empty());
    int withEconomy = 0;
    for (const auto& entry : window.session().doc().entries())
        withEconomy += entry->EntryType == CDVItem::Fuel && entry->Economy > 0 ? 1 : 0;
    EXPECT_GT(withEconomy, 3);
    // The status bar's economy panes are filled from the first refresh on.
    for (const char* pane : {"currentEconomyPane", "averageEconomyPane"})
        EXPECT_GT(window.findChild<QLabel*>(QString::fromLatin1(pane))->text().toDouble(), 20.0) << pane;
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join("|").toStdString();
    const std::size_t entries = window.session().doc().size();
    window.close();

    // A second start installs nothing more and opens the same vehicle.
    const auto registryBytes = [] {
        std::string bytes;
        odrivo::readWholeFile(CAppFolders::defaultConfigFolder() + "Drivana.ini", bytes);
        return bytes;
    };
    const std::string before = registryBytes();
    CVehicleLogDlg& again = start();
    EXPECT_EQ(again.vehicleName(), "My Vehicle");
    EXPECT_EQ(again.session().doc().size(), entries);
    again.close();
    std::string after = registryBytes();
    EXPECT_EQ(before.substr(0, before.find("[Config]")), after.substr(0, after.find("[Config]")));
}

TEST_F(MainWindowTest, SplashBoxStateIsKeptForTheNextStart) {
    m_uncheckSplash = true;
    start().close();
    EXPECT_EQ(m_splashShown, 1);
    EXPECT_EQ(profileText("Initialize", "Splash"), "0");
    start().close();
    EXPECT_EQ(m_splashShown, 1) << "the splash must not show once switched off";
}

TEST_F(MainWindowTest, PlacementIsRestoredOnlyFromTenNumbers) {
    CAppProfile profile(CAppFolders::profilePath());
    ASSERT_TRUE(profile.putText(ProfileKeys::State, "0,1,-1,-1,-1,-1,40,60,1140,760"));
    ASSERT_TRUE(profile.putNumber(ProfileKeys::SelectedTab, 3));
    CVehicleLogDlg& window = start();
    EXPECT_EQ(window.geometry().size(), QSize(1100, 700));
    EXPECT_EQ(window.findChild<QTabWidget*>(QStringLiteral("tabWidget"))->currentIndex(), 3);
    window.close();

    ASSERT_TRUE(CAppProfile(CAppFolders::profilePath()).putText(ProfileKeys::State, "0,1,-1,-1,-1,-1,40,60,1140"));
    ASSERT_TRUE(CAppProfile(CAppFolders::profilePath()).putNumber(ProfileKeys::SelectedTab, 7));
    CVehicleLogDlg& again = start();
    EXPECT_NE(again.geometry().size(), QSize(1100, 700));
    EXPECT_EQ(again.findChild<QTabWidget*>(QStringLiteral("tabWidget"))->currentIndex(), 0);
}

TEST_F(MainWindowTest, EveryCommandIsPresentAndUnbuiltOnesAreDisabled) {
    using namespace CommandId;
    CVehicleLogDlg& window = start();
    const int all[] = {NewVehicle,
                       DeleteVehicle,
                       Backup,
                       Restore,
                       Import,
                       ImportTool,
                       Export,
                       ExportTool,
                       PrintByView,
                       PrintByViewTool,
                       PrintSelected,
                       PrintSelectedTool,
                       PrintVehicle,
                       PrintVehicleTool,
                       Exit,
                       AddTrip,
                       AddRepair,
                       AddFuel,
                       Recalculate,
                       RecalculateTool,
                       CommandId::Setup,
                       SetupTool,
                       About,
                       CheckUpdates,
                       Help,
                       InstallPpc};
    for (int id : all)
        ASSERT_NE(window.action(id), nullptr) << id;
    for (int id : {Import, PrintByView, PrintSelected, PrintVehicle, CommandId::Setup})
        EXPECT_FALSE(window.action(id)->isEnabled()) << id;
    for (int id :
         {NewVehicle, DeleteVehicle, Backup, Restore, Export, Exit, About, CheckUpdates, Help, InstallPpc, Recalculate})
        EXPECT_TRUE(window.action(id)->isEnabled()) << id;
    // No entry dialog is attached yet, so adding is not offered.
    for (int id : {AddFuel, AddRepair, AddTrip})
        EXPECT_FALSE(window.action(id)->isEnabled()) << id;
    ScriptedEditor editor;
    window.setEntryEditor(CDVItem::Fuel, &editor);
    EXPECT_TRUE(window.action(AddFuel)->isEnabled());
}

TEST_F(MainWindowTest, ToolbarHoldsThirteenPositionsWithTheirTexts) {
    CVehicleLogDlg& window = start();
    auto* bar = window.findChild<QToolBar*>(QStringLiteral("mainToolBar"));
    ASSERT_NE(bar, nullptr);
    const QList<QAction*> actions = bar->actions();
    ASSERT_EQ(actions.size(), 13);
    struct Expected {
        const char* prompt;
        const char* tip;
    };
    const Expected expected[] = {{"Add a Trip", "Add a Trip"},
                                 {"Add a Repair or Maintenance Item", "Add Repairs"},
                                 {"Add Fuel", "Add Fuel"},
                                 {nullptr, nullptr},
                                 {"Import CSV Data", "Import"},
                                 {"Export", "Export CSV Data"},
                                 {"Print Vehicle Info", "Print Info"},
                                 {"Exports", "Export Data"},
                                 {"Print Selected Item", "Print Selected"},
                                 {nullptr, nullptr},
                                 {"Recalculate the economy readings", "Recalculate Economy"},
                                 {"Edit Settings", "Edit the Vehicle or Setup Options"},
                                 {"About Odrivo", "About Odrivo"}};
    for (int i = 0; i < 13; ++i) {
        if (!expected[i].prompt) {
            EXPECT_TRUE(actions[i]->isSeparator()) << i;
            continue;
        }
        EXPECT_EQ(actions[i]->statusTip(), QString::fromLatin1(expected[i].prompt)) << i;
        EXPECT_EQ(actions[i]->toolTip(), QString::fromLatin1(expected[i].tip)) << i;
    }
}

TEST_F(MainWindowTest, AddEditAndDeleteGoThroughTheEditorAndTheFile) {
    writeRegistry("Test Car", "");
    CVehicleLogDlg& window = start();
    ASSERT_EQ(window.vehicleName(), "Test Car");
    ScriptedEditor fuel;
    window.setEntryEditor(CDVItem::Fuel, &fuel);
    auto* list = window.findChild<QTableView*>(QStringLiteral("entryList"));
    ASSERT_NE(list, nullptr);

    double odometer = 0;
    fuel.script = [&](CDVItem& item) {
        EXPECT_EQ(window.session().entryInEdit(CDVItem::Fuel), &item);
        item.Odometer = odometer;
        item.Quantity = 40;
        return true;
    };
    odometer = 0; // confirmed without an odometer: nothing is stored
    window.action(CommandId::AddFuel)->trigger();
    EXPECT_EQ(list->model()->rowCount(), 0);
    CVehicleLogDoc stored;
    EXPECT_TRUE(stored.load(window.dataFolder() + "UnKnown.odv").ok());
    EXPECT_EQ(stored.size(), 0u);

    for (double value : {1500.0, 1000.0, 2000.0}) {
        odometer = value;
        window.action(CommandId::AddFuel)->trigger();
    }
    ASSERT_EQ(list->model()->rowCount(), 3);
    EXPECT_EQ(list->model()->index(0, 2).data().toString().trimmed(), "1000");
    EXPECT_EQ(list->model()->index(2, 2).data().toString().trimmed(), "2000");
    EXPECT_TRUE(fs::exists(window.dataFolder() + "UnKnown.odv")) << "an empty VIN saves under UnKnown";

    fuel.script = [](CDVItem& item) {
        item.Note = "edited";
        return true;
    };
    const QRect cell = list->visualRect(list->model()->index(1, 2));
    // The view opens an entry when the second click lands on the row the first one pressed.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(fuel.calls, 5);
    EXPECT_EQ(window.session().doc().at(1).Note, "edited");

    int asked = 0;
    m_dialogHandler = [&](QDialog& dialog) -> std::optional<int> {
        auto* confirm = qobject_cast<CDeleteConfirmDlg*>(&dialog);
        if (!confirm)
            return std::nullopt;
        ++asked;
        // The first request is answered NO, the second YES.
        QTest::mouseClick(confirm->findChild<QPushButton*>(asked > 1 ? "yesButton" : "noButton"), Qt::LeftButton);
        return confirm->result();
    };
    list->selectRow(2);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(list->model()->rowCount(), 3);
    QTest::keyClick(list, Qt::Key_Delete);
    ASSERT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(list->selectionModel()->selectedRows().value(0).row(), 1) << "the new last row is selected";

    CVehicleLogDoc reread;
    ASSERT_TRUE(reread.load(window.dataFolder() + "UnKnown.odv").ok());
    ASSERT_EQ(reread.size(), 2u);
    EXPECT_EQ(reread.at(0).Odometer, 1000.0);
    EXPECT_EQ(reread.at(1).Note, "edited");
    EXPECT_EQ(window.session().entryInEdit(CDVItem::Fuel), nullptr);
}

TEST_F(MainWindowTest, EnterKeyDoesNotCloseTheWindow) {
    CVehicleLogDlg& window = start();
    QTest::keyClick(&window, Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Enter);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(MainWindowTest, HelpCommandsOpenTheirPages) {
    CVehicleLogDlg& window = start();
    window.action(CommandId::CheckUpdates)->trigger();
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(m_opened[0], QUrl(QString::fromLatin1(CVehicleLogDlg::kUpdatePage)));
    window.action(CommandId::Help)->trigger();
    ASSERT_EQ(m_opened.size(), 2u);
    EXPECT_TRUE(m_opened[1].isLocalFile());
    EXPECT_TRUE(m_opened[1].toLocalFile().endsWith("index.html"));
}

TEST_F(MainWindowTest, PocketPcInstallClearsStagingFilesAndStartsTheInstaller) {
    CVehicleLogDlg& window = start();
    const std::string program = CAppFolders::defaultConfigFolder();
    fs::create_directories(program + "PPC");
    for (const char* name : {"Odrivo.INI", "Odrivo.ppc30_arm.CAB"})
        ASSERT_TRUE(odrivo::writeFileAtomically(program + "PPC/" + name, "x"));

    window.action(CommandId::InstallPpc)->trigger();
    EXPECT_FALSE(fs::exists(program + "PPC")) << "staging files and folder are removed";
    EXPECT_TRUE(m_opened.empty());
    ASSERT_EQ(CMessageBox::shown().size(), 1u) << "a missing installer is reported";
    EXPECT_TRUE(CMessageBox::shown()[0].text.contains("Setup.exe"));

    ASSERT_TRUE(odrivo::writeFileAtomically(program + "Setup.exe", "MZ"));
    window.action(CommandId::InstallPpc)->trigger();
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(m_opened[0].toLocalFile().toStdString(), program + "Setup.exe");
}

TEST_F(MainWindowTest, ClosingReportsEachProfileValueThatCannotBeWritten) {
    CVehicleLogDlg& window = start();
    // A folder where the profile file should be: every write to it fails.
    fs::remove(CAppFolders::profilePath());
    fs::create_directories(CAppFolders::profilePath());
    CMessageBox::clearShown();
    window.close();
    const QStringList texts = shownTexts();
    const QStringList expected = {"Path failed to set", "Backup Path failed to set", "Config Path failed to set",
                                  "Last Vehicle failed to set", "Last Tab failed to set"};
    for (const QString& text : expected)
        EXPECT_TRUE(texts.contains(text)) << text.toStdString();
    EXPECT_LT(texts.indexOf("Path failed to set"), texts.indexOf("Last Tab failed to set"));
    EXPECT_TRUE(texts.last().contains(QString::fromStdString(CAppFolders::profilePath())));
}

} // namespace

namespace {

TEST_F(MainWindowTest, RecalculateShowsEconomyInTheVehiclesUnit) {
    writeRegistry("Van", "VAN1");
    CProfileFile registry(CAppFolders::defaultConfigFolder() + "Drivana.ini");
    ASSERT_TRUE(registry.putText("Van", "Econo", "L/100km"));
    fs::create_directories(CAppFolders::defaultDataFolder());
    CVehicleLogDoc doc;
    for (double odometer : {1000.0, 1300.0}) {
        auto item = std::make_unique<CDVItem>();
        item->Odometer = odometer;
        item->Measure = "Gallons";
        item->Quantity = 10;
        item->UnitPrice = 3.5;
        item->Entry = "Fuel";
        doc.insert(std::move(item));
    }
    ASSERT_TRUE(doc.save(CAppFolders::defaultDataFolder() + "VAN1.odv").saved);

    CVehicleLogDlg& window = start();
    auto* list = window.findChild<QTableView*>(QStringLiteral("entryList"));
    ASSERT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(list->model()->index(1, 7).data().toString(), "0.00 MPG") << "not computed before Recalculate";
    window.action(CommandId::Recalculate)->trigger();
    // 37.8541 litres over 482.8032 km
    EXPECT_EQ(list->model()->index(1, 7).data().toString(), "7.84 L/100km");
    EXPECT_EQ(list->model()->index(0, 7).data().toString(), "0.00 L/100km");

    CVehicleLogDoc reread;
    ASSERT_TRUE(reread.load(CAppFolders::defaultDataFolder() + "VAN1.odv").ok());
    EXPECT_NEAR(reread.at(1).Economy, 37.8541 / 4.828032, 1e-9);
    EXPECT_EQ(reread.at(1).Cost, 35.0);
}

} // namespace

namespace {

// A vehicle with one entry of each type, dated relative to now so the date ranges select them.
class FilteredWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        writeRegistry("Van", "VAN1");
        fs::create_directories(CAppFolders::defaultDataFolder());
        const DVTime now = std::time(nullptr);
        CVehicleLogDoc doc;
        auto add = [&doc](std::int32_t type, double odometer, DVTime date, const char* entry, const char* note) {
            auto item = std::make_unique<CDVItem>();
            item->EntryType = type;
            item->Icon = type == CDVItem::Trip ? 19 : type;
            item->Odometer = odometer;
            item->Date = date;
            item->Entry = entry;
            item->Note = note;
            item->Measure = type == CDVItem::Fuel ? "Litres" : "";
            doc.insert(std::move(item));
        };
        add(CDVItem::Fuel, 1000, now - 400 * 86400, "Fuel", "old fill");
        add(CDVItem::Repair, 1100, now - 3600, "Brake pads", "front axle");
        add(CDVItem::Trip, 1200, now - 7200, "Trip", "to the coast");
        add(CDVItem::Fuel, 1300, now - 60, "Fuel", "recent fill");
        ASSERT_TRUE(doc.save(CAppFolders::defaultDataFolder() + "VAN1.odv").saved);
    }

    QStringList odometers(QTableView* list) const {
        QStringList shown;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            shown << list->model()->index(row, 2).data().toString().trimmed();
        return shown;
    }
};

TEST_F(FilteredWindowTest, RadiosRangeAndSearchPickTheRows) {
    CVehicleLogDlg& window = start();
    auto* list = window.findChild<QTableView*>(QStringLiteral("entryList"));
    auto* range = window.findChild<QComboBox*>(QStringLiteral("dateRangeCombo"));
    auto* searchBox = window.findChild<QComboBox*>(QStringLiteral("searchCombo"));
    auto click = [&](const char* name) {
        QTest::mouseClick(window.findChild<QAbstractButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    };
    EXPECT_EQ(odometers(list), QStringList({"1000", "1300"})) << "the last view is Fuel";

    click("repairsRadio");
    EXPECT_EQ(odometers(list), QStringList({"1100"}));
    click("tripsRadio");
    EXPECT_EQ(odometers(list), QStringList({"1200"}));

    click("anyRadio");
    EXPECT_EQ(odometers(list), QStringList({"1000", "1100", "1200", "1300"}));
    range->setCurrentIndex(range->findText("This Week"));
    emit range->activated(range->currentIndex());
    EXPECT_EQ(odometers(list), QStringList({"1100", "1200", "1300"}));
    EXPECT_FALSE(window.findChild<QWidget*>(QStringLiteral("fromDateEdit"))->isEnabled());
    range->setCurrentIndex(range->findText("Select Dates"));
    emit range->activated(range->currentIndex());
    EXPECT_TRUE(window.findChild<QWidget*>(QStringLiteral("fromDateEdit"))->isEnabled());

    searchBox->setCurrentText("COAST");
    click("searchButton");
    EXPECT_EQ(odometers(list), QStringList({"1200"}));
    EXPECT_EQ(searchBox->findText("COAST"), 0) << "a search that finds something joins the history";
    searchBox->setCurrentText("nothing like this");
    click("searchButton");
    EXPECT_TRUE(odometers(list).isEmpty());
    EXPECT_EQ(searchBox->count(), 1) << "a search that finds nothing is not kept";

    click("anyRadio"); // also resets the range and the search text
    EXPECT_EQ(range->currentText(), "View Filter Off");
    EXPECT_EQ(searchBox->currentText(), "None");
    EXPECT_EQ(odometers(list).size(), 4);
    window.close();
    EXPECT_EQ(profileText("SearchList", "Search0"), "COAST");
    EXPECT_EQ(profileText("Initialize", "LastView"), "3");

    // The history comes back at the next start; "CLEAR ALL" empties it.
    CVehicleLogDlg& again = start();
    auto* history = again.findChild<QComboBox*>(QStringLiteral("searchCombo"));
    ASSERT_EQ(history->count(), 1);
    history->setCurrentText("CLEAR ALL");
    QTest::mouseClick(again.findChild<QAbstractButton*>(QStringLiteral("searchButton")), Qt::LeftButton);
    EXPECT_EQ(history->count(), 0);
}

TEST_F(FilteredWindowTest, ExportWritesTheRowsShownInTheViewsLayout) {
    CVehicleLogDlg& window = start();
    ASSERT_EQ(window.viewMode(), 0);
    const std::string target = (m_home / "out" / "van").string();
    fs::create_directories(m_home / "out");
    bool abort = true;
    m_dialogHandler = [&](QDialog& dialog) -> std::optional<int> {
        auto* exporter = qobject_cast<CExportDlg*>(&dialog);
        if (!exporter)
            return std::nullopt;
        if (abort) {
            exporter->reject();
        } else {
            exporter->findChild<QLineEdit*>(QStringLiteral("fileEdit"))->setText(QString::fromStdString(target));
            exporter->exportPressed();
        }
        return exporter->result();
    };
    window.action(CommandId::Export)->trigger();
    EXPECT_FALSE(fs::exists(target + ".csv"));
    EXPECT_TRUE(shownTexts().isEmpty());

    abort = false;
    window.action(CommandId::Export)->trigger();
    std::string bytes;
    ASSERT_EQ(odrivo::readWholeFile(target + ".csv", bytes), odrivo::ReadStatus::Ok);
    const std::string header = "\xEF\xBB\xBF\"Date\",\"Odometer\",\"Entry\",\"Station\",\"Fuel Qty\",\"Measure\","
                               "\"Fuel Price\",\"Invoice\",\"Economy\",\"Cell Temp.\",\"Note\"\r\n";
    EXPECT_EQ(bytes.substr(0, header.size()), header);
    // The two fuel rows the Fuel view shows, oldest first.
    const auto first = bytes.find("\"   1000\",\"Fuel\"");
    const auto second = bytes.find("\"   1300\",\"Fuel\"");
    EXPECT_NE(first, std::string::npos);
    EXPECT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 3);
    ASSERT_EQ(CMessageBox::shown().size(), 1u);
    EXPECT_EQ(CMessageBox::shown()[0].title, "CSV Export");
    EXPECT_EQ(CMessageBox::shown()[0].text, QString::fromStdString("Export to " + target + ".csv Complete."));
    const auto log = logDescriptions();
    for (const char* line : {"Export Cancelled", "Export Completed"})
        EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
}

TEST_F(FilteredWindowTest, StatusBarAndPagesShowTheRefreshFigures) {
    CVehicleLogDlg& window = start();
    EXPECT_EQ(window.lastRefresh().totals.entryCount, 4);
    EXPECT_EQ(window.lastRefresh().totals.latestOdometer, 1300.0);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("odometerLabel"))->text(), "1300");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.findChild<QWidget*>(QStringLiteral("performanceGroup"))->repaint();
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("performanceText"))->text(),
              "Not enough data to calculate performance");
    EXPECT_FALSE(window.findChild<QWidget*>(QStringLiteral("stoplightButton"))->isEnabled());
}

} // namespace

namespace {

TEST_F(FilteredWindowTest, ToolsFuelRunsTheFuelDialogAndTheEntryReachesListAndFile) {
    CVehicleLogDlg& window = start();
    const CEntryDialogs dialogs(window);
    ASSERT_TRUE(window.action(CommandId::AddFuel)->isEnabled());
    int shown = 0;
    m_dialogHandler = [&](QDialog& dialog) -> std::optional<int> {
        auto* fuel = qobject_cast<CFuelDlg*>(&dialog);
        if (!fuel)
            return std::nullopt;
        ++shown;
        auto* odometer = fuel->findChild<QLineEdit*>(QStringLiteral("odometerEdit"));
        EXPECT_EQ(odometer->text(), "1300") << "a new fill starts at the current odometer";
        odometer->selectAll();
        QTest::keyClicks(odometer, "1600");
        auto* quantity = fuel->findChild<QLineEdit*>(QStringLiteral("quantityEdit"));
        quantity->selectAll();
        QTest::keyClicks(quantity, "40");
        auto* price = fuel->findChild<QLineEdit*>(QStringLiteral("priceEdit"));
        price->selectAll();
        QTest::keyClicks(price, "1.5");
        QTest::mouseClick(fuel->findChild<QPushButton*>(QStringLiteral("saveButton")), Qt::LeftButton);
        return fuel->result();
    };
    window.action(CommandId::AddFuel)->trigger();
    EXPECT_EQ(shown, 1);
    ASSERT_EQ(window.session().doc().size(), 5u);
    const CDVItem& added = window.session().doc().at(4);
    EXPECT_EQ(added.Odometer, 1600.0);
    EXPECT_EQ(added.Quantity, 40.0);
    EXPECT_EQ(added.Cost, 60.0);
    EXPECT_EQ(added.FuelDistance, 300) << "distance since the fill at 1300";
    EXPECT_EQ(window.lastRefresh().totals.latestOdometer, 1600.0);

    CVehicleLogDoc reread;
    ASSERT_TRUE(reread.load(CAppFolders::defaultDataFolder() + "VAN1.odv").ok());
    ASSERT_EQ(reread.size(), 5u);
    EXPECT_EQ(reread.at(4).UnitPrice, 1.5);
}

} // namespace
