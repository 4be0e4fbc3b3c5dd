#pragma once
// CCsvImport turns the lines of a CSV file into new entries of a vehicle's log. The
// file's first line holds the headings; readHeadings() lists the non-empty ones (their
// positions are the source columns a CColumnMap refers to) and says where the data starts.
// run() then reads the data line by line: scanLine() splits a line into at most 28 cleaned
// field texts, buildEntry() makes a CDVItem from them through the map (type by keyword,
// icon, measure, trip fields, costs, dates), and each entry with an odometer above 0 goes
// into the CVehicleLogDoc before the first entry with an equal or greater reading. The
// run never saves: on success the caller writes the document; on a format error it must
// not, and the entries inserted before the error stay only in the document in memory.
//
// The scanner keeps the tolerant rules of the file format users already have: a field
// starting with a quote ends at quote-comma, any other at a comma; LF, CR LF or a lone CR
// ends a line, and so does the end of the file. Limits count characters, not bytes. The
// file's text is decoded by csvTextToUtf8() (UTF-16 with its mark, UTF-8, Windows-1252).
//
// Other programs' exports are read too: a map without an EntryType column gives every line
// its fixed entry text, a Partial Fill column marks partial fills, ISO 8601 dates are read
// whatever the locale's order, and numbers may carry a currency sign and the locale's
// decimal point and thousands separators.

#include "exchange/column_map.h"
#include "store/dv_item.h"
#include "store/vehicle_settings.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CAppProfile;
class CVehicleLogDoc;

// How dates in the file are written: 0 month-day-year, 1 day-month-year, 2 year-month-day,
// the date separator, and the fixed time separator and afternoon marker.
struct CsvDateStyle {
    int order = 0;
    std::string dateSeparator = "/";
    std::string timeSeparator = ":";
    std::string afternoon = "PM";
};

// How numbers in the file are written: the locale's decimal point, thousands separator
// (empty: none) and currency symbol (read before a number besides "$", "£", "€" and the like).
struct CsvNumberStyle {
    std::string decimalPoint = ".";
    std::string thousandsSeparator;
    std::string currencySymbol;
};

struct CsvHeadings {
    bool ok = false;
    std::string message;              // the error for the user when not ok
    std::vector<std::string> columns; // the non-empty headings; their index is the source column
    std::size_t dataStart = 0;        // the byte after the heading line's end, in the file's UTF-8 text
};

enum class CsvImportStatus { Completed, OdometerNotMapped, CannotOpen, FormatError, TooManyFields, Stopped };

struct CsvImportResult {
    CsvImportStatus status = CsvImportStatus::Completed;
    std::string message;                // the completion message, or the error or warning for the user
    int linesRead = 0;                  // data lines scanned
    int skipped = 0;                    // lines without an odometer above 0 or without an entry text
    int inserted = 0;                   // entries put into the document
    std::optional<double> lastOdometer; // set when an entry went to the end of the list
    bool ok() const { return status == CsvImportStatus::Completed; }
    // The count the completion message shows: lines read less two, never below 0.
    int importedCount() const { return linesRead > 2 ? linesRead - 2 : 0; }
};

class CCsvImport {
public:
    static constexpr int kFieldLimit = 28;
    static constexpr std::size_t kReadSize = 512;
    static constexpr std::size_t kFieldFormatLimit = 125;
    static constexpr std::size_t kFieldTextLimit = 254;

    using LineBuffer = std::array<std::string, kFieldLimit>;
    using Progress = std::function<void(const std::string&)>;
    // Asked before each line with the line's byte position and the text's size; true stops.
    using StopCheck = std::function<bool(std::size_t position, std::size_t size)>;

    static const char* const kHeadingsOpenError;
    static const char* const kNoColumnsError;
    static const char* const kOdometerWarning;
    static const char* const kImportOpenError;
    static const char* const kFormatError;
    static const char* const kTooManyFieldsError;

    // `programStart` stands in for dates that cannot be read and fills SpareTime.
    CCsvImport(CColumnMap map, VehicleSettings vehicle, CsvDateStyle dateStyle, DVTime programStart);

    // Receives the progress texts ("Importing Data", each line's odometer, "Skipping", ...).
    void setProgress(Progress progress) { m_progress = std::move(progress); }
    // Lets the caller end a long import early (status Stopped, no message); the entries
    // inserted before the stop stay in the document, so the caller must not save it.
    void setStopCheck(StopCheck check) { m_stopCheck = std::move(check); }
    // The default reads a '.' point and no thousands separators.
    void setNumberStyle(CsvNumberStyle style) { m_numberStyle = std::move(style); }

    static CsvHeadings readHeadings(const std::string& path);
    // The headings of a file's first bytes (for readHeadings and the tests).
    static CsvHeadings headingsOf(std::string_view firstBytes);

    // Imports the data of `path` from byte `dataStart` into `doc`.
    CsvImportResult run(const std::string& path, std::size_t dataStart, CVehicleLogDoc& doc) const;
    // The same on the file's bytes.
    CsvImportResult importBytes(std::string_view bytes, std::size_t dataStart, CVehicleLogDoc& doc) const;

    enum class ScanStatus { Line, FormatError, TooManyFields };
    // Splits the line at the start of `chunk` into `fields` (each slot first set to " ");
    // `consumed` is the number of bytes the line took.
    static ScanStatus scanLine(std::string_view chunk, LineBuffer& fields, std::size_t& consumed);
    // A raw field text as it is stored in the line buffer.
    static std::string cleanField(std::string_view raw);

    // The entry the line buffer makes, or nothing when the line is to be skipped.
    std::optional<CDVItem> buildEntry(const LineBuffer& fields) const;
    // After an import: `map` saved as the current map under `mapName` ("LastMap" and its
    // F values), and the file's name and folder as "CSVName" and "CSVPath". False, with the
    // reason in `error`, when the profile could not be written.
    static bool rememberImport(CAppProfile& profile, const CColumnMap& map, const std::string& mapName,
                               const std::string& csvPath, std::string* error = nullptr);
    // A Date, Depart Date or Arrive Date field as a local time, `fallback` when unreadable.
    static DVTime parseDate(std::string_view field, const CsvDateStyle& style, DVTime fallback);
    // The date order and separator of a strftime date format ("%d.%m.%Y" -> 1, ".").
    static CsvDateStyle dateStyleFrom(std::string_view dateFormat);
    // The number at the start of a field, after a sign and a currency symbol; the style's
    // thousands separators between groups of three digits are skipped, its decimal point is
    // read as the point. Text that is not a number reads as 0.
    static double parseNumber(std::string_view field, const CsvNumberStyle& style);
    // The user's decimal point and thousands separator (from the environment, whatever
    // LC_NUMERIC is set to now) and the current locale's currency symbol.
    static CsvNumberStyle localeNumberStyle();
    // True for a Partial Fill field that says yes: 1, true, yes or y in any case.
    static bool isYes(std::string_view field);

private:
    std::string mapped(const LineBuffer& fields, int slot) const;
    double number(const LineBuffer& fields, int slot) const;
    void report(const std::string& text) const;
    // parseDate() with the import's style and fallback, remembered per field text.
    DVTime date(const std::string& field) const;
    static DVTime parseIsoDate(std::string_view field, DVTime fallback);
    // The local time of the parts (normalised as mktime() does), `fallback` when out of range.
    static DVTime localTime(int year, int month, int day, int hour, int minute, DVTime fallback);

    CColumnMap m_map;
    VehicleSettings m_vehicle;
    CsvDateStyle m_dateStyle;
    CsvNumberStyle m_numberStyle;
    DVTime m_programStart;
    Progress m_progress;
    StopCheck m_stopCheck;
    mutable std::unordered_map<std::string, DVTime> m_dates;
};
