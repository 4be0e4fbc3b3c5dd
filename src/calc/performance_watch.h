#pragma once
// CPerformanceWatch turns the inputs that a view refresh gathers (PerformanceInputs: the
// economy of the latest full fill and the average distance per fuel quantity over the
// entries in range) into a verdict, and the verdict into what the main window shows: the
// stoplight image, whether the stoplight is enabled, its tooltip (the long text) and the
// one-line text beside it, which also goes to status bar pane 0. The window keeps the
// inputs and calls evaluate() and display() again whenever it is painted.
//
// The verdict compares the latest economy with the average, with a band of ten per cent
// of the average around it. For the distance-per-fuel measures (MPG, MPL, MPGi, KPL) a
// higher economy is better. For L/100km the average is first turned into litres per
// 100 km, and a lower consumption is better; see evaluate().

#include "calc/refresh_totals.h"
#include "calc/units.h"

class CPerformanceWatch {
public:
    enum class State { Startup, Off, NotEnoughData, Good, Excellent, Fair, Poor };
    enum class Image { Off, Poor, Fair, Good };

    struct Display {
        State state;
        Image image;
        bool enabled;          // the stoplight is enabled only while it shows a verdict
        const char* longText;  // tooltip of the stoplight
        const char* shortText; // beside the stoplight and in status bar pane 0
    };

    // The verdict. Needs at least three qualifying fills and a current economy and an
    // average above 0 (and finite), else NotEnoughData. `economyUnit` is the vehicle's
    // units::EconomyUnitCode.
    //
    // For units::kLitresPer100Km the average, a distance per fuel quantity as stored, is
    // read as the vehicle's distance unit (`distanceUnit`, a units::DistanceUnitCode) per
    // litre, the measure such logs are kept in, and converted to litres per 100 km:
    // 100 / average for kilometres, 100 / (average x 1.609344) for miles. With
    // d = average in L/100km - current and t = 0.1 x average in L/100km: d >= t Excellent,
    // 0 <= d < t Good, -t < d < 0 Fair, d <= -t Poor. The other measures ignore `distanceUnit`.
    static State evaluate(const PerformanceInputs& inputs, int economyUnit, int distanceUnit = units::kKilometres);

    // Image, enabled state and texts for a state.
    static Display display(State state);
};
