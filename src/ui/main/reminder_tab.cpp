#include "ui/main/reminder_tab.h"

#include "store/vehicle_log_doc.h"
#include "ui/toolkit/qt_text.h"
#include "ui_reminder_tab.h"

#include <QColor>
#include <QHeaderView>
#include <QTableWidgetItem>

namespace {

const QColor kCellBackground(192, 192, 192);
const QColor kNormalText(0, 0, 0);
const QColor kOverdueText(190, 0, 0);
const QColor kDueSoonText(255, 255, 4);

QColor textColour(CReminderCheck::Urgency urgency) {
    switch (urgency) {
    case CReminderCheck::Urgency::Overdue:
        return kOverdueText;
    case CReminderCheck::Urgency::DueSoon:
        return kDueSoonText;
    case CReminderCheck::Urgency::Normal:
        break;
    }
    return kNormalText;
}

bool sameRow(const CReminderCheck::TabRow& a, const CReminderCheck::TabRow& b) {
    return a.label == b.label && a.lastOdometer == b.lastOdometer && a.lastDate == b.lastDate &&
           a.dueOdometer == b.dueOdometer && a.dueDate == b.dueDate;
}

bool sameTab(const CReminderCheck::Tab& a, const CReminderCheck::Tab& b) {
    for (std::size_t r = 0; r < a.size(); ++r)
        if (!sameRow(a[r], b[r]))
            return false;
    return true;
}

void showCell(QTableWidgetItem& item, const std::string& text, CReminderCheck::Urgency urgency) {
    item.setText(toQt(text));
    item.setForeground(textColour(urgency));
}

} // namespace

CReminderTab::CReminderTab(const CLocaleInfo& locale, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::CReminderTab>()), m_locale(locale) {
    ui->setupUi(this);
    QTableWidget* table = ui->reminderTable;
    table->setRowCount(CReminderCheck::kKindCount);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Ten rows fit the page without scrolling at the window's usual size.
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    for (int row = 0; row < CReminderCheck::kKindCount; ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled);
            item->setBackground(kCellBackground);
            item->setForeground(kNormalText);
            if (column != kLabelColumn)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(row, column, item);
        }
    }
    showTable(CReminderCheck::blankTab(m_vehicle));
}

CReminderTab::~CReminderTab() = default;

void CReminderTab::setSource(const CVehicleLogDoc* doc, const VehicleSettings& vehicle, double currentOdometer,
                             DVTime today) {
    m_doc = doc;
    m_vehicle = vehicle;
    m_currentOdometer = currentOdometer;
    m_today = today;
    m_stale = true;
}

void CReminderTab::refreshTable() {
    if (!m_stale)
        return;
    m_stale = false;
    // A log that could not be read holds no entries, and no entries leave every value cell blank.
    const CReminderCheck::Tab tab =
        m_doc ? CReminderCheck::buildTab(m_doc->entries(), m_vehicle, m_currentOdometer, m_today, m_locale)
              : CReminderCheck::blankTab(m_vehicle);
    if (!sameTab(tab, m_shown))
        showTable(tab);
}

void CReminderTab::showTable(const CReminderCheck::Tab& tab) {
    for (int row = 0; row < CReminderCheck::kKindCount; ++row) {
        const CReminderCheck::TabRow& r = tab[row];
        cellItem(row, kLabelColumn)->setText(toQt(r.label));
        showCell(*cellItem(row, kLastOdometerColumn), r.lastOdometer.text, r.lastOdometer.urgency);
        showCell(*cellItem(row, kLastDateColumn), r.lastDate.text, r.lastDate.urgency);
        showCell(*cellItem(row, kDueOdometerColumn), r.dueOdometer.text, r.dueOdometer.urgency);
        showCell(*cellItem(row, kDueDateColumn), r.dueDate.text, r.dueDate.urgency);
    }
    m_shown = tab;
}

QTableWidgetItem* CReminderTab::cellItem(int row, int column) {
    return ui->reminderTable->item(row, column);
}

void CReminderTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refreshTable();
}
