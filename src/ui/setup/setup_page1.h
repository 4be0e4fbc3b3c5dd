#pragma once
// CSetupPage1 is the sheet's "Folders" page: the data, backup and setup folders, the splash
// screen, and the link to a handheld's sync folder. The rules live in CFolderSetupForm; the
// page copies its controls into the form before each handler and shows the form afterwards.
// It reads the partnerships when it is first shown, and makes its fields the folders in use
// when the sheet closes. The folder search dialog is the window's to run: it hands the page
// a function that runs it and returns the chosen folder.

#include "store/folder_setup_form.h"
#include "ui/setup/setup_page.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QLineEdit;

namespace Ui {
class CSetupPage1;
}

class CSetupPage1 : public CSetupPage {
    Q_OBJECT
public:
    // Runs the folder search; the chosen folder (ending in '/'), or nothing when cancelled.
    using FolderSearch = std::function<std::optional<std::string>()>;

    explicit CSetupPage1(SetupContext& context, QWidget* parent = nullptr,
                         CFolderSetupForm::Places places = CFolderSetupForm::Places::system());
    ~CSetupPage1() override;

    QString title() const override { return tr("Folders"); }
    void writeBack() override;

    // Without a search the "Find PPC Share Folders" button stays disabled.
    void setFolderSearch(FolderSearch search);

    // Handlers, public so tests can run them after setting the controls.
    void reset();
    void syncClicked();
    void deviceDropDownClosed();
    void findFolders();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeValues();
    void showValues();
    void showMessages(const CFolderSetupForm::Messages& messages);
    void browse(QLineEdit* edit, const QString& caption);

    std::unique_ptr<Ui::CSetupPage1> ui;
    CFolderSetupForm m_form;
    FolderSearch m_searchFolders;
    bool m_opened = false;
};
