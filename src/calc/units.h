#pragma once
// Unit codes, conversion factors and economy texts shared by every computation and view
// of the log. A vehicle keeps its distance, economy and liquid units as the small integer
// codes below (in the vehicle registry); each log entry carries the distance unit its
// odometer was read in and the economy unit its Economy was last computed in. A fuel
// entry names its measure as free text ("Gallons", "Imp. Gallons", "Litres" from the fuel
// dialog, anything from a CSV import); the measure tests here look only at how that text
// begins, case-sensitively, so "Imp. Gallons" is imperial and "gallons" is no unit at all.

#include <cstdint>
#include <string>
#include <string_view>

namespace units {

enum DistanceUnitCode : int { kMiles = 0, kKilometres = 1 };
enum EconomyUnitCode : int { kMpg = 0, kMpl = 1, kLitresPer100Km = 2, kMpgImperial = 3, kKpl = 4 };
enum LiquidCode : int { kUsGallons = 0, kImperialGallons = 1, kLitres = 2 };

// The exact factors. Stored economies were computed with these, so keep them as they are.
inline constexpr double kLitresPerUsGallon = 3.78541;
inline constexpr double kLitresPerImperialGallon = 4.54609;
inline constexpr double kKilometresPerMile = 1.609344;
inline constexpr double kMilesPerKilometre = 0.62137119223;
inline constexpr double kUsGallonsPerLitre = 0.26417217685;
inline constexpr double kImperialGallonsPerLitre = 0.21996924829;
// Economies above this are taken as entry mistakes and stored as 0.
inline constexpr double kMaxEconomy = 200.0;

// Measure begins with "Gallons".
bool isUsGallonMeasure(std::string_view measure);
// Measure begins with "Imp".
bool isImperialGallonMeasure(std::string_view measure);
// Measure begins with "Li": counts as litres when converting a quantity.
bool isLitreMeasure(std::string_view measure);
// Measure begins with "Lit": the stricter test the MPG economy uses to pick US gallons.
bool isSpelledLitreMeasure(std::string_view measure);

// The quantity in litres, by the measure's first letters; 0 for a measure naming no unit.
double litresOf(std::string_view measure, double quantity);

// An odometer reading in kilometres: as it is for kKilometres, converted from miles otherwise.
double kilometresOf(double odometer, int distanceUnit);

// Short label of an economy unit code: "MPG", "MPL", "L/100km", "MPGi", "KPL".
// Codes below 0 read as MPG and codes above 4 as KPL, as the economy text does.
const char* economyUnitName(int economyUnit);

// An entry's economy with the unit it was computed in, e.g. "30.00 MPG". The unit is the
// entry's EconomyUnit, a real: 0 or less is MPG, 1 MPL, 2 L/100km, 3 MPGi, and anything
// else (4 and above, or a code between the whole numbers) KPL.
std::string economyText(double economy, double economyUnit);

// Whole distance since the previous fuel purchase, both readings raw; 0 when not positive.
std::int32_t fuelDistance(double odometer, double previousFuelOdometer);

} // namespace units
