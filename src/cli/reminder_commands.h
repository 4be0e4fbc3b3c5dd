#pragma once
// odrivo-cli reminders: the main window's reminder list of a vehicle, printed top to bottom.
// The vehicle and its log are opened as the other commands open them, a view refresh with
// the window's start-up filter finds the current odometer, the profile gives the date of
// the last backup, and CReminderCheck builds the lines. Each line is printed as its image
// index, a tab and its text, so the kind of line can be read without parsing the text.

#include <ctime>
#include <iosfwd>
#include <optional>
#include <string>

struct ReminderOptions {
    std::optional<std::string> vehicle;
    std::optional<std::string> now; // "2026-03-15" or "2026-03-15 14:30[:05]", local time
};

int runReminders(const std::string& profilePath, const ReminderOptions& options, std::ostream& out, std::ostream& err);
