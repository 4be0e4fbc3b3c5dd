#include "calc/graph_setup_form.h"

#include "calc/fuel_form.h"

CGraphSetupForm::CGraphSetupForm(GraphSettings& settings)
    : barWidthText(std::to_string(settings.barWidth)), gridText(std::to_string(settings.grid)), m_settings(settings) {}

std::optional<CGraphSetupForm::Refusal> CGraphSetupForm::barWidthRefusal() const {
    const auto width = CFuelForm::wholeInteger(barWidthText);
    if (!width || *width < kMinBarWidth || *width > kMaxBarWidth)
        return Refusal{Field::BarWidth, "Please enter an integer between 1 and 25 for Bar Width."};
    return std::nullopt;
}

std::optional<CGraphSetupForm::Refusal> CGraphSetupForm::gridRefusal() const {
    if (!CFuelForm::wholeInteger(gridText))
        return Refusal{Field::GridSize, "Please enter an integer for Grid Size."};
    return std::nullopt;
}

std::optional<CGraphSetupForm::Refusal> CGraphSetupForm::barWidthLeft() {
    if (auto refused = barWidthRefusal())
        return refused;
    // 1 and 20..25 pass the field's limits but draw badly when typed; a colour pick still takes them.
    const int width = *CFuelForm::wholeInteger(barWidthText);
    if (width >= 2 && width <= 19)
        m_settings.barWidth = width;
    return std::nullopt;
}

std::optional<CGraphSetupForm::Refusal> CGraphSetupForm::gridLeft() {
    if (auto refused = gridRefusal())
        return refused;
    m_settings.grid = *CFuelForm::wholeInteger(gridText);
    return std::nullopt;
}

std::optional<CGraphSetupForm::Refusal> CGraphSetupForm::colourPicked() {
    if (auto refused = barWidthRefusal())
        return refused;
    if (auto refused = gridRefusal())
        return refused;
    m_settings.barWidth = *CFuelForm::wholeInteger(barWidthText);
    m_settings.grid = *CFuelForm::wholeInteger(gridText);
    return std::nullopt;
}
