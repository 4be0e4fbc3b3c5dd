#include "calc/list_font_form.h"

#include "calc/fuel_form.h"

#include <cstdlib>

int CListFontForm::heightForSize(int size, int dpi) {
    return -(size * dpi / 72);
}

int CListFontForm::sizeForHeight(int height, int dpi) {
    // The profile keeps the height negative; the page shows the size as a positive number.
    return dpi > 0 ? std::abs(height) * 72 / dpi : 0;
}

int CListFontForm::size() const {
    return sizeForHeight(m_height, m_dpi);
}

bool CListFontForm::sizeEntered(std::string_view text) {
    const auto size = CFuelForm::wholeInteger(text);
    if (!size || *size <= 0)
        return false;
    m_height = heightForSize(*size, m_dpi);
    return true;
}
