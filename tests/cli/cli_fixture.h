#pragma once
// Shared set-up of the odrivo-cli tests: a temporary home holding the settings file the
// command is pointed at with --profile, the activity log in a temporary state folder, the
// time zone fixed to UTC, and one in-process run that captures both streams.

#include "cli/cli_app.h"

#include "../store/log_file_bytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace clitest {

// The pieces of `text` between the separators, empty ones included.
inline std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> result;
    for (std::size_t start = 0;;) {
        const auto stop = text.find(separator, start);
        result.push_back(text.substr(start, stop - start));
        if (stop == std::string::npos)
            return result;
        start = stop + separator.size();
    }
}

// The lines of `text`, the last one's end not making an empty line.
inline std::vector<std::string> lines(std::string text, const std::string& end = "\n") {
    if (text.ends_with(end))
        text.resize(text.size() - end.size());
    return text.empty() ? std::vector<std::string>{} : split(text, end);
}

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

// Runs odrivo-cli in-process with `args` after the program name, capturing both streams.
inline CliRun runArgs(std::vector<std::string> args) {
    args.insert(args.begin(), "odrivo-cli");
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out;
    std::ostringstream err;
    const int code = runCli(static_cast<int>(argv.size()), argv.data(), out, err);
    return {code, out.str(), err.str()};
}

class CliFixture : public ::testing::Test {
protected:
    void SetUp() override {
        save("TZ", m_oldTz);
        save("XDG_STATE_HOME", m_oldState);
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        ::setenv("XDG_STATE_HOME", m_home.file("state").c_str(), 1);
        std::filesystem::create_directories(m_home.file("state/Odrivo"));
    }

    void TearDown() override {
        restore("TZ", m_oldTz);
        restore("XDG_STATE_HOME", m_oldState);
        ::tzset();
    }

    std::string profile() const { return m_home.file("Odrivo.ini"); }
    std::string home(const std::string& name = {}) const { return m_home.file(name); }

    // Writes the settings file with the data and config folders in the home, the backup folder
    // in its "Backup/", then `extra` lines.
    void writeProfile(const std::string& extra = {}) const {
        logtest::writeFile(profile(), "[Initialize]\r\nPath=" + m_home.path() + "\r\nConfig=" + m_home.path() +
                                          "\r\nBackup=" + m_home.file("Backup/") + "\r\n" + extra);
    }

    CliRun run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--profile", profile()});
        return runArgs(std::move(args));
    }

    logtest::TempFolder m_home;

private:
    static void save(const char* name, std::optional<std::string>& into) {
        if (const char* value = std::getenv(name))
            into = value;
    }
    static void restore(const char* name, const std::optional<std::string>& value) {
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }

    std::optional<std::string> m_oldTz;
    std::optional<std::string> m_oldState;
};

} // namespace clitest
