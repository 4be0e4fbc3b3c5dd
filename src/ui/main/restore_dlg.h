#pragma once
// CRestoreDlg copies the backup folder's data files and INI files back over the working
// files (see CCopyRunDlg for the flow). Its result flag lives for the whole process, apart
// from the backup's: 1 once a restore has started, 0 after the user declined one.

#include "ui/main/copy_run_dlg.h"

class CRestoreDlg : public CCopyRunDlg {
    Q_OBJECT
public:
    CRestoreDlg(const FolderSettings& folders, CAppProfile& profile, CActivityLog* log, QWidget* parent = nullptr);

    static int lastResult() { return s_result; }
    // Tests: back to the state of a fresh process.
    static void resetLastResult() { s_result = 0; }

private:
    static int s_result;
};
