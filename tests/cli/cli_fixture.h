#pragma once
// Shared set-up of the odrivo-cli tests: a temporary home holding the settings file given with
// --profile, the activity log in a temporary state folder, UTC, one in-process run capturing
// both streams, and the van log several commands read.

#include "cli/cli_app.h"
#include "cli/view_commands.h"
#include "store/vehicle_log_doc.h"

#include "../store/log_file_bytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace clitest {

using Strings = std::vector<std::string>;

// The pieces of `text` between the separators, empty ones included.
inline Strings split(const std::string& text, const std::string& separator) {
    Strings result;
    for (std::size_t start = 0;;) {
        const auto stop = text.find(separator, start);
        result.push_back(text.substr(start, stop - start));
        if (stop == std::string::npos)
            return result;
        start = stop + separator.size();
    }
}

// The lines of `text`, the last one's end not making an empty line.
inline Strings lines(std::string text, const std::string& end = "\n") {
    if (text.ends_with(end))
        text.resize(text.size() - end.size());
    return text.empty() ? Strings{} : split(text, end);
}

inline CDVItem item(int type, double odometer, const char* date, const char* text, const char* station = "",
                    double cost = 0) {
    CDVItem e;
    e.EntryType = type;
    e.Odometer = odometer;
    e.Date = *parseIsoDateTime(date);
    e.Entry = text;
    e.Station = station;
    e.Cost = cost;
    return e;
}

// Saves `entries` as a log at `path`, in that order, and returns the file's bytes.
inline std::string saveLog(const std::string& path, const std::vector<CDVItem>& entries) {
    CVehicleLogDoc doc;
    for (const auto& e : entries)
        doc.append(std::make_unique<CDVItem>(e));
    EXPECT_TRUE(doc.save(path).saved);
    return logtest::readFile(path);
}

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

inline ::testing::AssertionResult has(const std::string& text, const std::string& piece) {
    if (text.find(piece) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << piece << "\" not in:\n" << text;
}

// A run that stopped with exit code 1 and said `piece` on the error stream.
inline ::testing::AssertionResult refused(const CliRun& r, const std::string& piece) {
    if (r.code != 1)
        return ::testing::AssertionFailure() << "exit code " << r.code << "; error stream:\n" << r.err;
    return has(r.err, piece);
}

// Runs odrivo-cli in-process with `args` after the program name, capturing both streams.
inline CliRun runArgs(Strings args) {
    args.insert(args.begin(), "odrivo-cli");
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out, err;
    const int code = runCli(static_cast<int>(argv.size()), argv.data(), out, err);
    return {code, out.str(), err.str()};
}

class CliFixture : public ::testing::Test {
protected:
    // Every test of this program derives from here, so none leaves these for the next to rely on.
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        ::setenv("XDG_STATE_HOME", m_home.file("state").c_str(), 1);
        std::filesystem::create_directories(m_home.file("state/Odrivo"));
    }

    std::string profile() const { return m_home.file("Odrivo.ini"); }
    std::string home(const std::string& name = {}) const { return m_home.file(name); }

    // Writes the settings file with the data and config folders in the home, the backup folder
    // in its "Backup/", then `extra` lines.
    void writeProfile(const std::string& extra = {}) const {
        logtest::writeFile(profile(), "[Initialize]\r\nPath=" + m_home.path() + "\r\nConfig=" + m_home.path() +
                                          "\r\nBackup=" + home("Backup/") + "\r\n" + extra);
    }

    // The vehicle "Van" (VIN VAN1) with `settings` lines, its log holding `entries` in that order.
    void writeVan(const std::string& settings, const std::vector<CDVItem>& entries) const {
        logtest::writeFile(home("Drivana.ini"), "[VehicleList]\r\nVehicle0=Van\r\n[Van]\r\nVIN=VAN1\r\n" + settings);
        saveLog(home("VAN1.odv"), entries);
    }

    // Fuel at 1000 (03-01), an oil change at 1100 (03-05), a trip at 1200 (02-20) and fuel at 1300
    // (03-10), all in 2026, the van's last view "Any" and its saved dates 03-04 to 03-10 23:59. Oil
    // is due every 500 miles or 30 days, warned 400 miles or 5 days ahead.
    void writeVanLog() const {
        // The import map "Car" reads type, odometer and date from columns 0..2, "Swapped" the odometer from 2.
        writeProfile("LastVehicle=Van\r\nLastView=3\r\n[ListAttributes]\r\nLastBackupDate=03/01/2026 10:00\r\n"
                     "LastMap=Car\r\n[Car]\r\nF0=1\r\nF1=2\r\nF2=3\r\n[Swapped]\r\nF0=1\r\nF1=3\r\n");
        CDVItem fuel = item(CDVItem::Fuel, 1000, "2026-03-01", "Fuel", "", 35);
        fuel.Measure = "Gallons";
        fuel.Quantity = 10;
        fuel.UnitPrice = 3.5;
        CDVItem later = fuel;
        later.Odometer = 1300;
        later.Date = *parseIsoDateTime("2026-03-10");
        later.Economy = 30;
        CDVItem repair = item(CDVItem::Repair, 1100, "2026-03-05", "Oil Change", "Lakeside Garage", 45);
        repair.Icon = 4;
        CDVItem trip = item(CDVItem::Trip, 1200, "2026-02-20", "Trip");
        trip.EndOdometer = 1250;
        trip.Parking = 3;
        writeVan("CostPerMile=0.5\r\nLiquid=Litre\r\nOilDistance=500\r\nOilDays=30\r\nLeadOdo=400\r\nLeadDays=5\r\n"
                 "[Config]\r\nFromDate=1772582400\r\nToDate=1773187140\r\n",
                 {fuel, repair, trip, later});
    }

    CliRun run(Strings args) const {
        args.insert(args.begin(), {"--profile", profile()});
        return runArgs(std::move(args));
    }

    logtest::TempFolder m_home;
};

} // namespace clitest
