#include "ui/setup/setup_sheet.h"

#include "ui/setup/setup_page.h"

#include <QDialogButtonBox>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

CSetupSheet::CSetupSheet(QWidget* parent) : QDialog(parent), m_tabs(new QTabWidget(this)) {
    setObjectName(QStringLiteral("CSetupSheet"));
    setWindowTitle(tr("Setup"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CSetupSheet::pageChanging);
}

void CSetupSheet::addPage(CSetupPage* page) {
    m_pages.push_back(page);
    m_tabs->addTab(page, page->title());
    if (m_current < 0)
        m_current = m_tabs->currentIndex();
}

bool CSetupSheet::isChanged() const {
    return std::any_of(m_pages.begin(), m_pages.end(), [](const CSetupPage* p) { return p->isChanged(); });
}

void CSetupSheet::pageChanging(int index) {
    if (m_current >= 0 && m_current != index && !m_pages[static_cast<std::size_t>(m_current)]->validate()) {
        // The page keeps the user until its fields can be taken.
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(m_current);
        return;
    }
    m_current = index;
}

void CSetupSheet::done(int result) {
    if (m_finished)
        return;
    if (result == Accepted) {
        for (std::size_t i = 0; i < m_pages.size(); ++i) {
            if (m_pages[i]->wasShown() && !m_pages[i]->validate()) {
                const QSignalBlocker block(m_tabs);
                m_tabs->setCurrentIndex(static_cast<int>(i));
                m_current = static_cast<int>(i);
                return;
            }
        }
    }
    m_finished = true;
    for (CSetupPage* page : m_pages)
        if (page->wasShown())
            page->writeBack();
    QDialog::done(result);
}
