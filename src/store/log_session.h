#pragma once
// CLogSession is the state the main window works on for the selected vehicle: its
// document, its data file, the default values of new entries and the entry-in-edit
// slots. It runs the add, edit and delete commands: build or find the record, hand it
// to an entry editor, then insert, save and reload, so the list in memory always
// equals the file. It never shows anything; results carry the text to show.

#include "store/entry_editor.h"
#include "store/vehicle_log_doc.h"

#include <array>
#include <ctime>
#include <string>

struct SessionResult {
    // The log was reloaded, so the view must be rebuilt. Normally it was saved first; when
    // the save failed, `message` says so and the reload dropped the unsaved change.
    bool changed = false;
    std::string message; // for the user, when something went wrong
};

class CLogSession {
public:
    CLogSession() = default;

    void setDataFolder(std::string folder) { m_dataFolder = std::move(folder); }
    const std::string& dataFolder() const { return m_dataFolder; }

    // The selected vehicle's VIN names its data file. An empty VIN becomes "UnKnown"
    // when the log is first saved.
    void setVin(std::string vin) { m_vin = std::move(vin); }
    const std::string& vin() const { return m_vin; }
    std::string dataFilePath() const;

    // "Today": the moment the program started; the default date of new entries.
    void setToday(std::time_t today) { m_today = today; }
    std::time_t today() const { return m_today; }

    // The highest odometer the last reload found (departure, or a higher arrival of a trip).
    double currentOdometer() const { return m_currentOdometer; }
    // The view refresh finds the latest odometer among the entries its date range lets through.
    void setCurrentOdometer(double odometer) { m_currentOdometer = odometer; }

    CVehicleLogDoc& doc() { return m_doc; }
    const CVehicleLogDoc& doc() const { return m_doc; }

    // Whether a reload finds the current odometer itself or leaves it to a caller that
    // sets it right after (the view refresh finds it in its own pass over the log).
    enum class Odometer { Find, LeaveToCaller };
    // Rereads the data file. The message is set when the file could not be read.
    LogLoadResult reload(Odometer odometer = Odometer::Find);
    // Writes the data file. Refused (with a message) while the file is unreadable.
    LogSaveResult save();

    // A new record of the type with the add command's defaults (Reserved1 = 99 for fuel and repair).
    std::unique_ptr<CDVItem> newEntry(std::int32_t type) const;

    // The add command: new record, editor, then insert + save + reload on OK. Fuel and
    // repair records confirmed with an odometer below 1 are dropped. A cancelled trip
    // still saves and reloads, leaving the log as it was.
    SessionResult addEntry(std::int32_t type, CEntryEditor& editor);
    // The edit command: the editor changes the record in place; the log is saved and
    // reloaded whichever way it closed. The record keeps its place.
    SessionResult editEntry(std::size_t index, CEntryEditor& editor);
    // Removes the record, saves and reloads.
    SessionResult deleteEntry(std::size_t index);

    // The record an entry dialog is editing, per type (nullptr when none).
    CDVItem* entryInEdit(std::int32_t type) const;

    // Ends every change to the log made outside the commands above (the economy
    // recalculation, for one): save, then reload so memory equals the file.
    SessionResult saveAndReload();

private:
    CVehicleLogDoc m_doc;
    std::string m_dataFolder;
    std::string m_vin;
    std::time_t m_today = 0;
    double m_currentOdometer = 0;
    std::array<CDVItem*, 3> m_inEdit{};
};
