#pragma once
// CFirstRunInstaller sets up what a new installation ships, the first time the program
// finds no vehicle registry file in the config folder: a registry holding the sample
// vehicle "My Vehicle", a pick list file with the standard maintenance jobs, and a few
// months of sample log entries for the sample vehicle, dated up to a few days before
// `now`. Files that already exist are never replaced. The registry is written last, so
// an installation that stops half way is tried again at the next start.

#include <ctime>
#include <string>

class CFirstRunInstaller {
public:
    static constexpr const char* kSampleVehicle = "My Vehicle";
    // Names of the scratch folders an installation stages its files in, beside the real ones.
    static constexpr const char* kStagingPrefix = ".odrivo-setup-";

    struct Result {
        bool installed = false;
        // Empty unless something failed; then it names the file and what went wrong.
        std::string message;
    };

    // Both folders end with a separator; they are created when missing. Does nothing
    // (installed = false, no message) when the config folder already holds a registry.
    // The sample entries carry no fuel economy: run the economy recalculation afterwards.
    static Result installIfNeeded(const std::string& configFolder, const std::string& dataFolder, std::time_t now);

    // A real first start: no per-user profile yet, and nothing (but staging left-overs) in the
    // default config folder. Anything else is an installation whose files must not be
    // replaced by samples, even when its vehicle list is missing.
    static bool isFirstStart(const std::string& profilePath, const std::string& defaultConfigFolder);

private:
    static void removeStagingLeftovers(const std::string& configFolder);
};
