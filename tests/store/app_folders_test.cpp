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
    const struct {
        std::string home;
        const char *config, *data, *state;
        std::string configHome, dataHome, stateHome;
    } cases[] = {
        {h, nullptr, nullptr, nullptr, h + ".config/", h + ".local/share/", h + ".local/state/"},
        {h.substr(0, h.size() - 1), "", "", "", h + ".config/", h + ".local/share/", h + ".local/state/"},
        {h, "cfg", "./data", "~/state", h + ".config/", h + ".local/share/", h + ".local/state/"},
        {h, "/etc/xdg", "/srv/data/", "/var/state", "/etc/xdg/", "/srv/data/", "/var/state/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.home + (c.config ? c.config : "(unset)"));
        set("HOME", c.home.c_str());
        set("XDG_CONFIG_HOME", c.config);
        set("XDG_DATA_HOME", c.data);
        set("XDG_STATE_HOME", c.state);
        const std::string data = c.dataHome + "Odrivo/", state = c.stateHome + "Odrivo/";
        EXPECT_EQ(CAppFolders::profilePath(), c.configHome + "Odrivo/Odrivo.ini");
        EXPECT_EQ(CAppFolders::defaultConfigFolder(), data);
        EXPECT_EQ(CAppFolders::defaultDataFolder(), data + "Data/");
        EXPECT_EQ(CAppFolders::defaultBackupFolder(), data + "Backup/");
        EXPECT_EQ(CAppFolders::stateFolder(), state);
        EXPECT_EQ(CAppFolders::logPath(), state + "Odrivo.log");
        EXPECT_EQ(CAppFolders::archivePath(), state + "Odrivo.archive");
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
