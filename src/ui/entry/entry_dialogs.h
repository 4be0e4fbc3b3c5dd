#pragma once
// CEntryDialogs attaches the fuel, repair and trip dialogs to the main window: it owns
// one editor per entry type for the window's life, and each editor asks the window for
// the current context (vehicle, odometers, profile, pick lists) when its dialog opens.

#include "ui/entry/fuel_editor.h"
#include "ui/entry/repair_editor.h"
#include "ui/entry/trip_editor.h"

class CVehicleLogDlg;

class CEntryDialogs {
public:
    explicit CEntryDialogs(CVehicleLogDlg& window);
    ~CEntryDialogs();
    CEntryDialogs(const CEntryDialogs&) = delete;
    CEntryDialogs& operator=(const CEntryDialogs&) = delete;

private:
    CVehicleLogDlg& m_window;
    CFuelEditor m_fuel;
    CRepairEditor m_repair;
    CTripEditor m_trip;
};
