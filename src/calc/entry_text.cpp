#include "calc/entry_text.h"

#include "calc/units.h"
#include "store/text_codec.h"

#include <algorithm>
#include <array>
#include <cinttypes>
#include <cstdio>
#include <limits>
#include <string_view>
#include <utility>

namespace {

struct ColumnInfo {
    const char* heading;
    int width;
};

constexpr std::array<ColumnInfo, CEntryText::kColumnCount> kColumns = {{
    {"Icon ", 24},          {"Type", 60},        {"Mileage", 80},   {"Date", 80},
    {"Price", 60},          {"Qty", 60},         {"Measure", 40},   {"Economy", 80},
    {"Location", 80},       {"Invoice", 90},     {"Temp", 60},      {"Distance", 60},
    {"Purpose", 90},        {"Destination", 90}, {"Contact", 90},   {"Start Date/Time", 120},
    {"End Date/Time", 120}, {"End Mileage", 80}, {"Duration", 140}, {"Traveled", 80},
    {"Note", 140},
}};

const std::string kBlank = " ";

template <typename... Args> std::string formatted(const char* format, Args... args) {
    // "%f" of a huge value runs to hundreds of digits, so size the buffer from a dry run.
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0)
        return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
}

std::string wholeNumber(double value) {
    return formatted("%7.0f", value);
}

int compareNoCase(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(odrivo::asciiLower(a[i]));
        const auto cb = static_cast<unsigned char>(odrivo::asciiLower(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

// Truncates toward zero; differences beyond int keep their sign, NaN compares equal.
int truncatedDifference(double difference) {
    if (!(difference == difference))
        return 0;
    if (difference >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (difference <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(difference);
}

int timeDifference(DVTime a, DVTime b, int sign) {
    // Times far apart would overflow the subtraction; compare them by order instead.
    if ((a > 0 && b < 0 && a > std::numeric_limits<DVTime>::max() + b) ||
        (a < 0 && b > 0 && a < std::numeric_limits<DVTime>::min() + b))
        return a > b ? sign : -sign;
    return truncatedDifference(static_cast<double>(a - b) * sign);
}

const CDVText* textKey(const CDVItem& item, int column) {
    switch (column) {
    case 0:
    case 1:
        return &item.Entry;
    case 6:
        return &item.Measure;
    case 8:
        return &item.Station;
    case 9:
        return &item.Invoice;
    case 12:
        return &item.Purpose;
    case 13:
        return &item.Destination;
    case 14:
        return &item.Contact;
    case 20:
        return &item.Note;
    default:
        return nullptr;
    }
}

} // namespace

CEntryText::CEntryText(const CLocaleInfo& locale, double costPerMile)
    : m_locale(locale), m_costPerMile(costPerMile), m_listSymbol(locale.currencySymbol(1)),
      m_searchSymbol(locale.currencySymbol(2)) {}

const char* CEntryText::heading(int column) {
    return column >= 0 && column < kColumnCount ? kColumns[static_cast<std::size_t>(column)].heading : "";
}

int CEntryText::defaultWidth(int column) {
    return column >= 0 && column < kColumnCount ? kColumns[static_cast<std::size_t>(column)].width : 0;
}

std::string CEntryText::upperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string CEntryText::durationText(DVTime departTime, DVTime arriveTime) {
    // Unsigned arithmetic gives the length of any span, even one of the whole DVTime range.
    const bool backwards = arriveTime < departTime;
    const std::uint64_t length = backwards
                                     ? static_cast<std::uint64_t>(departTime) - static_cast<std::uint64_t>(arriveTime)
                                     : static_cast<std::uint64_t>(arriveTime) - static_cast<std::uint64_t>(departTime);
    const std::uint64_t days = length / 86400;
    const std::uint64_t hours = length % 86400 / 3600;
    const std::uint64_t minutes = length % 3600 / 60;
    return formatted("%s%" PRIu64 " Days %02" PRIu64 " Hours %02" PRIu64 " Min", backwards ? "-" : "", days, hours,
                     minutes);
}

std::string CEntryText::priceText(const CDVItem& item, const std::string& symbol) const {
    switch (item.EntryType) {
    case CDVItem::Fuel:
        return formatted("%s%3.3f", symbol.c_str(), item.UnitPrice);
    case CDVItem::Repair:
        return formatted("%s%4.2f", symbol.c_str(), item.Cost);
    case CDVItem::Trip: {
        const double claim = (item.EndOdometer - item.Odometer) * m_costPerMile + item.Cost + item.Parking;
        return formatted("%s%4.2f (claim)", symbol.c_str(), claim);
    }
    default:
        return kBlank;
    }
}

std::string CEntryText::dateTimeText(DVTime t) const {
    if (t == 0)
        return {};
    return m_locale.shortDate(t) + " " + m_locale.timeOfDay(t);
}

std::string CEntryText::cell(const CDVItem& item, int column) const {
    const bool fuel = item.EntryType == CDVItem::Fuel;
    const bool trip = item.EntryType == CDVItem::Trip;
    switch (column) {
    case 1:
        if (fuel)
            return "Fuel";
        if (!item.Entry.empty())
            return item.Entry;
        return item.EntryType == CDVItem::Repair || trip ? CDVItem::typeLabel(item.EntryType) : kBlank;
    case 2:
        return wholeNumber(item.Odometer);
    case 3:
        return m_locale.shortDate(item.Date);
    case 4:
        return priceText(item, m_listSymbol);
    case 5:
        return fuel ? formatted("%3.3f", item.Quantity) : kBlank;
    case 6:
        return fuel ? item.Measure.str() : kBlank;
    case 7:
        return fuel ? units::economyText(item.Economy, item.EconomyUnit) : kBlank;
    case 8:
        return item.Station;
    case 9:
        return item.Invoice;
    case 10:
        return fuel ? formatted("%3.1d", item.CellTemp) : kBlank;
    case 11:
        return fuel && item.FuelDistance > 0 ? formatted("%6.0d", item.FuelDistance) : kBlank;
    case 12:
        return trip ? item.Purpose.str() : kBlank;
    case 13:
        return item.Destination;
    case 14:
        return item.Contact;
    case 15:
        return dateTimeText(item.DepartTime);
    case 16:
        return dateTimeText(item.ArriveTime);
    case 17:
        return fuel ? kBlank : wholeNumber(item.EndOdometer);
    case 18:
        return trip ? durationText(item.DepartTime, item.ArriveTime) : kBlank;
    case 19:
        return item.Odometer < item.EndOdometer ? wholeNumber(item.EndOdometer - item.Odometer) : kBlank;
    case 20:
        return item.Note;
    default:
        return {};
    }
}

int CEntryText::compare(const CDVItem& a, const CDVItem& b, int column, int direction) {
    const int sign = direction < 0 ? -1 : 1;
    if (const CDVText* keyA = textKey(a, column))
        return compareNoCase(*keyA, *textKey(b, column)) * sign;

    const auto numeric = [sign](double keyA, double keyB) { return truncatedDifference((keyA - keyB) * sign); };
    switch (column) {
    case 2:
        return numeric(a.Odometer, b.Odometer);
    case 3:
        return timeDifference(a.Date, b.Date, sign);
    case 4:
        return numeric(a.UnitPrice * a.Quantity + a.Cost + a.Parking, b.UnitPrice * b.Quantity + b.Cost + b.Parking);
    case 5:
        return numeric(a.Quantity, b.Quantity);
    case 7:
        return numeric(a.Economy, b.Economy);
    case 10:
        return numeric(a.CellTemp, b.CellTemp);
    case 15:
        return timeDifference(a.DepartTime, b.DepartTime, sign);
    case 16:
        return timeDifference(a.ArriveTime, b.ArriveTime, sign);
    case 17:
        return numeric(a.EndOdometer, b.EndOdometer);
    default:
        return 0;
    }
}

void CEntryText::sort(std::vector<CDVItem*>& rows, int column, int direction) {
    // Bottom-up merge sort: each merge takes from the right run only when its head must
    // come strictly before the left run's head, which keeps equal rows in their order.
    std::vector<CDVItem*> buffer(rows.size());
    for (std::size_t width = 1; width < rows.size(); width *= 2) {
        for (std::size_t start = 0; start < rows.size(); start += 2 * width) {
            const std::size_t middle = std::min(start + width, rows.size());
            const std::size_t end = std::min(start + 2 * width, rows.size());
            std::size_t left = start;
            std::size_t right = middle;
            std::size_t out = start;
            while (left < middle && right < end)
                buffer[out++] =
                    compare(*rows[left], *rows[right], column, direction) > 0 ? rows[right++] : rows[left++];
            while (left < middle)
                buffer[out++] = rows[left++];
            while (right < end)
                buffer[out++] = rows[right++];
        }
        rows.swap(buffer);
    }
}

bool CEntryText::matches(const CDVItem& item, const std::string& upperNeedle) const {
    const auto contains = [&upperNeedle](std::string text) {
        return upperCase(std::move(text)).find(upperNeedle) != std::string::npos;
    };
    for (const CDVText* text : {&item.Note, &item.Measure, &item.Station, &item.Invoice, &item.Purpose,
                                &item.Destination, &item.Contact, &item.Entry})
        if (contains(*text))
            return true;

    const bool fuel = item.EntryType == CDVItem::Fuel;
    const bool trip = item.EntryType == CDVItem::Trip;
    if (contains(wholeNumber(item.Odometer)) || contains(m_locale.shortDate(item.Date)) ||
        contains(priceText(item, m_searchSymbol)))
        return true;
    if (contains(fuel ? formatted("%3.3f", item.Quantity) : kBlank) ||
        contains(fuel ? units::economyText(item.Economy, item.EconomyUnit) : kBlank) ||
        contains(fuel ? formatted("%3.1d", item.CellTemp) : kBlank))
        return true;
    if ((item.DepartTime != 0 && contains(dateTimeText(item.DepartTime))) ||
        (item.ArriveTime != 0 && contains(dateTimeText(item.ArriveTime))))
        return true;
    if (contains(wholeNumber(item.EndOdometer)) ||
        contains(trip ? durationText(item.DepartTime, item.ArriveTime) : kBlank))
        return true;
    return contains(item.Odometer < item.EndOdometer ? wholeNumber(item.EndOdometer - item.Odometer) : kBlank);
}
