// A full refresh of the main window over a large log after a save, as a click on the "Any" view runs it:
// reread the data file, decide the rows, recompute the three graph pages' figures, build the
// reminder list and the Reminders tab's table, then paint whatever shows. Measured once with
// the Economy graph page in front and once with the Reminders tab in front. Runs on the
// offscreen platform in a home of its own. The goal is under 30 ms for 100,000 entries.

#include "sample_log.h"
#include "store/activity_log.h"
#include "store/allocator_tuning.h"
#include "store/app_folders.h"
#include "store/app_profile.h"
#include "store/profile_file.h"
#include "ui/main/vehicle_log_dlg.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/modal_runner.h"

#include <QApplication>
#include <QDialog>
#include <QRadioButton>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

const fs::path kHome = fs::temp_directory_path() / "odrivo-bench-gui-refresh";

// One vehicle, "Car", with a log of `count` entries, opened last; no splash at start.
void writeHome(int count) {
    fs::remove_all(kHome);
    for (const auto& [name, sub] :
         {std::pair{"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"}, {"XDG_STATE_HOME", "state"}})
        setenv(name, (kHome / sub).c_str(), 1);
    fs::create_directories(CAppFolders::defaultConfigFolder());
    fs::create_directories(CAppFolders::defaultDataFolder());
    CProfileFile registry(CAppFolders::defaultConfigFolder() + "Drivana.ini");
    if (!registry.putText("VehicleList", "Vehicle0", "Car") || !registry.putText("Car", "VIN", "VIN0"))
        throw std::runtime_error("cannot write the vehicle registry");
    CVehicleLogDoc doc;
    fillLog(doc, count);
    if (!doc.save(CAppFolders::defaultDataFolder() + "VIN0.odv").saved)
        throw std::runtime_error("cannot write the log");
    CAppProfile profile(CAppFolders::profilePath());
    if (!profile.putText(ProfileKeys::LastVehicle, "Car") || !profile.putNumber(ProfileKeys::Splash, 0))
        throw std::runtime_error("cannot write the profile");
}

// range(0): entries in the log; range(1): the tab in front (0 Economy, 4 Reminders).
void FullRefresh(benchmark::State& state) {
    writeHome(static_cast<int>(state.range(0)));
    CAppProfile profile(CAppFolders::profilePath());
    if (!profile.putNumber(ProfileKeys::SelectedTab, static_cast<int>(state.range(1))))
        state.SkipWithError("cannot write the profile");
    CActivityLog log(CAppFolders::logPath(), CAppFolders::archivePath());
    auto window = std::make_unique<CVehicleLogDlg>(profile, log);
    window->initialize();
    window->resize(1000, 700);
    window->show();
    QApplication::processEvents();
    auto* any = window->findChild<QRadioButton*>(QStringLiteral("anyRadio"));
    if (!any) {
        state.SkipWithError("no Any radio");
        return;
    }
    // Every change to the log is saved before the refresh that follows it: the file is newer each time.
    const fs::path file = CAppFolders::defaultDataFolder() + "VIN0.odv";
    for (auto _ : state) {
        fs::last_write_time(file, fs::file_time_type::clock::now());
        any->click();
        QApplication::processEvents();
    }
    window.reset();
}
BENCHMARK(FullRefresh)->Args({100000, 0})->Args({100000, 4})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // As the program does: the heap freed by one reload serves the next.
    odrivo::keepFreedMemoryForReloads();
    // The window's pictures live in the GUI library, which nothing else here references.
    Q_INIT_RESOURCE(odrivo);
    Q_INIT_RESOURCE(window);
    Q_INIT_RESOURCE(reminders);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Nothing may wait for an answer: dialogs are accepted, message boxes answered OK.
    CModalRunner::setHandler([](QDialog&) { return static_cast<int>(QDialog::Accepted); });
    CMessageBox::setResponder([](const CMessageBox::Shown&) { return QMessageBox::Ok; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(kHome);
    return 0;
}
