#pragma once
// CListFontForm converts between the point size the "List View" setup page shows and the
// font height the profile keeps (negative: a character height in pixels at the screen's
// vertical resolution). A typed size that is not a whole number above 0 leaves the height.

#include <string_view>

class CListFontForm {
public:
    CListFontForm(int height, int dpi) : m_height(height), m_dpi(dpi) {}

    int height() const { return m_height; }
    // The size shown for the held height.
    int size() const;
    // A size picked or typed; returns whether it was taken.
    bool sizeEntered(std::string_view text);

    static int heightForSize(int size, int dpi);
    static int sizeForHeight(int height, int dpi);

private:
    int m_height;
    int m_dpi;
};
