#pragma once
// A group of radio buttons that stands for a code: the index of the checked radio is the
// code (the unit choices of the vehicle dialogs). A code outside the group checks the
// nearest end; no radio checked reads as 0.

#include <QRadioButton>
#include <algorithm>
#include <array>

namespace radiogroup {

template <std::size_t N> int checkedIndex(const std::array<QRadioButton*, N>& radios) {
    const auto it = std::find_if(radios.begin(), radios.end(), [](const QRadioButton* r) { return r->isChecked(); });
    return it == radios.end() ? 0 : static_cast<int>(it - radios.begin());
}

template <std::size_t N> void check(const std::array<QRadioButton*, N>& radios, int code) {
    radios.at(static_cast<std::size_t>(std::clamp(code, 0, static_cast<int>(N) - 1)))->setChecked(true);
}

} // namespace radiogroup
