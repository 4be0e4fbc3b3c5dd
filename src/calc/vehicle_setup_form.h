#pragma once
// CVehicleSetupForm holds the fields of the "Vehicle" setup page without any window: the
// vehicle's identity, start odometer, claim rate, the three units and the company name.
// Numbers are held as typed, so one that does not parse is refused with its field named
// and nothing is written. The VIN is shown but never written back: it names the data file.

#include "store/vehicle_settings.h"

#include <optional>
#include <string>

class CVehicleSetupForm {
public:
    struct Fields {
        std::string vin;
        std::string yearText;
        std::string plate;
        std::string make;
        std::string model;
        std::string startOdometerText;
        std::string rateText;
        int distanceUnit = 0;
        int liquid = 0;
        int economyUnit = 0;
        std::string company;
    };
    enum class Field { Year, StartOdometer, Rate };
    struct Refusal {
        Field field;
        std::string message;
    };

    explicit CVehicleSetupForm(const VehicleSettings& settings);

    Fields& fields() { return m_fields; }
    const Fields& fields() const { return m_fields; }

    std::optional<Refusal> refusal() const;
    // Copies the fields (all but the VIN) into the settings; writes nothing when refused.
    std::optional<Refusal> writeBack(VehicleSettings& settings) const;

private:
    Fields m_fields;
};
