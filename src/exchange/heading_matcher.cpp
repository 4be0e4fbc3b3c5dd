#include "exchange/heading_matcher.h"

#include "store/text_codec.h"

#include <cctype>
#include <initializer_list>
#include <utility>

namespace {

using Words = std::initializer_list<const char*>;

// The words of other programs and spreadsheets, after normalized(); the field's own name is
// matched besides these.
const std::pair<int, Words> kUsualWords[] = {
    {CColumnMap::EntryType, {"type", "entry type", "category", "kind", "entry", "description"}},
    {CColumnMap::Odometer,
     {"odometer", "odo", "mileage", "km", "kms", "miles", "kilometers", "kilometres", "reading", "odometer reading",
      "mileage reading", "km reading", "miles reading"}},
    {CColumnMap::Date,
     {"date", "fuelup date", "fuel up date", "fillup date", "fill up date", "refuel date", "date time", "datetime"}},
    {CColumnMap::Station,
     {"station", "brand", "location", "gas station", "fuel station", "petrol station", "station name", "facility",
      "vendor"}},
    {CColumnMap::FuelQty, {"quantity", "fuel quantity", "qty", "gallons", "litres", "liters", "volume", "fuel volume"}},
    {CColumnMap::FuelPrice,
     {"price", "unit price", "price per unit", "price per gallon", "price per litre", "price per liter", "price gallon",
      "price litre", "price liter", "cost per unit", "cost per gallon", "cost per litre", "cost per liter"}},
    {CColumnMap::Economy, {"economy", "fuel economy", "mpg"}},
    {CColumnMap::FuelCost, {"cost", "total", "total cost", "total price", "total amount", "fuel cost"}},
    {CColumnMap::EndOdo, {"end mileage", "end odometer"}},
    {CColumnMap::DepartDate, {"depart date time"}},
    {CColumnMap::ArriveDate, {"arrive date time"}},
    {CColumnMap::TollsMaint, {"tolls", "repairs tolls"}},
    {CColumnMap::Parking, {"parking expenses"}},
    {CColumnMap::Notes, {"notes", "note", "comments", "comment", "remarks"}},
    {CColumnMap::PartialFill,
     {"partial", "partial fill", "partial fill up", "partial fillup", "partial fuelup", "partial fuel up",
      "partial refuel"}},
};

} // namespace

std::string CHeadingMatcher::normalized(std::string_view heading) {
    std::string out;
    int depth = 0;
    bool gap = false;
    for (const char c : heading) {
        depth += c == '(' || c == '[' ? 1 : c == ')' || c == ']' ? (depth > 0 ? -1 : 0) : 0;
        if (depth > 0 || c == ')' || c == ']')
            continue;
        // Bytes of non-ASCII letters are kept: "Kilométrage" is a word, not a gap.
        if (std::isalnum(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80) {
            if (gap && !out.empty())
                out += ' ';
            out += odrivo::asciiLower(c);
            gap = false;
        } else {
            gap = true;
        }
    }
    return out;
}

int CHeadingMatcher::slotOf(std::string_view heading) {
    const std::string words = normalized(heading);
    if (words.empty())
        return -1;
    for (int slot = 0; slot < CColumnMap::kFieldCount; ++slot) {
        if (normalized(CColumnMap::fieldNames()[static_cast<std::size_t>(slot)]) == words)
            return slot;
    }
    for (const auto& [slot, usual] : kUsualWords) {
        for (const char* word : usual) {
            if (words == word)
                return slot;
        }
    }
    return -1;
}

CColumnMap CHeadingMatcher::proposedMap(const std::vector<std::string>& headings) {
    CColumnMap map;
    int cost = -1;
    for (std::size_t column = 0; column < headings.size(); ++column) {
        const int slot = slotOf(headings[column]);
        // "Fuel Cost" by name stays there; any other cost waits to see what the file holds.
        const bool anyCost = slot == CColumnMap::FuelCost && normalized(headings[column]) != "fuel cost";
        if (anyCost) {
            cost = cost < 0 ? static_cast<int>(column) : cost;
        } else if (slot >= 0 && !map.isMapped(slot)) {
            map.setColumn(slot, static_cast<int>(column));
        }
    }
    if (cost >= 0) {
        const bool fuel = map.isMapped(CColumnMap::FuelQty) || map.isMapped(CColumnMap::FuelPrice);
        const int slot = fuel ? CColumnMap::FuelCost : CColumnMap::TollsMaint;
        if (!map.isMapped(slot))
            map.setColumn(slot, cost);
    }
    return map;
}
