#pragma once
// odrivo-cli list and stats: the rows, figures and verdict the main window shows for a
// vehicle, under the same view, date range and search, printed as text. export writes
// the same rows (listRows) to a CSV file.

#include "calc/entry_text.h"
#include "calc/view_refresh.h"

#include <ctime>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

struct CliVehicle;

struct ViewOptions {
    std::optional<std::string> vehicle;
    std::optional<std::string> view;  // fuel, repairs, trips, any
    std::optional<std::string> range; // one of the date range texts
    std::optional<std::string> from;  // ISO 8601
    std::optional<std::string> to;
    std::optional<std::string> search;
    std::optional<std::string> now;
};

// The refresh filter and the moment the date ranges count from.
struct PreparedView {
    CViewRefresh::Filter filter;
    std::time_t now = 0;
};

// What `options` ask for, with the window's defaults where they say nothing: the last view
// from the profile, the whole log, the current time. Nothing, with a message on `err`, when
// an option is malformed.
std::optional<PreparedView> prepareView(const std::string& profilePath, const ViewOptions& options, std::ostream& err);

// The rows `list` prints, in its order: those the view's filter shows, or with --search every
// entry holding the text. Runs the refresh pass over the opened log first, as the window does,
// and hands its result out through `refresh` when given.
std::vector<CDVItem*> listRows(CliVehicle& opened, const PreparedView& view, const ViewOptions& options,
                               const CEntryText& texts, CViewRefresh::Result* refresh = nullptr);

int runList(const std::string& profilePath, const ViewOptions& options, std::ostream& out, std::ostream& err);
int runStats(const std::string& profilePath, const ViewOptions& options, std::ostream& out, std::ostream& err);

// "2026-03-15", or that date, `separator` and "14:30" or "14:30:05", in local time. Nothing
// when the text has any other form or names a date or time that does not exist.
std::optional<std::time_t> parseLocalDateTime(const std::string& text, char separator);

// parseLocalDateTime with 'T': "2026-03-15", "2026-03-15T14:30" or "2026-03-15T14:30:05".
std::optional<std::time_t> parseIsoDateTime(const std::string& text);
