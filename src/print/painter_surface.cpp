#include "print/painter_surface.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPolygon>
#include <QSvgRenderer>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

// The logo lives in this static library; registering it here pulls it into every program
// that draws reports.
static void registerReportResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(print);
        return true;
    }();
    (void)registered;
}

namespace {

QRect toQRect(const DeviceRect& rect) {
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

QColor toQColor(ColourRef colour) {
    return QColor((colour >> 16) & 0xff, (colour >> 8) & 0xff, colour & 0xff);
}

// What kind of face a report asks for, so a face this desktop lacks is replaced by one of its kind.
QFont::StyleHint kindOfFace(const QString& face) {
    static const QStringList kSerif = {"Times New Roman",  "Times",
                                       "Georgia",          "Garamond",
                                       "Book Antiqua",     "Palatino Linotype",
                                       "Cambria",          "Century Schoolbook",
                                       "Bookman Old Style"};
    static const QStringList kFixed = {"Courier New", "Courier", "Consolas", "Lucida Console",
                                       "Lucida Sans Typewriter"};
    if (kSerif.contains(face, Qt::CaseInsensitive))
        return QFont::Serif;
    if (kFixed.contains(face, Qt::CaseInsensitive))
        return QFont::Monospace;
    return QFont::SansSerif;
}

int qtTextFlags(unsigned format) {
    int flags = (format & textformat::kRight)    ? Qt::AlignRight
                : (format & textformat::kCentre) ? Qt::AlignHCenter
                                                 : Qt::AlignLeft;
    if (format & textformat::kSingleLine)
        flags |= Qt::TextSingleLine | ((format & textformat::kVerticalCentre) ? Qt::AlignVCenter : Qt::AlignTop);
    else
        flags |= Qt::TextWordWrap | Qt::AlignTop;
    if (format & textformat::kExpandTabs)
        flags |= Qt::TextExpandTabs;
    if (format & textformat::kNoClip)
        flags |= Qt::TextDontClip;
    return flags;
}

Qt::PenStyle qtPenStyle(PenStyle style) {
    switch (style) {
    case PenStyle::Dash:
        return Qt::DashLine;
    case PenStyle::Dot:
        return Qt::DotLine;
    case PenStyle::DashDot:
        return Qt::DashDotLine;
    case PenStyle::DashDotDot:
        return Qt::DashDotDotLine;
    case PenStyle::Solid:
        break;
    }
    return Qt::SolidLine;
}

QPolygon toQPolygon(const std::vector<DevicePoint>& points) {
    QPolygon polygon;
    polygon.reserve(static_cast<int>(points.size()));
    for (const DevicePoint& p : points)
        polygon.append(QPoint(p.x, p.y));
    return polygon;
}

// One piece of a single line with tabs, and where it starts from the line's left.
struct TabRun {
    QString text;
    qreal x = 0;
};

// Tabs expand as on a printer: a stop every 8 average character widths from the left, so the
// columns of lines such as the vehicle report's reminders line up.
std::vector<TabRun> tabRuns(const QString& text, const QFontMetricsF& metrics) {
    const qreal stop = 8 * metrics.averageCharWidth();
    std::vector<TabRun> runs;
    qreal x = 0;
    const QStringList pieces = text.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0 && stop > 0)
            x = (std::floor(x / stop) + 1) * stop;
        runs.push_back({pieces[i], x});
        x += metrics.horizontalAdvance(pieces[i]);
    }
    return runs;
}

bool hasTabStops(const std::string& text, unsigned format) {
    return (format & textformat::kExpandTabs) && (format & textformat::kSingleLine) &&
           text.find('\t') != std::string::npos;
}

} // namespace

QFont reportFont(const FontDescription& description, int verticalDpi) {
    const QString face = QString::fromStdString(description.face);
    QFont font(face);
    if (face.isEmpty()) {
        font.setStyleHint(QFont::SansSerif);
    } else if (!QFontDatabase::hasFamily(face)) {
        // Fontconfig knows good stand-ins for many faces (Times New Roman prints in a serif of
        // the same widths); only when it falls back to its plain sans face does the kind decide.
        const QFont::StyleHint kind = kindOfFace(face);
        QFont sans;
        sans.setStyleHint(QFont::SansSerif);
        if (kind != QFont::SansSerif && QFontInfo(font).family() == QFontInfo(sans).family())
            font.setStyleHint(kind);
    }
    font.setWeight(static_cast<QFont::Weight>(description.weight <= 0 ? 400 : std::clamp(description.weight, 1, 1000)));
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    font.setStrikeOut(description.strikeOut);
    if (description.height < 0) {
        font.setPixelSize(-description.height);
    } else if (description.height > 0) {
        // A positive height is the whole line cell, leading included.
        font.setPixelSize(description.height);
        const qreal cell = QFontMetricsF(font).height();
        if (cell > 0)
            font.setPixelSize(
                std::max(1, static_cast<int>(std::lround(description.height * description.height / cell))));
    } else {
        font.setPixelSize(std::max(1, verticalDpi * 10 / 72)); // the device's default: 10 points
    }
    return font;
}

CPainterSurface::CPainterSurface(QPainter& painter, QPagedPaintDevice* pagedDevice)
    : m_painter(painter), m_pagedDevice(pagedDevice) {
    registerReportResources();
    const QPaintDevice* device = painter.device();
    m_dpiX = device ? device->logicalDpiX() : 96;
    m_dpiY = device ? device->logicalDpiY() : 96;
    if (m_pagedDevice) {
        const QPageLayout layout = m_pagedDevice->pageLayout();
        m_orientation = layout.orientation() == QPageLayout::Landscape ? Orientation::Landscape : Orientation::Portrait;
        // As on a printer's device context, the page starts at the corner the device can mark,
        // so a report placed at 0,0 is never lost in the printer's margin. In full-page mode
        // the painter starts at the sheet's corner and the device still keeps its margins.
        QPageLayout marked = layout;
        if (marked.mode() == QPageLayout::FullPageMode) {
            marked.setMode(QPageLayout::StandardMode);
            marked.setMargins(layout.minimumMargins());
        }
        const QRect paintX = layout.paintRectPixels(m_dpiX);
        const QRect paintY = layout.paintRectPixels(m_dpiY);
        const QRect markedX = marked.paintRectPixels(m_dpiX);
        const QRect markedY = marked.paintRectPixels(m_dpiY);
        m_origin = QPoint(markedX.left() - paintX.left(), markedY.top() - paintY.top());
        m_page = {0, 0, markedX.width(), markedY.height()};
        m_printable = m_page;
    } else if (device) {
        m_page = {0, 0, device->width(), device->height()};
        m_printable = m_page;
        m_orientation = device->width() > device->height() ? Orientation::Landscape : Orientation::Portrait;
    }
    m_shownDpiX = m_dpiX;
    m_shownDpiY = m_dpiY;
    m_painter.save();
    m_painter.translate(m_origin);
}

void CPainterSurface::fitInches(double width, double height) {
    const double scale = std::min({1.0, m_page.width() / (width * m_dpiX), m_page.height() / (height * m_dpiY)});
    m_shownDpiX = std::max(1, static_cast<int>(m_dpiX * scale));
    m_shownDpiY = std::max(1, static_cast<int>(m_dpiY * scale));
}

CPainterSurface::~CPainterSurface() {
    if (m_painter.isActive())
        m_painter.restore();
}

void CPainterSurface::fillRect(const DeviceRect& rect, StockBrush brush) {
    int level = 0;
    switch (brush) {
    case StockBrush::None:
        return;
    case StockBrush::Gray:
        level = 128;
        break;
    case StockBrush::LightGray:
        level = 192;
        break;
    case StockBrush::DarkGray:
        level = 64;
        break;
    case StockBrush::Black:
        level = 0;
        break;
    }
    m_painter.fillRect(toQRect(rect), QColor(level, level, level));
}

void CPainterSurface::applyPen(const PenDescription& pen) {
    m_painter.setPen(
        QPen(QBrush(toQColor(pen.colour)), std::max(pen.width, 1), qtPenStyle(pen.style), Qt::FlatCap, Qt::MiterJoin));
    m_painter.setBrush(Qt::NoBrush);
}

void CPainterSurface::drawPolyline(const std::vector<DevicePoint>& points, const PenDescription& pen) {
    applyPen(pen);
    m_painter.drawPolyline(toQPolygon(points));
}

void CPainterSurface::drawPolygon(const std::vector<DevicePoint>& points, const PenDescription& pen) {
    applyPen(pen);
    m_painter.drawPolygon(toQPolygon(points));
}

int CPainterSurface::drawText(const std::string& text, const DeviceRect& rect, const FontDescription& font,
                              unsigned format) {
    m_painter.save();
    m_painter.setFont(reportFont(font, m_shownDpiY));
    m_painter.setPen(toQColor(m_colour));
    m_painter.setBackground(Qt::white);
    m_painter.setBackgroundMode(m_background == BackgroundMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    QRectF drawn;
    const QRectF box(toQRect(rect));
    if (hasTabStops(text, format)) {
        const int flags = qtTextFlags(format & ~(textformat::kRight | textformat::kCentre));
        if (!(format & textformat::kNoClip))
            m_painter.setClipRect(box, Qt::IntersectClip);
        for (const TabRun& run :
             tabRuns(QString::fromStdString(text), QFontMetricsF(m_painter.font(), m_painter.device()))) {
            QRectF part;
            m_painter.drawText(box.adjusted(run.x, 0, 0, 0), flags | Qt::TextDontClip, run.text, &part);
            drawn |= part;
        }
    } else {
        m_painter.drawText(box, qtTextFlags(format), QString::fromStdString(text), &drawn);
    }
    m_painter.restore();
    return static_cast<int>(std::ceil(drawn.height()));
}

DeviceRect CPainterSurface::measureText(const std::string& text, const DeviceRect& rect, const FontDescription& font,
                                        unsigned format) {
    const QFontMetricsF metrics(reportFont(font, m_shownDpiY), m_painter.device());
    if (hasTabStops(text, format)) {
        const std::vector<TabRun> runs = tabRuns(QString::fromStdString(text), metrics);
        const qreal width = runs.back().x + metrics.horizontalAdvance(runs.back().text);
        return {rect.left, rect.top, rect.left + static_cast<int>(std::ceil(width)),
                rect.top + static_cast<int>(std::ceil(metrics.height()))};
    }
    // Only the width wraps the text; the height is left open so nothing is cut.
    const QRectF needed =
        metrics.boundingRect(QRectF(0, 0, rect.width(), INT_MAX / 4),
                             qtTextFlags(format & ~textformat::kVerticalCentre), QString::fromStdString(text));
    return {rect.left, rect.top, rect.left + static_cast<int>(std::ceil(needed.width())),
            rect.top + static_cast<int>(std::ceil(needed.height()))};
}

bool CPainterSurface::drawBitmap(const std::string& path, const DeviceRect& rect) {
    const QString file = QString::fromStdString(path);
    if (file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        // Drawn as shapes, so the logo stays sharp on paper and in PDF files.
        QSvgRenderer renderer(file);
        if (!renderer.isValid())
            return false;
        renderer.setAspectRatioMode(Qt::KeepAspectRatio);
        renderer.render(&m_painter, QRectF(toQRect(rect)));
        return true;
    }
    QImage image;
    if (!image.load(file))
        return false;
    m_painter.save();
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_painter.drawImage(toQRect(rect), image);
    m_painter.restore();
    return true;
}

bool CPainterSurface::newPage() {
    return m_pagedDevice && m_pagedDevice->newPage();
}
