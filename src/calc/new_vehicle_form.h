#pragma once
// CNewVehicleForm holds the values of the new vehicle dialog and the rules behind them,
// without any window. The dialog copies its controls into fields(), lets vinChanged()
// upper-case the VIN and drop filter characters from its ends, and shows fields() again.
// save() refuses a vehicle that would overwrite another one (a name already in the vehicle
// list, a data file that already exists under the VIN) before anything is written; then it
// registers the vehicle in the vehicle registry file and stores an empty log as the
// vehicle's data file. Every refusal or failure comes back as a message for the user.

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

class CVehicleRegistry;

class CNewVehicleForm {
public:
    static constexpr std::size_t kVinMaxLength = 18;
    static constexpr std::size_t kNameMaxLength = 20;
    // Characters the VIN may not begin or end with. Between other characters they stay.
    static constexpr std::string_view kVinFilter = "!#$%&'()*+,-./:;<=>?[\\]^_{}~\"@`";
    // The data file's base name of a vehicle registered without a VIN.
    static constexpr const char* kUnknownVin = "UnKnown";
    static constexpr const char* kSupportAddress = "support@odrivo.org";

    struct Fields {
        std::string vin = "Enter VIN Number";
        std::string name = "New Vehicle";
        std::string make = "Make";
        std::string model = "Model";
        int year = 2000;
        std::string plate = "Unplated";
        double startOdometer = 0;
        int distanceUnit = 0; // units::DistanceUnitCode
        int liquid = 0;       // units::LiquidCode
        int economyUnit = 0;  // units::EconomyUnitCode
    };

    // The control a refusal is about, so the dialog can put the cursor there.
    enum class Field { None, Vin, Name };

    struct Outcome {
        bool registered = false;    // the vehicle list and the vehicle's section were written
        bool dataFileSaved = false; // the empty log was stored
        Field field = Field::None;
        std::string title;   // message box caption, empty for the plain one
        std::string message; // empty when everything was written
        bool ok() const { return registered && dataFileSaved; }
    };

    Fields& fields() { return m_fields; }
    const Fields& fields() const { return m_fields; }

    // After each change of the VIN text: letters become capitals, the VIN is cut to its
    // length limit and filter characters are dropped from its end, then from its start.
    // True when the VIN changed.
    bool vinChanged();
    // The name cut to its length limit.
    void nameChanged();

    // The VIN whose data file the vehicle gets: the VIN field, or "UnKnown" when it is empty.
    std::string dataFileVin() const;
    // Why the fields cannot be registered as they stand, checked against the registry and the
    // data folder (ending in '/'); nothing when they can.
    std::optional<Outcome> refusal(const CVehicleRegistry& registry, const std::string& dataFolder) const;
    // Registers the vehicle, set up `now`, and creates its empty data file in `dataFolder`.
    Outcome save(CVehicleRegistry& registry, const std::string& dataFolder, std::time_t now) const;

    static bool isVinFilterChar(char c);
    static std::string upperCaseVin(std::string_view vin);
    // Drops filter characters from the end of `vin`, then from its start.
    static std::string trimVinFilter(std::string_view vin);
    // The first `maxChars` characters of UTF-8 `text`.
    static std::string clipped(std::string_view text, std::size_t maxChars);
    // `text` as one whole integer or decimal number, blanks around it allowed; else nothing.
    static std::optional<int> parseInteger(std::string_view text);
    static std::optional<double> parseNumber(std::string_view text);
    // A number as the odometer field shows it: up to 15 significant digits ("1234.5").
    static std::string numberText(double value);

private:
    Fields m_fields;
};
