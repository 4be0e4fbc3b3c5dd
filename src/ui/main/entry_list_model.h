#pragma once
// CEntryListModel is the table behind the main window's entry list (CEntryListCtrl): one row
// per log entry the current view lets through, 21 columns. The rows are pointers into the
// vehicle's entry list, which the window owns; the model never copies or frees an entry.
// Cell texts and the sort order come from CEntryText, asked for each cell when the view
// paints it; the row image is the entry's Icon number, the row colours the list's appearance
// settings. Sorting reorders the rows here only, never the vehicle's entries.

#include <QAbstractTableModel>
#include <QColor>
#include <QIcon>
#include <array>
#include <vector>

class CDVItem;
class CEntryText;

class CEntryListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kImageCount = 21;

    explicit CEntryListModel(QObject* parent = nullptr);

    // Where cell texts come from; nullptr shows empty cells. Not owned.
    void setTextSource(const CEntryText* texts);

    // Replaces every row. The entries must outlive their rows and be distinct.
    void setRows(std::vector<CDVItem*> rows);
    const std::vector<CDVItem*>& rows() const { return m_rows; }
    // The entry shown in a row; nullptr outside the rows.
    CDVItem* entryAt(int row) const;

    // Stable sort of the rows by a column's key, +1 ascending or -1 descending. Selections
    // and other persistent indexes follow their entries.
    void sortRows(int column, int direction);

    // Text colour of every row; with `shaded`, odd rows get `shade` and even rows white,
    // otherwise the view's own background shows.
    void setRowColours(bool shaded, const QColor& shade, const QColor& text);

    // The text a cell shows (column 0 shows only its image, so its text is empty).
    QString cellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<CDVItem*> m_rows;
    const CEntryText* m_texts = nullptr;
    std::array<QIcon, kImageCount> m_images;
    bool m_shaded = false;
    QColor m_shade;
    QColor m_textColour;
};
