#pragma once
// ReportFacts is everything a printed report shows besides the log entries themselves, as
// plain values: who the vehicle is, what the last view refresh found, the economy figures,
// the last services, the performance verdict, the locale's money and date forms and where
// the logo comes from. The main window and the command line fill it with gather(), so both
// print the same report of the same log; tests fill it by hand.

#include "calc/view_refresh.h"
#include "store/dv_item.h"
#include "store/vehicle_settings.h"

#include <functional>
#include <string>

class CLocaleInfo;
class CVehicleLogDoc;

struct ReportFacts {
    // The vehicle's name as the vehicle selector shows it, and its settings.
    std::string vehicleName;
    VehicleSettings vehicle;

    double lastOdometer = 0;   // the latest odometer of the last view refresh
    double currentEconomy = 0; // the economy page's Current and AVG values
    double averageEconomy = 0;
    int fuelEntries = 0; // fuel entries the last refresh counted

    // Odometers of the last service of each fixed reminder kind (the start odometer when
    // the log holds none).
    double lastOilChange = 0;
    double lastTuneUp = 0;
    double lastTireRotation = 0;
    double lastCoolantFlush = 0;
    double lastTransService = 0;

    // The performance watch's verdict as the main window shows it beside the stoplight.
    std::string performanceText;

    std::string currency = "$"; // at most 3 characters
    std::string printDate;      // when the report is printed: short date
    std::string printTime;      // and time of day without seconds

    // An entry's date as the short date, and its time of day; both always set.
    std::function<std::string(DVTime)> shortDate = [](DVTime) { return std::string(); };
    std::function<std::string(DVTime)> timeOfDay = [](DVTime) { return std::string(); };

    // The folder that holds "Logo.bmp" (ending in '/' or not), and the program's own logo,
    // drawn when Logo.bmp cannot be read.
    std::string configFolder;
    std::string ownLogoPath;

    // The facts of the loaded vehicle:
    // - `vehicle`: its settings as loaded (the name is taken from them);
    // - `doc`: its loaded log, after the view refresh that made `refresh`;
    // - `refresh`: that refresh's result (only the totals and performance inputs are read);
    // - `locale`: the user's locale; the date functions keep a reference to it, so it must
    //   outlive the facts;
    // - `now`: the time of printing;
    // - `configFolder` and `ownLogoPath`: as the members above.
    // Nothing passed in is changed.
    static ReportFacts gather(const VehicleSettings& vehicle, const CVehicleLogDoc& doc,
                              const CViewRefresh::Result& refresh, const CLocaleInfo& locale, DVTime now,
                              const std::string& configFolder, const std::string& ownLogoPath);
};
