#include "store/app_folders.h"

#include "log_file_bytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <pwd.h>
#include <unistd.h>

using Paths = std::vector<std::string>;

namespace {

void set(const char* name, const char* value) {
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
}

// Saves the folder variables and puts them back when the test ends.
class AppFolders : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
            m_saved.emplace_back(name,
                                 std::getenv(name) ? std::optional<std::string>(std::getenv(name)) : std::nullopt);
    }
    void TearDown() override {
        for (const auto& [name, value] : m_saved)
            set(name.c_str(), value ? value->c_str() : nullptr);
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST_F(AppFolders, FollowTheXdgVariablesWithTheirFallbacksAndCreateNothing) {
    const logtest::TempFolder home;
    const std::string h = home.path();
    // Unset, empty and relative variables fall back to folders in the home folder.
    const std::string config = h + ".config/", data = h + ".local/share/", state = h + ".local/state/";
    // clang-format off
    const struct {
        std::string home;
        const char *configVar, *dataVar, *stateVar;
        std::string config, data, state;
    } cases[] = {
        {h, nullptr, nullptr, nullptr, config, data, state},
        {h.substr(0, h.size() - 1), "", "", "", config, data, state},
        {h, "cfg", "./data", "~/state", config, data, state},
        {h, "/etc/xdg", "/srv/data/", "/var/state", "/etc/xdg/", "/srv/data/", "/var/state/"}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.home + (c.configVar ? c.configVar : "(unset)"));
        set("HOME", c.home.c_str());
        set("XDG_CONFIG_HOME", c.configVar);
        set("XDG_DATA_HOME", c.dataVar);
        set("XDG_STATE_HOME", c.stateVar);
        const std::string app = c.data + "Odrivo/", log = c.state + "Odrivo/";
        EXPECT_EQ((Paths{CAppFolders::profilePath(), CAppFolders::defaultConfigFolder(),
                         CAppFolders::defaultDataFolder(), CAppFolders::defaultBackupFolder(),
                         CAppFolders::stateFolder(), CAppFolders::logPath(), CAppFolders::archivePath()}),
                  (Paths{c.config + "Odrivo/Odrivo.ini", app, app + "Data/", app + "Backup/", log, log + "Odrivo.log",
                         log + "Odrivo.archive"}));
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
