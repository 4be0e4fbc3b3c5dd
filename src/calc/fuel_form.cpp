#include "calc/fuel_form.h"
#include "calc/number_text.h"

#include "calc/units.h"
#include "store/text_codec.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <utility>

namespace {

bool beginsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string fixed(double value, int precision) {
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    if (result.ec != std::errc())
        return {};
    return std::string(buffer, result.ptr);
}

bool onlyBlanks(const char* text) {
    for (; *text != '\0'; ++text)
        if (*text != ' ' && *text != '\t')
            return false;
    return true;
}

} // namespace

CFuelForm::CFuelForm(const CDVItem& record, Inputs inputs)
    : m_inputs(std::move(inputs)), m_currency(limitedCurrency(m_inputs.currencySymbol)),
      m_existing(record.Quantity > 0) {
    Fields& f = m_fields;
    if (m_existing) {
        f.odometer = record.Odometer;
        f.date = record.Date;
        f.station = record.Station;
        f.measure = record.Measure;
        f.notes = record.Note;
        f.invoice = record.Invoice;
        f.cellTemp = record.CellTemp;
        f.partialFill = record.PartialFill != 0;
        f.totalText = m_currency + twoDecimals(record.Cost);
        f.quantityText = threeDecimals(record.Quantity);
        f.priceText = threeDecimals(record.UnitPrice);
        f.quantity = record.Quantity;
        f.price = record.UnitPrice;
        f.economy = leadingNumber(twoDecimals(record.Economy));
        f.distance = record.FuelDistance;
        return;
    }
    f.station = m_inputs.lastStation;
    f.unitLabel = m_inputs.lastMeasure;
    f.date = m_inputs.startTime;
    f.odometer = m_inputs.currentOdometer;
    // assign(count, char) rather than = "0": GCC 12 at -O2 warns falsely (-Wrestrict) on the latter.
    f.quantityText.assign(1, '0');
    f.priceText.assign(1, '0');
    f.totalText = m_currency + "0.00";
    if (m_inputs.liquid >= 0 && m_inputs.liquid < static_cast<int>(std::size(kMeasures)))
        f.measure = kMeasures[m_inputs.liquid];
}

const char* CFuelForm::distanceUnitLabel() const {
    return m_inputs.distanceUnit == units::kKilometres ? "Km." : "Mi.";
}

void CFuelForm::quantityChanged() {
    Fields& f = m_fields;
    if (f.quantityText.empty())
        return;
    f.quantity = std::max(0.0, leadingNumber(f.quantityText));
    f.price = std::max(0.0, leadingNumber(f.priceText));
    // A first fill-up has no previous distance to measure against: nothing changes, not even the total.
    if (!(f.odometer > m_inputs.previousFuelOdometer && m_inputs.previousFuelOdometer > m_inputs.startOdometer))
        return;

    double litres = 0;
    if (beginsWith(f.measure, "Gal"))
        litres = f.quantity * units::kLitresPerUsGallon;
    else if (beginsWith(f.measure, "Imp"))
        litres = f.quantity * units::kLitresPerImperialGallon;
    else if (beginsWith(f.measure, "Lit"))
        litres = f.quantity;

    double kilometres = f.odometer - m_inputs.previousFuelOdometer;
    if (m_inputs.distanceUnit == units::kMiles)
        kilometres *= units::kKilometresPerMile;
    const double miles = kilometres * units::kMilesPerKilometre;

    double value = 0;
    switch (m_inputs.economyUnit) {
    case units::kMpg:
        if (beginsWith(f.measure, "Imp"))
            value = miles / (litres * units::kImperialGallonsPerLitre);
        else if (beginsWith(f.measure, "Gal") || beginsWith(f.measure, "Lit"))
            value = miles / (litres * units::kUsGallonsPerLitre);
        break;
    case units::kMpl:
        value = miles / litres;
        break;
    case units::kLitresPer100Km:
        value = litres / (kilometres / 100);
        break;
    case units::kMpgImperial:
        value = miles / (litres * units::kImperialGallonsPerLitre);
        break;
    case units::kKpl:
        value = kilometres / litres;
        break;
    default:
        break;
    }
    // Two decimals, truncated; a division by a zero volume gives no usable value at all.
    const double raw = std::trunc(value * 100);
    double economy = std::isfinite(raw) ? raw / 100 : 0;

    refreshTotal("");
    if (!(economy >= 0.01 && economy <= units::kMaxEconomy))
        economy = 0;
    f.economy = economy;
}

void CFuelForm::priceChanged() {
    m_fields.quantity = leadingNumber(m_fields.quantityText);
    m_fields.price = leadingNumber(m_fields.priceText);
    refreshTotal("");
}

void CFuelForm::measureChanged() {
    refreshTotal(" ");
    refreshUnitLabel();
}

void CFuelForm::measureSelectionChanged() {
    measureChanged();
}

void CFuelForm::measureDropDownClosed(const std::optional<std::string>& selectedItem) {
    if (selectedItem)
        m_fields.measure = *selectedItem;
    measureChanged();
}

void CFuelForm::measureTextEdited() {
    measureChanged();
}

void CFuelForm::odometerChanged() {
    if (m_fields.odometer > m_inputs.previousFuelOdometer)
        m_fields.distance = m_fields.odometer - m_inputs.previousFuelOdometer;
}

void CFuelForm::stationListEdited(const std::string& lastAdded) {
    m_fields.station = lastAdded;
}

std::optional<CFuelForm::Refusal> CFuelForm::saveRefusal() const {
    if (!wholeNumber(m_fields.quantityText))
        return Refusal{NumberField::Quantity, "Please enter a number for Fuel."};
    if (!wholeNumber(m_fields.priceText))
        return Refusal{NumberField::Price, "Please enter a number for Unit Price."};
    return std::nullopt;
}

CFuelForm::Remembered CFuelForm::save(CDVItem& record) const {
    const Fields& f = m_fields;
    const double quantity = leadingNumber(f.quantityText);
    const double price = leadingNumber(f.priceText);

    record.Icon = 0;
    record.EntryType = CDVItem::Fuel;
    record.Odometer = f.odometer;
    record.Date = f.date;
    record.EconomyUnit = m_inputs.economyUnit;
    record.DistanceUnit = m_inputs.distanceUnit;
    record.Note = f.notes;
    record.Measure = f.measure;
    record.Station = f.station;
    record.Invoice = f.invoice;
    record.Purpose.clear();
    record.Destination.clear();
    record.Contact.clear();
    record.Entry = "Fuel";
    record.DepartTime = 0;
    record.ArriveTime = 0;
    record.SpareTime = 0;
    record.CellTemp = f.cellTemp;
    record.Reserved1 = 0;
    record.Reserved2 = 0;
    record.FuelDistance = units::fuelDistance(f.odometer, m_inputs.previousFuelOdometer);
    record.PartialFill = f.partialFill ? 1 : 0;
    record.Cost = quantity * price;
    record.Quantity = quantity;
    record.UnitPrice = price;
    record.EndOdometer = 0;
    record.Economy = (f.economy <= 0 || f.distance == 0) ? 0 : f.economy;
    record.Parking = 0;
    return {f.station, f.unitLabel};
}

void CFuelForm::refreshTotal(const char* separator) {
    m_fields.totalText = m_currency + separator + twoDecimals(m_fields.quantity * m_fields.price);
}

void CFuelForm::refreshUnitLabel() {
    m_fields.unitLabel = "/ " + m_fields.measure;
}

double CFuelForm::leadingNumber(std::string_view text) {
    return odrivo::leadingNumber(text);
}

std::optional<double> CFuelForm::wholeNumber(std::string_view text) {
    std::size_t used = 0;
    const double value = odrivo::leadingNumber(text, &used);
    const std::string rest(text.substr(used));
    if (used == 0 || !onlyBlanks(rest.c_str()) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> CFuelForm::wholeInteger(std::string_view text) {
    const std::string copy(text);
    const char* begin = copy.c_str();
    while (*begin == ' ' || *begin == '\t')
        ++begin;
    if (*begin == '+' && begin[1] >= '0' && begin[1] <= '9')
        ++begin;
    int value = 0;
    const char* last = copy.c_str() + copy.size();
    const auto result = std::from_chars(begin, last, value);
    if (result.ec != std::errc() || !onlyBlanks(result.ptr))
        return std::nullopt;
    return value;
}

std::string CFuelForm::numberText(double value) {
    return odrivo::editNumberText(value);
}

std::string CFuelForm::twoDecimals(double value) {
    return fixed(value, 2);
}

std::string CFuelForm::threeDecimals(double value) {
    return fixed(value, 3);
}

std::string CFuelForm::limitedCurrency(std::string_view symbol) {
    return odrivo::utf8Length(symbol) > 2 ? std::string("$") : std::string(symbol);
}
