#pragma once
// CTripForm holds what the trip dialog shows and decides what the dialog does with it:
// the values an opened trip (or a new one) starts with and what Save writes into the
// record. The dialog copies its controls into fields() before Save and shows fields()
// after opening; numbers stay the texts the user typed until save() parses them.
//
// A trip is finished (icon code 19) when its arrival odometer is above its departure
// odometer, open (18) otherwise. Save works out the mileage claim, kept in the record's
// UnitPrice: the distance travelled times the vehicle's claim rate, 0 for an open trip
// or a rate of 0 or less. Dates and times of day are held as calendar times; the stored
// departure and arrival stamps take the day from the date field and the hour and minute
// from the time field, in local time, with seconds 0.

#include "store/dv_item.h"

#include <cstddef>
#include <string>

class CTripForm {
public:
    static constexpr std::size_t MaxDestinationChars = 40;
    static constexpr std::size_t MaxNotesChars = 256;

    struct Fields {
        std::string contact;
        std::string purpose;
        std::string destination;
        std::string departOdometer; // number text
        DVTime departDate = 0;
        DVTime departTime = 0;
        std::string arriveOdometer; // number text
        DVTime arriveDate = 0;
        DVTime arriveTime = 0;
        std::string notes;
        std::string tolls;   // number text
        std::string parking; // number text
    };

    // What opening and Save need besides the record.
    struct Context {
        std::string lastPurpose = "Select";
        std::string lastContact = "Select";
        std::string lastDestination = "Select";
        DVTime startTime = 0;
        double currentOdometer = 0;
        double claimRate = 0; // per distance unit
    };

    // The result of save(): either the texts to remember, or the message that tells which
    // field refused its text.
    struct SaveOutcome {
        bool saved = false;
        std::string refusal;
        std::string lastPurpose;
        std::string lastContact;
        std::string lastDestination;
    };

    // Starts from `record`: an existing trip when its EndOdometer is above 0, else a new
    // one with the remembered texts. The record is only read.
    void open(const CDVItem& record, const Context& context);

    Fields& fields() { return m_fields; }
    const Fields& fields() const { return m_fields; }
    // The code the opened record carried (19 for a new trip); Save decides afresh.
    int iconCode() const { return m_code; }

    // Checks the number fields and the two text limits; when all pass, fills `record` and
    // hands back the values to remember. Otherwise `record` is left alone.
    SaveOutcome save(CDVItem& record) const;

    // 19 when the arrival is above the departure, else 18.
    static int iconFor(double departOdometer, double arriveOdometer);
    // (arrival - departure) x rate for a finished trip and a positive rate, else 0.
    static double claim(double departOdometer, double arriveOdometer, double rate);
    // The local calendar day of `date` at the hour and minute of `time`, seconds 0.
    static DVTime combine(DVTime date, DVTime time);

private:
    Fields m_fields;
    int m_code = 19;
    double m_claimRate = 0;
};
