// The repair form's rules: the icon code that follows the description, the run-wide
// default icon, the icon buttons, the values a record opens with and what Save writes.

#include "calc/repair_form.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr DVTime kStart = 1'700'000'000;

class RepairFormTest : public ::testing::Test {
protected:
    void SetUp() override { CRepairForm::resetDefaultIcon(); }
    void TearDown() override { CRepairForm::resetDefaultIcon(); }

    CRepairForm::Context context() const {
        CRepairForm::Context c;
        c.lastMaintType = "Brake pads", c.lastMaintLoc = "Joe's Garage", c.startTime = kStart,
        c.currentOdometer = 52'300;
        return c;
    }

    static CDVItem existing(std::string description, int icon, double odometer = 41'000) {
        CDVItem e;
        e.EntryType = CDVItem::Repair, e.Icon = icon, e.Odometer = odometer, e.Date = 1'650'000'000;
        e.Entry = std::move(description), e.Station = "Dealer", e.Invoice = "INV-7", e.Note = "front and rear";
        e.Cost = 129.5;
        return e;
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
        CRepairForm form = opened(CDVItem{});
        form.fields().description = description;
        form.matchDescription();
        return form.iconCode();
    }
};

TEST_F(RepairFormTest, DescriptionGivesTheReminderCode) {
    // Oil Change counts anywhere in the text, the others only at the start; the later rule wins.
    const std::pair<const char*, int> cases[] = {{"Oil Change", 4},
                                                 {"Full Oil Change and filter", 4},
                                                 {"oil change", 1},
                                                 {"Tune-Up", 5},
                                                 {"Major Tune-Up", 1},
                                                 {"Transmission Service 60k", 6},
                                                 {"Coolant Flush", 7},
                                                 {"Rotate Tires and balance", 17},
                                                 {"Tune-Up with Oil Change", 5},
                                                 {"Oil Change then Tune-Up", 4},
                                                 {"Oil Change; Rotate Tires", 4},
                                                 {"Rotate Tires, Oil Change", 17},
                                                 {"Brake pads", 1},
                                                 {"", 1}};
    for (const auto& [description, code] : cases)
        EXPECT_EQ(codeFor(description), code) << description;

    // Picking from the list takes the item, then matches it.
    CRepairForm form = opened(CDVItem{});
    form.pickDescription("Coolant Flush");
    EXPECT_EQ(std::tuple(form.fields().description, form.iconCode(), form.selectedIcon()),
              std::tuple("Coolant Flush", 7, RepairIcon::Coolant));
}

TEST_F(RepairFormTest, DefaultIconFollowsOpenedEntriesForTheWholeRun) {
    EXPECT_EQ(CRepairForm::defaultIcon(), RepairIcon::General);
    opened(existing("Oil Change", 4));
    EXPECT_EQ(CRepairForm::defaultIcon(), RepairIcon::OilChange);

    // A later new entry that names no reminder type takes the Oil Change code.
    const CRepairForm second = opened(CDVItem{});
    EXPECT_EQ(std::tuple(second.fields().description, second.iconCode(), second.selectedIcon()),
              std::tuple("Brake pads", 4, RepairIcon::OilChange));

    // New entries and button codes leave it alone; a general repair resets it.
    const std::pair<int, RepairIcon> steps[] = {
        {13, RepairIcon::OilChange}, {17, RepairIcon::RotateTires}, {1, RepairIcon::General}};
    for (const auto& [icon, after] : steps) {
        opened(existing("Wipers", icon));
        EXPECT_EQ(CRepairForm::defaultIcon(), after) << icon;
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
        EXPECT_EQ(std::tuple(form.iconCode(), form.selectedIcon()), std::tuple(stored, selected));
    }
    // Code 0 takes the default icon's code.
    opened(existing("Coolant Flush", 7));
    const CRepairForm zero = opened(existing("Brakes", 0));
    EXPECT_EQ(std::tuple(zero.iconCode(), zero.selectedIcon()), std::tuple(7, RepairIcon::Coolant));
}

TEST_F(RepairFormTest, IconButtonsSetTheirCodeAndKeepTheDescription) {
    CRepairForm form = opened(existing("Oil Change", 4));
    for (int code = 8; code <= 17; ++code) {
        const auto button = CRepairForm::buttonFor(code);
        ASSERT_TRUE(button) << code;
        form.chooseIcon(*button);
        EXPECT_EQ(std::tuple(form.iconCode(), form.selectedIcon(), form.fields().description),
                  std::tuple(code, *button, "Oil Change"));
    }
    EXPECT_FALSE(CRepairForm::buttonFor(7) || CRepairForm::buttonFor(18));
    form.useDefaultIcon();
    EXPECT_EQ(std::tuple(form.iconCode(), form.selectedIcon()), std::tuple(4, RepairIcon::OilChange));
}

TEST_F(RepairFormTest, NewEntryStartsFromRememberedTexts) {
    CRepairForm::Context c = context();
    c.lastMaintType = "Tune-Up";
    CRepairForm form;
    form.open(CDVItem{}, c);
    EXPECT_EQ(texts(form.fields()), (std::vector<std::string>{"Tune-Up", "Joe's Garage", "52300", "0", "", ""}));
    EXPECT_EQ(std::tuple(form.fields().date, form.iconCode()), std::tuple(kStart, 5));
}

TEST_F(RepairFormTest, ZeroOdometerClearsTheTexts) {
    CRepairForm form = opened(existing("Oil Change", 4, 0));
    EXPECT_EQ(texts(form.fields()), (std::vector<std::string>{"", "", "52300", "0", "", ""}));
    EXPECT_EQ(form.fields().date, kStart);
    CDVItem saved;
    ASSERT_TRUE(form.save(saved).saved);
    EXPECT_EQ(std::tuple(saved.Entry, saved.Station, saved.Odometer), std::tuple("", "", 52'300.0));
}

TEST_F(RepairFormTest, SaveFillsEveryField) {
    CRepairForm form = opened(existing("Oil Change", 17));
    auto& f = form.fields();
    f.odometer = " 41250.5 ", f.cost = "89.99", f.location = "Quick Lube", f.details = "synthetic\n5W-30";
    CDVItem record;
    record.Quantity = 9, record.Purpose = "left over", record.DisplayPos = 3, record.Economy = 31;
    const auto outcome = form.save(record);
    ASSERT_TRUE(outcome.saved);
    EXPECT_EQ(std::tuple(outcome.lastMaintType, outcome.lastMaintLoc), std::tuple("Oil Change", "Quick Lube"));
    CDVItem e;
    e.Icon = 17, e.EntryType = CDVItem::Repair, e.Odometer = 41'250.5, e.Date = 1'650'000'000;
    e.Note = "synthetic\n5W-30", e.Station = "Quick Lube", e.Invoice = "INV-7", e.Entry = "Oil Change", e.Cost = 89.99;
    EXPECT_EQ(record, e);
}

TEST_F(RepairFormTest, CodeZeroIsSavedAsGeneralRepair) {
    CRepairForm form = opened(existing("Brakes", 2));
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
        CRepairForm form = opened(existing("Brakes", 1));
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
