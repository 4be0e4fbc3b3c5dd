#include "ui/entry/fuel_dlg.h"

#include "store/app_profile.h"
#include "store/pick_list.h"
#include "ui/entry/edit_list_dlg.h"
#include "ui/entry/entry_fields.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/modal_runner.h"
#include "ui/toolkit/qt_text.h"

#include "ui_fuel_dlg.h"

#include <QDateTime>
#include <QIcon>
#include <QSignalBlocker>
#include <algorithm>

namespace {

CFuelForm::Inputs formInputs(const EntryContext& context) {
    CFuelForm::Inputs inputs;
    inputs.distanceUnit = context.vehicle.distanceUnit;
    inputs.economyUnit = context.vehicle.economyUnit;
    inputs.liquid = context.vehicle.liquid;
    inputs.startOdometer = context.vehicle.startOdometer;
    inputs.currentOdometer = context.currentOdometer;
    inputs.previousFuelOdometer = context.previousFuelOdometer;
    inputs.startTime = static_cast<DVTime>(context.startTime);
    inputs.currencySymbol = context.currencySymbol;
    if (context.profile != nullptr) {
        inputs.lastStation = context.profile->getText(ProfileKeys::LastStation);
        inputs.lastMeasure = context.profile->getText(ProfileKeys::LastMeasure);
    } else {
        inputs.lastStation = ProfileKeys::LastStation.defaultText;
        inputs.lastMeasure = ProfileKeys::LastMeasure.defaultText;
    }
    return inputs;
}

QDate localDate(DVTime t) {
    return QDateTime::fromSecsSinceEpoch(t).date();
}

} // namespace

CFuelDlg::CFuelDlg(CDVItem& record, const EntryContext& context, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::CFuelDlg>()), m_record(record), m_profile(context.profile),
      m_listsPath(context.listsPath), m_form(record, formInputs(context)) {
    ui->setupUi(this);
    ui->dateEdit->setDisplayFormat(entryfields::shortDateFormat());
    ui->saveButton->setIcon(QIcon(QStringLiteral(":/fuel/save.svg")));
    ui->cancelButton->setIcon(QIcon(QStringLiteral(":/fuel/cancel.svg")));
    ui->stationButton->setIcon(QIcon(QStringLiteral(":/fuel/station.svg")));
    ui->distanceUnitLabel->setText(QString::fromLatin1(m_form.distanceUnitLabel()));
    loadStations();
    showAll();

    connect(ui->quantityEdit, &QLineEdit::textChanged, this, [this] { handle(&CFuelForm::quantityChanged); });
    connect(ui->priceEdit, &QLineEdit::textChanged, this, [this] { handle(&CFuelForm::priceChanged); });
    connect(ui->odometerEdit, &QLineEdit::textChanged, this, [this] { handle(&CFuelForm::odometerChanged); });
    connect(ui->odometerEdit, &QLineEdit::editingFinished, this, [this] { handle(&CFuelForm::odometerChanged); });
    // Qt changes the edit text before it reports the new index, and reports the user's pick
    // (from the list or by the arrow keys) last, as the list closing.
    connect(ui->measureCombo, &QComboBox::editTextChanged, this, [this] { handle(&CFuelForm::measureTextEdited); });
    connect(ui->measureCombo, &QComboBox::currentIndexChanged, this,
            [this] { handle(&CFuelForm::measureSelectionChanged); });
    connect(ui->measureCombo, &QComboBox::textActivated, this, [this](const QString& item) {
        m_form.measureDropDownClosed(fromQt(item));
        showComputed();
    });
    connect(ui->stationButton, &QPushButton::clicked, this, &CFuelDlg::editStationList);
    connect(ui->saveButton, &QPushButton::clicked, this, &CFuelDlg::save);
    connect(ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

CFuelDlg::~CFuelDlg() = default;

void CFuelDlg::loadStations() {
    entryfields::fillPickCombo(ui->stationCombo, m_listsPath, CPickList::FuelStationList);
}

void CFuelDlg::takeValues() {
    CFuelForm::Fields& f = m_form.fields();
    if (const auto odometer = CFuelForm::wholeNumber(fromQt(ui->odometerEdit->text())))
        f.odometer = *odometer;
    const QDate date = ui->dateEdit->date();
    // The picker shows only the day; the time of day the record had is kept.
    if (date != localDate(f.date))
        f.date = entryfields::withDate(f.date, date);
    f.station = fromQt(ui->stationCombo->currentText());
    f.measure = fromQt(ui->measureCombo->currentText());
    f.quantityText = fromQt(ui->quantityEdit->text());
    f.priceText = fromQt(ui->priceEdit->text());
    f.partialFill = ui->partialCheck->isChecked();
    if (const auto temperature = CFuelForm::wholeInteger(fromQt(ui->tempEdit->text())))
        f.cellTemp = *temperature;
    f.invoice = fromQt(ui->invoiceEdit->text());
    f.notes = fromQt(ui->notesEdit->toPlainText());
}

void CFuelDlg::showAll() {
    const CFuelForm::Fields& f = m_form.fields();
    const QSignalBlocker odometerBlocker(ui->odometerEdit);
    const QSignalBlocker quantityBlocker(ui->quantityEdit);
    const QSignalBlocker priceBlocker(ui->priceEdit);
    const QSignalBlocker measureBlocker(ui->measureCombo);
    ui->odometerEdit->setText(toQt(CFuelForm::numberText(f.odometer)));
    ui->dateEdit->setDate(localDate(f.date));
    ui->stationCombo->setEditText(toQt(f.station));
    const QString measure = toQt(f.measure);
    ui->measureCombo->setCurrentIndex(ui->measureCombo->findText(measure, Qt::MatchExactly));
    ui->measureCombo->setEditText(measure);
    ui->quantityEdit->setText(toQt(f.quantityText));
    ui->priceEdit->setText(toQt(f.priceText));
    ui->partialCheck->setChecked(f.partialFill);
    ui->tempEdit->setText(QString::number(f.cellTemp));
    ui->invoiceEdit->setText(toQt(f.invoice));
    ui->notesEdit->setPlainText(toQt(f.notes));
    showComputed();
}

void CFuelDlg::showComputed() {
    const CFuelForm::Fields& f = m_form.fields();
    ui->totalEdit->setText(toQt(f.totalText));
    ui->economyEdit->setText(toQt(CFuelForm::numberText(f.economy)));
    ui->distanceEdit->setText(toQt(CFuelForm::numberText(f.distance)));
    ui->unitLabel->setText(toQt(f.unitLabel));
    const QString measure = toQt(f.measure);
    if (ui->measureCombo->currentText() != measure) {
        const QSignalBlocker blocker(ui->measureCombo);
        ui->measureCombo->setEditText(measure);
    }
}

void CFuelDlg::handle(void (CFuelForm::*handler)()) {
    takeValues();
    (m_form.*handler)();
    showComputed();
}

void CFuelDlg::editStationList() {
    takeValues();
    CEditListDlg editor(m_listsPath, std::string(CPickList::FuelStationList), this);
    CModalRunner::run(editor);
    loadStations();
    m_form.stationListEdited(editor.lastAdded());
    ui->stationCombo->setEditText(toQt(m_form.fields().station));
    showComputed();
}

void CFuelDlg::save() {
    if (!CFuelForm::wholeNumber(fromQt(ui->odometerEdit->text()))) {
        CMessageBox::warn(this, tr("Please enter a number for Odometer."));
        ui->odometerEdit->setFocus();
        ui->odometerEdit->selectAll();
        return;
    }
    if (!CFuelForm::wholeInteger(fromQt(ui->tempEdit->text()))) {
        CMessageBox::warn(this, tr("Please enter a whole number for Fuel Cell Temperature."));
        ui->tempEdit->setFocus();
        ui->tempEdit->selectAll();
        return;
    }
    takeValues();
    if (const auto refusal = m_form.saveRefusal()) {
        CMessageBox::warn(this, QString::fromStdString(refusal->message));
        QLineEdit* edit = refusal->field == CFuelForm::NumberField::Quantity ? ui->quantityEdit : ui->priceEdit;
        edit->setFocus();
        edit->selectAll();
        return;
    }
    const CFuelForm::Remembered remembered = m_form.save(m_record);
    if (m_profile != nullptr) {
        bool stored = m_profile->putText(ProfileKeys::LastStation, remembered.lastStation);
        stored = m_profile->putText(ProfileKeys::LastMeasure, remembered.lastMeasure) && stored;
        // The entry itself is saved; only the defaults for the next one are lost.
        if (!stored)
            CMessageBox::warn(this, tr("The fuel entry was saved, but the last station and measure could not be "
                                       "remembered in\n%1\n(%2).\nCheck that this file can be written.")
                                        .arg(toQt(m_profile->file()), toQt(m_profile->lastError())));
    }
    accept();
}
