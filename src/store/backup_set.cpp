#include "store/backup_set.h"

#include "calc/locale_info.h"
#include "store/activity_log.h"
#include "store/app_folders.h"
#include "store/app_profile.h"
#include "store/file_io.h"
#include "store/vehicle_log_doc.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

namespace {

bool endsWithNoCase(const std::string& name, std::string_view ending) {
    if (name.size() <= ending.size())
        return false;
    return std::equal(
        ending.begin(), ending.end(), name.end() - static_cast<std::ptrdiff_t>(ending.size()), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
}

// The names of the files in `folder` whose names end in `ending`, sorted so that runs
// are repeatable. A missing or unreadable folder has none.
std::vector<std::string> filesMatching(const std::string& folder, std::string_view ending) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError))
            continue;
        std::string name = it->path().filename().string();
        if (endsWithNoCase(name, ending))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

void addFiles(std::vector<BackupFile>& files, const std::string& from, const std::string& to, std::string_view ending) {
    const std::string source = CAppFolders::withSeparator(from);
    const std::string target = CAppFolders::withSeparator(to);
    for (std::string& name : filesMatching(source, ending))
        files.push_back({name, source + name, target + name});
}

} // namespace

std::vector<std::string> CopyRunResult::listNewestFirst() const {
    std::vector<std::string> names;
    names.reserve(copied.size());
    for (auto it = copied.rbegin(); it != copied.rend(); ++it)
        names.push_back(it->name);
    return names;
}

CBackupSet::CBackupSet(FolderSettings folders) : m_folders(std::move(folders)) {}

std::vector<BackupFile> CBackupSet::backupFiles() const {
    std::vector<BackupFile> files;
    addFiles(files, m_folders.data, m_folders.backup, ".odv");
    addFiles(files, m_folders.config, m_folders.backup, ".ini");
    return files;
}

std::vector<BackupFile> CBackupSet::restoreFiles() const {
    std::vector<BackupFile> files;
    addFiles(files, m_folders.backup, m_folders.data, ".odv");
    addFiles(files, m_folders.backup, m_folders.config, ".ini");
    return files;
}

CopyRunResult CBackupSet::backup(CActivityLog* log, const FileObserver& observer) const {
    // A folder that cannot be made shows up as a failed copy for each file.
    odrivo::ensureFolder(CAppFolders::withSeparator(m_folders.backup));
    return run(backupFiles(), "Backup", log, observer);
}

CopyRunResult CBackupSet::restore(CActivityLog* log, const FileObserver& observer) const {
    const std::vector<BackupFile> files = restoreFiles();
    // A working folder removed since the backup is made again, so its files can come back.
    for (const BackupFile& file : files)
        odrivo::ensureFolder(odrivo::folderOf(file.target));
    return run(files, "Restore", log, observer);
}

CopyRunResult CBackupSet::run(const std::vector<BackupFile>& files, const char* what, CActivityLog* log,
                              const FileObserver& observer) const {
    CopyRunResult result;
    for (const BackupFile& file : files) {
        if (observer)
            observer(file);
        std::string reason;
        if (endsWithNoCase(file.name, ".odv")) {
            // A damaged log must never replace the copy it would overwrite: that copy may be the last good one.
            CVehicleLogDoc doc;
            const LogLoadResult loaded = doc.load(file.source);
            if (loaded.status != LogLoadStatus::Loaded) {
                reason = "it does not read as a vehicle log, so " + file.target + " was kept as it is (" +
                         loaded.message + ")";
                if (log)
                    log->write(std::string(what) + " skipped damaged file: " + file.source + ": " + reason);
                result.failed.push_back({file, std::move(reason)});
                continue;
            }
        }
        if (copyFile(file.source, file.target, &reason)) {
            result.copied.push_back(file);
            continue;
        }
        if (log)
            log->write(std::string(what) + " copy failed: " + file.source + " -> " + file.target + ": " + reason);
        result.failed.push_back({file, std::move(reason)});
    }
    return result;
}

bool CBackupSet::copyFile(const std::string& from, const std::string& to, std::string* error) {
    std::string bytes;
    std::string reason;
    switch (odrivo::readWholeFile(from, bytes, &reason)) {
    case odrivo::ReadStatus::Missing:
        if (error)
            *error = "the file " + from + " is gone";
        return false;
    case odrivo::ReadStatus::Failed:
        if (error)
            *error = "the file " + from + " could not be read (" + reason + ")";
        return false;
    case odrivo::ReadStatus::Ok:
        break;
    }
    if (!odrivo::writeFileAtomically(to, bytes, &reason)) {
        if (error)
            *error = "the file " + to + " could not be written (" + reason + ")";
        return false;
    }
    return true;
}

std::string CBackupSet::timeStamp(std::time_t when) {
    // The same date and time the list shows, so that the stamp reads like every other date.
    return CLibcLocale().dateAndTime(static_cast<DVTime>(when));
}

bool CBackupSet::recordBackup(CAppProfile& profile, std::time_t when) {
    return profile.putText(ProfileKeys::LastBackupDate, timeStamp(when));
}

bool CBackupSet::recordRestore(CAppProfile& profile, std::time_t when) {
    return profile.putText(ProfileKeys::LastRestoreDate, timeStamp(when));
}

std::string CBackupSet::lastBackupDate(const CAppProfile& profile) {
    return profile.getText(ProfileKeys::LastBackupDate);
}

std::string CBackupSet::lastRestoreDate(const CAppProfile& profile) {
    return profile.getText(ProfileKeys::LastRestoreDate);
}
