// The fuel dialog's rules without the window: opening values, the live economy and total,
// the measure handlers, the distance, and every field Save writes.

#include "calc/fuel_form.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>

namespace {

using Two = std::pair<std::string, std::string>;

CFuelForm::Inputs inputs(int distanceUnit = 0, int economyUnit = 0, double previous = 1000, double start = 0) {
    CFuelForm::Inputs in;
    in.distanceUnit = distanceUnit, in.economyUnit = economyUnit, in.liquid = 0, in.startOdometer = start;
    in.currentOdometer = 1234, in.previousFuelOdometer = previous, in.startTime = 1'700'000'000;
    in.currencySymbol = "$", in.lastStation = "Shell", in.lastMeasure = "Gallon";
    return in;
}

// Types a quantity as the dialog does: the text changes, then the handler runs.
void typeQuantity(CFuelForm& form, const std::string& text) {
    form.fields().quantityText = text;
    form.quantityChanged();
}

TEST(FuelFormTest, LiveEconomyInEveryUnitAndMeasure) {
    // distance unit, economy unit, measure, odometer (previous fill 1000 or 10000), quantity, economy
    const std::tuple<int, int, const char*, double, const char*, double> cases[] = {
        {0, 0, "Gallons", 1300, "10", 30.00},      {0, 0, "Imp. Gallons", 1300, "10", 30.00},
        {0, 0, "Litres", 1300, "40", 28.39},       {0, 0, "Gal", 1300, "10", 30.00},
        {0, 0, "gallons", 1300, "10", 0},          {0, 1, "Litres", 1300, "40", 7.49}, // truncated, not rounded
        {0, 1, "Imp. Gallons", 1300, "7.5", 8.79}, {1, 2, "Litres", 10500, "40", 8.00},
        {0, 2, "Gallons", 1300, "10", 7.84},       {0, 3, "Gallons", 1300, "10", 36.02},
        {1, 3, "Litres", 10500, "33", 42.80},      {1, 4, "Litres", 10500, "40", 12.50},
        {1, 0, "Gallons", 10500, "10", 31.06},
    };
    for (const auto& [distanceUnit, economyUnit, measure, odometer, quantity, economy] : cases) {
        SCOPED_TRACE(std::string(measure) + " unit " + std::to_string(economyUnit));
        CFuelForm form(CDVItem{}, inputs(distanceUnit, economyUnit, odometer > 5000 ? 10000 : 1000));
        form.fields().odometer = odometer;
        form.fields().measure = measure;
        form.fields().priceText = "2.5";
        typeQuantity(form, quantity);
        EXPECT_DOUBLE_EQ(form.fields().economy, economy);
        EXPECT_EQ(form.fields().totalText, "$" + CFuelForm::twoDecimals(std::stod(quantity) * 2.5));
    }
}

TEST(FuelFormTest, QuantityChangeWithoutAUsableEconomy) {
    // previous fill, start, odometer, quantity, economy (12 before), total at price 3, quantity kept
    const std::tuple<double, double, double, const char*, double, const char*, double> cases[] = {
        {0, 500, 1300, "10", 12, "$0.00", 10},     {500, 500, 1300, "10", 12, "$0.00", 10},
        {1000, 0, 1000, "10", 12, "$0.00", 10},    {1000, 0, 1300, "", 12, "$0.00", 0},
        {1000, 0, 1300, "0.01", 0, "$0.03", 0.01}, {1000, 0, 1300, "100000", 0, "$300000.00", 100000},
        {1000, 0, 1300, "0", 0, "$0.00", 0},       {1000, 0, 1300, "-5", 0, "$0.00", 0},
        {1000, 0, 1300, "abc", 0, "$0.00", 0},
    };
    for (const auto& [previous, start, odometer, quantity, economy, total, parsed] : cases) {
        SCOPED_TRACE(std::to_string(previous) + " " + quantity);
        CFuelForm form(CDVItem{}, inputs(0, 0, previous, start));
        form.fields().odometer = odometer;
        form.fields().economy = 12;
        form.fields().priceText = "3";
        typeQuantity(form, quantity);
        EXPECT_EQ(std::tuple(form.fields().economy, form.fields().totalText, form.fields().quantity),
                  std::tuple(economy, std::string(total), parsed));
    }
}

TEST(FuelFormTest, PriceChangeParsesLeadingNumbersWithoutClamping) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"10", "2.999", "$29.99"}, {"12.5abc", "2", "$25.00"}, {"abc", "2", "$0.00"},
        {"1,5", "2", "$2.00"},     {"10", "-2", "$-20.00"},    {"  4", ".5", "$2.00"},
    };
    for (const auto& [quantity, price, total] : cases) {
        CFuelForm form(CDVItem{}, inputs());
        form.fields().quantityText = quantity;
        form.fields().priceText = price;
        form.priceChanged();
        EXPECT_EQ(form.fields().totalText, total) << quantity << " x " << price;
    }
}

TEST(FuelFormTest, MeasureHandlersSetTheUnitLabelAndTotal) {
    CFuelForm form(CDVItem{}, inputs());
    form.fields().quantityText = "10";
    form.fields().priceText = "2.5";
    form.priceChanged();
    // The selection handler does not parse the texts again.
    form.fields().quantityText = "99";
    form.fields().measure = "Litres";
    form.measureSelectionChanged();
    EXPECT_EQ(std::pair(form.fields().totalText, form.fields().unitLabel), Two("$ 25.00", "/ Litres"));
    form.measureDropDownClosed(std::string("Imp. Gallons"));
    EXPECT_EQ(std::pair(form.fields().measure, form.fields().unitLabel), Two("Imp. Gallons", "/ Imp. Gallons"));
    form.fields().measure = "Barrels";
    form.measureDropDownClosed(std::nullopt);
    EXPECT_EQ(std::pair(form.fields().measure, form.fields().unitLabel), Two("Barrels", "/ Barrels"));
    form.fields().measure = "Cans";
    form.measureTextEdited();
    // Whichever signal comes last, a change of the measure leaves the blank after the symbol.
    EXPECT_EQ(std::pair(form.fields().totalText, form.fields().unitLabel), Two("$ 25.00", "/ Cans"));
}

TEST(FuelFormTest, SaveRefusesFuelOrUnitPriceThatIsNoNumber) {
    const std::string fuel = "Please enter a number for Fuel.", price = "Please enter a number for Unit Price.";
    const std::tuple<const char*, const char*, std::string> cases[] = {
        {"40.5", "1.5", ""}, {" 40 ", "-1.5", ""},  {"abc", "1.5", fuel}, {"12 l", "1.5", fuel},
        {"", "1.5", fuel},   {"40", "1.5x", price}, {"40", "inf", price}};
    for (const auto& [quantity, priceText, message] : cases) {
        CFuelForm form(CDVItem{}, inputs());
        form.fields().quantityText = quantity;
        form.fields().priceText = priceText;
        const auto refusal = form.saveRefusal();
        EXPECT_EQ(refusal ? refusal->message : "", message) << quantity << " / " << priceText;
        if (refusal)
            EXPECT_EQ(refusal->field == CFuelForm::NumberField::Quantity, message == fuel);
    }
}

TEST(FuelFormTest, CurrencySymbolOfMoreThanTwoCharactersIsDollar) {
    const std::pair<const char*, const char*> cases[] = {
        {"EUR", "$"}, {"kr", "kr"}, {"\u20ac", "\u20ac"}, {"\u00a3\u00a3\u00a3", "$"}}; // the euro is 3 bytes
    for (const auto& [symbol, shown] : cases)
        EXPECT_EQ(CFuelForm::limitedCurrency(symbol), shown) << symbol;
    CFuelForm::Inputs in = inputs();
    in.currencySymbol = "CHF";
    EXPECT_EQ(CFuelForm(CDVItem{}, in).fields().totalText, "$0.00");
}

TEST(FuelFormTest, NewEntryOpensWithDefaults) {
    const char* measures[] = {"Gallons", "Imp. Gallons", "Litres"};
    for (int liquid = 0; liquid < 3; ++liquid) {
        CFuelForm::Inputs in = inputs(1);
        in.liquid = liquid;
        in.currencySymbol = "kr";
        CDVItem record;
        record.Quantity = -1; // an entry with no quantity opens as a new one
        record.Odometer = 77;
        CFuelForm form(record, in);
        const CFuelForm::Fields& f = form.fields();
        EXPECT_FALSE(form.isExistingEntry());
        EXPECT_EQ(
            (std::vector<std::string>{f.measure, f.station, f.unitLabel, f.quantityText, f.priceText, f.totalText}),
            (std::vector<std::string>{measures[liquid], "Shell", "Gallon", "0", "0", "kr0.00"}));
        EXPECT_EQ(std::tuple(f.date, f.odometer, f.economy, f.distance), std::tuple(1'700'000'000, 1234.0, 0.0, 0.0));
        EXPECT_STREQ(form.distanceUnitLabel(), "Km.");
    }
}

CDVItem existingRecord() {
    CDVItem r;
    r.Odometer = 1300, r.Date = 1'600'000'000, r.Station = "Esso", r.Measure = "Litres", r.Note = "road trip";
    r.Invoice = "A-17", r.CellTemp = 21, r.PartialFill = 1, r.Cost = 51.2345, r.Quantity = 40.12345;
    r.UnitPrice = 1.2769, r.Economy = 29.996, r.FuelDistance = 300;
    return r;
}

TEST(FuelFormTest, ExistingEntryOpensWithItsValues) {
    CFuelForm form(existingRecord(), inputs());
    const CFuelForm::Fields& f = form.fields();
    EXPECT_TRUE(form.isExistingEntry());
    EXPECT_EQ((std::vector<std::string>{f.station, f.measure, f.notes, f.invoice, f.totalText, f.quantityText,
                                        f.priceText, f.unitLabel}),
              (std::vector<std::string>{"Esso", "Litres", "road trip", "A-17", "$51.23", "40.123", "1.277", ""}));
    EXPECT_EQ(std::tuple(f.odometer, f.date, f.cellTemp, f.partialFill, f.quantity, f.economy, f.distance),
              std::tuple(1300.0, 1'600'000'000, 21, true, 40.12345, 30.0, 300.0));
    EXPECT_STREQ(form.distanceUnitLabel(), "Mi.");
}

TEST(FuelFormTest, OdometerChangeSetsTheDistanceOnlyAboveThePreviousFill) {
    CFuelForm form(CDVItem{}, inputs(0, 0, 1000));
    for (const auto& [odometer, distance] : {std::pair{1250.5, 250.5}, std::pair{900.0, 250.5}}) {
        form.fields().odometer = odometer;
        form.odometerChanged();
        EXPECT_EQ(form.fields().distance, distance) << odometer;
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

TEST(FuelFormTest, SavedEconomyIsZeroWithoutDistanceOrWhenNotPositive) {
    // economy, distance, saved economy
    const std::tuple<double, double, double> cases[] = {{30, 0, 0}, {-3, 100, 0}, {0, 100, 0}, {30, 100, 30}};
    for (const auto& [economy, distance, saved] : cases) {
        CFuelForm form(CDVItem{}, inputs());
        form.fields().economy = economy;
        form.fields().distance = distance;
        CDVItem record;
        form.save(record);
        EXPECT_EQ(record.Economy, saved) << economy << " over " << distance;
    }
}

TEST(FuelFormTest, ExistingEntryNotAboveThePreviousFillSavesNoDistance) {
    for (const double previous : {1300.0, 1500.0}) {
        CDVItem record = existingRecord();
        CFuelForm form(record, inputs(0, 0, previous));
        form.odometerChanged();
        form.save(record);
        EXPECT_EQ(record.FuelDistance, 0);
        EXPECT_EQ(record.Economy, 30.0); // the distance field still holds the stored 300
    }
}

TEST(FuelFormTest, NumericFieldsAcceptOnlyWholeNumbers) {
    const std::pair<const char*, std::optional<double>> numbers[] = {
        {" 1234.5 ", 1234.5},  {"-3", -3},           {"", std::nullopt}, {"12km", std::nullopt}, {"1,5", std::nullopt},
        {"nan", std::nullopt}, {"1e3", std::nullopt}};
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(CFuelForm::wholeNumber(text), value) << text;
    const std::pair<const char*, std::optional<int>> integers[] = {
        {"+7", 7}, {" -12 ", -12}, {"3.5", std::nullopt}, {"+-3", std::nullopt}, {"99999999999", std::nullopt}};
    for (const auto& [text, value] : integers)
        EXPECT_EQ(CFuelForm::wholeInteger(text), value) << text;
}

} // namespace
