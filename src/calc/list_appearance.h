#pragma once
// ListAppearance is how the entry list looks: its font as the profile describes it (face,
// character height in pixels as a negative number, weight, style, quality), the grid lines,
// the shading of every other row and the two colours. It is read from the MainFont section
// at start-up, edited in memory by the "List View" setup page, and written back (with the
// odometer display's font) when the setup sheet closes with OK.

#include "calc/push_graph_model.h"

#include <string>

class CAppProfile;
struct ProfileKey;

// A colour kept in a profile as three keys of 0..255 (values outside are brought into range).
Rgb profileColour(const CAppProfile& profile, const ProfileKey& red, const ProfileKey& green, const ProfileKey& blue);

struct ListFont {
    std::string name = "Tahoma";
    int height = -11;
    int weight = 700;
    bool italic = false;
    bool underline = false;
    int quality = 0; // 5 asks for ClearType, 0 for the default rendering

    bool operator==(const ListFont&) const = default;
};

struct ListAppearance {
    ListFont font;
    bool grid = false;
    bool lines = true;
    Rgb lineColour{255, 255, 224};
    Rgb fontColour{0, 0, 0};

    bool operator==(const ListAppearance&) const = default;

    static ListAppearance read(const CAppProfile& profile);
    // Writes MainFont whole, then OdoFont from its current values. Stops at the first write
    // that fails (the profile's lastError() says why).
    bool write(CAppProfile& profile) const;
};
