// Before any Qt header: the column map has a member named like Qt's `slots` keyword.
#include "exchange/csv_import.h"
#include "exchange/heading_matcher.h"

#include "ui/main/import_dlg.h"
#include "ui/toolkit/file_dialog.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/qt_text.h"
#include "ui_import_dlg.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHeaderView>
#include <QIcon>
#include <QLocale>
#include <QSignalBlocker>

namespace {

const char* const kSteps =
    "1. Select a Folder\n2.Select a CSV file from Available CSV Files.\n3. Select a CSV Map\n\nTo create a CSV Map, "
    "click on a field in the Source data format list,\nmatch it to the import data by selecting the matching field in "
    "the Import Data Map.";
const char* const kRemoving = "To remove an item from the Import Data Map, double click on it. \n\nEnter a Map name in "
                              "CSV Maps and save the map for future use by selecting Save Map.";
const QString kCaption = QStringLiteral("CSV Maps");
// Keeps the window answering (and Cancel working) without spending the import's time on repaints.
constexpr qint64 kRepaintMs = 50;

QString withSlash(QString folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString number(double value, int decimals = 2) {
    return value == 0 ? QString() : QLocale().toString(value, 'f', decimals);
}

} // namespace

const char* const CImportDlg::kSaveError = "Save ERROR 205!\nUnable save database";

CImportDlg::CImportDlg(CAppProfile& profile, std::string dataFile, VehicleSettings vehicle,
                       const std::string& dateFormat, DVTime programStart, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::CImportDlg>()), m_profile(profile), m_dataFile(std::move(dataFile)),
      m_vehicle(std::move(vehicle)), m_dateStyle(std::make_unique<CsvDateStyle>(CCsvImport::dateStyleFrom(dateFormat))),
      m_numberStyle(std::make_unique<CsvNumberStyle>(CCsvImport::localeNumberStyle())), m_programStart(programStart),
      m_map(std::make_unique<CColumnMap>()), m_headings(std::make_unique<CsvHeadings>()) {
    ui->setupUi(this);
    ui->stepsText->setText(QString::fromLatin1(kSteps));
    ui->removeText->setText(QString::fromLatin1(kRemoving));
    ui->importButton->setIcon(QIcon(QStringLiteral(":/icons/import.svg")));
    ui->closeButton->setIcon(QIcon(QStringLiteral(":/backup/close.svg")));
    ui->browseButton->setIcon(QIcon::fromTheme(QStringLiteral("folder-open")));
    ui->progressBar->hide();
    // Tall enough to list all 25 import fields without scrolling.
    resize(sizeHint().width(), 820);
    ui->importButton->setEnabled(false);

    const LogLoadResult loaded = m_doc.load(m_dataFile);
    if (!loaded.ok())
        CMessageBox::error(
            this,
            QStringLiteral("ERROR 100! Unable to open database %1\n\n%2").arg(toQt(m_dataFile), toQt(loaded.message)));

    for (const char* field : CColumnMap::fieldNames())
        ui->mapList->addTopLevelItem(new QTreeWidgetItem({QString::fromLatin1(field), QString()}));
    ui->mapList->header()->resizeSection(0, 130);
    ui->previewTable->verticalHeader()->hide();
    ui->previewTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    for (const std::string& name : CColumnMap::savedNames(m_profile))
        ui->mapCombo->addItem(toQt(name));
    ui->mapCombo->setCurrentText(toQt(m_profile.getText(ProfileKeys::LastMap)));

    m_csvName = m_profile.getText(ProfileKeys::CSVName);
    // A folder that does not exist here (such as the first start's default) starts at home.
    QString folder = toQt(m_profile.getText(ProfileKeys::CSVPath));
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    setFolder(folder);

    connect(ui->folderEdit, &QLineEdit::editingFinished, this, [this] { setFolder(ui->folderEdit->text()); });
    connect(ui->browseButton, &QToolButton::clicked, this, &CImportDlg::browse);
    connect(ui->fileList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { chooseFile(item->text()); });
    connect(ui->mapList, &QTreeWidget::itemClicked, this, &CImportDlg::mapRowClicked);
    connect(ui->mapList, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { mapField(ui->mapList->indexOfTopLevelItem(item), -1); });
    connect(ui->mapCombo, &QComboBox::activated, this, [this](int index) { chooseMap(ui->mapCombo->itemText(index)); });
    connect(ui->saveMapButton, &QPushButton::clicked, this, &CImportDlg::saveMap);
    connect(ui->importButton, &QPushButton::clicked, this, &CImportDlg::importPressed);
    connect(ui->closeButton, &QPushButton::clicked, this, &CImportDlg::closePressed);
    const auto typeChosen = [this] {
        applyTypeChooser();
        updatePreview();
    };
    connect(ui->typeCombo, &QComboBox::currentIndexChanged, this, typeChosen);
    connect(ui->repairEdit, &QLineEdit::textEdited, this, typeChosen);
}

CImportDlg::~CImportDlg() = default;

void CImportDlg::setFolder(const QString& folder) {
    m_folder = fromQt(withSlash(folder));
    ui->folderEdit->setText(toQt(m_folder));
    fillFiles();
    chooseFile(toQt(m_csvName));
}

void CImportDlg::fillFiles() {
    ui->fileList->clear();
    // QDir matches name filters without regard to case, so "LOG.CSV" is listed too.
    const QStringList names = QDir(toQt(m_folder)).entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name);
    ui->fileList->addItems(names);
}

void CImportDlg::chooseFile(const QString& name) {
    m_csvName = fromQt(name);
    const QList<QListWidgetItem*> found = ui->fileList->findItems(name, Qt::MatchExactly);
    ui->fileList->setCurrentItem(found.value(0));
    *m_headings = CsvHeadings{};
    ui->sourceList->clear();
    if (!name.isEmpty() && QFileInfo(toQt(csvPath())).isFile())
        *m_headings = CCsvImport::readHeadings(csvPath());
    if (m_headings->ok) {
        for (const std::string& heading : m_headings->columns)
            ui->sourceList->addTopLevelItem(new QTreeWidgetItem({toQt(heading)}));
        m_map->load(m_profile, fromQt(ui->mapCombo->currentText()));
        proposeMapIfNeeded();
    }
    ui->importButton->setEnabled(m_headings->ok);
    showMap();
    updatePreview();
    // Shown once the lists are emptied, so the message is not read against the last file's headings.
    if (!m_headings->message.empty())
        CMessageBox::warn(this, toQt(m_headings->message));
}

void CImportDlg::proposeMapIfNeeded() {
    m_proposed = false;
    // The map in use fits when it finds the odometer and every field it maps in this file.
    bool fits = m_map->isMapped(CColumnMap::Odometer);
    for (int slot = 0; slot < CColumnMap::kFieldCount; ++slot)
        fits = fits && m_map->column(slot) < static_cast<int>(m_headings->columns.size());
    if (fits)
        return;
    CColumnMap proposed = CHeadingMatcher::proposedMap(m_headings->columns);
    proposed.setFixedEntry(m_map->fixedEntry());
    *m_map = proposed;
    m_proposed = true;
    // Saved under the file's name unless the user gives it another.
    ui->mapCombo->setCurrentText(QFileInfo(toQt(m_csvName)).completeBaseName());
}

void CImportDlg::showMap() {
    for (int slot = 0; slot < CColumnMap::kFieldCount; ++slot) {
        const int column = m_map->column(slot);
        const bool shown = column >= 0 && column < static_cast<int>(m_headings->columns.size());
        ui->mapList->topLevelItem(slot)->setText(1, shown ? toQt(m_headings->columns[column]) : QString());
    }
    ui->proposedNote->setVisible(m_proposed && m_headings->ok);
    ui->typeGroup->setEnabled(!m_map->isMapped(CColumnMap::EntryType));
    const std::string fixed = m_map->fixedEntry();
    if (fixed.empty()) { // a map saved before it had a kind takes what the chooser shows
        applyTypeChooser();
        return;
    }
    const QSignalBlocker blockCombo(ui->typeCombo);
    const int index = fixed == "Fuel" ? 0 : fixed == "Trip" ? 2 : 1;
    ui->typeCombo->setCurrentIndex(index);
    if (index == 1)
        ui->repairEdit->setText(toQt(fixed));
    ui->repairEdit->setEnabled(index == 1);
}

void CImportDlg::applyTypeChooser() {
    const int index = ui->typeCombo->currentIndex();
    m_map->setFixedEntry(index == 0 ? "Fuel" : index == 2 ? "Trip" : fromQt(ui->repairEdit->text()));
    ui->repairEdit->setEnabled(index == 1);
}

void CImportDlg::mapRowClicked(QTreeWidgetItem* item) {
    QTreeWidgetItem* source = ui->sourceList->currentItem();
    if (!source || !source->isSelected())
        return;
    mapField(ui->mapList->indexOfTopLevelItem(item), ui->sourceList->indexOfTopLevelItem(source));
    // One click on a column, one on its field: a later click on a field only selects it.
    ui->sourceList->clearSelection();
}

void CImportDlg::mapField(int slot, int column) {
    if (slot < 0 || slot >= CColumnMap::kFieldCount)
        return;
    m_map->setColumn(slot, column);
    showMap();
    updatePreview();
}

void CImportDlg::chooseMap(const QString& name) {
    m_proposed = false;
    ui->mapCombo->setCurrentText(name);
    if (!m_profile.putText(ProfileKeys::LastMap, fromQt(name)))
        CMessageBox::warn(this, QStringLiteral("The map in use could not be saved in %1: %2.\nCheck that the "
                                               "settings file can be written.")
                                    .arg(toQt(m_profile.file()), toQt(m_profile.lastError())));
    m_map->load(m_profile, fromQt(name));
    showMap();
    updatePreview();
}

void CImportDlg::saveMap() {
    const QString name = ui->mapCombo->currentText();
    std::string error;
    if (!m_map->save(m_profile, fromQt(name), &error)) {
        CMessageBox::warn(this, toQt(error));
        return;
    }
    // A name that is part of a listed one ("Car" beside "Car 2") is not listed again.
    for (int i = 0; i < ui->mapCombo->count(); ++i)
        if (ui->mapCombo->itemText(i).contains(name))
            return;
    if (!CColumnMap::addName(m_profile, fromQt(name))) {
        CMessageBox::warn(this, QStringLiteral("The map \"%1\" was saved, but its name could not be listed in %2: "
                                               "%3.\nCheck that the settings file can be written.")
                                    .arg(name, toQt(m_profile.file()), toQt(m_profile.lastError())));
        return;
    }
    ui->mapCombo->addItem(name);
}

void CImportDlg::updatePreview() {
    ui->previewTable->clear();
    ui->previewTable->setRowCount(0);
    ui->previewTable->setColumnCount(0);
    if (!m_headings->ok) {
        ui->previewNote->setText(tr("Choose a CSV file to see how its first lines will be imported."));
        return;
    }
    if (!m_map->isMapped(CColumnMap::Odometer)) {
        ui->previewNote->setText(tr("Map the Odometer field to see how the first lines will be imported."));
        return;
    }
    CCsvImport importer(*m_map, m_vehicle, *m_dateStyle, m_programStart);
    importer.setNumberStyle(*m_numberStyle);
    int lines = 0;
    importer.setStopCheck([&lines](std::size_t, std::size_t) { return ++lines > kPreviewLines; });
    CVehicleLogDoc scratch;
    const CsvImportResult result = importer.run(csvPath(), m_headings->dataStart, scratch);
    const QStringList columns{tr("Type"), tr("Entry"),   tr("Odometer"), tr("Date"),  tr("Quantity"), tr("Price"),
                              tr("Cost"), tr("Station"), tr("Invoice"),  tr("Notes"), tr("Partial")};
    ui->previewTable->setColumnCount(static_cast<int>(columns.size()));
    ui->previewTable->setHorizontalHeaderLabels(columns);
    ui->previewTable->setRowCount(static_cast<int>(scratch.size()));
    for (std::size_t row = 0; row < scratch.size(); ++row) {
        const CDVItem& e = scratch.at(row);
        const QStringList cells{
            QString::fromLatin1(CDVItem::typeLabel(e.EntryType)),
            toQt(e.Entry),
            QLocale().toString(e.Odometer, 'f', 0),
            QLocale().toString(QDateTime::fromSecsSinceEpoch(e.Date), QStringLiteral("yyyy-MM-dd HH:mm")),
            number(e.Quantity),
            number(e.UnitPrice, 3), // fuel is priced to a tenth of a cent
            number(e.Cost),
            toQt(e.Station),
            toQt(e.Invoice),
            toQt(e.Note),
            e.PartialFill ? tr("yes") : QString()};
        for (int c = 0; c < cells.size(); ++c)
            ui->previewTable->setItem(static_cast<int>(row), c, new QTableWidgetItem(cells[c]));
    }
    ui->previewTable->resizeColumnsToContents();
    if (result.status == CsvImportStatus::FormatError || result.status == CsvImportStatus::TooManyFields)
        ui->previewNote->setText(
            tr("Data line %1 cannot be imported:\n%2").arg(result.linesRead + 1).arg(toQt(result.message)));
    else
        ui->previewNote->setText(tr("The first %1 data lines make these entries, in the log's order; %2 skipped "
                                    "(no odometer above 0 or no entry text).")
                                     .arg(result.linesRead)
                                     .arg(result.skipped));
}

void CImportDlg::setImporting(bool importing) {
    m_importing = importing;
    m_cancelRequested = false;
    for (QWidget* control : {static_cast<QWidget*>(ui->folderEdit), static_cast<QWidget*>(ui->browseButton),
                             static_cast<QWidget*>(ui->fileList), static_cast<QWidget*>(ui->sourceList),
                             static_cast<QWidget*>(ui->mapList), static_cast<QWidget*>(ui->mapCombo),
                             static_cast<QWidget*>(ui->saveMapButton), static_cast<QWidget*>(ui->importButton),
                             static_cast<QWidget*>(ui->typeGroup)})
        control->setEnabled(!importing);
    ui->closeButton->setText(importing ? tr("Cancel") : tr("Close"));
    ui->progressBar->setValue(0);
    ui->progressBar->setVisible(importing);
    if (importing)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void CImportDlg::importPressed() {
    if (m_importing || !m_headings->ok)
        return;
    // The import goes into a copy: only a completed one replaces the dialog's list and is saved.
    CVehicleLogDoc work;
    std::string error;
    if (!work.decode(m_doc.encode(), &error)) {
        CMessageBox::error(this, toQt("The vehicle's log could not be copied for the import: " + error));
        return;
    }
    CCsvImport importer(*m_map, m_vehicle, *m_dateStyle, m_programStart);
    importer.setNumberStyle(*m_numberStyle);
    importer.setProgress([this](const std::string& text) { ui->mapGroup->setTitle(toQt(text)); });
    QElapsedTimer sinceRepaint;
    importer.setStopCheck([this, &sinceRepaint](std::size_t position, std::size_t size) {
        if (!sinceRepaint.isValid() || sinceRepaint.hasExpired(kRepaintMs)) {
            ui->progressBar->setValue(size == 0 ? 0 : static_cast<int>(position * 1000 / size));
            QApplication::processEvents();
            sinceRepaint.start();
        }
        return m_cancelRequested;
    });
    setImporting(true);
    const CsvImportResult result = importer.run(csvPath(), m_headings->dataStart, work);
    const bool close = m_closeRequested && result.status == CsvImportStatus::Stopped;
    m_closeRequested = false;
    setImporting(false);
    ui->mapGroup->setTitle(kCaption);
    if (close) { // the user chose to stop and close: the log stays as it was
        reject();
        return;
    }

    switch (result.status) {
    case CsvImportStatus::Completed:
        break;
    case CsvImportStatus::Stopped:
        CMessageBox::inform(this,
                            tr("The import was cancelled. Nothing was imported; the vehicle's log is unchanged."));
        return;
    case CsvImportStatus::CannotOpen:
        ui->importButton->setEnabled(false);
        CMessageBox::error(this, toQt(result.message));
        return;
    case CsvImportStatus::FormatError:
        CMessageBox::error(this, toQt(result.message));
        return;
    case CsvImportStatus::OdometerNotMapped:
        CMessageBox::warn(this, toQt(result.message));
        return;
    case CsvImportStatus::TooManyFields:
        CMessageBox::inform(this, toQt(result.message));
        return;
    }
    CMessageBox::warn(this, toQt(result.message));
    // m_doc keeps the path of a log it could not read, so the save below refuses to replace that file.
    m_doc.decode(work.encode(), nullptr);
    const LogSaveResult saved = m_doc.save(m_dataFile);
    if (!saved.saved) {
        CMessageBox::error(this, QString::fromLatin1(kSaveError) + QStringLiteral("\n\n") + toQt(saved.message));
    } else if (!CCsvImport::rememberImport(m_profile, *m_map, fromQt(ui->mapCombo->currentText()), csvPath(), &error)) {
        CMessageBox::warn(this, toQt("The entries were imported and saved, but " + error +
                                     "\nCheck that the settings file can be written."));
    } else if (m_proposed) {
        // A proposed map is listed with the saved ones, so it is offered for the next file.
        CColumnMap::addName(m_profile, fromQt(ui->mapCombo->currentText()));
    }
    // The log is reread either way, so the window shows what the file holds.
    done(kImported);
}

void CImportDlg::closePressed() {
    if (m_importing)
        m_cancelRequested = true;
    else
        reject();
}

void CImportDlg::reject() {
    if (m_importing) {
        // Unlike Cancel, closing the window would end the work unseen: ask, with No as the default.
        if (CMessageBox::ask(this, tr("The import is still running. Stop it and close?"))) {
            m_cancelRequested = true;
            m_closeRequested = true;
        }
        return;
    }
    // Only a file that could be read is remembered, so a refused one leaves the profile alone.
    if (m_headings->ok &&
        (m_profile.getText(ProfileKeys::CSVName) != m_csvName || m_profile.getText(ProfileKeys::CSVPath) != m_folder)) {
        if (!m_profile.putText(ProfileKeys::CSVName, m_csvName) || !m_profile.putText(ProfileKeys::CSVPath, m_folder))
            CMessageBox::warn(this, QStringLiteral("The CSV file's name could not be saved in %1: %2.")
                                        .arg(toQt(m_profile.file()), toQt(m_profile.lastError())));
    }
    QDialog::reject();
}

void CImportDlg::browse() {
    const QString chosen = CFileDialog::folderName(this, tr("Look in folder"), toQt(m_folder));
    if (!chosen.isEmpty())
        setFolder(chosen);
}
