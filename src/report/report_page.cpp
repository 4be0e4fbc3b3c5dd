#include "report/report_page.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr ColourRef kWhite = colourRef(255, 255, 255);

StockBrush brushOf(int fillStyle) {
    switch (fillStyle) {
    case fillstyle::kGray:
        return StockBrush::Gray;
    case fillstyle::kLightGray:
        return StockBrush::LightGray;
    case fillstyle::kDarkGray:
        return StockBrush::DarkGray;
    case fillstyle::kBlack:
        return StockBrush::Black;
    default:
        return StockBrush::None;
    }
}

bool isFill(int fillStyle) {
    return brushOf(fillStyle) != StockBrush::None;
}

PenStyle penOf(unsigned penStyle) {
    switch (penStyle) {
    case penstyle::kDash:
        return PenStyle::Dash;
    case penstyle::kDot:
        return PenStyle::Dot;
    case penstyle::kDashDot:
        return PenStyle::DashDot;
    case penstyle::kDashDotDot:
        return PenStyle::DashDotDot;
    default:
        return PenStyle::Solid;
    }
}

unsigned surfaceFormat(unsigned flags) {
    unsigned format = 0;
    if (flags & reportflags::kRight)
        format |= textformat::kRight;
    if (flags & reportflags::kCentre)
        format |= textformat::kCentre;
    if (flags & reportflags::kExpandTabs)
        format |= textformat::kExpandTabs;
    if (flags & reportflags::kSingleLine)
        format |= textformat::kSingleLine;
    if (flags & reportflags::kNoClip)
        format |= textformat::kNoClip;
    if (flags & reportflags::kVerticalCentre)
        format |= textformat::kVerticalCentre;
    return format;
}

// At most kFormatBufferSize - 1 bytes; a cut never leaves half a UTF-8 character behind.
std::string formatText(const char* format, va_list args) {
    char buffer[CReportPage::kFormatBufferSize];
    const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (written < 0)
        return {};
    std::size_t length = std::strlen(buffer);
    if (static_cast<std::size_t>(written) > length) {
        std::size_t lead = length;
        while (lead > 0 && (static_cast<unsigned char>(buffer[lead - 1]) & 0xc0) == 0x80)
            --lead;
        if (lead > 0 && static_cast<unsigned char>(buffer[lead - 1]) >= 0xc0) {
            const unsigned char first = static_cast<unsigned char>(buffer[lead - 1]);
            const std::size_t needed = first >= 0xf0 ? 4 : first >= 0xe0 ? 3 : 2;
            if (length - (lead - 1) < needed)
                length = lead - 1;
        }
    }
    return std::string(buffer, length);
}

} // namespace

CReportPage::StateScope::StateScope(CReportPage& page, unsigned flags, int pointSize)
    : m_page(page), m_pushed(page.pushState()), m_background(page.m_surface.backgroundMode()) {
    page.setTextFlags(flags);
    if (pointSize > 0)
        page.m_state.pointSize = pointSize;
}

CReportPage::StateScope::~StateScope() {
    if (m_pushed)
        m_page.popState();
    m_page.m_surface.setBackgroundMode(m_background);
}

CReportPage::CReportPage(CDrawingSurface& surface, MappingMode mode) : m_surface(surface) {
    init(mode, surface.pageRect());
}

CReportPage::CReportPage(CDrawingSurface& surface, MappingMode mode, const DeviceRect& deviceRect)
    : m_surface(surface) {
    init(mode, deviceRect);
}

CReportPage::~CReportPage() = default;

void CReportPage::init(MappingMode mode, const DeviceRect& deviceRect) {
    m_mode = mode;
    m_deviceRect = deviceRect;
    m_bounds = mode == MappingMode::Anisotropic ? DeviceRect{0, 0, kLogicalExtent, kLogicalExtent} : deviceRect;
    m_dpiX = m_surface.horizontalResolution();
    m_dpiY = m_surface.verticalResolution();
    m_widthInches = m_dpiX > 0 ? static_cast<double>(deviceRect.width()) / m_dpiX : 0.0;
    m_heightInches = m_dpiY > 0 ? static_cast<double>(deviceRect.height()) / m_dpiY : 0.0;
    m_orientation = m_surface.orientation();
    m_state = DrawingState{};
    m_state.colour = m_surface.textColour();
    m_depth = 0;
    m_lineSpacing = 1.0;
}

int CReportPage::toUnitsX(double inches) const {
    if (inches <= 0 || m_widthInches <= 0)
        return 0;
    return static_cast<int>(m_mode == MappingMode::Anisotropic ? inches * kLogicalExtent / m_widthInches
                                                               : inches * m_dpiX);
}

int CReportPage::toUnitsY(double inches) const {
    if (inches <= 0 || m_heightInches <= 0)
        return 0;
    return static_cast<int>(m_mode == MappingMode::Anisotropic ? inches * kLogicalExtent / m_heightInches
                                                               : inches * m_dpiY);
}

double CReportPage::toInchesX(int units) const {
    if (units < 1)
        return 0.0;
    return m_mode == MappingMode::Anisotropic ? units * (m_widthInches / kLogicalExtent)
                                              : static_cast<double>(units) / m_dpiX;
}

double CReportPage::toInchesY(int units) const {
    if (units < 1)
        return 0.0;
    return m_mode == MappingMode::Anisotropic ? units * (m_heightInches / kLogicalExtent)
                                              : static_cast<double>(units) / m_dpiY;
}

DevicePoint CReportPage::toDevice(DevicePoint point) const {
    if (m_mode != MappingMode::Anisotropic)
        return point;
    return {
        m_deviceRect.left + static_cast<int>(static_cast<long long>(point.x) * m_deviceRect.width() / kLogicalExtent),
        m_deviceRect.top + static_cast<int>(static_cast<long long>(point.y) * m_deviceRect.height() / kLogicalExtent)};
}

DeviceRect CReportPage::toDevice(const DeviceRect& rect) const {
    const DevicePoint topLeft = toDevice(DevicePoint{rect.left, rect.top});
    const DevicePoint bottomRight = toDevice(DevicePoint{rect.right, rect.bottom});
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

DevicePoint CReportPage::toPageUnits(DevicePoint point) const {
    if (m_mode != MappingMode::Anisotropic || m_deviceRect.width() <= 0 || m_deviceRect.height() <= 0)
        return point;
    return {
        static_cast<int>(static_cast<long long>(point.x - m_deviceRect.left) * kLogicalExtent / m_deviceRect.width()),
        static_cast<int>(static_cast<long long>(point.y - m_deviceRect.top) * kLogicalExtent / m_deviceRect.height())};
}

DeviceRect CReportPage::toPageUnits(const DeviceRect& rect) const {
    const DevicePoint topLeft = toPageUnits(DevicePoint{rect.left, rect.top});
    const DevicePoint bottomRight = toPageUnits(DevicePoint{rect.right, rect.bottom});
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

int CReportPage::pageHeightOf(int devicePixels) const {
    if (m_mode != MappingMode::Anisotropic || m_deviceRect.height() <= 0)
        return devicePixels;
    return static_cast<int>(static_cast<long long>(devicePixels) * kLogicalExtent / m_deviceRect.height());
}

int CReportPage::pageWidthOf(int devicePixels) const {
    if (m_mode != MappingMode::Anisotropic || m_deviceRect.width() <= 0)
        return devicePixels;
    return static_cast<int>(static_cast<long long>(devicePixels) * kLogicalExtent / m_deviceRect.width());
}

bool CReportPage::pushState() {
    if (m_depth >= kStackSize)
        return false;
    m_stack[m_depth++] = m_state;
    return true;
}

bool CReportPage::popState() {
    if (m_depth == 0)
        return false;
    m_state = m_stack[--m_depth];
    m_surface.setTextColour(m_state.colour);
    return true;
}

void CReportPage::setFont(const std::string& face, int pointSize) {
    m_state.face = face;
    if (pointSize > 0)
        m_state.pointSize = pointSize;
}

void CReportPage::setTextFlags(unsigned flags) {
    if (flags != reportflags::kKeepFlags)
        m_state.flags = flags;
}

void CReportPage::setPenStyle(unsigned penStyle) {
    if (penStyle != penstyle::kKeepPen)
        m_state.penStyle = penStyle;
}

ColourRef CReportPage::setTextColour(ColourRef colour) {
    const ColourRef previous = m_state.colour;
    m_state.colour = colour;
    m_surface.setTextColour(colour);
    return previous;
}

double CReportPage::setLineSpacing(double factor) {
    const double previous = m_lineSpacing;
    if (factor > 0)
        m_lineSpacing = factor;
    return previous;
}

FontDescription CReportPage::currentFont() const {
    FontDescription font;
    font.face = m_state.face;
    font.height = -(m_state.pointSize * m_dpiY / 72);
    font.weight = (m_state.flags & reportflags::kBold) ? 700 : 400;
    font.italic = m_state.flags & reportflags::kItalic;
    font.underline = m_state.flags & reportflags::kUnderline;
    font.strikeOut = m_state.flags & reportflags::kStrikeOut;
    return font;
}

double CReportPage::nextRow(int top, int heightUnits) const {
    // Spaced lines keep one more point size of air below them.
    const double extra = m_lineSpacing > 1.0 ? m_state.pointSize / 72.0 : 0.0;
    return toInchesY(top + heightUnits) + extra;
}

void CReportPage::useFillColours(int fillStyle) {
    if (!isFill(fillStyle))
        return;
    m_surface.setBackgroundMode(BackgroundMode::Transparent);
    if (fillStyle > fillstyle::kLightGray)
        m_state.colour = kWhite;
}

void CReportPage::fill(const DeviceRect& rect, int fillStyle) {
    if (isFill(fillStyle))
        m_surface.fillRect(toDevice(rect), brushOf(fillStyle));
}

void CReportPage::outline(const DeviceRect& rect, int penWidth) {
    const DeviceRect d = toDevice(rect);
    m_surface.drawPolygon({{d.left, d.top}, {d.right, d.top}, {d.right, d.bottom}, {d.left, d.bottom}},
                          {penOf(m_state.penStyle), penWidth, m_state.colour});
}

int CReportPage::measureHeight(const std::string& text, const DeviceRect& rect) {
    return pageHeightOf(
        m_surface.measureText(text, toDevice(rect), currentFont(), surfaceFormat(m_state.flags)).height());
}

DeviceRect CReportPage::fitted(const std::string& text, DeviceRect rect) const {
    // Text bigger than its cell (the 18-point total of a 10-point table) is not cut: the
    // cell reaches down, and away from the side the text keeps to, as far as the text needs.
    const DeviceRect needed = m_surface.measureText(text, toDevice(rect), currentFont(), surfaceFormat(m_state.flags));
    const int width = pageWidthOf(needed.width());
    const int height = pageHeightOf(needed.height());
    rect.bottom = std::max(rect.bottom, rect.top + height);
    if (width > rect.width()) {
        if (m_state.flags & reportflags::kRight)
            rect.left = rect.right - width;
        else if (m_state.flags & reportflags::kCentre)
            rect = {rect.left - (width - rect.width()) / 2, rect.top, rect.left - (width - rect.width()) / 2 + width,
                    rect.bottom};
        else
            rect.right = rect.left + width;
    }
    return rect;
}

int CReportPage::drawTextBox(const std::string& text, const DeviceRect& rect, int fillStyle, bool fillWhole) {
    const FontDescription font = currentFont();
    const unsigned format = surfaceFormat(m_state.flags);
    const DeviceRect device = toDevice(rect);
    if (m_state.flags & reportflags::kFill) {
        const DeviceRect shaded = fillWhole ? device : m_surface.measureText(text, device, font, format);
        if (isFill(fillStyle))
            m_surface.fillRect(shaded, brushOf(fillStyle));
    }
    m_surface.setTextColour(m_state.colour);
    return pageHeightOf(m_surface.drawText(text, device, font, format));
}

double CReportPage::printText(double row, double column, unsigned flags, int pointSize, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = formatText(format, args);
    va_end(args);

    StateScope scope(*this, flags, pointSize);
    const int top = toUnitsY(row);
    const int left = toUnitsX(column);
    if (left >= m_bounds.right || top >= m_bounds.bottom)
        return row;
    m_state.rect = {left, top, m_bounds.right, m_bounds.bottom};
    m_state.row = top;
    return nextRow(top, drawTextBox(text, m_state.rect, m_state.fillStyle, false));
}

double CReportPage::printInRegion(CReportRegion& region, double row, double column, unsigned flags, int pointSize,
                                  const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = formatText(format, args);
    va_end(args);

    StateScope scope(*this, flags, pointSize);
    const int top = toUnitsY(row);
    const DeviceRect& bounds = region.rect();
    const DeviceRect rect{region.textOrigin().x + toUnitsX(column), region.textOrigin().y + top, bounds.right,
                          bounds.bottom};
    if (rect.left >= rect.right || rect.top >= rect.bottom)
        return row;
    // The region's edges are its limits, whatever the caller asked for.
    m_state.flags &= ~unsigned(reportflags::kNoClip);
    m_state.rect = rect;
    m_state.row = rect.top;
    useFillColours(region.fillStyle());
    return nextRow(top, drawTextBox(text, rect, region.fillStyle(), false));
}

bool CReportPage::printCell(CReportTable& table, int row, int column, int pointSize, unsigned flags, const char* format,
                            ...) {
    if (row < 0 || row >= table.rowCount() || column < 0 || column >= table.columnCount())
        return false;
    va_list args;
    va_start(args, format);
    const std::string text = formatText(format, args);
    va_end(args);

    StateScope scope(*this, flags, pointSize >= 1 ? pointSize : table.pointSize());
    // Cells are laid out double-spaced; the page's own spacing comes back afterwards.
    const double spacing = setLineSpacing(2.0);
    const int fillStyle = table.column(column).fillStyle;
    // The whole cell is shaded below, whatever the flags say.
    m_state.flags &= ~unsigned(reportflags::kFill);
    m_state.rect = table.cellRect(row, column);
    m_state.row = m_state.rect.top;
    useFillColours(fillStyle);
    fill(m_state.rect, fillStyle);
    drawTextBox(text, fitted(text, m_state.rect), fillStyle, true);
    setLineSpacing(spacing);
    return true;
}

bool CReportPage::addElementAllowed() const {
    return static_cast<int>(m_regions.size() + m_tables.size()) < kMaxElements;
}

CReportRegion* CReportPage::createRegion(double top, double left, double bottom, double right, int fillStyle) {
    if (!addElementAllowed() || top < 0 || left < 0)
        return nullptr;
    DeviceRect rect{toUnitsX(left), toUnitsY(top), toUnitsX(right), toUnitsY(bottom)};
    if (rect.right > m_bounds.right || rect.bottom > m_bounds.bottom)
        return nullptr;
    const DeviceRect printable = toPageUnits(m_surface.printableRect());
    rect.right = std::min(rect.right, printable.right);
    rect.bottom = std::min(rect.bottom, printable.bottom);
    StateScope scope(*this);
    fill(rect, fillStyle);
    m_regions.push_back(std::make_unique<CReportRegion>(*this, rect, fillStyle));
    return m_regions.back().get();
}

CReportTable* CReportPage::createTable(const TableDescription& description) {
    if (!addElementAllowed())
        return nullptr;
    const bool inches = description.inInches;
    auto unitsX = [&](double value) { return inches ? toUnitsX(value) : static_cast<int>(value); };
    auto unitsY = [&](double value) { return inches ? toUnitsY(value) : static_cast<int>(value); };
    DeviceRect rect{unitsX(description.left), unitsY(description.top), unitsX(description.right),
                    unitsY(description.bottom)};
    const DeviceRect printable = toPageUnits(m_surface.printableRect());
    if (rect.right <= rect.left)
        rect.right = printable.right;
    if (rect.bottom <= rect.top)
        rect.bottom = printable.bottom;
    std::vector<int> widths;
    for (const ColumnDescription& column : description.columns)
        widths.push_back(unitsX(column.width));
    m_tables.push_back(std::make_unique<CReportTable>(*this, rect, std::move(widths), description.columns));
    return m_tables.back().get();
}

void CReportPage::drawLine(double top, double left, double bottom, double right, int penWidth, unsigned penStyle) {
    StateScope scope(*this);
    setPenStyle(penStyle);
    const DevicePoint from = toDevice(DevicePoint{toUnitsX(left), toUnitsY(top)});
    const DevicePoint to = toDevice(DevicePoint{toUnitsX(right), toUnitsY(bottom)});
    m_surface.drawPolyline({from, to}, {penOf(m_state.penStyle), penWidth, m_state.colour});
}

bool CReportPage::printBitmap(const std::string& path, double top, double left, double bottom, double right) {
    StateScope scope(*this);
    return m_surface.drawBitmap(path,
                                toDevice(DeviceRect{toUnitsX(left), toUnitsY(top), toUnitsX(right), toUnitsY(bottom)}));
}
