#include "store/app_folders.h"

#include "log_file_bytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"};

// Saves the folder variables and puts them back when the test ends.
class AppFolders : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kVariables) {
            const char* value = std::getenv(name);
            m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : m_saved)
            set(name.c_str(), value ? value->c_str() : nullptr);
    }

    static void set(const char* name, const char* value) {
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST_F(AppFolders, FollowTheXdgVariablesWithTheirFallbacks) {
    struct Case {
        const char* name;
        const char* home;
        const char* config; // nullptr: unset
        const char* data;
        const char* state;
        const char* expectedConfigHome;
        const char* expectedDataHome;
        const char* expectedStateHome;
    };
    const Case cases[] = {
        {"unset", "/home/ann", nullptr, nullptr, nullptr, "/home/ann/.config/", "/home/ann/.local/share/",
         "/home/ann/.local/state/"},
        {"empty", "/home/ann/", "", "", "", "/home/ann/.config/", "/home/ann/.local/share/", "/home/ann/.local/state/"},
        {"relative", "/home/ann", "cfg", "./data", "~/state", "/home/ann/.config/", "/home/ann/.local/share/",
         "/home/ann/.local/state/"},
        {"absolute", "/home/ann", "/etc/xdg", "/srv/data/", "/var/state", "/etc/xdg/", "/srv/data/", "/var/state/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set("HOME", c.home);
        set("XDG_CONFIG_HOME", c.config);
        set("XDG_DATA_HOME", c.data);
        set("XDG_STATE_HOME", c.state);
        const std::string config = std::string(c.expectedConfigHome) + "Odrivo/";
        const std::string data = std::string(c.expectedDataHome) + "Odrivo/";
        const std::string state = std::string(c.expectedStateHome) + "Odrivo/";
        EXPECT_EQ(CAppFolders::profilePath(), config + "Odrivo.ini");
        EXPECT_EQ(CAppFolders::defaultConfigFolder(), data);
        EXPECT_EQ(CAppFolders::defaultDataFolder(), data + "Data/");
        EXPECT_EQ(CAppFolders::defaultBackupFolder(), data + "Backup/");
        EXPECT_EQ(CAppFolders::stateFolder(), state);
        EXPECT_EQ(CAppFolders::logPath(), state + "Odrivo.log");
        EXPECT_EQ(CAppFolders::archivePath(), state + "Odrivo.archive");
    }
}

TEST_F(AppFolders, WithoutHomeTheAccountsHomeFolderServes) {
    ::unsetenv("HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    const std::string profile = CAppFolders::profilePath();
    ASSERT_FALSE(profile.empty());
    EXPECT_EQ(profile.front(), '/');
    EXPECT_TRUE(profile.ends_with("/.config/Odrivo/Odrivo.ini")) << profile;
}

TEST_F(AppFolders, AskingForFoldersCreatesNothing) {
    const logtest::TempFolder home;
    set("HOME", home.path().c_str());
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
        ::unsetenv(name);
    CAppFolders::profilePath();
    CAppFolders::defaultDataFolder();
    CAppFolders::defaultBackupFolder();
    CAppFolders::logPath();
    EXPECT_TRUE(fs::is_empty(home.path()));
}

TEST(AppFoldersSeparator, AppendsOneWhenMissing) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"/data", "/data/"}, {"/data/", "/data/"}, {"/", "/"}};
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(CAppFolders::withSeparator(path), expected) << path;
}

} // namespace
