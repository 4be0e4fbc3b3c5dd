#include "ui/setup/setup_page1.h"

#include "store/app_folders.h"
#include "ui/toolkit/file_dialog.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/qt_text.h"
#include "ui_setup_page1.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QSignalBlocker>
#include <algorithm>

CSetupPage1::CSetupPage1(SetupContext& context, QWidget* parent, CFolderSetupForm::Places places)
    : CSetupPage(context, parent), ui(std::make_unique<Ui::CSetupPage1>()),
      m_form({context.profile, context.log, context.dataFolder, context.backupFolder, context.configFolder,
              context.foldersChanged},
             std::move(places)) {
    ui->setupUi(this);
    showValues();

    const auto edited = [this] { markChanged(); };
    connect(ui->dataFolderEdit, &QLineEdit::textEdited, this, edited);
    connect(ui->backupFolderEdit, &QLineEdit::textEdited, this, edited);
    connect(ui->configFolderEdit, &QLineEdit::textEdited, this, [this] {
        markChanged();
        m_form.configEdited();
    });
    connect(ui->dataBrowseButton, &QToolButton::clicked, this,
            [this] { browse(ui->dataFolderEdit, tr("Data Folder")); });
    connect(ui->backupBrowseButton, &QToolButton::clicked, this,
            [this] { browse(ui->backupFolderEdit, tr("Backup Folder")); });
    connect(ui->configBrowseButton, &QToolButton::clicked, this,
            [this] { browse(ui->configFolderEdit, tr("Setup Folder")); });
    connect(ui->resetButton, &QPushButton::clicked, this, &CSetupPage1::reset);
    connect(ui->splashCheck, &QCheckBox::clicked, this, [this] {
        markChanged();
        takeValues();
        showMessages(m_form.splashClicked());
    });
    connect(ui->syncCheck, &QCheckBox::clicked, this, &CSetupPage1::syncClicked);
    connect(ui->deviceCombo, &QComboBox::currentIndexChanged, this, edited);
    connect(ui->findFoldersButton, &QPushButton::clicked, this, &CSetupPage1::findFolders);
    // The list's popup hides whether an item was picked or not; the pick lands after the hide.
    ui->deviceCombo->view()->window()->installEventFilter(this);
}

CSetupPage1::~CSetupPage1() = default;

void CSetupPage1::setFolderSearch(FolderSearch search) {
    m_searchFolders = std::move(search);
    ui->findFoldersButton->setEnabled(m_form.deviceControlsEnabled() && m_searchFolders);
}

void CSetupPage1::showEvent(QShowEvent* event) {
    CSetupPage::showEvent(event);
    if (m_opened)
        return;
    m_opened = true;
    takeValues();
    const CFolderSetupForm::Messages messages = m_form.open();
    QStringList devices;
    for (const std::string& device : m_form.devices())
        devices << toQt(device);
    std::sort(devices.begin(), devices.end(),
              [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    {
        const QSignalBlocker block(ui->deviceCombo);
        ui->deviceCombo->clear();
        ui->deviceCombo->addItems(devices);
    }
    showValues();
    showMessages(messages);
}

bool CSetupPage1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && watched == ui->deviceCombo->view()->window())
        QMetaObject::invokeMethod(this, &CSetupPage1::deviceDropDownClosed, Qt::QueuedConnection);
    return CSetupPage::eventFilter(watched, event);
}

void CSetupPage1::reset() {
    markChanged();
    if (!CMessageBox::ask(this,
                          QStringLiteral("WARNING! Possible data loss.\nSelect YES to reset all of the paths to the "
                                         "install defaults.\nARE YOU SURE?"),
                          QString(), QMessageBox::Warning))
        return;
    takeValues();
    m_form.reset();
    showValues();
}

void CSetupPage1::syncClicked() {
    markChanged();
    takeValues();
    const CFolderSetupForm::Messages messages = m_form.syncClicked();
    showValues();
    showMessages(messages);
}

void CSetupPage1::deviceDropDownClosed() {
    takeValues();
    QComboBox* combo = ui->deviceCombo;
    std::optional<std::string> selected;
    if (combo->currentIndex() >= 0 && combo->itemText(combo->currentIndex()) == combo->currentText())
        selected = fromQt(combo->currentText());
    const CFolderSetupForm::Messages messages = m_form.applySyncChoice(selected);
    showValues();
    showMessages(messages);
}

void CSetupPage1::findFolders() {
    if (!m_searchFolders)
        return;
    takeValues();
    const std::optional<std::string> folder = m_searchFolders();
    if (!folder)
        return;
    markChanged();
    m_form.searchChosen(*folder);
    showValues();
}

void CSetupPage1::writeBack() {
    takeValues();
    const CFolderSetupForm::Messages messages = m_form.save();
    showValues();
    showMessages(messages);
}

void CSetupPage1::browse(QLineEdit* edit, const QString& caption) {
    const QString chosen = CFileDialog::folderName(this, caption, edit->text());
    if (chosen.isEmpty())
        return;
    edit->setText(toQt(CAppFolders::withSeparator(fromQt(chosen))));
    markChanged();
    if (edit == ui->configFolderEdit)
        m_form.configEdited();
}

void CSetupPage1::takeValues() {
    CFolderSetupForm::Fields& fields = m_form.fields();
    fields.dataFolder = fromQt(ui->dataFolderEdit->text());
    fields.backupFolder = fromQt(ui->backupFolderEdit->text());
    fields.configFolder = fromQt(ui->configFolderEdit->text());
    fields.splash = ui->splashCheck->isChecked();
    fields.sync = ui->syncCheck->isChecked();
    fields.deviceName = fromQt(ui->deviceCombo->currentText());
}

void CSetupPage1::showValues() {
    const CFolderSetupForm::Fields& fields = m_form.fields();
    ui->dataFolderEdit->setText(toQt(fields.dataFolder));
    ui->backupFolderEdit->setText(toQt(fields.backupFolder));
    ui->configFolderEdit->setText(toQt(fields.configFolder));
    ui->splashCheck->setChecked(fields.splash);
    ui->syncCheck->setChecked(fields.sync);
    {
        // A name that is not in the list (the prompt, "Unavailable") is shown without selecting an item.
        const QSignalBlocker block(ui->deviceCombo);
        const QString name = toQt(fields.deviceName);
        const int index = ui->deviceCombo->findText(name, Qt::MatchExactly);
        ui->deviceCombo->setCurrentIndex(index);
        if (index < 0)
            ui->deviceCombo->setEditText(name);
    }
    ui->deviceCombo->setEnabled(m_form.deviceControlsEnabled());
    ui->findFoldersButton->setEnabled(m_form.deviceControlsEnabled() && m_searchFolders);
}

void CSetupPage1::showMessages(const CFolderSetupForm::Messages& messages) {
    for (const std::string& message : messages)
        CMessageBox::inform(this, toQt(message));
}
