#include "ui/setup/setup_page2.h"

#include "store/vehicle_settings.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/qt_text.h"

#include "ui_setup_page2.h"

#include <QComboBox>
#include <QLineEdit>

CSetupPage2::CSetupPage2(SetupContext& context, QWidget* parent)
    : CSetupPage(context, parent), ui(std::make_unique<Ui::CSetupPage2>()), m_form(context.vehicle) {
    ui->setupUi(this);
    for (int i = 0; i < CReminderSetupForm::kRowCount; ++i) {
        const QString n = QString::number(i);
        if (i >= CReminderSetupForm::kFixedRows)
            m_nameEdits[i] = findChild<QLineEdit*>(QStringLiteral("nameEdit") + n);
        m_distanceEdits[i] = findChild<QLineEdit*>(QStringLiteral("distanceEdit") + n);
        m_daysEdits[i] = findChild<QLineEdit*>(QStringLiteral("daysEdit") + n);
    }
    ui->calculatorUnitCombo->addItems({tr("Weeks"), tr("Months"), tr("Years")});
    ui->calculatorUnitCombo->setCurrentIndex(-1);
    showValues();
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textEdited, this, &CSetupPage2::markChanged);
    connect(ui->calculatorUnitCombo, &QComboBox::activated, this, &CSetupPage2::unitPicked);
}

CSetupPage2::~CSetupPage2() = default;

void CSetupPage2::takeValues() {
    CReminderSetupForm::Fields& f = m_form.fields();
    for (int i = 0; i < CReminderSetupForm::kRowCount; ++i) {
        if (m_nameEdits[i])
            f.rows[i].name = fromQt(m_nameEdits[i]->text());
        f.rows[i].distanceText = fromQt(m_distanceEdits[i]->text());
        f.rows[i].daysText = fromQt(m_daysEdits[i]->text());
    }
    f.leadDaysText = fromQt(ui->leadDaysEdit->text());
    f.leadOdoText = fromQt(ui->leadOdoEdit->text());
    f.calculatorNumber = fromQt(ui->calculatorNumberEdit->text());
    f.calculatorUnit = fromQt(ui->calculatorUnitCombo->currentText());
    f.calculatorResult = fromQt(ui->calculatorResultEdit->text());
}

void CSetupPage2::showValues() {
    const CReminderSetupForm::Fields& f = m_form.fields();
    for (int i = 0; i < CReminderSetupForm::kRowCount; ++i) {
        if (m_nameEdits[i])
            m_nameEdits[i]->setText(toQt(f.rows[i].name));
        m_distanceEdits[i]->setText(toQt(f.rows[i].distanceText));
        m_daysEdits[i]->setText(toQt(f.rows[i].daysText));
    }
    ui->leadDaysEdit->setText(toQt(f.leadDaysText));
    ui->leadOdoEdit->setText(toQt(f.leadOdoText));
    ui->calculatorNumberEdit->setText(toQt(f.calculatorNumber));
    ui->calculatorUnitCombo->setEditText(toQt(f.calculatorUnit));
    ui->calculatorResultEdit->setText(toQt(f.calculatorResult));
}

QLineEdit* CSetupPage2::fieldOf(const CReminderSetupForm::Refusal& refusal) const {
    using Field = CReminderSetupForm::Field;
    switch (refusal.field) {
    case Field::Name:
        return m_nameEdits[refusal.row];
    case Field::Distance:
        return m_distanceEdits[refusal.row];
    case Field::Days:
        return m_daysEdits[refusal.row];
    case Field::LeadDays:
        return ui->leadDaysEdit;
    case Field::LeadOdo:
        return ui->leadOdoEdit;
    case Field::CalculatorNumber:
        return ui->calculatorNumberEdit;
    }
    return nullptr;
}

void CSetupPage2::refuse(const CReminderSetupForm::Refusal& refusal) {
    CMessageBox::warn(this, toQt(refusal.message));
    if (QLineEdit* field = fieldOf(refusal)) {
        field->setFocus();
        field->selectAll();
    }
}

void CSetupPage2::unitPicked() {
    markChanged();
    takeValues();
    if (const auto refused = m_form.unitPicked()) {
        refuse(*refused);
        return;
    }
    showValues();
}

bool CSetupPage2::validate() {
    takeValues();
    if (const auto refused = m_form.refusal()) {
        refuse(*refused);
        return false;
    }
    return true;
}

void CSetupPage2::writeBack() {
    takeValues();
    // A field that cannot be taken when the sheet is cancelled leaves the settings as they were.
    m_form.writeBack(m_context.vehicle);
}
