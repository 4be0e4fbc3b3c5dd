#include "exchange/csv_import.h"

#include "calc/locale_info.h"
#include "calc/number_text.h"
#include "exchange/csv_text.h"
#include "store/app_profile.h"
#include "store/text_codec.h"
#include "store/vehicle_log_doc.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>

const char* const CCsvImport::kHeadingsOpenError = "ERROR 401: Error opening CSV file";
const char* const CCsvImport::kNoColumnsError =
    "ERROR 2201: The CSV file selected has no definable columns or no CSV file was selected. Please select a CSV "
    "file using the Browse Button.\nIf a file was selected, Please consult the manual on CSV formats or visit the "
    "support Website.";
const char* const CCsvImport::kOdometerWarning =
    "WARNING! The Odometer field must be mapped.  All imported data must have a mileage entry to be valid.";
const char* const CCsvImport::kImportOpenError = "ERROR 402: Error opening CSV file";
const char* const CCsvImport::kFormatError =
    "Error 3221:\nCSV data format bad,\nPlease refer to manual under Importing CSV files.";
const char* const CCsvImport::kTooManyFieldsError =
    "Error!\nToo many fields in CSV line.\nThis error is reported when the data can not be imported properly.\n"
    "Please refer to the manual under importing data for a solution to this error.";

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view text, std::string_view set) {
    const auto first = text.find_first_not_of(set);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(set) - first + 1);
}

std::string_view trimmedLeft(std::string_view text, std::string_view set) {
    const auto first = text.find_first_not_of(set);
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

std::string_view trimmedRight(std::string_view text, std::string_view set) {
    const auto last = text.find_last_not_of(set);
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// The part of `text` from `pos` on, at most `count` characters; empty past the end.
std::string_view part(std::string_view text, std::size_t pos, std::size_t count = std::string_view::npos) {
    return pos >= text.size() ? std::string_view{} : text.substr(pos, count);
}

int integer(std::string_view text) {
    text = trimmedLeft(text, " \t");
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    return ec == std::errc{} ? value : 0;
}

// The bytes that hold the first `count` characters of a UTF-8 text (all of it when shorter).
std::size_t bytesOfCharacters(std::string_view utf8, std::size_t count) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80)
            continue;
        if (characters++ == count)
            return i;
    }
    return utf8.size();
}

std::string fileText(std::ifstream& file, const std::string& path) {
    // Read in large blocks: a byte at a time costs more than the whole import of a big file.
    std::string bytes;
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!error)
        bytes.reserve(static_cast<std::size_t>(size));
    std::array<char, 1 << 16> block;
    while (file.read(block.data(), block.size()) || file.gcount() > 0)
        bytes.append(block.data(), static_cast<std::size_t>(file.gcount()));
    return odrivo::csvTextToUtf8(bytes);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The bytes of a currency sign at the start of `text`: "$", the locale's symbol, or a
// character of the Latin-1 cent to yen signs or the Unicode currency block ("€", "₹"); 0 for none.
std::size_t currencyLength(std::string_view text, std::string_view localeSymbol) {
    if (!localeSymbol.empty() && !isDigit(localeSymbol.front()) && text.starts_with(localeSymbol))
        return localeSymbol.size();
    const auto byte = [&text](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0; };
    if (byte(0) == '$')
        return 1;
    if (byte(0) == 0xC2 && byte(1) >= 0xA2 && byte(1) <= 0xA5)
        return 2;
    if (byte(0) == 0xE2 && ((byte(1) == 0x82 && byte(2) >= 0xA0) || (byte(1) == 0x83 && byte(2) <= 0x8F)))
        return 3;
    return 0;
}

int fullYear(int year) {
    if (year >= 0 && year < 60)
        return year + 2000;
    if (year >= 60 && year <= 99)
        return year + 1900;
    return year;
}

} // namespace

CCsvImport::CCsvImport(CColumnMap map, VehicleSettings vehicle, CsvDateStyle dateStyle, DVTime programStart)
    : m_map(map), m_vehicle(std::move(vehicle)), m_dateStyle(std::move(dateStyle)), m_programStart(programStart) {}

CsvHeadings CCsvImport::readHeadings(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        CsvHeadings headings;
        headings.message = kHeadingsOpenError;
        return headings;
    }
    // The whole file decides its encoding, so headings and data are read the same way.
    return headingsOf(fileText(file, path));
}

CsvHeadings CCsvImport::headingsOf(std::string_view firstBytes) {
    CsvHeadings headings;
    std::string_view line = firstBytes.substr(0, bytesOfCharacters(firstBytes, kReadSize));
    // A file whose lines end in CR alone has its headings up to the first CR.
    const std::size_t end = std::min(line.find_first_of("\r\n"), line.size());
    headings.dataStart = end + (line.substr(end).starts_with("\r\n") ? 2 : 1);
    line = line.substr(0, end);
    // Our own export starts with a byte-order mark; it is no part of the first heading.
    if (line.starts_with(kByteOrderMark))
        line.remove_prefix(kByteOrderMark.size());
    if (!contains(line, ",")) {
        headings.message = kNoColumnsError;
        return headings;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        const bool last = comma == std::string_view::npos;
        std::string_view piece = line.substr(start, last ? std::string_view::npos : comma - start);
        piece = trimmed(piece, "\"");
        if (last)
            piece = trimmed(piece, "\r\n ,\"");
        if (!piece.empty())
            headings.columns.emplace_back(piece);
        if (last)
            break;
        start = comma + 1;
    }
    headings.ok = true;
    return headings;
}

CCsvImport::ScanStatus CCsvImport::scanLine(std::string_view chunk, LineBuffer& fields, std::size_t& consumed) {
    fields.fill(" ");
    consumed = 0;
    std::size_t pos = 0;
    int count = 0;
    while (true) {
        const std::size_t start = pos;
        const bool quoted = pos < chunk.size() && chunk[pos] == '"';
        std::size_t characters = 0;
        bool ended = false;
        while (!ended) {
            // A line cut off by the read size, or a last line without its line end, never ends.
            if (pos >= chunk.size())
                return ScanStatus::FormatError;
            const char c = chunk[pos++];
            characters += (static_cast<unsigned char>(c) & 0xC0) == 0x80 ? 0 : 1;
            // LF, CR LF and a lone CR all end a line.
            ended =
                (quoted ? c == ',' && pos - start >= 2 && chunk[pos - 2] == '"' : c == ',') || c == '\n' || c == '\r';
            if (c == '\r' && pos < chunk.size() && chunk[pos] == '\n')
                ++pos;
            if (!ended && characters >= kFieldFormatLimit)
                return ScanStatus::FormatError;
        }
        const std::string_view text = chunk.substr(start, pos - start);
        if (count == kFieldLimit)
            return ScanStatus::TooManyFields;
        fields[static_cast<std::size_t>(count++)] = cleanField(text);
        if (text.back() == '\n' || text.back() == '\r') {
            consumed = pos;
            return ScanStatus::Line;
        }
    }
}

std::string CCsvImport::cleanField(std::string_view raw) {
    std::string_view text = trimmedRight(raw, "\r\n");
    text = trimmed(text, "\"");
    text = trimmedLeft(text, "\",");
    // Only blanks: a tab inside the field's text is the user's.
    text = trimmed(text, " ");
    text = trimmedRight(text, "\",");
    if (text.empty())
        return " ";
    return odrivo::utf8Prefix(text, kFieldTextLimit);
}

std::string CCsvImport::mapped(const LineBuffer& fields, int slot) const {
    const int column = m_map.column(slot);
    if (column < 0 || column >= kFieldLimit)
        return {};
    return fields[static_cast<std::size_t>(column)];
}

double CCsvImport::number(const LineBuffer& fields, int slot) const {
    return parseNumber(mapped(fields, slot), m_numberStyle);
}

std::optional<CDVItem> CCsvImport::buildEntry(const LineBuffer& fields) const {
    const double odometer = number(fields, CColumnMap::Odometer);
    // Without an EntryType column every line is of the map's fixed kind; with neither, the
    // entry text stays empty and the line is never inserted.
    const std::string entryText =
        m_map.isMapped(CColumnMap::EntryType) ? mapped(fields, CColumnMap::EntryType) : m_map.fixedEntry();
    if (odometer <= 0 || entryText.empty())
        return std::nullopt;

    const auto has = [this](int slot) { return m_map.isMapped(slot); };
    CDVItem e;
    e.Entry = entryText;
    e.EntryType = CDVItem::Repair;
    e.Icon = 1;
    e.Measure.assign(1, ' '); // as a string literal, GCC 12 warns of a false overlap in Release builds
    const std::string kind = upper(entryText);

    if (contains(kind, "FUEL") || contains(kind, "GAS")) {
        e.EntryType = CDVItem::Fuel;
        e.Icon = 0;
        e.EconomyUnit = m_vehicle.economyUnit;
        e.DistanceUnit = m_vehicle.distanceUnit;
        if (has(CColumnMap::FuelQty))
            e.Quantity = number(fields, CColumnMap::FuelQty);
        if (has(CColumnMap::FuelPrice))
            e.UnitPrice = number(fields, CColumnMap::FuelPrice);
        if (has(CColumnMap::Economy))
            e.Economy = number(fields, CColumnMap::Economy);
        e.Measure = m_vehicle.liquid == 1 ? "Imp.Gallons" : m_vehicle.liquid == 2 ? "Litre" : "Gallons";
        // A partial fill carries its economy over to the next full one.
        if (has(CColumnMap::PartialFill) && isYes(mapped(fields, CColumnMap::PartialFill)))
            e.PartialFill = 1;
    }
    // Tested after the fuel words, so a text matching both is a trip keeping its fuel values.
    if (contains(kind, "TRIP") || contains(kind, "BUSINESS") || contains(kind, "PERSONAL") || contains(kind, "OTHER")) {
        e.EntryType = CDVItem::Trip;
        e.Icon = 2;
        if (has(CColumnMap::EndOdo))
            e.EndOdometer = number(fields, CColumnMap::EndOdo);
        if (has(CColumnMap::Parking))
            e.Parking = number(fields, CColumnMap::Parking);
        if (has(CColumnMap::DepartDate))
            e.DepartTime = date(mapped(fields, CColumnMap::DepartDate));
        if (has(CColumnMap::ArriveDate))
            e.ArriveTime = date(mapped(fields, CColumnMap::ArriveDate));
        if (has(CColumnMap::Purpose))
            e.Purpose = mapped(fields, CColumnMap::Purpose);
        if (has(CColumnMap::Destination))
            e.Destination = mapped(fields, CColumnMap::Destination);
        if (has(CColumnMap::Contact))
            e.Contact = mapped(fields, CColumnMap::Contact);
    }

    static constexpr std::pair<const char*, int> kIcons[] = {
        {"OIL CHANGE", 4}, {"TUNE", 5}, {"TRANS", 6}, {"COOL", 7}, {"TIRE", 17}};
    for (const auto& [word, icon] : kIcons) {
        if (contains(kind, word))
            e.Icon = icon;
    }

    if (has(CColumnMap::Measure)) {
        const std::string measure = upper(mapped(fields, CColumnMap::Measure));
        if (measure.starts_with("GAL"))
            e.Measure = "Gallons";
        else if (measure.starts_with("IMP"))
            e.Measure = "Imp. Gallons";
        else if (measure.starts_with("LIT"))
            e.Measure = "Litres";
    }

    e.Odometer = odometer;
    if (has(CColumnMap::Date))
        e.Date = date(mapped(fields, CColumnMap::Date));
    if (has(CColumnMap::Notes))
        e.Note = mapped(fields, CColumnMap::Notes);
    if (has(CColumnMap::Station))
        e.Station = mapped(fields, CColumnMap::Station);
    if (has(CColumnMap::Invoice))
        e.Invoice = mapped(fields, CColumnMap::Invoice);
    e.SpareTime = m_programStart;
    if (has(CColumnMap::TollsMaint))
        e.Cost = number(fields, CColumnMap::TollsMaint);
    return e;
}

DVTime CCsvImport::parseDate(std::string_view field, const CsvDateStyle& style, DVTime fallback) {
    if (trimmed(field, " \t").empty())
        return fallback;
    // Month names are not read.
    for (const char* month : {"Mar", "Apr", "May", "Aug"}) {
        if (contains(field, month))
            return fallback;
    }
    if (field.find_first_of("JFSOND") != std::string_view::npos)
        return fallback;

    // ISO 8601 ("2024-01-15", "2024-01-15 08:30", "2024-01-15T08:30:00") whatever the locale's order.
    if (field.size() >= 5 && std::all_of(field.begin(), field.begin() + 4, isDigit) && field[4] == '-')
        return parseIsoDate(field, fallback);

    const auto separatorAt = style.dateSeparator.empty() ? std::string_view::npos : field.find(style.dateSeparator);
    // Without a separator the parts are read from the start, as from a separator before it.
    const std::size_t afterSeparator =
        separatorAt == std::string_view::npos ? 0 : separatorAt + style.dateSeparator.size();
    const int n1 = integer(field);
    const int n2 = integer(part(field, afterSeparator, 2));
    const int n3 = integer(part(field, afterSeparator + 3));

    const auto seconds = static_cast<std::time_t>(fallback);
    std::tm fallbackParts{};
    ::localtime_r(&seconds, &fallbackParts);
    int hour = fallbackParts.tm_hour;
    int minute = fallbackParts.tm_min;
    const auto timeAt = style.timeSeparator.empty() ? std::string_view::npos : field.find(style.timeSeparator);
    if (timeAt != std::string_view::npos && timeAt >= 1) {
        const std::size_t hourAt = timeAt >= 2 ? timeAt - 2 : 0;
        hour = integer(field.substr(hourAt, timeAt - hourAt));
        minute = integer(part(field, timeAt + style.timeSeparator.size(), 2));
        const auto afternoonAt = style.afternoon.empty() ? std::string_view::npos : field.find(style.afternoon);
        if (afternoonAt != std::string_view::npos && afternoonAt >= 1 && hour < 12)
            hour += 12;
    }

    int year = 0;
    int month = 0;
    int day = 0;
    switch (style.order) {
    case 0:
        month = n1, day = n2, year = n3;
        break;
    case 1:
        day = n1, month = n2, year = n3;
        break;
    case 2:
        year = n1, month = n2, day = n3;
        break;
    default:
        return fallback;
    }
    return localTime(fullYear(year), month, day, hour, minute, fallback);
}

DVTime CCsvImport::parseIsoDate(std::string_view field, DVTime fallback) {
    // Each part is its digits only, so "2024-1-5" reads as well as "2024-01-05".
    std::size_t at = 0;
    const auto digits = [&field, &at](std::size_t most) {
        const std::size_t start = at;
        while (at < field.size() && at - start < most && isDigit(field[at]))
            ++at;
        return at == start ? -1 : integer(field.substr(start, at - start));
    };
    const auto skip = [&field, &at](std::string_view separators) {
        const bool found = at < field.size() && separators.find(field[at]) != std::string_view::npos;
        at += found ? 1 : 0;
        return found;
    };
    const int year = digits(4);
    const int month = skip("-") ? digits(2) : -1;
    const int day = skip("-") ? digits(2) : -1;
    if (month < 0 || day < 0 || (at < field.size() && field[at] != ' ' && field[at] != 'T'))
        return fallback;
    const auto seconds = static_cast<std::time_t>(fallback);
    std::tm fallbackParts{};
    ::localtime_r(&seconds, &fallbackParts);
    int hour = fallbackParts.tm_hour;
    int minute = fallbackParts.tm_min;
    // Seconds and a zone are not read: every entry's time is local and to the minute.
    if (skip(" T")) {
        hour = digits(2);
        minute = skip(":") ? digits(2) : -1;
        if (hour < 0 || minute < 0 || hour > 23 || minute > 59)
            return fallback;
    }
    return localTime(year, month, day, hour, minute, fallback);
}

DVTime CCsvImport::localTime(int year, int month, int day, int hour, int minute, DVTime fallback) {
    // Also keeps the arithmetic below clear of overflow ("01/02/-2147483648").
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
        return fallback;
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = 0;
    parts.tm_isdst = -1;
    const std::time_t result = std::mktime(&parts);
    return result == static_cast<std::time_t>(-1) ? fallback : static_cast<DVTime>(result);
}

CsvDateStyle CCsvImport::dateStyleFrom(std::string_view dateFormat) {
    std::string format(dateFormat);
    for (const auto& [from, to] : {std::pair{"%D", "%m/%d/%y"}, std::pair{"%F", "%Y-%m-%d"}}) {
        for (auto at = format.find(from); at != std::string::npos; at = format.find(from))
            format.replace(at, 2, to);
    }
    CsvDateStyle style;
    std::vector<char> kinds;
    std::string separator;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            if (kinds.size() == 1)
                separator += format[i];
            continue;
        }
        ++i;
        while (i < format.size() && std::string_view("-_0^#EO").find(format[i]) != std::string_view::npos)
            ++i;
        if (i >= format.size())
            break;
        const char c = format[i];
        if (c == 'd' || c == 'e')
            kinds.push_back('d');
        else if (c == 'm' || c == 'b' || c == 'B' || c == 'h')
            kinds.push_back('m');
        else if (c == 'y' || c == 'Y' || c == 'G' || c == 'g')
            kinds.push_back('y');
    }
    if (!kinds.empty())
        style.order = kinds.front() == 'm' ? 0 : kinds.front() == 'd' ? 1 : 2;
    if (!separator.empty())
        style.dateSeparator = separator;
    return style;
}

double CCsvImport::parseNumber(std::string_view field, const CsvNumberStyle& style) {
    std::string_view text = trimmedLeft(field, " \t");
    std::string number;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        number += text.front();
        text.remove_prefix(1);
    }
    const std::size_t currency = currencyLength(text, style.currencySymbol);
    if (currency > 0)
        text = trimmedLeft(text.substr(currency), " ");
    else
        number.clear(), text = trimmedLeft(field, " \t");
    const std::string_view point = style.decimalPoint.empty() ? std::string_view(".") : style.decimalPoint;
    const std::string_view thousands = style.thousandsSeparator;
    bool digitSeen = false;
    bool pointSeen = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::string_view rest = text.substr(i);
        if (isDigit(rest.front())) {
            number += rest.front();
            digitSeen = true;
            ++i;
        } else if (!pointSeen && digitSeen && !thousands.empty() && rest.starts_with(thousands) &&
                   rest.size() >= thousands.size() + 3 &&
                   std::all_of(rest.begin() + thousands.size(), rest.begin() + thousands.size() + 3, isDigit) &&
                   (rest.size() == thousands.size() + 3 || !isDigit(rest[thousands.size() + 3]))) {
            i += thousands.size(); // a group of exactly three digits follows
        } else if (!pointSeen && rest.starts_with(point)) {
            number += '.';
            pointSeen = true;
            i += point.size();
        } else {
            break;
        }
    }
    // The rest goes along, so what leadingNumber() refuses ("1e5", "0x10") is still refused.
    number += text.substr(i);
    return odrivo::leadingNumber(number);
}

CsvNumberStyle CCsvImport::localeNumberStyle() {
    const CLibcLocale locale;
    CsvNumberStyle style;
    style.decimalPoint = locale.decimalPoint();
    style.thousandsSeparator = locale.thousandsSeparator();
    // "$" is read anyway; a locale without a symbol reports it as "$".
    if (locale.currencySymbol() != "$")
        style.currencySymbol = locale.currencySymbol();
    return style;
}

bool CCsvImport::isYes(std::string_view field) {
    const std::string word = upper(trimmed(field, " \t"));
    return word == "1" || word == "TRUE" || word == "YES" || word == "Y";
}

DVTime CCsvImport::date(const std::string& field) const {
    // mktime() looks at the zone file again on every call; a file's dates repeat a lot.
    const auto [at, added] = m_dates.try_emplace(field);
    if (added)
        at->second = parseDate(field, m_dateStyle, m_programStart);
    return at->second;
}

void CCsvImport::report(const std::string& text) const {
    if (m_progress)
        m_progress(text);
}

CsvImportResult CCsvImport::run(const std::string& path, std::size_t dataStart, CVehicleLogDoc& doc) const {
    CsvImportResult result;
    if (!m_map.isMapped(CColumnMap::Odometer)) {
        result.status = CsvImportStatus::OdometerNotMapped;
        result.message = kOdometerWarning;
        return result;
    }
    std::ifstream file(path, std::ios::binary);
    std::string bytes;
    if (file.is_open())
        bytes = fileText(file, path);
    if (!file.is_open() || file.bad()) {
        result.status = CsvImportStatus::CannotOpen;
        result.message = kImportOpenError;
        return result;
    }
    return importBytes(bytes, dataStart, doc);
}

CsvImportResult CCsvImport::importBytes(std::string_view bytes, std::size_t dataStart, CVehicleLogDoc& doc) const {
    CsvImportResult result;
    if (!m_map.isMapped(CColumnMap::Odometer)) {
        result.status = CsvImportStatus::OdometerNotMapped;
        result.message = kOdometerWarning;
        return result;
    }
    report("Importing Data");
    m_dates.clear(); // the local zone may have changed since the last run
    // The entries go into the document together when the run ends, however it ends, in the
    // order inserting each before the first equal or greater reading would give.
    CVehicleLogDoc::Entries imported;
    const auto insertImported = [&] {
        result.inserted = static_cast<int>(imported.size());
        doc.insertAllBeforeEqual(std::move(imported));
    };
    // An entry goes to the end of the list when its reading is above every one there (a NaN
    // reading is never equal or greater, so it never counts).
    double highest = -std::numeric_limits<double>::infinity();
    for (const auto& e : doc.entries())
        highest = e->Odometer > highest ? e->Odometer : highest;
    LineBuffer fields;
    for (std::size_t pos = dataStart; pos < bytes.size();) {
        if (m_stopCheck && m_stopCheck(pos, bytes.size())) {
            result.status = CsvImportStatus::Stopped;
            insertImported();
            return result;
        }
        std::size_t consumed = 0;
        const std::string_view rest = bytes.substr(pos);
        // A line is read from at most kReadSize characters. The scanner looks no further than
        // the byte after the first line end, so counting characters up to there is enough.
        // (A plain loop: find_first_of() calls memchr for every byte.)
        const std::size_t most = std::min(rest.size(), 4 * kReadSize);
        std::size_t lineEnd = 0;
        while (lineEnd < most && rest[lineEnd] != '\n' && rest[lineEnd] != '\r')
            ++lineEnd;
        std::string_view window = rest.substr(0, std::min(most, lineEnd + 2));
        // Many programs end their last line with the file, not with a line end.
        std::string lastLine;
        if (lineEnd == rest.size() && bytesOfCharacters(rest, kReadSize) == rest.size()) {
            lastLine = std::string(rest) + '\n';
            window = lastLine;
        }
        const ScanStatus scan = scanLine(window.substr(0, bytesOfCharacters(window, kReadSize)), fields, consumed);
        if (scan != ScanStatus::Line) {
            const bool format = scan == ScanStatus::FormatError;
            result.status = format ? CsvImportStatus::FormatError : CsvImportStatus::TooManyFields;
            result.message = format ? kFormatError : kTooManyFieldsError;
            insertImported();
            return result;
        }
        ++result.linesRead;
        pos += std::min(consumed, rest.size());
        std::optional<CDVItem> entry = buildEntry(fields);
        if (!entry) {
            report("Skipping");
            ++result.skipped;
            continue;
        }
        if (entry->Odometer > highest) {
            highest = entry->Odometer;
            result.lastOdometer = highest;
        }
        imported.push_back(std::make_unique<CDVItem>(std::move(*entry)));
        report(mapped(fields, CColumnMap::Odometer));
    }
    insertImported();
    report("Import Compete.");
    char message[128];
    std::snprintf(message, sizeof message, "Import Complete!\nImported %d lines\nSkipped %d Lines",
                  result.importedCount(), result.skipped);
    result.message = message;
    report("CSV Maps");
    return result;
}

bool CCsvImport::rememberImport(CAppProfile& profile, const CColumnMap& map, const std::string& mapName,
                                const std::string& csvPath, std::string* error) {
    if (!map.save(profile, mapName, error))
        return false;
    const auto slash = csvPath.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : csvPath.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? csvPath : csvPath.substr(slash + 1);
    if (profile.putText(ProfileKeys::CSVName, name) && profile.putText(ProfileKeys::CSVPath, folder))
        return true;
    if (error)
        *error = "The CSV file's name could not be saved in " + profile.file() + ": " + profile.lastError();
    return false;
}
