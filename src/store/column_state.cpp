#include "store/column_state.h"

#include <utility>

ColumnBytes ColumnState::encode(const std::vector<int>& values) {
    ColumnBytes bytes;
    bytes.reserve(values.size() * 4);
    for (const int value : values) {
        const auto bits = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
    }
    return bytes;
}

std::optional<std::vector<int>> ColumnState::decode(const ColumnBytes& bytes, int count) {
    if (count < 0 || bytes.size() != static_cast<std::size_t>(count) * 4)
        return std::nullopt;
    std::vector<int> values;
    values.reserve(static_cast<std::size_t>(count));
    for (std::size_t at = 0; at < bytes.size(); at += 4) {
        std::uint32_t bits = 0;
        for (std::size_t i = 0; i < 4; ++i)
            bits |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
        values.push_back(static_cast<std::int32_t>(bits));
    }
    return values;
}

ColumnStateRestore ColumnState::restore(int columnCount, std::optional<int> storedCount, const ColumnBytes& order,
                                        const ColumnBytes& widths, const ColumnBytes& visible) {
    ColumnStateRestore result;
    if (!storedCount || *storedCount != columnCount)
        return result;

    std::optional<std::vector<int>> headerOrder = decode(order, columnCount);
    if (!headerOrder)
        return result;
    std::vector<bool> seen(static_cast<std::size_t>(columnCount), false);
    for (const int column : *headerOrder) {
        if (column < 0 || column >= columnCount || seen[static_cast<std::size_t>(column)])
            return result;
        seen[static_cast<std::size_t>(column)] = true;
    }
    result.order = std::move(headerOrder);

    result.widths = decode(widths, columnCount);
    if (!result.widths)
        return result;

    result.visible = decode(visible, columnCount);
    if (result.visible)
        for (int& shown : *result.visible)
            shown = shown != 0 ? 1 : 0;
    return result;
}
