#pragma once
// The main window's placement as the profile keeps it: ten numbers written with
// "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d" — flags, show command, minimised x/y, maximised x/y,
// and the normal rectangle's left, top, right and bottom. Text that does not hold all
// ten numbers is not a placement, and the window then opens in its default place.

#include <optional>
#include <string>
#include <string_view>

struct WindowPlacement {
    static constexpr unsigned kRestoreToMaximized = 2; // flag bit
    static constexpr unsigned kShowNormal = 1;
    static constexpr unsigned kShowMinimized = 2;
    static constexpr unsigned kShowMaximized = 3;

    unsigned flags = 0;
    unsigned showCmd = kShowNormal;
    int minX = -1, minY = -1;
    int maxX = -1, maxY = -1;
    int left = 0, top = 0, right = 0, bottom = 0;

    std::string toText() const;
    static std::optional<WindowPlacement> parse(std::string_view text);

    bool operator==(const WindowPlacement&) const = default;
};
