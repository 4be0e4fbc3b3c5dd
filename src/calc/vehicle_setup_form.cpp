#include "calc/vehicle_setup_form.h"

#include "calc/fuel_form.h"

CVehicleSetupForm::CVehicleSetupForm(const VehicleSettings& s)
    : m_fields{s.vin,
               std::to_string(s.year),
               s.plate,
               s.make,
               s.model,
               CFuelForm::numberText(s.startOdometer),
               CFuelForm::numberText(s.costPerMile),
               s.distanceUnit,
               s.liquid,
               s.economyUnit,
               s.company} {}

std::optional<CVehicleSetupForm::Refusal> CVehicleSetupForm::refusal() const {
    if (!CFuelForm::wholeInteger(m_fields.yearText))
        return Refusal{Field::Year, "Please enter an integer for Year."};
    if (!CFuelForm::wholeNumber(m_fields.startOdometerText))
        return Refusal{Field::StartOdometer, "Please enter a number for Start Odometer."};
    if (!CFuelForm::wholeNumber(m_fields.rateText))
        return Refusal{Field::Rate, "Please enter a number for Rate."};
    return std::nullopt;
}

std::optional<CVehicleSetupForm::Refusal> CVehicleSetupForm::writeBack(VehicleSettings& s) const {
    if (auto refused = refusal())
        return refused;
    s.year = *CFuelForm::wholeInteger(m_fields.yearText);
    s.plate = m_fields.plate;
    s.make = m_fields.make;
    s.model = m_fields.model;
    s.startOdometer = *CFuelForm::wholeNumber(m_fields.startOdometerText);
    s.costPerMile = *CFuelForm::wholeNumber(m_fields.rateText);
    s.distanceUnit = m_fields.distanceUnit;
    s.liquid = m_fields.liquid;
    s.economyUnit = m_fields.economyUnit;
    s.company = m_fields.company;
    return std::nullopt;
}
