#include "report/report_table.h"

#include "report/report_page.h"

#include <algorithm>

CReportTable::CReportTable(CReportPage& page, const DeviceRect& rect, std::vector<int> widths,
                           std::vector<ColumnDescription> columns)
    : m_page(page), m_rect(rect), m_widths(std::move(widths)), m_columns(std::move(columns)) {
    setPointSize(kDefaultPointSize);
}

int CReportTable::columnLeft(int column) const {
    int left = m_rect.left;
    for (int i = 0; i < column && i < static_cast<int>(m_widths.size()); ++i)
        left += m_widths[i];
    return left;
}

void CReportTable::setPointSize(int pointSize) {
    if (pointSize < 1)
        return;
    m_pointSize = pointSize;
    m_rowHeight = m_page.toUnitsY(1.5 * pointSize / 72.0);
}

int CReportTable::rowCount() const {
    if (m_rowHeight <= 0)
        return 0;
    // The first row's height is the heading band.
    return std::max(0, m_rect.height() / m_rowHeight - 1);
}

DeviceRect CReportTable::cellRect(int row, int column) const {
    const int top = m_rect.top + (row + 1) * m_rowHeight;
    const int left = columnLeft(column);
    const int right = std::min(left + m_widths.at(column), m_rect.right);
    return {left + kCellInset, top + kCellInset, right - kCellInset, top + m_rowHeight - kCellInset};
}

void CReportTable::drawHeadings() {
    CReportPage::StateScope scope(
        m_page, reportflags::kBold | reportflags::kCentre | reportflags::kSingleLine | reportflags::kVerticalCentre,
        m_pointSize);
    for (int column = 0; column < columnCount(); ++column)
        m_page.drawTextBox(m_columns[column].heading, cellRect(-1, column), fillstyle::kNone, true);
    const DeviceRect rule =
        m_page.toDevice(DeviceRect{m_rect.left, m_rect.top + m_rowHeight, m_rect.right, m_rect.top + m_rowHeight});
    m_page.m_surface.drawPolyline({{rule.left, rule.top}, {rule.right, rule.bottom}},
                                  {PenStyle::Solid, 1, m_page.m_state.colour});
}
