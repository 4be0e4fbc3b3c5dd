#include "ui/setup/locate_folders_dlg.h"

#include "store/folder_finder.h"
#include "ui/setup/searching_dlg.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/modal_runner.h"
#include "ui/toolkit/qt_text.h"
#include "ui_locate_folders_dlg.h"

#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace {
constexpr int kResultsWidth = 280;
}

CLocateFoldersDlg::CLocateFoldersDlg(std::string backupFolder, std::string configFolder, std::string startFolder,
                                     QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::CLocateFoldersDlg>()), m_backupFolder(std::move(backupFolder)),
      m_configFolder(std::move(configFolder)), m_startFolder(std::move(startFolder)) {
    ui->setupUi(this);
    ui->resultList->setColumnWidth(0, kResultsWidth);
    connect(ui->saveButton, &QPushButton::clicked, this, &CLocateFoldersDlg::save);
    connect(ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

CLocateFoldersDlg::~CLocateFoldersDlg() = default;

std::string CLocateFoldersDlg::chosenFolder() const {
    return m_chosen;
}

void CLocateFoldersDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_searched) {
        m_searched = true;
        // The search dialog runs once this one is on screen, so its results have a place to go.
        QTimer::singleShot(0, this, &CLocateFoldersDlg::search);
    }
}

void CLocateFoldersDlg::search() {
    ui->resultList->clear();
    CSearchingDlg searching(m_startFolder, this);
    const auto addRow = [this](const std::string& text) {
        ui->resultList->addTopLevelItem(new QTreeWidgetItem(QStringList{toQt(text)}));
    };
    bool listed = false;
    if (CModalRunner::run(searching) == QDialog::Accepted) {
        for (const std::string& folder :
             CFolderFinder::offeredFolders(searching.foundFolders(), m_backupFolder, m_configFolder)) {
            addRow(folder);
            listed = true;
        }
    } else {
        addRow("Cancelled");
    }
    if (!listed) {
        addRow("No other folders located.");
        ui->saveButton->setEnabled(false);
    }
}

void CLocateFoldersDlg::save() {
    const QList<QTreeWidgetItem*> selected = ui->resultList->selectedItems();
    if (selected.isEmpty()) {
        CMessageBox::warn(this, tr("Error! No Item Selected.\nSelect a path from the list or select CANCEL to exit "
                                   "without changing paths."));
        return;
    }
    m_chosen = fromQt(selected.front()->text(0));
    accept();
}
