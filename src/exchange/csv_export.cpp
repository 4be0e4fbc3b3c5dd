#include "exchange/csv_export.h"

#include "store/file_io.h"
#include "store/text_codec.h"

#include <charconv>
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

// A trip time of 0 was never entered (an open trip has no arrival yet): blank, as the list shows it.
void appendTripTime(std::string& out, const CDVItem& entry, DVTime t, const CLocaleInfo& locale) {
    if (entry.EntryType != CDVItem::Trip || t == 0) {
        out += ' ';
        return;
    }
    out += locale.shortDate(t);
    out += ' ';
    out += locale.timeOfDay(t);
}

void appendValue(std::string& out, const CDVItem& entry, Column column, const CLocaleInfo& locale) {
    switch (column) {
    case Column::Date:
        out += locale.shortDate(entry.Date);
        return;
    case Column::Odometer:
        CCsvExport::appendNumber(out, entry.Odometer, 7, 0);
        return;
    case Column::Entry:
        out += odrivo::utf8Prefix(entry.Entry, 20);
        return;
    case Column::Station:
        out += odrivo::utf8Prefix(entry.Station, 29);
        return;
    case Column::Quantity:
        CCsvExport::appendNumber(out, entry.Quantity, 3, 3);
        return;
    case Column::Measure:
        out += entry.Measure;
        return;
    case Column::UnitPrice:
        CCsvExport::appendNumber(out, entry.UnitPrice, 4, 3);
        return;
    case Column::Cost:
        CCsvExport::appendNumber(out, entry.Cost, 6, 2);
        return;
    case Column::Parking:
        CCsvExport::appendNumber(out, entry.Parking, 4, 2);
        return;
    case Column::Invoice:
        out += entry.Invoice;
        return;
    case Column::Economy:
        CCsvExport::appendNumber(out, entry.Economy, 4, 2);
        return;
    case Column::CellTemp: {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, entry.CellTemp).ptr;
        out.append(digits, static_cast<std::size_t>(end - digits));
        return;
    }
    case Column::Purpose:
        out += entry.Purpose;
        return;
    case Column::Destination:
        out += entry.Destination;
        return;
    case Column::Contact:
        out += entry.Contact;
        return;
    case Column::EndOdometer:
        CCsvExport::appendNumber(out, entry.EndOdometer, 7, 0);
        return;
    case Column::DepartTime:
        appendTripTime(out, entry, entry.DepartTime, locale);
        return;
    case Column::ArriveTime:
        appendTripTime(out, entry, entry.ArriveTime, locale);
        return;
    case Column::Note:
        out += odrivo::utf8Prefix(entry.Note, 60);
        return;
    }
}

void appendEntry(std::string& out, const CDVItem& entry, std::span<const LayoutColumn> columns,
                 const CLocaleInfo& locale) {
    // Values are written as they are, quotes and commas included: the format has no escapes.
    out += '"';
    bool first = true;
    for (const LayoutColumn& column : columns) {
        if (!first)
            out += "\",\"";
        first = false;
        appendValue(out, entry, column.column, locale);
    }
    out += '"';
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

void CCsvExport::appendNumber(std::string& out, double value, int width, int precision) {
    // Fixed notation with a precision is printf's "%f" digit for digit, NaN and infinity
    // included ("nan", "-inf"); only the padding to the width is left to do here. The
    // buffer holds the widest double (309 integer digits) with its sign and up to 80 decimals.
    char text[400];
    const char* const end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, precision).ptr;
    const auto length = static_cast<int>(end - text);
    if (length < width)
        out.append(static_cast<std::size_t>(width - length), ' ');
    out.append(text, static_cast<std::size_t>(end - text));
}

std::string CCsvExport::entryLine(const CDVItem& entry, int viewMode, const CLocaleInfo& locale) {
    std::string line;
    appendEntry(line, entry, layout(viewMode), locale);
    return line;
}

std::string CCsvExport::fileBytes(const std::vector<CDVItem*>& rows, int viewMode, const CLocaleInfo& locale) {
    const std::span<const LayoutColumn> columns = layout(viewMode);
    std::string bytes = kByteOrderMark;
    bytes += headerLine(viewMode);
    bytes += kLineEnd;
    if (rows.empty())
        return bytes;
    // Size the whole file from its first line, with room for longer texts further down, so
    // that the buffer is not copied again and again as it grows.
    const std::size_t head = bytes.size();
    appendEntry(bytes, *rows.front(), columns, locale);
    bytes += kLineEnd;
    const std::size_t firstLine = bytes.size() - head;
    bytes.reserve(head + (firstLine + firstLine / 4) * rows.size());
    for (std::size_t i = 1; i < rows.size(); ++i) {
        appendEntry(bytes, *rows[i], columns, locale);
        bytes += kLineEnd;
    }
    return bytes;
}

bool CCsvExport::writeFile(const std::string& path, const std::vector<CDVItem*>& rows, int viewMode,
                           const CLocaleInfo& locale, std::string* error) {
    return odrivo::writeFileAtomically(path, fileBytes(rows, viewMode, locale), error);
}
