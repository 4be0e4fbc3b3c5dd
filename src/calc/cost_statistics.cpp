#include "calc/cost_statistics.h"

#include "calc/units.h"

#include <cstdio>
#include <string_view>
#include <utility>

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

namespace {

// One page's figures as a walk over the log gathers them: add...() takes each entry in log
// order, finish...() fills in Current, AVG and the numbers behind MAX and MIN.
using PageWalk = CCostStatistics::GraphWalk::Page;

void finishNumbers(PageWalk& w) {
    w.figures.maxValue = w.maxValue;
    w.figures.minValue = w.minValue;
}

// The page's new MAX or MIN: the value, its text and the entry's date.
void takeMax(PageWalk& w, double value, const char* format, const CDVItem& entry, const CLocaleInfo& locale) {
    w.maxValue = value;
    w.figures.max = printed(format, value);
    w.figures.maxDate = locale.shortDate(entry.Date);
}

void takeMin(PageWalk& w, double value, const char* format, const CDVItem& entry, const CLocaleInfo& locale) {
    w.minValue = value;
    w.figures.min = printed(format, value);
    w.figures.minDate = locale.shortDate(entry.Date);
}

// The entry counts towards AVG with `value` in the sum and is the page's last so far.
void tally(PageWalk& w, const CDVItem& entry, double value) {
    w.sum += value;
    ++w.count;
    w.last = &entry;
}

void takeCurrent(PageWalk& w, double value, const char* format) {
    w.figures.currentValue = value;
    w.figures.current = printed(format, value);
}

// AVG, left at "No Data" while no entry counts or the mean is below 0.
void takeAverage(PageWalk& w, const char* format) {
    if (w.count > 0 && w.sum / w.count >= 0) {
        w.figures.averageValue = w.sum / w.count;
        w.figures.average = printed(format, w.figures.averageValue);
    }
}

void addEconomy(PageWalk& w, const CDVItem& entry, const CLocaleInfo& locale) {
    if (entry.EntryType != CDVItem::Fuel || !(entry.Economy > 0) || readsAsTrip(entry))
        return;
    if (w.last == nullptr || entry.Economy > w.maxValue)
        takeMax(w, entry.Economy, "%3.2f", entry, locale);
    if (w.last == nullptr || entry.Economy < w.minValue)
        takeMin(w, entry.Economy, "%3.2f", entry, locale);
    // A partial fill stays out of the sum but counts in the divisor, as this average
    // has always been worked out; users compare it from one release to the next.
    tally(w, entry, isPartialFill(entry) ? 0.0 : entry.Economy);
}

void finishEconomy(PageWalk& w) {
    if (w.last != nullptr && !isPartialFill(*w.last))
        takeCurrent(w, w.last->Economy, "%3.2f");
    takeAverage(w, "%3.2f");
    finishNumbers(w);
}

void addFuelCost(PageWalk& w, const CDVItem& entry, const CLocaleInfo& locale) {
    if (entry.EntryType != CDVItem::Fuel || !(entry.UnitPrice > 0))
        return;
    if (entry.UnitPrice > w.maxValue)
        takeMax(w, entry.UnitPrice, "%3.3f", entry, locale);
    if (w.last == nullptr || entry.UnitPrice < w.minValue)
        takeMin(w, entry.UnitPrice, "%3.3f", entry, locale);
    tally(w, entry, entry.UnitPrice);
}

void finishFuelCost(PageWalk& w) {
    if (w.last != nullptr)
        takeCurrent(w, w.last->UnitPrice, "%3.3f");
    takeAverage(w, "%3.3f");
    finishNumbers(w);
}

void addRepairCost(PageWalk& w, const CDVItem& entry, const CLocaleInfo& locale) {
    if (entry.EntryType != CDVItem::Repair)
        return;
    if (entry.Cost > w.maxValue)
        takeMax(w, entry.Cost, "%3.2f", entry, locale);
    // A free job (cost 0) leaves the minimum at 0, and the next job of any cost then
    // replaces it: MIN is the cheapest paid job since the last free one.
    if (w.minValue <= 0 || (entry.Cost < w.minValue && entry.Cost >= 0))
        takeMin(w, entry.Cost, "%3.2f", entry, locale);
    tally(w, entry, entry.Cost);
}

void finishRepairCost(PageWalk& w) {
    if (w.last != nullptr)
        takeCurrent(w, w.last->Cost, "%3.2f");
    w.figures.averageValue = (w.count > 0 && w.sum > 0) ? w.sum / w.count : 0;
    w.figures.average = printed("%3.2f", w.figures.averageValue);
    finishNumbers(w);
}

template <typename Add, typename Finish>
CCostStatistics::PageFigures onePage(const CVehicleLogDoc& doc, const CLocaleInfo& locale, Add add, Finish finish) {
    PageWalk w;
    for (const auto& item : doc.entries())
        add(w, *item, locale);
    finish(w);
    return std::move(w.figures);
}

} // namespace

CCostStatistics::PageFigures CCostStatistics::economyPage(const CVehicleLogDoc& doc, const CLocaleInfo& locale) {
    return onePage(doc, locale, addEconomy, finishEconomy);
}

CCostStatistics::PageFigures CCostStatistics::fuelCostPage(const CVehicleLogDoc& doc, const CLocaleInfo& locale) {
    return onePage(doc, locale, addFuelCost, finishFuelCost);
}

CCostStatistics::PageFigures CCostStatistics::repairCostPage(const CVehicleLogDoc& doc, const CLocaleInfo& locale) {
    return onePage(doc, locale, addRepairCost, finishRepairCost);
}

void CCostStatistics::GraphWalk::add(const CDVItem& entry) {
    addEconomy(m_economy, entry, m_locale);
    addFuelCost(m_fuelCost, entry, m_locale);
    addRepairCost(m_repairCost, entry, m_locale);
}

CCostStatistics::GraphFigures CCostStatistics::GraphWalk::finish() {
    finishEconomy(m_economy);
    finishFuelCost(m_fuelCost);
    finishRepairCost(m_repairCost);
    return {std::move(m_economy.figures), std::move(m_fuelCost.figures), std::move(m_repairCost.figures)};
}

CCostStatistics::GraphFigures CCostStatistics::graphPages(const CVehicleLogDoc& doc, const CLocaleInfo& locale) {
    GraphWalk walk(locale);
    for (const auto& item : doc.entries())
        walk.add(*item);
    return walk.finish();
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
