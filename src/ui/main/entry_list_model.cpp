#include "ui/main/entry_list_model.h"

#include "calc/entry_text.h"
#include "ui/main/entry_list_ctrl.h"
#include "ui/toolkit/qt_text.h"

#include <unordered_map>

namespace {
// Every column is left-aligned; views read the alignment as a plain number.
constexpr int kLeftAligned = static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
} // namespace

CEntryListModel::CEntryListModel(QObject* parent) : QAbstractTableModel(parent) {
    for (int i = 0; i < kImageCount; ++i)
        m_images[static_cast<std::size_t>(i)] = CEntryListCtrl::entryIcon(i);
}

void CEntryListModel::setTextSource(const CEntryText* texts) {
    m_texts = texts;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

void CEntryListModel::setRows(std::vector<CDVItem*> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

CDVItem* CEntryListModel::entryAt(int row) const {
    return row >= 0 && row < rowCount() ? m_rows[static_cast<std::size_t>(row)] : nullptr;
}

void CEntryListModel::sortRows(int column, int direction) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<CDVItem*> before = m_rows;
    CEntryText::sort(m_rows, column, direction);

    std::unordered_map<const CDVItem*, int> newRow;
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        newRow[m_rows[i]] = static_cast<int>(i);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& old : from)
        to.append(index(newRow[before[static_cast<std::size_t>(old.row())]], old.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CEntryListModel::setRowColours(bool shaded, const QColor& shade, const QColor& text) {
    m_shaded = shaded;
    m_shade = shade;
    m_textColour = text;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole});
}

QString CEntryListModel::cellText(int row, int column) const {
    const CDVItem* entry = entryAt(row);
    if (!entry || !m_texts || column <= 0)
        return {};
    return toQt(m_texts->cell(*entry, column));
}

int CEntryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CEntryListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : CEntryText::kColumnCount;
}

QVariant CEntryListModel::data(const QModelIndex& index, int role) const {
    const CDVItem* entry = index.isValid() ? entryAt(index.row()) : nullptr;
    if (!entry)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::DecorationRole:
        if (index.column() == 0 && entry->Icon >= 0 && entry->Icon < kImageCount)
            return m_images[static_cast<std::size_t>(entry->Icon)];
        return {};
    case Qt::TextAlignmentRole:
        return kLeftAligned;
    case Qt::ForegroundRole:
        return m_textColour.isValid() ? QVariant(m_textColour) : QVariant();
    case Qt::BackgroundRole:
        if (!m_shaded)
            return {};
        return index.row() % 2 == 1 ? m_shade : QColor(255, 255, 255);
    default:
        return {};
    }
}

QVariant CEntryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= CEntryText::kColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(CEntryText::heading(section));
    if (role == Qt::TextAlignmentRole)
        return kLeftAligned;
    return {};
}

Qt::ItemFlags CEntryListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
