#include "store/folder_setup_form.h"

#include "store/activity_log.h"
#include "store/app_folders.h"
#include "store/app_profile.h"
#include "store/partnerships.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace {

// Keys of a device's own section, named after the device.
constexpr const char* kDataPathKey = "DataPath";
constexpr const char* kDeviceNameKey = "PPCName";
constexpr const char* kVehicleListFile = "Drivana.ini";
constexpr const char* kSupportAddress = "support@odrivo.org";

ProfileKey deviceKey(const std::string& device, const char* key) {
    return {device.c_str(), key};
}

std::string orDefault(std::string value, const std::string& fallback) {
    return value.empty() ? fallback : value;
}

} // namespace

CFolderSetupForm::Places CFolderSetupForm::Places::system() {
    return {CAppFolders::partnersPath(), CAppFolders::userHomeFolder(), CAppFolders::defaultDataFolder(),
            CAppFolders::defaultBackupFolder(), CAppFolders::defaultConfigFolder()};
}

CFolderSetupForm::CFolderSetupForm(Targets targets, Places places) : m_targets(targets), m_places(std::move(places)) {
    m_fields.dataFolder = m_targets.dataFolder;
    m_fields.backupFolder = m_targets.backupFolder;
    m_fields.configFolder = m_targets.configFolder;
    m_fields.splash = m_targets.profile.getNumber(ProfileKeys::Splash) != 0;
}

CFolderSetupForm::Messages CFolderSetupForm::open() {
    Messages messages;
    m_devices.clear();
    CActivityLog& log = m_targets.log;
    log.write("Path Setup");
    log.write(m_fields.dataFolder);
    log.write(m_fields.backupFolder);
    log.write(m_fields.configFolder);
    log.write(m_fields.deviceName);

    m_fields.deviceName = m_targets.profile.getText(ProfileKeys::PPCName);
    m_fields.sync = m_targets.profile.getNumber(ProfileKeys::PPCSync) != 0;
    m_deviceControlsEnabled = m_fields.sync;

    log.write("Application Path");
    log.write(m_places.homeFolder);

    const auto partners = CPartnerships::read(m_places.partnersPath);
    if (!partners) {
        messages.emplace_back("Unable to get list of Pocket PC Devices from registry, Enter path to sync folder in "
                              "Data Filder and Setup Folder.\nSee Synchronization in the manual.");
        m_fields.deviceName = kUnavailable;
        m_fields.sync = false;
        m_deviceControlsEnabled = false;
        return messages;
    }
    bool written = true;
    for (const Partnership& partner : *partners) {
        if (!partner.displayName) {
            messages.emplace_back("Device Name Unknown");
            continue;
        }
        const std::string& name = *partner.displayName;
        m_devices.push_back(name);
        const std::string folder = CPartnerships::syncFolder(partner.dataFolder, name, m_places.homeFolder);
        written = m_targets.profile.putText(deviceKey(name, kDataPathKey), folder) && written;
        written = m_targets.profile.putText(deviceKey(name, kDeviceNameKey), name) && written;
        log.write("Device Found");
        log.write(folder);
    }
    // Without them picking a device cannot find its folder, so say so once.
    if (!written)
        messages.push_back("The Pocket PC sync folders could not be saved in the settings file " +
                           m_targets.profile.file() + ": " + m_targets.profile.lastError() +
                           ".\nCheck that the settings file can be written.");
    return messages;
}

void CFolderSetupForm::reset() {
    m_fields.dataFolder = m_places.defaultData;
    m_fields.backupFolder = m_places.defaultBackup;
    m_fields.configFolder = m_places.defaultConfig;
    m_targets.log.write("PATHS: Reset");
    logFolders(m_fields.dataFolder, m_fields.backupFolder, m_fields.configFolder);
}

CFolderSetupForm::Messages CFolderSetupForm::splashClicked() {
    if (m_targets.profile.putNumber(ProfileKeys::Splash, m_fields.splash ? 1 : 0))
        return {};
    return {"The splash screen setting could not be saved in the settings file " + m_targets.profile.file() + ": " +
            m_targets.profile.lastError() + ".\nCheck that the settings file can be written."};
}

void CFolderSetupForm::configEdited() {
    m_targets.foldersChanged = true;
}

CFolderSetupForm::Messages CFolderSetupForm::syncClicked() {
    m_targets.foldersChanged = true;
    m_deviceControlsEnabled = m_fields.sync;
    if (m_fields.sync) {
        m_fields.deviceName = kPickADevice;
        return {};
    }
    return applySyncChoice(std::nullopt);
}

CFolderSetupForm::Messages CFolderSetupForm::applySyncChoice(const std::optional<std::string>& selected) {
    Messages messages;
    CAppProfile& profile = m_targets.profile;
    m_targets.foldersChanged = true;
    if (m_fields.sync) {
        if (selected)
            m_fields.deviceName = *selected;
        // The prompt names no device.
        if (m_fields.deviceName == kPickADevice)
            m_fields.deviceName.clear();
        if (m_fields.deviceName.empty()) {
            m_fields.sync = false;
        } else {
            const std::string syncFolder = profile.getText(deviceKey(m_fields.deviceName, kDataPathKey));
            std::error_code error;
            if (syncFolder.empty() || !std::filesystem::is_regular_file(syncFolder + kVehicleListFile, error)) {
                messages.push_back(std::string("No Config files found,\nThe Setup Path must point to the sync folder "
                                               "for the Pocket PC.  You need to install and run the Pocket PC "
                                               "version before using the sync option on the desktop version.  If "
                                               "this error persists, check the support site by selecting Help, "
                                               "Check for Updates, or email ") +
                                   kSupportAddress + " for assistance.");
                m_targets.log.write("ERROR:  No Drivana.ini found in config path");
                m_fields.sync = false;
                m_deviceControlsEnabled = false;
                return messages;
            }
            profile.putText(ProfileKeys::OldDataPath, m_targets.dataFolder);
            profile.putText(ProfileKeys::OldConfigPath, m_targets.configFolder);
            m_targets.dataFolder = syncFolder;
            m_targets.configFolder = syncFolder;
            writeDataAndConfig(messages);
        }
    } else {
        m_targets.dataFolder = orDefault(profile.getText(ProfileKeys::OldDataPath), m_places.defaultData);
        m_targets.configFolder = orDefault(profile.getText(ProfileKeys::OldConfigPath), m_places.defaultConfig);
        writeDataAndConfig(messages);
    }
    m_deviceControlsEnabled = m_fields.sync;
    profile.putText(ProfileKeys::PPCName, m_fields.deviceName);
    profile.putNumber(ProfileKeys::PPCSync, m_fields.sync ? 1 : 0);
    return messages;
}

void CFolderSetupForm::writeDataAndConfig(Messages& messages) {
    m_fields.dataFolder = m_targets.dataFolder;
    m_fields.configFolder = m_targets.configFolder;
    if (!m_targets.profile.putText(ProfileKeys::Path, m_targets.dataFolder))
        messages.emplace_back("Data Path failed to change");
    if (!m_targets.profile.putText(ProfileKeys::Config, m_targets.configFolder))
        messages.emplace_back("Config Path failed to change");
}

void CFolderSetupForm::searchChosen(const std::string& folder) {
    m_targets.dataFolder = folder;
    m_targets.configFolder = folder;
    m_fields.dataFolder = folder;
    m_fields.configFolder = folder;
}

CFolderSetupForm::Messages CFolderSetupForm::save() {
    Messages messages;
    CAppProfile& profile = m_targets.profile;
    m_targets.foldersChanged = true;
    // Sync turned on but no device picked yet: as when the drop-down closes, there is nothing to follow,
    // and "Pick a Device" must not become a backup folder.
    if (m_fields.deviceName == kPickADevice)
        m_fields.deviceName.clear();
    if (m_fields.deviceName.empty())
        m_fields.sync = false;
    m_fields.dataFolder = CAppFolders::withSeparator(m_fields.dataFolder);
    m_fields.backupFolder = CAppFolders::withSeparator(m_fields.backupFolder);
    m_fields.configFolder = CAppFolders::withSeparator(m_fields.configFolder);
    m_targets.dataFolder = m_fields.dataFolder;
    m_targets.backupFolder = m_fields.backupFolder;
    m_targets.configFolder = m_fields.configFolder;

    if (!profile.putText(ProfileKeys::Path, m_fields.dataFolder))
        messages.emplace_back("Path failed to set");
    if (!profile.putText(ProfileKeys::Backup, m_fields.backupFolder))
        messages.emplace_back("Backup Path failed to set");
    if (!profile.putText(ProfileKeys::Config, m_fields.configFolder))
        messages.emplace_back("Config Path failed to set");
    profile.putText(ProfileKeys::PPCName, m_fields.deviceName);
    profile.putNumber(ProfileKeys::PPCSync, m_fields.sync ? 1 : 0);

    if (!m_fields.sync) {
        m_targets.backupFolder = orDefault(profile.getText(ProfileKeys::Backup), m_places.defaultBackup);
        m_targets.log.write("PATHS: Not Synced    Paths: Reset");
    } else {
        // A synced device's data lives in its sync folder; its backups get a folder of their own.
        const std::string backup = m_places.defaultConfig + m_fields.deviceName + "/";
        if (::mkdir(backup.c_str(), 0777) != 0 && errno != EEXIST)
            messages.push_back("The backup folder " + backup + " could not be created: " + std::strerror(errno) +
                               ".\nCheck that its folder exists and can be written.");
        m_targets.backupFolder = backup;
        m_fields.backupFolder = backup;
        m_targets.log.write("PATHS: Not Synced    Device: " + m_fields.deviceName);
    }
    logFolders(m_targets.dataFolder, m_targets.backupFolder, m_targets.configFolder);
    return messages;
}

void CFolderSetupForm::logFolders(const std::string& data, const std::string& backup, const std::string& config) {
    m_targets.log.write("Data Path: " + data);
    m_targets.log.write("Backup Path: " + backup);
    m_targets.log.write("Config Path: " + config);
}
