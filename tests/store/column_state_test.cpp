#include "store/column_state.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int kCount = 4;
const ColumnState kState{{2, 0, 3, 1}, {24, 300, 0, -1}, {1, 1, 0, 1}};
using Bytes = ColumnBytes;
using Spoil = std::function<void(Bytes& order, Bytes& widths, Bytes& visible)>;

// Restore stops at the first value that does not fit and keeps what came before it.
TEST(ColumnState, EncodesLittleEndianAndRestoresUpToTheFirstValueThatDoesNotFit) {
    EXPECT_EQ(kState.encodedWidths(), (Bytes{24, 0, 0, 0, 0x2c, 1, 0, 0, 0, 0, 0, 0, 0xff, 0xff, 0xff, 0xff}));
    // No columns stored is an empty list, not a damaged one.
    EXPECT_EQ(ColumnState::decode({}, 0), std::optional<std::vector<int>>(std::vector<int>{}));
    const auto order = [](std::vector<int> values) -> Spoil {
        return [values](Bytes& o, Bytes&, Bytes&) { o = ColumnState::encode(values); };
    };
    const Spoil none = [](Bytes&, Bytes&, Bytes&) {};
    const std::tuple<const char*, std::optional<int>, Spoil, int /* parts kept */> cases[] = {
        {"valid", kCount, none, 3},
        {"no count", std::nullopt, none, 0},
        {"other count", kCount + 1, none, 0},
        {"order short", kCount, [](Bytes& o, Bytes&, Bytes&) { o.pop_back(); }, 0},
        {"order negative", kCount, order({2, -1, 3, 1}), 0},
        {"order past end", kCount, order({2, 0, 4, 1}), 0},
        {"order repeats", kCount, order({2, 0, 2, 1}), 0},
        {"widths short", kCount, [](Bytes&, Bytes& w, Bytes&) { w.resize(12); }, 1},
        {"visible long", kCount, [](Bytes&, Bytes&, Bytes& v) { v.push_back(1); }, 2},
        // Any non-zero visibility value means shown.
        {"visible 5 and -1", kCount,
         [](Bytes&, Bytes&, Bytes& v) {
             v = ColumnState::encode({5, -1, 0, 1});
         },
         3},
    };
    for (const auto& [name, storedCount, spoil, partsKept] : cases) {
        SCOPED_TRACE(name);
        Bytes o = kState.encodedOrder(), w = kState.encodedWidths(), v = kState.encodedVisible();
        spoil(o, w, v);
        const ColumnStateRestore r = ColumnState::restore(kCount, storedCount, o, w, v);
        EXPECT_EQ(r.order, partsKept >= 1 ? std::optional(kState.order) : std::nullopt);
        EXPECT_EQ(r.widths, partsKept >= 2 ? std::optional(kState.widths) : std::nullopt);
        EXPECT_EQ(r.visible, partsKept >= 3 ? std::optional(kState.visible) : std::nullopt);
    }
}

} // namespace
