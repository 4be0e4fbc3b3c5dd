#include "ui/main/restore_dlg.h"

int CRestoreDlg::s_result = 0;

CRestoreDlg::CRestoreDlg(const FolderSettings& folders, CAppProfile& profile, CActivityLog* log, QWidget* parent)
    : CCopyRunDlg(
          {
              QStringLiteral("Restore"),
              QStringLiteral("Restore: This action will replace all data files with the last backup.  Any changes "
                             "since the last backup will be lost."),
              QStringLiteral("Restore"),
              QStringLiteral(":/backup/restore.svg"),
              QStringLiteral("Restore Now"),
              QStringLiteral("Cancel without Restoring"),
              // The wording ("enter", "Coninue") is the one users of the handheld edition know.
              QStringLiteral("This function will replace ALL data for all vehicles with the last backup.\n"
                             "Any data enter since the last backup will be lost.\nConinue?"),
              QMessageBox::Critical,
              QStringLiteral("Restore Complete"),
              QStringLiteral("restore"),
              ProfileKeys::LastRestoreStorage,
              &CBackupSet::restore,
              &CBackupSet::recordRestore,
              &s_result,
          },
          folders, profile, log, parent) {}
