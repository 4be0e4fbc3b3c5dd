#pragma once
// CHeadingMatcher proposes a column map for a file from its headings, so that the exports of
// other vehicle logs and spreadsheets import without the user building a map by hand. A
// heading is compared, in lower case with anything in brackets and all punctuation dropped
// ("Odometer (km)" is "odometer", "Price/Gallon" is "price gallon"), with the usual words for
// each field: our own field names and export headings, and those other programs write. The
// first heading that names a field gets it. A cost or total feeds the cost of every entry
// (the "Tolls & Maint cost" field).

#include "exchange/column_map.h"

#include <string>
#include <string_view>
#include <vector>

class CHeadingMatcher {
public:
    // The map the headings propose; a heading that names no field maps nothing.
    static CColumnMap proposedMap(const std::vector<std::string>& headings);
    // The slot a heading names, or -1.
    static int slotOf(std::string_view heading);
    // The heading as it is compared: lower case, brackets and punctuation dropped.
    static std::string normalized(std::string_view heading);
};
