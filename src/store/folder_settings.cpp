#include "store/folder_settings.h"

#include "store/app_folders.h"
#include "store/app_profile.h"

FolderSettings FolderSettings::read(const CAppProfile& profile) {
    return {profile.getText(ProfileKeys::Path, CAppFolders::defaultDataFolder()),
            profile.getText(ProfileKeys::Backup, CAppFolders::defaultBackupFolder()),
            profile.getText(ProfileKeys::Config, CAppFolders::defaultConfigFolder())};
}
