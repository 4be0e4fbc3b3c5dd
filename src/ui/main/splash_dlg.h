#pragma once
// CSplashDlg greets the user at start-up with the program's name and picture. Its
// "Show at startup" box reports every change at once (showAtStartupChanged), so the
// caller's flag follows it; the caller stores the final state when the dialog closes.

#include <QDialog>
#include <memory>

namespace Ui {
class CSplashDlg;
}

class CSplashDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSplashDlg(bool showAtStartup, QWidget* parent = nullptr);
    ~CSplashDlg() override;

    bool showAtStartup() const;
    void setShowAtStartup(bool show);

signals:
    void showAtStartupChanged(bool show);

private:
    std::unique_ptr<Ui::CSplashDlg> ui;
};
