// The trip form's rules: the values a trip opens with, the open/finished icon code, the
// mileage claim, the time stamps and what Save writes.

#include "calc/trip_form.h"

#include <ctime>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr DVTime kStart = 1'700'000'000;

DVTime localTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = -1;
    return static_cast<DVTime>(std::mktime(&parts));
}

CTripForm::Context context(double rate = 0.5) {
    CTripForm::Context c;
    c.lastPurpose = "Sales call";
    c.lastContact = "ACME";
    c.lastDestination = "Springfield";
    c.startTime = kStart;
    c.currentOdometer = 20'000;
    c.claimRate = rate;
    return c;
}

CDVItem storedTrip(double odometer, double endOdometer) {
    CDVItem item;
    item.Icon = 19;
    item.EntryType = CDVItem::Trip;
    item.Odometer = odometer;
    item.EndOdometer = endOdometer;
    item.DepartTime = localTime(2024, 3, 4, 8, 15, 0);
    item.ArriveTime = localTime(2024, 3, 4, 17, 40, 0);
    item.Date = item.DepartTime;
    item.Contact = "Bob";
    item.Purpose = "Audit";
    item.Destination = "Shelbyville";
    item.Note = "via highway";
    item.Cost = 12.5;
    item.Parking = 4;
    item.Entry = "Trip";
    return item;
}

// The texts a form shows, in one list so that a whole form compares at once.
std::vector<std::string> texts(const CTripForm::Fields& f) {
    return {f.contact, f.purpose, f.destination, f.notes, f.departOdometer, f.arriveOdometer, f.tolls, f.parking};
}

TEST(TripForm, IconAndClaim) {
    const struct {
        double depart, arrive, rate;
        int icon;
        double claim;
    } cases[] = {
        {100, 150, 0.5, 19, 25}, {100, 150, 0, 19, 0},   {100, 150, -1, 19, 0},
        {100, 100, 0.5, 18, 0},  {150, 100, 0.5, 18, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CTripForm::iconFor(c.depart, c.arrive), c.icon) << c.depart << " " << c.arrive;
        EXPECT_DOUBLE_EQ(CTripForm::claim(c.depart, c.arrive, c.rate), c.claim) << c.depart << " " << c.arrive;
    }
}

TEST(TripForm, NewTripDefaults) {
    // A stored trip without an arrival reading opens like a new one.
    for (const CDVItem& record : {CDVItem{}, storedTrip(18'000, 0)}) {
        CTripForm form;
        form.open(record, context());
        const auto& f = form.fields();
        EXPECT_EQ(texts(f),
                  (std::vector<std::string>{"ACME", "Sales call", "Springfield", "", "20000", "20000", "0", "0"}));
        for (DVTime t : {f.departDate, f.departTime, f.arriveDate, f.arriveTime})
            EXPECT_EQ(t, kStart);
        EXPECT_EQ(form.iconCode(), 19);
    }
}

TEST(TripForm, ExistingTripOpensWithItsValues) {
    const CDVItem record = storedTrip(18'000, 18'120.5);
    CTripForm form;
    form.open(record, context());
    const auto& f = form.fields();
    EXPECT_EQ(texts(f), (std::vector<std::string>{"Bob", "Audit", "Shelbyville", "via highway", "18000", "18120.5",
                                                  "12.5", "4"}));
    EXPECT_EQ(f.departDate, record.DepartTime);
    EXPECT_EQ(f.departTime, record.DepartTime);
    EXPECT_EQ(f.arriveDate, record.ArriveTime);
    EXPECT_EQ(f.arriveTime, record.ArriveTime);
}

TEST(TripForm, ArrivalNotAboveDepartureOpensAtDeparture) {
    for (double end : {18'000.0, 17'500.0}) {
        const CDVItem record = storedTrip(18'000, end);
        CTripForm form;
        form.open(record, context());
        EXPECT_EQ(form.fields().arriveOdometer, "18000") << end;
        EXPECT_EQ(form.fields().arriveTime, kStart) << end;
        EXPECT_EQ(form.fields().arriveDate, record.ArriveTime) << end;
    }
}

TEST(TripForm, SaveFillsEveryField) {
    CTripForm form;
    form.open(CDVItem{}, context(0.55));
    auto& f = form.fields();
    f.departOdometer = "20000";
    f.arriveOdometer = "20100";
    f.departDate = localTime(2024, 5, 6, 23, 59, 0);
    f.departTime = localTime(2001, 1, 1, 9, 5, 37); // only hour and minute count
    f.arriveDate = localTime(2024, 5, 7, 1, 0, 0);
    f.arriveTime = localTime(2030, 12, 31, 18, 45, 59);
    f.notes = "client visit";
    f.tolls = "7.25";
    f.parking = "3";

    CDVItem record;
    record.Quantity = 5;
    record.Station = "left over";
    record.SpareTime = 9;
    const auto outcome = form.save(record);
    ASSERT_TRUE(outcome.saved) << outcome.refusal;
    EXPECT_EQ(outcome.lastPurpose, "Sales call");
    EXPECT_EQ(outcome.lastContact, "ACME");
    EXPECT_EQ(outcome.lastDestination, "Springfield");

    CDVItem expected;
    expected.Icon = 19;
    expected.EntryType = CDVItem::Trip;
    expected.Odometer = 20'000;
    expected.Date = localTime(2024, 5, 6, 23, 59, 0);
    expected.Note = "client visit";
    expected.Purpose = "Sales call";
    expected.Destination = "Springfield";
    expected.Contact = "ACME";
    expected.Entry = "Trip";
    expected.DepartTime = localTime(2024, 5, 6, 9, 5, 0);
    expected.ArriveTime = localTime(2024, 5, 7, 18, 45, 0);
    expected.Cost = 7.25;
    expected.UnitPrice = 100 * 0.55;
    expected.EndOdometer = 20'100;
    expected.Parking = 3;
    EXPECT_EQ(record, expected);
}

TEST(TripForm, UnchangedNewTripIsOpenAndReopensAtStartTime) {
    CTripForm form;
    form.open(CDVItem{}, context());
    CDVItem record;
    ASSERT_TRUE(form.save(record).saved);
    EXPECT_EQ(record.Icon, 18);
    EXPECT_EQ(record.UnitPrice, 0);
    EXPECT_EQ(record.EndOdometer, record.Odometer);

    CTripForm::Context later = context();
    later.startTime = kStart + 3600;
    CTripForm reopened;
    reopened.open(record, later);
    EXPECT_EQ(reopened.fields().arriveTime, later.startTime);
}

TEST(TripForm, RefusedInputLeavesRecordAlone) {
    const struct {
        std::string CTripForm::Fields::*field;
        std::string text;
        const char* named;
    } cases[] = {
        {&CTripForm::Fields::departOdometer, "x", "Departure Odometer"},
        {&CTripForm::Fields::arriveOdometer, "", "Arrival Odometer"},
        {&CTripForm::Fields::tolls, "3$", "Toll & Exp."},
        {&CTripForm::Fields::parking, "two", "Parking"},
        {&CTripForm::Fields::destination, std::string(41, 'd'), "Destination"},
        {&CTripForm::Fields::notes, std::string(257, 'n'), "Notes"},
    };
    for (const auto& c : cases) {
        CTripForm form;
        form.open(storedTrip(100, 200), context());
        form.fields().*c.field = c.text;
        CDVItem record = storedTrip(1, 2);
        const CDVItem before = record;
        const auto outcome = form.save(record);
        EXPECT_FALSE(outcome.saved) << c.named;
        EXPECT_EQ(outcome.refusal.rfind(c.named, 0), 0u) << outcome.refusal;
        EXPECT_EQ(record, before);
    }
    // The limits count characters, not bytes.
    CTripForm form;
    form.open(storedTrip(100, 200), context());
    std::string forty;
    for (int i = 0; i < 40; ++i)
        forty += "\xC3\xA9"; // é
    form.fields().destination = forty;
    CDVItem record;
    EXPECT_TRUE(form.save(record).saved);
    EXPECT_EQ(record.Destination, forty);
}

} // namespace
