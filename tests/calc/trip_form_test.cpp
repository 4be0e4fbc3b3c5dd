#include "calc/trip_form.h"

#include <ctime>
#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;
constexpr DVTime kStart = 1'700'000'000;

DVTime localTime(int year, int month, int day, int hour, int minute, int second = 0) {
    std::tm parts{};
    parts.tm_year = year - 1900, parts.tm_mon = month - 1, parts.tm_mday = day, parts.tm_hour = hour;
    parts.tm_min = minute, parts.tm_sec = second, parts.tm_isdst = -1;
    return static_cast<DVTime>(std::mktime(&parts));
}

CTripForm opened(const CDVItem& record, double rate = 0.5) {
    CTripForm::Context c;
    c.lastPurpose = "Sales call", c.lastContact = "ACME", c.lastDestination = "Springfield", c.startTime = kStart;
    c.currentOdometer = 20'000, c.claimRate = rate;
    CTripForm form;
    form.open(record, c);
    return form;
}

CDVItem storedTrip(double odometer, double endOdometer) {
    CDVItem e;
    e.Icon = 19, e.EntryType = CDVItem::Trip, e.Odometer = odometer, e.EndOdometer = endOdometer, e.Entry = "Trip";
    e.DepartTime = e.Date = localTime(2024, 3, 4, 8, 15), e.ArriveTime = localTime(2024, 3, 4, 17, 40);
    e.Contact = "Bob", e.Purpose = "Audit", e.Destination = "Shelbyville", e.Note = "via highway", e.Cost = 12.5;
    e.Parking = 4;
    return e;
}

Texts texts(const CTripForm::Fields& f) {
    return {f.contact, f.purpose, f.destination, f.notes, f.departOdometer, f.arriveOdometer, f.tolls, f.parking};
}

TEST(TripForm, IconAndClaim) {
    // depart, arrive, rate, icon, claim
    // clang-format off
    const std::tuple<double, double, double, int, double> cases[] = {
        {100, 150, 0.5, 19, 25}, {100, 150, 0, 19, 0}, {100, 150, -1, 19, 0}, {100, 100, 0.5, 18, 0},
        {150, 100, 0.5, 18, 0}};
    // clang-format on
    for (const auto& [depart, arrive, rate, icon, claim] : cases) {
        EXPECT_EQ(CTripForm::iconFor(depart, arrive), icon) << depart << " " << arrive;
        EXPECT_DOUBLE_EQ(CTripForm::claim(depart, arrive, rate), claim) << depart << " " << arrive << " " << rate;
    }
}

// A stored trip without an arrival reading opens like a new one; saved unchanged, it is an open trip.
TEST(TripForm, NewTripDefaults) {
    for (const CDVItem& record : {CDVItem{}, storedTrip(18'000, 0)}) {
        CTripForm form = opened(record);
        const auto& f = form.fields();
        EXPECT_EQ(texts(f), (Texts{"ACME", "Sales call", "Springfield", "", "20000", "20000", "0", "0"}));
        EXPECT_EQ(std::tuple(f.departDate, f.departTime, f.arriveDate, f.arriveTime, form.iconCode()),
                  std::tuple(kStart, kStart, kStart, kStart, 19));
        CDVItem saved;
        ASSERT_TRUE(form.save(saved).saved);
        EXPECT_EQ(std::tuple(saved.Icon, saved.UnitPrice, saved.EndOdometer), std::tuple(18, 0.0, 20'000.0));
    }
}

TEST(TripForm, SaveFillsEveryField) {
    CTripForm form = opened(CDVItem{}, 0.55);
    auto& f = form.fields();
    f.departOdometer = "20000", f.arriveOdometer = "20100", f.departDate = localTime(2024, 5, 6, 23, 59);
    f.departTime = localTime(2001, 1, 1, 9, 5, 37); // only hour and minute count
    f.arriveDate = localTime(2024, 5, 7, 1, 0), f.arriveTime = localTime(2030, 12, 31, 18, 45, 59);
    f.notes = "client visit", f.tolls = "7.25", f.parking = "3";
    CDVItem record;
    record.Quantity = 5, record.Station = "left over", record.SpareTime = 9;
    const auto outcome = form.save(record);
    ASSERT_TRUE(outcome.saved) << outcome.refusal;
    EXPECT_EQ(std::tuple(outcome.lastPurpose, outcome.lastContact, outcome.lastDestination),
              std::tuple("Sales call", "ACME", "Springfield"));
    CDVItem e;
    e.Icon = 19, e.EntryType = CDVItem::Trip, e.Odometer = 20'000, e.Date = localTime(2024, 5, 6, 23, 59);
    e.Note = "client visit", e.Purpose = "Sales call", e.Destination = "Springfield", e.Contact = "ACME";
    e.Entry = "Trip", e.DepartTime = localTime(2024, 5, 6, 9, 5), e.ArriveTime = localTime(2024, 5, 7, 18, 45);
    e.Cost = 7.25, e.UnitPrice = 100 * 0.55, e.EndOdometer = 20'100, e.Parking = 3;
    EXPECT_EQ(record, e);
}

// A refusal leaves the record alone. The length limits count characters, not bytes: forty
// two-byte characters are accepted.
TEST(TripForm, RefusedInputLeavesRecordAlone) {
    using F = CTripForm::Fields;
    std::string forty;
    for (int i = 0; i < 40; ++i)
        forty += "\xC3\xA9";
    // clang-format off
    const std::tuple<std::string F::*, std::string, const char*> cases[] = {
        {&F::departOdometer, "x", "Departure Odometer"},
        {&F::parking, "two", "Parking"}, {&F::destination, std::string(41, 'd'), "Destination"},
        {&F::notes, std::string(257, 'n'), "Notes"}, {&F::destination, forty, ""}};
    // clang-format on
    for (const auto& [field, text, named] : cases) {
        CTripForm form = opened(storedTrip(100, 200));
        form.fields().*field = text;
        CDVItem record = storedTrip(1, 2);
        const auto outcome = form.save(record);
        EXPECT_EQ(std::pair(outcome.saved, outcome.refusal.rfind(named, 0)), std::pair(*named == '\0', std::size_t{0}))
            << outcome.refusal;
        EXPECT_EQ(record == storedTrip(1, 2), !outcome.saved); // a refusal writes nothing
        EXPECT_EQ(record.Destination, outcome.saved ? forty : "Shelbyville");
    }
}

} // namespace
