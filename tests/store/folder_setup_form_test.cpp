#include "store/folder_setup_form.h"

#include "log_file_bytes.h"
#include "store/activity_log.h"
#include "store/app_profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

// A profile, a log and a partnerships file in a temporary folder. "Near" syncs to a folder under
// its own base; "Home" has its ActiveSync part at the start, so its folder is under the home folder.
class FolderSetupForm : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_dir + "cfg");
        logtest::writeFile(m_places.partnersPath, "[P1]\nDisplayName=Near\n"
                                                  "DataFolder=" +
                                                      m_dir +
                                                      "c/Application Data/Microsoft/ActiveSync/P1\n"
                                                      "[P2]\nDataFolder=/nameless\n"
                                                      "[P3]\nDisplayName=Home\n"
                                                      "DataFolder=Application Data/Microsoft/ActiveSync/P3\n");
    }
    CFolderSetupForm& makeForm() {
        m_form = std::make_unique<CFolderSetupForm>(
            CFolderSetupForm::Targets{m_profile, m_log, m_data, m_backup, m_config, m_changed}, m_places);
        return *m_form;
    }
    // The descriptions logged since the last call.
    std::vector<std::string> logged() {
        const std::string bytes = fs::exists(m_log.logPath()) ? logtest::readFile(m_log.logPath()) : "";
        std::vector<std::string> lines;
        for (std::size_t at = (m_logRead + 1) * CActivityLog::kLineSize; at < bytes.size();
             at += CActivityLog::kLineSize, ++m_logRead)
            lines.push_back(bytes.substr(at + 58, 200).c_str());
        return lines;
    }
    std::string syncFolderOf(const std::string& base, const std::string& name) const {
        return base + "My Documents/" + name + " My Documents/Odrivo Files/";
    }
    std::string text(const char* section, const char* key) const { return m_profile.getText({section, key, "-"}); }

    logtest::TempFolder m_folder;
    const std::string m_dir = m_folder.path();
    CFolderSetupForm::Places m_places{m_dir + "Partners.ini", m_dir + "home/", m_dir + "def/Data/",
                                      m_dir + "def/Backup/", m_dir + "cfg/"};
    CAppProfile m_profile{m_dir + "Odrivo.ini"};
    CActivityLog m_log{m_dir + "Odrivo.log", m_dir + "Odrivo.archive"};
    std::string m_data = "/d/", m_backup = "/b/", m_config = "/c/";
    bool m_changed = false;
    std::size_t m_logRead = 0;
    std::unique_ptr<CFolderSetupForm> m_form;
};

TEST_F(FolderSetupForm, OpeningListsTheDevicesAndRecordsTheirSyncFolders) {
    m_profile.putText(ProfileKeys::PPCName, "Home");
    m_profile.putNumber(ProfileKeys::PPCSync, 1);
    CFolderSetupForm& form = makeForm();
    EXPECT_EQ(form.open(), CFolderSetupForm::Messages{"Device Name Unknown"});
    EXPECT_EQ(form.devices(), (std::vector<std::string>{"Near", "Home"}));
    EXPECT_EQ(form.fields().deviceName, "Home");
    EXPECT_TRUE(form.fields().sync);
    EXPECT_TRUE(form.deviceControlsEnabled());
    const std::string near = syncFolderOf(m_dir + "c/", "Near"), home = syncFolderOf(m_places.homeFolder, "Home");
    EXPECT_EQ(text("Near", "DataPath"), near);
    EXPECT_EQ(text("Home", "DataPath"), home);
    EXPECT_EQ(text("Home", "PPCName"), "Home");
    // The device name is logged before it is read.
    EXPECT_EQ(logged(), (std::vector<std::string>{"Path Setup", "/d/", "/b/", "/c/", "", "Application Path",
                                                  m_places.homeFolder, "Device Found", near, "Device Found", home}));
}

TEST_F(FolderSetupForm, OpeningWithoutPartnershipsMakesTheDeviceUnavailable) {
    m_profile.putNumber(ProfileKeys::PPCSync, 1);
    fs::remove(m_places.partnersPath);
    CFolderSetupForm& form = makeForm();
    const auto messages = form.open();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].starts_with("Unable to get list of Pocket PC Devices")) << messages[0];
    EXPECT_EQ(form.fields().deviceName, "Unavailable");
    EXPECT_FALSE(form.fields().sync);
    EXPECT_FALSE(form.deviceControlsEnabled());
    EXPECT_TRUE(form.devices().empty());
}

TEST_F(FolderSetupForm, SyncPointsTheFoldersAtTheDeviceAndTurningItOffBringsThemBack) {
    const std::string near = syncFolderOf(m_dir + "c/", "Near");
    fs::create_directories(near);
    logtest::writeFile(near + "Drivana.ini", "");
    CFolderSetupForm& form = makeForm();
    form.open();
    logged();
    CFolderSetupForm::Fields& fields = form.fields();
    const auto turnSyncOn = [&] {
        fields.sync = true;
        EXPECT_TRUE(form.syncClicked().empty());
        EXPECT_EQ(fields.deviceName, "Pick a Device");
        EXPECT_TRUE(form.deviceControlsEnabled());
    };
    const auto expectStored = [&](const char* device, const char* sync) {
        EXPECT_EQ(text("Initialize", "PPCName"), device);
        EXPECT_EQ(text("Initialize", "PPCSync"), sync);
    };

    // Closing the drop-down without a device turns sync off and stores no device.
    turnSyncOn();
    EXPECT_TRUE(form.applySyncChoice(std::nullopt).empty());
    EXPECT_FALSE(fields.sync);
    EXPECT_TRUE(m_changed);
    expectStored("", "0");
    EXPECT_EQ(m_data + m_config, "/d//c/");

    // A device whose folder holds no vehicle list is refused; nothing is stored.
    turnSyncOn();
    const auto refused = form.applySyncChoice("Home");
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_TRUE(refused[0].starts_with("No Config files found,\nThe Setup Path must point")) << refused[0];
    EXPECT_TRUE(refused[0].ends_with("or email support@odrivo.org for assistance.")) << refused[0];
    EXPECT_EQ(logged(), std::vector<std::string>{"ERROR:  No Drivana.ini found in config path"});
    EXPECT_FALSE(fields.sync);
    EXPECT_FALSE(form.deviceControlsEnabled());
    expectStored("", "0");
    EXPECT_EQ(m_data + m_config, "/d//c/");

    // A device with a vehicle list: data and config share its sync folder; the old ones are remembered.
    turnSyncOn();
    EXPECT_TRUE(form.applySyncChoice("Near").empty());
    EXPECT_TRUE(fields.sync);
    EXPECT_EQ(fields.dataFolder + fields.configFolder, near + near);
    EXPECT_EQ(m_data + m_config, near + near);
    EXPECT_EQ(text("Initialize", "Path") + text("Initialize", "Config"), near + near);
    EXPECT_EQ(text("Initialize", "OldDataPath") + text("Initialize", "OldConfigPath"), "/d//c/");
    expectStored("Near", "1");

    // Turning sync off goes back to the folders in use before.
    fields.sync = false;
    EXPECT_TRUE(form.syncClicked().empty());
    EXPECT_FALSE(form.deviceControlsEnabled());
    EXPECT_EQ(fields.dataFolder + fields.configFolder, "/d//c/");
    EXPECT_EQ(m_data + m_config, "/d//c/");
    EXPECT_EQ(text("Initialize", "Path") + text("Initialize", "Config"), "/d//c/");
    expectStored("Near", "0");
}

TEST_F(FolderSetupForm, SaveAddsSeparatorsAndGivesASyncedDeviceItsOwnBackupFolder) {
    const struct {
        bool sync;
        std::string backup;
        const char* logLine;
    } cases[] = {
        {false, "/typed/b/", "PATHS: Not Synced    Paths: Reset"},
        {true, m_dir + "cfg/Near/", "PATHS: Not Synced    Device: Near"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sync);
        CFolderSetupForm& form = makeForm();
        logged();
        form.fields() = {"/typed/d", "/typed/b", "/typed/c/", true, c.sync, "Near"};
        EXPECT_TRUE(form.save().empty());
        EXPECT_TRUE(m_changed);
        EXPECT_EQ(text("Initialize", "Path") + text("Initialize", "Backup") + text("Initialize", "Config"),
                  "/typed/d//typed/b//typed/c/");
        EXPECT_EQ(text("Initialize", "PPCName") + text("Initialize", "PPCSync"), c.sync ? "Near1" : "Near0");
        EXPECT_EQ(m_data + " " + m_backup + " " + m_config, "/typed/d/ " + c.backup + " /typed/c/");
        EXPECT_EQ(form.fields().backupFolder, c.backup);
        EXPECT_EQ(logged(), (std::vector<std::string>{c.logLine, "Data Path: /typed/d/", "Backup Path: " + c.backup,
                                                      "Config Path: /typed/c/"}));
    }
    EXPECT_TRUE(fs::is_directory(m_dir + "cfg/Near"));
}

TEST_F(FolderSetupForm, ResetTakesTheDefaultsIntoTheFieldsOnly) {
    CFolderSetupForm& form = makeForm();
    form.reset();
    EXPECT_EQ(form.fields().dataFolder + form.fields().backupFolder + form.fields().configFolder,
              m_places.defaultData + m_places.defaultBackup + m_places.defaultConfig);
    EXPECT_EQ(m_data + m_backup + m_config, "/d//b//c/");
    EXPECT_EQ(logged(), (std::vector<std::string>{"PATHS: Reset", "Data Path: " + m_places.defaultData,
                                                  "Backup Path: " + m_places.defaultBackup,
                                                  "Config Path: " + m_places.defaultConfig}));
}

TEST_F(FolderSetupForm, FailedWritesAreEachReported) {
    // The profile's folder is a file, so nothing can be written.
    logtest::writeFile(m_dir + "file", "");
    CAppProfile profile(m_dir + "file/Odrivo.ini");
    CFolderSetupForm form({profile, m_log, m_data, m_backup, m_config, m_changed}, m_places);
    form.fields().sync = false;
    EXPECT_EQ(form.syncClicked(),
              (CFolderSetupForm::Messages{"Data Path failed to change", "Config Path failed to change"}));
    form.fields().sync = true;
    form.fields().deviceName = "a/b";
    const auto messages = form.save();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(
        CFolderSetupForm::Messages(messages.begin(), messages.begin() + 3),
        (CFolderSetupForm::Messages{"Path failed to set", "Backup Path failed to set", "Config Path failed to set"}));
    EXPECT_TRUE(messages[3].starts_with("The backup folder " + m_dir + "cfg/a/b/ could not be created")) << messages[3];
    EXPECT_EQ(form.splashClicked().size(), 1u);
}

} // namespace
