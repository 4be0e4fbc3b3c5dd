#include "calc/economy_calculator.h"

#include "calc/units.h"

#include <string_view>

namespace {

// The economy of one full fill in the vehicle's economy unit; 0 for an unknown unit, or
// for MPG when the measure names neither US gallons, litres nor imperial gallons.
double economyIn(int economyUnit, std::string_view measure, double distanceKm, double litres) {
    using namespace units;
    switch (economyUnit) {
    case kMpg:
        // MPG follows the measure: imperial gallons give miles per imperial gallon.
        if (isUsGallonMeasure(measure) || isSpelledLitreMeasure(measure))
            return (distanceKm * kMilesPerKilometre) / (litres * kUsGallonsPerLitre);
        if (isImperialGallonMeasure(measure))
            return (distanceKm * kMilesPerKilometre) / (litres * kImperialGallonsPerLitre);
        return 0;
    case kMpl:
        return (distanceKm * kMilesPerKilometre) / litres;
    case kLitresPer100Km:
        return litres / (distanceKm / 100);
    case kMpgImperial:
        return (distanceKm * kMilesPerKilometre) / (litres * kImperialGallonsPerLitre);
    case kKpl:
        return distanceKm / litres;
    default:
        return 0;
    }
}

bool acceptable(double economy) {
    // Written as a range test so that NaN, which fails every comparison, is refused too.
    return economy >= 0 && economy <= units::kMaxEconomy;
}

} // namespace

void CEconomyCalculator::recalculate(CVehicleLogDoc& doc, const Settings& vehicle) {
    double lastFullKm = 0;
    double carriedLitres = 0;
    double highestFullOdometer = vehicle.startOdometer;

    for (std::size_t i = 0; i < doc.size(); ++i) {
        CDVItem& entry = doc.at(i);

        if (entry.EntryType == CDVItem::Trip) {
            entry.Quantity = 0;
            entry.UnitPrice = 0;
        }

        // Any entry type moves this mark, trips and repairs included.
        if (entry.Odometer >= highestFullOdometer && entry.PartialFill < 1)
            highestFullOdometer = entry.Odometer;

        if (entry.EntryType != CDVItem::Fuel)
            continue;

        double litres = units::litresOf(entry.Measure, entry.Quantity);

        if (entry.DistanceUnit != units::kMiles && entry.DistanceUnit != units::kKilometres)
            entry.DistanceUnit = vehicle.distanceUnit;
        const double odometerKm = units::kilometresOf(entry.Odometer, entry.DistanceUnit);

        if (entry.PartialFill == 1) {
            carriedLitres += litres;
            litres = 0;
        } else {
            litres += carriedLitres;
            carriedLitres = 0;
        }

        if (lastFullKm < 0)
            lastFullKm = 0;

        double economy = 0;
        if (lastFullKm > 0)
            economy = economyIn(vehicle.economyUnit, entry.Measure, odometerKm - lastFullKm, litres);

        entry.Cost = entry.UnitPrice * entry.Quantity;
        entry.EconomyUnit = vehicle.economyUnit;

        if (entry.PartialFill < 1)
            lastFullKm = odometerKm;

        entry.Economy = economy;
        if (!acceptable(economy) || highestFullOdometer == 0 || lastFullKm == 0)
            entry.Economy = 0;
    }
}
