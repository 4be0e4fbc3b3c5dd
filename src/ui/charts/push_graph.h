#pragma once
// C2DPushGraph is the scrolling chart of the graph pages: it owns a CPushGraphModel, lets
// the page push values and paints the model's frame, first into an off-screen image and
// then to the screen, so that the timer-driven scrolling does not flicker.

#include "calc/push_graph_model.h"

#include <QWidget>

class C2DPushGraph : public QWidget {
    Q_OBJECT
public:
    explicit C2DPushGraph(QWidget* parent = nullptr);

    CPushGraphModel& model() { return m_model; }
    const CPushGraphModel& model() const { return m_model; }
    // Scrolls the grid with the data and redraws.
    void updateGraph();
    // The last drawing, for the tests.
    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void render();

    CPushGraphModel m_model;
    QImage m_image;
};
