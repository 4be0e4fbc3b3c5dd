#pragma once
// CEntryEditor is what the add and edit commands need from an entry dialog: show one
// record, let the user change it, and say whether it was confirmed. The fuel, repair
// and trip dialogs implement it; tests use scripted editors.

#include "store/dv_item.h"

class CEntryEditor {
public:
    virtual ~CEntryEditor() = default;
    // Edits `item` in place. True when the user confirmed (Save); on Cancel the
    // editor leaves the record as it found it.
    virtual bool edit(CDVItem& item) = 0;
};
