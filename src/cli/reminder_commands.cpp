#include "cli/reminder_commands.h"

#include "calc/reminder_check.h"
#include "calc/view_refresh.h"
#include "cli/cli_vehicle.h"
#include "cli/view_commands.h"
#include "store/app_profile.h"
#include "store/backup_set.h"

#include <ostream>

int runReminders(const std::string& profilePath, const ReminderOptions& options, std::ostream& out, std::ostream& err) {
    std::optional<std::time_t> today;
    if (options.now) {
        // The form the other commands take ("T") and the one people type (a blank).
        today = parseLocalDateTime(*options.now, ' ');
        if (!today)
            today = parseIsoDateTime(*options.now);
        if (!today) {
            err << "odrivo-cli: --now \"" << *options.now
                << "\" is not a date; write it like 2026-03-15, \"2026-03-15 14:30\" or 2026-03-15T14:30 (local "
                   "time).\n";
            return 1;
        }
    }
    ViewOptions viewOptions;
    viewOptions.vehicle = options.vehicle;
    auto view = prepareView(profilePath, viewOptions, err);
    CliVehicle opened;
    if (!view || !openCliVehicle(profilePath, options.vehicle, opened, err))
        return 1;
    // The program takes "today" once at start-up and counts the date ranges from the same moment.
    if (today)
        view->now = *today;

    CViewRefresh refresh;
    const CViewRefresh::Result result = refresh.run(opened.session.doc(), view->filter, view->now);
    CReminderCheck::ListInputs inputs;
    inputs.currentOdometer = result.totals.latestOdometer;
    inputs.today = view->now;
    inputs.lastBackupDate = CBackupSet::lastBackupDate(CAppProfile(profilePath));
    const auto list = CReminderCheck::buildList(opened.session.doc().entries(), opened.settings, inputs);
    for (const ReminderLine& line : list.lines)
        out << line.image << '\t' << line.text << '\n';
    return 0;
}
