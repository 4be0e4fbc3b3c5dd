#include "ui/setup/setup_page.h"

CSetupPage::CSetupPage(SetupContext& context, QWidget* parent) : QWidget(parent), m_context(context) {}

void CSetupPage::markChanged() {
    m_changed = true;
    emit changed();
}

void CSetupPage::showEvent(QShowEvent* event) {
    m_shown = true;
    QWidget::showEvent(event);
}
