// The CSV export of a large log, side by side with its baseline: the sqlite3 shell writing the
// same rows and columns with `.mode csv` from a database prepared once. The goal is an export
// faster than sqlite3's; the Export row shows its time as a ratio to the baseline's (vs_sqlite3).

#include "calc/locale_info.h"
#include "exchange/csv_export.h"
#include "sample_log.h"
#include "store/file_io.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

constexpr int kAnyView = 3;

bool haveSqlite() {
    static const bool found = std::system("sqlite3 -version > /dev/null 2>&1") == 0;
    return found;
}

class ExportBench : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State& state) override {
        m_folder = fs::temp_directory_path() / "odrivo-bench-export";
        fs::create_directories(m_folder);
        m_doc.clear();
        fillLog(m_doc, static_cast<int>(state.range(0)));
        m_rows.clear();
        for (const auto& entry : m_doc.entries())
            m_rows.push_back(entry.get());
        // One database for the whole run, made afresh so that it holds this run's rows.
        static bool prepared = false;
        if (!haveSqlite() || prepared)
            return;
        prepared = true;
        fs::remove(database());
        // The database holds the very rows and columns the export writes, read from an export
        // without its byte-order mark (its header line names the table's columns).
        const std::string bytes = CCsvExport::fileBytes(m_rows, kAnyView, m_locale).substr(3);
        const std::string csv = (m_folder / "rows.csv").string();
        if (!odrivo::writeFileAtomically(csv, bytes))
            throw std::runtime_error("cannot write " + csv);
        run("sqlite3 " + database() + " \".mode csv\" \".import " + csv + " log\"");
    }

protected:
    std::string database() const { return (m_folder / "rows.db").string(); }
    std::string output(const char* name) const { return (m_folder / name).string(); }

    static void run(const std::string& command) {
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("failed: " + command);
    }

    // One run of the baseline, in seconds.
    double sqliteExportSeconds() const {
        const auto start = std::chrono::steady_clock::now();
        run("sqlite3 " + database() + " \".headers on\" \".mode csv\" \".output " + output("sqlite.csv") +
            "\" \"SELECT * FROM log;\"");
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    CVehicleLogDoc m_doc;
    std::vector<CDVItem*> m_rows;
    CLibcLocale m_locale;
    fs::path m_folder;
};

BENCHMARK_DEFINE_F(ExportBench, Export)(benchmark::State& state) {
    const std::string path = output("odrivo.csv");
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        if (!CCsvExport::writeFile(path, m_rows, kAnyView, m_locale))
            state.SkipWithError("export failed");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (haveSqlite() && state.iterations() > 0) {
        // The best of three baseline runs, so that a slow start of the shell does not flatter the export.
        double baseline = sqliteExportSeconds();
        for (int i = 0; i < 2; ++i)
            baseline = std::min(baseline, sqliteExportSeconds());
        state.counters["vs_sqlite3"] = seconds / static_cast<double>(state.iterations()) / baseline;
    }
}
BENCHMARK_REGISTER_F(ExportBench, Export)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(ExportBench, Sqlite3Baseline)(benchmark::State& state) {
    if (!haveSqlite()) {
        state.SkipWithError("sqlite3 is not installed");
        return;
    }
    for (auto _ : state)
        state.SetIterationTime(sqliteExportSeconds());
}
BENCHMARK_REGISTER_F(ExportBench, Sqlite3Baseline)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
