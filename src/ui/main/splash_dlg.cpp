#include "ui/main/splash_dlg.h"

#include "ui_splash_dlg.h"

#include <QIcon>

CSplashDlg::CSplashDlg(bool showAtStartup, QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::CSplashDlg>()) {
    ui->setupUi(this);
    ui->pictureLabel->setPixmap(QIcon(QStringLiteral(":/icons/odrivo.svg")).pixmap(128, 128));
    QFont nameFont = ui->nameLabel->font();
    nameFont.setPointSize(nameFont.pointSize() * 2);
    nameFont.setBold(true);
    ui->nameLabel->setFont(nameFont);
    ui->versionLabel->setText(tr("Version %1").arg(QStringLiteral(ODRIVO_VERSION)));
    ui->showAtStartupCheck->setChecked(showAtStartup);
    connect(ui->showAtStartupCheck, &QCheckBox::toggled, this, &CSplashDlg::showAtStartupChanged);
}

CSplashDlg::~CSplashDlg() = default;

bool CSplashDlg::showAtStartup() const {
    return ui->showAtStartupCheck->isChecked();
}

void CSplashDlg::setShowAtStartup(bool show) {
    ui->showAtStartupCheck->setChecked(show);
}
