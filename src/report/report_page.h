#pragma once
// CReportPage lays out one page of a printed report. Reports describe the page in inches:
// text at a row and column with printf-style formatting, rules, shaded and framed regions
// and tables. The page turns inches into its own units and draws through a CDrawingSurface.
//
// Page units depend on the mapping mode. In the text mode one unit is one device pixel. In
// the anisotropic mode the page is a logical square of 1000 x 1000 units stretched over the
// device rectangle, so the same inch positions give the same layout on printers of any
// resolution. Units are turned into device pixels only when handed to the surface.
//
// Every drawing call saves the drawing state (font, flags, styles, colour) on entry and
// restores it on exit, so the flags, size or colour one call asks for never leak into the
// next. The formatted text of one call is at most 999 characters.
//
// One page object serves one page of one print job; the regions and tables made on it
// (10 at most) belong to it.

#include "report/drawing_surface.h"
#include "report/report_region.h"
#include "report/report_table.h"

#include <array>
#include <cstdarg>
#include <memory>
#include <string>
#include <vector>

#define ODRIVO_PRINTF_FORMAT(formatIndex, firstArgument) __attribute__((format(printf, formatIndex, firstArgument)))

// Text flags of the drawing calls; kKeepFlags in a call keeps the current ones.
namespace reportflags {
enum : unsigned {
    kBold = 0x001,
    kItalic = 0x002,
    kUnderline = 0x004,
    kStrikeOut = 0x008,
    kFill = 0x010, // shade the text's rectangle with the fill style first
    kRight = 0x040,
    kCentre = 0x080,
    kExpandTabs = 0x100,
    kSingleLine = 0x200, // otherwise text wraps at word boundaries
    kNoClip = 0x400,
    kVerticalCentre = 0x800,
    kKeepFlags = 0xffff,
};
}

// Fill styles; any other value means no fill.
namespace fillstyle {
enum : int { kNone = 0, kGray = 1, kLightGray = 2, kDarkGray = 4, kBlack = 8 };
}

// Pen styles; any other value draws solid. kKeepPen keeps the current style.
namespace penstyle {
enum : unsigned { kSolid = 0, kDot = 1, kDash = 2, kDashDot = 0x10, kDashDotDot = 0x20, kKeepPen = 0xffff };
}

enum class MappingMode { Text, Anisotropic };

struct DrawingState {
    DeviceRect rect; // of the element being drawn, page units
    int row = 0;
    std::string face = "Times New Roman";
    int pointSize = 10;
    unsigned flags = 0;
    int fillStyle = fillstyle::kNone;
    unsigned penStyle = penstyle::kSolid;
    ColourRef colour = 0;
};

class CReportPage {
public:
    static constexpr int kStackSize = 10;
    static constexpr int kMaxElements = 10; // regions and tables together
    static constexpr int kFormatBufferSize = 1000;
    static constexpr int kLogicalExtent = 1000;

    // The page covers the surface's whole sheet.
    explicit CReportPage(CDrawingSurface& surface, MappingMode mode = MappingMode::Text);
    // The page covers `deviceRect` of the surface.
    CReportPage(CDrawingSurface& surface, MappingMode mode, const DeviceRect& deviceRect);
    ~CReportPage();
    CReportPage(const CReportPage&) = delete;
    CReportPage& operator=(const CReportPage&) = delete;

    MappingMode mappingMode() const { return m_mode; }
    const DeviceRect& deviceRect() const { return m_deviceRect; }
    // The page in its own units: the device rectangle, or 0..1000 both ways.
    const DeviceRect& bounds() const { return m_bounds; }
    int horizontalResolution() const { return m_dpiX; }
    int verticalResolution() const { return m_dpiY; }
    double widthInches() const { return m_widthInches; }
    double heightInches() const { return m_heightInches; }
    Orientation orientation() const { return m_orientation; }

    // Inches to page units, truncated; zero or less gives 0.
    int toUnitsX(double inches) const;
    int toUnitsY(double inches) const;
    // Page units to inches; below 1 gives 0.0.
    double toInchesX(int units) const;
    double toInchesY(int units) const;
    // Between page units and device pixels.
    DevicePoint toDevice(DevicePoint point) const;
    DeviceRect toDevice(const DeviceRect& rect) const;
    DevicePoint toPageUnits(DevicePoint point) const;
    DeviceRect toPageUnits(const DeviceRect& rect) const;

    const DrawingState& state() const { return m_state; }
    // False when the stack already holds kStackSize states (nothing is saved).
    bool pushState();
    // False when the stack is empty (the state stays).
    bool popState();
    int stackDepth() const { return m_depth; }

    void setFont(const std::string& face, int pointSize);
    void setTextFlags(unsigned flags);
    void setFillStyle(int fillStyle) { m_state.fillStyle = fillStyle; }
    void setPenStyle(unsigned penStyle);

    // Prints from (row, column) towards the page's right and bottom edges with the given flags
    // (kKeepFlags keeps them) and point size (0 or less keeps it). Returns the row below the
    // printed text, one point size lower still when the line spacing is above 1.0. A column at
    // or right of the page's right edge, or a row at or below its bottom, prints nothing and
    // returns the row.
    double printText(double row, double column, unsigned flags, int pointSize, const char* format, ...)
        ODRIVO_PRINTF_FORMAT(6, 7);
    // The same relative to the region's text origin, clipped to the region; returns the next row
    // relative to the origin. In a shaded region the text has no background, and is white on the
    // dark styles.
    double printInRegion(CReportRegion& region, double row, double column, unsigned flags, int pointSize,
                         const char* format, ...) ODRIVO_PRINTF_FORMAT(7, 8);
    // Prints into one cell of the table (a point size below 1 takes the table's), shaded with the
    // column's fill style. False, drawing nothing, for a row or column the table does not have.
    bool printCell(CReportTable& table, int row, int column, int pointSize, unsigned flags, const char* format, ...)
        ODRIVO_PRINTF_FORMAT(7, 8);

    // Null when the top or left is negative, the right or bottom lies beyond the page, or the
    // page already holds kMaxElements regions and tables. The rectangle is cut at the printable
    // right and bottom and shaded with the fill style.
    CReportRegion* createRegion(double top, double left, double bottom, double right, int fillStyle);
    // Null when the page already holds kMaxElements regions and tables.
    CReportTable* createTable(const TableDescription& description);

    // A line from (top, left) to (bottom, right), `penWidth` device pixels wide, in the text colour.
    void drawLine(double top, double left, double bottom, double right, int penWidth,
                  unsigned penStyle = penstyle::kKeepPen);

    // Both return the previous value for the caller to give back afterwards.
    ColourRef setTextColour(ColourRef colour);
    double setLineSpacing(double factor); // a factor of 0 or less changes nothing
    double lineSpacing() const { return m_lineSpacing; }

    // False when the file cannot be read as an image.
    bool printBitmap(const std::string& path, double top, double left, double bottom, double right);

private:
    friend class CReportRegion;
    friend class CReportTable;

    // Saves the state (and the surface's background mode) for one drawing call, applies the
    // call's flags and size, and restores everything when the call ends.
    class StateScope {
    public:
        explicit StateScope(CReportPage& page, unsigned flags = reportflags::kKeepFlags, int pointSize = 0);
        ~StateScope();
        StateScope(const StateScope&) = delete;
        StateScope& operator=(const StateScope&) = delete;

    private:
        CReportPage& m_page;
        bool m_pushed;
        BackgroundMode m_background;
    };

    void init(MappingMode mode, const DeviceRect& deviceRect);
    bool addElementAllowed() const;
    FontDescription currentFont() const;
    double nextRow(int top, int heightUnits) const;
    int pageHeightOf(int devicePixels) const;
    int pageWidthOf(int devicePixels) const;
    // A table cell's rectangle grown to hold its text.
    DeviceRect fitted(const std::string& text, DeviceRect rect) const;
    // Text on a shaded background: no background of its own, white on the dark styles.
    void useFillColours(int fillStyle);
    void fill(const DeviceRect& rect, int fillStyle);
    void outline(const DeviceRect& rect, int penWidth);
    int measureHeight(const std::string& text, const DeviceRect& rect);
    // Draws with the current state; with the fill flag shades `rect` when `fillWhole`, else only
    // the text's own rectangle. Returns the height drawn, in page units.
    int drawTextBox(const std::string& text, const DeviceRect& rect, int fillStyle, bool fillWhole);

    CDrawingSurface& m_surface;
    MappingMode m_mode = MappingMode::Text;
    DeviceRect m_deviceRect;
    DeviceRect m_bounds;
    int m_dpiX = 0;
    int m_dpiY = 0;
    double m_widthInches = 0;
    double m_heightInches = 0;
    Orientation m_orientation = Orientation::Portrait;
    DrawingState m_state;
    std::array<DrawingState, kStackSize> m_stack;
    int m_depth = 0;
    double m_lineSpacing = 1.0;
    std::vector<std::unique_ptr<CReportRegion>> m_regions;
    std::vector<std::unique_ptr<CReportTable>> m_tables;
};
