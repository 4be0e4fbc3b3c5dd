#include "calc/performance_watch.h"

#include "calc/units.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

namespace {

using State = CPerformanceWatch::State;
using Image = CPerformanceWatch::Image;

// Three qualifying fills over 1000 to 1000 + distance on `fuel` units of fuel.
PerformanceInputs inputs(double current, double distance, double fuel, int qualifying = 3) {
    PerformanceInputs in;
    in.qualifying = qualifying, in.current = current, in.firstOdometer = 1000, in.lastOdometer = 1000 + distance;
    in.totalFuel = fuel;
    return in;
}

// Average 300 / 10 = 30.0, so the band is 3.0.
TEST(PerformanceWatch, HigherIsBetterMeasuresAtTheThresholds) {
    const std::pair<double, State> cases[] = {
        {33.1, State::Excellent}, {33.0, State::Excellent}, {32.9, State::Good}, {30.0, State::Good},
        {29.9, State::Fair},      {27.1, State::Fair},      {27.0, State::Poor}, {26.9, State::Poor},
    };
    // Codes outside 0..4 read as MPG or KPL, as everywhere else.
    const int economyUnits[] = {units::kMpg, units::kMpl, units::kMpgImperial, units::kKpl, -1, 5};
    for (int unit : economyUnits)
        for (const auto& [current, expected] : cases)
            EXPECT_EQ(CPerformanceWatch::evaluate(inputs(current, 300, 10), unit), expected)
                << "unit " << unit << ", current " << current;
}

// 1000 km on 100 L is 10.0 L/100km with a band of 1.0; 1000 mi on 100 L is 16.09344 km/L, or
// 6.2137 L/100km with a band of 0.6214, so miles must be converted before the comparison.
TEST(PerformanceWatch, LitresPer100KmLowerIsBetter) {
    const std::tuple<int, double, State> cases[] = {
        {units::kKilometres, 8.5, State::Excellent}, {units::kKilometres, 9.0, State::Excellent},
        {units::kKilometres, 9.5, State::Good},      {units::kKilometres, 10.0, State::Good},
        {units::kKilometres, 10.5, State::Fair},     {units::kKilometres, 11.0, State::Poor},
        {units::kKilometres, 12.0, State::Poor},     {units::kMiles, 5.5, State::Excellent},
        {units::kMiles, 6.0, State::Good},           {units::kMiles, 6.5, State::Fair}, // EXCELLENT if read as km
        {units::kMiles, 7.0, State::Poor},
    };
    for (const auto& [distanceUnit, current, expected] : cases)
        EXPECT_EQ(CPerformanceWatch::evaluate(inputs(current, 1000, 100), units::kLitresPer100Km, distanceUnit),
                  expected)
            << "unit " << distanceUnit << ", current " << current;
}

TEST(PerformanceWatch, NotEnoughData) {
    const std::pair<const char*, PerformanceInputs> cases[] = {
        {"two qualifying fills", inputs(40, 300, 10, 2)},
        {"no fuel in range", inputs(0, 0, 0, 0)},
        {"no current economy", inputs(0, 300, 10)},
        {"no fuel quantity: infinite average", inputs(30, 300, 0)},
        {"no distance", inputs(30, 0, 10)},
        {"odometer going backwards", inputs(30, -300, 10)},
    };
    for (int unit : {units::kMpg, units::kLitresPer100Km})
        for (const auto& [name, in] : cases)
            EXPECT_EQ(CPerformanceWatch::evaluate(in, unit), State::NotEnoughData) << name << ", unit " << unit;
}

TEST(PerformanceWatch, EachVerdictShowsItsPictureAndEnablesTheDetails) {
    const std::tuple<State, Image, bool> cases[] = {
        {State::Startup, Image::Off, false},       {State::Off, Image::Off, false},
        {State::NotEnoughData, Image::Off, false}, {State::Good, Image::Good, true},
        {State::Excellent, Image::Good, true},     {State::Fair, Image::Fair, true},
        {State::Poor, Image::Poor, true}};
    for (const auto& [state, image, enabled] : cases) {
        const CPerformanceWatch::Display d = CPerformanceWatch::display(state);
        EXPECT_EQ(std::tuple(d.state, d.image, d.enabled), std::tuple(state, image, enabled)) << d.shortText;
    }
}

} // namespace
