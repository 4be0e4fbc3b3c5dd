#include "ui/main/entry_list_model.h"

#include "calc/units.h"
#include "store/vehicle_log_doc.h"
#include "ui/toolkit/qt_text.h"

#include <QDateTime>
#include <array>

namespace {
struct ColumnInfo {
    const char* heading;
    int width;
};

constexpr std::array<ColumnInfo, CEntryListModel::kColumnCount> kColumns = {{
    {"Icon ", 24},          {"Type", 60},        {"Mileage", 80},   {"Date", 80},
    {"Price", 60},          {"Qty", 60},         {"Measure", 40},   {"Economy", 80},
    {"Location", 80},       {"Invoice", 90},     {"Temp", 60},      {"Distance", 60},
    {"Purpose", 90},        {"Destination", 90}, {"Contact", 90},   {"Start Date/Time", 120},
    {"End Date/Time", 120}, {"End Mileage", 80}, {"Duration", 140}, {"Traveled", 80},
    {"Note", 140},
}};

enum Column {
    Type = 1,
    Mileage = 2,
    Date = 3,
    Quantity = 5,
    Measure = 6,
    Economy = 7,
    Location = 8,
    Invoice = 9,
    Note = 20
};
} // namespace

CEntryListModel::CEntryListModel(const CVehicleLogDoc& doc, QObject* parent)
    : QAbstractTableModel(parent), m_doc(doc) {}

int CEntryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_doc.size());
}

int CEntryListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

int CEntryListModel::defaultWidth(int column) {
    return column >= 0 && column < kColumnCount ? kColumns[static_cast<std::size_t>(column)].width : 0;
}

QVariant CEntryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kColumns[static_cast<std::size_t>(section)].heading);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QVariant CEntryListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return cellText(m_doc.at(static_cast<std::size_t>(index.row())), index.column());
    return {};
}

QString CEntryListModel::cellText(const CDVItem& item, int column) const {
    switch (column) {
    case Type:
        if (item.EntryType != CDVItem::Fuel && !item.Entry.empty())
            return toQt(item.Entry);
        return QString::fromLatin1(CDVItem::typeLabel(item.EntryType));
    case Mileage:
        return QString::asprintf("%7.0f", item.Odometer);
    case Date:
        return item.Date == 0
                   ? QString()
                   : QLocale().toString(QDateTime::fromSecsSinceEpoch(item.Date).date(), QLocale::ShortFormat);
    case Quantity:
        return item.EntryType == CDVItem::Fuel ? QString::asprintf("%3.3f", item.Quantity) : QStringLiteral(" ");
    case Measure:
        return item.EntryType == CDVItem::Fuel ? toQt(item.Measure) : QStringLiteral(" ");
    case Economy:
        return item.EntryType == CDVItem::Fuel ? toQt(units::economyText(item.Economy, item.EconomyUnit))
                                               : QStringLiteral(" ");
    case Location:
        return toQt(item.Station);
    case Invoice:
        return toQt(item.Invoice);
    case Note:
        return toQt(item.Note);
    default:
        return {};
    }
}
