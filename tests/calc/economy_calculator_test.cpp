#include "calc/economy_calculator.h"

#include "calc/units.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A value no step produces, so a field left as it was shows up.
constexpr double kStale = 55.5;
constexpr int kMpg = units::kMpg, kKpl = units::kKpl, kL100 = units::kLitresPer100Km;

CDVItem fill(double odometer, double quantity, std::string measure = "Gallons", int partial = 0, int distanceUnit = 0) {
    CDVItem e;
    e.EntryType = CDVItem::Fuel, e.Odometer = odometer, e.Quantity = quantity, e.Measure = std::move(measure);
    e.PartialFill = partial, e.DistanceUnit = distanceUnit, e.UnitPrice = 2.5, e.Cost = e.Economy = kStale;
    e.EconomyUnit = kStale;
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

void expectEconomies(const std::vector<CDVItem>& entries, const std::vector<double>& expected) {
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(entries[i].Economy, expected[i], 1e-8) << "entry " << i;
}

// Full fills at 1000 mi and 1300 mi, the second of 10 US gallons: 300 mi = 482.8032 km and
// 10 US gallons = 37.8541 L. The first full fill of a log has no economy; MPG follows the
// measure (imperial gallons give miles per imperial gallon), and "Li" counts as litres but not for MPG.
TEST(EconomyCalculator, SecondFillInEveryUnitAndMeasure) {
    // clang-format off
    const std::tuple<int, const char*, double, double, const char*> cases[] = {
        {kMpg, "Gallons", 10, 30, "30.00 MPG"}, {units::kMpl, "Gallons", 10, 300.0 / 37.8541, "7.93 MPL"},
        {kL100, "Gallons", 10, 37.8541 / 4.828032, "7.84 L/100km"}, {kKpl, "Gallons", 10, 482.8032 / 37.8541, "12.75 KPL"},
        {units::kMpgImperial, "Gallons", 10, 300.0 / (37.8541 / 4.54609), "36.03 MPGi"},
        {kMpg, "Imp. Gallons", 10, 30, "30.00 MPG"}, {kMpg, "Litres", 40, 300.0 / (40 / 3.78541), "28.39 MPG"},
        {kMpg, "Liquid", 40, 0, "0.00 MPG"}, {kKpl, "Liquid", 40, 482.8032 / 40, "12.07 KPL"},
        {kMpg, "gallons", 10, 0, "0.00 MPG"}, {kKpl, "", 10, 0, "0.00 KPL"}};
    // clang-format on
    for (const auto& [economyUnit, measure, quantity, expected, text] : cases) {
        SCOPED_TRACE(std::string(measure) + " " + text);
        const auto log = recalculated({fill(1000, 8), fill(1300, quantity, measure)}, {0, units::kMiles, economyUnit});
        expectEconomies(log, {0, expected});
        EXPECT_EQ(units::economyText(log[1].Economy, log[1].EconomyUnit), text);
        // Cost is price times quantity in the entry's own measure, whatever unit the measure names.
        EXPECT_EQ(std::tuple(log[0].EconomyUnit, log[0].Cost, log[1].Cost),
                  std::tuple(economyUnit, 20.0, quantity * 2.5));
    }
}

struct LogCase {
    const char* name;
    std::vector<CDVItem> entries;
    int economyUnit;
    std::vector<double> expected;
    double startOdometer = 0;
};

// Partial fills carry their fuel to the next full fill, which uses it up. Implausible results
// (over 200, infinite, not a number, an unknown unit) are stored as 0. Distance is measured only
// from a full fill above zero.
TEST(EconomyCalculator, PartialFillsAndImplausibleResults) {
    const CDVItem p1150 = fill(1150, 4, "Gallons", 1);
    // clang-format off
    const LogCase cases[] = {
        {"one partial", {fill(1000, 8), p1150, fill(1300, 6)}, kMpg, {0, 0, 300.0 / 10}},
        {"partial first", {fill(900, 5, "Gallons", 1), fill(1000, 8), fill(1300, 10)}, kMpg, {0, 0, 30}},
        {"used up", {fill(1000, 8), p1150, fill(1300, 6), fill(1600, 10)}, kMpg, {0, 0, 30, 30}},
        {"partial in L/100km", {fill(1000, 8), p1150, fill(1300, 6)}, kL100, {0, 0, 37.8541 / 4.828032}},
        {"187.5 MPG", {fill(1000, 8), fill(1300, 1.6)}, kMpg, {0, 300.0 / 1.6}},
        {"214 MPG", {fill(1000, 8), fill(1300, 1.4)}, kMpg, {0, 0}},
        {"negative quantity", {fill(1000, 8), fill(1300, -10)}, kMpg, {0, 0}},
        {"no fuel", {fill(1000, 8), fill(1300, 0)}, kMpg, {0, 0}},
        {"no fuel, no distance", {fill(1000, 8), fill(1000, 0)}, kKpl, {0, 0}},
        {"no distance in L/100km", {fill(1000, 8), fill(1000, 10)}, kL100, {0, 0}},
        {"unknown economy unit", {fill(1000, 8), fill(1300, 10)}, 5, {0, 0}},
        {"first fill under one mile", {fill(0.5, 8), fill(300.5, 10)}, kMpg, {0, 30}},
        {"first fill below zero", {fill(-100, 8), fill(200, 10)}, kMpg, {0, 0}},
        // -1000 mi on -10 gallons would be 100 MPG, but the fill itself leaves the last full odometer at 0.
        {"full fill at 0 after a later one", {fill(1000, 8), fill(0, -10)}, kMpg, {0, 0}},
        // The start odometer does not move the distance: 3900 mi on 10 gallons is 390 MPG.
        {"start odometer above the first fills", {fill(1000, 8), fill(1300, 10), fill(5200, 10), fill(5500, 10)},
         kMpg, {0, 30, 0, 30}, 5000}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto log = recalculated(c.entries, {c.startOdometer, units::kMiles, c.economyUnit});
        expectEconomies(log, c.expected);
        for (const auto& e : log) // partial fills get their cost and unit all the same
            EXPECT_EQ(std::pair(e.EconomyUnit, e.Cost), std::pair(double(c.economyUnit), e.Quantity * 2.5));
    }
}

// 1000 miles is 1609.344 km; a unit neither miles nor kilometres is taken as the vehicle's, and
// only fuel entries are fixed.
TEST(EconomyCalculator, DistanceUnitsOfTheEntries) {
    CDVItem repair;
    repair.EntryType = CDVItem::Repair, repair.Odometer = 1600, repair.DistanceUnit = 7;
    const auto km =
        recalculated({fill(1000, 40, "Litres", 0, units::kKilometres), fill(1500, 40, "Litres", 0, units::kKilometres),
                      fill(1000, 30, "Litres", 0, units::kMiles), repair, fill(1700, 10, "Litres", 0, 7)},
                     {0, units::kKilometres, kKpl});
    expectEconomies(km, {0, 500.0 / 40, (1609.344 - 1500) / 30, 0, (1700 - 1609.344) / 10});
    EXPECT_EQ(std::tuple(km[2].DistanceUnit, km[3].DistanceUnit, km[4].DistanceUnit),
              std::tuple(units::kMiles, 7, units::kKilometres));
    for (int unknown : {-1, 2}) {
        const auto mi = recalculated({fill(1000, 8), fill(1300, 10, "Gallons", 0, unknown)}, {0, units::kMiles, kMpg});
        EXPECT_EQ(mi[1].DistanceUnit, units::kMiles) << unknown;
        EXPECT_NEAR(mi[1].Economy, 30.0, 1e-8) << unknown;
    }
}

TEST(EconomyCalculator, RepairsAndTripsInBetweenAndASecondRun) {
    CDVItem repair = fill(1100, 3);
    repair.EntryType = CDVItem::Repair;
    CDVItem trip = repair;
    trip.EntryType = CDVItem::Trip, trip.Odometer = 1200;
    const CEconomyCalculator::Settings vehicle{0, units::kMiles, units::kMpl};
    const auto log = recalculated({fill(1000, 8), repair, trip, fill(1300, 10)}, vehicle);
    EXPECT_NEAR(log[3].Economy, 300.0 / 37.8541, 1e-8); // as without the two entries between
    EXPECT_EQ(log[1], repair);
    trip.Quantity = trip.UnitPrice = 0; // the trip dialog's distance claim is cleared; the rest stays
    EXPECT_EQ(log[2], trip);
    EXPECT_EQ(recalculated(log, vehicle), log);
}

} // namespace
