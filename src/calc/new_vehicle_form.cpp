#include "calc/new_vehicle_form.h"

#include "calc/number_text.h"

#include "store/text_codec.h"
#include "store/vehicle_log_doc.h"
#include "store/vehicle_registry.h"
#include "store/vehicle_settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::string_view trimmedBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

CNewVehicleForm::Outcome refused(CNewVehicleForm::Field field, std::string message) {
    CNewVehicleForm::Outcome outcome;
    outcome.field = field;
    outcome.message = std::move(message);
    return outcome;
}

} // namespace

bool CNewVehicleForm::vinChanged() {
    std::string vin = trimVinFilter(clipped(upperCaseVin(m_fields.vin), kVinMaxLength));
    if (vin == m_fields.vin)
        return false;
    m_fields.vin = std::move(vin);
    return true;
}

void CNewVehicleForm::nameChanged() {
    m_fields.name = clipped(m_fields.name, kNameMaxLength);
}

std::string CNewVehicleForm::dataFileVin() const {
    return m_fields.vin.empty() ? std::string(kUnknownVin) : m_fields.vin;
}

std::optional<CNewVehicleForm::Outcome> CNewVehicleForm::refusal(const CVehicleRegistry& registry,
                                                                 const std::string& dataFolder) const {
    const std::string& name = m_fields.name;
    if (name.empty())
        return refused(Field::Name, "Please enter a Name for the vehicle.");
    // The name becomes a section header of the vehicle registry file.
    if (name.find_first_of("[]") != std::string::npos ||
        std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        return refused(Field::Name, "The Name \"" + name +
                                        "\" cannot be used: a vehicle name may not contain [ or ].\n"
                                        "Please enter a different Name.");
    for (const std::string& registered : registry.vehicleNames()) {
        if (sameIgnoringCase(registered, name))
            return refused(Field::Name, "A vehicle named \"" + registered +
                                            "\" already exists, and saving would replace its settings.\n"
                                            "Please enter a different Name.");
    }

    const std::string vin = dataFileVin();
    if (vin.find('/') != std::string::npos)
        return refused(Field::Vin, "The V.I.N \"" + vin +
                                       "\" cannot name a data file because it contains /.\n"
                                       "Please use numbers 0-9 and letters A-Z only.");
    const std::string path = CVehicleLogDoc::dataFilePath(dataFolder, vin);
    std::error_code error;
    const bool exists = std::filesystem::exists(std::filesystem::symlink_status(path, error));
    if (error && error != std::errc::no_such_file_or_directory)
        return refused(Field::Vin, "Odrivo could not check whether the data file " + path + " already exists (" +
                                       error.message() +
                                       ").\nMake sure the data folder can be read, then press Save again.");
    if (exists)
        return refused(Field::Vin, "A data file for the V.I.N \"" + vin + "\" already exists:\n" + path +
                                       "\nIt may hold another vehicle's log, so Odrivo will not replace it.\n"
                                       "Please enter a different V.I.N.");
    return std::nullopt;
}

CNewVehicleForm::Outcome CNewVehicleForm::save(CVehicleRegistry& registry, const std::string& dataFolder,
                                               std::time_t now) const {
    if (std::optional<Outcome> refusedOutcome = refusal(registry, dataFolder))
        return *refusedOutcome;

    VehicleSettings settings;
    settings.name = m_fields.name;
    settings.vin = m_fields.vin;
    settings.make = m_fields.make;
    settings.model = m_fields.model;
    settings.plate = m_fields.plate;
    settings.year = m_fields.year;
    settings.startOdometer = m_fields.startOdometer;
    settings.distanceUnit = m_fields.distanceUnit;
    settings.liquid = m_fields.liquid;
    settings.economyUnit = m_fields.economyUnit;
    Outcome outcome;
    if (!registry.writeNewVehicle(settings, now)) {
        outcome.message = "The new vehicle could not be registered in\n" + registry.path() + "\n(" +
                          registry.lastError() + ").\nCheck that this file can be written, then press Save again.";
        return outcome;
    }
    outcome.registered = true;

    const std::string vin = dataFileVin();
    CVehicleLogDoc empty;
    if (!empty.save(CVehicleLogDoc::dataFilePath(dataFolder, vin)).saved) {
        outcome.title = "Error 2105!";
        outcome.message = "Unable to create database.\nFilename: " + vin + "\nPath: " + dataFolder +
                          "\nIf this error persists, send an email to " + kSupportAddress +
                          " and include the above information.";
        return outcome;
    }
    outcome.dataFileSaved = true;
    return outcome;
}

bool CNewVehicleForm::isVinFilterChar(char c) {
    return c != '\0' && kVinFilter.find(c) != std::string_view::npos;
}

std::string CNewVehicleForm::upperCaseVin(std::string_view vin) {
    std::string upper(vin);
    // Only a-z: bytes of other letters are parts of UTF-8 sequences.
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

std::string CNewVehicleForm::trimVinFilter(std::string_view vin) {
    while (!vin.empty() && isVinFilterChar(vin.back()))
        vin.remove_suffix(1);
    while (!vin.empty() && isVinFilterChar(vin.front()))
        vin.remove_prefix(1);
    return std::string(vin);
}

std::string CNewVehicleForm::clipped(std::string_view text, std::size_t maxChars) {
    return odrivo::utf8Prefix(text, maxChars);
}

std::optional<int> CNewVehicleForm::parseInteger(std::string_view text) {
    text = trimmedBlanks(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<double> CNewVehicleForm::parseNumber(std::string_view text) {
    return odrivo::parseEditNumber(text);
}

std::string CNewVehicleForm::numberText(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}
