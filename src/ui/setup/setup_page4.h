#pragma once
// CSetupPage4 is the "Vehicle" page of the setup sheet: the current vehicle's identity,
// start odometer, claim rate and units, and the company name. The rules live in
// CVehicleSetupForm. When the sheet closes, by either button, the page writes into the
// vehicle's settings, and the company name also goes to the profile at once, since it
// belongs to the whole program rather than to one vehicle.

#include "calc/vehicle_setup_form.h"
#include "ui/setup/setup_page.h"

#include <memory>

namespace Ui {
class CSetupPage4;
}

class CSetupPage4 : public CSetupPage {
    Q_OBJECT
public:
    explicit CSetupPage4(SetupContext& context, QWidget* parent = nullptr);
    ~CSetupPage4() override;

    QString title() const override { return tr("Vehicle"); }
    bool validate() override;
    void writeBack() override;

private:
    void takeValues();
    void showValues();

    std::unique_ptr<Ui::CSetupPage4> ui;
    CVehicleSetupForm m_form;
};
