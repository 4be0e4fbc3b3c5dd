#pragma once
// CPushGraphModel is the state and arithmetic of the scrolling chart on the graph pages:
// a value range, two labels, lines of magnitudes that values are pushed onto, the grid and
// its scroll offset, and the geometry of one drawing as plain data. The widget only
// measures the labels and paints what frame() returns.

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

class CPushGraphModel {
public:
    struct Line {
        int id = 0;
        Rgb colour;
        bool bar = false;
        std::vector<int> magnitudes;
    };
    struct Point {
        int x = 0;
        int y = 0;
        bool operator==(const Point&) const = default;
    };
    struct Rect {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        bool operator==(const Rect&) const = default;
    };
    // One line as drawn: a polyline through `points`, or one bar per point in `bars`.
    struct DrawnLine {
        Rgb colour;
        bool bar = false;
        std::vector<Point> points;
        std::vector<Rect> bars;
    };
    // Everything one drawing of a width x height area shows.
    struct Frame {
        bool labels = false;
        int labelColumnWidth = 0; // the separator line stands at this x
        Rect plot;
        std::vector<int> gridRows;    // y of each horizontal grid line
        std::vector<int> gridColumns; // x of each vertical grid line
        std::vector<DrawnLine> lines;
    };

    void setRange(int minimum, int maximum);
    void setMaximum(int maximum);
    void setMinimum(int minimum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int offset() const { return m_offset; }

    void setTopLabel(std::string text) { m_topLabel = std::move(text); }
    void setBottomLabel(std::string text) { m_bottomLabel = std::move(text); }
    const std::string& topLabel() const { return m_topLabel; }
    const std::string& bottomLabel() const { return m_bottomLabel; }

    // Pixels per point; the point capacity follows at the next drawing.
    void setInterval(int pixels);
    int interval() const { return m_interval; }
    // Finer grids than 3 pixels would blur into a solid fill.
    void setGridSize(int pixels);
    int gridSize() const { return m_gridSize; }

    void setBackground(Rgb colour) { m_background = colour; }
    void setTextColour(Rgb colour) { m_textColour = colour; }
    void setGridColour(Rgb colour) { m_gridColour = colour; }
    Rgb background() const { return m_background; }
    Rgb textColour() const { return m_textColour; }
    Rgb gridColour() const { return m_gridColour; }
    void setShowGrid(bool show) { m_showGrid = show; }
    void setShowLabels(bool show) { m_showLabels = show; }
    bool showGrid() const { return m_showGrid; }
    bool showLabels() const { return m_showLabels; }

    // False, adding nothing, when a line already has the id.
    bool addLine(int id, Rgb colour);
    // These return false, changing nothing, for an id no line has.
    bool setLineColour(Rgb colour, int id);
    bool setBarMode(int id, bool bar);
    // Clamps the value to the range and appends its magnitude to the line.
    bool push(int value, int id);
    const std::vector<Line>& lines() const { return m_lines; }
    const Line* line(int id) const;

    // Tags the point the lines were just pushed to with a caller's key (-1 for none), so that
    // a position on the drawing can be traced back to what the point stands for. Points
    // pushed without a key carry -1.
    void pushKey(int key);
    // The key of the point drawn under x in the last frame, -1 for none (a bar owns the
    // pixels x + 1 to x + interval of its point).
    int keyAt(int x) const;

    // Moves the vertical grid with the data once the lines fill the plot; the caller redraws.
    void update();
    int gridScrollOffset() const { return m_gridScroll; }
    int pointCapacity() const { return m_capacity; }
    // The points a drawing keeps of each line, 0 until a drawing has worked that out for the
    // current bar width.
    std::size_t keptPoints() const { return m_capacityStale ? 0 : static_cast<std::size_t>(m_capacity); }
    // The points the longest line holds now.
    std::size_t storedPoints() const;
    // Counts `count` points as pushed onto each line (all of one length) without keeping them:
    // the oldest stored points go first, then the count stands for points pushed before the
    // next push. Only for points the next drawing would trim anyway; the grid still scrolls
    // as if they had been pushed, so the drawing comes out the same.
    void skipPoints(std::size_t count);

    // Lays out one drawing. `labelTextWidth` is the width of the wider label text. Before the
    // layout every line is brought to one length and trimmed to the point capacity, and an
    // empty range falls back to (0, 5), so this changes the stored lines.
    Frame frame(int width, int height, int labelTextWidth);

private:
    Line* findLine(int id);
    void fitLines();

    int m_minimum = 0;
    int m_maximum = 100;
    int m_offset = 0;
    std::string m_topLabel;
    std::string m_bottomLabel;
    std::uint16_t m_interval = 5;
    std::uint16_t m_gridSize = 5;
    Rgb m_background{255, 255, 255};
    Rgb m_textColour{0, 0, 0};
    Rgb m_gridColour{128, 128, 128};
    bool m_showGrid = true;
    bool m_showLabels = true;
    std::vector<Line> m_lines;
    std::vector<int> m_keys;
    int m_drawnLeft = 0;
    std::size_t m_drawnCount = 0;
    int m_capacity = 1;
    bool m_capacityStale = true;
    int m_gridScroll = 0;
    // Points counted by skipPoints() since the last drawing, on top of the stored ones.
    std::size_t m_skipped = 0;
};
