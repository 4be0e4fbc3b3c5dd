#include "ui/main/entry_list_ctrl.h"

#include "calc/entry_text.h"
#include "calc/list_appearance.h"
#include "calc/locale_info.h"
#include "store/app_profile.h"
#include "store/column_state.h"
#include "ui/main/entry_list_model.h"
#include "ui/toolkit/qt_text.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <string>

static_assert(CEntryListCtrl::kColumnCount == CEntryText::kColumnCount);
static_assert(CEntryListCtrl::kColumnCount == CEntryListModel::kImageCount);

namespace {

// Space around a cell text when a column is fitted to its contents.
constexpr int kFitMargin = 12;

// The picture of each Icon number. Trips reuse pictures: 18 (no arrival yet) is 3, 19
// (arrived) is 2.
constexpr const char* kImageFiles[CEntryListCtrl::kColumnCount] = {
    "fuel_pump",     // 0 fuel
    "wrench",        // 1 repair
    "trip_finished", // 2
    "trip_open",     // 3
    "oil_can",       // 4 oil change
    "spark_plug",    // 5 tune-up
    "gearbox",       // 6 transmission service
    "coolant",       // 7 coolant flush
    // 8..16: the repair dialog's icon buttons Caution, Turn Ahead, Watch, Pilon, Traffic Signal,
    // Calendar, Cars, Check and Wrench
    "caution", "turn_ahead", "watch", "pylon", "traffic_signal", "calendar", "cars", "check", "wrench_orange",
    "tyre_rotation", // 17 tyre rotation
    "trip_open",     // 18 trip without an arrival odometer
    "trip_finished", // 19 trip that arrived
    "unassigned",    // 20
};

// A typical long value of each column, for default widths that show the values whole;
// dates come from the locale.
constexpr const char* kTypicalValues[CEntryListCtrl::kColumnCount] = {"",
                                                                      "Maint.",
                                                                      " 123456",
                                                                      "",
                                                                      "$123.456",
                                                                      "123.456",
                                                                      "Imp. Gallons",
                                                                      "32.45 MPGi",
                                                                      "Main Street Gas",
                                                                      "TC-771204",
                                                                      "-12",
                                                                      " 12345",
                                                                      "Business",
                                                                      "City Office",
                                                                      "J. Smith",
                                                                      "",
                                                                      "",
                                                                      " 123456",
                                                                      "10 Days 02 Hours 30 Min",
                                                                      " 12345",
                                                                      "Oil change"};
constexpr int kDateColumn = 3;
constexpr int kDepartColumn = 15;
constexpr int kArriveColumn = 16;

QColor qtColour(const Rgb& c) {
    return QColor(c.r, c.g, c.b);
}

} // namespace

QFont CEntryListCtrl::listFont(const ListFont& description) {
    QFont font(toQt(description.name));
    font.setStyleHint(QFont::SansSerif);
    // A negative height is the characters' own height, a positive one the whole cell's
    // (characters plus leading), 0 the default size.
    const int height = description.height;
    if (height < 0) {
        font.setPixelSize(-height);
    } else if (height > 0) {
        font.setPixelSize(height);
        const int cell = QFontMetrics(font).height();
        if (cell > height)
            font.setPixelSize(std::max(1, height * height / cell));
    }
    const int weight = description.weight;
    font.setWeight(weight <= 0 ? QFont::Normal : static_cast<QFont::Weight>(std::min(weight, 1000)));
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    switch (description.quality) {
    case 3: // non-antialiased
        font.setStyleStrategy(QFont::NoAntialias);
        break;
    case 4: // antialiased
    case 5: // cleartype
    case 6:
        font.setStyleStrategy(QFont::PreferAntialias);
        break;
    default:
        break;
    }
    return font;
}

namespace {

bool putNumberIfChanged(CAppProfile& profile, const ProfileKey& key, int index, int value) {
    // Saves happen on every loss of focus; rewriting the profile for unchanged widths is waste.
    if (profile.getText(key, index) == std::to_string(value))
        return true;
    return profile.putNumber(key, index, value);
}

} // namespace

CEntryListCtrl::CEntryListCtrl(QWidget* parent) : QTableView(parent), m_model(new CEntryListModel(this)) {
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setWordWrap(false);
    setIconSize(QSize(kImageSize, kImageSize));
    setShowGrid(false);
    verticalHeader()->hide();
    viewport()->setMouseTracking(true);

    // The selection stays as visible while another control has the focus.
    QPalette pal = palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(pal);

    QHeaderView* header = horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::DescendingOrder);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    for (int c = 0; c < kColumnCount; ++c) {
        m_rememberedWidths[static_cast<std::size_t>(c)] = CEntryText::defaultWidth(c);
        header->resizeSection(c, CEntryText::defaultWidth(c));
    }
    // The table's own divider double-click fits to the visible rows only; ours measures every row.
    disconnect(header, &QHeaderView::sectionHandleDoubleClicked, this, nullptr);
    connect(header, &QHeaderView::sectionHandleDoubleClicked, this, &CEntryListCtrl::fitColumnToContents);
    connect(header, &QHeaderView::sectionClicked, this, &CEntryListCtrl::sortRows);
    connect(header, &QHeaderView::customContextMenuRequested, this, &CEntryListCtrl::showColumnMenu);
    connect(header, &QHeaderView::sectionMoved, this, [this] {
        if (!m_arrangingColumns)
            keepHiddenColumnsLast();
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit entryActivated(index.row());
    });
    updateRowHeight();
}

CEntryListCtrl::~CEntryListCtrl() = default;

QIcon CEntryListCtrl::entryIcon(int index) {
    if (index < 0 || index >= kColumnCount)
        return {};
    return QIcon(QStringLiteral(":/icons/entry/%1.svg").arg(QLatin1String(kImageFiles[index])));
}

void CEntryListCtrl::setTextSource(const CEntryText* texts) {
    m_model->setTextSource(texts);
}

void CEntryListCtrl::setRows(std::vector<CDVItem*> rows) {
    const bool hadSelection = selectedRow() >= 0;
    m_model->setRows(std::move(rows));
    // A model reset drops the selection without telling the view.
    if (hadSelection)
        emit selectionChangedTo(-1);
}

const std::vector<CDVItem*>& CEntryListCtrl::rows() const {
    return m_model->rows();
}

int CEntryListCtrl::selectedRow() const {
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

CDVItem* CEntryListCtrl::selectedEntry() const {
    return m_model->entryAt(selectedRow());
}

void CEntryListCtrl::selectRowAt(int row) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void CEntryListCtrl::createColumns(const CAppProfile& profile) {
    QHeaderView* header = horizontalHeader();
    m_arrangingColumns = true;
    for (int c = 0; c < kColumnCount; ++c) {
        header->showSection(c);
        header->moveSection(header->visualIndex(c), c);
        int width = profile.getNumber(ProfileKeys::ColumnWidth, c);
        if (width <= 0)
            width = defaultWidth(c);
        m_rememberedWidths[static_cast<std::size_t>(c)] = width;
        header->resizeSection(c, width);
    }

    std::optional<int> storedCount;
    if (!profile.getText(ProfileKeys::ListColumnCount).empty())
        storedCount = profile.getNumber(ProfileKeys::ListColumnCount);
    const ColumnStateRestore state = ColumnState::restore(
        kColumnCount, storedCount, profile.getBinary(ProfileKeys::ListColumnOrder),
        profile.getBinary(ProfileKeys::ListColumnWidths), profile.getBinary(ProfileKeys::ListColumnVisible));
    if (state.order)
        for (int position = 0; position < kColumnCount; ++position) {
            const int column = (*state.order)[static_cast<std::size_t>(position)];
            header->moveSection(header->visualIndex(column), position);
        }
    if (state.widths)
        for (int c = 0; c < kColumnCount; ++c) {
            // A hidden column is stored with width 0; its remembered width stays.
            const int width = (*state.widths)[static_cast<std::size_t>(c)];
            if (width > 0)
                header->resizeSection(c, width);
        }
    if (state.visible)
        for (int c = 0; c < kColumnCount; ++c)
            header->setSectionHidden(c, (*state.visible)[static_cast<std::size_t>(c)] == 0);
    m_arrangingColumns = false;
    keepHiddenColumnsLast();
}

int CEntryListCtrl::defaultWidth(int column) const {
    if (column < 0 || column >= kColumnCount)
        return 0;
    // A late-December date has the widest digits of the year.
    const CLibcLocale locale;
    const DVTime sample = 1798459200; // 2026-12-28 12:00 UTC
    QString value = QString::fromLatin1(kTypicalValues[column]);
    if (column == kDateColumn)
        value = toQt(locale.shortDate(sample));
    else if (column == kDepartColumn || column == kArriveColumn)
        value = toQt(locale.dateAndTime(sample));
    const QHeaderView* header = horizontalHeader();
    const int headingRoom = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) +
                            header->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header);
    const int heading =
        header->fontMetrics().horizontalAdvance(QString::fromLatin1(CEntryText::heading(column))) + headingRoom;
    const int cell = fontMetrics().horizontalAdvance(value) + kFitMargin + (column == 0 ? kImageSize : 0);
    return std::max({CEntryText::defaultWidth(column), heading, cell});
}

void CEntryListCtrl::applyAppearance(const ListAppearance& appearance) {
    setFont(listFont(appearance.font));
    setShowGrid(appearance.grid);
    applyColours(appearance);
    updateRowHeight();
}

void CEntryListCtrl::applyColours(const ListAppearance& appearance) {
    m_model->setRowColours(appearance.lines, qtColour(appearance.lineColour), qtColour(appearance.fontColour));
}

bool CEntryListCtrl::saveColumnWidths(CAppProfile& profile) const {
    bool ok = true;
    for (int c = 0; c < kColumnCount; ++c) {
        const int width = horizontalHeader()->sectionSize(c);
        if (width > 0)
            ok = putNumberIfChanged(profile, ProfileKeys::ColumnWidth, c, width) && ok;
    }
    return ok;
}

bool CEntryListCtrl::saveColumnState(CAppProfile& profile) const {
    const QHeaderView* header = horizontalHeader();
    ColumnState state;
    for (int i = 0; i < kColumnCount; ++i) {
        state.order.push_back(header->logicalIndex(i));
        state.widths.push_back(header->sectionSize(i));
        state.visible.push_back(header->isSectionHidden(i) ? 0 : 1);
    }
    bool ok = profile.putNumber(ProfileKeys::ListColumnCount, kColumnCount);
    ok = profile.putBinary(ProfileKeys::ListColumnOrder, state.encodedOrder()) && ok;
    ok = profile.putBinary(ProfileKeys::ListColumnWidths, state.encodedWidths()) && ok;
    ok = profile.putBinary(ProfileKeys::ListColumnVisible, state.encodedVisible()) && ok;
    return ok;
}

void CEntryListCtrl::sortRows(int column) {
    if (column < 0 || column >= kColumnCount)
        return;
    const int before = selectedRow();
    m_model->sortRows(column, m_sortDirection);
    horizontalHeader()->setSortIndicator(column, m_sortDirection > 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    m_sortDirection = -m_sortDirection;
    const int after = selectedRow();
    if (after != before)
        emit selectionChangedTo(after);
}

bool CEntryListCtrl::isColumnShown(int column) const {
    return column >= 0 && column < kColumnCount && !horizontalHeader()->isSectionHidden(column);
}

void CEntryListCtrl::setColumnShown(int column, bool shown) {
    if (column < 0 || column >= kColumnCount || shown == isColumnShown(column))
        return;
    QHeaderView* header = horizontalHeader();
    m_arrangingColumns = true;
    if (shown) {
        const int position = std::min(column, shownColumnCount());
        header->moveSection(header->visualIndex(column), position);
        header->showSection(column);
        header->resizeSection(column, m_rememberedWidths[static_cast<std::size_t>(column)]);
    } else {
        // Right behind the last column that stays shown.
        int lastShown = -1;
        for (int position = 0; position < kColumnCount; ++position) {
            const int other = header->logicalIndex(position);
            if (other != column && !header->isSectionHidden(other))
                lastShown = position;
        }
        const int from = header->visualIndex(column);
        if (from < lastShown)
            header->moveSection(from, lastShown);
        header->hideSection(column);
    }
    m_arrangingColumns = false;
}

int CEntryListCtrl::rememberedWidth(int column) const {
    return column >= 0 && column < kColumnCount ? m_rememberedWidths[static_cast<std::size_t>(column)] : 0;
}

void CEntryListCtrl::fitColumnToContents(int column) {
    const QHeaderView* header = horizontalHeader();
    if (column < 0 || column >= kColumnCount)
        return;
    for (int position = header->visualIndex(column); header->isSectionHidden(column);) {
        if (--position < 0)
            return;
        column = header->logicalIndex(position);
    }
    const int rowCount = m_model->rowCount();
    if (rowCount == 0)
        return;
    const QFontMetrics metrics(font());
    int width = 0;
    for (int row = 0; row < rowCount; ++row)
        width = std::max(width, metrics.horizontalAdvance(m_model->cellText(row, column)) + kFitMargin);
    if (column == 0)
        width += kImageSize;
    horizontalHeader()->resizeSection(column, width);
}

std::unique_ptr<QMenu> CEntryListCtrl::createColumnMenu() {
    auto menu = std::make_unique<QMenu>(this);
    const bool lastShown = shownColumnCount() == 1;
    for (int c = 0; c < kColumnCount; ++c) {
        QAction* item = menu->addAction(QString::fromLatin1(CEntryText::heading(c)));
        item->setCheckable(true);
        item->setChecked(isColumnShown(c));
        item->setEnabled(!(lastShown && isColumnShown(c)));
        item->setData(c);
        connect(item, &QAction::triggered, this, [this, c](bool checked) { setColumnShown(c, checked); });
    }
    return menu;
}

void CEntryListCtrl::showColumnMenu(const QPoint& pos) {
    const std::unique_ptr<QMenu> menu = createColumnMenu();
    menu->exec(horizontalHeader()->viewport()->mapToGlobal(pos));
}

int CEntryListCtrl::shownColumnCount() const {
    int count = 0;
    for (int c = 0; c < kColumnCount; ++c)
        count += isColumnShown(c) ? 1 : 0;
    return count;
}

// The header menu's placement rule counts on the hidden columns sitting behind the shown
// ones; a layout read from the profile or a column dragged to the far end can break that.
void CEntryListCtrl::keepHiddenColumnsLast() {
    QHeaderView* header = horizontalHeader();
    std::vector<int> order;
    for (int position = 0; position < kColumnCount; ++position)
        order.push_back(header->logicalIndex(position));
    std::stable_partition(order.begin(), order.end(), [header](int c) { return !header->isSectionHidden(c); });
    m_arrangingColumns = true;
    for (int position = 0; position < kColumnCount; ++position) {
        const int column = order[static_cast<std::size_t>(position)];
        if (header->visualIndex(column) != position)
            header->moveSection(header->visualIndex(column), position);
    }
    m_arrangingColumns = false;
}

void CEntryListCtrl::updateRowHeight() {
    const int height = std::max(fontMetrics().height() + 4, kImageSize + 2);
    verticalHeader()->setMinimumSectionSize(height);
    verticalHeader()->setDefaultSectionSize(height);
    // However small the window, the headings and three rows stay in sight.
    setMinimumHeight(horizontalHeader()->sizeHint().height() + 3 * height + horizontalScrollBar()->sizeHint().height() +
                     2 * frameWidth());
}

void CEntryListCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        emit deleteRequested();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CEntryListCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (indexAt(event->position().toPoint()).isValid())
        emit hintRequested(QString::fromLatin1(kHint));
    QTableView::mouseMoveEvent(event);
}

void CEntryListCtrl::mousePressEvent(QMouseEvent* event) {
    emit hintRequested(QString::fromLatin1(kHint));
    QTableView::mousePressEvent(event);
}

void CEntryListCtrl::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    emit focusLost();
}

void CEntryListCtrl::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QTableView::selectionChanged(selected, deselected);
    emit selectionChangedTo(selectedRow());
}
