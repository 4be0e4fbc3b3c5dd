#pragma once
// CPainterSurface draws the report engine's pages with a QPainter: on a printer or a PDF file,
// or on an image for a preview. The engine's coordinates are pixels of the whole sheet with the
// origin at its top-left corner; a printer's or PDF writer's painter starts at the margins, so
// the surface moves its origin back to the sheet's corner. Fonts are matched to the faces this
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

    DeviceRect pageRect() const override { return m_page; }
    DeviceRect printableRect() const override { return m_printable; }
    int horizontalResolution() const override { return m_dpiX; }
    int verticalResolution() const override { return m_dpiY; }
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
    Orientation m_orientation = Orientation::Portrait;
    DeviceRect m_page;
    DeviceRect m_printable;
    QPoint m_origin; // where the painter's origin lies on the sheet
    ColourRef m_colour = 0;
    BackgroundMode m_background = BackgroundMode::Opaque;
};
