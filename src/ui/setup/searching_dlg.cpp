#include "ui/setup/searching_dlg.h"

#include "ui/toolkit/message_box.h"
#include "ui/toolkit/qt_text.h"
#include "ui_searching_dlg.h"

#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <cmath>
#include <numbers>

namespace {

constexpr int kIconSize = 32;
constexpr int kPollMs = 50; // short enough that a cancel ends the search at once
constexpr int kIconTickMs = 100;

// Frame `frame` of the spinner: twelve spokes, the one at `frame` darkest and the ones behind
// it fading, so stepping through the frames turns the wheel clockwise.
QPixmap spinnerFrame(int frame, int frames, const QColor& ink) {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(kIconSize / 2.0, kIconSize / 2.0);
    for (int spoke = 0; spoke < frames; ++spoke) {
        const int behind = (frame - spoke + frames) % frames;
        QColor colour = ink;
        colour.setAlphaF(1.0 - 0.8 * behind / (frames - 1));
        const double angle = 2 * std::numbers::pi * spoke / frames;
        const QPointF direction(std::sin(angle), -std::cos(angle));
        painter.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(direction * 7, direction * 14);
    }
    return pixmap;
}

} // namespace

CSearchingDlg::CSearchingDlg(std::string startFolder, QWidget* parent, std::string mountsFile, std::string homeFolder)
    : QDialog(parent), ui(std::make_unique<Ui::CSearchingDlg>()), m_finder(mountsFile, homeFolder),
      m_startFolder(std::move(startFolder)) {
    ui->setupUi(this);
    // The folder line starts at the first folder the search will walk.
    const std::vector<std::string> roots =
        m_startFolder.empty() ? CFolderFinder::startFolders(mountsFile, homeFolder) : std::vector{m_startFolder};
    ui->folderLabel->setText(roots.empty() ? QString() : toQt(roots.front()));

    const QColor ink = palette().color(QPalette::WindowText);
    for (int i = 0; i < kIconFrames; ++i)
        m_iconFrames[i] = spinnerFrame(i, kIconFrames, ink);
    ui->iconLabel->setPixmap(m_iconFrames[0]);

    m_pollTimer.setInterval(kPollMs);
    m_iconTimer.setInterval(kIconTickMs);
    connect(&m_pollTimer, &QTimer::timeout, this, &CSearchingDlg::poll);
    connect(&m_iconTimer, &QTimer::timeout, this, &CSearchingDlg::nextIconFrame);
    connect(ui->cancelSearchButton, &QPushButton::clicked, this, [this] { m_cancelPressed = true; });
}

CSearchingDlg::~CSearchingDlg() = default; // the finder cancels and joins its worker

void CSearchingDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        // Start once the dialog is on screen, so the user sees it before the walk begins.
        QTimer::singleShot(0, this, &CSearchingDlg::startSearch);
    }
}

void CSearchingDlg::reject() {
    if (m_finished)
        QDialog::reject();
    else if (!m_cancelPressed && CMessageBox::ask(this, tr("The search is still running. Stop it and close?")))
        m_cancelPressed = true;
}

void CSearchingDlg::startSearch() {
    if (m_cancelPressed) // pressed before the worker began: nothing to stop
        return finish(false);
    CFolderFinder::Params params;
    params.startFolder = m_startFolder;
    params.fileName = "Drivana.ini";
    params.includeSubfolders = true;
    params.stopAtFirstMatch = false;
    if (!m_finder.start(std::move(params))) {
        CMessageBox::warn(this, tr("Thread Creation Failed"));
        return finish(true); // nothing was searched, so nothing was found; the user did not cancel
    }
    m_iconTimer.start();
    m_pollTimer.start();
}

void CSearchingDlg::poll() {
    if (m_cancelPressed)
        m_finder.cancel();
    // Until the worker has written its first status, the dialog's own texts stay.
    if (const std::string status = m_finder.statusText(); !status.empty()) {
        ui->statusLabel->setText(toQt(status));
        ui->folderLabel->setText(toQt(m_finder.folderText()));
    }
    if (m_finder.isDone())
        finish(m_finder.succeeded());
}

void CSearchingDlg::nextIconFrame() {
    m_iconFrame = (m_iconFrame + 1) % kIconFrames;
    ui->iconLabel->setPixmap(m_iconFrames[m_iconFrame]);
}

void CSearchingDlg::finish(bool completed) {
    m_pollTimer.stop();
    m_iconTimer.stop();
    m_finder.wait();
    m_finished = true;
    if (completed)
        m_found = m_finder.found();
    ui->statusLabel->setText(tr("Done"));
    done(completed ? QDialog::Accepted : QDialog::Rejected);
}
