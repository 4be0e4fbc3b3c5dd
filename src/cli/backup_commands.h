#pragma once
// The odrivo-cli commands that back up and restore the user's files, as File > Backup
// and File > Restore do but without dialogs: the folders come from the per-user profile,
// the copying from CBackupSet, and each copied file is printed as it is done. The
// completed run's time goes to the profile and the outcome to the activity log.

#include <ctime>
#include <iosfwd>
#include <string>

int runBackup(const std::string& profilePath, std::time_t now, std::ostream& out, std::ostream& err);
// Without `confirmed` nothing is copied: the files that would be replaced are listed and
// the command refuses.
int runRestore(const std::string& profilePath, bool confirmed, std::time_t now, std::ostream& out, std::ostream& err);
