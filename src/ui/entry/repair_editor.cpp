#include "ui/entry/repair_editor.h"

#include "ui/entry/repair_dlg.h"
#include "ui/toolkit/modal_runner.h"

#include <utility>

CRepairEditor::CRepairEditor(std::function<EntryContext()> context, QWidget* parent)
    : m_context(std::move(context)), m_parent(parent) {}

bool CRepairEditor::edit(CDVItem& item) {
    CRepairDlg dialog(item, m_context(), m_parent);
    return CModalRunner::run(dialog) == QDialog::Accepted;
}
