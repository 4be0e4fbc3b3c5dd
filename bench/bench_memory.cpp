// Peak heap of loading a 100,000-entry data file and of `odrivo-cli recalc` on it, against
// the file's size: a plain read of the file holds 1× its size, and the counter x_file of
// each row is the peak heap in use during the run divided by the file's size. Every
// allocation of this program goes through the counting operator new below.

#include "cli/cli_app.h"
#include "sample_log.h"
#include "store/allocator_tuning.h"
#include "store/file_io.h"
#include "store/vehicle_log_doc.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

std::atomic<long long> g_inUse{0};
std::atomic<long long> g_peak{0};

void* counted(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (!p)
        throw std::bad_alloc();
    const long long now = g_inUse.fetch_add(static_cast<long long>(malloc_usable_size(p))) +
                          static_cast<long long>(malloc_usable_size(p));
    long long peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return p;
}

void uncounted(void* p) {
    if (!p)
        return;
    g_inUse.fetch_sub(static_cast<long long>(malloc_usable_size(p)));
    std::free(p);
}

// Starts a measurement: the peak from here on, above what is in use now.
long long startPeak() {
    const long long base = g_inUse.load();
    g_peak.store(base);
    return base;
}

} // namespace

void* operator new(std::size_t size) {
    return counted(size);
}
void* operator new[](std::size_t size) {
    return counted(size);
}
void operator delete(void* p) noexcept {
    uncounted(p);
}
void operator delete[](void* p) noexcept {
    uncounted(p);
}
void operator delete(void* p, std::size_t) noexcept {
    uncounted(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    uncounted(p);
}

namespace {

const bool kTuned = (odrivo::keepFreedMemoryForReloads(), true);
constexpr int kEntries = 100000;

class MemoryBench : public benchmark::Fixture {
public:
    void SetUp(benchmark::State&) override {
        std::string pattern = (std::filesystem::temp_directory_path() / "odrivo-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        m_folder = pattern + "/";
        m_path = m_folder + "BENCH.odv";
        CVehicleLogDoc doc;
        fillLog(doc, kEntries);
        m_bytes = doc.encode();
        if (!odrivo::writeFileAtomically(m_path, m_bytes))
            throw std::runtime_error("cannot write " + m_path);
        const std::string ini = "[Initialize]\r\nPath=" + m_folder + "\r\nConfig=" + m_folder +
                                "\r\nBackup=" + m_folder + "Backup/\r\nLastVehicle=Car\r\n";
        if (!odrivo::writeFileAtomically(m_folder + "Odrivo.ini", ini) ||
            !odrivo::writeFileAtomically(m_folder + "Drivana.ini",
                                         "[VehicleList]\r\nVehicle0=Car\r\n[Car]\r\nVIN=BENCH\r\n"))
            throw std::runtime_error("cannot write the settings");
        ::setenv("XDG_STATE_HOME", (m_folder + "state").c_str(), 1);
    }
    void TearDown(benchmark::State&) override {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }

protected:
    void report(benchmark::State& state, long long peakAboveBase) const {
        state.counters["x_file"] = static_cast<double>(peakAboveBase) / static_cast<double>(m_bytes.size());
        state.counters["file_MB"] = static_cast<double>(m_bytes.size()) / 1e6;
    }

    std::string m_folder;
    std::string m_path;
    std::string m_bytes;
};

// The floor: the file's bytes in one string.
BENCHMARK_DEFINE_F(MemoryBench, PlainRead)(benchmark::State& state) {
    long long worst = 0;
    for (auto _ : state) {
        std::string bytes;
        const long long base = startPeak();
        odrivo::readWholeFile(m_path, bytes);
        worst = std::max(worst, g_peak.load() - base);
    }
    report(state, worst);
}

// Opening the vehicle: a load into an empty document.
BENCHMARK_DEFINE_F(MemoryBench, Load)(benchmark::State& state) {
    long long worst = 0;
    for (auto _ : state) {
        CVehicleLogDoc doc;
        const long long base = startPeak();
        if (!doc.load(m_path).ok())
            state.SkipWithError("load failed");
        worst = std::max(worst, g_peak.load() - base);
    }
    report(state, worst);
}

// A refresh: loading again into the document that holds the log.
BENCHMARK_DEFINE_F(MemoryBench, Reload)(benchmark::State& state) {
    const long long before = g_inUse.load();
    CVehicleLogDoc doc;
    if (!doc.load(m_path).ok())
        state.SkipWithError("load failed");
    long long worst = 0;
    for (auto _ : state) {
        startPeak();
        if (!doc.load(m_path).ok())
            state.SkipWithError("load failed");
        worst = std::max(worst, g_peak.load() - before);
    }
    report(state, worst);
}

// The whole command, as run from the shell (the heap before it holds nothing of the log).
BENCHMARK_DEFINE_F(MemoryBench, Recalc)(benchmark::State& state) {
    const std::string profile = m_folder + "Odrivo.ini";
    const char* argv[] = {"odrivo-cli", "--profile", profile.c_str(), "recalc"};
    long long worst = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        const long long base = startPeak();
        if (runCli(4, argv, out, err) != 0)
            state.SkipWithError(err.str().c_str());
        worst = std::max(worst, g_peak.load() - base);
    }
    report(state, worst);
}

BENCHMARK_REGISTER_F(MemoryBench, PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(MemoryBench, Load)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(MemoryBench, Reload)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(MemoryBench, Recalc)->Unit(benchmark::kMillisecond);

} // namespace
