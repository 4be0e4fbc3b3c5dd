#include "ui/main/about_dlg.h"

#include "ui_about_dlg.h"

#include <QIcon>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::CAboutDlg>()) {
    ui->setupUi(this);
    ui->pictureLabel->setPixmap(QIcon(QStringLiteral(":/icons/odrivo.svg")).pixmap(64, 64));
    ui->nameLabel->setText(tr("<b>Odrivo</b> version %1").arg(QStringLiteral(ODRIVO_VERSION)));
}

CAboutDlg::~CAboutDlg() = default;
