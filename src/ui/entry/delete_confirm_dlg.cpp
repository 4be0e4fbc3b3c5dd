#include "ui/entry/delete_confirm_dlg.h"

#include "ui_delete_confirm_dlg.h"

#include <QIcon>

CDeleteConfirmDlg::CDeleteConfirmDlg(bool& askFlag, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::CDeleteConfirmDlg>()), m_askFlag(askFlag) {
    ui->setupUi(this);
    ui->iconLabel->setPixmap(QIcon(QStringLiteral(":/window/delete.svg")).pixmap(48, 48));
    ui->askCheck->setChecked(m_askFlag);
    connect(ui->yesButton, &QPushButton::clicked, this, [this] { answer(QDialog::Accepted); });
    connect(ui->noButton, &QPushButton::clicked, this, [this] { answer(QDialog::Rejected); });
    // Deleting cannot be undone: Enter and Space answer No unless the user moves on purpose.
    ui->noButton->setFocus();
}

CDeleteConfirmDlg::~CDeleteConfirmDlg() = default;

void CDeleteConfirmDlg::answer(int result) {
    m_askFlag = ui->askCheck->isChecked();
    done(result);
}
