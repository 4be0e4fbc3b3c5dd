#include "ui/setup/setup_page4.h"

#include "store/app_profile.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/qt_text.h"
#include "ui/toolkit/radio_group.h"

#include "ui_setup_page4.h"

#include <QRadioButton>
#include <algorithm>
#include <array>

using radiogroup::check;
using radiogroup::checkedIndex;

CSetupPage4::CSetupPage4(SetupContext& context, QWidget* parent)
    : CSetupPage(context, parent), ui(std::make_unique<Ui::CSetupPage4>()), m_form(context.vehicle) {
    ui->setupUi(this);
    showValues();
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textEdited, this, &CSetupPage4::markChanged);
    for (QRadioButton* radio : findChildren<QRadioButton*>())
        connect(radio, &QRadioButton::clicked, this, &CSetupPage4::markChanged);
}

CSetupPage4::~CSetupPage4() = default;

void CSetupPage4::takeValues() {
    CVehicleSetupForm::Fields& f = m_form.fields();
    f.yearText = fromQt(ui->yearEdit->text());
    f.plate = fromQt(ui->plateEdit->text());
    f.make = fromQt(ui->makeEdit->text());
    f.model = fromQt(ui->modelEdit->text());
    f.startOdometerText = fromQt(ui->odometerEdit->text());
    f.rateText = fromQt(ui->rateEdit->text());
    f.company = fromQt(ui->companyEdit->text());
    f.distanceUnit = checkedIndex(std::array{ui->milesRadio, ui->kilometersRadio});
    f.liquid = checkedIndex(std::array{ui->usGallonRadio, ui->imperialGallonRadio, ui->litreRadio});
    f.economyUnit =
        checkedIndex(std::array{ui->mpgRadio, ui->mplRadio, ui->litresPer100KmRadio, ui->mpgiRadio, ui->kplRadio});
}

void CSetupPage4::showValues() {
    const CVehicleSetupForm::Fields& f = m_form.fields();
    ui->vinEdit->setText(toQt(f.vin));
    ui->yearEdit->setText(toQt(f.yearText));
    ui->plateEdit->setText(toQt(f.plate));
    ui->makeEdit->setText(toQt(f.make));
    ui->modelEdit->setText(toQt(f.model));
    ui->odometerEdit->setText(toQt(f.startOdometerText));
    ui->rateEdit->setText(toQt(f.rateText));
    ui->companyEdit->setText(toQt(f.company));
    check(std::array{ui->milesRadio, ui->kilometersRadio}, f.distanceUnit);
    check(std::array{ui->usGallonRadio, ui->imperialGallonRadio, ui->litreRadio}, f.liquid);
    check(std::array{ui->mpgRadio, ui->mplRadio, ui->litresPer100KmRadio, ui->mpgiRadio, ui->kplRadio}, f.economyUnit);
}

bool CSetupPage4::validate() {
    takeValues();
    const auto refused = m_form.refusal();
    if (!refused)
        return true;
    CMessageBox::warn(this, toQt(refused->message));
    QLineEdit* fields[] = {ui->yearEdit, ui->odometerEdit, ui->rateEdit};
    QLineEdit* field = fields[static_cast<int>(refused->field)];
    field->setFocus();
    field->selectAll();
    return false;
}

void CSetupPage4::writeBack() {
    takeValues();
    // Fields that cannot be taken when the sheet is cancelled leave the settings as they were.
    if (m_form.writeBack(m_context.vehicle))
        return;
    if (!m_context.profile.putText(ProfileKeys::Company, m_context.vehicle.company))
        CMessageBox::warn(this, tr("The company name could not be saved to\n%1\n(%2).")
                                    .arg(toQt(m_context.profile.file()), toQt(m_context.profile.lastError())));
}
