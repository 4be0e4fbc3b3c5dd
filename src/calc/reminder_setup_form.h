#pragma once
// CReminderSetupForm holds the fields of the "Reminders" setup page without any window:
// ten reminder rows (five fixed services, five custom ones), the two warning leads and
// the Day Calculator. The page copies its controls into fields() before calling a handler
// and shows fields() afterwards. Every field is held as the text typed, so a value that
// does not parse is refused with the field named instead of being changed silently.

#include "store/vehicle_settings.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

class CReminderSetupForm {
public:
    static constexpr int kRowCount = VehicleSettings::kReminderCount;
    static constexpr int kFixedRows = kRowCount - VehicleSettings::kCustomCount;
    static constexpr std::size_t kMaxNameLength = 20; // characters, not bytes
    static constexpr int kMaxLeadDays = 90;
    static constexpr double kMaxLeadOdo = 10000;

    struct Row {
        std::string name; // fixed label for the first five rows, editable for the custom ones
        std::string distanceText;
        std::string daysText;
    };
    struct Fields {
        std::array<Row, kRowCount> rows;
        std::string leadDaysText;
        std::string leadOdoText;
        std::string calculatorNumber;
        std::string calculatorUnit = "Select";
        std::string calculatorResult;
    };

    enum class Field { Name, Distance, Days, LeadDays, LeadOdo, CalculatorNumber };
    struct Refusal {
        Field field;
        int row; // 0-based reminder row, -1 for the fields outside the rows
        std::string message;
    };

    explicit CReminderSetupForm(const VehicleSettings& settings);

    Fields& fields() { return m_fields; }
    const Fields& fields() const { return m_fields; }

    // The first field that cannot be taken, in the order the page lists them.
    std::optional<Refusal> refusal() const;

    // A unit was picked in the Day Calculator: the result field shows the number in days.
    // Nothing is computed while any field of the page is refused.
    std::optional<Refusal> unitPicked();

    // Copies every field into the vehicle's reminder settings; writes nothing when refused.
    std::optional<Refusal> writeBack(VehicleSettings& settings) const;

    // The calculator's rule: a year is 365 days, a month 30, a week 7; any other unit 0.
    static double daysFor(double number, std::string_view unit);
    static std::size_t characterCount(std::string_view utf8);

private:
    Fields m_fields;
};
