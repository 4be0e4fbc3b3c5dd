#include "ui/entry/trip_editor.h"

#include "ui/entry/trip_dlg.h"
#include "ui/toolkit/modal_runner.h"

#include <utility>

CTripEditor::CTripEditor(std::function<EntryContext()> context, QWidget* parent)
    : m_context(std::move(context)), m_parent(parent) {}

bool CTripEditor::edit(CDVItem& item) {
    CTripDlg dialog(item, m_context(), m_parent);
    return CModalRunner::run(dialog) == QDialog::Accepted;
}
