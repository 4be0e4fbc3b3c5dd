#include "cli/vehicle_settings_commands.h"

#include "calc/reminder_check.h"
#include "cli/cli_vehicle.h"
#include "store/app_profile.h"
#include "store/folder_settings.h"
#include "store/text_codec.h"
#include "store/vehicle_registry.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <ctime>
#include <functional>
#include <limits>
#include <ostream>
#include <strings.h>
#include <variant>

namespace {

using Field = std::variant<int*, double*, std::string*>;

enum class Kind { Whole, Number, Text, Unit, Fixed };

struct SettingKey {
    std::string name;
    Kind kind = Kind::Fixed;
    std::function<Field(VehicleSettings&)> field;
    double min = std::numeric_limits<int>::min();
    double max = std::numeric_limits<int>::max();
    std::vector<std::string> words; // Unit: the file's word for each code
    std::size_t maxLength = 0;      // Text: 0 for no limit
    std::string fixedReason;        // Fixed: why the command does not change it
};

// Reals are written with "%f" and read back from at most 64 characters, so a size is
// allowed only while its text stays far inside that.
constexpr double kLargestReal = 1e15;
// The reminder page's limits.
constexpr int kLeadDaysMax = 90;
constexpr double kLeadOdoMax = 10000;
constexpr std::size_t kCustomNameMax = 20;

template <class Member> auto member(Member VehicleSettings::*m) {
    return [m](VehicleSettings& s) -> Field { return &(s.*m); };
}

using FieldOf = std::function<Field(VehicleSettings&)>;

SettingKey makeKey(std::string name, Kind kind, FieldOf field) {
    SettingKey key;
    key.name = std::move(name);
    key.kind = kind;
    key.field = std::move(field);
    return key;
}

SettingKey whole(std::string name, FieldOf field) {
    return makeKey(std::move(name), Kind::Whole, std::move(field));
}

SettingKey number(std::string name, FieldOf field) {
    SettingKey key = makeKey(std::move(name), Kind::Number, std::move(field));
    key.min = -kLargestReal;
    key.max = kLargestReal;
    return key;
}

SettingKey text(std::string name, FieldOf field, std::size_t maxLength = 0) {
    SettingKey key = makeKey(std::move(name), Kind::Text, std::move(field));
    key.maxLength = maxLength;
    return key;
}

template <std::size_t N> SettingKey unit(std::string name, FieldOf field, const std::array<const char*, N>& words) {
    SettingKey key = makeKey(std::move(name), Kind::Unit, std::move(field));
    key.words.assign(words.begin(), words.end());
    return key;
}

SettingKey fixed(std::string name, FieldOf field, std::string reason) {
    SettingKey key = makeKey(std::move(name), Kind::Fixed, std::move(field));
    key.fixedReason = std::move(reason);
    return key;
}

// In the order the command prints them.
const std::vector<SettingKey>& settingKeys() {
    static const std::vector<SettingKey> keys = [] {
        std::vector<SettingKey> k;
        k.push_back(fixed("VIN", member(&VehicleSettings::vin),
                          "it names the vehicle's data file, so changing it would part the vehicle from its log"));
        k.push_back(whole("Year", member(&VehicleSettings::year)));
        k.push_back(text("Plate", member(&VehicleSettings::plate)));
        k.push_back(text("Make", member(&VehicleSettings::make)));
        k.push_back(text("Model", member(&VehicleSettings::model)));
        k.push_back(number("Start Odometer", member(&VehicleSettings::startOdometer)));
        k.push_back(number("CostPerMile", member(&VehicleSettings::costPerMile)));
        k.push_back(unit("Distance", member(&VehicleSettings::distanceUnit), CVehicleRegistry::kDistanceUnits));
        k.push_back(unit("Liquid", member(&VehicleSettings::liquid), CVehicleRegistry::kLiquidUnits));
        k.push_back(unit("Econo", member(&VehicleSettings::economyUnit), CVehicleRegistry::kEconomyUnits));
        const std::pair<const char*, std::pair<int VehicleSettings::*, double VehicleSettings::*>> intervals[] = {
            {"Oil", {&VehicleSettings::oilDays, &VehicleSettings::oilDistance}},
            {"Cool", {&VehicleSettings::coolDays, &VehicleSettings::coolDistance}},
            {"Tire", {&VehicleSettings::tireDays, &VehicleSettings::tireDistance}},
            {"Tune", {&VehicleSettings::tuneDays, &VehicleSettings::tuneDistance}},
            {"Trans", {&VehicleSettings::transDays, &VehicleSettings::transDistance}},
        };
        for (const auto& [prefix, fields] : intervals) {
            k.push_back(whole(std::string(prefix) + "Days", member(fields.first)));
            k.push_back(number(std::string(prefix) + "Distance", member(fields.second)));
        }
        for (std::size_t i = 0; i < VehicleSettings::kCustomCount; ++i) {
            const std::string n = std::to_string(i + 1);
            k.push_back(text(
                "Custom" + n, [i](VehicleSettings& s) -> Field { return &s.customNames[i]; }, kCustomNameMax));
            k.push_back(whole("C" + n + "Days", [i](VehicleSettings& s) -> Field { return &s.customDays[i]; }));
            k.push_back(number("C" + n + "Miles", [i](VehicleSettings& s) -> Field { return &s.customDistance[i]; }));
        }
        SettingKey leadDays = whole("LeadDays", member(&VehicleSettings::leadDays));
        leadDays.min = 0;
        leadDays.max = kLeadDaysMax;
        k.push_back(leadDays);
        SettingKey leadOdo = number("LeadOdo", member(&VehicleSettings::leadOdo));
        leadOdo.min = 0;
        leadOdo.max = kLeadOdoMax;
        k.push_back(leadOdo);
        return k;
    }();
    return keys;
}

// Keys the command shows nothing of but that people may find in the file and try.
std::string notChangedHere(const std::string& key) {
    if (strcasecmp(key.c_str(), "Company") == 0)
        return "the company name belongs to all vehicles; change it on the Vehicle page of Setup";
    if (strcasecmp(key.c_str(), "SetupDate") == 0)
        return "it is the date the vehicle was set up";
    if (strncasecmp(key.c_str(), "LastR", 5) == 0)
        return "the reminder check works it out from the log each time the vehicle is saved";
    return {};
}

std::string shortest(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string shown(const SettingKey& key, VehicleSettings& s) {
    const Field field = key.field(s);
    if (key.kind == Kind::Unit) {
        const int code = *std::get<int*>(field);
        return code >= 0 && static_cast<std::size_t>(code) < key.words.size()
                   ? key.words[static_cast<std::size_t>(code)]
                   : key.words[0];
    }
    if (const auto* i = std::get_if<int*>(&field))
        return std::to_string(**i);
    if (const auto* d = std::get_if<double*>(&field))
        return shortest(**d);
    return *std::get<std::string*>(field);
}

std::string range(const SettingKey& key) {
    return " (from " + shortest(key.min) + " to " + shortest(key.max) + ")";
}

// The number `value` names, with nothing before or after it; a leading '+' is allowed.
template <class T> std::optional<T> parsed(std::string_view value) {
    if (value.starts_with('+'))
        value.remove_prefix(1);
    T result{};
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), result);
    if (value.empty() || ec == std::errc::invalid_argument || end != value.data() + value.size())
        return std::nullopt;
    if (ec == std::errc::result_out_of_range)
        return std::numeric_limits<T>::infinity() > 0 ? std::optional<T>(std::numeric_limits<T>::infinity())
                                                      : std::optional<T>(std::numeric_limits<T>::max());
    return result;
}

// Puts `value` into the key's field of `s`; the reason it cannot, or "".
std::string assign(const SettingKey& key, const std::string& value, VehicleSettings& s) {
    const std::string quoted = "\"" + value + "\"";
    const Field field = key.field(s);
    switch (key.kind) {
    case Kind::Fixed:
        return "it is not changed here: " + key.fixedReason;
    case Kind::Unit:
        for (std::size_t code = 0; code < key.words.size(); ++code)
            if (strcasecmp(value.c_str(), key.words[code].c_str()) == 0) {
                *std::get<int*>(field) = static_cast<int>(code);
                return {};
            }
        {
            std::string choices;
            for (const std::string& word : key.words)
                choices += (choices.empty() ? "" : ", ") + word;
            return quoted + " is not one of " + choices;
        }
    case Kind::Text:
        if (!odrivo::isValidUtf8(value) || std::any_of(value.begin(), value.end(), [](char c) {
                return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
            }))
            return "the text holds a line break or another control character, which the file cannot keep";
        if (!odrivo::fitsCp1252(value))
            return quoted + " holds characters the file cannot store (it keeps Western European text only)";
        if (key.maxLength && odrivo::utf8Length(value) > key.maxLength)
            return quoted + " is longer than " + std::to_string(key.maxLength) + " characters";
        *std::get<std::string*>(field) = value;
        return {};
    case Kind::Whole: {
        const auto v = parsed<long long>(value);
        if (!v)
            return quoted + " is not a whole number";
        if (static_cast<double>(*v) < key.min || static_cast<double>(*v) > key.max)
            return value + " is out of range" + range(key);
        if (auto* i = std::get_if<int*>(&field))
            **i = static_cast<int>(*v);
        else
            *std::get<double*>(field) = static_cast<double>(*v);
        return {};
    }
    case Kind::Number: {
        // Only plain decimal notation: from_chars would also take "nan", "inf" and the like.
        const bool plain = value.find_first_not_of("0123456789+-.eE") == std::string::npos;
        const auto v = plain ? parsed<double>(value) : std::nullopt;
        if (!v)
            return quoted + " is not a number";
        if (!(*v >= key.min && *v <= key.max))
            return value + " is out of range" + range(key);
        *std::get<double*>(field) = *v;
        return {};
    }
    }
    return {};
}

const SettingKey* findKey(const std::string& name) {
    for (const SettingKey& key : settingKeys())
        if (strcasecmp(key.name.c_str(), name.c_str()) == 0)
            return &key;
    return nullptr;
}

// Applies every assignment to `s`; false, with the first fault on `err`, when one cannot be.
bool applyAll(const std::vector<std::string>& assignments, VehicleSettings& s, std::ostream& err) {
    for (const std::string& assignment : assignments) {
        const auto equals = assignment.find('=');
        if (equals == std::string::npos) {
            err << "odrivo-cli: --set \"" << assignment << "\" is not KEY=VALUE. Nothing was changed.\n";
            return false;
        }
        const std::string name = assignment.substr(0, equals);
        const std::string value = assignment.substr(equals + 1);
        const SettingKey* key = findKey(name);
        std::string fault;
        if (!key) {
            fault = notChangedHere(name);
            fault = fault.empty() ? "there is no such key; run \"odrivo-cli vehicle\" to see the keys"
                                  : "it is not changed here: " + fault;
        } else {
            fault = assign(*key, value, s);
        }
        if (!fault.empty()) {
            err << "odrivo-cli: " << (key ? key->name : name) << ": " << fault << ". Nothing was changed.\n";
            return false;
        }
    }
    return true;
}

} // namespace

int runVehicleSettings(const std::string& profilePath, const VehicleSettingsOptions& options, std::ostream& out,
                       std::ostream& err) {
    CliVehicle opened;
    if (!openCliVehicle(profilePath, options.vehicle, opened, err))
        return 1;
    if (options.assignments.empty()) {
        out << '[' << opened.name << "]\n";
        for (const SettingKey& key : settingKeys())
            out << key.name << '=' << shown(key, opened.settings) << '\n';
        return 0;
    }

    const std::time_t now = std::time(nullptr);
    VehicleSettings changed = opened.settings;
    // The window saves the last-done pairs its reminder check worked out before the setup
    // opened, with the settings the vehicle had then.
    const auto list = CReminderCheck::buildList(opened.session.doc().entries(), opened.settings, {0, now, {}});
    CReminderCheck::storeLastDone(list, changed);
    if (!applyAll(options.assignments, changed, err))
        return 1;

    CVehicleRegistry registry(FolderSettings::read(CAppProfile(profilePath)).config);
    if (!registry.saveVehicle(changed, registry.vehicleNames(), now)) {
        err << "odrivo-cli: the settings of " << opened.name << " were not saved to " << registry.path() << ": "
            << registry.lastError() << ".\nCheck that the file and its folder may be written, then try again.\n";
        return 1;
    }
    out << "Saved the settings of " << opened.name << " to " << registry.path() << ".\n";
    return 0;
}
