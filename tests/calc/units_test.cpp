#include "calc/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// "Li" is enough for litres; shorter than "Gallons" or not at the start: no unit. Economy texts
// read codes below 0 as MPG, anything else not a code as KPL. Distances are truncated, never negative.
TEST(Units, LitresEconomyTextsAndFuelDistance) {
    // clang-format off
    const std::tuple<const char*, double, double> litres[] = {
        {"Gallons (US)", 2, 7.57082}, {"Imperial", 1, 4.54609}, {"Li", 7.5, 7.5}, {"Gal", 10, 0}, {" Litres", 10, 0}};
    const std::tuple<double, double, const char*> texts[] = {{30, 0, "30.00 MPG"}, {1.5, 1, "1.50 MPL"},
        {-1.5, 2, "-1.50 L/100km"}, {36.028515, 3, "36.03 MPGi"}, {12.754317, 4, "12.75 KPL"}, {5, -3, "5.00 MPG"},
        {5, 17, "5.00 KPL"}, {5, 0.5, "5.00 KPL"}};
    const std::tuple<double, double, std::int32_t> distances[] = {{1300.9, 1000, 300}, {1000, 1000, 0}, {900, 1000, 0},
        {1e12, 0, std::numeric_limits<std::int32_t>::max()}, {std::nan(""), 0, 0}};
    // clang-format on
    for (const auto& [measure, quantity, expected] : litres)
        EXPECT_NEAR(units::litresOf(measure, quantity), expected, 1e-12) << measure;
    for (const auto& [economy, unit, text] : texts)
        EXPECT_EQ(units::economyText(economy, unit), text) << economy << " / " << unit;
    for (const auto& [odometer, previous, distance] : distances)
        EXPECT_EQ(units::fuelDistance(odometer, previous), distance) << odometer << " - " << previous;
}

} // namespace
