#pragma once
// CCopyRunDlg is the common body of the Backup and Restore dialogs: a short text, a run
// button, a Close button, the "FILES COPIED" list and a disabled storage combo box.
// The run button asks for confirmation, then lets CBackupSet copy the files; each file's
// name goes to the top of the list as its copy starts, the profile gets the date of the
// run, and the user is told when it is complete and which files, if any, failed.
// Closing stores the combo text in the profile and ends the dialog with the kind's
// process-wide result flag: 1 once a run has started, 0 after the user said No or stopped it.
// Closing while the copy runs asks first when the kind can stop between two files (a backup);
// a kind that cannot (a restore, which must not leave old and new files mixed) finishes first.
// CBackupDlg and CRestoreDlg fill in the texts, the direction and the flag.

#include "store/app_profile.h"
#include "store/backup_set.h"
#include "store/folder_settings.h"

#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <ctime>
#include <functional>
#include <memory>

class CActivityLog;

namespace Ui {
class CCopyRunDlg;
}

class CCopyRunDlg : public QDialog {
    Q_OBJECT
public:
    ~CCopyRunDlg() override;

    // The clock that stamps the profile date (tests fix it).
    void setClock(std::function<std::time_t()> clock);

    // The run button: asks, then copies, fills the list, stamps the profile, says it is complete.
    void runCopy();

    // The "FILES COPIED" list, top to bottom.
    QStringList listedFiles() const;

    // Close button, Escape and the window's close box: stores the combo text and ends with the flag.
    // During a copy: asks whether to stop it, and when told Yes stops before the next file and closes.
    void reject() override;

protected:
    // What tells a backup from a restore.
    struct Kind {
        QString title;
        QString intro;
        QString runText;
        QString runIcon;
        QString runTip;
        QString closeTip;
        QString question;
        QMessageBox::Icon questionIcon;
        QString complete;
        QString noun; // "backup" or "restore", inside the failure messages
        ProfileKey storageKey;
        CopyRunResult (CBackupSet::*copy)(CActivityLog*, const CBackupSet::FileObserver&) const;
        bool (*record)(CAppProfile&, std::time_t);
        int* flag;
        QString stopQuestion = {}; // empty: the copy cannot be stopped
    };

    CCopyRunDlg(Kind kind, const FolderSettings& folders, CAppProfile& profile, CActivityLog* log, QWidget* parent);

private:
    void reportFailures(const CopyRunResult& result);

    std::unique_ptr<Ui::CCopyRunDlg> ui;
    Kind m_kind;
    FolderSettings m_folders;
    CAppProfile& m_profile;
    CActivityLog* m_log;
    std::function<std::time_t()> m_clock;
    bool m_running = false;
    bool m_stopRequested = false;
};
