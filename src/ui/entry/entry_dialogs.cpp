#include "ui/entry/entry_dialogs.h"

#include "ui/main/vehicle_log_dlg.h"

CEntryDialogs::CEntryDialogs(CVehicleLogDlg& window)
    : m_window(window), m_fuel([&window] { return window.entryContext(); }, &window),
      m_repair([&window] { return window.entryContext(); }, &window),
      m_trip([&window] { return window.entryContext(); }, &window) {
    window.setEntryEditor(CDVItem::Fuel, &m_fuel);
    window.setEntryEditor(CDVItem::Repair, &m_repair);
    window.setEntryEditor(CDVItem::Trip, &m_trip);
}

CEntryDialogs::~CEntryDialogs() {
    for (int type : {CDVItem::Fuel, CDVItem::Repair, CDVItem::Trip})
        m_window.setEntryEditor(type, nullptr);
}
