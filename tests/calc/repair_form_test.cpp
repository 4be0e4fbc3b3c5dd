// The repair form's rules: the icon code that follows the description, the run-wide
// default icon, the icon buttons, the values a record opens with and what Save writes.

#include "calc/repair_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr DVTime kStart = 1'700'000'000;

class RepairFormTest : public ::testing::Test {
protected:
    void SetUp() override { CRepairForm::resetDefaultIcon(); }
    void TearDown() override { CRepairForm::resetDefaultIcon(); }

    CRepairForm::Context context() const {
        CRepairForm::Context c;
        c.lastMaintType = "Brake pads";
        c.lastMaintLoc = "Joe's Garage";
        c.startTime = kStart;
        c.currentOdometer = 52'300;
        return c;
    }

    static CDVItem existing(std::string description, int icon, double odometer = 41'000) {
        CDVItem item;
        item.EntryType = CDVItem::Repair;
        item.Icon = icon;
        item.Odometer = odometer;
        item.Date = 1'650'000'000;
        item.Entry = std::move(description);
        item.Station = "Dealer";
        item.Invoice = "INV-7";
        item.Note = "front and rear";
        item.Cost = 129.5;
        return item;
    }

    // The texts a form shows, in one list so that a whole form compares at once.
    static std::vector<std::string> texts(const CRepairForm::Fields& f) {
        return {f.description, f.location, f.odometer, f.cost, f.invoice, f.details};
    }

    CRepairForm opened(const CDVItem& item) const {
        CRepairForm form;
        form.open(item, context());
        return form;
    }

    int codeFor(const std::string& description) {
        CRepairForm form;
        form.open(CDVItem{}, context());
        form.fields().description = description;
        form.matchDescription();
        return form.iconCode();
    }
};

TEST_F(RepairFormTest, DescriptionGivesTheReminderCode) {
    const struct {
        const char* description;
        int code;
    } cases[] = {
        {"Oil Change", 4},
        {"Full Oil Change and filter", 4}, // anywhere in the text
        {"oil change", 1},                 // case matters
        {"Tune-Up", 5},
        {"Major Tune-Up", 1}, // not at the start: the default icon's code
        {"Transmission Service 60k", 6},
        {"Coolant Flush", 7},
        {"Rotate Tires and balance", 17},
        {"Tune-Up with Oil Change", 5}, // the later rule wins
        {"Oil Change then Tune-Up", 4},
        {"Oil Change; Rotate Tires", 4}, // Rotate Tires not at the start
        {"Rotate Tires, Oil Change", 17},
        {"Brake pads", 1},
        {"", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(codeFor(c.description), c.code) << c.description;
}

TEST_F(RepairFormTest, PickTakesTheItemThenMatches) {
    CRepairForm form;
    form.open(CDVItem{}, context());
    form.pickDescription("Coolant Flush");
    EXPECT_EQ(form.fields().description, "Coolant Flush");
    EXPECT_EQ(form.iconCode(), 7);
    EXPECT_EQ(form.selectedIcon(), RepairIcon::Coolant);
}

TEST_F(RepairFormTest, DefaultIconFollowsOpenedEntriesForTheWholeRun) {
    EXPECT_EQ(CRepairForm::defaultIcon(), RepairIcon::General);
    opened(existing("Oil Change", 4));
    EXPECT_EQ(CRepairForm::defaultIcon(), RepairIcon::OilChange);

    // A later new entry that names no reminder type takes the Oil Change code.
    const CRepairForm second = opened(CDVItem{});
    EXPECT_EQ(second.fields().description, "Brake pads");
    EXPECT_EQ(second.iconCode(), 4);
    EXPECT_EQ(second.selectedIcon(), RepairIcon::OilChange);

    // New entries and button codes leave it alone; a general repair resets it.
    const struct {
        int icon;
        RepairIcon after;
    } steps[] = {{13, RepairIcon::OilChange}, {17, RepairIcon::RotateTires}, {1, RepairIcon::General}};
    for (const auto& step : steps) {
        opened(existing("Wipers", step.icon));
        EXPECT_EQ(CRepairForm::defaultIcon(), step.after) << step.icon;
    }
}

// The description would match Oil Change; opening a stored entry does not match it.
TEST_F(RepairFormTest, OpeningExistingEntryKeepsItsCode) {
    const std::pair<int, RepairIcon> cases[] = {
        {4, RepairIcon::OilChange}, {7, RepairIcon::Coolant}, {8, RepairIcon::Caution}, {12, RepairIcon::TrafficSignal},
        {16, RepairIcon::Wrench},   {17, RepairIcon::Tire},   {1, RepairIcon::General},
    };
    for (const auto& [stored, selected] : cases) {
        CRepairForm::resetDefaultIcon();
        const CRepairForm form = opened(existing("Oil Change", stored));
        EXPECT_EQ(form.iconCode(), stored);
        EXPECT_EQ(form.selectedIcon(), selected) << stored;
    }
    // Code 0 takes the default icon's code.
    opened(existing("Coolant Flush", 7));
    const CRepairForm zero = opened(existing("Brakes", 0));
    EXPECT_EQ(zero.iconCode(), 7);
    EXPECT_EQ(zero.selectedIcon(), RepairIcon::Coolant);
}

TEST_F(RepairFormTest, IconButtonsSetTheirCodeAndKeepTheDescription) {
    CRepairForm form;
    form.open(existing("Oil Change", 4), context());
    for (int code = 8; code <= 17; ++code) {
        const auto button = CRepairForm::buttonFor(code);
        ASSERT_TRUE(button) << code;
        form.chooseIcon(*button);
        EXPECT_EQ(form.iconCode(), code);
        EXPECT_EQ(form.selectedIcon(), *button);
        EXPECT_EQ(form.fields().description, "Oil Change");
    }
    EXPECT_FALSE(CRepairForm::buttonFor(7));
    EXPECT_FALSE(CRepairForm::buttonFor(18));
    form.useDefaultIcon();
    EXPECT_EQ(form.iconCode(), 4);
    EXPECT_EQ(form.selectedIcon(), RepairIcon::OilChange);
}

TEST_F(RepairFormTest, NewEntryStartsFromRememberedTexts) {
    CRepairForm::Context c = context();
    c.lastMaintType = "Tune-Up";
    CRepairForm form;
    form.open(CDVItem{}, c);
    EXPECT_EQ(texts(form.fields()), (std::vector<std::string>{"Tune-Up", "Joe's Garage", "52300", "0", "", ""}));
    EXPECT_EQ(form.fields().date, kStart);
    EXPECT_EQ(form.iconCode(), 5);
}

TEST_F(RepairFormTest, ZeroOdometerClearsTheTexts) {
    CRepairForm form;
    form.open(existing("Oil Change", 4, 0), context());
    EXPECT_EQ(texts(form.fields()), (std::vector<std::string>{"", "", "52300", "0", "", ""}));
    EXPECT_EQ(form.fields().date, kStart);

    CDVItem saved;
    ASSERT_TRUE(form.save(saved).saved);
    EXPECT_EQ(saved.Entry, "");
    EXPECT_EQ(saved.Station, "");
    EXPECT_EQ(saved.Odometer, 52'300);
}

TEST_F(RepairFormTest, SaveFillsEveryField) {
    CRepairForm form;
    form.open(existing("Oil Change", 17), context());
    auto& f = form.fields();
    f.odometer = " 41250.5 ";
    f.cost = "89.99";
    f.location = "Quick Lube";
    f.details = "synthetic\n5W-30";

    CDVItem record;
    record.Quantity = 9;
    record.Purpose = "left over";
    record.DisplayPos = 3;
    record.Economy = 31;
    const auto outcome = form.save(record);
    ASSERT_TRUE(outcome.saved);
    EXPECT_EQ(outcome.lastMaintType, "Oil Change");
    EXPECT_EQ(outcome.lastMaintLoc, "Quick Lube");

    CDVItem expected;
    expected.Icon = 17;
    expected.EntryType = CDVItem::Repair;
    expected.Odometer = 41'250.5;
    expected.Date = 1'650'000'000;
    expected.Note = "synthetic\n5W-30";
    expected.Station = "Quick Lube";
    expected.Invoice = "INV-7";
    expected.Entry = "Oil Change";
    expected.Cost = 89.99;
    EXPECT_EQ(record, expected);
}

TEST_F(RepairFormTest, CodeZeroIsSavedAsGeneralRepair) {
    CRepairForm form;
    form.open(existing("Brakes", 2), context());
    EXPECT_EQ(form.iconCode(), 2);
    CDVItem record;
    form.save(record);
    EXPECT_EQ(record.Icon, 2);
    form.chooseIcon(RepairIcon::Neutral);
    form.save(record);
    EXPECT_EQ(record.Icon, 1);
}

TEST_F(RepairFormTest, RefusedNumberLeavesRecordAlone) {
    for (const auto& [odometer, cost, field] :
         {std::tuple{"12a", "5", "Odometer"}, std::tuple{"", "5", "Odometer"}, std::tuple{"100", "1,50", "Total Cost"},
          std::tuple{"100", "nan", "Total Cost"}}) {
        CRepairForm form;
        form.open(existing("Brakes", 1), context());
        form.fields().odometer = odometer;
        form.fields().cost = cost;
        CDVItem record = existing("untouched", 9);
        const CDVItem before = record;
        const auto outcome = form.save(record);
        EXPECT_FALSE(outcome.saved);
        EXPECT_EQ(outcome.refusal.rfind(field, 0), 0u) << outcome.refusal;
        EXPECT_EQ(record, before);
    }
}

} // namespace
