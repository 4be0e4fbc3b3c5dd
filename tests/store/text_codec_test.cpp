#include "store/text_codec.h"

#include <gtest/gtest.h>

#include <string>

using namespace odrivo;

namespace {

std::string allBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

} // namespace

TEST(TextCodec, EveryCp1252ByteSurvivesTheRoundTrip) {
    const std::string bytes = allBytes();
    const std::string utf8 = cp1252ToUtf8(bytes);
    EXPECT_TRUE(fitsCp1252(utf8));
    bool lossless = false;
    EXPECT_EQ(utf8ToCp1252(utf8, &lossless), bytes);
    EXPECT_TRUE(lossless);
}

TEST(TextCodec, MapsTheWindowsRangeAndLatin1) {
    struct Case {
        unsigned char byte;
        const char* utf8;
    };
    const Case cases[] = {
        {0x41, "A"},        {0x80, "\u20AC"}, // euro sign
        {0x82, "\u201A"},                     // single low-9 quotation mark
        {0x8A, "\u0160"},                     // S with caron
        {0x99, "\u2122"},                     // trade mark sign
        {0x9F, "\u0178"},                     // Y with diaeresis
        {0x81, "\xC2\x81"},                   // undefined in the code page: the C1 control
        {0x9D, "\xC2\x9D"},                   // undefined as well
        {0xA0, "\u00A0"},                     // no-break space
        {0xE9, "\u00E9"},                     // e acute
        {0xFF, "\u00FF"},                     // y with diaeresis
    };
    for (const Case& c : cases) {
        const std::string byte(1, static_cast<char>(c.byte));
        EXPECT_EQ(cp1252ToUtf8(byte), c.utf8) << "byte " << int(c.byte);
        EXPECT_EQ(utf8ToCp1252(c.utf8), byte) << "byte " << int(c.byte);
    }
}

TEST(TextCodec, UnmappableCharactersBecomeQuestionMarks) {
    struct Case {
        const char* utf8;
        const char* cp1252;
        bool lossless;
    };
    const Case cases[] = {
        {"plain", "plain", true},
        {"caf\u00E9 \u20AC5",
         "caf\xE9 \x80"
         "5",
         true},
        {"\u0100bc", "?bc", false},   // A with macron: Latin Extended-A, not in the code page
        {"x\u4E2Dy", "x?y", false},   // CJK
        {"\U0001F600!", "?!", false}, // outside the BMP: one '?' for the whole character
        {"\xC2\x80", "?", false},     // U+0080: its byte is taken by the euro sign
    };
    for (const Case& c : cases) {
        bool lossless = !c.lossless;
        EXPECT_EQ(utf8ToCp1252(c.utf8, &lossless), c.cp1252) << c.utf8;
        EXPECT_EQ(lossless, c.lossless) << c.utf8;
        EXPECT_EQ(fitsCp1252(c.utf8), c.lossless) << c.utf8;
    }
}

TEST(TextCodec, MalformedUtf8IsReplacedNotPassedThrough) {
    struct Case {
        std::string utf8;
        std::u16string utf16;
    };
    const Case cases[] = {
        {"a\x80z", u"a\uFFFDz"},         // stray continuation byte
        {"a\xC3", u"a\uFFFD"},           // sequence cut by the end of the text
        {"a\xC3z", u"a\uFFFDz"},         // lead byte followed by a non-continuation
        {"\xC0\xAF", u"\uFFFD"},         // overlong encoding of '/'
        {"\xED\xA0\x80", u"\uFFFD"},     // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD"}, // beyond U+10FFFF
        {"\xFF", u"\uFFFD"},             // never valid in UTF-8
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8ToUtf16(c.utf8), c.utf16);
        // The code page holds no U+FFFD, so malformed input is never copied into a file as it is.
        bool lossless = true;
        const std::string bytes = utf8ToCp1252(c.utf8, &lossless);
        EXPECT_FALSE(lossless);
        EXPECT_NE(bytes.find('?'), std::string::npos);
        EXPECT_FALSE(fitsCp1252(c.utf8));
    }
}

TEST(TextCodec, ShortestFormsAtEachLengthAndTheEdgesOfTheSurrogatesDecode) {
    const std::pair<std::string, std::u16string> cases[] = {{"\xC2\x80", u"\u0080"},
                                                            {"\xDF\xBF", u"\u07FF"},
                                                            {"\xE0\xA0\x80", u"\u0800"},
                                                            {"\xED\x9F\xBF", u"\uD7FF"},
                                                            {"\xEE\x80\x80", u"\uE000"},
                                                            {"\xF0\x90\x80\x80", u"\xD800\xDC00"},
                                                            {"\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
                                                            {"\xDB\xBF", u"\u06FF"}};
    for (const auto& [utf8, utf16] : cases) {
        EXPECT_EQ(utf8ToUtf16(utf8), utf16) << utf8;
        EXPECT_EQ(utf16ToUtf8(utf16), utf8) << utf8;
    }
}

TEST(TextCodec, LoneOrReversedSurrogateHalvesBecomeReplacementCharacters) {
    const std::pair<std::u16string, std::string> cases[] = {{u"x\xD83D", "x\uFFFD"},
                                                            {u"\xDE00y", "\uFFFDy"},
                                                            {u"\xDE00\xD83D", "\uFFFD\uFFFD"},
                                                            {u"\xD83Dz\xDE00", "\uFFFDz\uFFFD"}};
    for (const auto& [utf16, utf8] : cases)
        EXPECT_EQ(utf16ToUtf8(utf16), utf8) << utf8;
}

TEST(TextCodec, LengthAndPrefixCountCharactersNotBytes) {
    const struct {
        std::string text;
        std::size_t length;
        std::size_t count;
        std::string prefix;
    } cases[] = {
        {"", 0, 3, ""},
        {"abc", 3, 2, "ab"},
        {"caf\u00e9s", 5, 4, "caf\u00e9"},               // a two-byte letter kept whole
        {"\u20ac\U0001F600x", 3, 2, "\u20ac\U0001F600"}, // three and four bytes
        {"\u00e9\u00e9", 2, 5, "\u00e9\u00e9"},          // shorter than the cut: whole
        {"abc", 3, 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8Length(c.text), c.length) << c.text;
        EXPECT_EQ(utf8Prefix(c.text, c.count), c.prefix) << c.text;
    }
    EXPECT_EQ(asciiLower('Q'), 'q');
    EXPECT_EQ(asciiLower('\xC9'), '\xC9') << "only ASCII letters change";
}
