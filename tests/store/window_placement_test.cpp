#include "store/window_placement.h"

#include <gtest/gtest.h>

TEST(WindowPlacement, TextRoundTripsAllTenNumbers) {
    const WindowPlacement p{
        WindowPlacement::kRestoreToMaximized, WindowPlacement::kShowMaximized, -32000, -1, -1, -8, 10, 20, 1010, 720};
    EXPECT_EQ(p.toText(), "2,3,-32000,-1,-1,-8,10,20,1010,720");
    EXPECT_EQ(WindowPlacement::parse(p.toText()), p);
    // Fewer than ten numbers is no placement; text after the ten is ignored, as the C scan does.
    for (const char* text : {"", "1,1,0,0,0,0,0,0,0", "1,1,0,0,x,0,0,0,0,0"})
        EXPECT_FALSE(WindowPlacement::parse(text).has_value()) << text;
    EXPECT_TRUE(WindowPlacement::parse("0,1,-1,-1,-1,-1,1,2,3,4,5").has_value());
}
