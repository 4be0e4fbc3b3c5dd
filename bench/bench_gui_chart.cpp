// The chart widget of a graph page drawing a large log into its off-screen image, as each
// paint does: refill from the log, lay out the frame and paint it with QPainter. Runs on the
// offscreen platform, so no display is needed. The target is well under 16 ms a frame.

#include "calc/graph_feed.h"
#include "calc/locale_info.h"
#include "sample_log.h"
#include "ui/charts/push_graph.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

void DrawChart(benchmark::State& state) {
    CVehicleLogDoc doc;
    fillLog(doc, static_cast<int>(state.range(0)));
    const CLibcLocale locale;
    const CGraphFeed feed(CGraphFeed::Kind::FuelCost);
    const CCostStatistics::PageFigures figures = CCostStatistics::fuelCostPage(doc, locale);
    C2DPushGraph graph;
    graph.resize(900, 220);
    feed.setUp(graph.model(), GraphSettings{});
    for (auto _ : state) {
        feed.refill(graph.model(), doc, figures, 5000);
        benchmark::DoNotOptimize(graph.snapshot().constBits());
    }
}
BENCHMARK(DrawChart)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
