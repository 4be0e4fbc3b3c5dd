#include "calc/trip_form.h"

#include "calc/repair_form.h"
#include "store/text_codec.h"

#include <ctime>

namespace {

std::tm localParts(DVTime time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm parts{};
    localtime_r(&t, &parts);
    return parts;
}

} // namespace

void CTripForm::open(const CDVItem& record, const Context& context) {
    m_claimRate = context.claimRate;
    if (record.EndOdometer > 0) {
        const double arrive = record.Odometer > record.EndOdometer ? record.Odometer : record.EndOdometer;
        m_fields = Fields{record.Contact,
                          record.Purpose,
                          record.Destination,
                          CRepairForm::formatNumber(record.Odometer),
                          record.DepartTime,
                          record.DepartTime,
                          CRepairForm::formatNumber(arrive),
                          record.ArriveTime,
                          record.ArriveTime,
                          record.Note,
                          CRepairForm::formatNumber(record.Cost),
                          CRepairForm::formatNumber(record.Parking)};
        if (arrive == record.Odometer)
            m_fields.arriveTime = context.startTime;
        m_code = record.Icon;
    } else {
        const std::string odometer = CRepairForm::formatNumber(context.currentOdometer);
        m_fields = Fields{context.lastContact,
                          context.lastPurpose,
                          context.lastDestination,
                          odometer,
                          context.startTime,
                          context.startTime,
                          odometer,
                          context.startTime,
                          context.startTime,
                          "",
                          "0",
                          "0"};
        m_code = 19;
    }
}

CTripForm::SaveOutcome CTripForm::save(CDVItem& record) const {
    SaveOutcome outcome;
    const struct {
        const std::string& text;
        const char* refusal;
    } numbers[] = {
        {m_fields.departOdometer, "Departure Odometer: please enter a number, such as 12345.6."},
        {m_fields.arriveOdometer, "Arrival Odometer: please enter a number, such as 12345.6."},
        {m_fields.tolls, "Toll & Exp.: please enter a number, such as 4.50."},
        {m_fields.parking, "Parking: please enter a number, such as 4.50."},
    };
    double values[4] = {};
    for (std::size_t i = 0; i < std::size(numbers); ++i) {
        const auto value = CRepairForm::parseNumber(numbers[i].text);
        if (!value) {
            outcome.refusal = numbers[i].refusal;
            return outcome;
        }
        values[i] = *value;
    }
    if (odrivo::utf8Length(m_fields.destination) > MaxDestinationChars) {
        outcome.refusal = "Destination: enter at most 40 characters.";
        return outcome;
    }
    if (odrivo::utf8Length(m_fields.notes) > MaxNotesChars) {
        outcome.refusal = "Notes: enter at most 256 characters.";
        return outcome;
    }
    const double depart = values[0];
    const double arrive = values[1];
    CDVItem filled;
    filled.Icon = iconFor(depart, arrive);
    filled.EntryType = CDVItem::Trip;
    filled.Odometer = depart;
    filled.Date = m_fields.departDate;
    filled.Note = m_fields.notes;
    filled.Purpose = m_fields.purpose;
    filled.Destination = m_fields.destination;
    filled.Contact = m_fields.contact;
    filled.Entry = "Trip";
    filled.DepartTime = combine(m_fields.departDate, m_fields.departTime);
    filled.ArriveTime = combine(m_fields.arriveDate, m_fields.arriveTime);
    filled.Cost = values[2];
    filled.UnitPrice = claim(depart, arrive, m_claimRate);
    filled.EndOdometer = arrive;
    filled.Parking = values[3];
    record = filled;
    outcome.saved = true;
    outcome.lastPurpose = m_fields.purpose;
    outcome.lastContact = m_fields.contact;
    outcome.lastDestination = m_fields.destination;
    return outcome;
}

int CTripForm::iconFor(double departOdometer, double arriveOdometer) {
    return departOdometer < arriveOdometer ? 19 : 18;
}

double CTripForm::claim(double departOdometer, double arriveOdometer, double rate) {
    if (arriveOdometer > departOdometer && rate > 0)
        return (arriveOdometer - departOdometer) * rate;
    return 0;
}

DVTime CTripForm::combine(DVTime date, DVTime time) {
    const std::tm day = localParts(date);
    const std::tm clock = localParts(time);
    std::tm parts{};
    parts.tm_year = day.tm_year;
    parts.tm_mon = day.tm_mon;
    parts.tm_mday = day.tm_mday;
    parts.tm_hour = clock.tm_hour;
    parts.tm_min = clock.tm_min;
    parts.tm_sec = 0;
    parts.tm_isdst = -1; // whether daylight saving applies is the time library's call
    return static_cast<DVTime>(std::mktime(&parts));
}
