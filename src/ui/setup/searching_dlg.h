#pragma once
// CSearchingDlg runs a CFolderFinder for "Drivana.ini" while the user watches: it starts the
// worker when shown, polls its texts on a timer, turns "Cancel Search" into a cancel (Escape
// and the close box ask first), and closes by itself when the worker is done: Accepted when
// the search went through every folder, Rejected when it was cancelled.

#include "store/folder_finder.h"

#include <QDialog>
#include <QPixmap>
#include <QTimer>
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class CSearchingDlg;
}

class CSearchingDlg : public QDialog {
    Q_OBJECT
public:
    // An empty start folder searches the home folder and every local mount; the mounts file
    // and home folder (empty: $HOME) are given so a test can stand in its own.
    explicit CSearchingDlg(std::string startFolder = {}, QWidget* parent = nullptr,
                           std::string mountsFile = "/proc/self/mounts", std::string homeFolder = {});
    ~CSearchingDlg() override;

    // The folders that hold the file, each ending in '/', in the order found; empty after a cancel.
    const std::vector<std::string>& foundFolders() const { return m_found; }

public slots:
    // Escape and the close box ask whether to stop the search; on Yes it is cancelled and the
    // dialog closes once the worker has stopped.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    static constexpr int kIconFrames = 12;

    void startSearch();
    void poll();
    void nextIconFrame();
    void finish(bool completed);

    std::unique_ptr<Ui::CSearchingDlg> ui;
    CFolderFinder m_finder;
    std::string m_startFolder;
    QTimer m_pollTimer;
    QTimer m_iconTimer;
    std::array<QPixmap, kIconFrames> m_iconFrames;
    int m_iconFrame = 0;
    bool m_started = false;
    bool m_cancelPressed = false;
    bool m_finished = false;
    std::vector<std::string> m_found;
};
