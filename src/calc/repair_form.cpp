#include "calc/repair_form.h"

#include "calc/number_text.h"

#include <charconv>
#include <cmath>

namespace {

// Lives for the whole run, like the list of entries it describes.
RepairIcon g_defaultIcon = RepairIcon::General;

bool contains(const std::string& text, std::string_view word) {
    return text.find(word) != std::string::npos;
}

bool beginsWith(const std::string& text, std::string_view word) {
    return text.find(word) == 0;
}

// The reminder type's picture for a code, when the code is one the default icon can take.
std::optional<RepairIcon> reminderIconFor(int code) {
    switch (code) {
    case 1:
        return RepairIcon::General;
    case 4:
        return RepairIcon::OilChange;
    case 5:
        return RepairIcon::TuneUp;
    case 6:
        return RepairIcon::Transmission;
    case 7:
        return RepairIcon::Coolant;
    case 17:
        return RepairIcon::RotateTires;
    default:
        return std::nullopt;
    }
}

} // namespace

void CRepairForm::open(const CDVItem& record, const Context& context) {
    m_startTime = context.startTime;
    m_currentOdometer = context.currentOdometer;
    double odometer = 0;
    if (!record.Entry.empty()) {
        odometer = record.Odometer;
        m_fields = Fields{formatNumber(record.Odometer), record.Date, record.Entry, record.Station, record.Invoice,
                          formatNumber(record.Cost),     record.Note};
        m_code = record.Icon;
        if (const auto icon = reminderIconFor(m_code))
            g_defaultIcon = *icon;
        m_selected = g_defaultIcon;
        if (m_code == 0 || m_code == 1)
            useDefaultIcon();
        else if (const auto button = buttonFor(m_code))
            chooseIcon(*button);
    } else {
        odometer = context.currentOdometer;
        m_fields =
            Fields{formatNumber(odometer), context.startTime, context.lastMaintType, context.lastMaintLoc, "", "0", ""};
        m_code = 0;
        m_selected = RepairIcon::Neutral;
        matchDescription();
    }
    if (odometer == 0)
        m_fields = Fields{formatNumber(context.currentOdometer), context.startTime, "", "", "", "0", ""};
}

void CRepairForm::pickDescription(std::string_view text) {
    m_fields.description = std::string(text);
    matchDescription();
}

void CRepairForm::matchDescription() {
    const std::string& text = m_fields.description;
    if (!contains(text, "Oil Change") && !beginsWith(text, "Coolant Flush") && !beginsWith(text, "Rotate Tires") &&
        !beginsWith(text, "Tune-Up") && !beginsWith(text, "Transmission Service")) {
        useDefaultIcon();
        return;
    }
    const auto match = [this](RepairIcon icon) {
        m_code = codeOf(icon);
        m_selected = icon;
    };
    if (contains(text, "Oil Change"))
        match(RepairIcon::OilChange);
    if (beginsWith(text, "Tune-Up"))
        match(RepairIcon::TuneUp);
    if (beginsWith(text, "Transmission Service"))
        match(RepairIcon::Transmission);
    if (beginsWith(text, "Coolant Flush"))
        match(RepairIcon::Coolant);
    if (beginsWith(text, "Rotate Tires"))
        match(RepairIcon::RotateTires);
}

void CRepairForm::useDefaultIcon() {
    m_code = codeOf(g_defaultIcon);
    m_selected = g_defaultIcon;
}

void CRepairForm::chooseIcon(RepairIcon button) {
    m_code = codeOf(button);
    m_selected = button;
}

CRepairForm::SaveOutcome CRepairForm::save(CDVItem& record) const {
    SaveOutcome outcome;
    const auto odometer = parseNumber(m_fields.odometer);
    if (!odometer) {
        outcome.refusal = "Odometer: please enter a number, such as 12345.6.";
        return outcome;
    }
    const auto cost = parseNumber(m_fields.cost);
    if (!cost) {
        outcome.refusal = "Total Cost: please enter a number, such as 49.95.";
        return outcome;
    }
    CDVItem filled;
    filled.Icon = m_code <= 0 ? 1 : m_code;
    filled.EntryType = CDVItem::Repair;
    filled.Odometer = *odometer;
    filled.Date = m_fields.date;
    filled.Note = m_fields.details;
    filled.Station = m_fields.location;
    filled.Invoice = m_fields.invoice;
    filled.Entry = m_fields.description;
    filled.Cost = *cost;
    record = filled;
    outcome.saved = true;
    outcome.lastMaintType = m_fields.description;
    outcome.lastMaintLoc = m_fields.location;
    return outcome;
}

RepairIcon CRepairForm::defaultIcon() {
    return g_defaultIcon;
}

void CRepairForm::resetDefaultIcon() {
    g_defaultIcon = RepairIcon::General;
}

int CRepairForm::codeOf(RepairIcon icon) {
    switch (icon) {
    case RepairIcon::Neutral:
        return 0;
    case RepairIcon::General:
        return 1;
    case RepairIcon::OilChange:
        return 4;
    case RepairIcon::TuneUp:
        return 5;
    case RepairIcon::Transmission:
        return 6;
    case RepairIcon::Coolant:
        return 7;
    case RepairIcon::RotateTires:
    case RepairIcon::Tire:
        return 17;
    default:
        // Caution..Wrench are 8..16 in declaration order.
        return 8 + static_cast<int>(icon) - static_cast<int>(RepairIcon::Caution);
    }
}

std::optional<RepairIcon> CRepairForm::buttonFor(int code) {
    if (code == 17)
        return RepairIcon::Tire;
    if (code >= 8 && code <= 16)
        return static_cast<RepairIcon>(static_cast<int>(RepairIcon::Caution) + code - 8);
    return std::nullopt;
}

std::optional<double> CRepairForm::parseNumber(std::string_view text) {
    return odrivo::parseEditNumber(text);
}

std::string CRepairForm::formatNumber(double value) {
    return odrivo::editNumberText(value);
}
