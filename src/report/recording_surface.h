#pragma once
// CRecordingSurface writes down every drawing call as one line of text instead of drawing,
// so tests and `odrivo-cli report --layout` can show exactly where a report puts things.
// Lines look like
//   fill 150,150,2400,900 lightgray
//   line solid w3 #000000 0,960 4770,960
//   outline solid w1 #000000 0,0 100,0 100,50 0,50
//   text 6,966,4770,6450 "Times New Roman" -83 w700 italic underline strike centre|single|vcentre|tabs|noclip
//        #0000c8 transparent "VIN:  123"
//   bitmap 300,60,1200,900 "Logo.bmp" missing
// (one line each; the font's style words and the format words appear only when set).
//
// Text is measured with a fixed metric so layouts come out the same on every machine: each
// character is half the font's pixel height wide (a tab, when tabs are expanded, reaches the
// next multiple of 8 characters), a line is 1.2 times the pixel height high (rounded up), and
// unless single-line, text wraps at blanks to fit the rectangle's width and breaks at "\n".
// A word wider than the rectangle stands alone on its line.

#include "report/drawing_surface.h"

#include <string>
#include <vector>

class CRecordingSurface : public CDrawingSurface {
public:
    // A letter sheet (8.5 x 11 inches, turned for landscape) whose printable part leaves a
    // quarter inch on every side.
    explicit CRecordingSurface(int horizontalDpi = 600, int verticalDpi = 600,
                               Orientation orientation = Orientation::Portrait);

    void setPrintableRect(const DeviceRect& rect) { m_printable = rect; }
    void setPageRect(const DeviceRect& rect) { m_page = rect; }

    const std::vector<std::string>& lines() const { return m_lines; }
    void clear() { m_lines.clear(); }

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
    // Records a "page" line; the lines after it belong to the next page.
    bool newPage() override;

private:
    void recordLine(const char* kind, const std::vector<DevicePoint>& points, const PenDescription& pen);

    int m_dpiX;
    int m_dpiY;
    Orientation m_orientation;
    DeviceRect m_page;
    DeviceRect m_printable;
    ColourRef m_colour = 0;
    BackgroundMode m_background = BackgroundMode::Opaque;
    std::vector<std::string> m_lines;
};
