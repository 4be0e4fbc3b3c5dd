#pragma once
// CReportTable places text in the cells of a table on a report page. The table has a heading
// band one row high at its top; cell row 0 lies directly below it. Every row is 1.5 times the
// table's point size high, and the table holds as many rows as fit between the heading band
// and its bottom. A column's left edge is the table's left plus the widths of the columns
// before it. Tables are made and owned by CReportPage::createTable; CReportPage::printCell
// writes into them.

#include "report/drawing_surface.h"

#include <string>
#include <vector>

struct ColumnDescription {
    double width = 0; // inches, or page units when the table is not in inches
    std::string heading;
    int fillStyle = 0; // shading of the column's cells
};

struct TableDescription {
    double top = 0;
    double left = 0;
    double bottom = 0; // 0 or above the top: down to the printable bottom of the page
    double right = 0;  // 0 or left of the left: across to the printable right of the page
    bool inInches = true;
    std::vector<ColumnDescription> columns;
};

class CReportPage;

class CReportTable {
public:
    static constexpr int kCellInset = 2;
    static constexpr int kDefaultPointSize = 10;

    // `rect` and `widths` are in page units; `columns` gives the headings and shading.
    CReportTable(CReportPage& page, const DeviceRect& rect, std::vector<int> widths,
                 std::vector<ColumnDescription> columns);

    const DeviceRect& rect() const { return m_rect; }
    int columnCount() const { return static_cast<int>(m_columns.size()); }
    const ColumnDescription& column(int column) const { return m_columns.at(column); }
    int columnLeft(int column) const;

    int pointSize() const { return m_pointSize; }
    // Row height and count follow the size.
    void setPointSize(int pointSize);
    int rowHeight() const { return m_rowHeight; }
    int rowCount() const;

    // The rectangle text of cell (row, column) is drawn in: the column's span (cut at the
    // table's right) at that row, inset by kCellInset on every side. Row -1 is the heading band.
    DeviceRect cellRect(int row, int column) const;

    // Each heading bold and centred in its column, and a rule under the heading band.
    void drawHeadings();

private:
    CReportPage& m_page;
    DeviceRect m_rect;
    std::vector<int> m_widths;
    std::vector<ColumnDescription> m_columns;
    int m_pointSize = kDefaultPointSize;
    int m_rowHeight = 0;
};
