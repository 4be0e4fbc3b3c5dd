#include "calc/units.h"

#include <cstdio>
#include <limits>

namespace units {

namespace {

bool beginsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

bool isUsGallonMeasure(std::string_view measure) {
    return beginsWith(measure, "Gallons");
}

bool isImperialGallonMeasure(std::string_view measure) {
    return beginsWith(measure, "Imp");
}

bool isLitreMeasure(std::string_view measure) {
    return beginsWith(measure, "Li");
}

bool isSpelledLitreMeasure(std::string_view measure) {
    return beginsWith(measure, "Lit");
}

double litresOf(std::string_view measure, double quantity) {
    if (isUsGallonMeasure(measure))
        return quantity * kLitresPerUsGallon;
    if (isImperialGallonMeasure(measure))
        return quantity * kLitresPerImperialGallon;
    if (isLitreMeasure(measure))
        return quantity;
    return 0;
}

double kilometresOf(double odometer, int distanceUnit) {
    return distanceUnit == kKilometres ? odometer : odometer * kKilometresPerMile;
}

const char* economyUnitName(int economyUnit) {
    switch (economyUnit) {
    case kMpl:
        return "MPL";
    case kLitresPer100Km:
        return "L/100km";
    case kMpgImperial:
        return "MPGi";
    default:
        return economyUnit <= kMpg ? "MPG" : "KPL";
    }
}

std::string economyText(double economy, double economyUnit) {
    const char* format = "%-3.2f KPL";
    if (economyUnit <= 0)
        format = "%-3.2f MPG";
    else if (economyUnit == 1)
        format = "%-3.2f MPL";
    else if (economyUnit == 2)
        format = "%-3.2f L/100km";
    else if (economyUnit == 3)
        format = "%-3.2f MPGi";

    // "%f" of a huge value runs to hundreds of digits, so size the buffer from a dry run.
    const int length = std::snprintf(nullptr, 0, format, economy);
    if (length <= 0)
        return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, economy);
    return text;
}

std::int32_t fuelDistance(double odometer, double previousFuelOdometer) {
    const double difference = odometer - previousFuelOdometer;
    if (!(difference > 0)) // also NaN
        return 0;
    constexpr double kLargest = std::numeric_limits<std::int32_t>::max();
    if (difference >= kLargest)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(difference); // truncates toward zero
}

} // namespace units
