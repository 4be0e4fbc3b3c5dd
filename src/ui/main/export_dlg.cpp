#include "ui/main/export_dlg.h"

#include "exchange/export_name.h"
#include "ui/toolkit/file_dialog.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/qt_text.h"
#include "ui_export_dlg.h"

#include <QDir>
#include <QIcon>

namespace {
const QString kCsvFilter = QStringLiteral("CSV files (*.csv *.CSV);;All files (*)");
} // namespace

CExportDlg::CExportDlg(CAppProfile& profile, const std::string& vin, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::CExportDlg>()), m_profile(profile) {
    ui->setupUi(this);
    ui->exportButton->setIcon(QIcon(QStringLiteral(":/icons/export.svg")));
    ui->abortButton->setIcon(QIcon(QStringLiteral(":/backup/close.svg")));
    // Without a theme icon the button shows its "..." text.
    ui->browseButton->setIcon(QIcon::fromTheme(QStringLiteral("document-open")));

    std::string start = m_profile.getText(ProfileKeys::ExportPath);
    if (start.empty())
        start = CExportName::defaultName(fromQt(QDir::homePath()) + "/", vin);
    ui->fileEdit->setText(toQt(start));

    connect(ui->browseButton, &QToolButton::clicked, this, &CExportDlg::browse);
    connect(ui->exportButton, &QPushButton::clicked, this, &CExportDlg::exportPressed);
    connect(ui->abortButton, &QPushButton::clicked, this, &CExportDlg::reject);
}

CExportDlg::~CExportDlg() = default;

void CExportDlg::exportPressed() {
    const QString typed = ui->fileEdit->text();
    const std::string name = fromQt(typed);
    if (name.empty()) {
        CMessageBox::warn(this, QStringLiteral("Enter the name of the file to export to, or press Abort."));
        ui->fileEdit->setFocus();
        return;
    }
    if (!CExportName::isValid(name)) {
        CMessageBox::warn(this, typed);
        CMessageBox::warn(this, QString::fromUtf8(CExportName::kInvalidText));
        ui->fileEdit->setFocus();
        return;
    }
    // A name without a folder goes to the home folder, not to wherever the program was started.
    QString full = typed;
    if (full.startsWith(QLatin1String("~/")))
        full = QDir::homePath() + full.mid(1);
    else if (QDir::isRelativePath(full))
        full = QDir::home().absoluteFilePath(full);
    m_fileName = CExportName::withCsvExtension(fromQt(full));
    // Only next time's suggestion is lost; the export itself can still go ahead.
    if (!m_profile.putText(ProfileKeys::ExportPath, m_fileName))
        CMessageBox::warn(this, QStringLiteral("The export file name could not be saved in the settings file %1: %2.\n"
                                               "The export goes ahead; check that the settings file can be written.")
                                    .arg(toQt(m_profile.file()), toQt(m_profile.lastError())));
    done(kExport);
}

void CExportDlg::reject() {
    done(kAborted);
}

void CExportDlg::browse() {
    const QString chosen =
        CFileDialog::saveFileName(this, QStringLiteral("Export as"), ui->fileEdit->text(), kCsvFilter);
    if (!chosen.isEmpty())
        ui->fileEdit->setText(chosen);
}
