#include "store/text_codec.h"

#include <gtest/gtest.h>

#include <string>

using namespace odrivo;

TEST(TextCodec, EveryCp1252ByteSurvivesTheRoundTripAndMapsAsWindowsDoes) {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    const std::string utf8 = cp1252ToUtf8(bytes);
    EXPECT_TRUE(fitsCp1252(utf8));
    bool lossless = false;
    EXPECT_EQ(utf8ToCp1252(utf8, &lossless), bytes);
    EXPECT_TRUE(lossless);
    // The euro sign, S and Y with their marks, a byte the code page leaves undefined (kept
    // as its C1 control), the no-break space and the last Latin-1 letter.
    EXPECT_EQ(cp1252ToUtf8("A\x80\x8A\x9F\x81\xA0\xFF"), "A\u20AC\u0160\u0178\xC2\x81\u00A0\u00FF");
}

TEST(TextCodec, UnmappableOrMalformedTextBecomesQuestionMarks) {
    // clang-format off
    const struct {
        const char *utf8, *cp1252;
        bool lossless;
    } cases[] = {
        {"caf\u00E9 \u20AC5", "caf\xE9 \x80" "5", true}, {"\u0100bc", "?bc", false}, {"x\u4E2Dy", "x?y", false},
        {"\U0001F600!", "?!", false}, // one '?' for a whole character outside the BMP
        {"\xC2\x80", "?", false},     // U+0080: its byte is taken by the euro sign
        // Malformed: a stray continuation, a cut sequence, an overlong '/', a surrogate, past U+10FFFF.
        {"a\x80z", "a?z", false}, {"a\xC3", "a?", false}, {"a\xC3z", "a?z", false}, {"\xC0\xAF", "?", false},
        {"\xED\xA0\x80", "?", false}, {"\xF4\x90\x80\x80", "?", false}, {"\xFF", "?", false},
    };
    // clang-format on
    for (const auto& c : cases) {
        bool lossless = !c.lossless;
        EXPECT_EQ(utf8ToCp1252(c.utf8, &lossless), c.cp1252) << c.utf8;
        EXPECT_EQ(lossless, c.lossless) << c.utf8;
        EXPECT_EQ(fitsCp1252(c.utf8), c.lossless) << c.utf8;
    }
}

TEST(TextCodec, Utf16ConversionDecodesTheEdgesAndReplacesWhatIsMalformed) {
    // clang-format off
    const std::pair<std::string, std::u16string> valid[] = {
        {"\xC2\x80", u"\u0080"}, {"\xDF\xBF", u"\u07FF"}, {"\xE0\xA0\x80", u"\u0800"}, {"\xED\x9F\xBF", u"\uD7FF"},
        {"\xEE\x80\x80", u"\uE000"}, {"\xF0\x90\x80\x80", u"\xD800\xDC00"}, {"\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
        {"\xDB\xBF", u"\u06FF"}};
    // Lone or reversed surrogate halves.
    const std::pair<std::u16string, std::string> halves[] = {
        {u"x\xD83D", "x\uFFFD"}, {u"\xDE00y", "\uFFFDy"}, {u"\xDE00\xD83D", "\uFFFD\uFFFD"},
        {u"\xD83Dz\xDE00", "\uFFFDz\uFFFD"}};
    // clang-format on
    for (const auto& [utf8, utf16] : valid) {
        EXPECT_EQ(utf8ToUtf16(utf8), utf16) << utf8;
        EXPECT_EQ(utf16ToUtf8(utf16), utf8) << utf8;
    }
    EXPECT_EQ(utf8ToUtf16("a\xC3z\xC0\xAF"), u"a\uFFFDz\uFFFD") << "malformed input is replaced";
    for (const auto& [utf16, utf8] : halves)
        EXPECT_EQ(utf16ToUtf8(utf16), utf8) << utf8;
}

TEST(TextCodec, LengthAndPrefixCountCharactersNotBytes) {
    // clang-format off
    const struct {
        std::string text;
        std::size_t length, count;
        std::string prefix;
    } cases[] = {
        {"", 0, 3, ""}, {"abc", 3, 2, "ab"}, {"abc", 3, 0, ""}, {"caf\u00e9s", 5, 4, "caf\u00e9"},
        {"\u20ac\U0001F600x", 3, 2, "\u20ac\U0001F600"}, {"\u00e9\u00e9", 2, 5, "\u00e9\u00e9"}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(utf8Length(c.text), c.length) << c.text;
        EXPECT_EQ(utf8Prefix(c.text, c.count), c.prefix) << c.text;
    }
    EXPECT_EQ(asciiLower('Q'), 'q');
    EXPECT_EQ(asciiLower('\xC9'), '\xC9') << "only ASCII letters change";
}

// A file's text is taken as UTF-8 only when every byte of it is well-formed UTF-8, the first one
// included; otherwise each byte is read as Windows-1252, so nothing typed is lost.
TEST(TextCodec, GuessedTextIsUtf8OnlyWhenAllOfItIsWellFormed) {
    const std::pair<const char*, const char*> cases[] = {
        {"caf\xC3\xA9", "caf\u00E9"},
        {"\xC9lan", "\u00C9lan"},
        {"\xE0\x80\x80", "\u00E0\u20AC\u20AC"},            // overlong three-byte form
        {"\xED\xA0\x80", "\u00ED\u00A0\u20AC"},            // a surrogate
        {"\xF0\x80\x80\x80", "\u00F0\u20AC\u20AC\u20AC"},  // overlong four-byte form
        {"\xF4\x90\x80\x80", "\u00F4\u0090\u20AC\u20AC"}}; // past U+10FFFF
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(guessedTextToUtf8(bytes), text) << bytes;
        EXPECT_EQ(isValidUtf8(bytes), std::string(bytes) == text) << bytes;
    }
}
