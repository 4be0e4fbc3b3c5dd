#include "calc/cost_statistics.h"

#include "calc/units.h"

#include <cstdio>
#include <string_view>

namespace {

template <typename... Args> std::string printed(const char* format, Args... args) {
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, format, args...);
    if (length < 0)
        return {};
    if (static_cast<std::size_t>(length) < sizeof buffer)
        return std::string(buffer, static_cast<std::size_t>(length));
    // Only huge values (a mistyped cost of 1e300, say) get here.
    std::string text(static_cast<std::size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
}

bool isPartialFill(const CDVItem& entry) {
    return entry.PartialFill != 0;
}

// A fuel entry whose Entry text mentions "Trip" counts as a trip on the economy page,
// whatever its type says.
bool readsAsTrip(const CDVItem& entry) {
    return std::string_view(entry.Entry).find("Trip") != std::string_view::npos;
}

const char* distanceUnitText(int distanceUnit) {
    return distanceUnit == units::kKilometres ? "Km." : "Mi.";
}

std::string money(const std::string& symbol, double amount) {
    return printed("%s%-6.2f", symbol.c_str(), amount);
}

std::string distance(double value, const char* unitText) {
    return printed("%-7.0f %s", value, unitText);
}

} // namespace

CCostStatistics::PageFigures CCostStatistics::economyPage(const CVehicleLogDoc& doc, const CLocaleInfo& locale) {
    PageFigures figures;
    const CDVItem* last = nullptr;
    double maxValue = 0;
    double minValue = 0;
    double sum = 0;
    int count = 0;

    for (const auto& item : doc.entries()) {
        const CDVItem& entry = *item;
        if (entry.EntryType != CDVItem::Fuel || readsAsTrip(entry) || !(entry.Economy > 0))
            continue;
        if (last == nullptr || entry.Economy > maxValue) {
            maxValue = entry.Economy;
            figures.max = printed("%3.2f", entry.Economy);
            figures.maxDate = locale.shortDate(entry.Date);
        }
        if (last == nullptr || entry.Economy < minValue) {
            minValue = entry.Economy;
            figures.min = printed("%3.2f", entry.Economy);
            figures.minDate = locale.shortDate(entry.Date);
        }
        // A partial fill stays out of the sum but counts in the divisor, as this average
        // has always been worked out; users compare it from one release to the next.
        if (!isPartialFill(entry))
            sum += entry.Economy;
        ++count;
        last = &entry;
    }

    if (last != nullptr && !isPartialFill(*last)) {
        figures.currentValue = last->Economy;
        figures.current = printed("%3.2f", last->Economy);
    }
    if (count > 0 && sum / count >= 0) {
        figures.averageValue = sum / count;
        figures.average = printed("%3.2f", figures.averageValue);
    }
    figures.maxValue = maxValue;
    figures.minValue = minValue;
    return figures;
}

CCostStatistics::PageFigures CCostStatistics::fuelCostPage(const CVehicleLogDoc& doc, const CLocaleInfo& locale) {
    PageFigures figures;
    const CDVItem* last = nullptr;
    double maxValue = 0;
    double minValue = 0;
    double sum = 0;
    int count = 0;

    for (const auto& item : doc.entries()) {
        const CDVItem& entry = *item;
        if (entry.EntryType != CDVItem::Fuel || !(entry.UnitPrice > 0))
            continue;
        if (entry.UnitPrice > maxValue) {
            maxValue = entry.UnitPrice;
            figures.max = printed("%3.3f", entry.UnitPrice);
            figures.maxDate = locale.shortDate(entry.Date);
        }
        if (last == nullptr || entry.UnitPrice < minValue) {
            minValue = entry.UnitPrice;
            figures.min = printed("%3.3f", entry.UnitPrice);
            figures.minDate = locale.shortDate(entry.Date);
        }
        sum += entry.UnitPrice;
        ++count;
        last = &entry;
    }

    if (last != nullptr) {
        figures.currentValue = last->UnitPrice;
        figures.current = printed("%3.3f", last->UnitPrice);
    }
    if (count > 0 && sum / count >= 0) {
        figures.averageValue = sum / count;
        figures.average = printed("%3.3f", figures.averageValue);
    }
    figures.maxValue = maxValue;
    figures.minValue = minValue;
    return figures;
}

CCostStatistics::PageFigures CCostStatistics::repairCostPage(const CVehicleLogDoc& doc, const CLocaleInfo& locale) {
    PageFigures figures;
    const CDVItem* last = nullptr;
    double maxValue = 0;
    double minValue = 0;
    double sum = 0;
    int count = 0;

    for (const auto& item : doc.entries()) {
        const CDVItem& entry = *item;
        if (entry.EntryType != CDVItem::Repair)
            continue;
        if (entry.Cost > maxValue) {
            maxValue = entry.Cost;
            figures.max = printed("%3.2f", entry.Cost);
            figures.maxDate = locale.shortDate(entry.Date);
        }
        // A free job (cost 0) leaves the minimum at 0, and the next job of any cost then
        // replaces it: MIN is the cheapest paid job since the last free one.
        if (minValue <= 0 || (entry.Cost < minValue && entry.Cost >= 0)) {
            minValue = entry.Cost;
            figures.min = printed("%3.2f", entry.Cost);
            figures.minDate = locale.shortDate(entry.Date);
        }
        sum += entry.Cost;
        ++count;
        last = &entry;
    }

    if (last != nullptr) {
        figures.currentValue = last->Cost;
        figures.current = printed("%3.2f", last->Cost);
    }
    figures.averageValue = (count > 0 && sum > 0) ? sum / count : 0;
    figures.average = printed("%3.2f", figures.averageValue);
    figures.maxValue = maxValue;
    figures.minValue = minValue;
    return figures;
}

CCostStatistics::RunningCost CCostStatistics::runningCost(const RefreshTotals& totals,
                                                          const std::string& currencySymbol, int distanceUnit) {
    const char* unit = distanceUnitText(distanceUnit);
    RunningCost fields;
    fields.fuelTotal = money(currencySymbol, totals.fuelCost);
    fields.repairsTotal = money(currencySymbol, totals.repairCost);
    fields.parkingTotal = money(currencySymbol, totals.tripExpenses);
    fields.distanceTotal = distance(totals.distance, unit);

    // The "> 0" tests are written so that a NaN total (from a damaged entry) shows "No Data" too.
    fields.fuelAverage = (totals.fuelCost > 0 && totals.fuelCount >= 1)
                             ? money(currencySymbol, totals.fuelCost / totals.fuelCount)
                             : kNoData;
    fields.repairsAverage = (totals.repairCost > 0 && totals.repairCount >= 1)
                                ? money(currencySymbol, totals.repairCost / totals.repairCount)
                                : kNoData;
    fields.parkingAverage = (totals.tripExpenses > 0 && totals.tripCount >= 1)
                                ? money(currencySymbol, totals.tripExpenses / totals.tripCount)
                                : kNoData;
    fields.distanceAverage =
        (totals.distance > 0 && totals.entryCount >= 1) ? distance(totals.distance / totals.entryCount, unit) : kNoData;
    fields.runningCost =
        (totals.totalExpenses > 0 && totals.distance > 0)
            ? printed("%s%-6.2f / %s", currencySymbol.c_str(), totals.totalExpenses / totals.distance, unit)
            : kNoData;
    return fields;
}

CCostStatistics::RunningCost CCostStatistics::initialRunningCost() {
    RunningCost fields;
    fields.fuelTotal = fields.repairsTotal = fields.parkingTotal = "0.00";
    fields.fuelAverage = fields.repairsAverage = fields.parkingAverage = "0.00";
    fields.runningCost = "0.00";
    fields.distanceTotal = fields.distanceAverage = "000000.0";
    return fields;
}
