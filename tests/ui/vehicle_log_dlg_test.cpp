// Drives the main window headless in a temporary home: start-up, the command table,
// the add/edit/delete flows with scripted entry editors, and what closing writes.

#include "store/activity_log.h"
#include "store/app_folders.h"
#include "store/app_profile.h"
#include "store/file_io.h"
#include "store/profile_file.h"
#include "store/window_placement.h"
#include "ui/main/command_ids.h"
#include "ui/main/splash_dlg.h"
#include "ui/main/vehicle_log_dlg.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/modal_runner.h"
#include "ui/toolkit/shell.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace fs = std::filesystem;

namespace {

class ScriptedEditor : public CEntryEditor {
public:
    std::function<bool(CDVItem&)> script;
    int calls = 0;
    bool edit(CDVItem& item) override {
        ++calls;
        return script(item);
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        m_home = fs::temp_directory_path() / ("odrivo-gui-" + std::to_string(rd()));
        fs::create_directories(m_home);
        for (const auto& [name, sub] : {std::pair{"XDG_CONFIG_HOME", "config"}, std::pair{"XDG_DATA_HOME", "data"},
                                        std::pair{"XDG_STATE_HOME", "state"}})
            setenv(name, (m_home / sub).c_str(), 1);
        CMessageBox::clearShown();
        CMessageBox::setResponder([](const CMessageBox::Shown&) { return QMessageBox::Ok; });
        CModalRunner::setHandler([this](QDialog& dialog) {
            if (auto* splash = qobject_cast<CSplashDlg*>(&dialog)) {
                ++m_splashShown;
                if (m_uncheckSplash)
                    splash->findChild<QCheckBox*>(QStringLiteral("showAtStartupCheck"))->setChecked(false);
            }
            return static_cast<int>(QDialog::Accepted);
        });
        CShell::setHandler([this](const QUrl& url) {
            m_opened.push_back(url);
            return true;
        });
    }

    void TearDown() override {
        m_window.reset();
        m_log.reset();
        m_profile.reset();
        CMessageBox::setResponder(nullptr);
        CModalRunner::setHandler(nullptr);
        CShell::setHandler(nullptr);
        std::error_code ec;
        fs::remove_all(m_home, ec);
    }

    CVehicleLogDlg& start() {
        m_window.reset();
        m_profile = std::make_unique<CAppProfile>(CAppFolders::profilePath());
        m_log = std::make_unique<CActivityLog>(CAppFolders::logPath(), CAppFolders::archivePath());
        m_window = std::make_unique<CVehicleLogDlg>(*m_profile, *m_log);
        m_window->initialize();
        m_window->showPlaced();
        return *m_window;
    }

    std::string profileText(const char* section, const char* key) const {
        return CProfileFile(CAppFolders::profilePath()).getText(section, key, "<absent>");
    }

    QStringList shownTexts() const {
        QStringList texts;
        for (const auto& shown : CMessageBox::shown())
            texts << shown.text;
        return texts;
    }

    fs::path m_home;
    std::unique_ptr<CAppProfile> m_profile;
    std::unique_ptr<CActivityLog> m_log;
    std::unique_ptr<CVehicleLogDlg> m_window;
    int m_splashShown = 0;
    bool m_uncheckSplash = false;
    std::vector<QUrl> m_opened;
};

TEST_F(MainWindowTest, FirstStartInEmptyHomeUsesDefaultsAndCloseWritesProfileAndLog) {
    CVehicleLogDlg& window = start();
    EXPECT_EQ(m_splashShown, 1);
    EXPECT_EQ(window.vehicleName(), "Unknown");
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
    EXPECT_EQ(profileText("Initialize", "LastVehicle"), "Unknown");
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
    ASSERT_EQ(logBytes.size() / CActivityLog::kLineSize, 5u); // header, date, three folders
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
    ASSERT_TRUE(profile.putText(ProfileKeys::State, "0,1,-1,-1,-1,-1,40,60,840,660"));
    ASSERT_TRUE(profile.putNumber(ProfileKeys::SelectedTab, 3));
    CVehicleLogDlg& window = start();
    EXPECT_EQ(window.geometry().size(), QSize(800, 600));
    EXPECT_EQ(window.findChild<QTabWidget*>(QStringLiteral("tabWidget"))->currentIndex(), 3);
    window.close();

    ASSERT_TRUE(CAppProfile(CAppFolders::profilePath()).putText(ProfileKeys::State, "0,1,-1,-1,-1,-1,40,60,840"));
    ASSERT_TRUE(CAppProfile(CAppFolders::profilePath()).putNumber(ProfileKeys::SelectedTab, 7));
    CVehicleLogDlg& again = start();
    EXPECT_NE(again.geometry().size(), QSize(800, 600));
    EXPECT_EQ(again.findChild<QTabWidget*>(QStringLiteral("tabWidget"))->currentIndex(), 0);
}

TEST_F(MainWindowTest, EveryCommandIsPresentAndUnbuiltOnesAreDisabled) {
    using namespace CommandId;
    CVehicleLogDlg& window = start();
    const int all[] = {NewVehicle, DeleteVehicle, Backup,       Restore,          Import,      ImportTool,
                       Export,     ExportTool,    PrintByView,  PrintByViewTool,  PrintSelected, PrintSelectedTool,
                       PrintVehicle, PrintVehicleTool, Exit,   AddTrip,          AddRepair,   AddFuel,
                       Recalculate, RecalculateTool, Setup,    SetupTool,        About,       CheckUpdates,
                       Help,       InstallPpc};
    for (int id : all)
        ASSERT_NE(window.action(id), nullptr) << id;
    for (int id : {NewVehicle, DeleteVehicle, Backup, Restore, Import, Export, PrintByView, PrintSelected,
                   PrintVehicle, Recalculate, Setup})
        EXPECT_FALSE(window.action(id)->isEnabled()) << id;
    for (int id : {Exit, About, CheckUpdates, Help, InstallPpc})
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
    CVehicleLogDlg& window = start();
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
    EXPECT_FALSE(fs::exists(window.dataFolder() + "UnKnown.odv"));

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
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(1, 2)).center());
    EXPECT_EQ(fuel.calls, 5);
    EXPECT_EQ(window.session().doc().at(1).Note, "edited");

    int asked = 0;
    window.setDeleteConfirmer([&] {
        ++asked;
        return asked > 1; // the first request is cancelled
    });
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
