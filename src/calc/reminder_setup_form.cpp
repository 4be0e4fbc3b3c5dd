#include "calc/reminder_setup_form.h"

#include "calc/fuel_form.h"

#include <string>

namespace {

// Rows 1-5 in the page's order, each with its pair of settings.
struct FixedRow {
    const char* label;
    double VehicleSettings::*distance;
    int VehicleSettings::*days;
};
constexpr FixedRow kFixed[] = {
    {"Oil Change", &VehicleSettings::oilDistance, &VehicleSettings::oilDays},
    {"Coolant Flush", &VehicleSettings::coolDistance, &VehicleSettings::coolDays},
    {"Tire Rotation", &VehicleSettings::tireDistance, &VehicleSettings::tireDays},
    {"Tune Up", &VehicleSettings::tuneDistance, &VehicleSettings::tuneDays},
    {"Transmission Service", &VehicleSettings::transDistance, &VehicleSettings::transDays},
};

std::string rowTitle(const CReminderSetupForm::Row& row, int index) {
    if (!row.name.empty())
        return row.name;
    return "Custom " + std::to_string(index - CReminderSetupForm::kFixedRows + 1);
}

} // namespace

CReminderSetupForm::CReminderSetupForm(const VehicleSettings& settings) {
    for (int i = 0; i < kRowCount; ++i) {
        Row& row = m_fields.rows[i];
        double distance = 0;
        int days = 0;
        if (i < kFixedRows) {
            row.name = kFixed[i].label;
            distance = settings.*kFixed[i].distance;
            days = settings.*kFixed[i].days;
        } else {
            row.name = settings.customNames[i - kFixedRows];
            distance = settings.customDistance[i - kFixedRows];
            days = settings.customDays[i - kFixedRows];
        }
        row.distanceText = CFuelForm::numberText(distance);
        row.daysText = std::to_string(days);
    }
    m_fields.leadDaysText = std::to_string(static_cast<int>(settings.leadDays));
    m_fields.leadOdoText = CFuelForm::numberText(settings.leadOdo);
}

std::size_t CReminderSetupForm::characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

double CReminderSetupForm::daysFor(double number, std::string_view unit) {
    double multiplier = 0;
    if (unit.find("Year") != std::string_view::npos)
        multiplier = 365;
    else if (unit.find("Month") != std::string_view::npos)
        multiplier = 30;
    else if (unit.find("Week") != std::string_view::npos)
        multiplier = 7;
    return number * multiplier;
}

std::optional<CReminderSetupForm::Refusal> CReminderSetupForm::refusal() const {
    for (int i = 0; i < kRowCount; ++i) {
        const Row& row = m_fields.rows[i];
        const std::string title = rowTitle(row, i);
        if (i >= kFixedRows && characterCount(row.name) > kMaxNameLength)
            return Refusal{Field::Name, i,
                           "Enter no more than " + std::to_string(kMaxNameLength) + " characters for " + title + "."};
        if (!CFuelForm::wholeNumber(row.distanceText))
            return Refusal{Field::Distance, i, "Please enter a number for the Distance of " + title + "."};
        if (!CFuelForm::wholeInteger(row.daysText))
            return Refusal{Field::Days, i, "Please enter an integer for the Days of " + title + "."};
    }
    const auto leadDays = CFuelForm::wholeInteger(m_fields.leadDaysText);
    if (!leadDays || *leadDays < 0 || *leadDays > kMaxLeadDays)
        return Refusal{Field::LeadDays, -1, "Please enter an integer between 0 and 90 for Lead Days."};
    const auto leadOdo = CFuelForm::wholeNumber(m_fields.leadOdoText);
    if (!leadOdo || *leadOdo < 0 || *leadOdo > kMaxLeadOdo)
        return Refusal{Field::LeadOdo, -1, "Please enter a number between 0 and 10000 for Lead Odo."};
    return std::nullopt;
}

std::optional<CReminderSetupForm::Refusal> CReminderSetupForm::unitPicked() {
    if (auto refused = refusal())
        return refused;
    const auto number = CFuelForm::wholeNumber(m_fields.calculatorNumber);
    if (!number)
        return Refusal{Field::CalculatorNumber, -1, "Please enter a number for the Day Calculator."};
    m_fields.calculatorResult = CFuelForm::numberText(daysFor(*number, m_fields.calculatorUnit));
    return std::nullopt;
}

std::optional<CReminderSetupForm::Refusal> CReminderSetupForm::writeBack(VehicleSettings& settings) const {
    if (auto refused = refusal())
        return refused;
    for (int i = 0; i < kRowCount; ++i) {
        const Row& row = m_fields.rows[i];
        const double distance = *CFuelForm::wholeNumber(row.distanceText);
        const int days = *CFuelForm::wholeInteger(row.daysText);
        if (i < kFixedRows) {
            settings.*kFixed[i].distance = distance;
            settings.*kFixed[i].days = days;
        } else {
            settings.customNames[i - kFixedRows] = row.name;
            settings.customDistance[i - kFixedRows] = distance;
            settings.customDays[i - kFixedRows] = days;
        }
    }
    settings.leadDays = *CFuelForm::wholeInteger(m_fields.leadDaysText);
    settings.leadOdo = *CFuelForm::wholeNumber(m_fields.leadOdoText);
    return std::nullopt;
}
