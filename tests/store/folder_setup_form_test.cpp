#include "store/folder_setup_form.h"

#include "log_file_bytes.h"
#include "store/activity_log.h"
#include "store/app_profile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;
using Targets = CFolderSetupForm::Targets;

namespace {

// A profile, a log and a partnerships file in a temporary folder. "Near" syncs to a folder under
// its own base; "Home" has its ActiveSync part at the start, so its folder is under the home folder.
class FolderSetupForm : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_dir + "cfg");
        logtest::writeFile(m_places.partnersPath,
                           "[P1]\nDisplayName=Near\nDataFolder=" + m_dir +
                               "c/Application Data/Microsoft/ActiveSync/1\n"
                               "[P2]\nDataFolder=/nameless\n"
                               "[P3]\nDisplayName=Home\nDataFolder=Application Data/Microsoft/ActiveSync/3\n");
    }
    CFolderSetupForm& makeForm() {
        return m_form.emplace(Targets{m_profile, m_log, m_data, m_backup, m_config, m_changed}, m_places);
    }
    Texts logged() const {
        const std::string bytes = logtest::readFile(m_log.logPath());
        Texts lines;
        for (std::size_t at = CActivityLog::kLineSize; at < bytes.size(); at += CActivityLog::kLineSize)
            lines.push_back(bytes.substr(at + 58, 200).c_str());
        return lines;
    }
    // The values of `keys` in `section`, "-" for an absent one, joined with '|'.
    std::string stored(std::initializer_list<const char*> keys, const std::string& section = "Initialize") const {
        std::string values;
        for (const char* key : keys)
            values += "|" + m_profile.getText({section.c_str(), key, "-"});
        return values.substr(1);
    }

    logtest::TempFolder m_folder;
    const std::string m_dir = m_folder.path();
    CFolderSetupForm::Places m_places{m_dir + "Partners.ini", m_dir + "home/", m_dir + "def/Data/",
                                      m_dir + "def/Backup/", m_dir + "cfg/"};
    CAppProfile m_profile{m_dir + "Odrivo.ini"};
    CActivityLog m_log{m_dir + "Odrivo.log", m_dir + "Odrivo.archive"};
    std::string m_data = "/d/", m_backup = "/b/", m_config = "/c/";
    bool m_changed = false;
    std::optional<CFolderSetupForm> m_form;
    const std::string m_near = m_dir + "c/My Documents/Near My Documents/Odrivo Files/";
};

TEST_F(FolderSetupForm, OpeningRecordsEachDeviceSyncFolder) {
    m_profile.putText(ProfileKeys::PPCName, "Home");
    m_profile.putNumber(ProfileKeys::PPCSync, 1);
    CFolderSetupForm& form = makeForm();
    EXPECT_EQ(form.open(), Texts{"Device Name Unknown"});
    EXPECT_EQ(form.devices(), (Texts{"Near", "Home"}));
    EXPECT_TRUE(form.fields().sync && form.deviceControlsEnabled() && form.fields().deviceName == "Home");
    const std::string home = m_dir + "home/My Documents/Home My Documents/Odrivo Files/";
    EXPECT_EQ(stored({"DataPath"}, "Near") + stored({"DataPath", "PPCName"}, "Home"), m_near + home + "|Home");
    // The device name is logged before it is read.
    EXPECT_EQ(logged(), (Texts{"Path Setup", "/d/", "/b/", "/c/", "", "Application Path", m_places.homeFolder,
                               "Device Found", m_near, "Device Found", home}));
}

TEST_F(FolderSetupForm, SyncPointsTheFoldersAtTheDeviceAndTurningItOffBringsThemBack) {
    fs::create_directories(m_near);
    logtest::writeFile(m_near + "Drivana.ini", "");
    CFolderSetupForm& form = makeForm();
    form.open();
    const struct {
        bool on;
        std::optional<std::string> picked;
        const char* refusal;
        std::string folders, stored; // Path, Config, OldDataPath, OldConfigPath, PPCName, PPCSync
    } steps[] = {
        {true, std::nullopt, "", "/d/ /c/", "-|-|-|-||0"}, // no device picked: sync goes off again
        {true, "Home", "No Config files found,\nThe Setup Path must point", "/d/ /c/", "-|-|-|-||0"},
        {true, "Near", "", m_near + " " + m_near, m_near + "|" + m_near + "|/d/|/c/|Near|1"},
        {false, std::nullopt, "", "/d/ /c/", "/d/|/c/|/d/|/c/|Near|0"}, // the folders before come back
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.stored);
        form.fields().sync = s.on;
        Texts messages = form.syncClicked();
        if (s.on) {
            EXPECT_TRUE(form.fields().deviceName == "Pick a Device" && form.deviceControlsEnabled());
            messages = form.applySyncChoice(s.picked);
        }
        const std::string& shown = messages.empty() ? "" : messages.front();
        EXPECT_TRUE(messages.size() <= 1 && shown.starts_with(s.refusal) &&
                    (messages.empty() || shown.ends_with("email support@odrivo.org for assistance.")))
            << shown;
        EXPECT_EQ(form.fields().sync + form.deviceControlsEnabled(), s.stored.ends_with("1") ? 2 : 0);
        EXPECT_EQ(form.fields().dataFolder + " " + form.fields().configFolder + " " + m_data + " " + m_config,
                  s.folders + " " + s.folders);
        EXPECT_EQ(stored({"Path", "Config", "OldDataPath", "OldConfigPath", "PPCName", "PPCSync"}), s.stored);
    }
    EXPECT_EQ(logged().back(), "ERROR:  No Drivana.ini found in config path");
    // Sync turned on, then the sheet closes before a device is picked: nothing to follow, no backup folder.
    form.fields().sync = true;
    EXPECT_TRUE(form.syncClicked().empty() && form.save().empty());
    EXPECT_EQ(stored({"PPCName", "PPCSync"}) + " " + m_backup, "|0 /b/");
}

TEST_F(FolderSetupForm, SaveAddsSeparatorsAndGivesASyncedDeviceItsOwnBackupFolder) {
    for (const bool sync : {false, true}) {
        const std::string backup = sync ? m_dir + "cfg/Near/" : "/typed/b/";
        CFolderSetupForm& form = makeForm();
        form.fields() = {"/typed/d", "/typed/b", "/typed/c/", true, sync, "Near"};
        EXPECT_TRUE(form.save().empty());
        EXPECT_EQ(stored({"Path", "Backup", "Config", "PPCName", "PPCSync"}),
                  std::string("/typed/d/|/typed/b/|/typed/c/|Near|") + (sync ? "1" : "0"));
        EXPECT_EQ(m_data + "|" + m_backup + "|" + m_config + " " + form.fields().backupFolder,
                  "/typed/d/|" + backup + "|/typed/c/ " + backup);
        const Texts lines = logged();
        EXPECT_EQ(Texts(lines.end() - 4, lines.end()),
                  (Texts{sync ? "PATHS: Not Synced    Device: Near" : "PATHS: Not Synced    Paths: Reset",
                         "Data Path: /typed/d/", "Backup Path: " + backup, "Config Path: /typed/c/"}));
        EXPECT_TRUE(m_changed && fs::is_directory(backup) == sync);
    }
}

TEST_F(FolderSetupForm, MissingPartnershipsAndFailedWritesAreReported) {
    fs::remove(m_places.partnersPath);
    logtest::writeFile(m_dir + "file", ""); // the profile's folder is a file: nothing can be written
    CAppProfile profile(m_dir + "file/Odrivo.ini");
    CFolderSetupForm form(Targets{profile, m_log, m_data, m_backup, m_config, m_changed}, m_places);
    EXPECT_EQ(form.open().at(0).substr(0, 39), "Unable to get list of Pocket PC Devices");
    EXPECT_EQ(form.fields().deviceName, "Unavailable");
    EXPECT_EQ(form.syncClicked(), (Texts{"Data Path failed to change", "Config Path failed to change"}));
    EXPECT_EQ(form.save(), (Texts{"Path failed to set", "Backup Path failed to set", "Config Path failed to set"}));
}

} // namespace
