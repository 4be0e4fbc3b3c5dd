// Importing a generated 100,000-line CSV file, into an empty log and into a log of 100,000
// entries whose readings interleave with the file's, against sqlite3's `.import` of the same
// file into an in-memory table. Every row is timed by hand; the import rows also show their
// time as a ratio ("x_baseline") to the baseline measured in the same run: sqlite3 when the
// command is installed, plainly reading the file's bytes otherwise.

#include "exchange/csv_import.h"
#include "sample_log.h"
#include "store/allocator_tuning.h"
#include "store/file_io.h"
#include "store/vehicle_log_doc.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

const bool kTuned = (odrivo::keepFreedMemoryForReloads(), true);
constexpr int kRows = 100000;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The file a user brings from another program: quoted fields, CR LF, mostly fuel.
std::string csvText(int rows) {
    static const std::array<const char*, 4> stations = {"Shell", "BP Ringstrasse", "Esso", "Autoservis Novak"};
    static const std::array<const char*, 4> entries = {"Fuel", "Gas", "Oil change", "Business trip"};
    std::string out = "\"Date\",\"Entry\",\"Odometer\",\"Quantity\",\"Price\",\"Cost\",\"Station\",\"Invoice\","
                      "\"Notes\"\r\n";
    unsigned seed = 777;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    double odometer = 10025;
    char line[256];
    for (int i = 0; i < rows; ++i) {
        odometer += 50 + next() % 400;
        const unsigned kind = next() % 20;
        const char* entry = entries[kind < 13 ? 0 : kind < 15 ? 1 : kind < 18 ? 2 : 3];
        std::snprintf(line, sizeof line,
                      "\"%02u/%02u/20%02u\",\"%s\",\"%.0f\",\"%.1f\",\"%.2f\",\"%.2f\",\"%s\",\"INV-%u\","
                      "\"%s\"\r\n",
                      1 + next() % 12, 1 + next() % 28, 10 + next() % 15, entry, odometer, 30 + (next() % 300) / 10.0,
                      1.4 + (next() % 50) / 100.0, 40 + (next() % 6000) / 100.0, stations[next() % stations.size()],
                      next(), kind % 3 == 0 ? "full tank, receipt kept" : "");
        out += line;
    }
    return out;
}

struct CsvFile {
    std::string folder;
    std::string path;
    std::size_t bytes = 0;
    CsvHeadings headings;

    CsvFile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "odrivo-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        folder = pattern;
        path = folder + "/import.csv";
        const std::string text = csvText(kRows);
        bytes = text.size();
        if (!odrivo::writeFileAtomically(path, text))
            throw std::runtime_error("cannot write " + path);
        headings = CCsvImport::headingsOf(text);
    }
    ~CsvFile() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

const CsvFile& csvFile() {
    static const CsvFile file;
    return file;
}

bool haveSqlite() {
    static const bool have = std::system("sqlite3 -version >/dev/null 2>&1") == 0;
    return have;
}

// One sqlite3 run importing the file into a new in-memory table; its wall time, or < 0 on failure.
double sqliteImportSeconds() {
    const std::string command = "sqlite3 :memory: -cmd '.mode csv' '.import \"" + csvFile().path +
                                "\" entries' 'SELECT count(*) FROM entries;' >/dev/null 2>&1";
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    const double seconds = secondsSince(start);
    return status == 0 ? seconds : -1;
}

double plainReadSeconds() {
    const auto start = Clock::now();
    std::ifstream file(csvFile().path, std::ios::binary);
    std::string bytes(csvFile().bytes, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    benchmark::DoNotOptimize(bytes.data());
    return secondsSince(start);
}

// The baseline's median of five runs, measured once per benchmark run.
double baselineSeconds() {
    static const double seconds = [] {
        std::array<double, 5> runs{};
        for (double& run : runs)
            run = haveSqlite() ? sqliteImportSeconds() : plainReadSeconds();
        std::sort(runs.begin(), runs.end());
        return runs[2];
    }();
    return seconds;
}

CCsvImport importer() {
    CColumnMap map;
    const int slots[] = {CColumnMap::Date,    CColumnMap::EntryType, CColumnMap::Odometer,
                         CColumnMap::FuelQty, CColumnMap::FuelPrice, CColumnMap::TollsMaint,
                         CColumnMap::Station, CColumnMap::Invoice,   CColumnMap::Notes};
    for (int column = 0; column < static_cast<int>(std::size(slots)); ++column)
        map.setColumn(slots[column], column);
    VehicleSettings vehicle;
    vehicle.distanceUnit = 1;
    vehicle.economyUnit = 2;
    vehicle.liquid = 2;
    return CCsvImport(map, vehicle, CsvDateStyle{}, 1700000000);
}

void importInto(benchmark::State& state, int existing) {
    const CsvFile& file = csvFile();
    const CCsvImport import = importer();
    double total = 0;
    for (auto _ : state) {
        CVehicleLogDoc doc;
        fillLog(doc, existing);
        const auto start = Clock::now();
        const CsvImportResult result = import.run(file.path, file.headings.dataStart, doc);
        const double seconds = secondsSince(start);
        if (!result.ok() || doc.size() != static_cast<std::size_t>(kRows + existing)) {
            state.SkipWithError("the import did not bring in every line");
            return;
        }
        state.SetIterationTime(seconds);
        total += seconds;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes));
    state.counters["x_baseline"] = total / static_cast<double>(state.iterations()) / baselineSeconds();
}

void BM_Sqlite3Import(benchmark::State& state) {
    if (!haveSqlite()) {
        state.SkipWithError("sqlite3 is not installed; the import rows compare with plain reading");
        return;
    }
    for (auto _ : state) {
        const double seconds = sqliteImportSeconds();
        if (seconds < 0) {
            state.SkipWithError("sqlite3 .import failed");
            return;
        }
        state.SetIterationTime(seconds);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * csvFile().bytes));
}
BENCHMARK(BM_Sqlite3Import)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PlainRead(benchmark::State& state) {
    for (auto _ : state)
        state.SetIterationTime(plainReadSeconds());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * csvFile().bytes));
}
BENCHMARK(BM_PlainRead)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_CsvImportIntoEmptyLog(benchmark::State& state) {
    importInto(state, 0);
}
BENCHMARK(BM_CsvImportIntoEmptyLog)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_CsvImportInto100kLog(benchmark::State& state) {
    importInto(state, kRows);
}
BENCHMARK(BM_CsvImportInto100kLog)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
