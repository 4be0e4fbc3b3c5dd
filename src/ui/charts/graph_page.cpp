#include "ui/charts/graph_page.h"

#include "ui/toolkit/qt_text.h"
#include "ui_graph_page.h"

CGraphPage::CGraphPage(Kind kind, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::CGraphPage>()), m_kind(kind) {
    ui->setupUi(this);
}

CGraphPage::~CGraphPage() = default;

void CGraphPage::setSource(const CVehicleLogDoc* doc, const CLocaleInfo* locale) {
    m_doc = doc;
    m_locale = locale;
}

void CGraphPage::recompute() {
    if (!m_doc || !m_locale)
        return;
    switch (m_kind) {
    case Kind::Economy:
        m_figures = CCostStatistics::economyPage(*m_doc, *m_locale);
        break;
    case Kind::FuelCost:
        m_figures = CCostStatistics::fuelCostPage(*m_doc, *m_locale);
        break;
    case Kind::RepairCost:
        m_figures = CCostStatistics::repairCostPage(*m_doc, *m_locale);
        break;
    }
    ui->maxValue->setText(toQt(m_figures.max));
    ui->maxDateValue->setText(toQt(m_figures.maxDate));
    ui->minValue->setText(toQt(m_figures.min));
    ui->minDateValue->setText(toQt(m_figures.minDate));
    ui->currentValue->setText(toQt(m_figures.current));
    ui->averageValue->setText(toQt(m_figures.average));
}
