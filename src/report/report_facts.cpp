#include "report/report_facts.h"

#include "calc/cost_statistics.h"
#include "calc/locale_info.h"
#include "calc/performance_watch.h"
#include "calc/reminder_check.h"
#include "store/vehicle_log_doc.h"

ReportFacts ReportFacts::gather(const VehicleSettings& vehicle, const CVehicleLogDoc& doc,
                                const CViewRefresh::Result& refresh, const CLocaleInfo& locale, DVTime now,
                                const std::string& configFolder, const std::string& ownLogoPath) {
    ReportFacts facts;
    facts.vehicleName = vehicle.name;
    facts.vehicle = vehicle;
    facts.lastOdometer = refresh.totals.latestOdometer;
    facts.fuelEntries = refresh.totals.fuelCount;

    const CCostStatistics::PageFigures economy = CCostStatistics::economyPage(doc, locale);
    facts.currentEconomy = economy.currentValue;
    facts.averageEconomy = economy.averageValue;

    // The same pass that builds the reminder list finds the last services; its lines are not needed.
    CReminderCheck::ListInputs inputs;
    inputs.currentOdometer = refresh.totals.latestOdometer;
    inputs.today = now;
    const CReminderCheck::ReminderList reminders = CReminderCheck::buildList(doc.entries(), vehicle, inputs);
    facts.lastOilChange = reminders.lastMileage[0];
    facts.lastCoolantFlush = reminders.lastMileage[1];
    facts.lastTransService = reminders.lastMileage[2];
    facts.lastTuneUp = reminders.lastMileage[3];
    facts.lastTireRotation = reminders.lastMileage[4];

    const CPerformanceWatch::State state =
        CPerformanceWatch::evaluate(refresh.performance, vehicle.economyUnit, vehicle.distanceUnit);
    facts.performanceText = CPerformanceWatch::display(state).shortText;

    facts.currency = locale.currencySymbol(3);
    facts.printDate = locale.shortDate(now);
    facts.printTime = locale.timeOfDay(now);
    const CLocaleInfo* source = &locale;
    facts.shortDate = [source](DVTime t) { return source->shortDate(t); };
    facts.timeOfDay = [source](DVTime t) { return source->timeOfDay(t); };

    facts.configFolder = configFolder;
    facts.ownLogoPath = ownLogoPath;
    return facts;
}
