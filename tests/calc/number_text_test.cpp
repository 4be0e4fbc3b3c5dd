#include "calc/number_text.h"

#include <gtest/gtest.h>

TEST(LeadingNumber, ReadsOnlyThePlainDecimalAtTheStart) {
    const std::string huge(400, '9');
    // clang-format off
    const std::tuple<const char*, double, std::size_t> cases[] = {
        {"  12.5 gal", 12.5, 6}, {"-3", -3, 2}, {"+.5", 0.5, 3}, {"7.", 7, 2}, {"", 0, 0}, {".", 0, 0}, {"-", 0, 0},
        {"inf", 0, 0}, {"nan", 0, 0}, {"0x10", 0, 0}, {"1e5", 0, 0}, {"3e", 3, 1}, {"abc 5", 0, 0},
        {huge.c_str(), 0, 0}};
    // clang-format on
    for (const auto& [text, value, used] : cases) {
        std::size_t read = 99;
        EXPECT_EQ(std::pair(odrivo::leadingNumber(text, &read), read), std::pair(value, used)) << text;
    }
}

TEST(ParseEditNumber, TakesAWholeDecimalBetweenBlanks) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {" \t12.5\r\n", 12.5}, {"+3", 3},   {" 3e2", 300}, {"inf", {}}, {"-0.25", -0.25},
        {"1.2.3", {}},         {"- 4", {}}, {"  ", {}},    {"12 a", {}}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(odrivo::parseEditNumber(text), value) << text;
}
