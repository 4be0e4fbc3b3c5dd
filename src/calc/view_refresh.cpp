#include "calc/view_refresh.h"

#include "calc/graph_feed.h"

#include <cstdint>
#include <limits>

namespace {

constexpr DVTime kDay = 24 * 60 * 60;

enum class Range { Off, ThisWeek, ThisMonth, ThisYear, LastWeek, LastMonth, LastYear, SelectDates, Unknown };

// The items as the selector lists them, and the range each one names.
constexpr std::array<const char*, 8> kRangeTexts = {"View Filter Off", "This Week",  "This Month", "This Year",
                                                    "Last Week",       "Last Month", "Last Year",  "Select Dates"};
constexpr std::array<Range, 8> kRanges = {Range::Off,      Range::ThisWeek,  Range::ThisMonth, Range::ThisYear,
                                          Range::LastWeek, Range::LastMonth, Range::LastYear,  Range::SelectDates};

bool localParts(DVTime t, std::tm& parts) {
    const auto seconds = static_cast<std::time_t>(t);
    return ::localtime_r(&seconds, &parts) != nullptr;
}

// The date range test with everything about `now` worked out once, for a pass over a log.
class DateRangeTest {
public:
    DateRangeTest(std::string_view text, std::time_t now, DVTime from, DVTime to)
        : m_range(Range::Unknown), m_now(now), m_from(from), m_to(to) {
        for (std::size_t i = 0; i < kRangeTexts.size(); ++i)
            if (text == kRangeTexts[i])
                m_range = kRanges[i];
        if (!localParts(now, m_nowParts))
            m_range = Range::Unknown;
        // Weekday 1 for Sunday up to 7 for Saturday.
        m_weekday = m_nowParts.tm_wday + 1;
    }

    bool contains(DVTime t) const {
        std::tm parts{};
        switch (m_range) {
        case Range::Off:
            return true;
        case Range::ThisWeek:
            return m_now - m_weekday * kDay <= t && t <= m_now;
        case Range::LastWeek:
            return m_now - (m_weekday + 7) * kDay <= t && t <= m_now - m_weekday * kDay;
        case Range::ThisMonth:
            return localParts(t, parts) && parts.tm_mon == m_nowParts.tm_mon && parts.tm_year == m_nowParts.tm_year;
        case Range::ThisYear:
            return localParts(t, parts) && parts.tm_year == m_nowParts.tm_year;
        case Range::LastMonth:
            if (!localParts(t, parts))
                return false;
            return (parts.tm_mon == m_nowParts.tm_mon - 1 && parts.tm_year == m_nowParts.tm_year) ||
                   (m_nowParts.tm_mon == 0 && parts.tm_mon == 11 && parts.tm_year == m_nowParts.tm_year - 1);
        case Range::LastYear:
            return localParts(t, parts) && parts.tm_year == m_nowParts.tm_year - 1;
        case Range::SelectDates:
            return m_from <= t && t <= m_to;
        case Range::Unknown:
            break;
        }
        return false;
    }

private:
    Range m_range;
    DVTime m_now;
    DVTime m_from;
    DVTime m_to;
    std::tm m_nowParts{};
    DVTime m_weekday = 1;
};

std::int32_t truncatedDistance(double difference) {
    if (!(difference == difference))
        return 0;
    if (difference >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (difference <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(difference);
}

bool showsType(int viewMode, std::int32_t entryType) {
    return viewMode == 3 || viewMode == entryType;
}

} // namespace

const std::array<const char*, 8>& CViewRefresh::dateRanges() {
    return kRangeTexts;
}

bool CViewRefresh::inDateRange(std::string_view range, DVTime t, std::time_t now, DVTime from, DVTime to) {
    return DateRangeTest(range, now, from, to).contains(t);
}

CViewRefresh::Result CViewRefresh::run(CVehicleLogDoc& doc, const Filter& filter, std::time_t now,
                                       CCostStatistics::GraphWalk* figures) {
    Result result;
    result.rows.reserve(doc.size());
    RefreshTotals& totals = result.totals;
    PerformanceInputs& performance = result.performance;
    const DateRangeTest inRange(filter.dateRange, now, filter.from, filter.to);
    bool anyInRange = false;
    bool anyFuel = false;
    double firstRowOdometer = 0;

    std::int32_t position = 0;
    for (const auto& entry : doc.entries()) {
        CDVItem& item = *entry;
        if (figures)
            figures->add(item);
        item.DisplayPos = position++;
        if (item.Entry.starts_with("Trip"))
            item.EntryType = CDVItem::Trip;
        for (std::size_t k = 0; k < result.chartPoints.size(); ++k)
            result.chartPoints[k] += CGraphFeed::hasPoint(static_cast<CGraphFeed::Kind>(k), item) ? 1 : 0;

        const bool known =
            item.EntryType == CDVItem::Fuel || item.EntryType == CDVItem::Repair || item.EntryType == CDVItem::Trip;
        if (!known || !inRange.contains(item.Date))
            continue;

        switch (item.EntryType) {
        case CDVItem::Fuel:
            ++totals.fuelCount;
            totals.fuelQuantity += item.Quantity;
            totals.fuelCost += item.UnitPrice * item.Quantity;
            // The first fill of a pass has no previous fill, whatever an earlier pass left.
            item.FuelDistance = anyFuel ? truncatedDistance(item.Odometer - m_previousFuelOdometer) : 0;
            anyFuel = true;
            m_previousFuelOdometer = item.Odometer;
            if (item.Economy > 0 && item.PartialFill == 0) {
                ++performance.qualifying;
                performance.current = item.Economy;
            }
            break;
        case CDVItem::Repair:
            ++totals.repairCount;
            totals.repairCost += item.Cost;
            break;
        default:
            ++totals.tripCount;
            totals.tripExpenses += item.Cost + item.Parking;
            break;
        }

        if (item.Odometer > totals.latestOdometer)
            totals.latestOdometer = item.Odometer;
        if (item.EndOdometer > 0 && item.EndOdometer > item.Odometer && item.EndOdometer > totals.latestOdometer)
            totals.latestOdometer = item.EndOdometer;

        if (!anyInRange)
            performance.firstOdometer = item.Odometer;
        performance.lastOdometer = item.Odometer;
        anyInRange = true;

        if (showsType(filter.viewMode, item.EntryType)) {
            if (result.rows.empty())
                firstRowOdometer = item.Odometer;
            result.rows.push_back(&item);
        }
    }

    performance.totalFuel = totals.fuelQuantity;
    totals.totalExpenses = totals.fuelCost + totals.repairCost + totals.tripExpenses;
    totals.distance = totals.latestOdometer - firstRowOdometer;
    totals.entryCount = static_cast<int>(doc.size());
    return result;
}

std::vector<CDVItem*> CViewRefresh::search(CVehicleLogDoc& doc, const std::string& text, const CEntryText& texts) {
    const std::string needle = CEntryText::upperCase(text);
    std::vector<CDVItem*> rows;
    for (const auto& entry : doc.entries())
        if (texts.matches(*entry, needle))
            rows.push_back(entry.get());
    return rows;
}
