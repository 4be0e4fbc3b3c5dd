// odrivo-cli reminders against a small log in temporary folders, under UTC: the oil change
// is the one reminder the vehicle has set up, so the days half moves with --now while the
// distance half stays fixed by the log's latest odometer.

#include "cli_fixture.h"

using clitest::has;
using clitest::lines;

namespace {

class ReminderCommands : public clitest::CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        writeProfile("LastVehicle=Van\r\nLastView=0\r\n[ListAttributes]\r\nLastBackupDate=03/01/2026 10:00\r\n");
        // Oil every 500 miles or 30 days, warned 400 miles or 5 days ahead.
        writeVan("OilDistance=500\r\nOilDays=30\r\nLeadOdo=400\r\nLeadDays=5\r\n",
                 {clitest::item(CDVItem::Fuel, 1000, "2026-03-01", "Fuel"),
                  clitest::item(CDVItem::Repair, 1100, "2026-03-05", "Oil Change"),
                  clitest::item(CDVItem::Fuel, 1300, "2026-03-10", "Fuel")});
    }

    clitest::CliRun reminders(clitest::Strings args) const {
        args.insert(args.begin(), "reminders");
        return run(args);
    }
};

const char* const kDistanceLine = "8\tOil change due in: 300     Miles"; // 500 - (1300 - 1100)
const char* const kBackupLine = "6\tLast Backup: 03/01/2026 10:00";

TEST_F(ReminderCommands, NowSetsTodayToTheSecond) {
    struct Case {
        const char* now;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"2026-03-20", {kDistanceLine, kBackupLine}}, // the due reminder above the backup line
        {"2026-04-01 12:00", {kDistanceLine, "8\tOil change due in: 3    days", kBackupLine}},
        {"2026-04-01T12:00", {kDistanceLine, "8\tOil change due in: 3    days", kBackupLine}},
        // 30 days less a second after the oil change, then exactly 31 days.
        {"2026-04-04 23:59:59", {kDistanceLine, "8\tOil change due in:      days", kBackupLine}},
        {"2026-04-05 00:00:00", {kDistanceLine, "5\tOil change OVERDUE by: 1    days", kBackupLine}},
    };
    for (const Case& c : cases) {
        const auto r = reminders({"--now", c.now});
        ASSERT_EQ(r.code, 0) << c.now << ": " << r.err;
        EXPECT_EQ(lines(r.out), c.lines) << c.now;
    }
}

TEST_F(ReminderCommands, MalformedNowIsRefusedWithTheFormToUse) {
    for (const char* bad : {"", "tomorrow", "2026-3-20", "20.03.2026", "2026-03-20T12", "2026-03-20 12",
                            "2026-03-20  12:00", "2026-03-20 12:00:00Z", "2026-02-29", "2026-04-31", "2026-03-20 24:00",
                            "2026-03-20 12:60", "+026-03-20", "2026-03- 2"}) {
        const auto r = reminders({"--now", bad});
        EXPECT_EQ(r.code, 1) << bad;
        EXPECT_TRUE(has(r.err, std::string("--now \"") + bad + "\" is not a date"));
        EXPECT_TRUE(has(r.err, "2026-03-15 14:30"));
    }
}

TEST_F(ReminderCommands, UnknownVehicleIsNamed) {
    const auto r = reminders({"--vehicle", "Truck"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(has(r.err, "there is no vehicle \"Truck\""));
    EXPECT_TRUE(has(r.err, "odrivo-cli vehicles"));
}

} // namespace
