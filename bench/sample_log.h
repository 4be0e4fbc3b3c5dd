#pragma once
// The log the benchmarks work on: deterministic, and shaped like the logs people keep.

#include "store/vehicle_log_doc.h"

#include <array>
#include <memory>
#include <string>

// A log as people keep it: mostly fuel purchases, some services, a few trips, short texts.
inline void fillLog(CVehicleLogDoc& doc, int count) {
    static const std::array<const char*, 6> stations = {"Shell", "BP Ringstrasse", "Esso", "Total", "Jet", "OMV"};
    static const std::array<const char*, 4> services = {"Oil change", "Tyres", "Brake pads", "Annual check"};
    static const std::array<const char*, 3> places = {"Caf\xC3\xA9 Central", "Brno office", "Airport"};
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    double odometer = 10000;
    for (int i = 0; i < count; ++i) {
        auto r = std::make_unique<CDVItem>();
        odometer += 50 + next() % 400;
        r->Odometer = odometer;
        r->Date = 1600000000 + static_cast<DVTime>(i) * 86400;
        r->DisplayPos = i + 1;
        const unsigned kind = next() % 20;
        if (kind < 13) {
            r->EntryType = CDVItem::Fuel;
            r->Measure = "Litres";
            r->Station = stations[next() % stations.size()];
            r->Invoice = "INV-" + std::to_string(next());
            r->Entry = "Fuel";
            r->Quantity = 30 + (next() % 300) / 10.0;
            r->UnitPrice = 1.4 + (next() % 50) / 100.0;
            r->Cost = r->Quantity * r->UnitPrice;
            r->DistanceUnit = 1;
            r->FuelDistance = 300 + static_cast<int>(next() % 400);
            r->Economy = 5 + (next() % 40) / 10.0;
            r->EconomyUnit = 2;
        } else if (kind < 18) {
            r->EntryType = CDVItem::Repair;
            r->Icon = 1;
            r->Entry = services[next() % services.size()];
            r->Station = "Autoservis Novak";
            r->Note = "checked";
            r->Cost = 80 + next() % 400;
        } else {
            r->EntryType = CDVItem::Trip;
            r->Icon = 19;
            r->Entry = "Trip";
            r->Purpose = "Client visit";
            r->Destination = places[next() % places.size()];
            r->Contact = "J. Svoboda";
            r->DepartTime = r->Date + 8 * 3600;
            r->ArriveTime = r->Date + 10 * 3600;
            r->EndOdometer = odometer + 120;
            r->Parking = 4;
        }
        doc.append(std::move(r));
    }
}
