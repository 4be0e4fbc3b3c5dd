#pragma once
// CBackupSet copies the user's files between the working folders and the backup folder.
// A backup takes every vehicle data file ("*.odv") of the data folder and every INI file
// ("*.ini") of the config folder and puts one flat copy of each, under the same name, in
// the backup folder; a restore copies the backup folder's "*.odv" files back to the data
// folder and its "*.ini" files back to the config folder. Nothing is merged or deleted:
// each file is read whole and written over its target with writeFileAtomically, so a
// crash leaves either the old or the new file. A copy that fails is remembered in the
// run's result, written to the activity log, and the run goes on with the next file.
// The profile keeps the time of the last completed backup and restore.

#include "store/folder_settings.h"

#include <ctime>
#include <functional>
#include <string>
#include <vector>

class CActivityLog;
class CAppProfile;

// One file of a run: its name and the full paths it is copied from and to.
struct BackupFile {
    std::string name;
    std::string source;
    std::string target;
};

struct FailedCopy {
    BackupFile file;
    std::string reason;
};

struct CopyRunResult {
    std::vector<BackupFile> copied; // in the order they were copied
    std::vector<FailedCopy> failed;

    // The names for the dialog's "FILES COPIED" list: the most recently copied on top.
    std::vector<std::string> listNewestFirst() const;
};

class CBackupSet {
public:
    explicit CBackupSet(FolderSettings folders);

    const FolderSettings& folders() const { return m_folders; }

    // The files a run would copy: data files first, then INI files, each group by name.
    std::vector<BackupFile> backupFiles() const;
    std::vector<BackupFile> restoreFiles() const;

    // Told each file's name just before it is copied, so a list can show it while the copy runs.
    using FileObserver = std::function<void(const BackupFile&)>;

    // Creates the backup folder when missing, then copies every file of backupFiles().
    // `log` (may be null) receives one line per failed copy.
    CopyRunResult backup(CActivityLog* log, const FileObserver& observer = {}) const;
    // Copies every file of restoreFiles() over the working files.
    CopyRunResult restore(CActivityLog* log, const FileObserver& observer = {}) const;

    // Reads `from` whole and replaces `to` with its bytes. `to` is left as it was on failure.
    static bool copyFile(const std::string& from, const std::string& to, std::string* error = nullptr);

    // The locale's short date (four-digit year), one blank, and its time without seconds.
    static std::string timeStamp(std::time_t when);

    // Write the stamp of `when` as the last backup or restore date; false when the profile cannot be written.
    static bool recordBackup(CAppProfile& profile, std::time_t when);
    static bool recordRestore(CAppProfile& profile, std::time_t when);
    // The stored stamps, "Unknown" before the first run.
    static std::string lastBackupDate(const CAppProfile& profile);
    static std::string lastRestoreDate(const CAppProfile& profile);

private:
    CopyRunResult run(const std::vector<BackupFile>& files, const char* what, CActivityLog* log,
                      const FileObserver& observer) const;

    FolderSettings m_folders;
};
