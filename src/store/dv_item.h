#pragma once
// CDVItem is one entry of a vehicle's log: a fuel purchase (EntryType 0), a repair or
// maintenance job (1) or a trip (2). The 29 fields below are in file order; the data
// file stores them in exactly this order (see CArchive and CVehicleLogDoc), and
// dvItemFields() describes them by name for the JSON form of the command-line tool.
// Times are seconds since 1970-01-01 00:00:00 UTC, 0 meaning none. A log holds many
// entries, so the texts are compact CDVTexts (16 bytes each) rather than std::strings.

#include "store/dv_text.h"

#include <array>
#include <cstdint>
#include <variant>

using DVTime = std::int64_t;

class CArchive;

class CDVItem {
public:
    enum Type : std::int32_t { Fuel = 0, Repair = 1, Trip = 2 };

    std::int32_t Icon = 0;
    std::int32_t EntryType = 0;
    double Odometer = 0;
    DVTime Date = 0;
    double EconomyUnit = 0;
    std::int32_t DistanceUnit = 0;
    CDVText Note;
    CDVText Measure;
    CDVText Station;
    CDVText Invoice;
    CDVText Purpose;
    CDVText Destination;
    CDVText Contact;
    CDVText Entry;
    DVTime DepartTime = 0;
    DVTime ArriveTime = 0;
    DVTime SpareTime = 0;
    std::int32_t CellTemp = 0;
    std::int32_t Reserved1 = 0;
    std::int32_t FuelDistance = 0;
    std::int32_t Reserved2 = 0;
    std::int32_t PartialFill = 0;
    std::int32_t DisplayPos = 0;
    double Cost = 0;
    double Quantity = 0;
    double UnitPrice = 0;
    double EndOdometer = 0;
    double Economy = 0;
    double Parking = 0;

    // The fuel and repair add commands drop a record whose odometer stayed below 1.
    bool hasOdometer() const { return Odometer >= 1.0; }

    // Writes or reads the 29 fields in file order, by the archive's direction.
    // Storing leaves the record unchanged.
    void serialize(CArchive& ar);

    // "Fuel", "Maint." or "Trip"; "" for an unknown type.
    static const char* typeLabel(std::int32_t entryType);

    bool operator==(const CDVItem&) const = default;
};

// One field of CDVItem by name; the member pointer's type tells the field's kind.
struct DVField {
    const char* name;
    std::variant<std::int32_t CDVItem::*, double CDVItem::*, CDVText CDVItem::*, DVTime CDVItem::*> member;
};

// The 29 fields in file order.
const std::array<DVField, 29>& dvItemFields();
