#pragma once
// odrivo-cli list and stats: the rows, figures and verdict the main window shows for a
// vehicle, under the same view, date range and search, printed as text.

#include <ctime>
#include <iosfwd>
#include <optional>
#include <string>

struct ViewOptions {
    std::optional<std::string> vehicle;
    std::optional<std::string> view;  // fuel, repairs, trips, any
    std::optional<std::string> range; // one of the date range texts
    std::optional<std::string> from;  // ISO 8601
    std::optional<std::string> to;
    std::optional<std::string> search;
    std::optional<std::string> now;
};

int runList(const std::string& profilePath, const ViewOptions& options, std::ostream& out, std::ostream& err);
int runStats(const std::string& profilePath, const ViewOptions& options, std::ostream& out, std::ostream& err);

// "2026-03-15", "2026-03-15T14:30" or "2026-03-15T14:30:05" (local time); nothing when malformed.
std::optional<std::time_t> parseIsoDateTime(const std::string& text);
