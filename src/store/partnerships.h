#pragma once
// The handheld partnerships the desktop sync software sets up, one INI section per device
// with its DisplayName and DataFolder, and the sync folder each device's files go to.
// The setup page lists the devices from here and points the data and config folders at
// the chosen device's sync folder.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Partnership {
    std::optional<std::string> displayName; // absent (or empty) when the section names no device
    std::string dataFolder;
    bool operator==(const Partnership&) const = default;
};

class CPartnerships {
public:
    // The partnerships in file order; std::nullopt when the file cannot be read.
    // Names match without regard to case and the first of a repeated key wins, as in
    // every other INI file the program reads; text is Windows-1252 on disk.
    static std::optional<std::vector<Partnership>> read(const std::string& path);

    // "<base>My Documents/<name> My Documents/Odrivo Files/". The base is the part of the
    // data folder before "Application Data/Microsoft/ActiveSync" when that comes after
    // something, else the user's profile folder (which ends in '/').
    static std::string syncFolder(std::string_view dataFolder, std::string_view displayName,
                                  std::string_view profileFolder);
};
