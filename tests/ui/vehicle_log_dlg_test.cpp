// Drives the main window headless in a temporary home: start-up and closing, the command
// table, the add/edit/delete flows with scripted editors, Recalculate, the filters' wiring,
// Export, and the layout the window remembers.

#include "main_window_fixture.h"

#include "calc/locale_info.h"
#include "ui/main/export_dlg.h"
#include "ui/toolkit/tool_tip.h"

#include <QDateTimeEdit>
#include <QHeaderView>
#include <QSplitter>
#include <QStatusBar>

using namespace window_test;

namespace {

TEST_F(MainWindowTest, FirstStartUsesDefaultsAndCloseWritesProfileRegistryAndLog) {
    CVehicleLogDlg& window = start();
    EXPECT_EQ(m_splashShown, 1);
    EXPECT_EQ(window.vehicleName(), "My Vehicle") << "a new installation opens on its sample vehicle";
    const std::string home = (m_home / "data").string() + "/Odrivo/";
    EXPECT_TRUE(fs::is_directory(window.backupFolder()));
    // The sample log's economy is worked out, and the status bar shows it from the first refresh.
    EXPECT_GT(entryList()->model()->rowCount(), 5);
    for (const char* pane : {"currentEconomyPane", "averageEconomyPane"})
        EXPECT_GT(child<QLabel>(pane)->text().toDouble(), 20.0) << pane;
    EXPECT_TRUE(shownTexts().isEmpty()) << shownTexts().join("|").toStdString();
    // The list gets about three fifths of the height the splitter shares out.
    const QList<int> split = child<QSplitter>("splitter")->sizes();
    EXPECT_NEAR(split[1] * 1.0 / (split[0] + split[1]), 0.6, 0.05);
    const std::size_t entries = window.session().doc().size();
    window.close();

    const std::pair<const char*, std::string> written[] = {
        {"Path", home + "Data/"}, {"Backup", home + "Backup/"}, {"Config", home}, {"LastVehicle", "My Vehicle"},
        {"LastView", "0"},        {"AskDelete", "1"},           {"Splash", "1"}};
    for (const auto& [key, value] : written)
        EXPECT_EQ(profileText("Initialize", key), value) << key;
    EXPECT_EQ(profileText("ListAttributes", "TabHeight"), std::to_string(split[0]));
    EXPECT_TRUE(WindowPlacement::parse(profileText("Initialize", "State")).has_value());
    EXPECT_GT(CProfileFile(home + "Drivana.ini").getReal("Config", "ToDate", -1), 1.0e9);
    const std::vector<std::string> log = logDescriptions();
    ASSERT_EQ(log.size(), 9u); // header, date, three folders, four lines of the vehicle's selection
    EXPECT_EQ(log[2], "DataPath = " + home + "Data/");

    // A second start installs nothing more and opens the same vehicle.
    CVehicleLogDlg& again = start();
    EXPECT_EQ(again.vehicleName(), "My Vehicle");
    EXPECT_EQ(again.session().doc().size(), entries);
}

TEST_F(MainWindowTest, SplashPlacementTabAndSplitComeBackOnlyWhenValid) {
    m_uncheckSplash = true;
    start().close();
    EXPECT_EQ(profileText("Initialize", "Splash"), "0");
    CAppProfile profile(CAppFolders::profilePath());
    ASSERT_TRUE(profile.putText(ProfileKeys::State, "0,1,-1,-1,-1,-1,40,60,1140,760"));
    ASSERT_TRUE(profile.putNumber(ProfileKeys::SelectedTab, 3));
    ASSERT_TRUE(CProfileFile(CAppFolders::profilePath()).putText("ListAttributes", "TabHeight", "250"));
    CVehicleLogDlg& window = start();
    EXPECT_EQ(m_splashShown, 1) << "the splash must not show once switched off";
    EXPECT_EQ(window.geometry().size(), QSize(1100, 700));
    EXPECT_EQ(child<QTabWidget>("tabWidget")->currentIndex(), 3);
    EXPECT_EQ(child<QSplitter>("splitter")->sizes().value(0), 250);
    window.close();

    ASSERT_TRUE(CAppProfile(CAppFolders::profilePath()).putText(ProfileKeys::State, "0,1,-1,-1,-1,-1,40,60,1140"));
    ASSERT_TRUE(CAppProfile(CAppFolders::profilePath()).putNumber(ProfileKeys::SelectedTab, 7));
    CVehicleLogDlg& again = start();
    EXPECT_NE(again.geometry().size(), QSize(1100, 700));
    EXPECT_EQ(child<QTabWidget>("tabWidget")->currentIndex(), 0);
}

TEST_F(MainWindowTest, CommandsToolbarAndTheKeysThatDoNothing) {
    using namespace CommandId;
    CVehicleLogDlg& window = start();
    for (int id : {Import, PrintByView, PrintSelected, PrintVehicle, CommandId::Setup})
        EXPECT_FALSE(window.action(id)->isEnabled()) << id;
    for (int id : {NewVehicle, DeleteVehicle, Backup, Restore, Export, ExportTool, Exit, About, CheckUpdates, Help,
                   InstallPpc, Recalculate, RecalculateTool})
        EXPECT_TRUE(window.action(id)->isEnabled()) << id;
    // No entry dialog is attached yet, so adding is not offered.
    EXPECT_FALSE(window.action(AddFuel)->isEnabled());
    ScriptedEditor editor;
    window.setEntryEditor(CDVItem::Fuel, &editor);
    EXPECT_TRUE(window.action(AddFuel)->isEnabled());

    QTest::keyClick(&window, Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Enter);
    EXPECT_TRUE(window.isVisible());
}

TEST(ToolTip, LongTipsBreakAtBlanksIntoLinesOfSixtyCharacters) {
    const QString words = QStringLiteral("Performance is measured against the average of the last fill-ups and "
                                         "a warning shows when it drops");
    const QStringList lines = CToolTip::wrap(words).split('\n');
    EXPECT_EQ(lines.size(), 2);
    for (const QString& line : lines)
        EXPECT_LE(line.size(), CToolTip::kLineLength) << line.toStdString();
    EXPECT_EQ(lines.join(' '), words);
    for (const QString& kept : {QStringLiteral("Short  tip"), QStringLiteral("Line one\nline two"), QString(70, 'x')})
        EXPECT_EQ(CToolTip::wrap(kept), kept);
}

TEST_F(MainWindowTest, AddEditAndDeleteGoThroughTheEditorAndTheFile) {
    writeRegistry("Test Car", "");
    CVehicleLogDlg& window = start();
    ScriptedEditor fuel;
    window.setEntryEditor(CDVItem::Fuel, &fuel);
    QTableView* list = entryList();
    double odometer = 0; // confirmed without an odometer: nothing is stored
    fuel.script = [&](CDVItem& item) {
        EXPECT_EQ(window.session().entryInEdit(CDVItem::Fuel), &item);
        item.Odometer = odometer;
        item.Quantity = 40;
        return true;
    };
    window.action(CommandId::AddFuel)->trigger();
    EXPECT_EQ(list->model()->rowCount(), 0);
    for (double value : {1500.0, 1000.0, 2000.0}) {
        odometer = value;
        window.action(CommandId::AddFuel)->trigger();
    }
    EXPECT_EQ(column(2), QStringList({"1000", "1500", "2000"}));
    EXPECT_TRUE(fs::exists(window.dataFolder() + "UnKnown.odv")) << "an empty VIN saves under UnKnown";

    fuel.script = [](CDVItem& item) {
        item.Note = "edited";
        return true;
    };
    const QRect cell = list->visualRect(list->model()->index(1, 2));
    // The view opens an entry when the second click lands on the row the first one pressed.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(window.session().doc().at(1).Note, "edited");

    int asked = 0;
    m_dialogHandler = [&](QDialog& dialog) -> std::optional<int> {
        auto* confirm = qobject_cast<CDeleteConfirmDlg*>(&dialog);
        if (!confirm)
            return std::nullopt;
        ++asked;
        auto* no = confirm->findChild<QPushButton*>(QStringLiteral("noButton"));
        confirm->show();
        EXPECT_TRUE(no->isDefault());
        EXPECT_EQ(confirm->focusWidget(), no) << "deleting cannot be undone: No has the focus";
        // The first request is answered NO, the second YES.
        QTest::mouseClick(asked > 1 ? confirm->findChild<QPushButton*>(QStringLiteral("yesButton")) : no,
                          Qt::LeftButton);
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
    EXPECT_EQ(reread.at(1).Note, "edited");
}

TEST_F(MainWindowTest, HelpAndPocketPcCommandsOpenTheirTargets) {
    CVehicleLogDlg& window = start();
    window.action(CommandId::Help)->trigger();
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_TRUE(m_opened[0].toLocalFile().endsWith("index.html"));

    const std::string program = CAppFolders::defaultConfigFolder();
    fs::create_directories(program + "PPC");
    ASSERT_TRUE(odrivo::writeFileAtomically(program + "PPC/Odrivo.INI", "x"));
    window.action(CommandId::InstallPpc)->trigger();
    EXPECT_FALSE(fs::exists(program + "PPC")) << "staging files and folder are removed";
    ASSERT_EQ(shownTexts().size(), 1) << "a missing installer is reported";
    EXPECT_TRUE(shownTexts()[0].contains("Setup.exe"));
    ASSERT_TRUE(odrivo::writeFileAtomically(program + "Setup.exe", "MZ"));
    window.action(CommandId::InstallPpc)->trigger();
    EXPECT_EQ(m_opened.back().toLocalFile().toStdString(), program + "Setup.exe");
}

TEST_F(MainWindowTest, ClosingReportsEachProfileValueThatCannotBeWritten) {
    CVehicleLogDlg& window = start();
    // A folder where the profile file should be: every write to it fails.
    fs::remove(CAppFolders::profilePath());
    fs::create_directories(CAppFolders::profilePath());
    CMessageBox::clearShown();
    window.close();
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
        writeRegistry("Van", "VAN1");
        fs::create_directories(CAppFolders::defaultDataFolder());
        const DVTime now = std::time(nullptr);
        CVehicleLogDoc doc;
        auto add = [&doc](std::int32_t type, double odometer, DVTime date, const char* note) {
            auto item = std::make_unique<CDVItem>();
            item->EntryType = type;
            item->Icon = type == CDVItem::Trip ? 19 : type;
            std::tie(item->Odometer, item->Date, item->Note) = std::tuple(odometer, date, note);
            item->Entry = CDVItem::typeLabel(type);
            item->Measure = type == CDVItem::Fuel ? "Gallons" : "";
            item->Quantity = type == CDVItem::Fuel ? 10 : 0;
            doc.insert(std::move(item));
        };
        add(CDVItem::Fuel, 1000, now - 400 * 86400, "old fill");
        add(CDVItem::Repair, 1100, now - 3600, "front axle");
        add(CDVItem::Trip, 1200, now - 7200, "to the coast");
        add(CDVItem::Fuel, 1300, now - 60, "recent fill");
        ASSERT_TRUE(doc.save(CAppFolders::defaultDataFolder() + "VAN1.odv").saved);
    }
};

TEST_F(FilteredWindowTest, RadiosRangeAndSearchAreWiredToTheRows) {
    CVehicleLogDlg& window = start();
    auto* range = child<QComboBox>("dateRangeCombo");
    auto* searchBox = child<QComboBox>("searchCombo");
    EXPECT_EQ(column(2), QStringList({"1000", "1300"})) << "the last view is Fuel";
    clickButton("tripsRadio");
    EXPECT_EQ(column(2), QStringList({"1200"}));
    clickButton("anyRadio");
    range->setCurrentIndex(range->findText("This Week"));
    emit range->activated(range->currentIndex());
    EXPECT_EQ(column(2), QStringList({"1100", "1200", "1300"}));
    searchBox->setCurrentText("COAST");
    clickButton("searchButton");
    EXPECT_EQ(column(2), QStringList({"1200"}));
    searchBox->setCurrentText("nothing like this");
    clickButton("searchButton");
    EXPECT_TRUE(column(2).isEmpty());
    EXPECT_EQ(searchBox->count(), 1) << "only a search that finds something joins the history";
    clickButton("anyRadio"); // also resets the range and the search text
    EXPECT_EQ(range->currentText(), "View Filter Off");
    EXPECT_EQ(searchBox->currentText(), "None");
    window.close();
    EXPECT_EQ(profileText("SearchList", "Search0"), "COAST");

    start(); // the history comes back; "CLEAR ALL" empties it
    auto* history = child<QComboBox>("searchCombo");
    ASSERT_EQ(history->count(), 1);
    history->setCurrentText("CLEAR ALL");
    clickButton("searchButton");
    EXPECT_EQ(history->count(), 0);
}

TEST_F(FilteredWindowTest, DatesHaveTheListsFourDigitYearInThePickersToo) {
    start();
    const CLibcLocale locale;
    auto* from = child<QDateTimeEdit>("fromDateEdit");
    EXPECT_EQ(from->text().toStdString(), locale.shortDate(from->dateTime().toSecsSinceEpoch()));
    EXPECT_EQ(column(3).value(1).toStdString(), locale.shortDate(std::time(nullptr) - 60));
    EXPECT_EQ(column(3).value(1).size(), 10) << "month, day and a four-digit year";
}

TEST_F(FilteredWindowTest, RecalculateKeepsTheSelectionAndSaysItIsDone) {
    ASSERT_TRUE(CProfileFile(CAppFolders::defaultConfigFolder() + "Drivana.ini").putText("Van", "Econo", "L/100km"));
    CVehicleLogDlg& window = start();
    EXPECT_EQ(column(7).value(1), "0.00 MPG") << "not computed before Recalculate";
    entryList()->selectRow(1);
    window.action(CommandId::Recalculate)->trigger();
    EXPECT_EQ(column(7).value(1), "7.84 L/100km"); // 37.85 litres over 482.80 km, in the vehicle's unit
    EXPECT_EQ(entryList()->selectionModel()->selectedRows().value(0).row(), 1);
    EXPECT_TRUE(window.statusBar()->currentMessage().startsWith("Recalculation done"));
    CVehicleLogDoc reread;
    ASSERT_TRUE(reread.load(CAppFolders::defaultDataFolder() + "VAN1.odv").ok());
    EXPECT_NEAR(reread.at(3).Economy, 37.8541 / 4.828032, 1e-4);
}

// The file's layout is the export's (tested in the core); the window hands it the rows shown.
TEST_F(FilteredWindowTest, ExportWritesTheRowsShown) {
    CVehicleLogDlg& window = start();
    const std::string target = (m_home / "van").string();
    m_dialogHandler = [&](QDialog& dialog) -> std::optional<int> {
        auto* exporter = qobject_cast<CExportDlg*>(&dialog);
        if (!exporter)
            return std::nullopt;
        exporter->findChild<QLineEdit*>(QStringLiteral("fileEdit"))->setText(QString::fromStdString(target));
        exporter->exportPressed();
        return exporter->result();
    };
    window.action(CommandId::Export)->trigger();
    std::string bytes;
    ASSERT_EQ(odrivo::readWholeFile(target + ".csv", bytes), odrivo::ReadStatus::Ok);
    EXPECT_EQ(bytes.rfind("\xEF\xBB\xBF\"Date\",\"Odometer\",\"Entry\",\"Station\"", 0), 0u); // the Fuel view's layout
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 3);
    EXPECT_EQ(shownTexts(), QStringList{QString::fromStdString("Export to " + target + ".csv Complete.")});
}

TEST_F(FilteredWindowTest, ToolsFuelRunsTheFuelDialogAndTheEntryReachesListAndFile) {
    CVehicleLogDlg& window = start();
    EXPECT_EQ(child<QLabel>("odometerLabel")->text(), "1300");
    const CEntryDialogs dialogs(window);
    m_dialogHandler = [&](QDialog& dialog) -> std::optional<int> {
        auto* fuel = qobject_cast<CFuelDlg*>(&dialog);
        if (!fuel)
            return std::nullopt;
        for (const auto& [name, text] :
             {std::pair{"odometerEdit", "1600"}, std::pair{"quantityEdit", "40"}, std::pair{"priceEdit", "1.5"}}) {
            auto* edit = fuel->findChild<QLineEdit*>(QString::fromLatin1(name));
            edit->selectAll();
            QTest::keyClicks(edit, text);
        }
        QTest::mouseClick(fuel->findChild<QPushButton*>(QStringLiteral("saveButton")), Qt::LeftButton);
        return fuel->result();
    };
    window.action(CommandId::AddFuel)->trigger();
    ASSERT_EQ(window.session().doc().size(), 5u);
    const CDVItem& added = window.session().doc().at(4);
    EXPECT_EQ(std::tuple(added.Odometer, added.Quantity, added.Cost, added.FuelDistance),
              std::tuple(1600.0, 40.0, 60.0, 300)); // distance since the fill at 1300
    EXPECT_EQ(window.lastRefresh().totals.latestOdometer, 1600.0);
    CVehicleLogDoc reread;
    ASSERT_TRUE(reread.load(CAppFolders::defaultDataFolder() + "VAN1.odv").ok());
    EXPECT_EQ(reread.size(), 5u);
}

} // namespace
