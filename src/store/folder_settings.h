#pragma once
// The three folders Odrivo works with, as the per-user profile names them (Initialize
// Path, Backup and Config), falling back to the per-user defaults. The window and the
// command-line tool both read them here, so they always agree on where the files are.

#include <string>

class CAppProfile;

struct FolderSettings {
    std::string data;
    std::string backup;
    std::string config;

    static FolderSettings read(const CAppProfile& profile);
};
