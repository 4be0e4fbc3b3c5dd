#pragma once
// What the entry dialogs read besides the record they edit: the vehicle's settings, the
// odometers the last refresh of the list found, the moment the program started, the
// currency symbol, the per-user profile (remembered last values) and the pick-list file.
// The main window fills one of these each time a dialog opens.

#include "store/vehicle_settings.h"

#include <ctime>
#include <string>

class CAppProfile;

struct EntryContext {
    VehicleSettings vehicle;
    double currentOdometer = 0;      // latest odometer of the last refresh
    double previousFuelOdometer = 0; // odometer of the latest fuel entry the last refresh met
    std::time_t startTime = 0;       // when the program started
    std::string currencySymbol = "$";
    CAppProfile* profile = nullptr;
    std::string listsPath; // the config folder followed by "Lists.ini"
};
