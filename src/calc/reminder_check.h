#pragma once
// CReminderCheck computes both displays of the scheduled maintenance reminders of one vehicle.
//
// buildList() makes the main window's reminder list after a view refresh: it scans the
// vehicle's entries for the last service of each of the ten kinds (matched by the start of
// the entry text), counts the open trips, and adds a line for every kind that is overdue or
// due soon by distance or by days. Lines are added at the top, as the list control gets
// them, so ReminderList::lines reads top to bottom with the last added line first. The ten
// last-done odometer/day pairs come back with the lines; the window stores them in
// VehicleSettings::lastMileage/lastDate (storeLastDone) so the registry file keeps them.
//
// buildTab() makes the Reminders tab table from the entries of the vehicle's data file (the
// caller loads it; blankTab() is the table when it cannot be opened): per kind the last
// odometer and date, the odometer and date at which the service is due, and how urgent each
// due cell is. The tab uses longer keywords than the list ("Coolant Flush" against "Cool").

#include "calc/locale_info.h"
#include "store/dv_item.h"
#include "store/vehicle_log_doc.h"
#include "store/vehicle_settings.h"

#include <array>
#include <string>
#include <vector>

struct ReminderLine {
    std::string text;
    int image = 0;

    bool operator==(const ReminderLine&) const = default;
};

class CReminderCheck {
public:
    static constexpr int kKindCount = VehicleSettings::kReminderCount;

    // Indexes into the reminder list's image list.
    enum Image : int {
        kImageWelcome = 0, // also the sample-vehicle line
        kImageNoneDue = 2,
        kImageOpenTrips = 3,
        kImageOverdueDistance = 4,
        kImageOverdueDays = 5,
        kImageLastBackup = 6,
        kImageDueSoon = 8,
    };

    struct ListInputs {
        double currentOdometer = 0;             // the latest odometer the view refresh found
        DVTime today = 0;                       // the time the program started
        std::string lastBackupDate = "Unknown"; // the stamp the last backup stored in the profile
    };

    struct ReminderList {
        std::vector<ReminderLine> lines; // top to bottom
        // Per kind in registry order (0 oil, 1 coolant, 2 transmission, 3 tune-up, 4 tires,
        // 5..9 custom 1..5): the odometer of the last service and the whole days since it.
        std::array<double, kKindCount> lastMileage{};
        std::array<double, kKindCount> lastDays{};
    };

    enum class Urgency { Normal, DueSoon, Overdue };

    struct TabCell {
        std::string text = "-------";
        Urgency urgency = Urgency::Normal;

        bool operator==(const TabCell&) const = default;
    };

    struct TabRow {
        std::string label;
        TabCell lastOdometer;
        TabCell lastDate;
        TabCell dueOdometer;
        TabCell dueDate;
    };

    // Rows in the tab's order: oil change, coolant flush, tire rotation, tune-up,
    // transmission service, custom 1 to 5.
    using Tab = std::array<TabRow, kKindCount>;

    // The entries in list order: a vector of records or a document's entries.
    static ReminderList buildList(const std::vector<CDVItem>& entries, const VehicleSettings& vehicle,
                                  const ListInputs& inputs);
    static ReminderList buildList(const CVehicleLogDoc::Entries& entries, const VehicleSettings& vehicle,
                                  const ListInputs& inputs);

    // Copies the last-done pairs of `list` into the vehicle's settings.
    static void storeLastDone(const ReminderList& list, VehicleSettings& vehicle);

    // The line that stays at the bottom of the reminder list.
    static std::string lastBackupText(const std::string& lastBackupDate);

    // The table with every value cell "-------" and the row labels set.
    static Tab blankTab(const VehicleSettings& vehicle);

    // The table from the entries of the vehicle's data file, in file order.
    static Tab buildTab(const std::vector<CDVItem>& entries, const VehicleSettings& vehicle, double currentOdometer,
                        DVTime today, const CLocaleInfo& locale);
    static Tab buildTab(const CVehicleLogDoc::Entries& entries, const VehicleSettings& vehicle, double currentOdometer,
                        DVTime today, const CLocaleInfo& locale);

private:
    template <class Entries>
    static ReminderList buildListOf(const Entries& entries, const VehicleSettings& vehicle, const ListInputs& inputs);
    template <class Entries>
    static Tab buildTabOf(const Entries& entries, const VehicleSettings& vehicle, double currentOdometer, DVTime today,
                          const CLocaleInfo& locale);
};
