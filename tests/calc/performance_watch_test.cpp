#include "calc/performance_watch.h"

#include "calc/units.h"

#include <gtest/gtest.h>

namespace {

using State = CPerformanceWatch::State;

// Fills over 1000 to 1000 + distance on `fuel` units of fuel.
PerformanceInputs inputs(double current, double distance, double fuel, int qualifying = 3) {
    PerformanceInputs in;
    in.qualifying = qualifying, in.current = current, in.firstOdometer = 1000, in.lastOdometer = 1000 + distance;
    in.totalFuel = fuel;
    return in;
}

// 300 / 10 = 30.0 with a band of 3.0; in L/100km 1000 km on 100 L is 10.0 with a band of 1.0, and
// 1000 mi on 100 L is 6.2137 with a band of 0.6214, so miles must be converted first
// (6.5 would be Excellent if read as km).
TEST(PerformanceWatch, VerdictAtTheBandEdges) {
    constexpr int kL100 = units::kLitresPer100Km, kKm = units::kKilometres, kMi = units::kMiles;
    // clang-format off
    const std::tuple<int, int, double, State> cases[] = {
        {units::kMpg, kMi, 33.0, State::Excellent}, {units::kMpg, kMi, 32.9, State::Good},
        {units::kKpl, kMi, 30.0, State::Good},
        {-1, kMi, 29.9, State::Fair}, {5, kMi, 27.1, State::Fair}, {units::kMpl, kMi, 27.0, State::Poor},
        {kL100, kKm, 9.0, State::Excellent}, {kL100, kKm, 9.5, State::Good}, {kL100, kKm, 10.0, State::Good},
        {kL100, kKm, 10.5, State::Fair}, {kL100, kKm, 11.0, State::Poor}, {kL100, kMi, 5.5, State::Excellent},
        {kL100, kMi, 6.0, State::Good}, {kL100, kMi, 6.5, State::Fair}, {kL100, kMi, 7.0, State::Poor}};
    // clang-format on
    for (const auto& [economyUnit, distanceUnit, current, expected] : cases) {
        const double distance = economyUnit == kL100 ? 1000 : 300, fuel = economyUnit == kL100 ? 100 : 10;
        EXPECT_EQ(CPerformanceWatch::evaluate(inputs(current, distance, fuel), economyUnit, distanceUnit), expected)
            << economyUnit << "/" << distanceUnit << ", current " << current;
    }
}

TEST(PerformanceWatch, NotEnoughData) {
    const PerformanceInputs cases[] = {inputs(40, 300, 10, 2), inputs(0, 300, 10), inputs(30, 300, 0),
                                       inputs(30, 0, 10), inputs(30, -300, 10)};
    for (int unit : {units::kMpg, units::kLitresPer100Km})
        for (const PerformanceInputs& in : cases)
            EXPECT_EQ(CPerformanceWatch::evaluate(in, unit), State::NotEnoughData)
                << unit << ": " << in.qualifying << " fills, " << in.current << ", " << in.totalFuel;
}

} // namespace
