#include "store/window_placement.h"

#include <cstdio>

std::string WindowPlacement::toText() const {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", flags, showCmd, minX, minY, maxX, maxY, left,
                  top, right, bottom);
    return buffer;
}

std::optional<WindowPlacement> WindowPlacement::parse(std::string_view text) {
    const std::string copy(text); // sscanf needs a terminated string
    WindowPlacement p;
    const int read = std::sscanf(copy.c_str(), "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", &p.flags, &p.showCmd, &p.minX, &p.minY,
                                 &p.maxX, &p.maxY, &p.left, &p.top, &p.right, &p.bottom);
    if (read != 10)
        return std::nullopt;
    return p;
}
