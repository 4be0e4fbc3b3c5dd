#pragma once
// CGraphSetupForm holds the two number fields of the "Graph" setup page and applies the
// page's edits to the live graph settings at once (there is no Cancel for them). The
// bar width is taken from its own field only within 2..19, but a colour pick takes it
// whatever it is, as long as the field holds an integer within 1..25.

#include "calc/graph_feed.h"

#include <optional>
#include <string>

class CGraphSetupForm {
public:
    static constexpr int kMinBarWidth = 1;
    static constexpr int kMaxBarWidth = 25;

    enum class Field { BarWidth, GridSize };
    struct Refusal {
        Field field;
        std::string message;
    };

    // `settings` must outlive the form: every change lands in it at once.
    explicit CGraphSetupForm(GraphSettings& settings);

    std::string barWidthText;
    std::string gridText;

    std::optional<Refusal> barWidthLeft();
    std::optional<Refusal> gridLeft();
    // A colour was picked (already stored by the caller): every field of the page is taken.
    std::optional<Refusal> colourPicked();

private:
    std::optional<Refusal> barWidthRefusal() const;
    std::optional<Refusal> gridRefusal() const;

    GraphSettings& m_settings;
};
