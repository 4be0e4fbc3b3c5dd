#pragma once
// CEntryListCtrl is the main window's entry list: a read-only table with one row per log
// entry (full-row, single selection), backed by its own CEntryListModel. The window hands
// it the rows to show (setRows) and the CEntryText that turns entries into cell texts; the
// list never owns an entry. It reacts to the user on its own: a header click sorts the rows
// (one direction flag shared by all columns, flipping after every sort), a header
// right-click offers to hide or show columns, a double-click on a header divider fits the
// column to its texts. What the window must act on comes out as signals: a double-clicked
// row, the Delete key, a status-bar hint, a new selection, the loss of the focus.
//
// The column layout lives in the user's profile: createColumns() reads the widths
// (ListAttributes) and the order, widths and visibility of the last run (ListState);
// saveColumnWidths() and saveColumnState() write them back. Every column remembers the
// width it was created with and gets it back when it is shown again after being hidden.
// A hidden column always sits behind the shown ones in the header order.

#include <QIcon>
#include <QTableView>
#include <array>
#include <memory>
#include <vector>

class CAppProfile;
struct ListAppearance;
struct ListFont;
class CDVItem;
class CEntryListModel;
class CEntryText;
class QMenu;

class CEntryListCtrl : public QTableView {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 21;
    static constexpr int kImageSize = 16;
    static constexpr const char* kHint = "Hit delete key to delete selected entry, double click to view or edit";

    // Owns its model; do not call setModel() on this view.
    explicit CEntryListCtrl(QWidget* parent = nullptr);
    ~CEntryListCtrl() override;

    // The picture for an entry's Icon number, 0..20 (also used by the entry dialogs); a null
    // icon outside that range.
    static QIcon entryIcon(int index);

    // Where cell texts come from; must outlive the list or be replaced first. Not owned.
    void setTextSource(const CEntryText* texts);

    // Clears the list and shows these entries in this order. A selection is dropped, and
    // selectionChangedTo(-1) tells so.
    void setRows(std::vector<CDVItem*> rows);
    const std::vector<CDVItem*>& rows() const;
    // The selected row, or -1; its entry, or nullptr.
    int selectedRow() const;
    CDVItem* selectedEntry() const;
    // Selects a row and scrolls it into view; a row outside the list is ignored.
    void selectRowAt(int row);

    // Start-up: the column widths from ListAttributes ("ColNumber%d"; the default width when
    // absent or not positive), then the layout of the last run from ListState, applied as
    // far as it fits this list.
    // Call after applyAppearance(): default widths are measured in the list's font.
    void createColumns(const CAppProfile& profile);
    // The font, grid lines and row colours.
    void applyAppearance(const ListAppearance& appearance);
    // Only the shading and the two colours (they change while the setup sheet is open).
    void applyColours(const ListAppearance& appearance);
    static QFont listFont(const ListFont& description);
    // Writes the width of every shown column to ListAttributes; call when the list loses
    // the focus (focusLost()). False when the profile could not be written.
    bool saveColumnWidths(CAppProfile& profile) const;
    // Writes the column count, header order, widths and visibility to ListState; call when
    // the window closes. False when the profile could not be written.
    bool saveColumnState(CAppProfile& profile) const;

    // Sorts the rows by a column in the current direction, then flips the direction (the
    // header click).
    void sortRows(int column);
    // +1 ascending or -1 descending: the direction of the next sort. Starts descending.
    int sortDirection() const { return m_sortDirection; }

    bool isColumnShown(int column) const;
    // Hiding moves the column behind the shown ones; showing puts it back at its index (but
    // not behind the shown columns) with its remembered width.
    void setColumnShown(int column, bool shown);
    int rememberedWidth(int column) const;
    // The width a column gets when the profile has none: its heading and a typical long value
    // in the list's font fit, and never less than the classic width.
    int defaultWidth(int column) const;
    // The widest cell text of the column plus a margin (and the image for column 0); for a
    // hidden column, the nearest shown column before it in the header order. Does nothing
    // while the list is empty.
    void fitColumnToContents(int column);
    // The header menu: one checkable item per column, in column order. The item of the only
    // column still shown is disabled, so that the header never vanishes.
    std::unique_ptr<QMenu> createColumnMenu();

signals:
    void entryActivated(int row);
    void deleteRequested();
    void hintRequested(const QString& text);
    void selectionChangedTo(int row);
    void focusLost();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    void showColumnMenu(const QPoint& pos);
    int shownColumnCount() const;
    void keepHiddenColumnsLast();
    void updateRowHeight();

    CEntryListModel* m_model = nullptr;
    std::array<int, kColumnCount> m_rememberedWidths{};
    int m_sortDirection = -1;
    bool m_arrangingColumns = false;
};
