#include "cli/view_commands.h"

#include "calc/cost_statistics.h"
#include "calc/entry_text.h"
#include "calc/locale_info.h"
#include "calc/performance_watch.h"
#include "calc/view_refresh.h"
#include "cli/cli_vehicle.h"
#include "store/app_profile.h"
#include "store/folder_settings.h"
#include "store/vehicle_registry.h"

#include <algorithm>
#include <strings.h>

#include <cstdio>
#include <ostream>
#include <string_view>

namespace {

std::optional<int> viewModeFromName(const std::string& name) {
    static const char* const kNames[] = {"fuel", "repairs", "trips", "any"};
    for (int mode = 0; mode < 4; ++mode)
        if (name == kNames[mode])
            return mode;
    return std::nullopt;
}

void printPage(std::ostream& out, const char* page, const CCostStatistics::PageFigures& f) {
    out << page << " MAX: " << f.max << '\n'
        << page << " MAX date: " << f.maxDate << '\n'
        << page << " MIN: " << f.min << '\n'
        << page << " MIN date: " << f.minDate << '\n'
        << page << " current: " << f.current << '\n'
        << page << " AVG: " << f.average << '\n';
}

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

} // namespace

std::optional<PreparedView> prepareView(const std::string& profilePath, const ViewOptions& options, std::ostream& err) {
    PreparedView view;
    view.filter.viewMode = CAppProfile(profilePath).getNumber(ProfileKeys::LastView);
    if (options.view) {
        const auto mode = viewModeFromName(*options.view);
        if (!mode) {
            err << "odrivo-cli: unknown view \"" << *options.view << "\"; use fuel, repairs, trips or any.\n";
            return std::nullopt;
        }
        view.filter.viewMode = *mode;
    }
    if (options.range) {
        const auto& ranges = CViewRefresh::dateRanges();
        const auto known = std::find_if(ranges.begin(), ranges.end(), [&](const char* name) {
            return strcasecmp(name, options.range->c_str()) == 0;
        });
        if (known == ranges.end()) {
            err << "odrivo-cli: unknown date range \"" << *options.range << "\"; use one of";
            for (std::size_t i = 0; i < ranges.size(); ++i)
                err << (i == 0 ? " \"" : ", \"") << ranges[i] << '"';
            err << ".\n";
            return std::nullopt;
        }
        view.filter.dateRange = *known;
        // As in the window, "Select Dates" alone means the vehicle list's saved bounds.
        if (known == ranges.end() - 1 && !options.from && !options.to) {
            const CVehicleRegistry registry(FolderSettings::read(CAppProfile(profilePath)).config);
            const std::time_t now = std::time(nullptr);
            view.filter.from = static_cast<DVTime>(registry.fromDate(now));
            view.filter.to = static_cast<DVTime>(registry.toDate(now));
        }
    }
    if (options.from || options.to) {
        if (!options.from || !options.to || options.range) {
            err << "odrivo-cli: give --from and --to together, and without --range.\n";
            return std::nullopt;
        }
        const auto from = parseIsoDateTime(*options.from);
        const auto to = parseIsoDateTime(*options.to);
        if (!from || !to) {
            err << "odrivo-cli: dates are written like 2026-03-15 or 2026-03-15T14:30.\n";
            return std::nullopt;
        }
        view.filter.dateRange = CViewRefresh::dateRanges()[7];
        view.filter.from = *from;
        view.filter.to = *to;
    }
    view.now = std::time(nullptr);
    if (options.now) {
        const auto now = parseIsoDateTime(*options.now);
        if (!now) {
            err << "odrivo-cli: --now is written like 2026-03-15 or 2026-03-15T14:30.\n";
            return std::nullopt;
        }
        view.now = *now;
    }
    return view;
}

std::optional<std::time_t> parseLocalDateTime(const std::string& text, char separator) {
    // Every character is checked: sscanf alone would let signs, blanks and short fields through.
    static constexpr std::string_view kDate = "dddd-dd-dd";
    static constexpr std::string_view kMinutes = "dd:dd";
    static constexpr std::string_view kSeconds = ":dd";
    std::string pattern(kDate);
    if (text.size() > kDate.size()) {
        pattern += separator;
        pattern += kMinutes;
        if (text.size() > pattern.size())
            pattern += kSeconds;
    }
    if (text.size() != pattern.size())
        return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (pattern[i] == 'd' ? !digit : text[i] != pattern[i])
            return std::nullopt;
    }
    const auto number = [&text](std::size_t at, std::size_t length) { return std::stoi(text.substr(at, length)); };
    std::tm tm{};
    tm.tm_year = number(0, 4);
    tm.tm_mon = number(5, 2);
    tm.tm_mday = number(8, 2);
    tm.tm_hour = text.size() > 10 ? number(11, 2) : 0;
    tm.tm_min = text.size() > 10 ? number(14, 2) : 0;
    tm.tm_sec = text.size() > 16 ? number(17, 2) : 0;
    const bool leap = (tm.tm_year % 4 == 0 && tm.tm_year % 100 != 0) || tm.tm_year % 400 == 0;
    static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (tm.tm_mon < 1 || tm.tm_mon > 12 || tm.tm_mday < 1 ||
        tm.tm_mday > kMonthDays[tm.tm_mon - 1] + (tm.tm_mon == 2 && leap ? 1 : 0) || tm.tm_hour > 23 ||
        tm.tm_min > 59 || tm.tm_sec > 59)
        return std::nullopt;
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

std::optional<std::time_t> parseIsoDateTime(const std::string& text) {
    return parseLocalDateTime(text, 'T');
}

std::vector<CDVItem*> listRows(CliVehicle& opened, const PreparedView& view, const ViewOptions& options,
                               const CEntryText& texts, CViewRefresh::Result* refresh) {
    CViewRefresh pass;
    CViewRefresh::Result result = pass.run(opened.session.doc(), view.filter, view.now);
    std::vector<CDVItem*> rows = result.rows;
    if (refresh)
        *refresh = std::move(result);
    if (options.search)
        rows = CViewRefresh::search(opened.session.doc(), *options.search, texts);
    return rows;
}

int runList(const std::string& profilePath, const ViewOptions& options, std::ostream& out, std::ostream& err) {
    const auto view = prepareView(profilePath, options, err);
    CliVehicle opened;
    if (!view || !openCliVehicle(profilePath, options.vehicle, opened, err))
        return 1;
    const CLibcLocale locale;
    const CEntryText texts(locale, opened.settings.costPerMile);
    for (const CDVItem* entry : listRows(opened, *view, options, texts)) {
        out << entry->Icon;
        for (int column = 1; column < CEntryText::kColumnCount; ++column)
            out << '\t' << texts.cell(*entry, column);
        out << '\n';
    }
    return 0;
}

int runStats(const std::string& profilePath, const ViewOptions& options, std::ostream& out, std::ostream& err) {
    const auto view = prepareView(profilePath, options, err);
    CliVehicle opened;
    if (!view || !openCliVehicle(profilePath, options.vehicle, opened, err))
        return 1;
    const CLibcLocale locale;
    // The pages count the entries as read, before the refresh turns "Trip..." entries into trips.
    const CVehicleLogDoc& doc = opened.session.doc();
    const CCostStatistics::PageFigures economy = CCostStatistics::economyPage(doc, locale);
    const CCostStatistics::PageFigures fuelCost = CCostStatistics::fuelCostPage(doc, locale);
    const CCostStatistics::PageFigures repairCost = CCostStatistics::repairCostPage(doc, locale);
    CViewRefresh refresh;
    const CViewRefresh::Result result = refresh.run(opened.session.doc(), view->filter, view->now);
    const RefreshTotals& t = result.totals;
    out << "Vehicle: " << opened.name << '\n'
        << "Entries: " << t.entryCount << '\n'
        << "Fuel entries: " << t.fuelCount << '\n'
        << "Fuel quantity: " << fixed(t.fuelQuantity, 3) << '\n'
        << "Fuel cost: " << fixed(t.fuelCost, 2) << '\n'
        << "Repair entries: " << t.repairCount << '\n'
        << "Repair cost: " << fixed(t.repairCost, 2) << '\n'
        << "Trip entries: " << t.tripCount << '\n'
        << "Trip expenses: " << fixed(t.tripExpenses, 2) << '\n'
        << "Total expenses: " << fixed(t.totalExpenses, 2) << '\n'
        << "Latest odometer: " << fixed(t.latestOdometer, 0) << '\n'
        << "Distance: " << fixed(t.distance, 0) << '\n';
    printPage(out, "Economy", economy);
    printPage(out, "Fuel cost", fuelCost);
    printPage(out, "Repair cost", repairCost);
    const CCostStatistics::RunningCost rc =
        CCostStatistics::runningCost(t, locale.currencySymbol(2), opened.settings.distanceUnit);
    out << "Running cost fuel total: " << rc.fuelTotal << '\n'
        << "Running cost fuel average: " << rc.fuelAverage << '\n'
        << "Running cost repairs total: " << rc.repairsTotal << '\n'
        << "Running cost repairs average: " << rc.repairsAverage << '\n'
        << "Running cost parking total: " << rc.parkingTotal << '\n'
        << "Running cost parking average: " << rc.parkingAverage << '\n'
        << "Running cost distance total: " << rc.distanceTotal << '\n'
        << "Running cost distance average: " << rc.distanceAverage << '\n'
        << "Running cost: " << rc.runningCost << '\n';
    out << "Status economy: " << fixed(economy.currentValue, 2) << '\n'
        << "Status average: " << fixed(economy.averageValue, 2) << '\n';
    const auto state =
        CPerformanceWatch::evaluate(result.performance, opened.settings.economyUnit, opened.settings.distanceUnit);
    out << "Performance: " << CPerformanceWatch::display(state).shortText << '\n';
    return 0;
}
