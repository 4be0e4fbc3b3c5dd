#include "calc/repair_form.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;
constexpr DVTime kStart = 1'700'000'000;

// The default icon lasts for the whole run, so every test starts from a fresh one.
class RepairFormTest : public ::testing::Test {
protected:
    void SetUp() override { CRepairForm::resetDefaultIcon(); }
    void TearDown() override { CRepairForm::resetDefaultIcon(); }

    static CDVItem existing(std::string description, int icon, double odometer = 41'000) {
        CDVItem e;
        e.EntryType = CDVItem::Repair, e.Icon = icon, e.Odometer = odometer, e.Date = 1'650'000'000, e.Cost = 129.5;
        e.Entry = std::move(description), e.Station = "Dealer", e.Invoice = "INV-7", e.Note = "front and rear";
        return e;
    }
    static CRepairForm opened(const CDVItem& item, std::string lastType = "Brake pads") {
        CRepairForm::Context c;
        c.lastMaintType = std::move(lastType), c.lastMaintLoc = "Joe's Garage", c.startTime = kStart;
        c.currentOdometer = 52'300;
        CRepairForm form;
        form.open(item, c);
        return form;
    }
    static Texts texts(const CRepairForm::Fields& f) {
        return {f.description, f.location, f.odometer, f.cost, f.invoice, f.details};
    }
};

// Oil Change counts anywhere in the text, the others only at the start; the later rule wins.
TEST_F(RepairFormTest, DescriptionGivesTheReminderCode) {
    // clang-format off
    const std::pair<const char*, int> cases[] = {{"Full Oil Change and filter", 4}, {"oil change", 1}, {"Tune-Up", 5},
        {"Major Tune-Up", 1}, {"Transmission Service 60k", 6}, {"Coolant Flush", 7}, {"Rotate Tires and balance", 17},
        {"Tune-Up with Oil Change", 5}, {"Oil Change; Rotate Tires", 4}, {"Rotate Tires, Oil Change", 17}, {"", 1}};
    // clang-format on
    for (const auto& [description, code] : cases) {
        CRepairForm form = opened(CDVItem{});
        form.fields().description = description;
        form.matchDescription();
        EXPECT_EQ(form.iconCode(), code) << description;
    }
    // Picking from the list takes the item, then matches it.
    CRepairForm form = opened(CDVItem{});
    form.pickDescription("Coolant Flush");
    EXPECT_EQ(std::tuple(form.fields().description, form.iconCode(), form.selectedIcon()),
              std::tuple("Coolant Flush", 7, RepairIcon::Coolant));
}

// An opened entry keeps its code even where the description would match another; a reminder code
// also becomes the default icon for the rest of the run, a general repair resets it, and a button
// code leaves it alone.
TEST_F(RepairFormTest, OpenedEntryKeepsItsCodeAndSetsTheDefaultIcon) {
    // clang-format off
    const std::tuple<int, RepairIcon, RepairIcon> cases[] = {{4, RepairIcon::OilChange, RepairIcon::OilChange},
        {7, RepairIcon::Coolant, RepairIcon::Coolant}, {8, RepairIcon::Caution, RepairIcon::General},
        {17, RepairIcon::Tire, RepairIcon::RotateTires}, {1, RepairIcon::General, RepairIcon::General}};
    // clang-format on
    for (const auto& [stored, selected, defaultAfter] : cases) {
        CRepairForm::resetDefaultIcon();
        const CRepairForm form = opened(existing("Oil Change", stored));
        EXPECT_EQ(std::tuple(form.iconCode(), form.selectedIcon(), CRepairForm::defaultIcon()),
                  std::tuple(stored, selected, defaultAfter));
    }
    opened(existing("Coolant Flush", 7));
    opened(existing("Wipers", 13));
    // A new entry that names no reminder type, and a stored one with code 0, take the default's code.
    const CRepairForm fresh = opened(CDVItem{}), zero = opened(existing("Brakes", 0));
    EXPECT_EQ(std::tuple(fresh.fields().description, fresh.iconCode(), fresh.selectedIcon()),
              std::tuple("Brake pads", 7, RepairIcon::Coolant));
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

// A new entry starts from the remembered texts; a stored one at odometer 0 opens cleared.
TEST_F(RepairFormTest, NewEntryAndZeroOdometer) {
    const CRepairForm form = opened(CDVItem{}, "Tune-Up");
    EXPECT_EQ(texts(form.fields()), (Texts{"Tune-Up", "Joe's Garage", "52300", "0", "", ""}));
    EXPECT_EQ(std::tuple(form.fields().date, form.iconCode()), std::tuple(kStart, 5));
    const CRepairForm zero = opened(existing("Oil Change", 4, 0));
    EXPECT_EQ(texts(zero.fields()), (Texts{"", "", "52300", "0", "", ""}));
    EXPECT_EQ(zero.fields().date, kStart);
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
    // The neutral button's code 0 is saved as a general repair.
    form.chooseIcon(RepairIcon::Neutral);
    form.save(record);
    EXPECT_EQ(record.Icon, 1);
}

TEST_F(RepairFormTest, RefusedNumberLeavesRecordAlone) {
    for (const auto& [odometer, cost, field] : {std::tuple{"12a", "5", "Odometer"}, std::tuple{"", "5", "Odometer"},
                                                std::tuple{"100", "1,50", "Total Cost"}}) {
        CRepairForm form = opened(existing("Brakes", 1));
        form.fields().odometer = odometer, form.fields().cost = cost;
        CDVItem record = existing("untouched", 9);
        const auto outcome = form.save(record);
        EXPECT_FALSE(outcome.saved);
        EXPECT_EQ(outcome.refusal.rfind(field, 0), 0u) << outcome.refusal;
        EXPECT_EQ(record, existing("untouched", 9));
    }
}

} // namespace
