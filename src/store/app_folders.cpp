#include "store/app_folders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kAppFolder = "Odrivo/";

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    // A session without HOME (some service managers) still has a passwd entry.
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        *found->pw_dir)
        return found->pw_dir;
    return "/";
}

// An XDG base folder: the variable when it holds an absolute path, else the default under the home folder.
std::string xdgFolder(const char* variable, const char* homeRelativeDefault) {
    if (const char* value = std::getenv(variable); value && value[0] == '/')
        return CAppFolders::withSeparator(value);
    return CAppFolders::withSeparator(homeFolder()) + homeRelativeDefault;
}

std::string appConfigHome() {
    return xdgFolder("XDG_CONFIG_HOME", ".config/") + kAppFolder;
}
std::string appDataHome() {
    return xdgFolder("XDG_DATA_HOME", ".local/share/") + kAppFolder;
}

} // namespace

std::string CAppFolders::profilePath() {
    return appConfigHome() + "Odrivo.ini";
}

std::string CAppFolders::userHomeFolder() {
    return withSeparator(homeFolder());
}

std::string CAppFolders::partnersPath() {
    return appConfigHome() + "Partners.ini";
}

std::string CAppFolders::defaultConfigFolder() {
    return appDataHome();
}

std::string CAppFolders::defaultDataFolder() {
    return appDataHome() + "Data/";
}

std::string CAppFolders::defaultBackupFolder() {
    return appDataHome() + "Backup/";
}

std::string CAppFolders::stateFolder() {
    return xdgFolder("XDG_STATE_HOME", ".local/state/") + kAppFolder;
}

std::string CAppFolders::logPath() {
    return stateFolder() + "Odrivo.log";
}

std::string CAppFolders::archivePath() {
    return stateFolder() + "Odrivo.archive";
}

std::string CAppFolders::withSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}
