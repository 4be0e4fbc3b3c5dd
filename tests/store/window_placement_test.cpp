#include "store/window_placement.h"

#include <gtest/gtest.h>

TEST(WindowPlacement, TextRoundTripsAllTenNumbers) {
    WindowPlacement p;
    p.flags = WindowPlacement::kRestoreToMaximized;
    p.showCmd = WindowPlacement::kShowMaximized;
    p.minX = -32000;
    p.maxY = -8;
    p.left = 10;
    p.top = 20;
    p.right = 1010;
    p.bottom = 720;
    EXPECT_EQ(p.toText(), "2,3,-32000,-1,-1,-8,10,20,1010,720");
    const auto back = WindowPlacement::parse(p.toText());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, p);
}

TEST(WindowPlacement, TextWithoutTenNumbersIsNoPlacement) {
    for (const char* text : {"", "1,1,0,0,0,0,0,0,0", "1,1,0,0,x,0,0,0,0,0", "garbage"})
        EXPECT_FALSE(WindowPlacement::parse(text).has_value()) << text;
    // Trailing text after the ten numbers is ignored, as the C scan does.
    EXPECT_TRUE(WindowPlacement::parse("0,1,-1,-1,-1,-1,1,2,3,4,5").has_value());
}
