#pragma once
// CSetupPage2 is the "Reminders" page of the setup sheet: the ten reminder rows of the
// current vehicle (five fixed services, five named by the user), the two warning leads and
// the Day Calculator. The rules live in CReminderSetupForm; the page moves the controls'
// texts into the form and back. It writes into the vehicle's settings when the sheet
// closes, by either button.

#include "calc/reminder_setup_form.h"
#include "ui/setup/setup_page.h"

#include <array>
#include <memory>

namespace Ui {
class CSetupPage2;
}
class QLineEdit;

class CSetupPage2 : public CSetupPage {
    Q_OBJECT
public:
    explicit CSetupPage2(SetupContext& context, QWidget* parent = nullptr);
    ~CSetupPage2() override;

    QString title() const override { return tr("Reminders"); }
    bool validate() override;
    void writeBack() override;

    // A unit picked in the Day Calculator.
    void unitPicked();

private:
    void takeValues();
    void showValues();
    // Tells the user and puts the focus in the refused field.
    void refuse(const CReminderSetupForm::Refusal& refusal);
    QLineEdit* fieldOf(const CReminderSetupForm::Refusal& refusal) const;

    std::unique_ptr<Ui::CSetupPage2> ui;
    CReminderSetupForm m_form;
    std::array<QLineEdit*, CReminderSetupForm::kRowCount> m_nameEdits{};
    std::array<QLineEdit*, CReminderSetupForm::kRowCount> m_distanceEdits{};
    std::array<QLineEdit*, CReminderSetupForm::kRowCount> m_daysEdits{};
};
