#include "store/dv_item.h"

#include "store/archive.h"

void CDVItem::serialize(CArchive& ar) {
    ar.io(Icon);
    ar.io(EntryType);
    ar.io(Odometer);
    ar.io(Date);
    ar.io(EconomyUnit);
    ar.io(DistanceUnit);
    ar.io(Note);
    ar.io(Measure);
    ar.io(Station);
    ar.io(Invoice);
    ar.io(Purpose);
    ar.io(Destination);
    ar.io(Contact);
    ar.io(Entry);
    ar.io(DepartTime);
    ar.io(ArriveTime);
    ar.io(SpareTime);
    ar.io(CellTemp);
    ar.io(Reserved1);
    ar.io(FuelDistance);
    ar.io(Reserved2);
    ar.io(PartialFill);
    ar.io(DisplayPos);
    ar.io(Cost);
    ar.io(Quantity);
    ar.io(UnitPrice);
    ar.io(EndOdometer);
    ar.io(Economy);
    ar.io(Parking);
}

const char* CDVItem::typeLabel(std::int32_t entryType) {
    switch (entryType) {
    case Fuel:
        return "Fuel";
    case Repair:
        return "Maint.";
    case Trip:
        return "Trip";
    default:
        return "";
    }
}

const std::array<DVField, 29>& dvItemFields() {
    static const std::array<DVField, 29> fields = {{
        {"Icon", &CDVItem::Icon},
        {"EntryType", &CDVItem::EntryType},
        {"Odometer", &CDVItem::Odometer},
        {"Date", &CDVItem::Date},
        {"EconomyUnit", &CDVItem::EconomyUnit},
        {"DistanceUnit", &CDVItem::DistanceUnit},
        {"Note", &CDVItem::Note},
        {"Measure", &CDVItem::Measure},
        {"Station", &CDVItem::Station},
        {"Invoice", &CDVItem::Invoice},
        {"Purpose", &CDVItem::Purpose},
        {"Destination", &CDVItem::Destination},
        {"Contact", &CDVItem::Contact},
        {"Entry", &CDVItem::Entry},
        {"DepartTime", &CDVItem::DepartTime},
        {"ArriveTime", &CDVItem::ArriveTime},
        {"SpareTime", &CDVItem::SpareTime},
        {"CellTemp", &CDVItem::CellTemp},
        {"Reserved1", &CDVItem::Reserved1},
        {"FuelDistance", &CDVItem::FuelDistance},
        {"Reserved2", &CDVItem::Reserved2},
        {"PartialFill", &CDVItem::PartialFill},
        {"DisplayPos", &CDVItem::DisplayPos},
        {"Cost", &CDVItem::Cost},
        {"Quantity", &CDVItem::Quantity},
        {"UnitPrice", &CDVItem::UnitPrice},
        {"EndOdometer", &CDVItem::EndOdometer},
        {"Economy", &CDVItem::Economy},
        {"Parking", &CDVItem::Parking},
    }};
    return fields;
}
