// A view refresh of a large log as the window runs it: read the data file, then decide
// the rows and gather the totals and performance inputs. The target for 100,000 entries
// is well under 100 ms. The reminder list and the Reminders tab table are built after
// every refresh too, from the same entries.

#include "calc/reminder_check.h"
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

// Both reminder displays over the whole log, with every kind switched on.
BENCHMARK_DEFINE_F(RefreshBench, Reminders)(benchmark::State& state) {
    CVehicleLogDoc doc;
    if (!doc.load(m_path).ok())
        state.SkipWithError("load failed");
    VehicleSettings vehicle;
    vehicle.oilDistance = vehicle.coolDistance = vehicle.tireDistance = 5000;
    vehicle.oilDays = vehicle.tuneDays = vehicle.transDays = 180;
    vehicle.customNames = {"Wipers", "Brakes", "Battery", "Belt", "Filter"};
    CLibcLocale locale;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CReminderCheck::buildList(doc.entries(), vehicle, {1.0e6, 1800000000, "Unknown"}));
        benchmark::DoNotOptimize(CReminderCheck::buildTab(doc.entries(), vehicle, 1.0e6, 1800000000, locale));
    }
}
BENCHMARK_REGISTER_F(RefreshBench, Reminders)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
