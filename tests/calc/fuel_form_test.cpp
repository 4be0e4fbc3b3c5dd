// The fuel dialog's rules without the window: opening values, the live economy and total,
// the measure handlers, the distance, and every field Save writes.

#include "calc/fuel_form.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

namespace {

CFuelForm::Inputs inputs(int distanceUnit = 0, int economyUnit = 0, double previous = 1000, double start = 0) {
    CFuelForm::Inputs in;
    in.distanceUnit = distanceUnit;
    in.economyUnit = economyUnit;
    in.liquid = 0;
    in.startOdometer = start;
    in.currentOdometer = 1234;
    in.previousFuelOdometer = previous;
    in.startTime = 1'700'000'000;
    in.currencySymbol = "$";
    in.lastStation = "Shell";
    in.lastMeasure = "Gallon";
    return in;
}

// Types a quantity as the dialog does: the text changes, then the handler runs.
void typeQuantity(CFuelForm& form, const std::string& text) {
    form.fields().quantityText = text;
    form.quantityChanged();
}

TEST(FuelFormTest, LiveEconomyInEveryUnitAndMeasure) {
    struct Case {
        int distanceUnit;
        int economyUnit;
        const char* measure;
        double odometer;
        double previous;
        const char* quantity;
        double economy;
    };
    const Case cases[] = {
        {0, 0, "Gallons", 1300, 1000, "10", 30.00},
        {0, 0, "Imp. Gallons", 1300, 1000, "10", 30.00}, // miles per imperial gallon
        {0, 0, "Litres", 1300, 1000, "40", 28.39},       // miles per US gallon
        {0, 0, "Gal", 1300, 1000, "10", 30.00},          // the live test only needs "Gal"
        {0, 0, "gallons", 1300, 1000, "10", 0},          // no known unit
        {0, 1, "Litres", 1300, 1000, "40", 7.49},        // 7.4999999999 truncated, not rounded
        {0, 1, "Imp. Gallons", 1300, 1000, "7.5", 8.79},
        {1, 2, "Litres", 10500, 10000, "40", 8.00},
        {0, 2, "Gallons", 1300, 1000, "10", 7.84},
        {0, 3, "Gallons", 1300, 1000, "10", 36.02},
        {1, 3, "Litres", 10500, 10000, "33", 42.80},
        {1, 4, "Litres", 10500, 10000, "40", 12.50},
        {1, 0, "Gallons", 10500, 10000, "10", 31.06},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.measure) + " unit " + std::to_string(c.economyUnit));
        CFuelForm form(CDVItem{}, inputs(c.distanceUnit, c.economyUnit, c.previous));
        form.fields().odometer = c.odometer;
        form.fields().measure = c.measure;
        form.fields().priceText = "2.5";
        typeQuantity(form, c.quantity);
        EXPECT_DOUBLE_EQ(form.fields().economy, c.economy);
        const double quantity = std::stod(c.quantity);
        EXPECT_EQ(form.fields().totalText, "$" + CFuelForm::twoDecimals(quantity * 2.5));
    }
}

TEST(FuelFormTest, QuantityChangeWithoutAUsableEconomy) {
    struct Case {
        const char* name;
        double previous, start, odometer;
        const char* quantity;
        double economy;    // shown before: 12
        const char* total; // price 3
        double parsed;     // the quantity kept
    };
    const Case cases[] = {
        {"no previous fill: nothing changes", 0, 500, 1300, "10", 12, "$0.00", 10},
        {"previous fill at the start", 500, 500, 1300, "10", 12, "$0.00", 10},
        {"odometer not above the previous fill", 1000, 0, 1000, "10", 12, "$0.00", 10},
        {"empty text changes nothing", 1000, 0, 1300, "", 12, "$0.00", 0},
        {"economy above the range", 1000, 0, 1300, "0.01", 0, "$0.03", 0.01},
        {"economy below the range", 1000, 0, 1300, "100000", 0, "$300000.00", 100000},
        {"no volume", 1000, 0, 1300, "0", 0, "$0.00", 0},
        {"negative volume is 0", 1000, 0, 1300, "-5", 0, "$0.00", 0},
        {"no number", 1000, 0, 1300, "abc", 0, "$0.00", 0},
    };
    for (const Case& c : cases) {
        CFuelForm form(CDVItem{}, inputs(0, 0, c.previous, c.start));
        form.fields().odometer = c.odometer;
        form.fields().economy = 12;
        form.fields().priceText = "3";
        typeQuantity(form, c.quantity);
        EXPECT_EQ(form.fields().economy, c.economy) << c.name;
        EXPECT_EQ(form.fields().totalText, c.total) << c.name;
        EXPECT_EQ(form.fields().quantity, c.parsed) << c.name;
    }
}

TEST(FuelFormTest, PriceChangeParsesLeadingNumbersWithoutClamping) {
    struct Case {
        const char* quantity;
        const char* price;
        const char* total;
    };
    const Case cases[] = {
        {"10", "2.999", "$29.99"}, {"12.5abc", "2", "$25.00"}, {"abc", "2", "$0.00"},
        {"1,5", "2", "$2.00"},     {"10", "-2", "$-20.00"},    {"  4", ".5", "$2.00"},
    };
    for (const Case& c : cases) {
        CFuelForm form(CDVItem{}, inputs());
        form.fields().quantityText = c.quantity;
        form.fields().priceText = c.price;
        form.priceChanged();
        EXPECT_EQ(form.fields().totalText, c.total) << c.quantity << " x " << c.price;
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
    EXPECT_EQ(form.fields().totalText, "$ 25.00");
    EXPECT_EQ(form.fields().unitLabel, "/ Litres");

    // Whichever signal comes last, a change of the measure leaves the blank after the symbol.
    form.measureDropDownClosed(std::string("Imp. Gallons"));
    EXPECT_EQ(form.fields().measure, "Imp. Gallons");
    EXPECT_EQ(form.fields().totalText, "$ 25.00");
    EXPECT_EQ(form.fields().unitLabel, "/ Imp. Gallons");

    form.fields().measure = "Barrels";
    form.measureDropDownClosed(std::nullopt);
    EXPECT_EQ(form.fields().measure, "Barrels");
    EXPECT_EQ(form.fields().unitLabel, "/ Barrels");

    form.fields().measure = "Cans";
    form.measureTextEdited();
    EXPECT_EQ(form.fields().unitLabel, "/ Cans");
    EXPECT_EQ(form.fields().totalText, "$ 25.00");
}

TEST(FuelFormTest, SaveRefusesFuelOrUnitPriceThatIsNoNumber) {
    struct Case {
        const char* quantity;
        const char* price;
        const char* message; // "" when Save may go on
    };
    const Case cases[] = {{"40.5", "1.5", ""},
                          {" 40 ", "-1.5", ""},
                          {"abc", "1.5", "Please enter a number for Fuel."},
                          {"12 l", "1.5", "Please enter a number for Fuel."},
                          {"", "1.5", "Please enter a number for Fuel."},
                          {"40", "1.5x", "Please enter a number for Unit Price."},
                          {"40", "inf", "Please enter a number for Unit Price."}};
    for (const Case& c : cases) {
        CFuelForm form(CDVItem{}, inputs());
        form.fields().quantityText = c.quantity;
        form.fields().priceText = c.price;
        const auto refusal = form.saveRefusal();
        EXPECT_EQ(refusal ? refusal->message : "", c.message) << c.quantity << " / " << c.price;
        if (refusal)
            EXPECT_EQ(refusal->field == CFuelForm::NumberField::Quantity, std::string(c.message).ends_with("Fuel."));
    }
}

TEST(FuelFormTest, CurrencySymbolOfMoreThanTwoCharactersIsDollar) {
    EXPECT_EQ(CFuelForm::limitedCurrency("EUR"), "$");
    EXPECT_EQ(CFuelForm::limitedCurrency("kr"), "kr");
    EXPECT_EQ(CFuelForm::limitedCurrency("\u20ac"), "\u20ac"); // one character of three bytes
    EXPECT_EQ(CFuelForm::limitedCurrency("\u00a3\u00a3\u00a3"), "$");
    CFuelForm::Inputs in = inputs();
    in.currencySymbol = "CHF";
    CFuelForm form(CDVItem{}, in);
    EXPECT_EQ(form.fields().totalText, "$0.00");
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
        EXPECT_EQ(f.measure, measures[liquid]);
        EXPECT_EQ(f.station, "Shell");
        EXPECT_EQ(f.unitLabel, "Gallon");
        EXPECT_EQ(f.date, 1'700'000'000);
        EXPECT_EQ(f.odometer, 1234);
        EXPECT_EQ(f.quantityText, "0");
        EXPECT_EQ(f.priceText, "0");
        EXPECT_EQ(f.totalText, "kr0.00");
        EXPECT_EQ(f.economy, 0);
        EXPECT_EQ(f.distance, 0);
        EXPECT_FALSE(f.partialFill);
        EXPECT_STREQ(form.distanceUnitLabel(), "Km.");
    }
}

CDVItem existingRecord() {
    CDVItem r;
    r.Odometer = 1300;
    r.Date = 1'600'000'000;
    r.Station = "Esso";
    r.Measure = "Litres";
    r.Note = "road trip";
    r.Invoice = "A-17";
    r.CellTemp = 21;
    r.PartialFill = 1;
    r.Cost = 51.2345;
    r.Quantity = 40.12345;
    r.UnitPrice = 1.2769;
    r.Economy = 29.996;
    r.FuelDistance = 300;
    return r;
}

TEST(FuelFormTest, ExistingEntryOpensWithItsValues) {
    CFuelForm form(existingRecord(), inputs());
    const CFuelForm::Fields& f = form.fields();
    EXPECT_TRUE(form.isExistingEntry());
    EXPECT_EQ(f.odometer, 1300);
    EXPECT_EQ(f.date, 1'600'000'000);
    EXPECT_EQ(f.station, "Esso");
    EXPECT_EQ(f.measure, "Litres");
    EXPECT_EQ(f.notes, "road trip");
    EXPECT_EQ(f.invoice, "A-17");
    EXPECT_EQ(f.cellTemp, 21);
    EXPECT_TRUE(f.partialFill);
    EXPECT_EQ(f.totalText, "$51.23");
    EXPECT_EQ(f.quantityText, "40.123");
    EXPECT_EQ(f.priceText, "1.277");
    EXPECT_EQ(f.quantity, 40.12345);
    EXPECT_EQ(f.economy, 30.0);
    EXPECT_EQ(f.distance, 300);
    EXPECT_EQ(f.unitLabel, "");
    EXPECT_STREQ(form.distanceUnitLabel(), "Mi.");
}

TEST(FuelFormTest, OdometerChangeSetsTheDistanceOnlyAboveThePreviousFill) {
    CFuelForm form(CDVItem{}, inputs(0, 0, 1000));
    form.fields().odometer = 1250.5;
    form.odometerChanged();
    EXPECT_EQ(form.fields().distance, 250.5);
    form.fields().odometer = 900;
    form.odometerChanged();
    EXPECT_EQ(form.fields().distance, 250.5);
}

TEST(FuelFormTest, SaveFillsEveryField) {
    CFuelForm form(CDVItem{}, inputs(1, 2, 1000));
    CFuelForm::Fields& f = form.fields();
    f.odometer = 1300.7;
    f.date = 1'650'000'000;
    f.station = "Aral";
    f.measure = "Litres";
    f.quantityText = "40.5 l";
    f.priceText = "-1.5"; // Save does not clamp
    f.partialFill = true;
    f.cellTemp = -4;
    f.invoice = "No. 5";
    f.notes = "line 1\nline 2";
    f.economy = 7.25;
    f.distance = 300.7;
    f.unitLabel = "/ Litres";

    CDVItem record;
    record.Icon = 9;
    record.EntryType = 2;
    record.Purpose = "p";
    record.Destination = "d";
    record.Contact = "c";
    record.Entry = "Trip";
    record.DepartTime = 5;
    record.ArriveTime = 6;
    record.SpareTime = 7;
    record.Reserved1 = 8;
    record.Reserved2 = 9;
    record.DisplayPos = 42;
    record.EndOdometer = 11;
    record.Parking = 12;
    const CFuelForm::Remembered remembered = form.save(record);

    EXPECT_EQ(remembered.lastStation, "Aral");
    EXPECT_EQ(remembered.lastMeasure, "/ Litres");
    // Every field the form does not own is cleared, except the list position.
    CDVItem expected;
    expected.EntryType = CDVItem::Fuel;
    expected.Entry = "Fuel";
    expected.Odometer = 1300.7;
    expected.Date = 1'650'000'000;
    expected.EconomyUnit = 2;
    expected.DistanceUnit = 1;
    expected.Note = "line 1\nline 2";
    expected.Measure = "Litres";
    expected.Station = "Aral";
    expected.Invoice = "No. 5";
    expected.CellTemp = -4;
    expected.DisplayPos = 42;
    expected.FuelDistance = 300;
    expected.PartialFill = 1;
    expected.Cost = 40.5 * -1.5;
    expected.Quantity = 40.5;
    expected.UnitPrice = -1.5;
    expected.Economy = 7.25;
    EXPECT_EQ(record, expected);
}

TEST(FuelFormTest, SavedEconomyIsZeroWithoutDistanceOrWhenNotPositive) {
    struct Case {
        double economy;
        double distance;
        double saved;
    };
    for (const Case& c : {Case{30, 0, 0}, Case{-3, 100, 0}, Case{0, 100, 0}, Case{30, 100, 30}}) {
        CFuelForm form(CDVItem{}, inputs());
        form.fields().economy = c.economy;
        form.fields().distance = c.distance;
        CDVItem record;
        form.save(record);
        EXPECT_EQ(record.Economy, c.saved) << c.economy << " over " << c.distance;
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
    EXPECT_EQ(CFuelForm::numberText(1234.5), "1234.5");
    EXPECT_EQ(CFuelForm::numberText(29.98), "29.98");
}

} // namespace
