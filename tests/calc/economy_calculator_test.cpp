#include "calc/economy_calculator.h"

#include "calc/units.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Settings = CEconomyCalculator::Settings;

// A value no step produces, so a field left as it was shows up.
constexpr double kStale = 55.5;
constexpr double kTolerance = 1e-8;

CDVItem fill(double odometer, double quantity, std::string measure = "Gallons", int partial = 0) {
    CDVItem e;
    e.EntryType = CDVItem::Fuel, e.Odometer = odometer, e.Quantity = quantity, e.Measure = std::move(measure);
    e.PartialFill = partial, e.UnitPrice = 2.5, e.Cost = e.Economy = e.EconomyUnit = kStale;
    return e;
}

CDVItem kmFill(double odometer, double litres, int distanceUnit) {
    CDVItem e = fill(odometer, litres, "Litres");
    e.DistanceUnit = distanceUnit;
    return e;
}

// Runs the recalculation over the entries in the given order and hands them back rewritten.
std::vector<CDVItem> recalculated(std::vector<CDVItem> entries, const Settings& vehicle) {
    CVehicleLogDoc doc;
    for (auto& e : entries)
        doc.append(std::make_unique<CDVItem>(std::move(e)));
    CEconomyCalculator::recalculate(doc, vehicle);
    std::vector<CDVItem> out;
    for (const auto& e : doc.entries())
        out.push_back(*e);
    return out;
}

void expectEconomies(const std::vector<CDVItem>& entries, const std::vector<double>& expected) {
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(entries[i].Economy, expected[i], kTolerance) << "entry " << i;
}

// The reference log: full fills at 1000 mi and 1300 mi, the second of 10 US gallons.
// By hand: 300 mi = 300 x 1.609344 = 482.8032 km; 10 US gallons = 10 x 3.78541 = 37.8541 L.
std::vector<CDVItem> referenceLog() {
    return {fill(1000, 8), fill(1300, 10)};
}

TEST(EconomyCalculator, ReferenceLogInEveryEconomyUnit) {
    const std::tuple<int, double, const char*> cases[] = {
        {units::kMpg, 300.0 / 10, "30.00 MPG"},                           // miles per US gallon
        {units::kMpl, 300.0 / 37.8541, "7.93 MPL"},                       // miles per litre
        {units::kLitresPer100Km, 37.8541 / 4.828032, "7.84 L/100km"},     // litres per 100 km
        {units::kMpgImperial, 300.0 / (37.8541 / 4.54609), "36.03 MPGi"}, // 8.3267 imperial gallons
        {units::kKpl, 482.8032 / 37.8541, "12.75 KPL"},                   // km per litre
    };
    for (const auto& [economyUnit, expected, text] : cases) {
        SCOPED_TRACE(text);
        const auto log = recalculated(referenceLog(), {0, units::kMiles, economyUnit});
        expectEconomies(log, {0, expected}); // the first full fill of a log has no economy
        EXPECT_EQ(units::economyText(log[1].Economy, log[1].EconomyUnit), text);
        EXPECT_EQ(std::tuple(log[0].EconomyUnit, log[1].EconomyUnit), std::tuple(economyUnit, economyUnit));
    }
}

TEST(EconomyCalculator, CostIsPriceTimesQuantityInTheEntrysOwnMeasure) {
    const auto log = recalculated({fill(1000, 8), fill(1300, 10, "Imp. Gallons"), fill(1400, 3, "nothing known")},
                                  {0, units::kMiles, units::kLitresPer100Km});
    // Not the 45.46 litres, and even when the measure names no unit.
    EXPECT_EQ((std::vector{log[0].Cost, log[1].Cost, log[2].Cost, log[2].Economy}),
              (std::vector{8 * 2.5, 10 * 2.5, 3 * 2.5, 0.0}));
}

TEST(EconomyCalculator, MeasureOfTheSecondFill) {
    const std::tuple<const char*, double, int, double> cases[] = {
        // MPG follows the measure: imperial gallons give miles per imperial gallon.
        {"Imp. Gallons", 10, units::kMpg, 300.0 / 10},
        // 40 L = 40 / 3.78541 US gallons.
        {"Litres", 40, units::kMpg, 300.0 / (40 / 3.78541)},
        // "Li" counts as litres, but MPG wants "Lit" or "Gallons".
        {"Liquid", 40, units::kMpg, 0},
        {"Liquid", 40, units::kKpl, 482.8032 / 40},
        {"gallons", 10, units::kMpg, 0},
        {"", 10, units::kKpl, 0},
    };
    for (const auto& [measure, quantity, economyUnit, expected] : cases) {
        SCOPED_TRACE(std::string(measure) + " unit " + std::to_string(economyUnit));
        const auto log =
            recalculated({fill(1000, 8, "Gallons"), fill(1300, quantity, measure)}, {0, units::kMiles, economyUnit});
        expectEconomies(log, {0, expected});
        EXPECT_DOUBLE_EQ(log[1].Cost, quantity * 2.5);
    }
}

struct LogCase {
    const char* name;
    std::vector<CDVItem> entries;
    int economyUnit;
    std::vector<double> expected;
    double startOdometer = 0;
};

TEST(EconomyCalculator, PartialFillsAreCarriedToTheNextFullFill) {
    // 4 + 6 gallons over 300 miles; 3 + 2 + 5; carried fuel is used up by the first full fill after it and
    // not counted again at the fill after that; no economy for a partial fill in L/100km either.
    const CDVItem p1150 = fill(1150, 4, "Gallons", 1);
    const LogCase cases[] = {
        {"one partial", {fill(1000, 8), p1150, fill(1300, 6)}, units::kMpg, {0, 0, 300.0 / 10}},
        {"two partials",
         {fill(1000, 8), fill(1100, 3, "Gallons", 1), fill(1200, 2, "Gallons", 1), fill(1300, 5)},
         units::kMpg,
         {0, 0, 0, 300.0 / 10}},
        {"partial first", {fill(900, 5, "Gallons", 1), fill(1000, 8), fill(1300, 10)}, units::kMpg, {0, 0, 30}},
        {"used up", {fill(1000, 8), p1150, fill(1300, 6), fill(1600, 10)}, units::kMpg, {0, 0, 30, 30}},
        {"L/100km", {fill(1000, 8), p1150, fill(1300, 6)}, units::kLitresPer100Km, {0, 0, 37.8541 / 4.828032}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto log = recalculated(c.entries, {0, units::kMiles, c.economyUnit});
        expectEconomies(log, c.expected);
        for (const auto& e : log) // partial fills get their cost and unit all the same
            EXPECT_EQ(e.EconomyUnit, c.economyUnit);
        EXPECT_DOUBLE_EQ(log[1].Cost, log[1].Quantity * 2.5);
    }
}

TEST(EconomyCalculator, ImplausibleResultsAreStoredAsZero) {
    const LogCase cases[] = {
        {"300 mi on 1.6 gallons is accepted", {fill(1000, 8), fill(1300, 1.6)}, units::kMpg, {0, 300.0 / 1.6}},
        {"300 mi on 1.4 gallons (214 MPG) is not", {fill(1000, 8), fill(1300, 1.4)}, units::kMpg, {0, 0}},
        {"negative quantity", {fill(1000, 8), fill(1300, -10)}, units::kMpg, {0, 0}},
        {"no fuel: infinite", {fill(1000, 8), fill(1300, 0)}, units::kMpg, {0, 0}},
        {"no fuel, no distance: not a number", {fill(1000, 8), fill(1000, 0)}, units::kKpl, {0, 0}},
        {"no distance in L/100km: infinite", {fill(1000, 8), fill(1000, 10)}, units::kLitresPer100Km, {0, 0}},
        {"an unknown economy unit", {fill(1000, 8), fill(1300, 10)}, 5, {0, 0}},
        // Distance is only measured from a full fill above zero: the next one counts as a first fill.
        {"a full fill under one mile starts the distance", {fill(0.5, 8), fill(300.5, 10)}, units::kMpg, {0, 30}},
        {"full fill at a negative odometer", {fill(-100, 8), fill(200, 10)}, units::kMpg, {0, 0}},
        // -1000 mi on -10 gallons would be 100 MPG, but the fill itself leaves the last
        // full odometer at 0.
        {"full fill at odometer 0 after a later one", {fill(1000, 8), fill(0, -10)}, units::kMpg, {0, 0}},
        // The start odometer does not move the distance: 3900 mi on 10 gallons is 390 MPG.
        {"start odometer above the first fills",
         {fill(1000, 8), fill(1300, 10), fill(5200, 10), fill(5500, 10)},
         units::kMpg,
         {0, 300.0 / 10, 0, 300.0 / 10},
         5000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectEconomies(recalculated(c.entries, {c.startOdometer, units::kMiles, c.economyUnit}), c.expected);
    }
}

TEST(EconomyCalculator, KilometreVehicleWithMixedEntries) {
    CDVItem repair;
    repair.EntryType = CDVItem::Repair, repair.Odometer = 1600, repair.DistanceUnit = 7;
    const auto log = recalculated({kmFill(1000, 40, units::kKilometres), kmFill(1500, 40, units::kKilometres),
                                   kmFill(1000, 30, units::kMiles), repair, kmFill(1700, 10, 7)},
                                  {0, units::kKilometres, units::kKpl});
    // 1000 miles is 1609.344 km; unit 7 is taken as the vehicle's kilometres.
    expectEconomies(log, {0, 500.0 / 40, (1609.344 - 1500) / 30, 0, (1700 - 1609.344) / 10});
    // Only fuel entries are fixed.
    EXPECT_EQ(std::tuple(log[2].DistanceUnit, log[3].DistanceUnit, log[4].DistanceUnit),
              std::tuple(units::kMiles, 7, units::kKilometres));
}

TEST(EconomyCalculator, UnknownDistanceUnitTakesTheMileVehiclesUnit) {
    for (int unknown : {-1, 2, 7}) {
        const auto log = recalculated({fill(1000, 8), kmFill(1300, 37.8541, unknown)}, {0, units::kMiles, units::kMpg});
        EXPECT_EQ(log[1].DistanceUnit, units::kMiles) << unknown;
        EXPECT_NEAR(log[1].Economy, 300.0 / 10, kTolerance) << unknown;
    }
}

TEST(EconomyCalculator, RepairsAndTripsInBetween) {
    CDVItem repair = fill(1100, 3);
    repair.EntryType = CDVItem::Repair;
    CDVItem trip = repair;
    trip.EntryType = CDVItem::Trip;
    trip.Odometer = 1200;
    const auto log = recalculated({fill(1000, 8), repair, trip, fill(1300, 10)}, {0, units::kMiles, units::kMpg});
    EXPECT_NEAR(log[3].Economy, 300.0 / 10, kTolerance); // as without the two entries between
    EXPECT_EQ(log[1], repair);
    trip.Quantity = trip.UnitPrice = 0; // the trip dialog's distance claim is cleared; the rest stays
    EXPECT_EQ(log[2], trip);
}

TEST(EconomyCalculator, RunningTwiceGivesTheSameLog) {
    const Settings vehicle{0, units::kMiles, units::kMpl};
    const auto first =
        recalculated({fill(900, 5, "Gallons", 1), fill(1000, 8), fill(1150, 4, "Gallons", 1), fill(1300, 6)}, vehicle);
    expectEconomies(first, {0, 0, 0, 300.0 / 37.8541});
    EXPECT_EQ(recalculated(first, vehicle), first);
}

} // namespace
