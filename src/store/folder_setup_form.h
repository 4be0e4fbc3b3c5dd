#pragma once
// CFolderSetupForm holds the "Folders" setup page without any window: the three folder
// fields, the splash and sync flags, the device name and the handheld devices found in the
// partnerships file. It works on the window's own folders, profile and activity log, as the
// page does: picking a device points the data and config folders at that device's sync
// folder at once, turning sync off brings back the folders in use before, and save() (the
// page closing) makes the fields the folders in use. The page copies its controls into
// fields() before calling a handler and shows fields() afterwards; every handler returns the
// messages the page must show, in order.

#include <optional>
#include <string>
#include <vector>

class CActivityLog;
class CAppProfile;

class CFolderSetupForm {
public:
    // The device name while sync is on and no device has been picked yet.
    static constexpr const char* kPickADevice = "Pick a Device";
    // The device name when the partnerships cannot be read.
    static constexpr const char* kUnavailable = "Unavailable";

    // The window's settings the page changes.
    struct Targets {
        CAppProfile& profile;
        CActivityLog& log;
        std::string& dataFolder;
        std::string& backupFolder;
        std::string& configFolder;
        bool& foldersChanged;
    };
    // Where the partnerships and the folders the page falls back to are. Each folder ends in '/'.
    struct Places {
        std::string partnersPath;
        std::string homeFolder;
        std::string defaultData;
        std::string defaultBackup;
        std::string defaultConfig;

        // This user's places (CAppFolders).
        static Places system();
    };
    struct Fields {
        std::string dataFolder;
        std::string backupFolder;
        std::string configFolder;
        bool splash = true;
        bool sync = false;
        std::string deviceName;
    };
    using Messages = std::vector<std::string>;

    // The fields start with the folders in use and the splash setting.
    CFolderSetupForm(Targets targets, Places places);

    Fields& fields() { return m_fields; }
    const Fields& fields() const { return m_fields; }
    // The devices' names, in the order the partnerships list them.
    const std::vector<std::string>& devices() const { return m_devices; }
    // The device choice and the folder search are offered only while sync is on and the
    // partnerships could be read.
    bool deviceControlsEnabled() const { return m_deviceControlsEnabled; }

    // The page is shown for the first time: reads the settings and the partnerships, records
    // every device's sync folder in the profile.
    Messages open();
    // The user confirmed RESET: the fields take the install defaults.
    void reset();
    // The splash check box changed: written at once.
    Messages splashClicked();
    // The config field was edited: the vehicle list may now be another file.
    void configEdited();
    // The sync check box changed (fields().sync holds its new state).
    Messages syncClicked();
    // The device drop-down closed; `selected` is the picked item's text, if any.
    Messages applySyncChoice(const std::optional<std::string>& selected);
    // The folder search chose `folder` (ending in '/'): data and config files are there now.
    void searchChosen(const std::string& folder);
    // The page closes: the fields become the folders in use and are written to the profile.
    Messages save();

private:
    void logFolders(const std::string& data, const std::string& backup, const std::string& config);
    void writeDataAndConfig(Messages& messages);

    Targets m_targets;
    Places m_places;
    Fields m_fields;
    std::vector<std::string> m_devices;
    bool m_deviceControlsEnabled = false;
};
