#pragma once
// CBackupDlg copies every vehicle data file and every INI file to the backup folder
// (see CCopyRunDlg for the flow). Its result flag lives for the whole process: the main
// window reads 1 after a backup ran, even when the dialog was opened again and just closed.

#include "ui/main/copy_run_dlg.h"

class CBackupDlg : public CCopyRunDlg {
    Q_OBJECT
public:
    CBackupDlg(const FolderSettings& folders, CAppProfile& profile, CActivityLog* log, QWidget* parent = nullptr);

    // 1 once a backup has started in this process, 0 after the user declined or stopped one.
    static int lastResult() { return s_result; }
    // Tests: back to the state of a fresh process.
    static void resetLastResult() { s_result = 0; }

private:
    static int s_result;
};
