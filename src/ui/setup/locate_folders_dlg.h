#pragma once
// CLocateFoldersDlg searches the disks for the handheld's sync folders (those holding
// Drivana.ini) as soon as it opens, lists the ones that are not the program's own backup or
// config folder, and lets the user pick one with SAVE.

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class CLocateFoldersDlg;
}

class CLocateFoldersDlg : public QDialog {
    Q_OBJECT
public:
    // An empty start folder searches the home folder and every local mount.
    CLocateFoldersDlg(std::string backupFolder, std::string configFolder, std::string startFolder = {},
                      QWidget* parent = nullptr);
    ~CLocateFoldersDlg() override;

    // The folder picked, ending in '/'; valid after the dialog was Accepted.
    std::string chosenFolder() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void search();
    void save();

    std::unique_ptr<Ui::CLocateFoldersDlg> ui;
    std::string m_backupFolder;
    std::string m_configFolder;
    std::string m_startFolder;
    std::string m_chosen;
    bool m_searched = false;
};
