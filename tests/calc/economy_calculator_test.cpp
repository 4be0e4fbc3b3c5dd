#include "calc/economy_calculator.h"

#include "calc/units.h"

#include <gtest/gtest.h>

namespace {

constexpr int kMpg = units::kMpg, kKpl = units::kKpl, kL100 = units::kLitresPer100Km;

// Cost, economy and unit start at a value no step produces, so a field left as it was shows up.
CDVItem fill(double odometer, double quantity, std::string measure = "Gallons", int partial = 0, int distanceUnit = 0) {
    CDVItem e;
    e.EntryType = CDVItem::Fuel, e.Odometer = odometer, e.Quantity = quantity, e.Measure = std::move(measure);
    e.PartialFill = partial, e.DistanceUnit = distanceUnit, e.UnitPrice = 2.5,
    e.Cost = e.Economy = e.EconomyUnit = 55.5;
    return e;
}

// Runs the recalculation over the entries in the given order and hands them back rewritten.
std::vector<CDVItem> recalculated(std::vector<CDVItem> entries, const CEconomyCalculator::Settings& vehicle) {
    CVehicleLogDoc doc;
    for (auto& e : entries)
        doc.append(std::make_unique<CDVItem>(std::move(e)));
    CEconomyCalculator::recalculate(doc, vehicle);
    std::vector<CDVItem> out;
    for (const auto& e : doc.entries())
        out.push_back(*e);
    return out;
}

// Full fills at 1000 mi and 1300 mi: 300 mi = 482.8032 km, 10 US gallons = 37.8541 L. The first
// full fill of a log has no economy; partial fills carry their fuel to the next full fill, which
// uses it up. MPG follows the measure (imperial gallons give miles per imperial gallon); "Li"
// counts as litres but not for MPG. Implausible results (over 200, infinite, not a number, an
// unknown unit) are 0, and distance is measured only from a full fill above zero. Cost is price
// times quantity in the entry's own measure.
TEST(EconomyCalculator, EconomyOfEveryFill) {
    const CDVItem p1150 = fill(1150, 4, "Gallons", 1);
    // clang-format off
    const std::tuple<std::vector<CDVItem>, int, std::vector<double>, double> cases[] = {
        {{fill(1000, 8), fill(1300, 10)}, kMpg, {0, 30}, 0},
        {{fill(1000, 8), fill(1300, 10)}, units::kMpl, {0, 300.0 / 37.8541}, 0},
        {{fill(1000, 8), fill(1300, 10)}, kL100, {0, 37.8541 / 4.828032}, 0},
        {{fill(1000, 8), fill(1300, 10)}, kKpl, {0, 482.8032 / 37.8541}, 0},
        {{fill(1000, 8), fill(1300, 10)}, units::kMpgImperial, {0, 300.0 / (37.8541 / 4.54609)}, 0},
        {{fill(1000, 8), fill(1300, 10, "Imp. Gallons")}, kMpg, {0, 30}, 0},
        {{fill(1000, 8), fill(1300, 40, "Litres")}, kMpg, {0, 300.0 / (40 / 3.78541)}, 0},
        {{fill(1000, 8), fill(1300, 40, "Liquid")}, kMpg, {0, 0}, 0},
        {{fill(1000, 8), fill(1300, 40, "Liquid")}, kKpl, {0, 482.8032 / 40}, 0},
        {{fill(1000, 8), fill(1300, 10, "gallons")}, kMpg, {0, 0}, 0},
        {{fill(1000, 8), p1150, fill(1300, 6)}, kMpg, {0, 0, 30}, 0},
        {{fill(900, 5, "Gallons", 1), fill(1000, 8), fill(1300, 10)}, kMpg, {0, 0, 30}, 0},
        {{fill(1000, 8), p1150, fill(1300, 6), fill(1600, 10)}, kMpg, {0, 0, 30, 30}, 0},
        {{fill(1000, 8), p1150, fill(1300, 6)}, kL100, {0, 0, 37.8541 / 4.828032}, 0},
        {{fill(1000, 8), fill(1300, 1.6)}, kMpg, {0, 300.0 / 1.6}, 0},
        {{fill(1000, 8), fill(1300, 1.4)}, kMpg, {0, 0}, 0},
        {{fill(1000, 8), fill(1300, -10)}, kMpg, {0, 0}, 0},
        {{fill(1000, 8), fill(1300, 0)}, kMpg, {0, 0}, 0},
        {{fill(1000, 8), fill(1000, 0)}, kKpl, {0, 0}, 0},
        {{fill(1000, 8), fill(1000, 10)}, kL100, {0, 0}, 0},
        {{fill(1000, 8), fill(1300, 10)}, 5, {0, 0}, 0},
        {{fill(0.5, 8), fill(300.5, 10)}, kMpg, {0, 30}, 0},
        {{fill(-100, 8), fill(200, 10)}, kMpg, {0, 0}, 0},
        // -1000 mi on -10 gallons would be 100 MPG, but the fill itself leaves the last full odometer at 0.
        {{fill(1000, 8), fill(0, -10)}, kMpg, {0, 0}, 0},
        // The start odometer does not move the distance: 3900 mi on 10 gallons is 390 MPG.
        {{fill(1000, 8), fill(1300, 10), fill(5200, 10), fill(5500, 10)}, kMpg, {0, 30, 0, 30}, 5000}};
    // clang-format on
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [entries, economyUnit, expected, start] = cases[i];
        const auto log = recalculated(entries, {start, units::kMiles, economyUnit});
        ASSERT_EQ(log.size(), expected.size());
        for (std::size_t k = 0; k < log.size(); ++k) {
            EXPECT_NEAR(log[k].Economy, expected[k], 1e-8) << "case " << i << ", entry " << k;
            EXPECT_EQ(std::pair(log[k].EconomyUnit, log[k].Cost), std::pair(double(economyUnit), log[k].Quantity * 2.5))
                << "case " << i << ", entry " << k;
        }
    }
}

} // namespace
