#pragma once
// C2DPushGraph is the scrolling chart of the graph pages: it owns a CPushGraphModel, lets
// the page push values and paints the model's frame, first into an off-screen image and
// then to the screen, so that the timer-driven scrolling does not flicker. Hovering a point
// shows the page's text for it, clicking one reports its key, and the context menu copies
// the chart to the clipboard or saves it as a PNG or SVG file.

#include "calc/push_graph_model.h"

#include <QWidget>
#include <functional>

class QPainter;

class C2DPushGraph : public QWidget {
    Q_OBJECT
public:
    // The tooltip text of the point with this key; empty shows no tooltip.
    using PointText = std::function<QString(int key)>;

    explicit C2DPushGraph(QWidget* parent = nullptr);

    CPushGraphModel& model() { return m_model; }
    const CPushGraphModel& model() const { return m_model; }
    // Scrolls the grid with the data and redraws.
    void updateGraph();
    // The last drawing, for the tests.
    const QImage& image() const { return m_image; }
    void setPointText(PointText text) { m_pointText = std::move(text); }

    // The chart as drawn now.
    QImage snapshot();
    void copyImage();
    // Asks for a file name and saves the chart there, telling the user when that failed.
    void saveImageAs();
    // Writes the chart to `path` as SVG for a ".svg" name and PNG for ".png"; false with the
    // reason in `error` otherwise, or when the file could not be written.
    bool saveImage(const QString& path, QString* error);

signals:
    void pointClicked(int key);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void render();
    void draw(QPainter& painter, QSize area);

    CPushGraphModel m_model;
    QImage m_image;
    PointText m_pointText;
};
