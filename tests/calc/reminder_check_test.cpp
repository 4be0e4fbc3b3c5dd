#include "calc/reminder_check.h"

#include "calc/units.h"
#include "fixed_locale.h"

#include <gtest/gtest.h>

#include <random>

// Readable failure output for line lists.
void PrintTo(const ReminderLine& line, std::ostream* os) {
    *os << '"' << line.text << "\" image " << line.image;
}

namespace {

using Line = ReminderLine;
using Lines = std::vector<Line>;
using Urgency = CReminderCheck::Urgency;
using Cell = CReminderCheck::TabCell;

const DVTime kToday = utcTime(2026, 12, 5, 12, 0);
constexpr DVTime kDay = 86400;
const Line kBackupUnknown{"Last Backup: Unknown", 6};

CDVItem entry(const std::string& text, double odometer, DVTime date = kToday, int icon = 0) {
    CDVItem e;
    e.EntryType = CDVItem::Repair, e.Entry = text, e.Odometer = odometer, e.Date = date, e.Icon = icon;
    return e;
}

VehicleSettings vehicle(double oilDistance = 0, int oilDays = 0, double leadOdo = 0) {
    VehicleSettings v;
    v.name = "Van", v.distanceUnit = units::kMiles, v.oilDistance = oilDistance, v.oilDays = oilDays;
    v.leadOdo = leadOdo;
    return v;
}

Lines listOf(const std::vector<CDVItem>& entries, const VehicleSettings& v, double current) {
    return CReminderCheck::buildList(entries, v, {current, kToday, "Unknown"}).lines;
}

// Without service entries every kind counts from the start odometer. At exactly the interval both
// the overdue and the due line show 0, below them the open trips (entries beginning with "Trip"
// and icon 18); a days interval of 0 never adds a days line, however old.
TEST(ReminderList, ExactIntervalFromTheStartAndNoDaysInterval) {
    VehicleSettings v = vehicle(5000);
    v.distanceUnit = units::kKilometres, v.startOdometer = 1000;
    const std::vector<CDVItem> trips{entry("Trip to work", 0, kToday, 18), entry("Trip", 0, kToday, 18),
                                     entry("Trip", 0, kToday, 17), entry("trip", 0, kToday, 18)};
    const auto result = CReminderCheck::buildList(trips, v, {6000, kToday});
    EXPECT_EQ(result.lines, (Lines{{"Found 2    open trip(s)", 3},
                                   {"Oil change due in: 0       Km", 8},
                                   {"Oil change OVERDUE by: 0       Km", 4},
                                   kBackupUnknown}));
    EXPECT_EQ(std::tuple(result.lastMileage[0], result.lastMileage[9], result.lastDays[9]),
              std::tuple(1000.0, 1000.0, 0.0));
    v.leadDays = 5;
    EXPECT_EQ(listOf({entry("Oil Change", 1000, kToday - 400 * kDay)}, v, 6500),
              (Lines{{"Oil change OVERDUE by: 500     Km", 4}, kBackupUnknown}));
}

// With nothing due the list says so under a welcome; a sample vehicle's list starts by saying
// how to add a vehicle of one's own.
TEST(ReminderList, NothingDue) {
    VehicleSettings v = vehicle(5000);
    const Lines nothingDue{{"Welcome to Odrivo", 0}, {"No reminders due", 2}, kBackupUnknown};
    EXPECT_EQ(listOf({entry("Oil Change", 100)}, v, 200), nothingDue);
    v.name = "My Vehicle 2";
    Lines sample = nothingDue;
    sample.insert(sample.begin(), {"Sample Vehicle, Select File->New", 0});
    EXPECT_EQ(listOf({entry("Oil Change", 100)}, v, 200), sample);
}

// With the days reminder already open, the distance line still keeps to its own window.
TEST(ReminderList, DistanceDueWindowWhenTheDaysGateIsOpen) {
    // interval, current odometer, due
    const std::tuple<double, double, bool> cases[] = {{1000, 1898, false}, {1000, 1899, true}, {1000, 2000, true},
                                                      {1000, 2001, false}, {0, 1000, false},   {1, 1001, true}};
    for (const auto& [interval, current, expected] : cases) {
        SCOPED_TRACE(std::to_string(interval) + " at " + std::to_string(current));
        bool due = false;
        for (const Line& l :
             listOf({entry("Oil Change", 1000, kToday - 10 * kDay)}, vehicle(interval, 10, 100), current))
            due = due || (l.text.find(" due in: ") != std::string::npos && l.text.find("Miles") != std::string::npos);
        EXPECT_EQ(due, expected);
    }
}

// Each display has its own keywords; an empty custom name matches nothing and shows as "Undefined".
TEST(ReminderCheck, KeywordsAreCaseSensitivePrefixesPerDisplay) {
    // entry text, registry index of the kind, tab row, found by the list, found by the tab
    const std::tuple<const char*, int, int, bool, bool> cases[] = {
        {"Oil Change", 0, 0, true, true},    {" Oil Change", 0, 0, false, false},   {"Coolant", 1, 1, true, false},
        {"Rotate Tires", 4, 2, true, true},  {"Tire Rotation", 4, 2, false, false}, {"Tune-Up done", 3, 3, true, true},
        {"Transmission", 2, 4, true, false}, {"Wipers front", 5, 5, true, true},    {"wipers", 5, 5, false, false},
        {"Anything", 6, 6, false, false}};
    VehicleSettings v = vehicle();
    v.customNames[0] = "Wipers", v.customNames[2] = "Brakes";
    const auto labels = CReminderCheck::blankTab(v);
    EXPECT_EQ((std::vector{labels[0].label, labels[5].label, labels[6].label, labels[7].label}),
              (std::vector<std::string>{"Oil Change", "Wipers", "Undefined", "Brakes"}));
    for (const auto& [text, settingsIndex, tabRow, inList, inTab] : cases) {
        const std::vector<CDVItem> entries{entry(text, 1234)};
        EXPECT_EQ(CReminderCheck::buildList(entries, v, {2000, kToday}).lastMileage[settingsIndex], inList ? 1234 : 0)
            << text;
        const auto tab = CReminderCheck::buildTab(entries, v, 2000, kToday, FixedLocale());
        EXPECT_EQ(tab[tabRow].lastOdometer.text, inTab ? "   1234" : "-------") << text;
    }
}

TEST(ReminderTab, CellsAndUrgency) {
    VehicleSettings v = vehicle(5000, 90, 500);
    v.leadDays = 10.9; // whole days: 10
    const DVTime done = utcTime(2026, 6, 1, 9, 0);
    const std::vector<CDVItem> entries{entry("Oil Change", 7000, done - 200 * kDay), entry("Oil Change", 0, done),
                                       entry("Oil Change", 10000, done)};
    // clang-format off
    const std::tuple<double, DVTime, Urgency> cases[] = {{14499, done + 79 * kDay, Urgency::Normal},
        {14500, done + 80 * kDay, Urgency::DueSoon}, {14999, done + 90 * kDay - 1, Urgency::DueSoon},
        {15000, done + 90 * kDay, Urgency::Overdue}};
    // clang-format on
    for (const auto& [current, today, urgency] : cases) {
        const auto row = CReminderCheck::buildTab(entries, v, current, today, FixedLocale())[0];
        EXPECT_EQ(row.lastOdometer.text + " " + row.lastDate.text, "  10000 01.06.2026");
        EXPECT_EQ(std::pair(row.dueOdometer, row.dueDate),
                  std::pair(Cell{"  15000", urgency}, Cell{"30.08.2026", urgency}))
            << current;
    }
    // Intervals of 0 leave both due cells blank.
    v.oilDays = v.oilDistance = 0;
    const auto row = CReminderCheck::buildTab(entries, v, 20000, done + 400 * kDay, FixedLocale())[0];
    EXPECT_EQ(std::tuple(row.lastOdometer.text, row.dueOdometer, row.dueDate),
              std::tuple("  10000", Cell{"-------", Urgency::Normal}, Cell{"-------", Urgency::Normal}));
}

// Each row shows the last entry of its kind with a positive odometer, found from either end:
// every row of a mixed log equals that row of the log holding only the entry it came from.
TEST(ReminderTab, EachRowComesFromTheLastEntryOfItsKind) {
    VehicleSettings v = vehicle(5000, 90, 500);
    v.customNames = {"Oil", "Tune-Up", "", "Wipers", "Trip"}; // overlapping names share entries
    const char* texts[] = {"Oil Change", "Coolant Flush", "Rotate Tires", "Tune-Up", "Transmission Service",
                           "Wipers",     "Trip",          "Oil",          "Fuel"};
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<CDVItem> log;
        for (int i = 0, n = static_cast<int>(random() % 30); i < n; ++i)
            log.push_back(entry(texts[random() % std::size(texts)], random() % 5 == 0 ? 0.0 : 1000 + i,
                                kToday - static_cast<DVTime>(random() % 300) * kDay));
        const auto tab = CReminderCheck::buildTab(log, v, 3000, kToday, FixedLocale());
        SCOPED_TRACE("round " + std::to_string(round));
        for (std::size_t r = 0; r < tab.size(); ++r) {
            auto expected = CReminderCheck::blankTab(v)[r];
            for (const CDVItem& e : log) {
                const auto alone = CReminderCheck::buildTab(std::vector{e}, v, 3000, kToday, FixedLocale())[r];
                if (alone.lastOdometer.text != "-------")
                    expected = alone;
            }
            EXPECT_EQ(std::tuple(tab[r].lastOdometer, tab[r].lastDate, tab[r].dueOdometer, tab[r].dueDate),
                      std::tuple(expected.lastOdometer, expected.lastDate, expected.dueOdometer, expected.dueDate))
                << "row " << r;
        }
    }
}

} // namespace
