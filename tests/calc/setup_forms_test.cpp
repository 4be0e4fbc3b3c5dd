#include "../store/log_file_bytes.h"
#include "calc/graph_setup_form.h"
#include "calc/list_appearance.h"
#include "calc/list_font_form.h"
#include "calc/reminder_setup_form.h"
#include "calc/vehicle_setup_form.h"
#include "store/app_profile.h"

#include <gtest/gtest.h>

namespace {

using Field = CReminderSetupForm::Field;

TEST(ReminderSetupFormTest, DayCalculatorMultipliesByTheUnitNamed) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"2", "Months", "60"}, {"1", "Years", "365"}, {"3", "Weeks", "21"},           {"1.5", "Years", "547.5"},
        {"4", "Select", "0"},  {"4", "years", "0"},   {"1", "Month of Years", "365"}, // a year wins
        {"two", "Weeks", ""}, // refused: the number does not parse
    };
    for (const auto& [number, unit, days] : cases) {
        SCOPED_TRACE(std::string(number) + " " + unit);
        CReminderSetupForm form{VehicleSettings{}};
        form.fields().calculatorNumber = number, form.fields().calculatorUnit = unit;
        EXPECT_EQ(form.unitPicked().has_value(), *days == '\0');
        EXPECT_EQ(form.fields().calculatorResult, days);
    }
}

TEST(ReminderSetupFormTest, RefusesFieldsItCannotTakeAndWritesNothing) {
    using Edit = void (*)(CReminderSetupForm::Fields&);
    // edit; refused field and row (nothing when accepted); text the message must hold
    const std::tuple<Edit, std::optional<std::pair<Field, int>>, const char*> cases[] = {
        {[](auto& f) { f.rows[5].name = std::string(21, 'x'); }, {{Field::Name, 5}}, "20 characters"},
        {[](auto& f) { f.rows[9].name = "ééééééééééééééééééé€"; }, {}, ""}, // 20 characters, 41 bytes
        {[](auto& f) { f.rows[0].distanceText = "3000 mi"; }, {{Field::Distance, 0}}, "Oil Change"},
        {[](auto& f) { f.rows[2].daysText = "1.5"; }, {{Field::Days, 2}}, "Tire Rotation"},
        {[](auto& f) { f.rows[6].name.clear(), f.rows[6].daysText = ""; }, {{Field::Days, 6}}, "Custom 2"},
        {[](auto& f) { f.leadDaysText = "91"; }, {{Field::LeadDays, -1}}, "Lead Days"},
        {[](auto& f) { f.leadDaysText = "-1"; }, {{Field::LeadDays, -1}}, "Lead Days"},
        {[](auto& f) { f.leadDaysText = "90", f.leadOdoText = "10000"; }, {}, ""},
        {[](auto& f) { f.leadOdoText = "10000.5"; }, {{Field::LeadOdo, -1}}, "Lead Odo"},
        {[](auto& f) { f.leadOdoText = "-0.1"; }, {{Field::LeadOdo, -1}}, "Lead Odo"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [edit, refused, words] = cases[i];
        SCOPED_TRACE(i);
        VehicleSettings settings;
        settings.customNames[1] = "Wipers";
        CReminderSetupForm form{settings};
        edit(form.fields());
        const VehicleSettings before = settings;
        const auto refusal = form.writeBack(settings);
        ASSERT_EQ(refusal.has_value(), refused.has_value());
        if (!refusal)
            continue;
        EXPECT_EQ(std::pair(refusal->field, refusal->row), *refused);
        EXPECT_NE(refusal->message.find(words), std::string::npos) << refusal->message;
        EXPECT_EQ(settings, before);
    }
}

TEST(ReminderSetupFormTest, RowsShowAndWriteBackTheirOwnSettings) {
    VehicleSettings s;
    s.oilDistance = 3000, s.oilDays = 90, s.coolDistance = 30000.5, s.coolDays = 730, s.tireDistance = 6000;
    s.tireDays = 180, s.tuneDistance = 15000, s.tuneDays = 365, s.transDistance = 60000, s.transDays = 1095;
    s.customNames = {"Wipers", "", "", "", "Brakes"}, s.customDistance[4] = 40000, s.customDays[0] = 200;
    s.leadDays = 14, s.leadOdo = 250;
    CReminderSetupForm form{s};
    const auto& rows = form.fields().rows;
    EXPECT_EQ(std::tie(rows[1].name, rows[1].distanceText, rows[2].distanceText, rows[4].daysText, rows[9].name,
                       rows[9].distanceText, form.fields().leadDaysText),
              std::tuple("Coolant Flush", "30000.5", "6000", "1095", "Brakes", "40000", "14"));
    auto& f = form.fields();
    f.rows[3].daysText = "400", f.rows[4].distanceText = " 50000 ", f.rows[7].name = "Battery";
    f.rows[5].daysText = "210", f.leadDaysText = "7", f.leadOdoText = "99.5";
    VehicleSettings out = s;
    ASSERT_FALSE(form.writeBack(out));
    VehicleSettings expected = s;
    expected.tuneDays = 400, expected.transDistance = 50000, expected.customNames[2] = "Battery";
    expected.customDays[0] = 210, expected.leadDays = 7, expected.leadOdo = 99.5;
    EXPECT_EQ(out, expected);
}

TEST(GraphSetupFormTest, BarWidthTypedIsTakenOnlyWithinTwoToNineteenButAColourPickTakesIt) {
    // typed; bar width after leaving the field (5 before); refused
    const std::tuple<const char*, int, bool> cases[] = {
        {"2", 2, false},  {"19", 19, false}, {"20", 5, false}, {"1", 5, false},
        {"25", 5, false}, {"26", 5, true},   {"0", 5, true},   {"wide", 5, true},
    };
    for (const auto& [typed, width, refused] : cases) {
        SCOPED_TRACE(typed);
        GraphSettings settings;
        CGraphSetupForm form{settings};
        form.barWidthText = typed;
        EXPECT_EQ(form.barWidthLeft().has_value(), refused);
        EXPECT_EQ(settings.barWidth, width);
        form.gridText = "9";
        EXPECT_EQ(form.colourPicked().has_value(), refused);
        EXPECT_EQ(settings.barWidth, refused ? 5 : std::stoi(typed));
        EXPECT_EQ(settings.grid, refused ? 5 : 9);
    }
    GraphSettings settings;
    CGraphSetupForm form{settings};
    form.gridText = "12";
    EXPECT_FALSE(form.gridLeft());
    form.gridText = "1 2";
    EXPECT_TRUE(form.gridLeft() && form.colourPicked() && settings.grid == 12);
}

TEST(ListFontFormTest, SizeAndHeightFollowTheScreenResolution) {
    // size, dpi, height
    const std::tuple<int, int, int> cases[] = {{8, 96, -10}, {12, 96, -16}, {10, 120, -16}, {36, 72, -36}};
    for (const auto& [size, dpi, height] : cases) {
        SCOPED_TRACE(testing::Message() << size << " pt at " << dpi);
        CListFontForm form{-11, dpi};
        EXPECT_TRUE(form.sizeEntered(std::to_string(size)));
        EXPECT_EQ(form.height(), height);
    }
    EXPECT_EQ(std::pair(CListFontForm(-16, 96).size(), CListFontForm(-11, 96).size()), std::pair(12, 8)); // 8.25 cut
    for (const char* typed : {"0", "-12", "abc", "", "12pt"}) {
        CListFontForm form{-13, 96};
        EXPECT_FALSE(form.sizeEntered(typed)) << typed;
        EXPECT_EQ(form.height(), -13) << typed;
    }
}

} // namespace

namespace {

TEST(VehicleSetupFormTest, WritesEveryFieldButTheVinAndRefusesNumbersItCannotTake) {
    VehicleSettings s;
    s.vin = "VIN1", s.year = 2004, s.startOdometer = 1200, s.costPerMile = 0.4, s.company = "Old";
    CVehicleSetupForm form{s};
    auto& f = form.fields();
    EXPECT_EQ(std::tie(f.vin, f.yearText, f.startOdometerText, f.rateText), std::tuple("VIN1", "2004", "1200", "0.4"));
    using F = CVehicleSetupForm::Field;
    for (const auto& [year, odometer, rate, field] :
         {std::tuple("later", "1", "1", F::Year), std::tuple("2005", "1 km", "1", F::StartOdometer),
          std::tuple("2005", "1", "", F::Rate)}) {
        std::tie(f.yearText, f.startOdometerText, f.rateText) = std::tuple(year, odometer, rate);
        VehicleSettings out = s;
        const auto refused = form.writeBack(out);
        ASSERT_TRUE(refused) << year << odometer << rate;
        EXPECT_EQ(refused->field, field);
        EXPECT_EQ(out, s);
    }
    std::tie(f.vin, f.yearText, f.plate, f.make, f.model) = std::tuple("NEW", "2005", "P-1", "Mk", "Md");
    std::tie(f.startOdometerText, f.rateText, f.distanceUnit, f.liquid, f.economyUnit, f.company) =
        std::tuple("1500.5", "0.455", 1, 2, 4, "Acme");
    VehicleSettings out = s;
    ASSERT_FALSE(form.writeBack(out));
    VehicleSettings expected = s;
    std::tie(expected.year, expected.plate, expected.make, expected.model, expected.startOdometer) =
        std::tuple(2005, "P-1", "Mk", "Md", 1500.5);
    std::tie(expected.costPerMile, expected.distanceUnit, expected.liquid, expected.economyUnit, expected.company) =
        std::tuple(0.455, 1, 2, 4, "Acme");
    EXPECT_EQ(out, expected);
}

TEST(SetupSettingsTest, ListAppearanceAndGraphSettingsComeBackAsWritten) {
    logtest::TempFolder folder;
    CAppProfile profile(folder.path() + "/profile.ini");
    ListAppearance list;
    list.font = {"Serif", -15, 400, true, true, 5};
    list.grid = true, list.lines = false, list.lineColour = {1, 2, 3}, list.fontColour = {4, 5, 6};
    GraphSettings graph;
    graph.graphType = 1, graph.barWidth = 9, graph.grid = 7, graph.showGrid = false, graph.labels = false;
    graph.background = {10, 11, 12}, graph.text = {13, 14, 15}, graph.data = {16, 17, 18};
    graph.average = {19, 20, 21}, graph.gridColour = {22, 23, 24}, graph.selection = {25, 26, 27};
    graph.animate = true;
    ASSERT_TRUE(list.write(profile) && graph.write(profile));
    EXPECT_EQ(ListAppearance::read(profile), list);
    EXPECT_EQ(GraphSettings::read(profile), graph);
    // The odometer font is written with the list font, as it was.
    EXPECT_EQ(
        std::tuple(profile.getText(ProfileKeys::OdoFontName, "-"), profile.getText(ProfileKeys::OdoFontHeight, "-")),
        std::tuple("BritannicEFBold", "28"));
}

} // namespace
