#include "store/dv_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// The text must read back as `expected` through every accessor, NUL-terminated.
void expectText(const CDVText& text, const std::string& expected) {
    EXPECT_EQ(text.view(), expected);
    EXPECT_EQ(text.size(), expected.size());
    EXPECT_EQ(text.empty(), expected.empty());
    EXPECT_EQ(text.c_str()[expected.size()], '\0');
    EXPECT_EQ(std::string(text), expected);
}

} // namespace

// Assignments walk across the in-place limit both ways and back, from plain texts, from copies
// and moves, and from the text's own bytes; each result reads as the same std::string would.
TEST(DVText, ReadsAsTheStdStringItWasAssigned) {
    const std::vector<std::string> texts = {
        "",
        "a",
        std::string(15, 'f'),
        std::string(16, 's'),
        "abc",
        std::string(300, 'l'),
        std::string(15, 'g'),
        "",
        std::string("nul\0inside", 10),
        std::string(40, 'm'),
        "x",
    };
    CDVText text;
    expectText(text, "");
    for (const std::string& next : texts) {
        SCOPED_TRACE(next.size());
        text = next;
        expectText(text, next);
        CDVText copy = text;
        expectText(copy, next);
        CDVText moved = std::move(copy);
        expectText(moved, next);
        expectText(copy, "");
        CDVText target("old text longer than fifteen");
        target = moved;
        expectText(target, next);
        target = std::move(moved);
        expectText(target, next);
        const CDVText& self = target;
        target = self;
        expectText(target, next);
        target.assign(target.data() + next.size() / 2, next.size() - next.size() / 2);
        expectText(target, next.substr(next.size() / 2));
        target.clear();
        expectText(target, "");
    }
    text.assign(20, 'r');
    expectText(text, std::string(20, 'r'));
}

TEST(DVText, ComparesJoinsAndPrintsAsItsText) {
    const CDVText shortText("Shell"), longText("Autoservis Novak a.s.");
    EXPECT_TRUE(shortText == "Shell" && shortText == std::string("Shell") && shortText == std::string_view("Shell"));
    EXPECT_FALSE(shortText == "Shel" || shortText == longText);
    EXPECT_TRUE(longText < shortText && !(shortText < longText));
    EXPECT_TRUE(longText.starts_with("Auto"));
    EXPECT_EQ(shortText + longText, "ShellAutoservis Novak a.s.");
    EXPECT_EQ("at " + shortText + ", " + std::string("by ") + longText, "at Shell, by Autoservis Novak a.s.");
    std::ostringstream out;
    out << shortText << '|' << longText;
    EXPECT_EQ(out.str(), "Shell|Autoservis Novak a.s.");
}
