#pragma once
// Where Odrivo keeps its files on this desktop, following the XDG base directories:
//   profile   $XDG_CONFIG_HOME/Odrivo/Odrivo.ini   (default ~/.config)
//   config    $XDG_DATA_HOME/Odrivo/               (default ~/.local/share) holds Drivana.ini
//   data      $XDG_DATA_HOME/Odrivo/Data/          the vehicle data files
//   backup    $XDG_DATA_HOME/Odrivo/Backup/
//   log       $XDG_STATE_HOME/Odrivo/Odrivo.log and Odrivo.archive (default ~/.local/state)
// Every folder path ends in '/'. Relative XDG values are ignored, as the XDG rules say.

#include <string>

class CAppFolders {
public:
    static std::string profilePath();
    static std::string defaultConfigFolder();
    static std::string defaultDataFolder();
    static std::string defaultBackupFolder();
    static std::string stateFolder();
    static std::string logPath();
    static std::string archivePath();
    // $HOME (or the account's home folder), ending in '/'.
    static std::string userHomeFolder();
    // The handheld partnerships: $XDG_CONFIG_HOME/Odrivo/Partners.ini.
    static std::string partnersPath();

    // Appends '/' when missing (an empty path stays empty).
    static std::string withSeparator(std::string folder);
};
