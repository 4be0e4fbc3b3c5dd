#include "ui/charts/graph_page.h"

#include "ui/charts/push_graph.h"
#include "ui/toolkit/qt_text.h"
#include "ui_graph_page.h"

#include <QTimer>
#include <utility>

namespace {

void paintSwatch(QWidget* swatch, Rgb colour) {
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, QColor(colour.r, colour.g, colour.b));
    swatch->setPalette(palette);
}

} // namespace

CGraphPage::CGraphPage(Kind kind, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::CGraphPage>()), m_feed(kind), m_graph(new C2DPushGraph(this)),
      m_timer(new QTimer(this)) {
    ui->setupUi(this);
    m_graph->setObjectName(QStringLiteral("pushGraph"));
    ui->layout->addWidget(m_graph, 1);
    connect(ui->animateCheck, &QCheckBox::clicked, this, &CGraphPage::animateChanged);
    connect(m_timer, &QTimer::timeout, this, &CGraphPage::animationStep);
    m_graph->setPointText(
        [this](int key) { return m_doc && m_locale ? toQt(m_feed.pointText(*m_doc, key, *m_locale)) : QString(); });
    connect(m_graph, &C2DPushGraph::pointClicked, this, [this](int key) {
        if (const CDVItem* entry = m_doc ? CGraphFeed::entryOf(*m_doc, key) : nullptr)
            emit entryClicked(entry);
    });
}

CGraphPage::~CGraphPage() = default;

void CGraphPage::setSource(const CVehicleLogDoc* doc, const CLocaleInfo* locale) {
    m_doc = doc;
    m_locale = locale;
    m_points.reset();
    m_filled = false;
}

void CGraphPage::applySettings(const GraphSettings& settings) {
    m_feed.setUp(m_graph->model(), settings);
    paintSwatch(ui->dataSwatch, settings.data);
    paintSwatch(ui->averageSwatch, settings.average);
    ui->animateCheck->setChecked(settings.animate);
    m_timer->start(250);
    m_filled = false;
}

void CGraphPage::setSelectedPosition(int position) {
    m_selectedPosition = position;
    m_filled = false;
}

void CGraphPage::setAnimateChecked(bool on) {
    ui->animateCheck->setChecked(on);
}

void CGraphPage::showFigures(CCostStatistics::PageFigures figures) {
    if (!m_doc || !m_locale)
        return;
    m_filled = false;
    m_figures = std::move(figures);
    ui->maxValue->setText(toQt(m_figures.max));
    ui->maxDateValue->setText(toQt(m_figures.maxDate));
    ui->minValue->setText(toQt(m_figures.min));
    ui->minDateValue->setText(toQt(m_figures.minDate));
    ui->currentValue->setText(toQt(m_figures.current));
    ui->averageValue->setText(toQt(m_figures.average));
}

void CGraphPage::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    refillIfChanged();
}

void CGraphPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A wider chart holds more points, which only a refill brings in.
    m_filled = false;
}

void CGraphPage::refillIfChanged() {
    // The figures stay those of the last refresh, which counted the entries as the file holds them.
    // The page paints again whenever a figure label or the box changes; refilling a log of
    // many entries each time would redo the same work for the same picture.
    if (m_filled || !m_doc || !m_locale)
        return;
    if (m_points)
        m_feed.refill(m_graph->model(), *m_doc, m_figures, m_selectedPosition, *m_points);
    else
        m_feed.refill(m_graph->model(), *m_doc, m_figures, m_selectedPosition);
    m_filled = true;
}

void CGraphPage::redraw() {
    // The chart may paint before its page, so it is refilled here rather than left to the
    // page's paint.
    refillIfChanged();
    update();
    m_graph->update();
}

void CGraphPage::animationStep() {
    if (!m_doc)
        return;
    switch (m_feed.animate(m_graph->model(), *m_doc, m_figures, m_selectedPosition, ui->animateCheck->isChecked())) {
    case CGraphFeed::Step::NoEntries:
        ui->animateCheck->setChecked(false);
        ui->animateCheck->setEnabled(false);
        m_graph->update();
        break;
    case CGraphFeed::Step::Unchecked:
        ui->animateCheck->setEnabled(true);
        break;
    case CGraphFeed::Step::Stepped:
        // The step pushed a point, so the next paint of the page refills the chart from the log.
        m_filled = false;
        ui->animateCheck->setEnabled(true);
        m_graph->update();
        break;
    }
}
