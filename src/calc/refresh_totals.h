#pragma once
// What a view refresh gathers over the entries the date range lets through: the running
// totals shown on the running-cost page and in reports, and the inputs of the
// performance watch.

struct RefreshTotals {
    int fuelCount = 0;
    double fuelQuantity = 0;
    double fuelCost = 0; // sum of UnitPrice x Quantity
    int repairCount = 0;
    double repairCost = 0;
    int tripCount = 0;
    double tripExpenses = 0; // tolls (Cost) + Parking
    double totalExpenses = 0;
    double latestOdometer = 0;
    double distance = 0; // latest odometer - odometer of the first row shown (0 when none)
    int entryCount = 0;  // every entry of the vehicle, in range or not
};

struct PerformanceInputs {
    int qualifying = 0;       // in-range fuel entries with Economy > 0 and PartialFill 0
    double current = 0;       // Economy of the last of them
    double firstOdometer = 0; // Odometer of the first in-range entry of any type
    double lastOdometer = 0;  // Odometer of the last in-range entry of any type
    double totalFuel = 0;     // Quantity summed over in-range fuel entries, partial fills included

    // (last - first) / total fuel, as stored (no unit conversion).
    double average() const { return (lastOdometer - firstOdometer) / totalFuel; }
};
