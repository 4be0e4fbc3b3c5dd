#include "ui/charts/push_graph.h"

#include "ui/toolkit/qt_text.h"

#include <QApplication>
#include <QPainter>
#include <QPolygon>

namespace {

QColor qColour(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

} // namespace

C2DPushGraph::C2DPushGraph(QWidget* parent) : QWidget(parent) {
    // The whole area is painted each time; nothing of the page shows through.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(60, 40);
}

void C2DPushGraph::updateGraph() {
    m_model.update();
    update();
}

void C2DPushGraph::render() {
    const QSize area = size();
    if (m_image.size() != area)
        m_image = QImage(area, QImage::Format_RGB32);
    const QFont font = QApplication::font();
    const QFontMetrics metrics(font);
    const QString top = toQt(m_model.topLabel());
    const QString bottom = toQt(m_model.bottomLabel());
    const int textWidth = std::max(metrics.horizontalAdvance(top), metrics.horizontalAdvance(bottom));
    const CPushGraphModel::Frame frame = m_model.frame(area.width(), area.height(), textWidth);

    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    painter.fillRect(m_image.rect(), qColour(m_model.background()));
    const QColor grid = qColour(m_model.gridColour());
    const CPushGraphModel::Rect& plot = frame.plot;
    const int right = area.width() - 1;
    const int bottomRow = plot.top + plot.height;

    if (frame.labels) {
        const int column = frame.labelColumnWidth;
        painter.setPen(qColour(m_model.textColour()));
        painter.drawText(QRect(0, 2, column, metrics.height()), Qt::AlignHCenter | Qt::AlignTop, top);
        painter.drawText(QRect(0, area.height() - 2 - metrics.height(), column, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignBottom, bottom);
        painter.setPen(grid);
        painter.drawLine(column, 0, column, area.height() - 1);
    }
    painter.setPen(grid);
    for (int y : frame.gridRows)
        painter.drawLine(plot.left, y, right, y);
    for (int x : frame.gridColumns)
        painter.drawLine(x, 0, x, bottomRow);

    for (const CPushGraphModel::DrawnLine& line : frame.lines) {
        const QColor colour = qColour(line.colour);
        if (line.bar) {
            for (const CPushGraphModel::Rect& bar : line.bars)
                painter.fillRect(QRect(bar.left, bar.top, bar.width, bar.height), colour);
            continue;
        }
        QPolygon points;
        for (const CPushGraphModel::Point& p : line.points)
            points << QPoint(p.x, p.y);
        painter.setPen(QPen(colour, 1));
        painter.drawPolyline(points);
    }
}

void C2DPushGraph::paintEvent(QPaintEvent*) {
    render();
    QPainter(this).drawImage(0, 0, m_image);
}
