#include "ui/charts/push_graph.h"

#include "store/file_io.h"
#include "ui/toolkit/file_dialog.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/qt_text.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QPolygon>
#include <QSvgGenerator>
#include <QToolTip>

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
    QPainter painter(&m_image);
    draw(painter, area);
}

void C2DPushGraph::draw(QPainter& painter, QSize area) {
    const QFont font = QApplication::font();
    const QFontMetrics metrics(font);
    const QString top = toQt(m_model.topLabel());
    const QString bottom = toQt(m_model.bottomLabel());
    const int textWidth = std::max(metrics.horizontalAdvance(top), metrics.horizontalAdvance(bottom));
    const CPushGraphModel::Frame frame = m_model.frame(area.width(), area.height(), textWidth);

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    painter.fillRect(QRect(QPoint(0, 0), area), qColour(m_model.background()));
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

bool C2DPushGraph::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int key = m_model.keyAt(help->pos().x());
        const QString text = key >= 0 && m_pointText ? m_pointText(key) : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void C2DPushGraph::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const int key = m_model.keyAt(event->position().toPoint().x());
        if (key >= 0)
            emit pointClicked(key);
    }
    QWidget::mousePressEvent(event);
}

void C2DPushGraph::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    connect(menu.addAction(tr("Copy Image")), &QAction::triggered, this, &C2DPushGraph::copyImage);
    connect(menu.addAction(tr("Save Image As\u2026")), &QAction::triggered, this, &C2DPushGraph::saveImageAs);
    menu.exec(event->globalPos());
}

QImage C2DPushGraph::snapshot() {
    render();
    return m_image;
}

void C2DPushGraph::copyImage() {
    QApplication::clipboard()->setImage(snapshot());
}

void C2DPushGraph::saveImageAs() {
    QString path =
        CFileDialog::saveFileName(this, tr("Save Image As"), QDir::home().filePath(QStringLiteral("chart.png")),
                                  tr("PNG image (*.png);;SVG image (*.svg)"));
    if (path.isEmpty())
        return;
    // A bare name gets the default format's extension; any other extension is refused
    // rather than silently written in a format the name does not promise.
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    QString error;
    if (!saveImage(path, &error))
        CMessageBox::error(this,
                           tr("Unable to save the chart image to %1:\n%2").arg(QDir::toNativeSeparators(path), error));
}

bool C2DPushGraph::saveImage(const QString& path, QString* error) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (suffix == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size());
        svg.setViewBox(rect());
        svg.setTitle(tr("Chart"));
        QPainter painter(&svg);
        draw(painter, size());
    } else if (suffix == QLatin1String("png")) {
        if (!snapshot().save(&buffer, "PNG")) {
            *error = tr("The image could not be encoded. Try saving it as SVG instead.");
            return false;
        }
    } else {
        *error = tr("A chart is saved as PNG or SVG. Choose a name ending in .png or .svg.");
        return false;
    }
    std::string reason;
    if (!odrivo::writeFileAtomically(
            fromQt(path), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), &reason)) {
        *error = tr("%1\nCheck that the folder exists and can be written, or choose another folder.").arg(toQt(reason));
        return false;
    }
    return true;
}
