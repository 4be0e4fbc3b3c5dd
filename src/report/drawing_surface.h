#pragma once
// CDrawingSurface is what the report page engine draws on: a printer page, a PDF page or a
// recorder for tests and the command line. Every position and size it receives is in device
// units (pixels of the target); the engine does its own inch and mapping-mode arithmetic and
// hands over finished rectangles, pens and fonts. Text is never given prefix processing: an
// ampersand prints as itself.

#include <cstdint>
#include <string>
#include <vector>

// A red-green-blue colour as 0xRRGGBB.
using ColourRef = std::uint32_t;
constexpr ColourRef colourRef(int red, int green, int blue) {
    return (static_cast<ColourRef>(red & 0xff) << 16) | (static_cast<ColourRef>(green & 0xff) << 8) | static_cast<ColourRef>(blue & 0xff);
}

struct DeviceRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const DeviceRect&) const = default;
};

struct DevicePoint {
    int x = 0;
    int y = 0;
    bool operator==(const DevicePoint&) const = default;
};

enum class StockBrush { None, Gray, LightGray, DarkGray, Black };
enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot };
enum class BackgroundMode { Transparent, Opaque };
enum class Orientation { Portrait, Landscape };

struct PenDescription {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    ColourRef colour = 0;
};

struct FontDescription {
    std::string face;
    int height = 0; // pixels; negative means the height of the characters without leading
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// How text is placed in its rectangle; left, top and word wrap when no bit says otherwise.
namespace textformat {
enum : unsigned {
    kRight = 0x01,
    kCentre = 0x02,
    kVerticalCentre = 0x04, // only with kSingleLine
    kSingleLine = 0x08,     // no wrapping; line breaks print as characters
    kExpandTabs = 0x10,
    kNoClip = 0x20,
};
}

class CDrawingSurface {
public:
    virtual ~CDrawingSurface() = default;

    // The whole sheet, and the part of it the device can mark.
    virtual DeviceRect pageRect() const = 0;
    virtual DeviceRect printableRect() const = 0;
    virtual int horizontalResolution() const = 0; // pixels per inch
    virtual int verticalResolution() const = 0;
    virtual Orientation orientation() const = 0;

    virtual void fillRect(const DeviceRect& rect, StockBrush brush) = 0;
    virtual void drawPolyline(const std::vector<DevicePoint>& points, const PenDescription& pen) = 0;
    // The outline through the points back to the first; the inside is not filled.
    virtual void drawPolygon(const std::vector<DevicePoint>& points, const PenDescription& pen) = 0;

    // Draws in the current text colour and background mode; returns the height of the text drawn.
    virtual int drawText(const std::string& text, const DeviceRect& rect, const FontDescription& font,
                         unsigned format) = 0;
    // The rectangle the text needs: same left and top, its width and height as it would be drawn
    // in a rectangle as wide as the given one.
    virtual DeviceRect measureText(const std::string& text, const DeviceRect& rect, const FontDescription& font,
                                   unsigned format) = 0;

    virtual ColourRef textColour() const = 0;
    virtual void setTextColour(ColourRef colour) = 0;
    virtual BackgroundMode backgroundMode() const = 0;
    virtual void setBackgroundMode(BackgroundMode mode) = 0;

    // False, drawing nothing, when the file cannot be read as an image.
    virtual bool drawBitmap(const std::string& path, const DeviceRect& rect) = 0;

    // Ends the page and starts the next one of the same job; false when the device refused.
    virtual bool newPage() = 0;
};
