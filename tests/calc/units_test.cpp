#include "calc/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

struct LitresCase {
    const char* measure;
    double quantity;
    double litres;
};

TEST(Units, LitresOfLooksAtHowTheMeasureBegins) {
    const LitresCase cases[] = {
        {"Gallons", 10, 37.8541},      // 10 x 3.78541
        {"Gallons (US)", 2, 7.57082},  // 2 x 3.78541
        {"Imp. Gallons", 10, 45.4609}, // 10 x 4.54609
        {"Imperial", 1, 4.54609},
        {"Litres", 7.5, 7.5},  // litres as they are
        {"Li", 7.5, 7.5},      // "Li" is enough for the conversion
        {"Gal", 10, 0},        // shorter than "Gallons": no unit
        {"gallons", 10, 0},    // case matters
        {"US Gallons", 10, 0}, // must be at the start
        {" Litres", 10, 0},
        {"Lt", 10, 0},
        {"", 10, 0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(units::litresOf(c.measure, c.quantity), c.litres, 1e-12) << c.measure;
}

struct TextCase {
    double economy;
    double unit;
    const char* text;
};

TEST(Units, EconomyTextPicksTheFormatByTheEntrysUnit) {
    const TextCase cases[] = {
        {30, 0, "30.00 MPG"},
        {1.5, 1, "1.50 MPL"},
        {7.840482, 2, "7.84 L/100km"},
        {36.028515, 3, "36.03 MPGi"},
        {12.754317, 4, "12.75 KPL"},
        {5, -3, "5.00 MPG"},  // below 0 reads as MPG
        {5, 17, "5.00 KPL"},  // above 4 reads as KPL
        {5, 0.5, "5.00 KPL"}, // between codes: not MPG, which is 0 or less only
        // Left-justified in a width of 3: "%.2f" is never shorter, so no padding either side.
        {0, 0, "0.00 MPG"},
        {-1.5, 2, "-1.50 L/100km"},
        {123456.789, 1, "123456.79 MPL"},
        {1e20, 3, "100000000000000000000.00 MPGi"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(units::economyText(c.economy, c.unit), c.text) << c.economy << " / " << c.unit;
}

TEST(Units, EconomyUnitNames) {
    const std::pair<int, std::string> cases[] = {{-1, "MPG"}, {0, "MPG"}, {1, "MPL"}, {2, "L/100km"},
                                                 {3, "MPGi"}, {4, "KPL"}, {9, "KPL"}};
    for (const auto& [code, name] : cases)
        EXPECT_EQ(units::economyUnitName(code), name) << code;
}

TEST(Units, FuelDistanceTruncatesAndNeverGoesNegative) {
    const struct {
        double odometer;
        double previous;
        std::int32_t distance;
    } cases[] = {
        {1300.9, 1000, 300}, // truncated, not rounded
        {1234.99, 0, 1234},
        {1000.5, 1000, 0}, // under one whole unit
        {1000, 1000, 0},
        {900, 1000, 0}, // going back gives 0, not -100
        {1e12, 0, std::numeric_limits<std::int32_t>::max()},
        {std::nan(""), 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(units::fuelDistance(c.odometer, c.previous), c.distance) << c.odometer << " - " << c.previous;
}

} // namespace
