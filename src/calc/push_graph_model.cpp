#include "calc/push_graph_model.h"

#include <algorithm>

void CPushGraphModel::setRange(int minimum, int maximum) {
    setMinimum(minimum);
    m_maximum = maximum;
}

void CPushGraphModel::setMaximum(int maximum) {
    m_maximum = maximum;
}

void CPushGraphModel::setMinimum(int minimum) {
    m_minimum = minimum;
    m_offset = minimum < 0 ? -minimum : 0;
}

void CPushGraphModel::setInterval(int pixels) {
    m_interval = static_cast<std::uint16_t>(std::max(pixels, 1));
    m_capacityStale = true;
}

void CPushGraphModel::setGridSize(int pixels) {
    m_gridSize = static_cast<std::uint16_t>(std::max(pixels, 3));
}

CPushGraphModel::Line* CPushGraphModel::findLine(int id) {
    const auto found = std::find_if(m_lines.begin(), m_lines.end(), [id](const Line& l) { return l.id == id; });
    return found == m_lines.end() ? nullptr : &*found;
}

const CPushGraphModel::Line* CPushGraphModel::line(int id) const {
    return const_cast<CPushGraphModel*>(this)->findLine(id);
}

bool CPushGraphModel::addLine(int id, Rgb colour) {
    if (findLine(id))
        return false;
    m_lines.push_back({id, colour, false, {}});
    return true;
}

bool CPushGraphModel::setLineColour(Rgb colour, int id) {
    Line* l = findLine(id);
    if (l)
        l->colour = colour;
    return l != nullptr;
}

bool CPushGraphModel::setBarMode(int id, bool bar) {
    Line* l = findLine(id);
    if (l)
        l->bar = bar;
    return l != nullptr;
}

bool CPushGraphModel::push(int value, int id) {
    Line* l = findLine(id);
    if (!l)
        return false;
    value = std::min(value, m_maximum);
    value = std::max(value, m_minimum);
    l->magnitudes.push_back(value - m_minimum + m_offset);
    return true;
}

void CPushGraphModel::pushKey(int key) {
    std::size_t longest = 0;
    for (const Line& l : m_lines)
        longest = std::max(longest, l.magnitudes.size());
    // The key belongs to the last point; points pushed without one stay untagged.
    if (longest == 0)
        return;
    m_keys.resize(longest - 1, -1);
    m_keys.push_back(key);
}

int CPushGraphModel::keyAt(int x) const {
    const int from = x - m_drawnLeft - 1;
    if (from < 0)
        return -1;
    const auto index = static_cast<std::size_t>(from / m_interval);
    return index < std::min(m_drawnCount, m_keys.size()) ? m_keys[index] : -1;
}

std::size_t CPushGraphModel::storedPoints() const {
    std::size_t longest = 0;
    for (const Line& l : m_lines)
        longest = std::max(longest, l.magnitudes.size());
    return longest;
}

void CPushGraphModel::skipPoints(std::size_t count) {
    for (Line& l : m_lines)
        l.magnitudes.erase(l.magnitudes.begin(),
                           l.magnitudes.begin() + static_cast<std::ptrdiff_t>(std::min(count, l.magnitudes.size())));
    m_keys.erase(m_keys.begin(), m_keys.begin() + static_cast<std::ptrdiff_t>(std::min(count, m_keys.size())));
    m_skipped += count;
}

void CPushGraphModel::update() {
    const auto m = static_cast<long long>(storedPoints() + m_skipped);
    if (m >= m_capacity)
        m_gridScroll = static_cast<int>((m_gridScroll - (m - m_capacity + 1) * m_interval) % m_gridSize);
}

void CPushGraphModel::fitLines() {
    std::size_t longest = 0;
    for (const Line& l : m_lines)
        longest = std::max(longest, l.magnitudes.size());
    for (Line& l : m_lines) {
        const int fill = l.magnitudes.empty() ? m_offset : l.magnitudes.back();
        l.magnitudes.resize(longest, fill);
        const auto capacity = static_cast<std::size_t>(m_capacity);
        if (l.magnitudes.size() > capacity)
            l.magnitudes.erase(l.magnitudes.begin(),
                               l.magnitudes.begin() + static_cast<std::ptrdiff_t>(l.magnitudes.size() - capacity));
    }
    m_skipped = 0;
    m_keys.resize(longest, -1);
    const std::size_t kept = m_lines.empty() ? 0 : m_lines.front().magnitudes.size();
    m_keys.erase(m_keys.begin(), m_keys.begin() + static_cast<std::ptrdiff_t>(m_keys.size() - kept));
}

CPushGraphModel::Frame CPushGraphModel::frame(int width, int height, int labelTextWidth) {
    Frame f;
    f.labels = m_showLabels;
    int left = 0;
    if (m_showLabels) {
        f.labelColumnWidth = labelTextWidth + 6;
        left = f.labelColumnWidth + 6;
    }
    const int bottom = std::max(height - 1, 0);
    f.plot = {left, 0, std::max(width - left, 0), bottom};

    if (m_capacityStale) {
        const int w = f.plot.width;
        m_capacity = std::max(w / m_interval + 2 + (w % m_interval ? 1 : 0), 1);
        m_capacityStale = false;
    }
    if (m_maximum <= m_minimum)
        setRange(0, 5);

    if (m_showGrid) {
        for (int y = bottom; y >= 0; y -= m_gridSize)
            f.gridRows.push_back(y);
        for (int x = left + m_gridScroll; x < width; x += m_gridSize)
            if (x >= left)
                f.gridColumns.push_back(x);
    }

    fitLines();
    m_drawnLeft = left;
    m_drawnCount = m_keys.size();
    const long long span = static_cast<long long>(m_maximum) - m_minimum;
    for (const Line& l : m_lines) {
        DrawnLine drawn{l.colour, l.bar, {}, {}};
        for (std::size_t i = 0; i < l.magnitudes.size(); ++i) {
            const int x = left + static_cast<int>(i) * m_interval;
            const int y = bottom - static_cast<int>(static_cast<long long>(l.magnitudes[i]) * bottom / span);
            drawn.points.push_back({x, y});
            if (l.bar)
                drawn.bars.push_back({x + 1, y, m_interval, bottom - y});
        }
        f.lines.push_back(std::move(drawn));
    }
    return f;
}
