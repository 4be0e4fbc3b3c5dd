#pragma once
// CGraphPage is one of the three graph pages of the main window's tab strip: the figures
// MAX with its date, MIN with its date, Current and AVG of one value over every entry of
// the vehicle, and a scrolling chart of that value per entry with its average. The window
// hands it the log, the graph settings and the selected entry's display position; the
// figures come from CCostStatistics at each refresh and the chart is refilled by CGraphFeed
// at the next paint or redraw after anything it shows changed (the log, the figures, the
// selection, the settings, the size, an animation step); paints in between only draw it.
// A 250 ms timer drives the "Animate" mode, which replays the log through the chart.

#include "calc/cost_statistics.h"
#include "calc/graph_feed.h"

#include <QWidget>
#include <memory>
#include <optional>

namespace Ui {
class CGraphPage;
}
class CVehicleLogDoc;
class CDVItem;
class CLocaleInfo;
class C2DPushGraph;
class QTimer;

class CGraphPage : public QWidget {
    Q_OBJECT
public:
    using Kind = CGraphFeed::Kind;

    CGraphPage(Kind kind, QWidget* parent = nullptr);
    ~CGraphPage() override;

    Kind kind() const { return m_feed.kind(); }
    void setSource(const CVehicleLogDoc* doc, const CLocaleInfo* locale);
    // Sets the chart, the legend and the "Animate" box up and starts the animation timer.
    void applySettings(const GraphSettings& settings);
    void setAnimateChecked(bool on);
    // The display position of the list's selected entry, -1 for none; shown at the next paint.
    void setSelectedPosition(int position);
    // Shows the figures the window worked out for this page from the log, and refills the chart at the next paint.
    void showFigures(CCostStatistics::PageFigures figures);
    // The number of entries of the log with a point on this page, as the last view refresh
    // counted them; until the next source the refill takes it instead of counting again.
    void setPointCount(std::size_t points) { m_points = points; }
    const CCostStatistics::PageFigures& figures() const { return m_figures; }
    C2DPushGraph* graph() const { return m_graph; }
    // Refills the chart from the log, unless it holds the latest refill already, and draws it again.
    void redraw();
    // One step of the animation, as the timer runs it.
    void animationStep();

signals:
    void animateChanged(bool on);
    // A point of the chart was clicked: the window selects its entry in the list.
    void entryClicked(const CDVItem* entry);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Refills the chart unless nothing it shows changed since the last refill.
    void refillIfChanged();

    std::unique_ptr<Ui::CGraphPage> ui;
    CGraphFeed m_feed;
    C2DPushGraph* m_graph;
    QTimer* m_timer;
    const CVehicleLogDoc* m_doc = nullptr;
    const CLocaleInfo* m_locale = nullptr;
    CCostStatistics::PageFigures m_figures;
    int m_selectedPosition = -1;
    std::optional<std::size_t> m_points;
    // The chart holds a refill from the current log, figures, selection, settings and size.
    bool m_filled = false;
};
