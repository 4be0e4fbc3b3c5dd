#include "ui/main/backup_dlg.h"

int CBackupDlg::s_result = 0;

CBackupDlg::CBackupDlg(const FolderSettings& folders, CAppProfile& profile, CActivityLog* log, QWidget* parent)
    : CCopyRunDlg(
          {
              QStringLiteral("Backup"),
              QStringLiteral("Backup all data to the backup folder Select Backup to begin."),
              QStringLiteral("Backup"),
              QStringLiteral(":/backup/backup.svg"),
              QStringLiteral("Backup Now"),
              QStringLiteral("Cancel without backing up"),
              QStringLiteral("This function will replace any previous backup with the current database.\nContinue?"),
              QMessageBox::Warning,
              QStringLiteral("Backup Complete"),
              QStringLiteral("backup"),
              ProfileKeys::LastBackupStorage,
              &CBackupSet::backup,
              &CBackupSet::recordBackup,
              &s_result,
              QStringLiteral("The backup is still running. Stop it and close?"),
          },
          folders, profile, log, parent) {}
