#pragma once
// CFuelEditor is the fuel entry dialog as the main window's add and edit commands see it:
// each edit asks for a fresh EntryContext, so the dialog sees the odometers and settings
// of the latest refresh, and runs CFuelDlg modally.

#include "store/entry_editor.h"
#include "ui/entry/entry_context.h"

#include <functional>

class QWidget;

class CFuelEditor : public CEntryEditor {
public:
    CFuelEditor(std::function<EntryContext()> context, QWidget* parent);

    bool edit(CDVItem& item) override;

private:
    std::function<EntryContext()> m_context;
    QWidget* m_parent;
};
