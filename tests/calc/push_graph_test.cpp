#include "calc/graph_feed.h"
#include "calc/push_graph_model.h"
#include "calc/view_refresh.h"

#include "../store/log_file_bytes.h"
#include "fixed_locale.h"
#include "store/app_profile.h"
#include "store/vehicle_log_doc.h"

#include <gtest/gtest.h>

namespace {

using Model = CPushGraphModel;
using Ints = std::vector<int>;
using Kind = CGraphFeed::Kind;
using Figures = CCostStatistics::PageFigures;
constexpr Rgb kRed{255, 0, 0};

TEST(PushGraphModel, PushClampsToTheRangeAndShiftsByTheMinimum) {
    // clang-format off
    const std::tuple<int, int, int, int> cases[] = {
        // minimum, maximum, value, stored magnitude
        {0, 100, 50, 50}, {0, 100, 150, 100}, {0, 100, -5, 0}, {10, 100, 5, 0}, {10, 100, 40, 30},
        {-10, 10, 5, 25}, {-10, 10, -30, 10}};
    // clang-format on
    for (const auto& [minimum, maximum, value, magnitude] : cases) {
        SCOPED_TRACE(testing::Message() << minimum << ".." << maximum << " push " << value);
        Model graph;
        graph.setRange(minimum, maximum);
        ASSERT_TRUE(graph.addLine(7, kRed));
        ASSERT_TRUE(graph.push(value, 7));
        EXPECT_FALSE(graph.push(value, 8)) << "no such line";
        EXPECT_EQ(graph.line(7)->magnitudes, Ints{magnitude});
    }
}

TEST(PushGraphModel, CapacityFollowsThePlotWidthAndANewInterval) {
    // clang-format off
    const std::tuple<int, int, bool, int> cases[] = {
        // width, interval, labels (text 20 wide: plot starts at 32), capacity
        {100, 5, false, 22}, {101, 5, false, 23}, {100, 10, false, 12}, {0, 5, false, 2}, {132, 5, true, 22},
        {10, 5, true, 2}};
    // clang-format on
    for (const auto& [width, interval, labels, capacity] : cases) {
        SCOPED_TRACE(testing::Message() << width << "/" << interval << " labels " << labels);
        Model graph;
        graph.setShowLabels(labels);
        graph.setInterval(1);
        graph.frame(width, 50, 20);
        graph.setInterval(interval); // counted again at the next drawing
        graph.frame(width, 50, 20);
        EXPECT_EQ(graph.pointCapacity(), capacity);
    }
}

TEST(PushGraphModel, FrameEvensAndTrimsLinesThenPlacesPointsAndBars) {
    Model graph;
    graph.setShowLabels(true);
    graph.setShowGrid(false);
    graph.setRange(0, 100);
    graph.setInterval(10);
    for (int id : {0, 1, 2})
        graph.addLine(id, kRed);
    graph.setBarMode(0, true);
    for (int v : {10, 20, 30, 40, 50, 60, 70, 80}) // more than the 30/10 + 2 points a 30 pixel plot holds
        graph.push(v, 0);
    graph.push(100, 1);
    // labels 8 wide: separator at 14, plot from 20
    const Model::Frame f = graph.frame(50, 101, 8);
    EXPECT_EQ(f.labelColumnWidth, 14);
    EXPECT_EQ(f.plot, (Model::Rect{20, 0, 30, 100}));
    EXPECT_EQ(graph.line(0)->magnitudes, (Ints{40, 50, 60, 70, 80})) << "oldest dropped";
    EXPECT_EQ(graph.line(1)->magnitudes, Ints(5, 100)) << "last value repeated";
    EXPECT_EQ(graph.line(2)->magnitudes, Ints(5, 0)) << "empty line at the minimum";
    ASSERT_EQ(f.lines.size(), 3u);
    EXPECT_EQ(f.lines[0].points, (std::vector<Model::Point>{{20, 60}, {30, 50}, {40, 40}, {50, 30}, {60, 20}}));
    EXPECT_EQ(f.lines[0].bars.front(), (Model::Rect{21, 60, 10, 40}));
    EXPECT_TRUE(f.lines[1].bars.empty());
    EXPECT_EQ(f.lines[1].points.front(), (Model::Point{20, 0}));

    graph.setRange(7, 7); // no range left: drawn as 0..5
    graph.frame(50, 101, 8);
    EXPECT_EQ(std::pair(graph.minimum(), graph.maximum()), std::pair(0, 5));
}

TEST(PushGraphModel, UpdateScrollsTheGridOnceThePlotIsFull) {
    Model graph;
    graph.setShowLabels(false);
    graph.setInterval(4);
    graph.setGridSize(6);
    graph.addLine(0, kRed);
    graph.frame(12, 30, 0); // capacity 12/4 + 2 = 5
    for (const auto& [pushes, scroll] : {std::pair{4, 0}, {1, -4}, {1, 0}, {2, -4}}) {
        for (int i = 0; i < pushes; ++i)
            graph.push(1, 0);
        graph.update(); // 4 points leave room; 5 give (0 - 1 * 4) % 6, 6 (-4 - 2 * 4) % 6, 8 (0 - 4 * 4) % 6
        EXPECT_EQ(graph.gridScrollOffset(), scroll) << pushes;
    }
    const Model::Frame f = graph.frame(12, 30, 0);
    EXPECT_EQ(f.gridColumns, (Ints{2, 8})) << "columns left of the plot are skipped";
    EXPECT_EQ(f.gridRows, (Ints{29, 23, 17, 11, 5}));
}

TEST(PushGraphModel, KeyAtFindsThePointDrawnUnderX) {
    Model graph;
    graph.setShowLabels(false);
    graph.setInterval(10);
    for (int id : {0, 1})
        graph.addLine(id, kRed);
    EXPECT_EQ(graph.keyAt(5), -1) << "nothing drawn yet";
    // Fourteen points keyed 100 + i, but point 5 untagged; a 100-pixel plot holds twelve,
    // so the first two drop.
    for (int i = 0; i < 14; ++i)
        if (graph.push(i, 0), graph.push(i, 1); i != 5)
            graph.pushKey(100 + i);
    // clang-format off
    const std::tuple<bool, int, int> cases[] = {
        // labels (text 20 wide: plot starts at 32), x, key
        {false, 0, -1}, {false, 1, 102}, {false, 10, 102}, {false, 11, 103}, {false, 31, -1}, {false, 41, 106},
        {false, 111, 113}, {false, 121, -1}, {false, -4, -1}, {true, 32, -1}, {true, 33, 102}, {true, 43, 103}};
    // clang-format on
    for (const auto& [labels, x, key] : cases) {
        SCOPED_TRACE(testing::Message() << "x " << x << " labels " << labels);
        graph.setShowLabels(labels);
        graph.frame(100, 50, 20);
        EXPECT_EQ(graph.keyAt(x), key);
    }
}

CDVItem logged(CDVItem::Type type, int position, double value, double price = 1.5) {
    CDVItem e;
    e.EntryType = type, e.DisplayPos = position, e.Odometer = 1000 + position, e.UnitPrice = price;
    e.Date = utcTime(2026, 3, 1 + position);
    (type == CDVItem::Fuel ? e.Economy : e.Cost) = value;
    return e;
}
const auto fuel = [](int at, double economy, double price = 1.5) { return logged(CDVItem::Fuel, at, economy, price); };
const auto repair = [](int at, double cost) { return logged(CDVItem::Repair, at, cost); };
void fill(CVehicleLogDoc& doc, const std::vector<CDVItem>& entries) {
    for (const CDVItem& e : entries)
        doc.insert(std::make_unique<CDVItem>(e));
}

Model setUpGraph(Kind kind, GraphSettings settings = {}) {
    Model graph;
    CGraphFeed(kind).setUp(graph, settings);
    return graph;
}

TEST(GraphFeed, SettingsComeFromTheProfileAndShapeTheChart) {
    logtest::TempFolder folder;
    logtest::writeFile(folder.file("Odrivo.ini"),
                       "[Graphs]\r\nGrid=1\r\nGraphType=1\r\nSELG=300\r\nBarWidth=7\r\nShowGrid=0\r\n");
    const GraphSettings settings = GraphSettings::read(CAppProfile(folder.file("Odrivo.ini")));
    EXPECT_EQ(settings.selection, (Rgb{255, 255, 0})) << "channels above 255 are cut";

    Model graph = setUpGraph(Kind::FuelCost, settings);
    EXPECT_EQ(std::tuple(graph.gridSize(), graph.interval(), graph.showGrid(), graph.showLabels()),
              std::tuple(3, 7, false, true));
    EXPECT_EQ(std::tuple(graph.background(), graph.textColour(), graph.gridColour()),
              std::tuple(settings.background, settings.text, settings.gridColour));
    EXPECT_EQ(graph.bottomLabel(), "0.000");
    auto drawn = [&graph](int id) { return std::pair(graph.line(id)->colour, graph.line(id)->bar); };
    EXPECT_EQ(std::tuple(drawn(0), drawn(1), drawn(2)),
              std::tuple(std::pair(settings.data, false), std::pair(settings.average, false),
                         std::pair(settings.selection, true)))
        << "GraphType 1 draws the data as a line";
    EXPECT_TRUE(setUpGraph(Kind::Economy).line(CGraphFeed::kDataLine)->bar);
    EXPECT_FALSE(graph.setBarMode(3, true) || graph.setLineColour(kRed, 3) || graph.addLine(0, kRed)) << "bad ids";
    EXPECT_EQ(graph.lines().size(), 3u);
}

TEST(GraphFeed, RefillSetsLabelRangeAndOnePointPerQualifyingEntry) {
    struct Case {
        const char* name;
        Kind kind;
        std::vector<CDVItem> log;
        Figures figures; // only max, maxValue, minValue and averageValue matter here
        int selected;
        std::string top;
        int maximum;
        Ints data, selection; // the entries' points, before the two trailing ones
    };
    auto figures = [](const char* max, double maxValue, double minValue, double average) {
        Figures f;
        std::tie(f.max, f.maxValue, f.minValue, f.averageValue) = std::tuple(max, maxValue, minValue, average);
        return f;
    };
    // clang-format off
    const Case cases[] = {
        {"no qualifying entry", Kind::Economy, {repair(0, 50)}, figures("No Data", 0, 0, 0), -1, "No Data", 10, {}, {}},
        {"a negative maximum reads No Data", Kind::Economy, {}, figures("-1.00", -1, -1, 0), -1, "No Data", 10, {}, {}},
        {"one fuel price is clamped at 1.1 times the price", Kind::FuelCost, {fuel(0, 30, 1.5)},
         figures("1.500", 1.5, 1.5, 1.5), -1, "1.500", 1, {1}, {0}},
        {"two prices get ten times the maximum", Kind::FuelCost, {fuel(0, 30, 1.2), fuel(1, 30, 0), fuel(2, 30, 1.5)},
         figures("1.500", 1.5, 1.2, 1.35), -1, "1.500", 15, {12, 15}, {0, 0}},
        {"negative repair costs draw as 0", Kind::RepairCost, {repair(0, -20), fuel(1, 30), repair(2, 50)},
         figures("50.00", 50, -20, 15), -1, "50.00", 502, {0, 500}, {0, 0}},
        {"economy above the recorded maximum is drawn at the maximum", Kind::Economy, {fuel(0, 30), fuel(1, 0)},
         figures("20.00", 20, 20, 20), -1, "20.00", 201, {201, 0}, {0, 0}},
        {"the range keeps the whole part of the maximum", Kind::Economy, {fuel(0, 25.5)},
         figures("25.50", 25.5, 25.5, 25.5), -1, "25.50", 251, {251}, {0}},
        {"the selected entry moves to line 2", Kind::Economy, {fuel(0, 30), fuel(1, 25), fuel(2, 28)},
         figures("30.00", 30, 25, 27.5), 1, "30.00", 301, {300, 1, 280}, {0, 250, 0}}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CVehicleLogDoc doc;
        fill(doc, c.log);
        Model graph = setUpGraph(c.kind);
        CGraphFeed(c.kind).refill(graph, doc, c.figures, c.selected);
        EXPECT_EQ(graph.topLabel(), c.top);
        EXPECT_EQ(std::pair(graph.minimum(), graph.maximum()), std::pair(0, c.maximum));
        auto framed = [](const Ints& points) { // lead-in, the entries' points, the trailing two
            Ints line(200, 0);
            line.insert(line.end(), points.begin(), points.end());
            return line.insert(line.end(), {0, 0}), line;
        };
        const int average = static_cast<int>(c.figures.averageValue * 10);
        EXPECT_EQ(graph.line(CGraphFeed::kDataLine)->magnitudes, framed(c.data));
        EXPECT_EQ(graph.line(CGraphFeed::kSelectionLine)->magnitudes, framed(c.selection));
        EXPECT_EQ(graph.line(CGraphFeed::kAverageLine)->magnitudes,
                  Ints(framed(c.data).size(), std::min(average, graph.maximum())));
    }
}

// Once a drawing has set how many points the chart keeps, a refill pushes only those and
// counts the rest; the picture, the keys and the grid's scroll must come out as if every
// entry had been pushed, as they still are into a chart whose bar width was just set.
TEST(GraphFeed, RefillPushingOnlyWhatCanShowDrawsTheSame) {
    // clang-format off
    const std::tuple<Kind, int, int, int, bool> cases[] = {
        // kind, entries, width, bar width, a drawing between the two refills
        {Kind::Economy, 0, 1000, 5, true}, {Kind::Economy, 3, 1000, 5, false}, {Kind::FuelCost, 150, 60, 1, true},
        {Kind::RepairCost, 700, 1000, 1, true}, {Kind::Economy, 700, 1000, 1, false},
        {Kind::FuelCost, 3000, 1000, 5, true}, {Kind::Economy, 3000, 300, 3, false}, {Kind::RepairCost, 40, 8, 4, false}};
    // clang-format on
    for (const auto& [kind, count, width, barWidth, drawBetween] : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(kind) << ": " << count << " entries, " << width << "/"
                                        << barWidth << (drawBetween ? " drawn between" : ""));
        std::vector<CDVItem> log;
        for (int i = 0; i < count; ++i) {
            log.push_back(i % 3 == 2 ? repair(i, i % 50 - 5) : fuel(i, 15 + i % 20, i % 7 / 4.0));
            if (i % 11 == 4)
                log.back().Entry = "Trip out"; // a trip once the view refresh has run: no point
        }
        CVehicleLogDoc doc;
        fill(doc, log);
        const std::size_t points = CViewRefresh().run(doc, {3}, 0).chartPoints[static_cast<std::size_t>(kind)];
        Figures figures;
        figures.maxValue = 30, figures.averageValue = 21.5;
        GraphSettings settings;
        settings.barWidth = barWidth, settings.grid = 7;
        auto draw = [&](bool everyEntry) {
            Model graph = setUpGraph(kind, settings);
            graph.frame(width, 100, 30);
            Ints picture;
            for (int round = 0; round < 2; ++round) {
                if (everyEntry)
                    graph.setInterval(barWidth); // the point capacity is unknown until the next drawing
                if (round == 0)
                    CGraphFeed(kind).refill(graph, doc, figures, 7);
                else
                    CGraphFeed(kind).refill(graph, doc, figures, 7, points);
                if (!drawBetween && round == 0)
                    continue;
                const Model::Frame f = graph.frame(width, 100, 30);
                picture.insert(picture.end(), f.gridColumns.begin(), f.gridColumns.end());
                for (const Model::DrawnLine& line : f.lines) {
                    for (const Model::Point& p : line.points)
                        picture.insert(picture.end(), {p.x, p.y});
                    for (const Model::Rect& r : line.bars)
                        picture.insert(picture.end(), {r.left, r.top, r.width, r.height});
                }
                for (int x = 0; x < width; ++x)
                    picture.push_back(graph.keyAt(x));
                picture.push_back(graph.gridScrollOffset());
            }
            return picture;
        };
        EXPECT_EQ(draw(false), draw(true));
    }
}

// A point's key is its entry's place in the log; the tooltip shows the entry's date and the
// page's value, and nothing for an entry that has no point on this page.
TEST(GraphFeed, PointTextShowsTheEntrysDateAndThePagesValue) {
    CVehicleLogDoc doc;
    fill(doc, {fuel(0, 30, 1.5), repair(1, -12.5), fuel(2, 25.25, 1.2)});
    const FixedLocale locale;
    // clang-format off
    const std::tuple<Kind, int, std::string> cases[] = {
        {Kind::Economy, 0, "01.03.2026  30.00"}, {Kind::FuelCost, 2, "03.03.2026  1.200"},
        {Kind::RepairCost, 1, "02.03.2026  -12.50"}, {Kind::RepairCost, 0, ""}, {Kind::Economy, 1, ""},
        {Kind::FuelCost, 3, ""}, {Kind::FuelCost, -1, ""}};
    // clang-format on
    for (const auto& [kind, key, text] : cases)
        EXPECT_EQ(CGraphFeed(kind).pointText(doc, key, locale), text) << static_cast<int>(kind) << " key " << key;
    EXPECT_EQ(CGraphFeed::entryOf(doc, 2), doc.entries()[2].get());
    EXPECT_TRUE(CGraphFeed::entryOf(doc, 3) == nullptr && CGraphFeed::entryOf(doc, -1) == nullptr);
}

TEST(GraphFeed, AnimationReplaysOneQualifyingEntryPerTickAndStartsOver) {
    CGraphFeed feed(Kind::RepairCost);
    Model graph = setUpGraph(Kind::RepairCost);
    graph.setRange(0, 1000);
    const Figures figures;
    CVehicleLogDoc doc;
    EXPECT_EQ(feed.animate(graph, doc, figures, -1, true), CGraphFeed::Step::NoEntries);
    fill(doc, {repair(0, 10), repair(1, 20), fuel(2, 30)});
    EXPECT_EQ(feed.animate(graph, doc, figures, -1, false), CGraphFeed::Step::Unchecked);
    EXPECT_TRUE(graph.line(CGraphFeed::kDataLine)->magnitudes.empty());

    // Each tick: the points it adds to the data and selection lines; the first and the fourth
    // start over with the two trailing points. Entry 1 is the selected one; the third
    // tick finds no repair left.
    const std::pair<Ints, Ints> ticks[] = {{{0, 0, 100}, {0, 0, 0}}, {{1}, {200}}, {{}, {}}, {{0, 0, 100}, {0, 0, 0}}};
    Ints data = {}, selection = {};
    for (const auto& [addedData, addedSelection] : ticks) {
        SCOPED_TRACE(testing::Message() << "tick adding " << addedData.size());
        EXPECT_EQ(feed.animate(graph, doc, figures, 1, true), CGraphFeed::Step::Stepped);
        data.insert(data.end(), addedData.begin(), addedData.end());
        selection.insert(selection.end(), addedSelection.begin(), addedSelection.end());
        EXPECT_EQ(graph.line(CGraphFeed::kDataLine)->magnitudes, data);
        EXPECT_EQ(graph.line(CGraphFeed::kSelectionLine)->magnitudes, selection);
    }
    graph.frame(100, 50, 0); // the plot starts at 12, 5 pixels a point
    EXPECT_EQ(std::pair(graph.keyAt(28), graph.keyAt(43)), std::pair(1, 0)) << "the replayed entries' places";
}

} // namespace
