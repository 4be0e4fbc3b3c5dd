#include "ui/entry/fuel_editor.h"

#include "ui/entry/fuel_dlg.h"
#include "ui/toolkit/modal_runner.h"

#include <utility>

CFuelEditor::CFuelEditor(std::function<EntryContext()> context, QWidget* parent)
    : m_context(std::move(context)), m_parent(parent) {}

bool CFuelEditor::edit(CDVItem& item) {
    CFuelDlg dialog(item, m_context(), m_parent);
    return CModalRunner::run(dialog) == QDialog::Accepted;
}
