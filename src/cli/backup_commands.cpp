#include "cli/backup_commands.h"

#include "cli/cli_vehicle.h"
#include "store/activity_log.h"
#include "store/app_folders.h"
#include "store/app_profile.h"
#include "store/backup_set.h"
#include "store/folder_settings.h"

#include <cstddef>
#include <ostream>
#include <vector>

namespace {

const char* plural(std::size_t n, const char* one, const char* many) {
    return n == 1 ? one : many;
}

void printCopied(const CopyRunResult& result, std::ostream& out) {
    for (const BackupFile& file : result.copied)
        out << "Copied " << file.source << " -> " << file.target << '\n';
}

void reportFailures(const CopyRunResult& result, std::ostream& err) {
    for (const FailedCopy& failed : result.failed)
        err << "odrivo-cli: " << failed.file.name << " was not copied: " << failed.reason << ".\n";
    if (!result.failed.empty())
        err << "Check that the folders exist and are writable and that no other program holds the files, "
               "then run the command again.\n";
}

void writeDate(bool saved, const CAppProfile& profile, std::ostream& err) {
    if (!saved)
        err << "odrivo-cli: the date of this run could not be saved in " << profile.file() << ": "
            << profile.lastError() << ".\n";
}

} // namespace

namespace {

// A vehicle list that exists but cannot be read would be silently left out of the copy.
bool registryReadable(const CBackupSet& set, std::ostream& err) {
    return requireReadable(CAppFolders::withSeparator(set.folders().config) + "Drivana.ini", err);
}

} // namespace

int runBackup(const std::string& profilePath, std::time_t now, std::ostream& out, std::ostream& err) {
    const CBackupSet set(FolderSettings::read(CAppProfile(profilePath)));
    if (!registryReadable(set, err))
        return 1;
    CActivityLog log(CAppFolders::logPath(), CAppFolders::archivePath());
    log.setSection("Backup");
    const CopyRunResult result = set.backup(&log);
    printCopied(result, out);

    // Read again: the profile itself may be one of the INI files just copied.
    CAppProfile profile(profilePath);
    writeDate(CBackupSet::recordBackup(profile, now), profile, err);
    log.write("Full Backup Completed OK");
    reportFailures(result, err);
    out << "Backup complete: " << result.copied.size() << plural(result.copied.size(), " file", " files")
        << " copied to " << CAppFolders::withSeparator(set.folders().backup);
    if (!result.failed.empty())
        out << ", " << result.failed.size() << " failed";
    out << ".\nFull Backup: " << CBackupSet::lastBackupDate(profile) << '\n';
    return result.failed.empty() ? 0 : 1;
}

int runRestore(const std::string& profilePath, bool confirmed, std::time_t now, std::ostream& out, std::ostream& err) {
    const CBackupSet set(FolderSettings::read(CAppProfile(profilePath)));
    if (!registryReadable(set, err))
        return 1;
    if (!confirmed) {
        const std::vector<BackupFile> files = set.restoreFiles();
        if (files.empty()) {
            out << "The backup folder " << CAppFolders::withSeparator(set.folders().backup)
                << " holds no backup files; a restore would copy nothing.\n";
        } else {
            out << "A restore would replace these files with their copies from "
                << CAppFolders::withSeparator(set.folders().backup) << ":\n";
            for (const BackupFile& file : files)
                out << "  " << file.target << '\n';
        }
        err << "odrivo-cli: nothing was restored. Any change since the last backup would be lost; "
               "run \"restore --yes\" to restore.\n";
        return 1;
    }

    CActivityLog log(CAppFolders::logPath(), CAppFolders::archivePath());
    log.setSection("Restore");
    const CopyRunResult result = set.restore(&log);
    printCopied(result, out);

    // Opened after the copy, so the date lands in the restored profile when it was among the files.
    CAppProfile profile(profilePath);
    writeDate(CBackupSet::recordRestore(profile, now), profile, err);
    reportFailures(result, err);
    out << "Restore complete: " << result.copied.size() << plural(result.copied.size(), " file", " files")
        << " copied from " << CAppFolders::withSeparator(set.folders().backup);
    if (!result.failed.empty())
        out << ", " << result.failed.size() << " failed";
    out << ".\nRestore data on: " << CBackupSet::lastRestoreDate(profile) << '\n';
    return result.failed.empty() ? 0 : 1;
}
