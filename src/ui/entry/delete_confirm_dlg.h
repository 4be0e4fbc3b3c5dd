#pragma once
// CDeleteConfirmDlg asks whether a log entry is really to be deleted. Its check box
// starts from the ask-before-deleting flag; YES and NO both store the box back into the
// flag, so the user can turn the question off. Accepted means YES.

#include <QDialog>
#include <memory>

namespace Ui {
class CDeleteConfirmDlg;
}

class CDeleteConfirmDlg : public QDialog {
    Q_OBJECT
public:
    // `askFlag` is updated when the dialog closes with YES or NO.
    CDeleteConfirmDlg(bool& askFlag, QWidget* parent = nullptr);
    ~CDeleteConfirmDlg() override;

private:
    void answer(int result);

    std::unique_ptr<Ui::CDeleteConfirmDlg> ui;
    bool& m_askFlag;
};
