#include "calc/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <tuple>

namespace {

TEST(Units, LitresOfLooksAtHowTheMeasureBegins) {
    const std::tuple<const char*, double, double> cases[] = {
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
    for (const auto& [measure, quantity, litres] : cases)
        EXPECT_NEAR(units::litresOf(measure, quantity), litres, 1e-12) << measure;
}

TEST(Units, EconomyTextPicksTheFormatByTheEntrysUnit) {
    const std::tuple<double, double, const char*> cases[] = {
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
    for (const auto& [economy, unit, text] : cases)
        EXPECT_EQ(units::economyText(economy, unit), text) << economy << " / " << unit;
}

TEST(Units, FuelDistanceTruncatesAndNeverGoesNegative) {
    const std::tuple<double, double, std::int32_t> cases[] = {
        {1300.9, 1000, 300}, // truncated, not rounded
        {1234.99, 0, 1234},
        {1000.5, 1000, 0}, // under one whole unit
        {1000, 1000, 0},
        {900, 1000, 0}, // going back gives 0, not -100
        {1e12, 0, std::numeric_limits<std::int32_t>::max()},
        {std::nan(""), 0, 0},
    };
    for (const auto& [odometer, previous, distance] : cases)
        EXPECT_EQ(units::fuelDistance(odometer, previous), distance) << odometer << " - " << previous;
}

} // namespace
