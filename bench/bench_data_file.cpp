// Loading and saving a vehicle data file against plainly reading and writing the same
// bytes, for logs of 1,000, 10,000 and 100,000 entries. The Plain* rows are the floor:
// the document's cost is the ratio of its row to the plain row of the same size.

#include "sample_log.h"
#include "store/allocator_tuning.h"
#include "store/file_io.h"
#include "store/vehicle_log_doc.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

// Measure with the allocator set as the program sets it.
const bool kTuned = (odrivo::keepFreedMemoryForReloads(), true);

class DataFileBench : public benchmark::Fixture {
public:
    void SetUp(benchmark::State& state) override {
        std::string pattern = (std::filesystem::temp_directory_path() / "odrivo-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        m_folder = pattern;
        m_path = m_folder + "/BENCH.odv";
        m_doc = std::make_unique<CVehicleLogDoc>();
        fillLog(*m_doc, static_cast<int>(state.range(0)));
        m_bytes = m_doc->encode();
        if (!odrivo::writeFileAtomically(m_path, m_bytes))
            throw std::runtime_error("cannot write " + m_path);
    }
    void TearDown(benchmark::State&) override {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
        m_doc.reset();
    }

protected:
    std::string m_folder;
    std::string m_path;
    std::unique_ptr<CVehicleLogDoc> m_doc;
    std::string m_bytes;
};

// A refresh: loading again into the document that holds the log.
BENCHMARK_DEFINE_F(DataFileBench, Load)(benchmark::State& state) {
    CVehicleLogDoc doc;
    for (auto _ : state) {
        const LogLoadResult result = doc.load(m_path);
        if (result.status != LogLoadStatus::Loaded)
            state.SkipWithError(result.message.c_str());
        benchmark::DoNotOptimize(doc.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * m_bytes.size()));
}

// Opening a vehicle: a load into an empty document, whose records are all allocated anew
// (freeing them afterwards is not timed).
BENCHMARK_DEFINE_F(DataFileBench, Open)(benchmark::State& state) {
    for (auto _ : state) {
        auto doc = std::make_unique<CVehicleLogDoc>();
        const LogLoadResult result = doc->load(m_path);
        if (result.status != LogLoadStatus::Loaded)
            state.SkipWithError(result.message.c_str());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * m_bytes.size()));
}

BENCHMARK_DEFINE_F(DataFileBench, PlainRead)(benchmark::State& state) {
    std::string bytes;
    for (auto _ : state) {
        odrivo::readWholeFile(m_path, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * m_bytes.size()));
}

BENCHMARK_DEFINE_F(DataFileBench, Save)(benchmark::State& state) {
    for (auto _ : state) {
        const LogSaveResult result = m_doc->save(m_path);
        if (!result.saved)
            state.SkipWithError(result.message.c_str());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * m_bytes.size()));
}

BENCHMARK_DEFINE_F(DataFileBench, PlainWrite)(benchmark::State& state) {
    for (auto _ : state) {
        if (!odrivo::writeFileAtomically(m_path, m_bytes))
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * m_bytes.size()));
}

// The in-memory halves, to show where the time beyond the plain file operations goes.
BENCHMARK_DEFINE_F(DataFileBench, Decode)(benchmark::State& state) {
    CVehicleLogDoc doc;
    for (auto _ : state) {
        if (!doc.decode(m_bytes, nullptr))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(doc.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * m_bytes.size()));
}

BENCHMARK_DEFINE_F(DataFileBench, Encode)(benchmark::State& state) {
    for (auto _ : state) {
        std::string bytes = m_doc->encode();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * m_bytes.size()));
}

void logSizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
}

BENCHMARK_REGISTER_F(DataFileBench, Load)->Apply(logSizes);
BENCHMARK_REGISTER_F(DataFileBench, Open)->Apply(logSizes);
BENCHMARK_REGISTER_F(DataFileBench, PlainRead)->Apply(logSizes);
BENCHMARK_REGISTER_F(DataFileBench, Save)->Apply(logSizes);
BENCHMARK_REGISTER_F(DataFileBench, PlainWrite)->Apply(logSizes);
BENCHMARK_REGISTER_F(DataFileBench, Decode)->Apply(logSizes);
BENCHMARK_REGISTER_F(DataFileBench, Encode)->Apply(logSizes);

} // namespace
