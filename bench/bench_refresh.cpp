// A view refresh of a large log as the window runs it: read the data file, then decide
// the rows and gather the totals and performance inputs. The target for 100,000 entries
// is well under 100 ms.

#include "calc/view_refresh.h"
#include "sample_log.h"
#include "store/allocator_tuning.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>

namespace {

const bool kTuned = (odrivo::keepFreedMemoryForReloads(), true);

class RefreshBench : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State& state) override {
        m_path = (std::filesystem::temp_directory_path() / "odrivo-bench-refresh.odv").string();
        CVehicleLogDoc doc;
        fillLog(doc, static_cast<int>(state.range(0)));
        std::filesystem::remove(m_path);
        if (!doc.save(m_path).saved)
            throw std::runtime_error("cannot write " + m_path);
    }
    void TearDown(const benchmark::State&) override { std::filesystem::remove(m_path); }

protected:
    std::string m_path;
};

BENCHMARK_DEFINE_F(RefreshBench, LoadAndRefresh)(benchmark::State& state) {
    CVehicleLogDoc doc;
    CViewRefresh refresh;
    CViewRefresh::Filter filter;
    filter.viewMode = 3;
    for (auto _ : state) {
        if (!doc.load(m_path).ok())
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(refresh.run(doc, filter, 1800000000));
    }
}
BENCHMARK_REGISTER_F(RefreshBench, LoadAndRefresh)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(RefreshBench, RefreshThisYear)(benchmark::State& state) {
    CVehicleLogDoc doc;
    if (!doc.load(m_path).ok())
        state.SkipWithError("load failed");
    CViewRefresh refresh;
    CViewRefresh::Filter filter;
    filter.dateRange = "This Year";
    for (auto _ : state)
        benchmark::DoNotOptimize(refresh.run(doc, filter, 1800000000));
}
BENCHMARK_REGISTER_F(RefreshBench, RefreshThisYear)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
