#include "ui/main/copy_run_dlg.h"

#include "store/activity_log.h"
#include "store/app_folders.h"
#include "store/file_io.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/qt_text.h"
#include "ui/toolkit/tool_tip.h"
#include "ui_copy_run_dlg.h"

#include <QApplication>
#include <QIcon>
#include <QTreeWidgetItem>
#include <utility>

namespace {

const QString kStorage = QStringLiteral("Main Memory");

// More names than this would make the message taller than the screen.
constexpr std::size_t kMaxFailuresNamed = 10;

// The wait cursor for the length of a run, also when the run ends by an exception.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Marks a run as going on until it ends, however it ends.
class RunningMark {
public:
    explicit RunningMark(bool& running) : m_running(running) { m_running = true; }
    ~RunningMark() { m_running = false; }
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;

private:
    bool& m_running;
};

// Thrown from the file observer to leave the copy between two files.
struct StopRequested {};

// Lets the list repaint; the user's clicks wait until the run is over.
void letListRepaint() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
}

} // namespace

CCopyRunDlg::CCopyRunDlg(Kind kind, const FolderSettings& folders, CAppProfile& profile, CActivityLog* log,
                         QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::CCopyRunDlg>()), m_kind(std::move(kind)), m_folders(folders),
      m_profile(profile), m_log(log), m_clock([] { return std::time(nullptr); }) {
    ui->setupUi(this);
    setWindowTitle(m_kind.title);
    ui->introLabel->setText(m_kind.intro);
    ui->runButton->setText(m_kind.runText);
    ui->runButton->setIcon(QIcon(m_kind.runIcon));
    ui->runButton->setToolTip(CToolTip::wrap(m_kind.runTip));
    ui->closeButton->setIcon(QIcon(QStringLiteral(":/backup/close.svg")));
    ui->closeButton->setToolTip(CToolTip::wrap(m_kind.closeTip));
    ui->storageCombo->addItem(kStorage);
    ui->storageCombo->setEditText(toQt(m_profile.getText(m_kind.storageKey)));

    // A folder that cannot be made shows up later, as failed copies.
    odrivo::ensureFolder(CAppFolders::withSeparator(m_folders.backup));

    connect(ui->runButton, &QPushButton::clicked, this, &CCopyRunDlg::runCopy);
    connect(ui->closeButton, &QPushButton::clicked, this, &CCopyRunDlg::reject);
}

CCopyRunDlg::~CCopyRunDlg() = default;

void CCopyRunDlg::setClock(std::function<std::time_t()> clock) {
    m_clock = std::move(clock);
}

void CCopyRunDlg::runCopy() {
    if (m_running)
        return;
    if (!CMessageBox::ask(this, m_kind.question, QString(), m_kind.questionIcon)) {
        *m_kind.flag = 0;
        return;
    }
    *m_kind.flag = 1;
    CopyRunResult result;
    bool recorded = false;
    try {
        RunningMark running(m_running);
        ui->fileList->clear();
        letListRepaint();
        WaitCursor wait;
        const CBackupSet set(m_folders);
        result = (set.*m_kind.copy)(m_log, [this](const BackupFile& file) {
            // Every file already copied is whole (each copy is atomic); the rest stay as they were.
            if (m_stopRequested)
                throw StopRequested{};
            ui->fileList->insertTopLevelItem(0, new QTreeWidgetItem(QStringList{toQt(file.name)}));
            letListRepaint();
            if (m_stopRequested)
                throw StopRequested{};
        });
        recorded = m_kind.record(m_profile, m_clock());
    } catch (const StopRequested&) {
        // A stopped run is no backup: its date is not recorded and the caller is told it did not run.
        if (m_log)
            m_log->write(QStringLiteral("%1 stopped by the user").arg(m_kind.title).toStdString());
        *m_kind.flag = 0;
        reject();
        return;
    }

    CMessageBox::inform(this, m_kind.complete);
    reportFailures(result);
    if (!recorded)
        CMessageBox::warn(this, QStringLiteral("The date of this %1 could not be saved in the settings file %2: %3.\n"
                                               "Check that the file can be written.")
                                    .arg(m_kind.noun, toQt(m_profile.file()), toQt(m_profile.lastError())));
}

void CCopyRunDlg::reportFailures(const CopyRunResult& result) {
    if (result.failed.empty())
        return;
    const std::size_t count = result.failed.size();
    QString text = QStringLiteral("The %1 could not copy %2 %3:\n")
                       .arg(m_kind.noun)
                       .arg(count)
                       .arg(count == 1 ? QStringLiteral("file") : QStringLiteral("files"));
    std::size_t named = 0;
    for (const FailedCopy& failure : result.failed) {
        if (named++ == kMaxFailuresNamed) {
            text += QStringLiteral("... and %1 more.\n").arg(count - kMaxFailuresNamed);
            break;
        }
        text += QStringLiteral("%1: %2\n").arg(toQt(failure.file.name), toQt(failure.reason));
    }
    text += QStringLiteral("Check these files and their folders, then run the %1 again.").arg(m_kind.noun);
    CMessageBox::warn(this, text);
}

QStringList CCopyRunDlg::listedFiles() const {
    QStringList names;
    for (int i = 0; i < ui->fileList->topLevelItemCount(); ++i)
        names << ui->fileList->topLevelItem(i)->text(0);
    return names;
}

void CCopyRunDlg::reject() {
    // The window's close box still works while the copy runs.
    if (m_running) {
        if (!m_kind.stopQuestion.isEmpty() && !m_stopRequested && CMessageBox::ask(this, m_kind.stopQuestion))
            m_stopRequested = true;
        return;
    }
    if (!m_profile.putText(m_kind.storageKey, fromQt(ui->storageCombo->currentText())))
        CMessageBox::warn(this, QStringLiteral("The storage choice could not be saved in the settings file %1: %2.\n"
                                               "Check that the file can be written.")
                                    .arg(toQt(m_profile.file()), toQt(m_profile.lastError())));
    done(*m_kind.flag);
}
