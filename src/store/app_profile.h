#pragma once
// CAppProfile is the per-user settings store: one INI file (CAppFolders::profilePath())
// holding named sections of text and number values, edited through CProfileFile so the
// user's own layout survives. Numbers are written in decimal, binary values as
// hexadecimal text. Every key the program uses is declared once, in ProfileKeys below,
// with its section and default; callers pass the key object, never a key string.

#include "store/profile_file.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct ProfileKey {
    const char* section;
    const char* name; // may hold one "%d", filled by the index overloads
    const char* defaultText = "";
    int defaultNumber = 0;
};

namespace ProfileKeys {
// Section Initialize
inline constexpr ProfileKey Path{"Initialize", "Path"};
inline constexpr ProfileKey Backup{"Initialize", "Backup"};
inline constexpr ProfileKey Config{"Initialize", "Config"};
inline constexpr ProfileKey LastVehicle{"Initialize", "LastVehicle", "Unknown"};
inline constexpr ProfileKey LastView{"Initialize", "LastView", "", 0};
inline constexpr ProfileKey AskDelete{"Initialize", "AskDelete", "", 1};
inline constexpr ProfileKey Splash{"Initialize", "Splash", "", 1};
inline constexpr ProfileKey State{"Initialize", "State"};
inline constexpr ProfileKey PPCSync{"Initialize", "PPCSync", "", 0};
inline constexpr ProfileKey PPCName{"Initialize", "PPCName"};
inline constexpr ProfileKey OldDataPath{"Initialize", "OldDataPath"};
inline constexpr ProfileKey OldConfigPath{"Initialize", "OldConfigPath"};
inline constexpr ProfileKey Company{"Initialize", "Company"};
// Remembered last values of the entry dialogs
inline constexpr ProfileKey LastStation{"Initialize", "LastStation", "Select"};
inline constexpr ProfileKey LastMeasure{"Initialize", "LastMeasure", "Gallon"};
inline constexpr ProfileKey LastMaintType{"Initialize", "LastMaintType", "Maint."};
inline constexpr ProfileKey LastMaintLoc{"Initialize", "LastMaintLoc", "Select"};
inline constexpr ProfileKey LastTripPurpose{"Initialize", "LastTripPurpose", "Select"};
inline constexpr ProfileKey LastTripContact{"Initialize", "LastTripContact", "Select"};
inline constexpr ProfileKey LastTripDestination{"Initialize", "LastTripDestination", "Select"};
// Search history
inline constexpr ProfileKey SearchItem{"SearchList", "Search%d"};
// List attributes
inline constexpr ProfileKey SelectedTab{"ListAttributes", "Tab", "", 0};
inline constexpr ProfileKey ColumnWidth{"ListAttributes", "ColNumber%d"};
inline constexpr ProfileKey ReminderColumnWidth{"ListAttributes", "ReminderList%d", "", 275};
// Menu look
inline constexpr ProfileKey MenuStyle{"NewMenu", "Style", "", 2};
inline constexpr ProfileKey MenuSelection{"NewMenu", "Selection", "", 1};
inline constexpr ProfileKey MenuGloom{"NewMenu", "Gloom", "", 1};
// List font and lines
inline constexpr ProfileKey FontHeight{"MainFont", "Height", "", -11};
inline constexpr ProfileKey FontWeight{"MainFont", "Weight", "", 700};
inline constexpr ProfileKey FontItalic{"MainFont", "Italic", "", 0};
inline constexpr ProfileKey FontUnderline{"MainFont", "Underline", "", 0};
inline constexpr ProfileKey FontQuality{"MainFont", "Quality", "", 0};
inline constexpr ProfileKey FontName{"MainFont", "Name", "Tahoma"};
inline constexpr ProfileKey Grid{"MainFont", "Grid", "", 0};
inline constexpr ProfileKey Lines{"MainFont", "Lines", "", 1};
inline constexpr ProfileKey LineColorR{"MainFont", "LineColorR", "", 255};
inline constexpr ProfileKey LineColorG{"MainFont", "LineColorG", "", 255};
inline constexpr ProfileKey LineColorB{"MainFont", "LineColorB", "", 224};
inline constexpr ProfileKey FontColorR{"MainFont", "FontColorR", "", 0};
inline constexpr ProfileKey FontColorG{"MainFont", "FontColorG", "", 0};
inline constexpr ProfileKey FontColorB{"MainFont", "FontColorB", "", 0};
// Odometer display font
inline constexpr ProfileKey OdoFontHeight{"OdoFont", "Height", "", 28};
inline constexpr ProfileKey OdoFontWeight{"OdoFont", "Weight", "", 700};
inline constexpr ProfileKey OdoFontItalic{"OdoFont", "Italic", "", 0};
inline constexpr ProfileKey OdoFontUnderline{"OdoFont", "Underline", "", 0};
inline constexpr ProfileKey OdoFontQuality{"OdoFont", "Quality", "", 0};
inline constexpr ProfileKey OdoFontName{"OdoFont", "Name", "BritannicEFBold"};
// Graphs
inline constexpr ProfileKey GraphAnimate{"Graphs", "Animate", "", 0};
inline constexpr ProfileKey GraphType{"Graphs", "GraphType", "", 0};
inline constexpr ProfileKey GraphBarWidth{"Graphs", "BarWidth", "", 5};
inline constexpr ProfileKey GraphGrid{"Graphs", "Grid", "", 5};
inline constexpr ProfileKey GraphShowGrid{"Graphs", "ShowGrid", "", 1};
inline constexpr ProfileKey GraphLabels{"Graphs", "Labels", "", 1};
inline constexpr ProfileKey GraphBackR{"Graphs", "BackR", "", 219};
inline constexpr ProfileKey GraphBackG{"Graphs", "BackG", "", 219};
inline constexpr ProfileKey GraphBackB{"Graphs", "BackB", "", 219};
inline constexpr ProfileKey GraphTextR{"Graphs", "TextR", "", 0};
inline constexpr ProfileKey GraphTextG{"Graphs", "TextG", "", 0};
inline constexpr ProfileKey GraphTextB{"Graphs", "TextB", "", 255};
inline constexpr ProfileKey GraphDataR{"Graphs", "DataR", "", 210};
inline constexpr ProfileKey GraphDataG{"Graphs", "DataG", "", 180};
inline constexpr ProfileKey GraphDataB{"Graphs", "DataB", "", 140};
inline constexpr ProfileKey GraphAverageR{"Graphs", "AverageR", "", 255};
inline constexpr ProfileKey GraphAverageG{"Graphs", "AverageG", "", 255};
inline constexpr ProfileKey GraphAverageB{"Graphs", "AverageB", "", 0};
inline constexpr ProfileKey GraphGridR{"Graphs", "GridR", "", 187};
inline constexpr ProfileKey GraphGridG{"Graphs", "GridG", "", 187};
inline constexpr ProfileKey GraphGridB{"Graphs", "GridB", "", 193};
inline constexpr ProfileKey GraphSelR{"Graphs", "SELR", "", 255};
inline constexpr ProfileKey GraphSelG{"Graphs", "SELG", "", 0};
inline constexpr ProfileKey GraphSelB{"Graphs", "SELB", "", 0};
// Entry list column layout (order, widths and visibility as binary values, see ColumnState)
inline constexpr ProfileKey ListColumnCount{"ListState", "Column Count", "", 0};
inline constexpr ProfileKey ListColumnOrder{"ListState", "Column Order"};
inline constexpr ProfileKey ListColumnWidths{"ListState", "Column Width"};
inline constexpr ProfileKey ListColumnVisible{"ListState", "Column Visible"};
// Backup and restore: when each last completed, and the storage each dialog last showed
inline constexpr ProfileKey ExportPath{"ListAttributes", "ExportPath"};
inline constexpr ProfileKey LastBackupDate{"ListAttributes", "LastBackupDate", "Unknown"};
inline constexpr ProfileKey LastRestoreDate{"ListAttributes", "LastRestoreDate", "Unknown"};
inline constexpr ProfileKey LastBackupStorage{"ListAttributes", "LastBackup", "Main Memory"};
inline constexpr ProfileKey LastRestoreStorage{"ListAttributes", "LastRestore", "Main Memory"};
// CSV import: the file last chosen, its folder, the column map in use and the saved map names
inline constexpr ProfileKey CSVName{"ListAttributes", "CSVName", "Odrivo.csv"};
inline constexpr ProfileKey CSVPath{"ListAttributes", "CSVPath"};
inline constexpr ProfileKey LastMap{"ListAttributes", "LastMap", "DefaultMap"};
inline constexpr ProfileKey MapName{"ListAttributes", "Map%d"};
} // namespace ProfileKeys

class CAppProfile {
public:
    explicit CAppProfile(std::string iniPath);

    const std::string& file() const { return m_file.file(); }

    std::string getText(const ProfileKey& key) const;
    std::string getText(const ProfileKey& key, std::string_view def) const;
    std::string getText(const ProfileKey& key, int index) const;
    int getNumber(const ProfileKey& key) const;
    int getNumber(const ProfileKey& key, int index) const;
    // Binary values are stored as hexadecimal text; an absent or malformed value is empty.
    std::vector<std::uint8_t> getBinary(const ProfileKey& key) const;

    // Each put reports whether the value reached the file.
    bool putText(const ProfileKey& key, std::string_view value);
    bool putText(const ProfileKey& key, int index, std::string_view value);
    bool putNumber(const ProfileKey& key, int value);
    bool putNumber(const ProfileKey& key, int index, int value);
    bool putBinary(const ProfileKey& key, const std::vector<std::uint8_t>& value);

    // Runs `steps` (puts on this profile) and writes the file once, as CProfileFile::batch does:
    // a form's settings saved together cost one write, and a failed put writes none of them.
    bool batch(const std::function<bool()>& steps);

    // Removes a whole section with all its values (the search history is rewritten this way).
    bool deleteSection(std::string_view section);

    // Why the last failed put failed: the profile's folder could not be made, or the file not written.
    const std::string& lastError() const { return m_lastError; }

    // The key name with its "%d" filled in.
    static std::string keyName(const ProfileKey& key, int index);

private:
    bool prepareFolder();
    bool reportIfFailed(bool ok);

    CProfileFile m_file;
    std::string m_lastError;
};
