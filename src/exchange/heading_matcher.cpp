#include "exchange/heading_matcher.h"

#include "store/text_codec.h"

#include <cctype>

namespace {

struct UsualWords {
    int slot;
    const char* words[16]; // ended by the first null
};

// The words of other programs and spreadsheets, after normalized(); the field's own name is
// matched besides these.
const UsualWords kUsualWords[] = {
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
    // The cost every entry gets; a fill-up's is worked out again from price and quantity.
    {CColumnMap::TollsMaint, {"cost", "total", "total cost", "total price", "total amount", "tolls", "repairs tolls"}},
    {CColumnMap::EndOdo, {"end mileage", "end odometer"}},
    {CColumnMap::DepartDate, {"depart date time"}},
    {CColumnMap::ArriveDate, {"arrive date time"}},
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
        for (const char* const* word = usual; *word; ++word) {
            if (words == *word)
                return slot;
        }
    }
    return -1;
}

CColumnMap CHeadingMatcher::proposedMap(const std::vector<std::string>& headings) {
    CColumnMap map;
    for (std::size_t column = 0; column < headings.size(); ++column) {
        const int slot = slotOf(headings[column]);
        if (slot >= 0 && !map.isMapped(slot))
            map.setColumn(slot, static_cast<int>(column));
    }
    return map;
}
