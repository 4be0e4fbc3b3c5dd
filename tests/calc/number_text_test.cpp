#include "calc/number_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

TEST(EditNumberText, ShowsWhatWasMeantWithoutBinaryNoise) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {{44250 - 43895.2, "354.8"}, {300, "300"},
                          {41250.5, "41250.5"},       {0, "0"},
                          {-12.25, "-12.25"},         {1234567.8, "1234567.8"},
                          {0.1 + 0.2, "0.3"},         {29.98, "29.98"},
                          {123456.789, "123456.789"}};
    for (const Case& c : cases)
        EXPECT_EQ(odrivo::editNumberText(c.value), c.text) << c.text;
}

TEST(LeadingNumber, ReadsOnlyThePlainDecimalAtTheStart) {
    struct Case {
        const char* text;
        double value;
        std::size_t used;
    };
    const std::string huge(400, '9');
    const Case cases[] = {{"  12.5 gal", 12.5, 6}, {"-3", -3, 2},    {"+.5", 0.5, 3},     {"7.", 7, 2},
                          {"12abc", 12, 2},        {"", 0, 0},       {".", 0, 0},         {"-", 0, 0},
                          {"inf", 0, 0},           {"-INF", 0, 0},   {"nan", 0, 0},       {"0x10", 0, 0},
                          {"1e5", 0, 0},           {"2.5E-3", 0, 0}, {"3e", 3, 1},        {"1ex", 1, 1},
                          {"abc 5", 0, 0},         {"4x", 4, 1},     {huge.c_str(), 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::size_t used = 99;
        EXPECT_EQ(odrivo::leadingNumber(c.text, &used), c.value);
        EXPECT_EQ(used, c.used);
    }
}

TEST(ParseEditNumber, TakesAWholeDecimalBetweenBlanks) {
    const std::pair<const char*, std::optional<double>> cases[] = {{" \t12.5\r\n", 12.5}, {"+3", 3},
                                                                   {"-0.25", -0.25},      {"1.2.3", std::nullopt},
                                                                   {"- 4", std::nullopt}, {"  ", std::nullopt},
                                                                   {"inf", std::nullopt}, {"12 a", std::nullopt}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(odrivo::parseEditNumber(text), value) << text;
}
