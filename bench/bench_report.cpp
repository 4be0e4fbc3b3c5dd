// The by-view report of a large log laid out through the recording surface: every page of a
// 10,000-row list (about 230 pages), as "Save Report as PDF" and the print job lay it out before
// the device draws. The target is well under a second, so that printing a whole log feels prompt.

#include "report/by_view_report.h"
#include "report/recording_surface.h"
#include "sample_log.h"

#include <benchmark/benchmark.h>

namespace {

void ByViewReport(benchmark::State& state) {
    CVehicleLogDoc doc;
    fillLog(doc, static_cast<int>(state.range(0)));
    std::vector<const CDVItem*> rows;
    for (const auto& entry : doc.entries())
        rows.push_back(entry.get());
    ReportFacts facts;
    facts.vehicleName = "Family Van";
    for (auto _ : state) {
        CRecordingSurface surface;
        benchmark::DoNotOptimize(CByViewReport::run(surface, facts, rows, 3));
        benchmark::DoNotOptimize(surface.lines().size());
    }
}
BENCHMARK(ByViewReport)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
