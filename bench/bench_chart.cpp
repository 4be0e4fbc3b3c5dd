// The chart of a graph page over a large log, as every paint runs it: refill the chart from
// the log (the run of empty points, one point per entry, the trailing points), then lay out
// the frame, which trims the lines to what the plot holds. One animation tick is a push and
// a frame. The target is well under 16 ms a frame, so that animating and resizing stay smooth.

#include "calc/graph_feed.h"
#include "calc/locale_info.h"
#include "sample_log.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 220;
constexpr int kLabelText = 40;

class ChartBench : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State& state) override {
        if (!m_doc.entries().empty())
            return;
        fillLog(m_doc, static_cast<int>(state.range(0)));
        m_figures = CCostStatistics::fuelCostPage(m_doc, m_locale);
    }

protected:
    CVehicleLogDoc m_doc;
    CLibcLocale m_locale;
    CCostStatistics::PageFigures m_figures;
};

BENCHMARK_DEFINE_F(ChartBench, RefillAndFrame)(benchmark::State& state) {
    const CGraphFeed feed(CGraphFeed::Kind::FuelCost);
    CPushGraphModel graph;
    feed.setUp(graph, GraphSettings{});
    for (auto _ : state) {
        feed.refill(graph, m_doc, m_figures, 5000);
        benchmark::DoNotOptimize(graph.frame(kWidth, kHeight, kLabelText));
    }
}
BENCHMARK_REGISTER_F(ChartBench, RefillAndFrame)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(ChartBench, AnimationTick)(benchmark::State& state) {
    CGraphFeed feed(CGraphFeed::Kind::FuelCost);
    CPushGraphModel graph;
    feed.setUp(graph, GraphSettings{});
    feed.refill(graph, m_doc, m_figures, -1);
    for (auto _ : state) {
        feed.animate(graph, m_doc, m_figures, -1, true);
        benchmark::DoNotOptimize(graph.frame(kWidth, kHeight, kLabelText));
    }
}
BENCHMARK_REGISTER_F(ChartBench, AnimationTick)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace
