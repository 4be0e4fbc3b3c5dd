#pragma once
// CPainterSurface draws the report engine's pages with a QPainter: on a printer or a PDF file,
// or on an image for a preview. As on a printer's device context, the engine's page is the part
// of the sheet the device can mark, with the origin at its top-left corner. A page smaller than
// the extent a layout needs (a report laid out for Letter, printed on A4) is met by presenting
// a lower resolution, so the whole layout shrinks evenly to fit. Fonts are matched to the faces this
// desktop has: a face it lacks is replaced by the nearest serif, sans or fixed-pitch face.
//
// The painter stays the caller's: it must be active on its device for as long as the surface
// draws. newPage() needs the paged device (the printer or PDF writer) the painter draws on.

#include "report/drawing_surface.h"

#include <QFont>
#include <QRect>

class QPainter;
class QPagedPaintDevice;

// The program's own logo, drawn by a report when the user has no logo file of their own.
inline constexpr const char* kReportLogoResource = ":/report/logo.svg";

// The Qt font for a report font at `verticalDpi`: the face or its nearest installed kind,
// sized in device pixels.
QFont reportFont(const FontDescription& font, int verticalDpi);

class CPainterSurface : public CDrawingSurface {
public:
    explicit CPainterSurface(QPainter& painter, QPagedPaintDevice* pagedDevice = nullptr);
    ~CPainterSurface() override;
    CPainterSurface(const CPainterSurface&) = delete;
    CPainterSurface& operator=(const CPainterSurface&) = delete;

    // Presents a resolution at which a layout of this many inches fits the page (never a
    // higher one than the device's own).
    void fitInches(double width, double height);

    DeviceRect pageRect() const override { return m_page; }
    DeviceRect printableRect() const override { return m_printable; }
    int horizontalResolution() const override { return m_shownDpiX; }
    int verticalResolution() const override { return m_shownDpiY; }
    Orientation orientation() const override { return m_orientation; }

    void fillRect(const DeviceRect& rect, StockBrush brush) override;
    void drawPolyline(const std::vector<DevicePoint>& points, const PenDescription& pen) override;
    void drawPolygon(const std::vector<DevicePoint>& points, const PenDescription& pen) override;
    int drawText(const std::string& text, const DeviceRect& rect, const FontDescription& font,
                 unsigned format) override;
    DeviceRect measureText(const std::string& text, const DeviceRect& rect, const FontDescription& font,
                           unsigned format) override;
    ColourRef textColour() const override { return m_colour; }
    void setTextColour(ColourRef colour) override { m_colour = colour; }
    BackgroundMode backgroundMode() const override { return m_background; }
    void setBackgroundMode(BackgroundMode mode) override { m_background = mode; }
    bool drawBitmap(const std::string& path, const DeviceRect& rect) override;
    bool newPage() override;

private:
    void applyPen(const PenDescription& pen);

    QPainter& m_painter;
    QPagedPaintDevice* m_pagedDevice;
    int m_dpiX = 0;
    int m_dpiY = 0;
    int m_shownDpiX = 0; // the resolution the engine lays out at
    int m_shownDpiY = 0;
    Orientation m_orientation = Orientation::Portrait;
    DeviceRect m_page;
    DeviceRect m_printable;
    QPoint m_origin; // where the painter's origin lies on the sheet
    ColourRef m_colour = 0;
    BackgroundMode m_background = BackgroundMode::Opaque;
};
