#include "exchange/csv_export.h"

#include "store/file_io.h"
#include "store/text_codec.h"

#include <cstdio>
#include <span>

namespace {

enum class Column {
    Date,
    Odometer,
    Entry,
    Station,
    Quantity,
    Measure,
    UnitPrice,
    Cost,
    Parking,
    Invoice,
    Economy,
    CellTemp,
    Purpose,
    Destination,
    Contact,
    EndOdometer,
    DepartTime,
    ArriveTime,
    Note,
};

struct LayoutColumn {
    const char* heading;
    Column column;
};

// The same value goes under different headings: Entry is "Description" for repairs, the
// station a "Facility" or "Location", the cost "Tolls" on a trip.
constexpr LayoutColumn kFuelLayout[] = {
    {"Date", Column::Date},
    {"Odometer", Column::Odometer},
    {"Entry", Column::Entry},
    {"Station", Column::Station},
    {"Fuel Qty", Column::Quantity},
    {"Measure", Column::Measure},
    {"Fuel Price", Column::UnitPrice},
    {"Invoice", Column::Invoice},
    {"Economy", Column::Economy},
    {"Cell Temp.", Column::CellTemp},
    {"Note", Column::Note},
};

constexpr LayoutColumn kRepairLayout[] = {
    {"Date", Column::Date},        {"Odometer", Column::Odometer}, {"Description", Column::Entry},
    {"Facility", Column::Station}, {"Cost", Column::Cost},         {"Invoice", Column::Invoice},
    {"Note", Column::Note},
};

constexpr LayoutColumn kTripLayout[] = {
    {"Date", Column::Date},
    {"Odometer", Column::Odometer},
    {"Entry", Column::Entry},
    {"Tolls", Column::Cost},
    {"Parking/Expenses", Column::Parking},
    {"Purpose", Column::Purpose},
    {"Destination", Column::Destination},
    {"Contact", Column::Contact},
    {"End Mileage", Column::EndOdometer},
    {"Depart Date/Time", Column::DepartTime},
    {"Arrive Date/Time", Column::ArriveTime},
    {"Note", Column::Note},
};

constexpr LayoutColumn kAnyLayout[] = {
    {"Date", Column::Date},
    {"Odometer", Column::Odometer},
    {"Entry", Column::Entry},
    {"Location", Column::Station},
    {"Fuel Qty", Column::Quantity},
    {"Measure", Column::Measure},
    {"Fuel Price", Column::UnitPrice},
    {"Repairs/Tolls", Column::Cost},
    {"Parking/Expenses", Column::Parking},
    {"Invoice", Column::Invoice},
    {"Economy", Column::Economy},
    {"Cell Temp.", Column::CellTemp},
    {"Purpose", Column::Purpose},
    {"Destination", Column::Destination},
    {"Contact", Column::Contact},
    {"End Mileage", Column::EndOdometer},
    {"Depart Date/Time", Column::DepartTime},
    {"Arrive Date/Time", Column::ArriveTime},
    {"Note", Column::Note},
};

std::span<const LayoutColumn> layout(int viewMode) {
    switch (viewMode) {
    case 0:
        return kFuelLayout;
    case 1:
        return kRepairLayout;
    case 2:
        return kTripLayout;
    default:
        return kAnyLayout;
    }
}

constexpr char kLineEnd[] = "\r\n";
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

template <typename... Args> std::string formatted(const char* format, Args... args) {
    // "%f" of a huge value runs to hundreds of digits, so size the buffer from a dry run.
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0)
        return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
}

// A trip time of 0 was never entered (an open trip has no arrival yet): blank, as the list shows it.
std::string tripTime(const CDVItem& entry, DVTime t, const CLocaleInfo& locale) {
    if (entry.EntryType != CDVItem::Trip || t == 0)
        return " ";
    return locale.shortDate(t) + " " + locale.timeOfDay(t);
}

std::string value(const CDVItem& entry, Column column, const CLocaleInfo& locale) {
    switch (column) {
    case Column::Date:
        return locale.shortDate(entry.Date);
    case Column::Odometer:
        return formatted("%7.0f", entry.Odometer);
    case Column::Entry:
        return odrivo::utf8Prefix(entry.Entry, 20);
    case Column::Station:
        return odrivo::utf8Prefix(entry.Station, 29);
    case Column::Quantity:
        return formatted("%3.3f", entry.Quantity);
    case Column::Measure:
        return entry.Measure;
    case Column::UnitPrice:
        return formatted("%4.3f", entry.UnitPrice);
    case Column::Cost:
        return formatted("%6.2f", entry.Cost);
    case Column::Parking:
        return formatted("%4.2f", entry.Parking);
    case Column::Invoice:
        return entry.Invoice;
    case Column::Economy:
        return formatted("%4.2f", entry.Economy);
    case Column::CellTemp:
        return std::to_string(entry.CellTemp);
    case Column::Purpose:
        return entry.Purpose;
    case Column::Destination:
        return entry.Destination;
    case Column::Contact:
        return entry.Contact;
    case Column::EndOdometer:
        return formatted("%7.0f", entry.EndOdometer);
    case Column::DepartTime:
        return tripTime(entry, entry.DepartTime, locale);
    case Column::ArriveTime:
        return tripTime(entry, entry.ArriveTime, locale);
    case Column::Note:
        return odrivo::utf8Prefix(entry.Note, 60);
    }
    return {};
}

} // namespace

std::string CCsvExport::headerLine(int viewMode) {
    std::string line;
    for (const LayoutColumn& column : layout(viewMode)) {
        line += line.empty() ? "\"" : ",\"";
        line += column.heading;
        line += '"';
    }
    return line;
}

std::string CCsvExport::entryLine(const CDVItem& entry, int viewMode, const CLocaleInfo& locale) {
    // Values are written as they are, quotes and commas included: the format has no escapes.
    std::string line = "\"";
    bool first = true;
    for (const LayoutColumn& column : layout(viewMode)) {
        if (!first)
            line += "\",\"";
        first = false;
        line += value(entry, column.column, locale);
    }
    line += '"';
    return line;
}

std::string CCsvExport::fileBytes(const std::vector<CDVItem*>& rows, int viewMode, const CLocaleInfo& locale) {
    std::string bytes = kByteOrderMark;
    bytes += headerLine(viewMode);
    bytes += kLineEnd;
    for (const CDVItem* entry : rows) {
        bytes += entryLine(*entry, viewMode, locale);
        bytes += kLineEnd;
    }
    return bytes;
}

bool CCsvExport::writeFile(const std::string& path, const std::vector<CDVItem*>& rows, int viewMode,
                           const CLocaleInfo& locale, std::string* error) {
    return odrivo::writeFileAtomically(path, fileBytes(rows, viewMode, locale), error);
}
