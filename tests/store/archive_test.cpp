#include "store/archive.h"

#include "log_file_bytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using logtest::Bytes;

namespace {

std::string storeString(const std::string& utf8) {
    std::string out;
    CArchive ar = CArchive::storing(out);
    ar.writeString(utf8);
    return out;
}

struct LoadedString {
    std::string text;
    bool failed;
    std::size_t remaining;
};

LoadedString loadString(const std::string& bytes) {
    CArchive ar = CArchive::loading(bytes);
    LoadedString result;
    ar.readString(result.text);
    result.failed = ar.failed();
    result.remaining = ar.remaining();
    return result;
}

struct PrefixCase {
    std::size_t length;
    std::string prefix;
};

} // namespace

TEST(ArchiveStrings, SingleByteLengthPrefixes) {
    const std::vector<PrefixCase> cases = {
        {0, Bytes().u8(0)},
        {1, Bytes().u8(1)},
        {254, Bytes().u8(0xFE)},
        {255, Bytes().u8(0xFF).u16(255)},
        {0xFFFD, Bytes().u8(0xFF).u16(0xFFFD)},
        // 0xFFFE as a 16-bit length would read as the wide-string mark.
        {0xFFFE, Bytes().u8(0xFF).u16(0xFFFF).u32(0xFFFE)},
        {0x10001, Bytes().u8(0xFF).u16(0xFFFF).u32(0x10001)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("length " + std::to_string(c.length));
        const std::string text(c.length, 'x');
        EXPECT_EQ(storeString(text), c.prefix + text);
        const LoadedString back = loadString(c.prefix + text + "tail");
        EXPECT_FALSE(back.failed);
        EXPECT_EQ(back.text, text);
        EXPECT_EQ(back.remaining, 4u);
    }
}

TEST(ArchiveStrings, Windows1252TextIsStoredAsSingleBytesOtherTextAsUtf16) {
    std::string zhe300; // 300 x Cyrillic Zhe: the wide length needs the longer prefix
    Bytes zheStored;
    zheStored.u8(0xFF).u16(0xFFFE).u8(0xFF).u16(300);
    for (int i = 0; i < 300; ++i) {
        zhe300 += "\xD0\x96";
        zheStored.u16(u'\u0416');
    }
    struct Case {
        const char* name;
        std::string utf8;
        std::string stored;
    };
    const std::vector<Case> cases = {
        // é, € and Œ have single bytes in Windows-1252.
        {"Caf\u00e9 \u20ac5 \u0152",
         "Caf\xC3\xA9 \xE2\x82\xAC"
         "5 \xC5\x92",
         Bytes().u8(9).raw("Caf\xE9 \x80"
                           "5 \x8C")},
        {"Polish letters", "\xC5\x81\xC3\xB3\x64\xC5\xBA", Bytes().wide(u"\u0141\u00F3d\u017A")},
        {"emoji (a surrogate pair)", "car \xF0\x9F\x9A\x97", Bytes().wide(u"car \xD83D\xDE97")},
        {"300 wide characters", zhe300, zheStored},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(storeString(c.utf8), c.stored);
        EXPECT_EQ(loadString(c.stored).text, c.utf8);
    }

    // The 32-bit form of the wide length is read too.
    const std::string longForm = Bytes().u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFF).u32(2).u16(0x0141).u16(0x0061);
    EXPECT_EQ(loadString(longForm).text, "\xC5\x81"
                                         "a");
}

TEST(ArchiveStrings, ShortInputFailsInsteadOfReadingPastTheEnd) {
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"no prefix", ""},
        {"prefix longer than the text", Bytes().u8(10).raw("abc")},
        {"16-bit length cut off", Bytes().u8(0xFF).u8(0x01)},
        {"32-bit length cut off", Bytes().u8(0xFF).u16(0xFFFF).u16(7)},
        {"wide text cut off", Bytes().u8(0xFF).u16(0xFFFE).u8(3).u16(0x41).u16(0x42)},
        {"wide text with an odd byte", Bytes().u8(0xFF).u16(0xFFFE).u8(1).u8(0x41)},
        {"huge 32-bit length", Bytes().u8(0xFF).u16(0xFFFF).u32(0xFFFFFFF0).raw("abc")},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        const LoadedString back = loadString(bytes);
        EXPECT_TRUE(back.failed);
        EXPECT_EQ(back.text, "");
    }
}

TEST(ArchiveCounts, SixteenBitWithEscapeToThirtyTwo) {
    const std::vector<std::pair<std::uint64_t, std::string>> cases = {
        {0, Bytes().u16(0)},
        {65534, Bytes().u16(0xFFFE)},
        {65535, Bytes().u16(0xFFFF).u32(65535)},
        {70000, Bytes().u16(0xFFFF).u32(70000)},
    };
    for (const auto& [count, bytes] : cases) {
        SCOPED_TRACE(count);
        std::string out;
        CArchive writer = CArchive::storing(out);
        writer.writeCount(count);
        EXPECT_EQ(out, bytes);
        CArchive reader = CArchive::loading(bytes);
        EXPECT_EQ(reader.readCount(), count);
        EXPECT_FALSE(reader.failed());
    }
    const std::string cutBytes = Bytes().u16(0xFFFF).u16(1);
    CArchive cut = CArchive::loading(cutBytes);
    cut.readCount();
    EXPECT_TRUE(cut.failed());
}
