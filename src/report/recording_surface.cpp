#include "report/recording_surface.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

std::string rectText(const DeviceRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

std::string colourText(ColourRef colour) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%06x", static_cast<unsigned>(colour & 0xffffff));
    return buffer;
}

const char* brushName(StockBrush brush) {
    switch (brush) {
    case StockBrush::Gray:
        return "gray";
    case StockBrush::LightGray:
        return "lightgray";
    case StockBrush::DarkGray:
        return "darkgray";
    case StockBrush::Black:
        return "black";
    case StockBrush::None:
        break;
    }
    return "none";
}

const char* penName(PenStyle style) {
    switch (style) {
    case PenStyle::Dash:
        return "dash";
    case PenStyle::Dot:
        return "dot";
    case PenStyle::DashDot:
        return "dashdot";
    case PenStyle::DashDotDot:
        return "dashdotdot";
    case PenStyle::Solid:
        break;
    }
    return "solid";
}

std::string formatText(unsigned format) {
    static const std::pair<unsigned, const char*> kNames[] = {
        {textformat::kRight, "right"},       {textformat::kCentre, "centre"},
        {textformat::kSingleLine, "single"}, {textformat::kVerticalCentre, "vcentre"},
        {textformat::kExpandTabs, "tabs"},   {textformat::kNoClip, "noclip"},
    };
    std::string out;
    for (const auto& [bit, name] : kNames) {
        if (format & bit) {
            if (!out.empty())
                out += '|';
            out += name;
        }
    }
    return out.empty() ? "left" : out;
}

// Width of one line in characters, tabs reaching the next multiple of 8 when expanded.
int lineColumns(const std::string& line, bool expandTabs) {
    int columns = 0;
    for (char c : line)
        columns = (c == '\t' && expandTabs) ? (columns / 8 + 1) * 8 : columns + 1;
    return columns;
}

// The lines the text occupies in a rectangle `width` pixels wide.
std::vector<std::string> layoutLines(const std::string& text, int pixelHeight, int width, unsigned format) {
    const bool tabs = format & textformat::kExpandTabs;
    if (format & textformat::kSingleLine)
        return {text};
    auto fits = [&](const std::string& line) { return lineColumns(line, tabs) * pixelHeight <= 2 * width; };
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        const std::string paragraph = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string line;
        std::size_t pos = 0;
        while (pos <= paragraph.size()) {
            std::size_t blank = paragraph.find(' ', pos);
            if (blank == std::string::npos)
                blank = paragraph.size();
            const std::string word = paragraph.substr(pos, blank - pos);
            const std::string joined = line.empty() ? word : line + " " + word;
            if (!line.empty() && !fits(joined)) {
                lines.push_back(line);
                line = word;
            } else {
                line = joined;
            }
            pos = blank + 1;
        }
        lines.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

} // namespace

CRecordingSurface::CRecordingSurface(int horizontalDpi, int verticalDpi, Orientation orientation)
    : m_dpiX(horizontalDpi), m_dpiY(verticalDpi), m_orientation(orientation) {
    const bool landscape = orientation == Orientation::Landscape;
    m_page = {0, 0, (landscape ? 11 * horizontalDpi : horizontalDpi * 17 / 2),
              (landscape ? verticalDpi * 17 / 2 : 11 * verticalDpi)};
    m_printable = {horizontalDpi / 4, verticalDpi / 4, m_page.right - horizontalDpi / 4,
                   m_page.bottom - verticalDpi / 4};
}

void CRecordingSurface::fillRect(const DeviceRect& rect, StockBrush brush) {
    m_lines.push_back("fill " + rectText(rect) + " " + brushName(brush));
}

void CRecordingSurface::recordLine(const char* kind, const std::vector<DevicePoint>& points,
                                   const PenDescription& pen) {
    std::string line =
        std::string(kind) + " " + penName(pen.style) + " w" + std::to_string(pen.width) + " " + colourText(pen.colour);
    for (const DevicePoint& p : points) {
        line += ' ';
        line += std::to_string(p.x);
        line += ',';
        line += std::to_string(p.y);
    }
    m_lines.push_back(line);
}

void CRecordingSurface::drawPolyline(const std::vector<DevicePoint>& points, const PenDescription& pen) {
    recordLine("line", points, pen);
}

void CRecordingSurface::drawPolygon(const std::vector<DevicePoint>& points, const PenDescription& pen) {
    recordLine("outline", points, pen);
}

DeviceRect CRecordingSurface::measureText(const std::string& text, const DeviceRect& rect, const FontDescription& font,
                                          unsigned format) {
    const int pixelHeight = std::abs(font.height);
    const std::vector<std::string> lines = layoutLines(text, pixelHeight, rect.width(), format);
    int columns = 0;
    for (const std::string& line : lines)
        columns = std::max(columns, lineColumns(line, format & textformat::kExpandTabs));
    const int lineHeight = (12 * pixelHeight + 9) / 10;
    return {rect.left, rect.top, rect.left + (columns * pixelHeight + 1) / 2,
            rect.top + lineHeight * static_cast<int>(lines.size())};
}

int CRecordingSurface::drawText(const std::string& text, const DeviceRect& rect, const FontDescription& font,
                                unsigned format) {
    std::string line = "text " + rectText(rect) + " \"" + font.face + "\" " + std::to_string(font.height) + " w" +
                       std::to_string(font.weight);
    if (font.italic)
        line += " italic";
    if (font.underline)
        line += " underline";
    if (font.strikeOut)
        line += " strike";
    line += ' ';
    line += formatText(format);
    line += ' ';
    line += colourText(m_colour);
    line += m_background == BackgroundMode::Transparent ? " transparent" : " opaque";
    line += " \"";
    line += text;
    line += '"';
    m_lines.push_back(line);
    return measureText(text, rect, font, format).height();
}

bool CRecordingSurface::drawBitmap(const std::string& path, const DeviceRect& rect) {
    // A folder opens like a file but reads nothing; an empty file is no image either.
    std::ifstream file(path, std::ios::binary);
    const bool readable = file.good() && file.peek() != std::ifstream::traits_type::eof();
    m_lines.push_back("bitmap " + rectText(rect) + " \"" + path + "\"" + (readable ? " drawn" : " missing"));
    return readable;
}

bool CRecordingSurface::newPage() {
    m_lines.push_back("page");
    return true;
}
