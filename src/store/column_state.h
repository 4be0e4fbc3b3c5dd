#pragma once
// ColumnState is the entry list's column layout as the profile keeps it between runs
// (section ListState): the header order, each column's width and whether it is shown.
// The window gathers it from its header when it closes and writes the three values as
// binary blobs of one signed 32-bit little-endian integer per column; at start-up it reads
// them back and hands them to restore(), which checks them in the order they are applied
// and stops at the first that does not fit, so a layout saved for another set of columns
// is ignored from that point on and the list keeps what was applied so far.

#include <cstdint>
#include <optional>
#include <vector>

using ColumnBytes = std::vector<std::uint8_t>;

// What restore() accepted: each part is present only when it and every part before it
// were valid.
struct ColumnStateRestore {
    std::optional<std::vector<int>> order;   // order[i] = column shown at header position i
    std::optional<std::vector<int>> widths;  // width of column i in pixels, as stored
    std::optional<std::vector<int>> visible; // 1 when column i is shown, 0 when hidden

    bool complete() const { return visible.has_value(); }
};

struct ColumnState {
    std::vector<int> order;   // column index at each header position, left to right
    std::vector<int> widths;  // per column; 0 for a hidden column
    std::vector<int> visible; // per column; 1 shown, 0 hidden

    ColumnBytes encodedOrder() const { return encode(order); }
    ColumnBytes encodedWidths() const { return encode(widths); }
    ColumnBytes encodedVisible() const { return encode(visible); }

    // Values as signed 32-bit little-endian integers, and back (nullopt unless `bytes`
    // holds exactly `count` of them).
    static ColumnBytes encode(const std::vector<int>& values);
    static std::optional<std::vector<int>> decode(const ColumnBytes& bytes, int count);

    // Checks the stored values against a list of `columnCount` columns: the stored count
    // must be present and equal; the order must hold count entries, each in
    // 0..count-1 and none twice; widths and visibility must hold count entries each. Any
    // non-zero visibility value reads as 1.
    static ColumnStateRestore restore(int columnCount, std::optional<int> storedCount, const ColumnBytes& order,
                                      const ColumnBytes& widths, const ColumnBytes& visible);
};
