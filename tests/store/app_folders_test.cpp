#include "store/app_folders.h"

#include "log_file_bytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <pwd.h>
#include <unistd.h>

namespace {

void set(const char* name, const char* value) {
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
}

// Puts the folder variables back when a test ends.
struct SavedVariables {
    std::vector<std::pair<const char*, std::optional<std::string>>> saved;
    SavedVariables() {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
            saved.emplace_back(name, std::getenv(name) ? std::optional<std::string>(std::getenv(name)) : std::nullopt);
    }
    ~SavedVariables() {
        for (const auto& [name, value] : saved)
            set(name, value ? value->c_str() : nullptr);
    }
};

TEST(AppFolders, FollowTheXdgVariablesWithTheirFallbacksAndCreateNothing) {
    const SavedVariables saved;
    const logtest::TempFolder home;
    const std::string h = home.path();
    // Unset, empty and relative variables fall back to folders in the home folder.
    // clang-format off
    const struct {
        std::string home;
        const char *configVar, *dataVar, *stateVar;
        std::string config, data, state;
    } cases[] = {
        {h, nullptr, nullptr, nullptr, h + ".config/", h + ".local/share/", h + ".local/state/"},
        {h.substr(0, h.size() - 1), "", "", "~/state", h + ".config/", h + ".local/share/", h + ".local/state/"},
        {h, "cfg", "./data", "/var/state", h + ".config/", h + ".local/share/", "/var/state/"},
        {h, "/etc/xdg", "/srv/data/", nullptr, "/etc/xdg/", "/srv/data/", h + ".local/state/"}};
    // clang-format on
    for (const auto& c : cases) {
        set("HOME", c.home.c_str());
        set("XDG_CONFIG_HOME", c.configVar);
        set("XDG_DATA_HOME", c.dataVar);
        set("XDG_STATE_HOME", c.stateVar);
        EXPECT_EQ((std::vector<std::string>{CAppFolders::profilePath(), CAppFolders::defaultDataFolder(),
                                            CAppFolders::defaultConfigFolder(), CAppFolders::logPath(),
                                            CAppFolders::partnersPath(), CAppFolders::userHomeFolder()}),
                  (std::vector<std::string>{c.config + "Odrivo/Odrivo.ini", c.data + "Odrivo/Data/", c.data + "Odrivo/",
                                            c.state + "Odrivo/Odrivo.log", c.config + "Odrivo/Partners.ini", h}));
    }
    EXPECT_TRUE(std::filesystem::is_empty(h)) << "asking for folders creates nothing";

    // Without HOME the account's home folder serves.
    ::unsetenv("HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    const passwd* account = ::getpwuid(::getuid());
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(CAppFolders::profilePath(), CAppFolders::withSeparator(account->pw_dir) + ".config/Odrivo/Odrivo.ini");
}

TEST(AppFoldersSeparator, AppendsOneWhenMissing) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"/data", "/data/"}, {"/data/", "/data/"}, {"/", "/"}};
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(CAppFolders::withSeparator(path), expected) << path;
}

} // namespace
