#include "calc/fuel_form.h"

#include <gtest/gtest.h>

namespace {

using Two = std::pair<std::string, std::string>;
using Texts = std::vector<std::string>;

CFuelForm::Inputs inputs(int distanceUnit = 0, int economyUnit = 0, double previous = 1000, double start = 0) {
    CFuelForm::Inputs in;
    in.distanceUnit = distanceUnit, in.economyUnit = economyUnit, in.liquid = 0, in.startOdometer = start;
    in.currentOdometer = 1234, in.previousFuelOdometer = previous, in.startTime = 1'700'000'000;
    in.currencySymbol = "$", in.lastStation = "Shell", in.lastMeasure = "Gallon";
    return in;
}

CDVItem existingRecord() {
    CDVItem r;
    r.Odometer = 1300, r.Date = 1'600'000'000, r.Station = "Esso", r.Measure = "Litres", r.Note = "road trip";
    r.Invoice = "A-17", r.CellTemp = 21, r.PartialFill = 1, r.Cost = 51.2345, r.Quantity = 40.12345;
    r.UnitPrice = 1.2769, r.Economy = 29.996, r.FuelDistance = 300;
    return r;
}

// Without a usable previous fill (not above the start odometer, or the odometer not above it)
// the economy (12 before) and the total stay as they were.
TEST(FuelFormTest, QuantityChangeSetsEconomyAndTotal) {
    // distance unit, economy unit, previous fill, start, measure, odometer, quantity; economy, total, quantity
    // clang-format off
    using Row = std::tuple<int, int, double, double, const char*, double, const char*, double, const char*, double>;
    const Row cases[] = {
        {0, 0, 1000, 0, "Gallons", 1300, "10", 30.00, "$25.00", 10},
        {0, 0, 1000, 0, "Litres", 1300, "40", 28.39, "$100.00", 40},
        {0, 1, 1000, 0, "Litres", 1300, "40", 7.49, "$100.00", 40}, // truncated, not rounded
        {0, 1, 1000, 0, "Imp. Gallons", 1300, "7.5", 8.79, "$18.75", 7.5},
        {0, 2, 1000, 0, "Gallons", 1300, "10", 7.84, "$25.00", 10},
        {0, 3, 1000, 0, "Gallons", 1300, "10", 36.02, "$25.00", 10},
        {1, 4, 10000, 0, "Litres", 10500, "40", 12.50, "$100.00", 40},
        {1, 0, 10000, 0, "Gallons", 10500, "10", 31.06, "$25.00", 10},
        {0, 0, 1000, 0, "Gallons", 1300, "1.5", 200, "$3.75", 1.5},
        {0, 0, 1000, 0, "Gallons", 1300, "1.49", 0, "$3.73", 1.49},
        {0, 0, 1000, 0, "Gallons", 1300, "-5", 0, "$0.00", 0},
        {0, 0, 500, 500, "Gallons", 1300, "10", 12, "$0.00", 10},
        {0, 0, 1000, 0, "Gallons", 1000, "10", 12, "$0.00", 10},
        {0, 0, 1000, 0, "Gallons", 1300, "", 12, "$0.00", 0}};
    // clang-format on
    for (const auto& [du, eu, previous, start, measure, odometer, quantity, economy, total, parsed] : cases) {
        SCOPED_TRACE(std::string(measure) + " " + quantity + " unit " + std::to_string(eu));
        CFuelForm form(CDVItem{}, inputs(du, eu, previous, start));
        auto& f = form.fields();
        f.odometer = odometer, f.measure = measure, f.priceText = "2.5", f.economy = 12, f.quantityText = quantity;
        form.quantityChanged();
        EXPECT_NEAR(f.economy, economy, 1e-9);
        EXPECT_EQ(std::pair(f.totalText, f.quantity), std::pair(std::string(total), parsed));
    }
}

// A price change parses the leading numbers without clamping; a change of the measure leaves a
// blank after the symbol and does not parse the texts again.
TEST(FuelFormTest, PriceAndMeasureHandlers) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"10", "2.999", "$29.99"}, {"12.5abc", "2", "$25.00"}, {"abc", "2", "$0.00"}, {"10", "-2", "$-20.00"}};
    for (const auto& [quantity, price, total] : cases) {
        CFuelForm form(CDVItem{}, inputs());
        form.fields().quantityText = quantity, form.fields().priceText = price;
        form.priceChanged();
        EXPECT_EQ(form.fields().totalText, total) << quantity << " x " << price;
        form.fields().quantityText = "99", form.fields().measure = "Barrels";
        form.measureDropDownClosed(std::string("Cans"));
        EXPECT_EQ(std::pair(form.fields().totalText, form.fields().unitLabel),
                  Two("$ " + std::string(total + 1), "/ Cans"));
    }
}

TEST(FuelFormTest, SaveRefusesFuelOrUnitPriceThatIsNoNumber) {
    const std::string fuel = "Please enter a number for Fuel.", price = "Please enter a number for Unit Price.";
    const std::tuple<const char*, const char*, std::string> cases[] = {
        {" 40 ", "-1.5", ""}, {"12 l", "1.5", fuel}, {"40", "1.5x", price}};
    for (const auto& [quantity, priceText, message] : cases) {
        CFuelForm form(CDVItem{}, inputs());
        form.fields().quantityText = quantity, form.fields().priceText = priceText;
        const auto refusal = form.saveRefusal();
        EXPECT_EQ(refusal ? refusal->message : "", message) << quantity << " / " << priceText;
        if (refusal) {
            EXPECT_EQ(refusal->field == CFuelForm::NumberField::Quantity, message == fuel);
        }
    }
}

// A new entry (no quantity) opens with the remembered texts and the liquid's measure; a currency
// symbol of more than two characters shows as a dollar, the euro is three bytes but one character.
TEST(FuelFormTest, OpensWithDefaultsOrItsValues) {
    const Two measureAndSymbol[] = {{"Gallons", "kr"}, {"Imp. Gallons", "CHF"}, {"Litres", "\u20ac"}};
    const char* totals[] = {"kr0.00", "$0.00", "\u20ac0.00"};
    for (int liquid = 0; liquid < 3; ++liquid) {
        CFuelForm::Inputs in = inputs(1);
        in.liquid = liquid, in.currencySymbol = measureAndSymbol[liquid].second;
        CDVItem record;
        record.Quantity = -1, record.Odometer = 77;
        const CFuelForm form(record, in);
        const CFuelForm::Fields& f = form.fields();
        EXPECT_EQ((Texts{f.measure, f.station, f.unitLabel, f.quantityText, f.priceText, f.totalText}),
                  (Texts{measureAndSymbol[liquid].first, "Shell", "Gallon", "0", "0", totals[liquid]}));
        EXPECT_EQ(std::tuple(form.isExistingEntry(), f.date, f.odometer, f.economy, form.distanceUnitLabel()),
                  std::tuple(false, 1'700'000'000, 1234.0, 0.0, std::string("Km.")));
    }
    CFuelForm form(existingRecord(), inputs());
    CFuelForm::Fields& f = form.fields();
    EXPECT_EQ((Texts{f.station, f.measure, f.notes, f.invoice, f.totalText, f.quantityText, f.priceText, f.unitLabel}),
              (Texts{"Esso", "Litres", "road trip", "A-17", "$51.23", "40.123", "1.277", ""}));
    EXPECT_EQ(std::tuple(form.isExistingEntry(), f.odometer, f.date, f.cellTemp, f.partialFill, f.quantity, f.economy),
              std::tuple(true, 1300.0, 1'600'000'000, 21, true, 40.12345, 30.0));
    // Only an odometer above the previous fill (1000) sets the distance.
    for (const auto& [odometer, distance] : {std::pair{1000.0, 300.0}, std::pair{1250.5, 250.5}}) {
        f.odometer = odometer;
        form.odometerChanged();
        EXPECT_EQ(f.distance, distance) << odometer;
    }
}

TEST(FuelFormTest, SaveFillsEveryField) {
    CFuelForm form(CDVItem{}, inputs(1, 2, 1000));
    CFuelForm::Fields& f = form.fields();
    f.odometer = 1300.7, f.date = 1'650'000'000, f.station = "Aral", f.measure = "Litres", f.quantityText = "40.5 l";
    f.priceText = "-1.5"; // Save does not clamp
    f.partialFill = true, f.cellTemp = -4, f.invoice = "No. 5", f.notes = "line 1\nline 2", f.economy = 7.25;
    f.distance = 300.7, f.unitLabel = "/ Litres";
    CDVItem record;
    record.Icon = 9, record.EntryType = 2, record.Purpose = "p", record.Destination = "d", record.Contact = "c";
    record.Entry = "Trip", record.DepartTime = 5, record.ArriveTime = 6, record.SpareTime = 7, record.Reserved1 = 8;
    record.Reserved2 = 9, record.DisplayPos = 42, record.EndOdometer = 11, record.Parking = 12;
    const CFuelForm::Remembered remembered = form.save(record);
    EXPECT_EQ(std::pair(remembered.lastStation, remembered.lastMeasure), Two("Aral", "/ Litres"));
    // Every field the form does not own is cleared, except the list position.
    CDVItem e;
    e.EntryType = CDVItem::Fuel, e.Entry = "Fuel", e.Odometer = 1300.7, e.Date = 1'650'000'000, e.EconomyUnit = 2;
    e.DistanceUnit = 1, e.Note = "line 1\nline 2", e.Measure = "Litres", e.Station = "Aral", e.Invoice = "No. 5";
    e.CellTemp = -4, e.DisplayPos = 42, e.FuelDistance = 300, e.PartialFill = 1, e.Cost = 40.5 * -1.5;
    e.Quantity = 40.5, e.UnitPrice = -1.5, e.Economy = 7.25;
    EXPECT_EQ(record, e);
}

// An entry not above the previous fill saves no distance but keeps the stored 300 in the field,
// and so its economy.
TEST(FuelFormTest, ExistingEntryNotAboveThePreviousFillSavesNoDistance) {
    CDVItem record = existingRecord();
    CFuelForm(record, inputs(0, 0, 1300)).save(record);
    EXPECT_EQ(std::pair(record.FuelDistance, record.Economy), std::pair(0, 30.0));
}

} // namespace
