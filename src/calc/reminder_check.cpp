#include "calc/reminder_check.h"

#include "calc/units.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <utility>

namespace {

constexpr DVTime kSecondsPerDay = 86400;

// One kind of service: where it lives in the registry arrays and in the tab, how the two
// displays recognise it, and the names its four list messages start with.
struct Kind {
    int settingsIndex;
    int tabRow;
    const char* listKeyword; // nullptr for a custom kind: its name is the keyword
    const char* tabKeyword;
    const char* tabLabel;
    const char* overdueDays;
    const char* overdueDistance;
    const char* dueDays;
    const char* dueDistance;
};

// The fixed kinds in the order the list checks them. The message names are the program's
// own texts, slips included ("Trans Service", "Tore Rotate").
constexpr std::array<Kind, 5> kFixedKinds{{
    {0, 0, "Oil Change", "Oil Change", "Oil Change", "Oil change", "Oil change", "Oil change", "Oil change"},
    {1, 1, "Cool", "Coolant Flush", "Coolant Flush", "Coolant flush", "Coolant flush", "Coolant flush",
     "Coolant flush"},
    {2, 4, "Transmission", "Transmission Service", "Trans. Service", "Trans. Service", "Trans. Service",
     "Trans Service", "Trans Service"},
    {4, 2, "Rotate", "Rotate Tires", "Tire Rotation", "Tire Rotate", "Tire Rotate", "Tire Rotate", "Tore Rotate"},
    {3, 3, "Tune", "Tune-Up", "Engine Tuneup", "Tune-Up", "Tune-Up", "Tune-Up", "Tune-Up"},
}};

struct KindParams {
    std::string listKeyword;
    std::string tabKeyword;
    std::string label;
    std::array<std::string, 4> names; // overdue days, overdue distance, due days, due distance
    int daysWidth;
    int settingsIndex;
    int tabRow;
    double distance;
    int days;
};

// Every entry is tried against every keyword, and nearly all differ in the first byte.
bool startsWith(const std::string& text, const std::string& keyword) {
    return !keyword.empty() && text.size() >= keyword.size() && text[0] == keyword[0] &&
           std::memcmp(text.data(), keyword.data(), keyword.size()) == 0;
}

// All ten kinds in the list's order, with the vehicle's intervals.
std::array<KindParams, CReminderCheck::kKindCount> kinds(const VehicleSettings& v) {
    const std::array<double, 5> distances{v.oilDistance, v.coolDistance, v.transDistance, v.tireDistance,
                                          v.tuneDistance};
    const std::array<int, 5> days{v.oilDays, v.coolDays, v.transDays, v.tireDays, v.tuneDays};
    std::array<KindParams, CReminderCheck::kKindCount> out;
    for (std::size_t i = 0; i < kFixedKinds.size(); ++i) {
        const Kind& k = kFixedKinds[i];
        out[i] = {k.listKeyword,
                  k.tabKeyword,
                  k.tabLabel,
                  {k.overdueDays, k.overdueDistance, k.dueDays, k.dueDistance},
                  4,
                  k.settingsIndex,
                  k.tabRow,
                  distances[i],
                  days[i]};
    }
    for (int c = 0; c < VehicleSettings::kCustomCount; ++c) {
        const std::string& name = v.customNames[c];
        out[5 + c] = {name,
                      name,
                      name.empty() ? "Undefined" : name,
                      {name, name, name, name},
                      3,
                      5 + c,
                      5 + c,
                      v.customDistance[c],
                      v.customDays[c]};
    }
    return out;
}

// printf's "%-W.0d": precision 0 prints no digits for the value 0.
std::string leftDays(int value, int width) {
    std::string digits = value == 0 ? std::string() : std::to_string(value);
    if (static_cast<int>(digits.size()) < width)
        digits.append(width - digits.size(), ' ');
    return digits;
}

// printf's "%-7.0f".
std::string leftDistance(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%-7.0f", value);
    return buffer;
}

std::string rightDistance(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%7.0f", value);
    return buffer;
}

const CDVItem& item(const CDVItem& e) {
    return e;
}
const CDVItem& item(const std::unique_ptr<CDVItem>& e) {
    return *e;
}

// The list control inserts every line at index 0.
class ListBuilder {
public:
    explicit ListBuilder(std::string backupLine) : m_backupLine(std::move(backupLine)) {}

    void reset() {
        m_lines.clear();
        add(m_backupLine, CReminderCheck::kImageLastBackup);
    }
    void add(std::string text, int image) { m_lines.insert(m_lines.begin(), ReminderLine{std::move(text), image}); }
    std::vector<ReminderLine> take() { return std::move(m_lines); }

private:
    std::string m_backupLine;
    std::vector<ReminderLine> m_lines;
};

} // namespace

std::string CReminderCheck::lastBackupText(const std::string& lastBackupDate) {
    return "Last Backup: " + lastBackupDate;
}

template <class Entries>
CReminderCheck::ReminderList CReminderCheck::buildListOf(const Entries& entries, const VehicleSettings& vehicle,
                                                         const ListInputs& inputs) {
    const auto all = kinds(vehicle);
    ListBuilder list(lastBackupText(inputs.lastBackupDate));
    list.reset();

    std::array<double, kKindCount> lastOdo;
    std::array<int, kKindCount> lastDays{};
    lastOdo.fill(vehicle.startOdometer);
    int openTrips = 0;
    for (const auto& each : entries) {
        const CDVItem& e = item(each);
        if (startsWith(e.Entry, "Trip") && e.Icon == 18)
            ++openTrips;
        for (int k = 0; k < kKindCount; ++k) {
            if (startsWith(e.Entry, all[k].listKeyword)) {
                lastOdo[k] = e.Odometer;
                lastDays[k] = static_cast<int>((inputs.today - e.Date) / kSecondsPerDay);
            }
        }
    }

    const std::string unit = vehicle.distanceUnit == units::kKilometres ? "Km" : "Miles";
    const double leadOdo = vehicle.leadOdo;
    const int leadDays = static_cast<int>(vehicle.leadDays);
    int added = 0;
    auto addLine = [&](std::string text, int image) {
        list.add(std::move(text), image);
        ++added;
    };
    for (int k = 0; k < kKindCount; ++k) {
        const KindParams& kind = all[k];
        const double since = inputs.currentOdometer - lastOdo[k];
        const double interval = kind.distance;
        const int d = lastDays[k];
        const int dd = kind.days;
        if (since > interval - (leadOdo + 1) || d > dd - (leadDays + 1)) {
            if (d - dd > 0 && dd > 0)
                addLine(kind.names[0] + " OVERDUE by: " + leftDays(d - dd, kind.daysWidth) + " days",
                        kImageOverdueDays);
            if (since - interval >= 0 && interval > 0)
                addLine(kind.names[1] + " OVERDUE by: " + leftDistance(since - interval) + " " + unit,
                        kImageOverdueDistance);
            if (d > dd - (leadDays + 1) && dd > 0 && d <= dd)
                addLine(kind.names[2] + " due in: " + leftDays(dd - d, kind.daysWidth) + " days", kImageDueSoon);
            if (since >= interval - (leadOdo + 1) && interval > 0 && since <= interval)
                addLine(kind.names[3] + " due in: " + leftDistance(interval - since) + " " + unit, kImageDueSoon);
        }
        // The open-trips line comes between the fixed and the custom kinds.
        if (k == 4 && openTrips > 0)
            addLine("Found " + leftDays(openTrips, 4) + " open trip(s)", kImageOpenTrips);
    }

    if (added == 0) {
        list.reset();
        list.add("No reminders due", kImageNoneDue);
        list.add("Welcome to Odrivo", kImageWelcome);
    }
    if (vehicle.name.starts_with("My Vehicle"))
        list.add("Sample Vehicle, Select File->New", kImageWelcome);

    ReminderList out;
    out.lines = list.take();
    for (int k = 0; k < kKindCount; ++k) {
        out.lastMileage[all[k].settingsIndex] = lastOdo[k];
        out.lastDays[all[k].settingsIndex] = lastDays[k];
    }
    return out;
}

void CReminderCheck::storeLastDone(const ReminderList& list, VehicleSettings& vehicle) {
    vehicle.lastMileage = list.lastMileage;
    vehicle.lastDate = list.lastDays;
}

CReminderCheck::Tab CReminderCheck::blankTab(const VehicleSettings& vehicle) {
    Tab tab;
    for (const KindParams& kind : kinds(vehicle))
        tab[kind.tabRow].label = kind.label;
    return tab;
}

template <class Entries>
CReminderCheck::Tab CReminderCheck::buildTabOf(const Entries& entries, const VehicleSettings& vehicle,
                                               double currentOdometer, DVTime today, const CLocaleInfo& locale) {
    Tab tab = blankTab(vehicle);
    const auto all = kinds(vehicle);
    const auto leadDays = static_cast<DVTime>(static_cast<int>(vehicle.leadDays));

    // Each row shows the last entry of its kind, so the log is read from its end and the
    // reading stops once every kind that can match has been found.
    std::array<const CDVItem*, kKindCount> last{};
    auto left = std::count_if(all.begin(), all.end(), [](const KindParams& kind) { return !kind.tabKeyword.empty(); });
    for (auto each = entries.rbegin(); each != entries.rend() && left > 0; ++each) {
        const CDVItem& e = item(*each);
        if (!(e.Odometer > 0))
            continue;
        for (int k = 0; k < kKindCount; ++k) {
            if (!last[k] && startsWith(e.Entry, all[k].tabKeyword)) {
                last[k] = &e;
                --left;
            }
        }
    }

    for (int k = 0; k < kKindCount; ++k) {
        if (!last[k])
            continue;
        const CDVItem& e = *last[k];
        const KindParams& kind = all[k];
        TabRow& row = tab[kind.tabRow];
        row.lastOdometer = {rightDistance(e.Odometer), Urgency::Normal};
        row.lastDate = {locale.shortDate(e.Date), Urgency::Normal};
        if (kind.distance > 0) {
            const double due = e.Odometer + kind.distance;
            Urgency u = Urgency::Normal;
            if (due <= currentOdometer)
                u = Urgency::Overdue;
            else if (due - vehicle.leadOdo <= currentOdometer)
                u = Urgency::DueSoon;
            row.dueOdometer = {rightDistance(due), u};
        }
        if (kind.days >= 1) {
            const DVTime due = e.Date + kind.days * kSecondsPerDay;
            Urgency u = Urgency::Normal;
            if (due <= today)
                u = Urgency::Overdue;
            else if (e.Date + (kind.days - leadDays) * kSecondsPerDay <= today)
                u = Urgency::DueSoon;
            row.dueDate = {locale.shortDate(due), u};
        }
    }
    return tab;
}

CReminderCheck::ReminderList CReminderCheck::buildList(const std::vector<CDVItem>& entries,
                                                       const VehicleSettings& vehicle, const ListInputs& inputs) {
    return buildListOf(entries, vehicle, inputs);
}

CReminderCheck::ReminderList CReminderCheck::buildList(const CVehicleLogDoc::Entries& entries,
                                                       const VehicleSettings& vehicle, const ListInputs& inputs) {
    return buildListOf(entries, vehicle, inputs);
}

CReminderCheck::Tab CReminderCheck::buildTab(const std::vector<CDVItem>& entries, const VehicleSettings& vehicle,
                                             double currentOdometer, DVTime today, const CLocaleInfo& locale) {
    return buildTabOf(entries, vehicle, currentOdometer, today, locale);
}

CReminderCheck::Tab CReminderCheck::buildTab(const CVehicleLogDoc::Entries& entries, const VehicleSettings& vehicle,
                                             double currentOdometer, DVTime today, const CLocaleInfo& locale) {
    return buildTabOf(entries, vehicle, currentOdometer, today, locale);
}
