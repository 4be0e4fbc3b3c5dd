#pragma once
// CNewVehicleDlg is the modal dialog in which the user describes a new vehicle: its VIN,
// name, make, model, year, plate, starting odometer and its three units. The values and
// rules live in a CNewVehicleForm; the dialog copies its controls into the form, shows
// the VIN the form filtered as the user types, and on Save lets the form register the
// vehicle in the vehicle registry file of the config folder and create its empty data
// file in the data folder. A refused Save names the field and keeps the dialog open.
// The result is 1 once the vehicle is registered, -1 after Cancel.

#include "calc/new_vehicle_form.h"

#include <QDialog>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

namespace Ui {
class CNewVehicleDlg;
}

class QLineEdit;

class CNewVehicleDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSaved = 1;
    static constexpr int kCancelled = -1;
    using Clock = std::function<std::time_t()>;

    // Both folders end with a separator.
    CNewVehicleDlg(std::string configFolder, std::string dataFolder, QWidget* parent = nullptr);
    ~CNewVehicleDlg() override;

    // After Save: fields().name is the new current vehicle and fields().vin the current VIN.
    const CNewVehicleForm& form() const { return m_form; }
    // The time a save records as the set-up time (tests fix it; the system clock otherwise).
    void setClock(Clock clock) { m_clock = std::move(clock); }

    // The actions of the buttons, for tests and the buttons themselves.
    void save();
    void reject() override;

private:
    void vinEdited();
    // Copies every control into the form; a number that does not parse keeps the old value.
    void takeValues();
    void showAll();
    void refuse(QLineEdit* edit, const QString& text, const QString& title = QString());

    std::unique_ptr<Ui::CNewVehicleDlg> ui;
    std::string m_configFolder;
    std::string m_dataFolder;
    Clock m_clock;
    CNewVehicleForm m_form;
};
