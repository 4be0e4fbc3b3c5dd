#include "ui/main/vehicle_log_dlg.h"

#include "calc/economy_calculator.h"
#include "calc/entry_text.h"
#include "calc/graph_feed.h"
#include "calc/reminder_check.h"
#include "exchange/csv_export.h"
#include "print/painter_surface.h"
#include "store/app_folders.h"
#include "store/backup_set.h"
#include "store/data_file_owner.h"
#include "store/file_io.h"
#include "store/first_run_installer.h"
#include "store/folder_settings.h"
#include "store/vehicle_log_doc.h"
#include "store/vehicle_registry.h"
#include "store/window_placement.h"
#include "ui/charts/economy_tab.h"
#include "ui/charts/fuel_cost_tab.h"
#include "ui/charts/running_cost_tab.h"
#include "ui/charts/total_cost_tab.h"
#include "ui/entry/delete_confirm_dlg.h"
#include "ui/entry/new_vehicle_dlg.h"
#include "ui/main/about_dlg.h"
#include "ui/main/backup_dlg.h"
#include "ui/main/command_ids.h"
#include "ui/main/entry_list_ctrl.h"
#include "ui/main/export_dlg.h"
#include "ui/main/import_dlg.h"
#include "ui/main/reminder_tab.h"
#include "ui/main/restore_dlg.h"
#include "ui/main/splash_dlg.h"
#include "ui/report/report_printer.h"
#include "ui/setup/setup_command.h"
#include "ui/toolkit/menu_look.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/modal_runner.h"
#include "ui/toolkit/qt_text.h"
#include "ui/toolkit/shell.h"
#include "ui/toolkit/tool_tip.h"
#include "ui_vehicle_log_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace {

struct CommandDef {
    int id;
    int altId; // the toolbar's number for the same command, 0 when none
    const char* menuText;
    const char* text; // "prompt\ntooltip", or empty
    const char* icon; // resource name under :/icons/, or nullptr
};

using namespace CommandId;

const CommandDef kCommands[] = {
    {NewVehicle, 0, "&New", "", nullptr},
    {DeleteVehicle, 0, "&Delete", "", nullptr},
    {Backup, 0, "&Backup", "", nullptr},
    {Restore, 0, "&Restore", "", nullptr},
    {Import, ImportTool, "&Import", "Import CSV Data\nImport", "import"},
    {Export, ExportTool, "&Export", "Export\nExport CSV Data", "export"},
    {PrintByView, PrintByViewTool, "Print Report by &View", "Exports\nExport Data", "print_view"},
    {PrintSelected, PrintSelectedTool, "Print &Selected Item", "Print Selected Item\nPrint Selected", "print_selected"},
    {PrintVehicle, PrintVehicleTool, "Print Vehicle &Information", "Print Vehicle Info\nPrint Info", "print_info"},
    {SaveReportPdf, 0, "Save Report as P&DF\u2026", "Save the report of the listed entries as a PDF file\nSave as PDF",
     nullptr},
    {Exit, 0, "E&xit", "", nullptr},
    {AddTrip, 0, "&Trip", "Add a Trip\nAdd a Trip", "trip"},
    {AddRepair, 0, "&Repairs", "Add a Repair or Maintenance Item\nAdd Repairs", "repair"},
    {AddFuel, 0, "&Fuel", "Add Fuel\nAdd Fuel", "fuel"},
    {Recalculate, RecalculateTool, "Re&calculate", "Recalculate the economy readings\nRecalculate Economy", "recalc"},
    {Setup, SetupTool, "&Setup", "Edit Settings\nEdit the Vehicle or Setup Options", "setup"},
    {About, 0, "&About Odrivo", "About Odrivo\nAbout Odrivo", "about"},
    {CheckUpdates, 0, "Check for &Updates", "", nullptr},
    {Help, 0, "&Help", "", nullptr},
    {InstallPpc, 0, "Install &PPC Version", "", nullptr},
};

// Toolbar order; 0 is a separator.
constexpr int kToolBar[] = {
    AddTrip,           AddRepair, AddFuel,         0,         ImportTool, ExportTool, PrintVehicleTool, PrintByViewTool,
    PrintSelectedTool, 0,         RecalculateTool, SetupTool, About};

// Commands whose work is not part of the program yet: present, but disabled.

constexpr int kTabCount = 5;
const char* const kTabTitles[kTabCount] = {"Economy", "Fuel Cost", "Repair Cost", "Running Cost", "Reminders"};
const char* const kTabClasses[kTabCount] = {"CEconomyTab", "CFuelCostTab", "CRunningCostTab", "CTotalCostTab",
                                            "CReminderTab"};

const char* const kDateRanges[] = {"View Filter Off", "This Week",  "This Month", "This Year",
                                   "Last Week",       "Last Month", "Last Year",  "Select Dates"};

// Status bar hints for the main window's own controls.
constexpr const char* kHintReminders = "Shows any reminders that are due or soon due.";
constexpr const char* kHintVehicle = "Select a vehicle from the drop down list";
constexpr const char* kHintTabs = "Select a tab to view it's contents";
constexpr const char* kHintStoplight = "Clicking the stoplight has no effect.";
constexpr const char* kHintFrom = "Only entries starting on this date will be visible.";
constexpr const char* kHintTo = "Only entries prior to and including this date will be visible.";
constexpr const char* kHintRange = "Select a filter, only entries matching this filter will be visible";
constexpr const char* kHintSearch = "Search for... Only entries containing exact matches will be visible.";

// The height of the tab area above the entry list; 0 gives the list three fifths of the height.
constexpr ProfileKey kTabHeight{"ListAttributes", "TabHeight", "", 0};

constexpr const char* kDeleteVehicleQuestion = "DELETE! This operation will delete the current vehicle\nARE YOU SURE?";

} // namespace

CVehicleLogDlg::CVehicleLogDlg(CAppProfile& profile, CActivityLog& log, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::CVehicleLogDlg>()), m_profile(profile), m_log(log) {
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/odrivo.svg")));
    m_texts = std::make_unique<CEntryText>(m_locale, 0.0);
    ui->entryList->setTextSource(m_texts.get());
    createActions();
    createMenus();
    createToolBar();
    connectFilters();
    connect(ui->entryList, &CEntryListCtrl::entryActivated, this, &CVehicleLogDlg::editEntry);
    connect(ui->entryList, &CEntryListCtrl::deleteRequested, this, &CVehicleLogDlg::deleteSelectedEntry);
    connect(ui->entryList, &CEntryListCtrl::focusLost, this, [this] {
        if (!ui->entryList->saveColumnWidths(m_profile))
            CMessageBox::warn(this, tr("The list's column widths could not be saved to\n%1\n(%2).")
                                        .arg(toQt(m_profile.file()), toQt(m_profile.lastError())));
    });
    connect(ui->entryList, &CEntryListCtrl::selectionChangedTo, this, &CVehicleLogDlg::followSelection);
    connect(ui->entryList, &CEntryListCtrl::hintRequested, this,
            [this](const QString& hint) { statusBar()->showMessage(hint); });
    // Growing the window gives the list three parts and the tab area two.
    ui->splitter->setStretchFactor(0, 2);
    ui->splitter->setStretchFactor(1, 3);
    ui->reminderList->viewport()->installEventFilter(this);
    ui->reminderList->installEventFilter(this);
    connect(ui->vehicleCombo, &QComboBox::activated, this, &CVehicleLogDlg::switchVehicle);
    ui->performanceGroup->installEventFilter(this);
    ui->reminderList->viewport()->setMouseTracking(true);
    for (QWidget* w : {static_cast<QWidget*>(ui->vehicleCombo), static_cast<QWidget*>(ui->fromDateEdit),
                       static_cast<QWidget*>(ui->toDateEdit), static_cast<QWidget*>(ui->dateRangeCombo),
                       static_cast<QWidget*>(ui->searchCombo), static_cast<QWidget*>(ui->stoplightButton),
                       static_cast<QWidget*>(ui->tabWidget->tabBar())})
        w->installEventFilter(this);
}

CVehicleLogDlg::~CVehicleLogDlg() = default;

void CVehicleLogDlg::initialize() {
    const std::time_t today = std::time(nullptr);
    m_session.setToday(today);
    std::tm local{};
    localtime_r(&today, &local);
    m_log.setSection("Initialization");
    m_log.write(
        QString::asprintf("Date: Day=%d Month=%d Year=%d", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900)
            .toStdString());
    createStatusBar();
    m_firstStart = CFirstRunInstaller::isFirstStart(m_profile.file(), CAppFolders::defaultConfigFolder());
    readFolders();
    installOnFirstStart();
    readFlags();
    ui->searchButton->setToolTip(CToolTip::wrap(QStringLiteral("Search for a string in the entire database")));
    ui->stoplightButton->setToolTip(CToolTip::wrap(QStringLiteral("Shows performance state")));
    m_tabHeight = m_profile.getNumber(kTabHeight);
    applyFonts();
    int reminderWidth = m_profile.getNumber(ProfileKeys::ReminderColumnWidth, 0);
    if (reminderWidth <= 0)
        reminderWidth = ProfileKeys::ReminderColumnWidth.defaultNumber;
    ui->reminderList->setColumnWidth(0, reminderWidth);
    fillDateRange();
    loadSearchHistory();
    if (m_splash)
        showSplash();
    applyViewMode();
    // The pages exist before the first refresh, which computes their figures.
    createTabs();
    loadLastVehicle();
    showPerformance(CPerformanceWatch::State::Startup);
    restorePlacement();
    updateCommandStates();
}

void CVehicleLogDlg::createActions() {
    for (const CommandDef& def : kCommands) {
        auto* act = new QAction(QString::fromUtf8(def.menuText), this);
        act->setData(def.id);
        const QString text = QString::fromLatin1(def.text);
        if (!text.isEmpty()) {
            act->setStatusTip(text.section(QLatin1Char('\n'), 0, 0));
            act->setToolTip(CToolTip::wrap(text.section(QLatin1Char('\n'), 1, 1)));
        }
        if (def.icon)
            act->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(def.icon))));
        m_actions[def.id] = act;
        if (def.altId != 0)
            m_actions[def.altId] = act;
    }
    connect(action(Exit), &QAction::triggered, this, &QWidget::close);
    connect(action(AddFuel), &QAction::triggered, this, [this] { addEntry(CDVItem::Fuel); });
    connect(action(AddRepair), &QAction::triggered, this, [this] { addEntry(CDVItem::Repair); });
    connect(action(AddTrip), &QAction::triggered, this, [this] { addEntry(CDVItem::Trip); });
    connect(action(Recalculate), &QAction::triggered, this, &CVehicleLogDlg::recalculate);
    connect(action(NewVehicle), &QAction::triggered, this, &CVehicleLogDlg::newVehicle);
    connect(action(DeleteVehicle), &QAction::triggered, this, &CVehicleLogDlg::deleteVehicle);
    connect(action(Setup), &QAction::triggered, this, &CVehicleLogDlg::setup);
    connect(action(PrintByView), &QAction::triggered, this, [this] { printReport(CReportJob::Kind::ByView, false); });
    connect(action(PrintSelected), &QAction::triggered, this,
            [this] { printReport(CReportJob::Kind::SelectedItem, false); });
    connect(action(PrintVehicle), &QAction::triggered, this,
            [this] { printReport(CReportJob::Kind::VehicleInfo, false); });
    connect(action(SaveReportPdf), &QAction::triggered, this, [this] { printReport(CReportJob::Kind::ByView, true); });
    connect(action(Backup), &QAction::triggered, this, &CVehicleLogDlg::backup);
    connect(action(Restore), &QAction::triggered, this, &CVehicleLogDlg::restore);
    connect(action(Export), &QAction::triggered, this, &CVehicleLogDlg::exportEntries);
    connect(action(Import), &QAction::triggered, this, &CVehicleLogDlg::importEntries);
    connect(action(About), &QAction::triggered, this, &CVehicleLogDlg::showAbout);
    connect(action(CheckUpdates), &QAction::triggered, this, &CVehicleLogDlg::checkForUpdates);
    connect(action(Help), &QAction::triggered, this, &CVehicleLogDlg::openHelp);
    connect(action(InstallPpc), &QAction::triggered, this, &CVehicleLogDlg::installPpcVersion);
    action(Help)->setShortcut(QKeySequence::HelpContents);
}

QAction* CVehicleLogDlg::action(int commandId) const {
    const auto it = m_actions.find(commandId);
    return it == m_actions.end() ? nullptr : it->second;
}

void CVehicleLogDlg::createMenus() {
    QMenu* file = ui->menuBar->addMenu(tr("&File"));
    for (int id : {NewVehicle, DeleteVehicle})
        file->addAction(action(id));
    file->addSeparator();
    for (int id : {Backup, Restore})
        file->addAction(action(id));
    file->addSeparator();
    for (int id : {Import, Export})
        file->addAction(action(id));
    QMenu* print = file->addMenu(tr("&Print Reports"));
    for (int id : {PrintByView, PrintSelected, PrintVehicle})
        print->addAction(action(id));
    print->addSeparator();
    print->addAction(action(SaveReportPdf));
    file->addSeparator();
    file->addAction(action(Exit));

    QMenu* tools = ui->menuBar->addMenu(tr("&Tools"));
    for (int id : {AddTrip, AddRepair, AddFuel})
        tools->addAction(action(id));
    tools->addSeparator();
    for (int id : {Recalculate, Setup})
        tools->addAction(action(id));

    QMenu* help = ui->menuBar->addMenu(tr("&Help"));
    for (int id : {About, CheckUpdates, Help, InstallPpc})
        help->addAction(action(id));
    CMenuLook::apply(ui->menuBar);
}

void CVehicleLogDlg::createToolBar() {
    QToolBar* bar = addToolBar(tr("Commands"));
    bar->setObjectName(QStringLiteral("mainToolBar"));
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    for (int id : kToolBar) {
        if (id == 0)
            bar->addSeparator();
        else
            bar->addAction(action(id));
    }
}

void CVehicleLogDlg::createStatusBar() {
    m_statusPane1 = new QLabel(this);
    m_statusPane2 = new QLabel(this);
    m_statusPane1->setObjectName(QStringLiteral("currentEconomyPane"));
    m_statusPane2->setObjectName(QStringLiteral("averageEconomyPane"));
    m_statusPane1->setMinimumWidth(160);
    m_statusPane2->setMinimumWidth(160);
    statusBar()->addPermanentWidget(m_statusPane1);
    statusBar()->addPermanentWidget(m_statusPane2);
}

void CVehicleLogDlg::readFolders() {
    const FolderSettings folders = FolderSettings::read(m_profile);
    m_dataFolder = folders.data;
    m_backupFolder = folders.backup;
    m_configFolder = folders.config;
    for (const std::string* folder : {&m_dataFolder, &m_backupFolder, &m_configFolder}) {
        std::string error;
        if (!folder->empty() && !odrivo::ensureFolder(*folder, &error))
            CMessageBox::warn(this, tr("Odrivo cannot create the folder\n%1\n(%2).\nChoose another folder in "
                                       "Tools > Setup, or create it yourself.")
                                        .arg(toQt(*folder), toQt(error)));
    }
    m_log.write("DataPath = " + m_dataFolder);
    m_log.write("BackupPath = " + m_backupFolder);
    m_log.write("ConfigPath = " + m_configFolder);
    m_session.setDataFolder(m_dataFolder);
}

void CVehicleLogDlg::readFlags() {
    m_askDelete = m_profile.getNumber(ProfileKeys::AskDelete) != 0;
    m_viewMode = m_profile.getNumber(ProfileKeys::LastView);
    m_splash = m_profile.getNumber(ProfileKeys::Splash) != 0;
    m_animate = m_profile.getNumber(ProfileKeys::GraphAnimate);
    m_graph = GraphSettings::read(m_profile);
}

void CVehicleLogDlg::applyFonts() {
    QFont odoFont(toQt(m_profile.getText(ProfileKeys::OdoFontName)));
    odoFont.setStyleHint(QFont::Serif);
    odoFont.setPixelSize(28);
    odoFont.setWeight(static_cast<QFont::Weight>(std::clamp(m_profile.getNumber(ProfileKeys::OdoFontWeight), 1, 1000)));
    odoFont.setItalic(m_profile.getNumber(ProfileKeys::OdoFontItalic) != 0);
    odoFont.setUnderline(m_profile.getNumber(ProfileKeys::OdoFontUnderline) != 0);
    ui->odometerLabel->setFont(odoFont);

    // The font first: default column widths are measured in it.
    m_list = ListAppearance::read(m_profile);
    ui->entryList->applyAppearance(m_list);
    ui->entryList->createColumns(m_profile);
}

void CVehicleLogDlg::fillDateRange() {
    ui->dateRangeCombo->clear();
    QStringList items;
    for (const char* item : kDateRanges)
        items << QString::fromLatin1(item);
    items.sort(Qt::CaseInsensitive);
    ui->dateRangeCombo->addItems(items);
    ui->dateRangeCombo->setCurrentText(QString::fromLatin1(kDateRanges[0]));
    // Like the desktop's date pickers, these show the date; the time of day stays in the value.
    const QString dateFormat = toQt(m_locale.datePattern());
    m_appliedRange = ui->dateRangeCombo->currentText();
    ui->fromDateEdit->setDisplayFormat(dateFormat);
    ui->toDateEdit->setDisplayFormat(dateFormat);
    ui->fromDateEdit->setEnabled(false);
    ui->toDateEdit->setEnabled(false);
}

void CVehicleLogDlg::loadSearchHistory() {
    ui->searchCombo->clear();
    for (int i = 0;; ++i) {
        const std::string item = m_profile.getText(ProfileKeys::SearchItem, i);
        if (item.empty())
            break;
        ui->searchCombo->addItem(toQt(item));
    }
    ui->searchCombo->setCurrentText(QString());
}

void CVehicleLogDlg::showSplash() {
    CSplashDlg splash(m_splash, this);
    connect(&splash, &CSplashDlg::showAtStartupChanged, this, [this](bool show) { m_splash = show; });
    CModalRunner::run(splash);
    m_splash = splash.showAtStartup();
    if (!m_profile.putNumber(ProfileKeys::Splash, m_splash ? 1 : 0))
        CMessageBox::warn(this, tr("Odrivo could not save the start-up setting to\n%1\n(%2).")
                                    .arg(toQt(m_profile.file()), toQt(m_profile.lastError())));
}

void CVehicleLogDlg::applyViewMode() {
    QRadioButton* radios[] = {ui->fuelRadio, ui->repairsRadio, ui->tripsRadio, ui->anyRadio};
    if (m_viewMode >= 0 && m_viewMode < 4)
        radios[m_viewMode]->setChecked(true);
}

void CVehicleLogDlg::installOnFirstStart() {
    if (!m_firstStart) {
        // An installation that lost its vehicle list gets no samples written over its folder.
        if (!CVehicleRegistry(m_configFolder).exists())
            CMessageBox::warn(this, tr("The folder\n%1\nholds no vehicle list (%2).\nChoose the right folder in "
                                       "Tools > Setup, or restore a backup.")
                                        .arg(toQt(m_configFolder), toQt(CVehicleRegistry(m_configFolder).path())));
        return;
    }
    const std::time_t now = std::time(nullptr);
    const CFirstRunInstaller::Result result = CFirstRunInstaller::installIfNeeded(m_configFolder, m_dataFolder, now);
    if (!result.message.empty())
        CMessageBox::warn(this, toQt(result.message));
    if (!result.installed)
        return;
    // A new installation opens on its sample vehicle, with its economy worked out.
    if (m_profile.getText(ProfileKeys::LastVehicle, "").empty())
        m_profile.putText(ProfileKeys::LastVehicle, CFirstRunInstaller::kSampleVehicle);
    VehicleSettings sample;
    if (CVehicleRegistry(m_configFolder).loadVehicle(CFirstRunInstaller::kSampleVehicle, sample, now, nullptr)) {
        CLogSession session;
        session.setDataFolder(m_dataFolder);
        session.setVin(sample.vin);
        if (session.reload().status == LogLoadStatus::Loaded) {
            CEconomyCalculator::recalculate(session.doc(), economySettings(sample));
            showResult(session.saveAndReload());
        }
    }
}

CEconomyCalculator::Settings CVehicleLogDlg::economySettings(const VehicleSettings& vehicle) {
    return {vehicle.startOdometer, vehicle.distanceUnit, vehicle.economyUnit};
}

void CVehicleLogDlg::loadLastVehicle() {
    m_vehicleName = m_profile.getText(ProfileKeys::LastVehicle);
    const std::time_t now = std::time(nullptr);
    ui->fromDateEdit->setDateTime(QDateTime::fromSecsSinceEpoch(now));
    ui->toDateEdit->setDateTime(QDateTime::fromSecsSinceEpoch(now));
    const bool loaded = loadVehicle(m_vehicleName);
    refresh();
    showTitle(loaded);
}

bool CVehicleLogDlg::loadVehicle(const std::string& name) {
    const CVehicleRegistry registry(m_configFolder);
    if (!registry.exists())
        return false;
    const std::vector<std::string> names = registry.vehicleNames();
    ui->vehicleCombo->clear();
    for (const std::string& vehicle : names)
        ui->vehicleCombo->addItem(toQt(vehicle));
    ui->vehicleCombo->setCurrentIndex(CVehicleRegistry::selectionIndex(names, name));
    const std::time_t now = std::time(nullptr);
    if (!registry.loadVehicle(name, m_settings, now, &m_log))
        return false;
    m_session.setVin(m_settings.vin);
    m_texts = std::make_unique<CEntryText>(m_locale, m_settings.costPerMile);
    ui->entryList->setTextSource(m_texts.get());
    const QSignalBlocker blockFrom(ui->fromDateEdit);
    const QSignalBlocker blockTo(ui->toDateEdit);
    ui->fromDateEdit->setDateTime(QDateTime::fromSecsSinceEpoch(registry.fromDate(now)));
    ui->toDateEdit->setDateTime(QDateTime::fromSecsSinceEpoch(registry.toDate(now)));
    return true;
}

void CVehicleLogDlg::recalculate() {
    if (!m_vehicleOpen)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The reload replaces every entry, so the selection is found again by its place in the log.
    const long selected = m_session.doc().indexOf(ui->entryList->selectedEntry());
    CEconomyCalculator::recalculate(m_session.doc(), economySettings(m_settings));
    ui->entryList->setRows({});
    const SessionResult result = m_session.saveAndReload();
    refresh(Reload::No);
    if (selected >= 0 && static_cast<std::size_t>(selected) < m_session.doc().entries().size()) {
        const std::vector<CDVItem*>& rows = ui->entryList->rows();
        const auto row = std::find(rows.begin(), rows.end(), &m_session.doc().at(static_cast<std::size_t>(selected)));
        ui->entryList->selectRowAt(row == rows.end() ? -1 : static_cast<int>(row - rows.begin()));
    }
    QApplication::restoreOverrideCursor();
    if (result.message.empty())
        statusBar()->showMessage(tr("Recalculation done: the economy of every fuel entry is up to date."));
    showResult({false, result.message});
}

void CVehicleLogDlg::createTabs() {
    m_economyTab = new CEconomyTab(ui->tabWidget);
    m_fuelCostTab = new CFuelCostTab(ui->tabWidget);
    m_repairCostTab = new CRunningCostTab(ui->tabWidget);
    m_totalCostTab = new CTotalCostTab(ui->tabWidget);
    m_reminderTab = new CReminderTab(m_locale, ui->tabWidget);
    QWidget* pages[kTabCount] = {m_economyTab, m_fuelCostTab, m_repairCostTab, m_totalCostTab, m_reminderTab};
    for (int i = 0; i < kTabCount; ++i) {
        pages[i]->setObjectName(QString::fromLatin1(kTabClasses[i]));
        ui->tabWidget->addTab(pages[i], QString::fromLatin1(kTabTitles[i]));
    }
    for (CGraphPage* page : graphPages()) {
        page->setSource(&m_session.doc(), &m_locale);
        page->applySettings(m_graph);
        // One setting drives every page, so the other pages' boxes follow the one clicked.
        connect(page, &CGraphPage::animateChanged, this, [this](bool on) {
            m_animate = on ? 1 : 0;
            for (CGraphPage* other : graphPages())
                other->setAnimateChecked(on);
        });
        connect(page, &CGraphPage::entryClicked, this, &CVehicleLogDlg::selectEntry);
    }
    m_reminderTab->setSource(&m_session.doc(), m_settings, m_refresh.totals.latestOdometer, m_session.today());
    // Hidden pages are not refilled, so a page that comes to the front catches up.
    connect(ui->tabWidget, &QTabWidget::currentChanged, this, &CVehicleLogDlg::redrawGraphs);
    int tab = m_profile.getNumber(ProfileKeys::SelectedTab);
    if (tab < 0 || tab >= kTabCount)
        tab = 0;
    ui->tabWidget->setCurrentIndex(tab);
}

void CVehicleLogDlg::restorePlacement() {
    const auto placement = WindowPlacement::parse(m_profile.getText(ProfileKeys::State));
    if (!placement)
        return;
    setGeometry(QRect(QPoint(placement->left, placement->top), QPoint(placement->right - 1, placement->bottom - 1)));
    m_showCmd = placement->showCmd;
}

void CVehicleLogDlg::showPlaced() {
    if (m_showCmd == WindowPlacement::kShowMaximized)
        showMaximized();
    else if (m_showCmd == WindowPlacement::kShowMinimized)
        showMinimized();
    else
        show();
}

void CVehicleLogDlg::refresh(Reload reload) {
    showPerformance(CPerformanceWatch::State::Off);
    const int remembered = ui->entryList->selectedRow();
    std::string problem;
    if (reload == Reload::Yes) {
        ui->entryList->setRows({});
        // The view refresh below sets the current odometer from its own pass.
        const LogLoadResult loaded = m_session.reload(CLogSession::Odometer::LeaveToCaller);
        problem = loaded.message;
    }
    CViewRefresh::Filter filter;
    filter.viewMode = m_viewMode;
    filter.dateRange = fromQt(ui->dateRangeCombo->currentText());
    filter.from = ui->fromDateEdit->dateTime().toSecsSinceEpoch();
    filter.to = ui->toDateEdit->dateTime().toSecsSinceEpoch();
    // The pages count the entries as the file holds them: the view refresh hands each entry
    // to their figures before it turns "Trip..." entries into trips (in memory only). Every
    // refresh follows a load of the file.
    CCostStatistics::GraphWalk walk(m_locale);
    m_refresh = m_view.run(m_session.doc(), filter, std::time(nullptr), &walk);
    if (m_economyTab || m_fuelCostTab || m_repairCostTab) {
        CCostStatistics::GraphFigures figures = walk.finish();
        const std::array<std::pair<CGraphPage*, CCostStatistics::PageFigures*>, 3> pages{
            {{m_economyTab, &figures.economy},
             {m_fuelCostTab, &figures.fuelCost},
             {m_repairCostTab, &figures.repairCost}}};
        for (const auto& [page, pageFigures] : pages)
            if (page) {
                page->showFigures(std::move(*pageFigures));
                page->setPointCount(m_refresh.chartPoints[static_cast<std::size_t>(page->kind())]);
            }
    }
    m_session.setCurrentOdometer(m_refresh.totals.latestOdometer);
    ui->entryList->setRows(m_refresh.rows);
    ui->odometerLabel->setText(QString::asprintf("%.0f", m_refresh.totals.latestOdometer));
    if (remembered >= 0 && remembered < static_cast<int>(m_refresh.rows.size()))
        ui->entryList->selectRowAt(remembered);
    showTotals();

    m_performanceState =
        CPerformanceWatch::evaluate(m_refresh.performance, m_settings.economyUnit, m_settings.distanceUnit);
    showPerformance(m_performanceState);
    statusBar()->showMessage(ui->performanceText->text());
    showEconomyPanes();
    m_refreshed = true;
    showReminders();
    if (m_reminderTab) {
        // The log was just read from the data file; a hidden tab computes its table when shown.
        m_reminderTab->setSource(&m_session.doc(), m_settings, m_refresh.totals.latestOdometer, m_session.today());
        if (m_reminderTab->isVisible())
            m_reminderTab->refreshTable();
    }
    redrawGraphs();
    if (!problem.empty())
        CMessageBox::warn(this, toQt(problem));
}

void CVehicleLogDlg::followSelection() {
    const CDVItem* selected = ui->entryList->selectedEntry();
    const int position = selected ? selected->DisplayPos : -1;
    for (CGraphPage* page : graphPages())
        if (page)
            page->setSelectedPosition(position);
    // An animated chart replays the log on its own; a redraw would restart it from the refill.
    if (!m_animate)
        redrawGraphs();
}

void CVehicleLogDlg::selectEntry(const CDVItem* entry) {
    // An entry the view mode or the date range hides has no row; the selection then stays.
    const std::vector<CDVItem*>& rows = ui->entryList->rows();
    const auto row = std::find(rows.begin(), rows.end(), entry);
    if (row != rows.end())
        ui->entryList->selectRowAt(static_cast<int>(row - rows.begin()));
}

std::array<CGraphPage*, 3> CVehicleLogDlg::graphPages() const {
    return {m_economyTab, m_fuelCostTab, m_repairCostTab};
}

void CVehicleLogDlg::redrawGraphs() {
    for (CGraphPage* page : graphPages())
        if (page && page->isVisible())
            page->redraw();
}

void CVehicleLogDlg::showEconomyPanes() {
    const CCostStatistics::PageFigures* economy = m_economyTab ? &m_economyTab->figures() : nullptr;
    m_statusPane1->setText(QString::asprintf("%3.2f", economy ? economy->currentValue : 0.0));
    m_statusPane2->setText(QString::asprintf("%3.2f", economy ? economy->averageValue : 0.0));
}

void CVehicleLogDlg::showTotals() {
    if (m_totalCostTab)
        m_totalCostTab->showTotals(m_vehicleName, m_refresh.totals, m_locale.currencySymbol(2),
                                   m_settings.distanceUnit);
}

void CVehicleLogDlg::showPerformance(CPerformanceWatch::State state) {
    static const char* const kImages[] = {":/window/stoplight_off.svg", ":/window/stoplight_poor.svg",
                                          ":/window/stoplight_fair.svg", ":/window/stoplight_good.svg"};
    const CPerformanceWatch::Display display = CPerformanceWatch::display(state);
    if (m_shownPerformance == static_cast<int>(state))
        return;
    m_shownPerformance = static_cast<int>(state);
    ui->stoplightButton->setIcon(QIcon(QString::fromLatin1(kImages[static_cast<int>(display.image)])));
    ui->stoplightButton->setEnabled(display.enabled);
    ui->stoplightButton->setToolTip(CToolTip::wrap(QString::fromUtf8(display.longText)));
    ui->performanceText->setText(QString::fromUtf8(display.shortText));
}

void CVehicleLogDlg::connectFilters() {
    QRadioButton* radios[] = {ui->fuelRadio, ui->repairsRadio, ui->tripsRadio, ui->anyRadio};
    for (int mode = 0; mode < 4; ++mode)
        connect(radios[mode], &QRadioButton::clicked, this, [this, mode] { setViewMode(mode); });
    ui->dateRangeCombo->setInsertPolicy(QComboBox::NoInsert);
    connect(ui->dateRangeCombo, &QComboBox::activated, this, [this] { dateRangeChanged(); });
    connect(ui->dateRangeCombo->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (ui->dateRangeCombo->currentText() != m_appliedRange)
            dateRangeChanged();
    });
    for (QDateTimeEdit* picker : {ui->fromDateEdit, ui->toDateEdit})
        connect(picker, &QDateTimeEdit::dateTimeChanged, this, [this] {
            if (ui->fromDateEdit->isEnabled())
                refresh();
        });
    ui->searchCombo->setInsertPolicy(QComboBox::NoInsert);
    connect(ui->searchButton, &QPushButton::clicked, this, &CVehicleLogDlg::search);
    connect(ui->searchCombo->lineEdit(), &QLineEdit::returnPressed, this, &CVehicleLogDlg::search);
}

void CVehicleLogDlg::setViewMode(int mode) {
    m_viewMode = mode;
    if (mode == 3) {
        ui->dateRangeCombo->setCurrentText(QString::fromLatin1(kDateRanges[0]));
        enableDatePickers();
        ui->searchCombo->setCurrentText(QStringLiteral("None"));
    }
    refresh();
}

void CVehicleLogDlg::dateRangeChanged() {
    enableDatePickers();
    refresh();
}

void CVehicleLogDlg::enableDatePickers() {
    m_appliedRange = ui->dateRangeCombo->currentText();
    const bool select = m_appliedRange == QLatin1String(kDateRanges[7]);
    ui->fromDateEdit->setEnabled(select);
    ui->toDateEdit->setEnabled(select);
}

void CVehicleLogDlg::search() {
    const QString text = ui->searchCombo->currentText();
    const std::string upper = fromQt(text);
    std::vector<CDVItem*> rows = CViewRefresh::search(m_session.doc(), upper, *m_texts);
    const bool found = !rows.empty();
    ui->entryList->setRows(std::move(rows));
    if (found && ui->searchCombo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        int at = 0;
        while (at < ui->searchCombo->count() &&
               QString::compare(ui->searchCombo->itemText(at), text, Qt::CaseInsensitive) <= 0)
            ++at;
        ui->searchCombo->insertItem(at, text);
        ui->searchCombo->setCurrentText(text);
    }
    if (text == QLatin1String("CLEAR ALL")) {
        ui->searchCombo->clear();
        ui->searchCombo->setCurrentText(text);
    }
}

EntryContext CVehicleLogDlg::entryContext() {
    EntryContext context;
    context.vehicle = m_settings;
    context.currentOdometer = m_session.currentOdometer();
    context.previousFuelOdometer = m_view.previousFuelOdometer();
    context.startTime = m_session.today();
    context.currencySymbol = m_locale.currencySymbol();
    context.profile = &m_profile;
    context.listsPath = m_configFolder + "Lists.ini";
    return context;
}

void CVehicleLogDlg::setEntryEditor(int type, CEntryEditor* editor) {
    if (type < 0 || type >= static_cast<int>(m_editors.size()))
        return;
    m_editors[static_cast<std::size_t>(type)] = editor;
    updateCommandStates();
}

void CVehicleLogDlg::updateCommandStates() {
    // Without a vehicle there is no data file that entries could go to.
    const bool haveVehicle = m_vehicleOpen;
    action(AddFuel)->setEnabled(haveVehicle && m_editors[CDVItem::Fuel] != nullptr);
    action(AddRepair)->setEnabled(haveVehicle && m_editors[CDVItem::Repair] != nullptr);
    action(AddTrip)->setEnabled(haveVehicle && m_editors[CDVItem::Trip] != nullptr);
    action(Recalculate)->setEnabled(haveVehicle);
    action(Import)->setEnabled(haveVehicle);
    action(DeleteVehicle)->setEnabled(!m_vehicleName.empty());
}

void CVehicleLogDlg::showResult(const SessionResult& result) {
    // The session has reloaded the log: the rows must be rebuilt before anything else runs.
    if (result.changed)
        refresh(Reload::No);
    if (!result.message.empty())
        CMessageBox::warn(this, toQt(result.message));
}

void CVehicleLogDlg::addEntry(int type) {
    if (!m_vehicleOpen || type < 0 || type >= static_cast<int>(m_editors.size()) ||
        !m_editors[static_cast<std::size_t>(type)])
        return;
    const SessionResult result = m_session.addEntry(type, *m_editors[static_cast<std::size_t>(type)]);
    showResult(result);
    // Whichever way the fuel dialog closed, the economy of the whole log is brought up to date.
    if (type == CDVItem::Fuel)
        recalculate();
}

void CVehicleLogDlg::editEntry(int row) {
    const std::vector<CDVItem*>& rows = ui->entryList->rows();
    if (row < 0 || row >= static_cast<int>(rows.size()))
        return;
    const long index = m_session.doc().indexOf(rows[static_cast<std::size_t>(row)]);
    const int type = rows[static_cast<std::size_t>(row)]->EntryType;
    if (index < 0 || type < 0 || type >= static_cast<int>(m_editors.size()) ||
        !m_editors[static_cast<std::size_t>(type)])
        return;
    showResult(m_session.editEntry(static_cast<std::size_t>(index), *m_editors[static_cast<std::size_t>(type)]));
}

void CVehicleLogDlg::deleteSelectedEntry() {
    int row = ui->entryList->selectedRow();
    CDVItem* entry = ui->entryList->selectedEntry();
    if (row < 0 || !entry)
        return;
    if (m_askDelete) {
        CDeleteConfirmDlg confirm(m_askDelete, this);
        if (CModalRunner::run(confirm) != QDialog::Accepted)
            return;
    }
    const long index = m_session.doc().indexOf(entry);
    if (index < 0)
        return;
    ui->entryList->setRows({});
    const SessionResult result = m_session.deleteEntry(static_cast<std::size_t>(index));
    showResult(result);
    const int count = static_cast<int>(ui->entryList->rows().size());
    if (row >= count)
        row = count - 1;
    if (row >= 0)
        ui->entryList->selectRowAt(row);
}

bool CVehicleLogDlg::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // The verdict is shown again from the last refresh's figures whenever its box is painted.
    if (type == QEvent::Paint && watched == ui->performanceGroup && m_refreshed)
        showPerformance(m_performanceState);
    if (type == QEvent::FocusOut && watched == ui->reminderList)
        saveReminderColumnWidth();
    const bool pointer = type == QEvent::MouseMove || type == QEvent::MouseButtonPress;
    const char* hint = nullptr;
    if (pointer && watched == ui->reminderList->viewport())
        hint = kHintReminders;
    else if (type == QEvent::MouseButtonPress && watched == ui->tabWidget->tabBar())
        hint = kHintTabs;
    else if (type == QEvent::MouseButtonPress && watched == ui->stoplightButton)
        hint = kHintStoplight;
    else if (type == QEvent::FocusIn) {
        if (watched == ui->vehicleCombo)
            hint = kHintVehicle;
        else if (watched == ui->fromDateEdit)
            hint = kHintFrom;
        else if (watched == ui->toDateEdit)
            hint = kHintTo;
        else if (watched == ui->dateRangeCombo)
            hint = kHintRange;
        else if (watched == ui->searchCombo)
            hint = kHintSearch;
    }
    if (hint)
        statusBar()->showMessage(QString::fromLatin1(hint));
    return QMainWindow::eventFilter(watched, event);
}

void CVehicleLogDlg::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_splitApplied)
        return;
    // Sizes exist only once the window is laid out for showing.
    m_splitApplied = true;
    const QList<int> sizes = ui->splitter->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    const int tab = m_tabHeight > 0 ? m_tabHeight : total * 2 / 5;
    ui->splitter->setSizes({tab, std::max(total - tab, 1)});
}

void CVehicleLogDlg::closeEvent(QCloseEvent* event) {
    if (!m_closed) {
        m_closed = true;
        saveOnClose();
    }
    event->accept();
}

void CVehicleLogDlg::putOrWarn(bool ok, const char* failureText) {
    if (!ok)
        CMessageBox::warn(this, QString::fromLatin1(failureText));
}

void CVehicleLogDlg::saveOnClose() {
    CVehicleRegistry registry(m_configFolder);
    if (registry.exists() && !registry.writeDateRange(ui->fromDateEdit->dateTime().toSecsSinceEpoch(),
                                                      ui->toDateEdit->dateTime().toSecsSinceEpoch()))
        CMessageBox::warn(this, tr("The date range could not be saved to\n%1\n(%2).")
                                    .arg(toQt(registry.path()), toQt(registry.lastError())));

    putOrWarn(m_profile.putText(ProfileKeys::Path, m_dataFolder), "Path failed to set");
    putOrWarn(m_profile.putText(ProfileKeys::Backup, m_backupFolder), "Backup Path failed to set");
    putOrWarn(m_profile.putText(ProfileKeys::Config, m_configFolder), "Config Path failed to set");
    putOrWarn(m_profile.putText(ProfileKeys::LastVehicle, m_vehicleName), "Last Vehicle failed to set");

    bool ok = m_profile.putNumber(ProfileKeys::LastView, m_viewMode);
    ok = m_profile.putNumber(ProfileKeys::AskDelete, m_askDelete ? 1 : 0) && ok;
    ok = m_profile.putNumber(ProfileKeys::GraphAnimate, m_animate) && ok;

    const int tab = ui->tabWidget->currentIndex();
    if (tab >= 0 && tab < kTabCount)
        putOrWarn(m_profile.putNumber(ProfileKeys::SelectedTab, tab), "Last Tab failed to set");

    ok = ui->entryList->saveColumnState(m_profile) && ok;
    ok = m_profile.putNumber(kTabHeight, ui->splitter->sizes().value(0)) && ok;
    ok = m_profile.deleteSection(ProfileKeys::SearchItem.section) && ok;
    for (int i = 0; i < ui->searchCombo->count(); ++i)
        ok = m_profile.putText(ProfileKeys::SearchItem, i, fromQt(ui->searchCombo->itemText(i))) && ok;

    WindowPlacement placement;
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    placement.left = normal.left();
    placement.top = normal.top();
    placement.right = normal.left() + normal.width();
    placement.bottom = normal.top() + normal.height();
    if (isMaximized()) {
        placement.flags |= WindowPlacement::kRestoreToMaximized;
        placement.showCmd = WindowPlacement::kShowMaximized;
    } else if (isMinimized()) {
        placement.showCmd = WindowPlacement::kShowMinimized;
    }
    ok = m_profile.putText(ProfileKeys::State, placement.toText()) && ok;
    if (!ok)
        CMessageBox::warn(this, tr("Some settings could not be saved to\n%1\n(%2).\nThey will be back at their "
                                   "previous values next time.")
                                    .arg(toQt(m_profile.file()), toQt(m_profile.lastError())));
}

void CVehicleLogDlg::showAbout() {
    CAboutDlg about(this);
    CModalRunner::run(about);
}

void CVehicleLogDlg::checkForUpdates() {
    if (!CShell::open(QUrl(QString::fromLatin1(kUpdatePage))))
        CMessageBox::warn(this, tr("No web browser could open\n%1\nOpen that page in your browser to look for updates.")
                                    .arg(QString::fromLatin1(kUpdatePage)));
}

void CVehicleLogDlg::openHelp() {
    const QStringList candidates = {
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/odrivo/help/index.html")),
        QStringLiteral(ODRIVO_SOURCE_HELP_FILE)};
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate)) {
            if (!CShell::open(QUrl::fromLocalFile(QFileInfo(candidate).canonicalFilePath())))
                CMessageBox::warn(this, tr("No program could open the help file\n%1").arg(candidate));
            return;
        }
    }
    CMessageBox::warn(this, tr("The help file was not found. Reinstall Odrivo to restore it."));
}

void CVehicleLogDlg::installPpcVersion() {
    // The handheld edition's installer is a Windows program kept in Odrivo's own folder;
    // its old staging files are cleared first so the installer starts from scratch.
    const std::string programFolder = CAppFolders::defaultConfigFolder();
    const std::string staging = programFolder + "PPC/";
    std::error_code ec;
    std::filesystem::remove(staging + "Odrivo.INI", ec);
    std::filesystem::remove(staging + "Odrivo.ppc30_arm.CAB", ec);
    std::filesystem::remove(staging, ec);
    const std::string installer = programFolder + "Setup.exe";
    if (!odrivo::fileExists(installer)) {
        CMessageBox::warn(this, tr("The installer of the Pocket PC edition was not found:\n%1\nCopy Setup.exe from "
                                   "the Pocket PC package into that folder and try again.")
                                    .arg(toQt(installer)));
        return;
    }
    if (!CShell::open(QUrl::fromLocalFile(toQt(installer))))
        CMessageBox::warn(this, tr("No program could start the Pocket PC installer\n%1\nIt needs a program that "
                                   "runs Windows installers.")
                                    .arg(toQt(installer)));
}

void CVehicleLogDlg::addReminderLine(const QString& text, bool reset, int image) {
    const auto insert = [this](const QString& line, int picture) {
        auto* item = new QTreeWidgetItem(QStringList{line});
        item->setIcon(0, QIcon(QStringLiteral(":/reminders/reminder%1.svg").arg(picture)));
        item->setData(0, Qt::UserRole, picture);
        ui->reminderList->insertTopLevelItem(0, item);
    };
    if (text.isEmpty() || reset) {
        ui->reminderList->clear();
        insert(toQt(CReminderCheck::lastBackupText(CBackupSet::lastBackupDate(m_profile))),
               CReminderCheck::kImageLastBackup);
        if (text.isEmpty())
            return;
    }
    insert(text, image);
    fitReminderList();
}

void CVehicleLogDlg::showReminders() {
    const CReminderCheck::ListInputs inputs{m_refresh.totals.latestOdometer, m_session.today(),
                                            CBackupSet::lastBackupDate(m_profile)};
    const CReminderCheck::ReminderList list = CReminderCheck::buildList(m_session.doc().entries(), m_settings, inputs);
    CReminderCheck::storeLastDone(list, m_settings);
    ui->reminderList->clear();
    // The lines come top to bottom; each is put at the top, so they go in from the bottom up.
    for (auto line = list.lines.rbegin(); line != list.lines.rend(); ++line)
        addReminderLine(toQt(line->text), false, line->image);
}

void CVehicleLogDlg::fitReminderList() {
    // The list is kept wide enough for its longest line, so the lines show whole and a
    // horizontal scroll bar would only ever scroll the blank end of the column.
    QTreeWidget* list = ui->reminderList;
    int width = 0;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        width = std::max(width, list->fontMetrics().horizontalAdvance(list->topLevelItem(i)->text(0)));
    width += list->iconSize().width() + 16; // icon spacing and cell margins
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setMinimumWidth(width + 2 * list->frameWidth() + list->verticalScrollBar()->sizeHint().width());
}

QList<std::pair<QString, int>> CVehicleLogDlg::reminderLines() const {
    QList<std::pair<QString, int>> lines;
    for (int i = 0; i < ui->reminderList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ui->reminderList->topLevelItem(i);
        lines.append({item->text(0), item->data(0, Qt::UserRole).toInt()});
    }
    return lines;
}

void CVehicleLogDlg::saveReminderColumnWidth() {
    bool ok = true;
    for (int column = 0; column < ui->reminderList->columnCount(); ++column) {
        const int width = ui->reminderList->columnWidth(column);
        if (width > 0 && m_profile.getNumber(ProfileKeys::ReminderColumnWidth, column) != width)
            ok = m_profile.putNumber(ProfileKeys::ReminderColumnWidth, column, width) && ok;
    }
    if (!ok)
        CMessageBox::warn(this, tr("The reminder list's column width could not be saved to\n%1\n(%2).")
                                    .arg(toQt(m_profile.file()), toQt(m_profile.lastError())));
}

void CVehicleLogDlg::openVehicle(const std::string& name) {
    m_vehicleName = name;
    ui->entryList->setRows({});
    m_vehicleOpen = !name.empty() && loadVehicle(name);
    if (m_vehicleOpen) {
        refresh();
    } else {
        if (name.empty()) {
            ui->vehicleCombo->clear();
        } else {
            const CVehicleRegistry registry(m_configFolder);
            CMessageBox::warn(this,
                              tr("The settings of the vehicle \"%1\" could not be read from\n%2\n(%3).\nCheck that "
                                 "this file exists and can be read, then choose the vehicle again.")
                                  .arg(toQt(name), toQt(registry.path()),
                                       toQt(registry.exists() ? registry.lastError() : "the file does not exist")));
        }
        // The log shown is empty and belongs to no file, so nothing may be saved from it.
        m_settings = VehicleSettings{};
        m_session.doc().clear();
        refresh(Reload::No);
    }
    showTitle(m_vehicleOpen);
    updateCommandStates();
    update();
}

void CVehicleLogDlg::showTitle(bool vehicleShown) {
    setWindowTitle(vehicleShown ? toQt(m_vehicleName) : QString());
}

void CVehicleLogDlg::openDataFile(const std::string& file) {
    const CDataFileOwner::Result owner = CDataFileOwner::find(m_configFolder, m_dataFolder, file);
    if (owner.vehicle.empty()) {
        m_log.write("Open file refused: " + owner.message);
        CMessageBox::warn(this, toQt(owner.message), tr("Open Data File"));
        return;
    }
    openVehicle(owner.vehicle);
}

void CVehicleLogDlg::switchVehicle(int index) {
    if (index < 0 || index >= ui->vehicleCombo->count())
        return;
    // Nothing of the previous vehicle may show through while the next one loads.
    m_settings = VehicleSettings{};
    addReminderLine(QString(), false, 0);
    openVehicle(fromQt(ui->vehicleCombo->itemText(index)));
}

void CVehicleLogDlg::setup() {
    m_graph.animate = m_animate != 0;
    SetupContext context{m_profile,
                         m_log,
                         m_settings,
                         m_dataFolder,
                         m_backupFolder,
                         m_configFolder,
                         m_foldersChanged,
                         m_graph,
                         m_list,
                         m_askDelete,
                         [this] {
                             for (CGraphPage* page : graphPages())
                                 page->applySettings(m_graph);
                             redrawGraphs();
                         },
                         [this] { ui->entryList->applyColours(m_list); }};
    std::vector<std::string> selector;
    for (int i = 0; i < ui->vehicleCombo->count(); ++i)
        selector.push_back(fromQt(ui->vehicleCombo->itemText(i)));
    if (CSetupCommand(context, this).run(selector, std::time(nullptr)))
        ui->entryList->applyAppearance(m_list);

    // The Folders page may have moved the data and the config folder.
    const FolderSettings folders = FolderSettings::read(m_profile);
    m_dataFolder = folders.data;
    m_configFolder = folders.config;
    m_session.setDataFolder(m_dataFolder);
    openVehicle(m_vehicleName);
    std::error_code error;
    if (!std::filesystem::exists(CVehicleLogDoc::dataFilePath(m_dataFolder, m_settings.vin), error) &&
        ui->vehicleCombo->count() > 0) {
        ui->vehicleCombo->setCurrentIndex(0);
        openVehicle(fromQt(ui->vehicleCombo->itemText(0)));
    }
    m_foldersChanged = false;
}

void CVehicleLogDlg::printReport(CReportJob::Kind kind, bool toPdf) {
    const std::vector<CDVItem*>& listed = ui->entryList->rows();
    const CReportJob job(kind, {listed.begin(), listed.end()}, ui->entryList->selectedEntry(), m_viewMode);
    const ReportFacts facts = ReportFacts::gather(m_settings, m_session.doc(), m_refresh, m_locale, std::time(nullptr),
                                                  m_configFolder, kReportLogoResource);
    CReportPrinter printer(this, m_log);
    if (toPdf ? printer.saveAsPdf(job, facts) : printer.print(job, facts))
        statusBar()->showMessage(toPdf ? tr("The report was saved as a PDF file.") : tr("The report was printed."));
}

void CVehicleLogDlg::newVehicle() {
    CNewVehicleDlg dialog(m_configFolder, m_dataFolder, this);
    if (CModalRunner::run(dialog) != CNewVehicleDlg::kSaved)
        return;
    m_session.doc().clear();
    openVehicle(dialog.form().fields().name);
}

void CVehicleLogDlg::deleteVehicle() {
    if (m_vehicleName.empty())
        return;
    if (!CMessageBox::ask(this, QString::fromLatin1(kDeleteVehicleQuestion), QString(), QMessageBox::Warning))
        return;
    CVehicleRegistry registry(m_configFolder);
    if (!registry.removeFromList(m_vehicleName)) {
        CMessageBox::warn(this, tr("The vehicle \"%1\" could not be taken out of the vehicle list in\n%2\n(%3).\nIt "
                                   "is still there. Check that this file can be written, then try again.")
                                    .arg(toQt(m_vehicleName), toQt(registry.path()), toQt(registry.lastError())));
        return;
    }
    m_log.write("Vehicle Deleted :" + std::to_string(m_settings.year) + " " + m_settings.make + " " + m_settings.model +
                "  VIN " + m_settings.vin);
    const std::vector<std::string> names = registry.vehicleNames();
    openVehicle(names.empty() ? std::string() : names.front());
}

void CVehicleLogDlg::backup() {
    CBackupDlg dialog(FolderSettings{m_dataFolder, m_backupFolder, m_configFolder}, m_profile, &m_log, this);
    if (CModalRunner::run(dialog) != 1) {
        m_log.write("Full Backup Failure");
        return;
    }
    m_log.write("Full Backup Completed OK");
    addReminderLine(toQt("Full Backup: " + CBackupSet::lastBackupDate(m_profile)), false,
                    CReminderCheck::kImageLastBackup);
}

void CVehicleLogDlg::restore() {
    CRestoreDlg dialog(FolderSettings{m_dataFolder, m_backupFolder, m_configFolder}, m_profile, &m_log, this);
    if (CModalRunner::run(dialog) != 1) {
        m_log.write("Full Restore Failure");
        return;
    }
    // The vehicle shown stays current when the restored list still holds it; else the list's first.
    const std::vector<std::string> names = CVehicleRegistry(m_configFolder).vehicleNames();
    const std::string shown = fromQt(ui->vehicleCombo->currentText());
    std::string current = names.empty() ? std::string() : names.front();
    if (std::find(names.begin(), names.end(), shown) != names.end())
        current = shown;
    openVehicle(current);
    addReminderLine(toQt("Restore data on: " + CBackupSet::lastRestoreDate(m_profile)), false,
                    CReminderCheck::kImageLastBackup);
}

void CVehicleLogDlg::importEntries() {
    if (!m_vehicleOpen)
        return;
    CImportDlg dialog(m_profile, m_session.dataFilePath(), m_settings, m_locale.dateFormat(), m_session.today(), this);
    // The dialog has saved the imported entries to the data file: reread it and rebuild the view.
    if (CModalRunner::run(dialog) == CImportDlg::kImported)
        refresh();
}

void CVehicleLogDlg::exportEntries() {
    CExportDlg dialog(m_profile, m_session.vin(), this);
    if (CModalRunner::run(dialog) != CExportDlg::kExport) {
        m_log.write("Export Cancelled");
        return;
    }
    m_log.write("Export Completed");
    std::string error;
    // A file that cannot be written ends the export without a message; the reason goes to the log.
    if (!CCsvExport::writeFile(dialog.fileName(), ui->entryList->rows(), m_viewMode, m_locale, &error)) {
        m_log.write("Export failed: " + error);
        return;
    }
    CMessageBox::inform(this, tr("Export to %1 Complete.").arg(toQt(dialog.fileName())), tr("CSV Export"));
}
