#pragma once
// Shared set-up of the odrivo-cli tests: a temporary home holding the settings file given with
// --profile, the activity log in a temporary state folder, UTC, one in-process run capturing
// both streams.

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

    // The settings file: data and config folders in the home, backups in its "Backup/", then `extra`.
    void writeProfile(const std::string& extra = {}) const {
        logtest::writeFile(profile(), "[Initialize]\r\nPath=" + m_home.path() + "\r\nConfig=" + m_home.path() +
                                          "\r\nBackup=" + home("Backup/") + "\r\n" + extra);
    }

    CliRun run(Strings args) const {
        args.insert(args.begin(), {"--profile", profile()});
        return runArgs(std::move(args));
    }

    logtest::TempFolder m_home;
};

} // namespace clitest
