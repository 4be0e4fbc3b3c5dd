#include "store/column_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

namespace {

constexpr int kCount = 4;

ColumnState sampleState() {
    return ColumnState{{2, 0, 3, 1}, {24, 300, 0, -1}, {1, 1, 0, 1}};
}

TEST(ColumnState, EncodesLittleEndianInt32AndRestoresWhatItWrote) {
    const ColumnState state = sampleState();
    const ColumnBytes widths = state.encodedWidths();
    ASSERT_EQ(widths.size(), 16u);
    EXPECT_EQ(ColumnBytes(widths.begin() + 4, widths.begin() + 8), (ColumnBytes{0x2c, 0x01, 0x00, 0x00}));
    EXPECT_EQ(ColumnBytes(widths.begin() + 12, widths.end()), (ColumnBytes{0xff, 0xff, 0xff, 0xff}));

    const ColumnStateRestore restored =
        ColumnState::restore(kCount, kCount, state.encodedOrder(), widths, state.encodedVisible());
    ASSERT_TRUE(restored.complete());
    EXPECT_EQ(*restored.order, state.order);
    EXPECT_EQ(*restored.widths, state.widths);
    EXPECT_EQ(*restored.visible, state.visible);
    // No columns stored is an empty list, not a damaged one.
    EXPECT_EQ(ColumnState::decode({}, 0), std::optional<std::vector<int>>(std::vector<int>{}));
}

struct RejectCase {
    const char* name;
    std::optional<int> storedCount;
    std::function<void(ColumnBytes& order, ColumnBytes& widths, ColumnBytes& visible)> spoil;
    int partsKept; // 0 nothing, 1 order, 2 order and widths, 3 all
};

TEST(ColumnState, RestoreStopsAtTheFirstValueThatDoesNotFit) {
    using Bytes = ColumnBytes;
    const auto order = [](std::vector<int> values) {
        return [values](Bytes& o, Bytes&, Bytes&) { o = ColumnState::encode(values); };
    };
    const RejectCase cases[] = {
        {"valid", kCount, [](Bytes&, Bytes&, Bytes&) {}, 3},
        {"no count", std::nullopt, [](Bytes&, Bytes&, Bytes&) {}, 0},
        {"other count", kCount + 1, [](Bytes&, Bytes&, Bytes&) {}, 0},
        {"order short", kCount, [](Bytes& o, Bytes&, Bytes&) { o.pop_back(); }, 0},
        {"order long", kCount, [](Bytes& o, Bytes&, Bytes&) { o.insert(o.end(), 4, 0); }, 0},
        {"order absent", kCount, [](Bytes& o, Bytes&, Bytes&) { o.clear(); }, 0},
        {"order negative", kCount, order({2, -1, 3, 1}), 0},
        {"order past end", kCount, order({2, 0, 4, 1}), 0},
        {"order repeats", kCount, order({2, 0, 2, 1}), 0},
        {"widths short", kCount, [](Bytes&, Bytes& w, Bytes&) { w.resize(12); }, 1},
        {"widths absent", kCount, [](Bytes&, Bytes& w, Bytes&) { w.clear(); }, 1},
        {"visible long", kCount, [](Bytes&, Bytes&, Bytes& v) { v.push_back(1); }, 2},
        {"visible absent", kCount, [](Bytes&, Bytes&, Bytes& v) { v.clear(); }, 2},
    };
    const ColumnState state = sampleState();
    for (const RejectCase& c : cases) {
        Bytes order = state.encodedOrder();
        Bytes widths = state.encodedWidths();
        Bytes visible = state.encodedVisible();
        c.spoil(order, widths, visible);
        const ColumnStateRestore restored = ColumnState::restore(kCount, c.storedCount, order, widths, visible);
        EXPECT_EQ(restored.order.has_value(), c.partsKept >= 1) << c.name;
        EXPECT_EQ(restored.widths.has_value(), c.partsKept >= 2) << c.name;
        EXPECT_EQ(restored.visible.has_value(), c.partsKept >= 3) << c.name;
        if (restored.order) {
            EXPECT_EQ(*restored.order, state.order) << c.name;
        }
    }
}

TEST(ColumnState, AnyNonZeroVisibilityMeansShown) {
    std::vector<int> order(kCount);
    std::iota(order.begin(), order.end(), 0);
    const ColumnStateRestore restored =
        ColumnState::restore(kCount, kCount, ColumnState::encode(order), ColumnState::encode({1, 2, 3, 4}),
                             ColumnState::encode({0, 5, -1, 1}));
    ASSERT_TRUE(restored.complete());
    EXPECT_EQ(*restored.visible, (std::vector<int>{0, 1, 1, 1}));
}

} // namespace
