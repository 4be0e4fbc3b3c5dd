#include "calc/performance_watch.h"

#include <array>
#include <cmath>

namespace {

using State = CPerformanceWatch::State;
using Image = CPerformanceWatch::Image;

constexpr int kMinimumQualifyingFills = 3;
constexpr double kBandFactor = 0.1;

// The verdict for a margin by which the latest fill beats the average (positive: better),
// with the band t: margin >= t Excellent, 0 <= margin < t Good, -t < margin < 0 Fair, else Poor.
State verdict(double margin, double band) {
    if (margin >= band)
        return State::Excellent;
    if (margin >= 0)
        return State::Good;
    if (margin > -band)
        return State::Fair;
    return State::Poor;
}

// The texts are kept word for word as earlier releases showed them, misspellings and the two
// blanks in the FAIR tooltip included.
constexpr std::array<CPerformanceWatch::Display, 7> kDisplays = {{
    {State::Startup, Image::Off, false, "Monitoring", "Performance Watch\nMonitoring changes in performance"},
    {State::Off, Image::Off, false, "Performance Watch Off", "Performance Watch Off. Under Construction"},
    {State::NotEnoughData, Image::Off, false, "Not enough data", "Not enough data to calculate performance"},
    {State::Good, Image::Good, true, "Performance Good! Your fuel economy is good, nothing to suggest",
     "Performance GOOD. Nothing to suggest."},
    {State::Excellent, Image::Good, true,
     "Performance EXCELLENT! Your fuel economy is very high, take note of the fuel you are using, driving habits and "
     "other factors that contribute to better fuel economy.",
     "Performance EXCELLENT!. Your fuel consumption has decreased."},
    {State::Fair, Image::Fair, true,
     "Performance fair.  Your fuel consumption is up slightly, this can be from pulling a trailer, poor weather, "
     "off-road driving, or an indication that you have a mechanicle problem such as low tire pressure or a dirty air "
     "filter.",
     "Performance FAIR. Ecomomy dropping, may be weather or load."},
    {State::Poor, Image::Poor, true,
     "Performance Poor, Poor performance can be caused by an electronic sensor failure, mechanical fault, extreem "
     "driving conditions, very low tire pressures, poor fuel, blocked air filter. Attention is needed!",
     "Performance POOR. Your current fuel consumption is very high."},
}};

} // namespace

CPerformanceWatch::State CPerformanceWatch::evaluate(const PerformanceInputs& inputs, int economyUnit,
                                                     int distanceUnit) {
    const double average = inputs.average();
    const double current = inputs.current;
    // No fuel in range makes the average a division by 0: infinite or NaN, never a verdict.
    if (inputs.qualifying < kMinimumQualifyingFills || !(current > 0) || !(average > 0) || !std::isfinite(average) ||
        !std::isfinite(current))
        return State::NotEnoughData;

    if (economyUnit == units::kLitresPer100Km) {
        // The average is a distance per fuel quantity while the current value is litres per
        // 100 km; compare like with like, taking the quantities as litres.
        const double averageLitresPer100Km = 100.0 / units::kilometresOf(average, distanceUnit);
        return verdict(averageLitresPer100Km - current, kBandFactor * averageLitresPer100Km);
    }
    return verdict(current - average, kBandFactor * average);
}

CPerformanceWatch::Display CPerformanceWatch::display(State state) {
    for (const Display& shown : kDisplays)
        if (shown.state == state)
            return shown;
    return kDisplays[0];
}
