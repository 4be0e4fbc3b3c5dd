#include "calc/number_text.h"

#include <gtest/gtest.h>

TEST(EditNumberText, ShowsWhatWasMeantWithoutBinaryNoise) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {{44250 - 43895.2, "354.8"}, {300, "300"},       {41250.5, "41250.5"},
                          {0, "0"},                   {-12.25, "-12.25"}, {1234567.8, "1234567.8"}};
    for (const Case& c : cases)
        EXPECT_EQ(odrivo::editNumberText(c.value), c.text) << c.text;
}
