#pragma once
// CTripEditor is the trip's CEntryEditor for the main window: each edit asks
// for a fresh EntryContext (the vehicle, odometers and profile as they are now), builds
// a CTripDlg on the record and runs it through CModalRunner.

#include "store/entry_editor.h"
#include "ui/entry/entry_context.h"

#include <functional>

class QWidget;

class CTripEditor : public CEntryEditor {
public:
    CTripEditor(std::function<EntryContext()> context, QWidget* parent);

    // True when the user saved; the dialog wrote the record then.
    bool edit(CDVItem& item) override;

private:
    std::function<EntryContext()> m_context;
    QWidget* m_parent;
};
