// Listing the vehicles of a Drivana.ini holding 10, 100 and 1,000 vehicles: the names of the
// vehicle list, then each vehicle's settings (List), and the names alone as the vehicles
// command shows them (Names). PlainRead, reading the same bytes once, is the floor the list is measured against.

#include "store/file_io.h"
#include "store/vehicle_registry.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/stat.h>

namespace {

constexpr std::time_t kNow = 1767225600;

// A vehicle list of `count` vehicles, each with a full section in the order a save writes it.
std::string generatedRegistry(int count) {
    std::string ini = "[Versions]\r\nDesktop=1.0.7 Build 237\r\nDaccess=Last Access: 1-1-2026\r\n"
                      "[TripSettings]\r\nDetailed=Yes\r\nSortListBy=Date\r\n[VehicleList]\r\n";
    for (int v = 0; v < count; ++v)
        ini += "Vehicle" + std::to_string(v) + "=Vehicle " + std::to_string(v) + "\r\n";
    for (int v = 0; v < count; ++v) {
        const std::string n = std::to_string(v);
        ini += "[Vehicle " + n + "]\r\nCompany=Fleet\r\nVIN=1HGCM82633A" + n + "\r\nMake=Honda\r\nPlate=ODR-" + n +
               "\r\nModel=Accord\r\nYear=2019\r\nStart Odometer=12345.000000\r\n";
        for (const char* interval : {"Cool", "Oil", "Trans", "Tune", "Tire"})
            ini += std::string(interval) + "Days=90\r\n" + interval + "Distance=3000.000000\r\n";
        ini += "CostPerMile=0.550000\r\n";
        for (int i = 1; i <= VehicleSettings::kCustomCount; ++i)
            ini += "Custom" + std::to_string(i) + "=Check " + std::to_string(i) + "\r\n";
        for (int i = 1; i <= VehicleSettings::kCustomCount; ++i)
            ini.append("C").append(std::to_string(i)).append("Days=30\r\n");
        for (int i = 1; i <= VehicleSettings::kCustomCount; ++i)
            ini.append("C").append(std::to_string(i)).append("Miles=1000.000000\r\n");
        ini += "SetupDate=1735689600.000000\r\nDistance=Mile\r\nEcono=MPG\r\nLiquid=US\r\n"
               "LeadDays=7.000000\r\nLeadOdo=100.000000\r\n";
        for (int i = 0; i < VehicleSettings::kReminderCount; ++i)
            ini += "LastR" + std::to_string(i) + "Mileage=12345.000000\r\nLastR" + std::to_string(i) +
                   "Date=1735689600.000000\r\n";
    }
    return ini;
}

class VehiclesBench : public benchmark::Fixture {
public:
    void SetUp(benchmark::State& state) override {
        std::string pattern = (std::filesystem::temp_directory_path() / "odrivo-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        m_folder = pattern + "/";
        m_bytes = generatedRegistry(static_cast<int>(state.range(0)));
        if (!odrivo::writeFileAtomically(m_folder + CVehicleRegistry::kFileName, m_bytes))
            throw std::runtime_error("cannot write the vehicle list");
        // A file written moments ago is read afresh at each get; the command meets an older one.
        const timespec minuteAgo[2] = {{::time(nullptr) - 60, 0}, {::time(nullptr) - 60, 0}};
        ::utimensat(AT_FDCWD, (m_folder + CVehicleRegistry::kFileName).c_str(), minuteAgo, 0);
    }
    void TearDown(benchmark::State&) override {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }

protected:
    std::string m_folder;
    std::string m_bytes;
};

BENCHMARK_DEFINE_F(VehiclesBench, List)(benchmark::State& state) {
    for (auto _ : state) {
        // A fresh registry each time, as each run of the command starts with one.
        const CVehicleRegistry registry(m_folder);
        const std::vector<std::string> names = registry.vehicleNames();
        if (names.size() != static_cast<std::size_t>(state.range(0)))
            state.SkipWithError("the generated vehicle list did not read back");
        for (const std::string& name : names) {
            VehicleSettings settings;
            if (!registry.loadVehicle(name, settings, kNow, nullptr))
                state.SkipWithError(registry.lastError().c_str());
            benchmark::DoNotOptimize(settings.vin.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The names alone, as the vehicles command lists them.
BENCHMARK_DEFINE_F(VehiclesBench, Names)(benchmark::State& state) {
    for (auto _ : state) {
        const CVehicleRegistry registry(m_folder);
        if (registry.vehicleNames().size() != static_cast<std::size_t>(state.range(0)))
            state.SkipWithError("the generated vehicle list did not read back");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK_DEFINE_F(VehiclesBench, PlainRead)(benchmark::State& state) {
    std::string bytes;
    for (auto _ : state) {
        if (odrivo::readWholeFile(m_folder + CVehicleRegistry::kFileName, bytes) != odrivo::ReadStatus::Ok)
            state.SkipWithError("cannot read the vehicle list");
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * m_bytes.size()));
}

void vehicleCounts(benchmark::internal::Benchmark* b) {
    b->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
}

BENCHMARK_REGISTER_F(VehiclesBench, List)->Apply(vehicleCounts);
BENCHMARK_REGISTER_F(VehiclesBench, Names)->Apply(vehicleCounts);
BENCHMARK_REGISTER_F(VehiclesBench, PlainRead)->Apply(vehicleCounts);

} // namespace
