#pragma once
// CReminderTab is the "Reminders" page of the main window's tab strip: a table of the ten
// kinds of scheduled maintenance with the last odometer and date of each and the odometer
// and date at which it falls due, coloured by urgency.
//
// The window hands over the source after every vehicle load and view refresh (setSource).
// The page does not use the window's entries: each refresh reads the vehicle's data file
// itself, computes the table with CReminderCheck::buildTab (blankTab when the file cannot be
// read) and shows it. Refreshes come with every showing and every paint of the table, so the
// loaded entries are kept while the file's size and modification time stay the same, and the
// cells are only touched when the computed table differs from the one on screen.

#include "calc/reminder_check.h"

#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class CReminderTab;
}
class QTableWidgetItem;

class CReminderTab : public QWidget {
    Q_OBJECT
public:
    // Columns of the table: the row label, then the four value cells of a TabRow.
    enum Column : int { kLabelColumn, kLastOdometerColumn, kLastDateColumn, kDueOdometerColumn, kDueDateColumn };
    static constexpr int kColumnCount = 5;

    CReminderTab(const CLocaleInfo& locale, QWidget* parent = nullptr);
    ~CReminderTab() override;

    // What the table is computed from; the main window calls it after every vehicle load and view refresh.
    // dataFile is the full path of the vehicle's data file; the tab loads it itself.
    void setSource(const std::string& dataFile, const VehicleSettings& vehicle, double currentOdometer, DVTime today);
    // Loads the data file (reusing the last load while the file's size and modification time are unchanged)
    // and shows the table; called whenever the tab is shown and every time it is painted.
    void refreshTable();
    // The table last shown (for tests and printing).
    const CReminderCheck::Tab& table() const { return m_shown; }
    // How many times the data file was actually read (tests check the cache with it).
    int fileLoads() const { return m_fileLoads; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The last read of the data file and what the file looked like at that time.
    struct LoadedFile {
        bool valid = false;
        std::string path;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified;
        bool readable = false;
    };

    // Brings m_doc up to date with the data file; false when it cannot be read.
    bool loadEntries();
    void showTable(const CReminderCheck::Tab& tab);
    QTableWidgetItem* cellItem(int row, int column);

    std::unique_ptr<Ui::CReminderTab> ui;
    const CLocaleInfo& m_locale;

    std::string m_dataFile;
    VehicleSettings m_vehicle;
    double m_currentOdometer = 0;
    DVTime m_today = 0;

    LoadedFile m_loaded;
    CVehicleLogDoc m_doc;
    int m_fileLoads = 0;

    CReminderCheck::Tab m_shown;
    bool m_refreshing = false;
};
