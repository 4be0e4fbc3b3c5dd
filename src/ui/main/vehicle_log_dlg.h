#pragma once
// CVehicleLogDlg is Odrivo's main window. It owns, for the whole run, the selected
// vehicle's log (through CLogSession), the three folders, the activity log and the
// settings read from the per-user profile. initialize() runs the start-up steps in
// order (folders, flags, splash, last vehicle, tabs, placement); closing writes the
// date range, folders, selections and placement back. Every change to the log is
// saved at once and followed by a reload, so the list always equals the file.

#include "calc/economy_calculator.h"
#include "calc/graph_feed.h"
#include "calc/list_appearance.h"
#include "calc/locale_info.h"
#include "calc/performance_watch.h"
#include "calc/view_refresh.h"
#include "report/report_job.h"
#include "store/activity_log.h"
#include "store/app_profile.h"
#include "store/log_session.h"
#include "store/vehicle_settings.h"
#include "ui/entry/entry_context.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <map>
#include <memory>

namespace Ui {
class CVehicleLogDlg;
}
class CEntryText;
class CGraphPage;
class CEconomyTab;
class CFuelCostTab;
class CRunningCostTab;
class CTotalCostTab;
class CReminderTab;
class QAction;
class QLabel;

class CVehicleLogDlg : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kUpdatePage = "https://www.odrivo.org/updates";

    CVehicleLogDlg(CAppProfile& profile, CActivityLog& log, QWidget* parent = nullptr);
    ~CVehicleLogDlg() override;

    // The start-up steps; shows the splash dialog when the profile asks for it and
    // restores the window's placement. The caller shows the window afterwards.
    void initialize();
    // Shows the window as the restored placement says (maximised, minimised or normal).
    void showPlaced();

    // The dialog that edits entries of a type (0 fuel, 1 repair, 2 trip). The add
    // command of a type stays disabled until its editor is set.
    void setEntryEditor(int type, CEntryEditor* editor);

    // The commands, by number (either number of a two-number command).
    QAction* action(int commandId) const;

    void addEntry(int type);
    // Opens the entry shown in list row `row` in its dialog.
    void editEntry(int row);
    void deleteSelectedEntry();
    void search();
    // The last refresh: the rows it let through, its totals and the performance inputs.
    const CViewRefresh::Result& lastRefresh() const { return m_refresh; }

    // Tools > Recalculate: the economy of every fuel entry, then save and reload.
    void recalculate();

    // Shows the vehicle whose data file is `file` (a file given on the command line); a file
    // no vehicle uses leaves the vehicle shown and says why.
    void openDataFile(const std::string& file);

    // The vehicle commands: switch to the selector's entry `index`, File > New, File > Delete.
    void switchVehicle(int index);
    void newVehicle();
    void deleteVehicle();
    // File > Import: the CSV import dialog; after an import the log is reread and the view rebuilt.
    void importEntries();
    // File > Export: the rows the list shows, in its order and the view's layout, to a CSV file.
    void exportEntries();
    // Tools > Setup: the setup sheet, then the fonts, graph settings and vehicle are kept and
    // the vehicle is loaded again from the folders the sheet left.
    void setup();
    // File > Print Reports: the report of this kind on the printer, or as a PDF file.
    void printReport(CReportJob::Kind kind, bool toPdf);
    // File > Backup and File > Restore.
    void backup();
    void restore();

    // The reminder list, top to bottom, as text and image index.
    QList<std::pair<QString, int>> reminderLines() const;

    // What an entry dialog reads besides its record, as of the last refresh.
    EntryContext entryContext();

    CLogSession& session() { return m_session; }
    const VehicleSettings& vehicleSettings() const { return m_settings; }
    const std::string& vehicleName() const { return m_vehicleName; }
    const std::string& dataFolder() const { return m_dataFolder; }
    const std::string& backupFolder() const { return m_backupFolder; }
    const std::string& configFolder() const { return m_configFolder; }
    int viewMode() const { return m_viewMode; }
    bool splashEnabled() const { return m_splash; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // The first show splits the height between the tab area and the list.
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void readFolders();
    void readFlags();
    void applyFonts();
    void fillDateRange();
    void loadSearchHistory();
    void showSplash();
    void applyViewMode();
    void installOnFirstStart();
    void loadLastVehicle();
    // Fills the selector from the registry and loads the vehicle's settings; false without a registry.
    bool loadVehicle(const std::string& name);
    static CEconomyCalculator::Settings economySettings(const VehicleSettings& vehicle);
    void createTabs();
    // Hands the selected entry's display position to the graph pages and redraws them.
    void followSelection();
    void redrawGraphs();
    // Selects the entry's row in the list, as a click on its point in a chart asks.
    void selectEntry(const CDVItem* entry);
    std::array<CGraphPage*, 3> graphPages() const;
    void restorePlacement();
    enum class Reload { No, Yes };
    // Reloads the log (unless the caller just did), then rebuilds the rows, figures and verdict.
    void refresh(Reload reload = Reload::Yes);
    void connectFilters();
    void setViewMode(int mode);
    void dateRangeChanged();
    void enableDatePickers();
    void showTotals();
    // The economy page's current and average values in the status bar's two panes.
    void showEconomyPanes();
    void showPerformance(CPerformanceWatch::State state);
    void showResult(const SessionResult& result);
    // Rebuilds the reminder list from the log and stores the last-done pairs in m_settings.
    void showReminders();
    // Inserts a line at the top of the reminder list. Empty text clears the list down to its
    // last-backup line; `reset` does that before inserting the text.
    void addReminderLine(const QString& text, bool reset, int image);
    void saveReminderColumnWidth();
    void fitReminderList();
    // Makes `name` the current vehicle: loads its settings and log and rebuilds every view.
    void openVehicle(const std::string& name);
    void updateCommandStates();
    // The title names the vehicle shown; the desktop adds the program's name after it.
    void showTitle(bool vehicleShown);
    void saveOnClose();
    void putOrWarn(bool ok, const char* failureText);

    void openHelp();
    void checkForUpdates();
    void installPpcVersion();
    void showAbout();

    std::unique_ptr<Ui::CVehicleLogDlg> ui;
    CAppProfile& m_profile;
    CActivityLog& m_log;
    CLogSession m_session;
    CLibcLocale m_locale;
    std::unique_ptr<CEntryText> m_texts;
    CViewRefresh m_view;
    CViewRefresh::Result m_refresh;
    CPerformanceWatch::State m_performanceState = CPerformanceWatch::State::Startup;
    int m_shownPerformance = -1;
    bool m_refreshed = false;
    QString m_appliedRange;
    CEconomyTab* m_economyTab = nullptr;
    CFuelCostTab* m_fuelCostTab = nullptr;
    CRunningCostTab* m_repairCostTab = nullptr;
    CTotalCostTab* m_totalCostTab = nullptr;
    CReminderTab* m_reminderTab = nullptr;
    std::map<int, QAction*> m_actions;
    std::array<CEntryEditor*, 3> m_editors{};
    QLabel* m_statusPane1 = nullptr;
    QLabel* m_statusPane2 = nullptr;

    std::string m_dataFolder;
    std::string m_backupFolder;
    std::string m_configFolder;
    std::string m_vehicleName;
    // False while the log shown belongs to no vehicle's data file (none left, or unreadable settings).
    bool m_vehicleOpen = true;
    VehicleSettings m_settings;
    ListAppearance m_list;
    GraphSettings m_graph;
    // Set by the setup's Folders page; the vehicle list may then be another file.
    bool m_foldersChanged = false;
    bool m_askDelete = true;
    bool m_firstStart = false; // no profile and an empty default config folder at start-up
    int m_viewMode = 0;
    bool m_splash = true;
    int m_animate = 0;
    unsigned m_showCmd = 1;
    bool m_closed = false;
    int m_tabHeight = 0;
    bool m_splitApplied = false;
};
