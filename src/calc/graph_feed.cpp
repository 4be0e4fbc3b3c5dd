#include "calc/graph_feed.h"

#include "calc/list_appearance.h"
#include "calc/locale_info.h"
#include "store/app_profile.h"
#include "store/vehicle_log_doc.h"

#include <cstdio>

namespace {

int tenfold(double value) {
    return static_cast<int>(value * 10);
}

} // namespace

GraphSettings GraphSettings::read(const CAppProfile& profile) {
    using namespace ProfileKeys;
    GraphSettings s;
    s.graphType = profile.getNumber(GraphType);
    s.barWidth = profile.getNumber(GraphBarWidth);
    s.grid = profile.getNumber(GraphGrid);
    s.showGrid = profile.getNumber(GraphShowGrid) != 0;
    s.labels = profile.getNumber(GraphLabels) != 0;
    s.background = profileColour(profile, GraphBackR, GraphBackG, GraphBackB);
    s.text = profileColour(profile, GraphTextR, GraphTextG, GraphTextB);
    s.data = profileColour(profile, GraphDataR, GraphDataG, GraphDataB);
    s.average = profileColour(profile, GraphAverageR, GraphAverageG, GraphAverageB);
    s.gridColour = profileColour(profile, GraphGridR, GraphGridG, GraphGridB);
    s.selection = profileColour(profile, GraphSelR, GraphSelG, GraphSelB);
    s.animate = profile.getNumber(GraphAnimate) != 0;
    return s;
}

bool GraphSettings::write(CAppProfile& profile) const {
    using namespace ProfileKeys;
    const auto putColour = [&profile](const Rgb& c, const ProfileKey& r, const ProfileKey& g, const ProfileKey& b) {
        return profile.putNumber(r, c.r) && profile.putNumber(g, c.g) && profile.putNumber(b, c.b);
    };
    // One write of the profile: all of it lands, or none.
    return profile.batch([&] {
        return profile.putNumber(GraphLabels, labels ? 1 : 0) && profile.putNumber(GraphShowGrid, showGrid ? 1 : 0) &&
               profile.putNumber(GraphGrid, grid) && profile.putNumber(GraphBarWidth, barWidth) &&
               profile.putNumber(GraphType, graphType) && putColour(background, GraphBackR, GraphBackG, GraphBackB) &&
               putColour(text, GraphTextR, GraphTextG, GraphTextB) &&
               putColour(data, GraphDataR, GraphDataG, GraphDataB) &&
               putColour(average, GraphAverageR, GraphAverageG, GraphAverageB) &&
               putColour(gridColour, GraphGridR, GraphGridG, GraphGridB) &&
               putColour(selection, GraphSelR, GraphSelG, GraphSelB) &&
               profile.putNumber(GraphAnimate, animate ? 1 : 0);
    });
}

void CGraphFeed::setUp(CPushGraphModel& graph, const GraphSettings& settings) const {
    static const char* const kLabels[][2] = {{"40MPG", "10MPG"}, {"5.000", "0.000"}, {"$1.00", "$0.00"}};
    const auto& labels = kLabels[static_cast<int>(m_kind)];
    graph.setInterval(settings.barWidth);
    graph.setGridSize(settings.grid);
    graph.setTopLabel(labels[0]);
    graph.setBottomLabel(labels[1]);
    graph.setShowGrid(settings.showGrid);
    graph.setShowLabels(settings.labels);
    graph.setBackground(settings.background);
    graph.setTextColour(settings.text);
    graph.setGridColour(settings.gridColour);
    graph.addLine(kDataLine, settings.data);
    graph.setBarMode(kDataLine, settings.graphType == 0);
    graph.addLine(kAverageLine, settings.average);
    graph.addLine(kSelectionLine, settings.selection);
    graph.setBarMode(kSelectionLine, true);
}

bool CGraphFeed::hasPoint(Kind kind, const CDVItem& entry) {
    switch (kind) {
    case Kind::Economy:
        return entry.EntryType == CDVItem::Fuel && entry.Economy >= 0;
    case Kind::FuelCost:
        return entry.EntryType == CDVItem::Fuel && entry.UnitPrice > 0;
    case Kind::RepairCost:
        return entry.EntryType == CDVItem::Repair;
    }
    return false;
}

bool CGraphFeed::valueOf(const CDVItem& entry, int& value) const {
    if (!hasPoint(m_kind, entry))
        return false;
    switch (m_kind) {
    case Kind::Economy:
        value = tenfold(entry.Economy);
        break;
    case Kind::FuelCost:
        value = tenfold(entry.UnitPrice);
        break;
    case Kind::RepairCost:
        // A credit note typed as a negative cost draws as a free job.
        value = entry.Cost < 0 ? 0 : tenfold(entry.Cost);
        break;
    }
    return true;
}

void CGraphFeed::pushEntry(CPushGraphModel& graph, const CDVItem& entry, int value, int average, int selectedPosition,
                           int key) const {
    // The selected entry moves to its own line in the selection colour; the data line keeps a
    // stub of 1 so that the gap does not read as a zero.
    const bool selected = entry.DisplayPos == selectedPosition;
    graph.push(selected ? 1 : value, kDataLine);
    graph.push(average, kAverageLine);
    graph.push(selected ? value : 0, kSelectionLine);
    graph.pushKey(key);
}

const CDVItem* CGraphFeed::entryOf(const CVehicleLogDoc& doc, int key) {
    const auto& entries = doc.entries();
    return key >= 0 && static_cast<std::size_t>(key) < entries.size() ? entries[static_cast<std::size_t>(key)].get()
                                                                      : nullptr;
}

std::string CGraphFeed::pointText(const CVehicleLogDoc& doc, int key, const CLocaleInfo& locale) const {
    const CDVItem* entry = entryOf(doc, key);
    int tenfoldValue = 0;
    if (!entry || !valueOf(*entry, tenfoldValue))
        return {};
    // The same precision as the page's MAX, MIN and Current figures.
    char value[64];
    switch (m_kind) {
    case Kind::Economy:
        std::snprintf(value, sizeof value, "%3.2f", entry->Economy);
        break;
    case Kind::FuelCost:
        std::snprintf(value, sizeof value, "%3.3f", entry->UnitPrice);
        break;
    case Kind::RepairCost:
        std::snprintf(value, sizeof value, "%3.2f", entry->Cost);
        break;
    }
    return locale.shortDate(entry->Date) + "  " + value;
}

void CGraphFeed::pushTrailing(CPushGraphModel& graph, int average) {
    graph.push(0, kSelectionLine);
    graph.push(0, kDataLine);
    graph.push(average, kAverageLine);
    graph.update();
}

void CGraphFeed::refill(CPushGraphModel& graph, const CVehicleLogDoc& doc, const CCostStatistics::PageFigures& figures,
                        int selectedPosition) const {
    std::size_t points = 0;
    if (graph.keptPoints() > 0)
        for (const auto& entry : doc.entries())
            points += hasPoint(m_kind, *entry) ? 1 : 0;
    refill(graph, doc, figures, selectedPosition, points);
}

void CGraphFeed::refill(CPushGraphModel& graph, const CVehicleLogDoc& doc, const CCostStatistics::PageFigures& figures,
                        int selectedPosition, std::size_t points) const {
    const bool noEconomy = m_kind == Kind::Economy && figures.maxValue < 0;
    graph.setTopLabel(noEconomy ? CCostStatistics::kNoData : figures.max);

    double m = figures.maxValue;
    if (m <= 0)
        m = m_kind == Kind::Economy ? 1 : 100;
    // The head room above the maximum differs per page; users know their charts by it.
    switch (m_kind) {
    case Kind::Economy:
        graph.setMaximum(static_cast<int>(10 * m + 0.05 * m));
        graph.setRange(0, static_cast<int>(static_cast<int>(m) * 10 + 0.05 * m));
        break;
    case Kind::FuelCost:
        graph.setMaximum(static_cast<int>(m + m / 10));
        if (figures.minValue < m)
            graph.setRange(0, static_cast<int>(10 * m));
        break;
    case Kind::RepairCost: {
        const int top = static_cast<int>(10 * m + 0.05 * m);
        graph.setMaximum(top);
        graph.setRange(0, top);
        break;
    }
    }

    const int average = tenfold(figures.averageValue);
    const auto& entries = doc.entries();
    std::size_t leadIn = kLeadIn;
    std::size_t first = 0;
    // A drawing keeps only the last points of a line, and a large log pushes far more than
    // that: what would scroll out of sight is counted, not pushed.
    if (const std::size_t kept = graph.keptPoints(); kept > 0) {
        const std::size_t stored = graph.storedPoints();
        const std::size_t beforeTrailing = stored + leadIn + points;
        const std::size_t total = beforeTrailing + kTrailing;
        const std::size_t skip = total > kept ? std::min(total - kept, beforeTrailing) : 0;
        graph.skipPoints(skip);
        std::size_t rest = skip - std::min(skip, stored);
        const std::size_t leadInSkipped = std::min(rest, leadIn);
        leadIn -= leadInSkipped;
        rest -= leadInSkipped;
        // The entries to push are the last `points - rest` with a value.
        first = entries.size();
        for (std::size_t wanted = points - rest; wanted > 0 && first > 0;)
            if (hasPoint(m_kind, *entries[--first]))
                --wanted;
    }
    for (std::size_t i = 0; i < leadIn; ++i) {
        graph.push(0, kDataLine);
        graph.push(average, kAverageLine);
        graph.push(0, kSelectionLine);
    }
    for (std::size_t i = first; i < entries.size(); ++i) {
        int value = 0;
        if (valueOf(*entries[i], value))
            pushEntry(graph, *entries[i], value, average, selectedPosition, static_cast<int>(i));
    }
    pushTrailing(graph, average);
    pushTrailing(graph, average);
}

CGraphFeed::Step CGraphFeed::animate(CPushGraphModel& graph, const CVehicleLogDoc& doc,
                                     const CCostStatistics::PageFigures& figures, int selectedPosition, bool checked) {
    const auto& entries = doc.entries();
    if (entries.empty())
        return Step::NoEntries;
    if (!checked)
        return Step::Unchecked;
    const int average = tenfold(figures.averageValue);
    if (!m_positionSet || m_position >= entries.size()) {
        m_position = 0;
        m_positionSet = true;
        pushTrailing(graph, average);
        pushTrailing(graph, average);
    }
    while (m_position < entries.size()) {
        const std::size_t index = m_position++;
        const CDVItem& entry = *entries[index];
        int value = 0;
        if (valueOf(entry, value)) {
            pushEntry(graph, entry, value, average, selectedPosition, static_cast<int>(index));
            graph.update();
            break;
        }
    }
    return Step::Stepped;
}
