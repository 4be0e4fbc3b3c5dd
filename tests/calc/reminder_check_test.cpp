#include "calc/reminder_check.h"

#include "calc/units.h"
#include "fixed_locale.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

// Readable failure output for line lists.
void PrintTo(const ReminderLine& line, std::ostream* os) {
    *os << '"' << line.text << "\" image " << line.image;
}

namespace {

using Line = ReminderLine;
using Urgency = CReminderCheck::Urgency;

const DVTime kToday = utcTime(2026, 12, 5, 12, 0);
constexpr DVTime kDay = 86400;

CDVItem entry(const std::string& text, double odometer, DVTime date = kToday, int icon = 0) {
    CDVItem e;
    e.EntryType = CDVItem::Repair, e.Entry = text, e.Odometer = odometer, e.Date = date, e.Icon = icon;
    return e;
}

VehicleSettings vehicle() {
    VehicleSettings v;
    v.name = "Van";
    v.distanceUnit = units::kMiles;
    return v;
}

std::vector<Line> listOf(const std::vector<CDVItem>& entries, const VehicleSettings& v, double current,
                         DVTime today = kToday, std::string lastBackup = "Unknown") {
    return CReminderCheck::buildList(entries, v, {current, today, lastBackup}).lines;
}

const Line kBackupUnknown{"Last Backup: Unknown", 6};

TEST(ReminderList, DistanceCountsFromTheStartOdometerWithoutEntries) {
    VehicleSettings v = vehicle();
    v.oilDistance = 5000, v.leadOdo = 500, v.startOdometer = 10000;
    const auto result = CReminderCheck::buildList(std::vector<CDVItem>{}, v, {14600, kToday});
    EXPECT_EQ(result.lines, (std::vector<Line>{{"Oil change due in: 400     Miles", 8}, kBackupUnknown}));
    for (int k = 0; k < CReminderCheck::kKindCount; ++k) {
        EXPECT_EQ(result.lastMileage[k], 10000) << k;
        EXPECT_EQ(result.lastDays[k], 0) << k;
    }
}

TEST(ReminderList, ExactIntervalGivesOverdueAndDueLinesWithZero) {
    VehicleSettings v = vehicle();
    v.oilDistance = 5000, v.distanceUnit = units::kKilometres;
    EXPECT_EQ(listOf({entry("Oil Change", 1000)}, v, 6000),
              (std::vector<Line>{
                  {"Oil change due in: 0       Km", 8}, {"Oil change OVERDUE by: 0       Km", 4}, kBackupUnknown}));
}

TEST(ReminderList, DayMessagesFollowPrintfPrecisionZero) {
    VehicleSettings v = vehicle();
    v.oilDays = 30, v.customNames[1] = "Belt", v.customDays[1] = 10;
    // Twelve and a half days ago count as twelve whole days.
    const std::vector<CDVItem> entries{entry("Oil Change", 100, kToday - 30 * kDay),
                                       entry("Belt check", 100, kToday - 12 * kDay - kDay / 2)};
    const auto result = CReminderCheck::buildList(entries, v, {100, kToday});
    // On the last day the zero prints no digit at all; custom kinds pad to three.
    EXPECT_EQ(result.lines, (std::vector<Line>{{"Belt OVERDUE by: 2   days", 5},
                                               {"Oil change due in:" + std::string(6, ' ') + "days", 8},
                                               kBackupUnknown}));
    EXPECT_EQ(result.lastDays[0], 30);
    EXPECT_EQ(result.lastDays[6], 12);
}

// With the days reminder already open, the distance line still keeps to its own window.
TEST(ReminderList, DistanceDueWindowWhenTheDaysGateIsOpen) {
    // interval, current odometer, due
    const std::tuple<double, double, bool> cases[] = {{1000, 1898, false}, {1000, 1899, true}, {1000, 2000, true},
                                                      {1000, 2001, false}, {0, 1000, false},   {1, 1001, true}};
    for (const auto& [interval, current, expected] : cases) {
        SCOPED_TRACE(std::to_string(interval) + " at " + std::to_string(current));
        VehicleSettings v = vehicle();
        v.oilDistance = interval, v.leadOdo = 100, v.oilDays = 10;
        bool due = false;
        for (const Line& l : listOf({entry("Oil Change", 1000, kToday - 10 * kDay)}, v, current))
            due = due || (l.text.find(" due in: ") != std::string::npos && l.text.find("Miles") != std::string::npos);
        EXPECT_EQ(due, expected);
    }
}

TEST(ReminderList, DaysIntervalZeroNeverAddsADayLine) {
    VehicleSettings v = vehicle();
    v.oilDays = 0, v.oilDistance = 5000, v.leadDays = 5;
    // Gate passes by distance; the old date must not produce a days line.
    EXPECT_EQ(listOf({entry("Oil Change", 1000, kToday - 400 * kDay)}, v, 6500),
              (std::vector<Line>{{"Oil change OVERDUE by: 500     Miles", 4}, kBackupUnknown}));
}

TEST(ReminderList, KindsAreAddedInListOrderWithTheirOwnTexts) {
    VehicleSettings v = vehicle();
    v.oilDistance = v.coolDistance = v.transDistance = v.tireDistance = v.tuneDistance = 1000;
    v.customNames[0] = "Wipers", v.customDistance[0] = 1000, v.leadOdo = 100;
    // Each service 950 short of the current 2000 plus its own offset, so every kind is due soon.
    const std::vector<CDVItem> entries{
        entry("Oil Change", 1010),           entry("Coolant", 1020), entry("Transmission", 1030),
        entry("Rotate Tires", 1040),         entry("Tune", 1050),    entry("Wipers", 1060),
        entry("Trip to work", 0, kToday, 18)};
    const auto result = CReminderCheck::buildList(entries, v, {2000, kToday});
    EXPECT_EQ(result.lines, (std::vector<Line>{{"Wipers due in: 60      Miles", 8},
                                               {"Found 1    open trip(s)", 3},
                                               {"Tune-Up due in: 50      Miles", 8},
                                               {"Tore Rotate due in: 40      Miles", 8},
                                               {"Trans Service due in: 30      Miles", 8},
                                               {"Coolant flush due in: 20      Miles", 8},
                                               {"Oil change due in: 10      Miles", 8},
                                               kBackupUnknown}));
    // Registry order: oil, coolant, transmission, tune-up, tires, custom 1..5.
    const std::array<double, 10> expected{1010, 1020, 1030, 1050, 1040, 1060, 0, 0, 0, 0};
    EXPECT_EQ(result.lastMileage, expected);

    VehicleSettings stored = v;
    CReminderCheck::storeLastDone(result, stored);
    EXPECT_EQ(stored.lastMileage, expected);
    EXPECT_EQ(stored.lastDate, result.lastDays);
}

TEST(ReminderList, OverdueTextsOfTheFixedKinds) {
    VehicleSettings v = vehicle();
    v.coolDays = v.transDays = v.tireDays = v.tuneDays = 10;
    const DVTime old = kToday - 13 * kDay;
    const auto lines = listOf(
        {entry("Cool", 1, old), entry("Transmission", 1, old), entry("Rotate", 1, old), entry("Tune", 1, old)}, v, 1);
    EXPECT_EQ(lines, (std::vector<Line>{{"Tune-Up OVERDUE by: 3    days", 5},
                                        {"Tire Rotate OVERDUE by: 3    days", 5},
                                        {"Trans. Service OVERDUE by: 3    days", 5},
                                        {"Coolant flush OVERDUE by: 3    days", 5},
                                        kBackupUnknown}));
}

TEST(ReminderList, OpenTripsNeedTripTextAndIcon18) {
    VehicleSettings v = vehicle();
    const std::vector<CDVItem> entries{entry("Trip", 0, kToday, 18), entry("Trip home", 0, kToday, 18),
                                       entry("Trip", 0, kToday, 17), entry("trip", 0, kToday, 18)};
    EXPECT_EQ(listOf(entries, v, 0), (std::vector<Line>{{"Found 2    open trip(s)", 3}, kBackupUnknown}));
}

TEST(ReminderList, NothingDueShowsWelcomeAboveNoRemindersAndBackup) {
    VehicleSettings v = vehicle();
    v.oilDistance = 5000, v.oilDays = 90, v.leadOdo = 500, v.leadDays = 10;
    const std::string backup = "30.11.2026 18:45";
    const std::vector<CDVItem> entries{entry("Oil Change", 1000, kToday - 70 * kDay)};
    const std::vector<Line> nothingDue{
        {"Welcome to Odrivo", 0}, {"No reminders due", 2}, {"Last Backup: 30.11.2026 18:45", 6}};
    EXPECT_EQ(listOf(entries, v, 5400, kToday, backup), nothingDue);

    v.name = "My Vehicle 2";
    std::vector<Line> sample = nothingDue;
    sample.insert(sample.begin(), {"Sample Vehicle, Select File->New", 0});
    EXPECT_EQ(listOf(entries, v, 5400, kToday, backup), sample);

    // The sample line also comes when reminders are due.
    EXPECT_EQ(listOf(entries, v, 5600, kToday, backup).front(), sample.front());
}

TEST(ReminderCheck, KeywordsAreCaseSensitivePrefixesPerDisplay) {
    // entry text, registry index of the kind, tab row, found by the list, found by the tab
    const std::tuple<const char*, int, int, bool, bool> cases[] = {
        {"Oil Change", 0, 0, true, true},      {"oil change", 0, 0, false, false},
        {" Oil Change", 0, 0, false, false},   {"Coolant Flush", 1, 1, true, true},
        {"Coolant", 1, 1, true, false},        {"Rotate Tires", 4, 2, true, true},
        {"Tire Rotation", 4, 2, false, false}, {"Tune-Up done", 3, 3, true, true},
        {"Tune", 3, 3, true, false},           {"Transmission Service", 2, 4, true, true},
        {"Transmission", 2, 4, true, false},   {"Wipers front", 5, 5, true, true},
        {"wipers", 5, 5, false, false},
    };
    VehicleSettings v = vehicle();
    v.customNames[0] = "Wipers";
    for (const auto& [text, settingsIndex, tabRow, inList, inTab] : cases) {
        const std::vector<CDVItem> entries{entry(text, 1234)};
        EXPECT_EQ(CReminderCheck::buildList(entries, v, {2000, kToday}).lastMileage[settingsIndex], inList ? 1234 : 0)
            << text;
        const auto tab = CReminderCheck::buildTab(entries, v, 2000, kToday, FixedLocale());
        EXPECT_EQ(tab[tabRow].lastOdometer.text, inTab ? "   1234" : "-------") << text;
    }
}

TEST(ReminderCheck, EmptyCustomNameMatchesNothing) {
    const VehicleSettings v = vehicle();
    const std::vector<CDVItem> entries{entry("", 500), entry("Anything", 600)};
    const auto list = CReminderCheck::buildList(entries, v, {700, kToday});
    EXPECT_EQ(list.lastMileage[5], 0);
    const auto tab = CReminderCheck::buildTab(entries, v, 700, kToday, FixedLocale());
    EXPECT_EQ(tab[5].label, "Undefined");
    EXPECT_EQ(tab[5].lastOdometer.text, "-------");
}

TEST(ReminderTab, LabelsAndBlankCells) {
    VehicleSettings v = vehicle();
    v.customNames[2] = "Brakes";
    const auto tab = CReminderCheck::blankTab(v);
    EXPECT_EQ(tab[7].label, "Brakes");
    for (int r = 0; r < CReminderCheck::kKindCount; ++r) {
        for (const auto* cell : {&tab[r].lastOdometer, &tab[r].lastDate, &tab[r].dueOdometer, &tab[r].dueDate})
            EXPECT_EQ(*cell, (CReminderCheck::TabCell{"-------", Urgency::Normal}));
    }
}

TEST(ReminderTab, CellsAndUrgency) {
    VehicleSettings v = vehicle();
    v.oilDistance = 5000, v.oilDays = 90, v.leadOdo = 500;
    v.leadDays = 10.9; // whole days: 10
    const DVTime done = utcTime(2026, 6, 1, 9, 0);
    const std::vector<CDVItem> entries{entry("Oil Change", 7000, done - 200 * kDay), entry("Oil Change", 0, done),
                                       entry("Oil Change", 10000, done)};
    const std::tuple<double, DVTime, Urgency, Urgency> cases[] = {
        {14499, done + 79 * kDay, Urgency::Normal, Urgency::Normal},
        {14500, done + 80 * kDay, Urgency::DueSoon, Urgency::DueSoon},
        {14999, done + 90 * kDay - 1, Urgency::DueSoon, Urgency::DueSoon},
        {15000, done + 90 * kDay, Urgency::Overdue, Urgency::Overdue},
    };
    for (const auto& [current, today, odometer, date] : cases) {
        const auto row = CReminderCheck::buildTab(entries, v, current, today, FixedLocale())[0];
        EXPECT_EQ(row.lastOdometer.text + " " + row.lastDate.text, "  10000 01.06.2026");
        EXPECT_EQ(row.dueOdometer, (CReminderCheck::TabCell{"  15000", odometer})) << current;
        EXPECT_EQ(row.dueDate, (CReminderCheck::TabCell{"30.08.2026", date})) << today;
    }

    // A days interval of 0 leaves "or on" blank, a distance interval of 0 "Due at".
    v.oilDays = v.oilDistance = 0;
    const auto tab = CReminderCheck::buildTab(entries, v, 20000, done + 400 * kDay, FixedLocale());
    EXPECT_EQ(tab[0].lastOdometer.text, "  10000");
    EXPECT_EQ(tab[0].dueOdometer, (CReminderCheck::TabCell{"-------", Urgency::Normal}));
    EXPECT_EQ(tab[0].dueDate, (CReminderCheck::TabCell{"-------", Urgency::Normal}));
}

} // namespace
