#pragma once
// CGraphFeed fills the chart of one graph page from the vehicle's log: the chart set-up
// from the graph settings, the refill at every paint (label, range, a run of empty points
// in front, one point per entry with the selected entry on a line of its own, and two
// empty points behind; of a long log only what the drawing keeps, once it has said how
// much) and the animation, which replays the log one entry per tick.

#include "calc/cost_statistics.h"
#include "calc/push_graph_model.h"

#include <cstddef>

#include <string>

class CAppProfile;
class CLocaleInfo;
class CVehicleLogDoc;
class CDVItem;

// The graph settings of the profile, as the pages apply them when they are created.
struct GraphSettings {
    int graphType = 0; // 0 draws the data as bars, 1 as a line
    int barWidth = 5;
    int grid = 5;
    bool showGrid = true;
    bool labels = true;
    Rgb background{219, 219, 219};
    Rgb text{0, 0, 255};
    Rgb data{210, 180, 140};
    Rgb average{255, 255, 0};
    Rgb gridColour{187, 187, 193};
    Rgb selection{255, 0, 0};
    bool animate = false;

    static GraphSettings read(const CAppProfile& profile);
    // Writes every key of the Graphs section; stops at the first write that fails.
    bool write(CAppProfile& profile) const;
    bool operator==(const GraphSettings&) const = default;
};

class CGraphFeed {
public:
    enum class Kind { Economy, FuelCost, RepairCost };
    // The chart's lines.
    static constexpr int kDataLine = 0;
    static constexpr int kAverageLine = 1;
    static constexpr int kSelectionLine = 2;
    // Empty points pushed before the log so that a short log starts at the right edge.
    static constexpr int kLeadIn = 200;
    // Points pushed behind the log, one per pushTrailing().
    static constexpr int kTrailing = 2;
    // What the page does with its "Animate" box after a step.
    enum class Step { NoEntries, Unchecked, Stepped };

    explicit CGraphFeed(Kind kind) : m_kind(kind) {}
    Kind kind() const { return m_kind; }

    void setUp(CPushGraphModel& graph, const GraphSettings& settings) const;
    // `selectedPosition` is the display position of the list's selected entry, -1 for none.
    void refill(CPushGraphModel& graph, const CVehicleLogDoc& doc, const CCostStatistics::PageFigures& figures,
                int selectedPosition) const;
    // The same with `points`, the number of entries of the log with a point on this page, counted
    // by the caller (the view refresh does in its pass) so that the log is not walked for it again.
    void refill(CPushGraphModel& graph, const CVehicleLogDoc& doc, const CCostStatistics::PageFigures& figures,
                int selectedPosition, std::size_t points) const;
    // One timer tick of the animation; `checked` is the state of the "Animate" box.
    Step animate(CPushGraphModel& graph, const CVehicleLogDoc& doc, const CCostStatistics::PageFigures& figures,
                 int selectedPosition, bool checked);

    // Whether the entry has a point on the page of this kind.
    static bool hasPoint(Kind kind, const CDVItem& entry);
    // Every entry's point is keyed with the entry's index in the log, so that a place on the
    // chart leads back to its entry; nullptr for a key that names none.
    static const CDVItem* entryOf(const CVehicleLogDoc& doc, int key);
    // The entry's date and its value as the page's figures show it, for the chart's tooltip;
    // empty for a key without an entry.
    std::string pointText(const CVehicleLogDoc& doc, int key, const CLocaleInfo& locale) const;

private:
    // The entry's value on this page times ten, or false when the entry has none.
    bool valueOf(const CDVItem& entry, int& value) const;
    void pushEntry(CPushGraphModel& graph, const CDVItem& entry, int value, int average, int selectedPosition,
                   int key) const;
    static void pushTrailing(CPushGraphModel& graph, int average);

    Kind m_kind;
    std::size_t m_position = 0;
    bool m_positionSet = false;
};
