#include "calc/list_appearance.h"

#include "store/app_profile.h"

#include <algorithm>

namespace {

std::uint8_t channel(const CAppProfile& profile, const ProfileKey& key) {
    return static_cast<std::uint8_t>(std::clamp(profile.getNumber(key), 0, 255));
}

} // namespace

Rgb profileColour(const CAppProfile& profile, const ProfileKey& red, const ProfileKey& green, const ProfileKey& blue) {
    return {channel(profile, red), channel(profile, green), channel(profile, blue)};
}

ListAppearance ListAppearance::read(const CAppProfile& profile) {
    using namespace ProfileKeys;
    ListAppearance a;
    a.font.name = profile.getText(FontName);
    a.font.height = profile.getNumber(FontHeight);
    a.font.weight = profile.getNumber(FontWeight);
    a.font.italic = profile.getNumber(FontItalic) != 0;
    a.font.underline = profile.getNumber(FontUnderline) != 0;
    a.font.quality = profile.getNumber(FontQuality);
    a.grid = profile.getNumber(Grid) != 0;
    a.lines = profile.getNumber(Lines) != 0;
    a.lineColour = profileColour(profile, LineColorR, LineColorG, LineColorB);
    a.fontColour = profileColour(profile, FontColorR, FontColorG, FontColorB);
    return a;
}

bool ListAppearance::write(CAppProfile& profile) const {
    using namespace ProfileKeys;
    // The odometer display's font is not edited anywhere; it is written as read, so that a
    // profile always holds both fonts after a setup.
    const int odoHeight = profile.getNumber(OdoFontHeight);
    const int odoWeight = profile.getNumber(OdoFontWeight);
    const int odoItalic = profile.getNumber(OdoFontItalic);
    const int odoUnderline = profile.getNumber(OdoFontUnderline);
    const int odoQuality = profile.getNumber(OdoFontQuality);
    const std::string odoName = profile.getText(OdoFontName);
    // One write of the profile: all of it lands, or none.
    return profile.batch([&] {
        return profile.putNumber(FontHeight, font.height) && profile.putNumber(FontWeight, font.weight) &&
               profile.putNumber(FontItalic, font.italic ? 1 : 0) &&
               profile.putNumber(FontUnderline, font.underline ? 1 : 0) &&
               profile.putNumber(FontQuality, font.quality) && profile.putText(FontName, font.name) &&
               profile.putNumber(Lines, lines ? 1 : 0) && profile.putNumber(LineColorR, lineColour.r) &&
               profile.putNumber(LineColorG, lineColour.g) && profile.putNumber(LineColorB, lineColour.b) &&
               profile.putNumber(FontColorR, fontColour.r) && profile.putNumber(FontColorG, fontColour.g) &&
               profile.putNumber(FontColorB, fontColour.b) && profile.putNumber(Grid, grid ? 1 : 0) &&
               profile.putNumber(OdoFontHeight, odoHeight) && profile.putNumber(OdoFontWeight, odoWeight) &&
               profile.putNumber(OdoFontItalic, odoItalic) && profile.putNumber(OdoFontUnderline, odoUnderline) &&
               profile.putNumber(OdoFontQuality, odoQuality) && profile.putText(OdoFontName, odoName);
    });
}
