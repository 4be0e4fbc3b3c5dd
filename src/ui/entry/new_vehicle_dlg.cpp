#include "ui/entry/new_vehicle_dlg.h"

#include "store/vehicle_registry.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/qt_text.h"
#include "ui/toolkit/radio_group.h"

#include "ui_new_vehicle_dlg.h"

#include <QIcon>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>
#include <array>

using radiogroup::check;
using radiogroup::checkedIndex;

CNewVehicleDlg::CNewVehicleDlg(std::string configFolder, std::string dataFolder, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::CNewVehicleDlg>()), m_configFolder(std::move(configFolder)),
      m_dataFolder(std::move(dataFolder)), m_clock([] { return std::time(nullptr); }) {
    ui->setupUi(this);
    ui->saveButton->setIcon(QIcon(QStringLiteral(":/entrydlg/save.svg")));
    ui->cancelButton->setIcon(QIcon(QStringLiteral(":/entrydlg/cancel.svg")));
    showAll();

    connect(ui->vinEdit, &QLineEdit::textChanged, this, &CNewVehicleDlg::vinEdited);
    connect(ui->saveButton, &QPushButton::clicked, this, &CNewVehicleDlg::save);
    connect(ui->cancelButton, &QPushButton::clicked, this, &CNewVehicleDlg::reject);
}

CNewVehicleDlg::~CNewVehicleDlg() = default;

void CNewVehicleDlg::vinEdited() {
    const QString typed = ui->vinEdit->text();
    m_form.fields().vin = fromQt(typed);
    if (!m_form.vinChanged())
        return;
    const QString filtered = toQt(m_form.fields().vin);
    // Keep the cursor where it was among the characters that stayed: the filtered VIN begins
    // where its first character stood in the upper-cased text.
    const QString upper = toQt(CNewVehicleForm::upperCaseVin(fromQt(typed)));
    const int leading = static_cast<int>(std::max<qsizetype>(upper.indexOf(filtered), 0));
    int cursor = ui->vinEdit->cursorPosition();
    cursor -= std::min(leading, cursor);
    const QSignalBlocker blocker(ui->vinEdit);
    ui->vinEdit->setText(filtered);
    ui->vinEdit->setCursorPosition(std::min(cursor, static_cast<int>(filtered.size())));
}

void CNewVehicleDlg::takeValues() {
    CNewVehicleForm::Fields& f = m_form.fields();
    f.vin = fromQt(ui->vinEdit->text());
    m_form.vinChanged();
    f.name = fromQt(ui->nameEdit->text());
    m_form.nameChanged();
    f.make = fromQt(ui->makeEdit->text());
    f.model = fromQt(ui->modelEdit->text());
    f.plate = fromQt(ui->plateEdit->text());
    if (const auto year = CNewVehicleForm::parseInteger(fromQt(ui->yearEdit->text())))
        f.year = *year;
    if (const auto odometer = CNewVehicleForm::parseNumber(fromQt(ui->odometerEdit->text())))
        f.startOdometer = *odometer;
    f.distanceUnit = checkedIndex(std::array{ui->milesRadio, ui->kilometersRadio});
    f.liquid = checkedIndex(std::array{ui->usGallonsRadio, ui->imperialGallonsRadio, ui->litresRadio});
    f.economyUnit = checkedIndex(
        std::array{ui->mpgRadio, ui->mplRadio, ui->litresPer100KmRadio, ui->mpgImperialRadio, ui->kplRadio});
}

void CNewVehicleDlg::showAll() {
    const CNewVehicleForm::Fields& f = m_form.fields();
    const QSignalBlocker blocker(ui->vinEdit);
    ui->vinEdit->setText(toQt(f.vin));
    ui->nameEdit->setText(toQt(f.name));
    ui->makeEdit->setText(toQt(f.make));
    ui->modelEdit->setText(toQt(f.model));
    ui->yearEdit->setText(QString::number(f.year));
    ui->plateEdit->setText(toQt(f.plate));
    ui->odometerEdit->setText(toQt(CNewVehicleForm::numberText(f.startOdometer)));
    check(std::array{ui->milesRadio, ui->kilometersRadio}, f.distanceUnit);
    check(std::array{ui->usGallonsRadio, ui->imperialGallonsRadio, ui->litresRadio}, f.liquid);
    check(std::array{ui->mpgRadio, ui->mplRadio, ui->litresPer100KmRadio, ui->mpgImperialRadio, ui->kplRadio},
          f.economyUnit);
}

void CNewVehicleDlg::refuse(QLineEdit* edit, const QString& text, const QString& title) {
    CMessageBox::warn(this, text, title);
    edit->setFocus();
    edit->selectAll();
}

void CNewVehicleDlg::save() {
    if (!CNewVehicleForm::parseInteger(fromQt(ui->yearEdit->text())))
        return refuse(ui->yearEdit, tr("Please enter a whole number for Year."));
    if (!CNewVehicleForm::parseNumber(fromQt(ui->odometerEdit->text())))
        return refuse(ui->odometerEdit, tr("Please enter a number for Starting Odometer."));
    takeValues();

    CVehicleRegistry registry(m_configFolder);
    const CNewVehicleForm::Outcome outcome = m_form.save(registry, m_dataFolder, m_clock());
    if (!outcome.registered) {
        QLineEdit* edit = outcome.field == CNewVehicleForm::Field::Vin ? ui->vinEdit : ui->nameEdit;
        return refuse(edit, toQt(outcome.message), toQt(outcome.title));
    }
    // The vehicle is in the list now, so it is created even without its data file: a second
    // Save would only find the name taken. The message says where the file was to go.
    if (!outcome.dataFileSaved)
        CMessageBox::error(this, toQt(outcome.message), toQt(outcome.title));
    done(kSaved);
}

void CNewVehicleDlg::reject() {
    done(kCancelled);
}
