#pragma once
// CReminderTab is the "Reminders" page of the main window's tab strip: a table of the ten
// kinds of scheduled maintenance with the last odometer and date of each and the odometer
// and date at which it falls due, coloured by urgency.
//
// The window hands over its own log after every vehicle load and view refresh (setSource): the
// entries it has just read from the data file, none when the file could not be read, so the
// table then shows blank cells. The table is computed with CReminderCheck::buildTab once per
// hand-over, when the window refreshes the visible page or when the page is next shown;
// painting only draws the cells, and the cells are only touched when the table changed.

#include "calc/reminder_check.h"

#include <QWidget>
#include <memory>

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

    // What the table is computed from; the main window calls it after every vehicle load and view
    // refresh. `doc` is the window's log as last read from the data file (empty when the file could
    // not be read) and must outlive the page; nullptr shows blank cells.
    void setSource(const CVehicleLogDoc* doc, const VehicleSettings& vehicle, double currentOdometer, DVTime today);
    // Computes the table from the source, if it was handed over since the last computation, and
    // shows it; the window calls it after a refresh while the page shows, the page when it is shown.
    void refreshTable();
    // The table last shown (for tests and printing).
    const CReminderCheck::Tab& table() const { return m_shown; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showTable(const CReminderCheck::Tab& tab);
    QTableWidgetItem* cellItem(int row, int column);

    std::unique_ptr<Ui::CReminderTab> ui;
    const CLocaleInfo& m_locale;

    const CVehicleLogDoc* m_doc = nullptr;
    VehicleSettings m_vehicle;
    double m_currentOdometer = 0;
    DVTime m_today = 0;
    // A source was handed over and the table not computed from it yet.
    bool m_stale = false;

    CReminderCheck::Tab m_shown;
};
