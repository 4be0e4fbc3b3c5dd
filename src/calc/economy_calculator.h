#pragma once
// CEconomyCalculator recomputes the fuel economy of every fill-up in a vehicle's log. It
// runs over the entries in list order (ascending odometer) and rewrites the records in
// place; the caller saves the log and refreshes the view afterwards, as after any change.
//
// What one run does: trip entries lose their fuel quantity and price. Each fuel entry's
// quantity is turned into litres by its measure and its odometer into kilometres by its own
// distance unit (an entry with an unknown distance unit takes the vehicle's). A partial
// fill ("not filling the tank") gets no economy; its fuel is carried forward and added to
// the next full fill. A full fill's economy covers the distance since the previous full
// fill with the fuel bought since then, in the vehicle's economy unit, so the first full
// fill of the log has 0. Every fuel entry also gets its Cost (unit price times quantity)
// and the vehicle's economy unit code. Results above 200, below 0 or not a number are
// stored as 0, being the sign of a mistyped quantity or odometer. Repair entries are not
// changed and do not affect anyone's economy.
//
// The arithmetic is done in a fixed order with the factors of units.h, so that the same
// log always gives the same digits each time and in hand checks.

#include "store/vehicle_log_doc.h"

class CEconomyCalculator {
public:
    // The vehicle's part in the computation, from its registry section.
    struct Settings {
        double startOdometer = 0;
        int distanceUnit = 0; // units::DistanceUnitCode
        int economyUnit = 0;  // units::EconomyUnitCode
    };

    // Recomputes Economy, EconomyUnit and Cost of every fuel entry, fixes unknown distance
    // units of fuel entries and clears Quantity and UnitPrice of trips. Does not save.
    static void recalculate(CVehicleLogDoc& doc, const Settings& vehicle);
};
