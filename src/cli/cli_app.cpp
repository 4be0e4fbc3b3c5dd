#include "cli/cli_app.h"

#include "cli/backup_commands.h"
#include "cli/cli_vehicle.h"
#include "cli/export_commands.h"
#include "cli/import_commands.h"
#include "cli/reminder_commands.h"
#include "cli/report_commands.h"
#include "cli/vehicle_commands.h"
#include "cli/vehicle_settings_commands.h"
#include "cli/view_commands.h"
#include "store/app_folders.h"
#include "store/dv_item.h"
#include "store/file_io.h"
#include "store/vehicle_log_doc.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

// The JSON form of a data file: an array with one object per entry, in file order, keyed
// by the CDVItem field names in field order. Ints and times are JSON integers (times in
// seconds since 1970), doubles JSON numbers printed with round-trip precision, strings UTF-8.
//
// JSON numbers cannot be NaN or infinite, so such doubles are written as strings:
// "Infinity", "-Infinity", "NaN" for the usual quiet NaN (bits 0x7FF8000000000000), and
// "NaN(0x...)" with all 64 bits in hex for any other NaN, so that pack restores the exact
// bits and dump followed by pack reproduces the file byte for byte.

namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

constexpr std::uint64_t kQuietNaNBits = 0x7FF8000000000000ull;

OrderedJson doubleToJson(double v) {
    if (std::isinf(v))
        return v > 0 ? "Infinity" : "-Infinity";
    if (std::isnan(v)) {
        const auto bits = std::bit_cast<std::uint64_t>(v);
        if (bits == kQuietNaNBits)
            return "NaN";
        char text[32];
        std::snprintf(text, sizeof text, "NaN(0x%016llX)", static_cast<unsigned long long>(bits));
        return text;
    }
    return v;
}

// The double a JSON string names, or nothing when it names none.
std::optional<double> doubleFromText(const std::string& text) {
    if (text == "Infinity")
        return std::numeric_limits<double>::infinity();
    if (text == "-Infinity")
        return -std::numeric_limits<double>::infinity();
    if (text == "NaN")
        return std::bit_cast<double>(kQuietNaNBits);
    unsigned long long bits = 0;
    int consumed = 0;
    if (text.size() == 23 && std::sscanf(text.c_str(), "NaN(0x%16llx)%n", &bits, &consumed) == 1 && consumed == 23) {
        const double v = std::bit_cast<double>(static_cast<std::uint64_t>(bits));
        if (std::isnan(v))
            return v;
    }
    return std::nullopt;
}

OrderedJson itemToJson(const CDVItem& item) {
    OrderedJson object = OrderedJson::object();
    for (const DVField& field : dvItemFields()) {
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(item.*member)>;
                if constexpr (std::is_same_v<T, double>)
                    object[field.name] = doubleToJson(item.*member);
                else if constexpr (std::is_same_v<T, CDVText>)
                    object[field.name] = (item.*member).str();
                else
                    object[field.name] = item.*member;
            },
            field.member);
    }
    return object;
}

// Thrown while reading the JSON form; the text is shown as it is.
struct InputError {
    std::string text;
};

template <class Int> Int integerFromJson(const Json& value, const std::string& where) {
    using Limits = std::numeric_limits<Int>;
    const std::string range = " (from " + std::to_string(Limits::min()) + " to " + std::to_string(Limits::max()) + ")";
    if (value.is_number_unsigned()) {
        const auto v = value.get<std::uint64_t>();
        if (v > static_cast<std::uint64_t>(Limits::max()))
            throw InputError{where + ": " + value.dump() + " is out of range" + range};
        return static_cast<Int>(v);
    }
    if (value.is_number_integer()) {
        const auto v = value.get<std::int64_t>();
        if (v < Limits::min() || v > Limits::max())
            throw InputError{where + ": " + value.dump() + " is out of range" + range};
        return static_cast<Int>(v);
    }
    if (value.is_number_float()) {
        const double v = value.get<double>();
        if (v != std::trunc(v))
            throw InputError{where + ": " + value.dump() + " is not a whole number"};
        // -2^63 and 2^63 are exact doubles; the int64 range is [-2^63, 2^63).
        if (!(v >= static_cast<double>(Limits::min()) && v < -2.0 * static_cast<double>(Limits::min() / 2)))
            throw InputError{where + ": " + value.dump() + " is out of range" + range};
        return static_cast<Int>(v);
    }
    throw InputError{where + ": expected a whole number, found " + std::string(value.type_name())};
}

double doubleFromJson(const Json& value, const std::string& where) {
    if (value.is_number())
        return value.get<double>();
    if (value.is_string()) {
        if (const auto v = doubleFromText(value.get<std::string>()))
            return *v;
        throw InputError{where + ": expected a number, found the string " + value.dump() +
                         " (only \"NaN\", \"Infinity\" and \"-Infinity\" stand for numbers)"};
    }
    throw InputError{where + ": expected a number, found " + std::string(value.type_name())};
}

const DVField* findField(const std::string& name) {
    for (const DVField& field : dvItemFields()) {
        if (name == field.name)
            return &field;
    }
    return nullptr;
}

std::unique_ptr<CDVItem> itemFromJson(const Json& object, std::size_t index) {
    const std::string record = "record at index " + std::to_string(index);
    if (!object.is_object())
        throw InputError{record + ": expected an object, found " + std::string(object.type_name())};
    auto item = std::make_unique<CDVItem>();
    for (const auto& [name, value] : object.items()) {
        const DVField* field = findField(name);
        if (!field)
            throw InputError{record + ": unknown field \"" + name + "\""};
        const std::string where = record + ", field " + name;
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(item.get()->*member)>;
                if constexpr (std::is_same_v<T, double>) {
                    item.get()->*member = doubleFromJson(value, where);
                } else if constexpr (std::is_same_v<T, CDVText>) {
                    if (!value.is_string())
                        throw InputError{where + ": expected a string, found " + std::string(value.type_name())};
                    item.get()->*member = value.get<std::string>();
                } else {
                    item.get()->*member = integerFromJson<T>(value, where);
                }
            },
            field->member);
    }
    return item;
}

// nlohmann's parse messages start with an exception id meant for programmers.
std::string parseErrorText(const nlohmann::json::parse_error& e) {
    std::string text = e.what();
    const auto close = text.find("] ");
    if (text.rfind("[json.exception", 0) == 0 && close != std::string::npos)
        text.erase(0, close + 2);
    return text;
}

int runDump(const std::string& path, std::ostream& out, std::ostream& err) {
    CVehicleLogDoc doc;
    const LogLoadResult loaded = doc.load(path);
    if (loaded.status == LogLoadStatus::Missing || loaded.status == LogLoadStatus::CannotCreate) {
        err << "odrivo-cli: " << path << ": no such data file.\n";
        return 1;
    }
    if (!loaded.ok()) {
        err << "odrivo-cli: " << loaded.message << '\n';
        return 1;
    }
    OrderedJson records = OrderedJson::array();
    for (const auto& entry : doc.entries())
        records.push_back(itemToJson(*entry));
    out << records.dump(2) << '\n';
    return 0;
}

int runPack(const std::string& jsonPath, const std::string& dataPath, std::ostream& out, std::ostream& err) {
    std::string text;
    std::string reason;
    switch (odrivo::readWholeFile(jsonPath, text, &reason)) {
    case odrivo::ReadStatus::Missing:
        err << "odrivo-cli: " << jsonPath << ": no such file. Nothing was written.\n";
        return 1;
    case odrivo::ReadStatus::Failed:
        err << "odrivo-cli: " << jsonPath << " could not be read: " << reason << ". Nothing was written.\n";
        return 1;
    case odrivo::ReadStatus::Ok:
        break;
    }

    std::vector<std::unique_ptr<CDVItem>> items;
    try {
        const Json records = Json::parse(text);
        if (!records.is_array())
            throw InputError{"expected an array of records, found " + std::string(records.type_name())};
        items.reserve(records.size());
        for (std::size_t i = 0; i < records.size(); ++i)
            items.push_back(itemFromJson(records[i], i));
    } catch (const nlohmann::json::parse_error& e) {
        err << "odrivo-cli: " << jsonPath << ": not valid JSON: " << parseErrorText(e) << ". Nothing was written.\n";
        return 1;
    } catch (const InputError& e) {
        err << "odrivo-cli: " << jsonPath << ": " << e.text << ". Nothing was written.\n";
        return 1;
    }

    // Loading first refuses a target that exists but is not a readable data file.
    CVehicleLogDoc doc;
    const LogLoadResult loaded = doc.load(dataPath);
    if (loaded.status == LogLoadStatus::CannotCreate) {
        err << "odrivo-cli: cannot create " << dataPath
            << ": its folder does not exist or is not writable. Nothing was written.\n";
        return 1;
    }
    if (!loaded.ok()) {
        err << "odrivo-cli: " << loaded.message << '\n';
        return 1;
    }
    doc.clear();
    // File order, not odometer order: the records are the file's list as it was.
    for (auto& item : items)
        doc.append(std::move(item));
    const LogSaveResult saved = doc.save(dataPath);
    if (!saved.saved) {
        err << "odrivo-cli: " << saved.message << '\n';
        return 1;
    }
    out << "Wrote " << doc.size() << (doc.size() == 1 ? " entry" : " entries") << " to " << dataPath << ".\n";
    return 0;
}

} // namespace

int runCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"Odrivo command-line tool: works on Odrivo's vehicles and data files.", "odrivo-cli"};
    app.set_version_flag("--version", std::string("odrivo-cli ") + ODRIVO_VERSION);
    app.require_subcommand(1);
    app.fallthrough();
    std::string profilePath = CAppFolders::profilePath();
    app.add_option("--profile", profilePath, "The settings file to use instead of the user's own")
        ->check(CLI::ExistingFile);

    std::string dumpPath;
    CLI::App* dump = app.add_subcommand("dump", "Print every entry of a vehicle data file (.odv) as JSON");
    dump->add_option("FILE", dumpPath, "The data file to read")->required();

    std::string packJson;
    std::string packData;
    CLI::App* pack =
        app.add_subcommand("pack", "Write a vehicle data file (.odv) from JSON in the form that dump prints");
    pack->add_option("JSON", packJson, "The JSON file to read")->required();
    pack->add_option("FILE", packData, "The data file to write")->required();

    CLI::App* vehicles = app.add_subcommand("vehicles", "List the vehicles; the current one is marked with *");
    std::optional<std::string> recalcVehicle;
    CLI::App* recalc = app.add_subcommand("recalc", "Recalculate the fuel economy of a vehicle's log and save it");
    recalc->add_option("--vehicle", recalcVehicle, "The vehicle (default: the current one)");

    ViewOptions viewOptions;
    auto addViewOptions = [&viewOptions](CLI::App* command) {
        command->add_option("--vehicle", viewOptions.vehicle, "The vehicle (default: the current one)");
        command->add_option("--view", viewOptions.view, "fuel, repairs, trips or any (default: the window's last)");
        command->add_option("--range", viewOptions.range, "A date range such as \"This Month\"");
        command->add_option("--from", viewOptions.from, "Start of selected dates (ISO 8601)");
        command->add_option("--to", viewOptions.to, "End of selected dates (ISO 8601)");
        command->add_option("--now", viewOptions.now, "The moment date ranges count from (ISO 8601)");
    };
    CLI::App* list = app.add_subcommand("list", "Print the rows the window shows, tab-separated");
    addViewOptions(list);
    list->add_option("--search", viewOptions.search, "Show the entries containing this text instead");
    CLI::App* stats = app.add_subcommand("stats", "Print the totals, page figures and performance verdict");
    addViewOptions(stats);
    std::string exportPath;
    CLI::App* exportCommand =
        app.add_subcommand("export", "Write the rows that list prints to a CSV file, in the view's column layout");
    addViewOptions(exportCommand);
    exportCommand->add_option("--search", viewOptions.search, "Export the entries containing this text instead");
    exportCommand->add_option("--out", exportPath, "The file to write (\".csv\" is added when the name lacks it)")
        ->required();

    ReportOptions reportOptions;
    CLI::App* report = app.add_subcommand("report", "Lay out a printed report of the rows list prints, as text or PDF");
    report->add_option("KIND", reportOptions.kind, "view (the listed rows), item (one row) or vehicle")
        ->required()
        ->check(CLI::IsMember({"view", "item", "vehicle"}));
    addViewOptions(report);
    report->add_option("--search", viewOptions.search, "Report the entries containing this text instead");
    report->add_option("--entry", reportOptions.entry, "item: the row to print, numbered from 1 as list prints them");
    report->add_option("--pdf", reportOptions.pdf, "Write the report to this PDF file");
    report->add_flag("--layout", reportOptions.layout, "Print every drawing call of the report, one per line");

    ImportOptions importOptions;
    CLI::App* importCommand =
        app.add_subcommand("import", "Read a CSV file into a vehicle's log through a saved or proposed column map");
    importCommand->add_option("FILE", importOptions.csvPath, "The CSV file; its first line holds the headings")
        ->required();
    importCommand->add_option("--vehicle", importOptions.vehicle, "The vehicle (default: the current one)");
    importCommand->add_option("--map", importOptions.map,
                              "The saved column map (default: the one last used; with --auto-map the name to save "
                              "the proposed map under, default the file's name)");
    importCommand->add_flag("--auto-map", importOptions.autoMap,
                            "Map the columns whose headings name a field, print the map and use it");
    importCommand->add_option("--type", importOptions.type, "What every line is when no column gives the entry type")
        ->check(CLI::IsMember({"fuel", "repair", "trip"}));

    ReminderOptions reminderOptions;
    CLI::App* reminders =
        app.add_subcommand("reminders", "Print the reminder list top to bottom, each line after its image index");
    reminders->add_option("--vehicle", reminderOptions.vehicle, "The vehicle (default: the current one)");
    reminders->add_option("--now", reminderOptions.now,
                          "The moment taken as today: YYYY-MM-DD or \"YYYY-MM-DD HH:MM[:SS]\" (default: now)");

    VehicleSettingsOptions settingsOptions;
    CLI::App* vehicleCommand = app.add_subcommand(
        "vehicle", "Print a vehicle's settings as KEY=VALUE lines, or change them with --set and save them");
    vehicleCommand->add_option("--vehicle", settingsOptions.vehicle, "The vehicle (default: the current one)");
    vehicleCommand->add_option("--set", settingsOptions.assignments,
                               "KEY=VALUE, KEY as the vehicle prints it (repeat for more; all are checked first)");

    CLI::App* backup = app.add_subcommand("backup", "Copy every data file and INI file to the backup folder");
    bool restoreConfirmed = false;
    CLI::App* restore =
        app.add_subcommand("restore", "Copy the backup folder's files back over the data and INI files");
    restore->add_flag("--yes", restoreConfirmed, "Replace the files (without it, only list what would be replaced)");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e, out, err);
    }
    if (dump->parsed())
        return runDump(dumpPath, out, err);
    if (pack->parsed())
        return runPack(packJson, packData, out, err);
    if (!requireReadable(profilePath, err))
        return 1;
    if (vehicles->parsed())
        return runVehicles(profilePath, out, err);
    if (list->parsed())
        return runList(profilePath, viewOptions, out, err);
    if (stats->parsed())
        return runStats(profilePath, viewOptions, out, err);
    if (exportCommand->parsed())
        return runExport(profilePath, viewOptions, exportPath, out, err);
    if (report->parsed())
        return runReport(profilePath, viewOptions, reportOptions, out, err);
    if (importCommand->parsed())
        return runImport(profilePath, importOptions, out, err);
    if (reminders->parsed())
        return runReminders(profilePath, reminderOptions, out, err);
    if (vehicleCommand->parsed())
        return runVehicleSettings(profilePath, settingsOptions, out, err);
    if (backup->parsed())
        return runBackup(profilePath, std::time(nullptr), out, err);
    if (restore->parsed())
        return runRestore(profilePath, restoreConfirmed, std::time(nullptr), out, err);
    return runRecalc(profilePath, recalcVehicle, out, err);
}
