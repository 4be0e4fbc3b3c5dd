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

// The text read and the count of bytes left behind it, or "failed:" and the text left.
std::string loadString(const std::string& bytes) {
    CArchive ar = CArchive::loading(bytes);
    std::string text = "not read";
    ar.readString(text);
    return ar.failed() ? "failed:" + text : text + "|" + std::to_string(ar.remaining());
}

} // namespace

TEST(ArchiveStrings, LengthPrefixesAndTextForms) {
    const auto xs = [](std::size_t n) { return std::string(n, 'x'); };
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"254", xs(254), Bytes().u8(0xFE).raw(xs(254))},
        {"255", xs(255), Bytes().u8(0xFF).u16(255).raw(xs(255))},
        {"0xFFFD", xs(0xFFFD), Bytes().u8(0xFF).u16(0xFFFD).raw(xs(0xFFFD))},
        // 0xFFFE as a 16-bit length would read as the wide-string mark.
        {"0xFFFE", xs(0xFFFE), Bytes().u8(0xFF).u16(0xFFFF).u32(0xFFFE).raw(xs(0xFFFE))},
        // é, € and Œ have single bytes in Windows-1252; the rest goes as UTF-16.
        {"Windows-1252", "Caf\xC3\xA9 \xE2\x82\xAC\x35 \xC5\x92", Bytes().u8(9).raw("Caf\xE9 \x80\x35 \x8C")},
        {"Polish", "\xC5\x81\xC3\xB3\x64\xC5\xBA", Bytes().wide(u"\u0141\u00F3d\u017A")},
        {"surrogate pair", "car \xF0\x9F\x9A\x97", Bytes().wide(u"car \xD83D\xDE97")},
    };
    for (const auto& [name, utf8, stored] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(storeString(utf8), stored);
        EXPECT_EQ(loadString(stored + "tail"), utf8 + "|4");
    }
    // The 32-bit form of the wide length is read too.
    EXPECT_EQ(loadString(Bytes().u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFF).u32(2).u16(0x0141).u16(0x61)),
              "\xC5\x81\x61|0");
}

TEST(ArchiveCounts, SixteenBitWithEscapeToThirtyTwoAndShortInputFails) {
    const std::pair<std::uint64_t, std::string> cases[] = {
        {65534, Bytes().u16(0xFFFE)}, {65535, Bytes().u16(0xFFFF).u32(65535)}, {70000, Bytes().u16(0xFFFF).u32(70000)}};
    for (const auto& [count, bytes] : cases) {
        std::string out;
        CArchive::storing(out).writeCount(count);
        EXPECT_EQ(out, bytes) << count;
        EXPECT_EQ(CArchive::loading(bytes).readCount(), count);
    }
    // Strings cut short fail instead of reading past the end.
    for (const std::string& bytes : std::vector<std::string>{
             "", Bytes().u8(10).raw("abc"), Bytes().u8(0xFF).u8(0x01), Bytes().u8(0xFF).u16(0xFFFF).u16(7),
             Bytes().u8(0xFF).u16(0xFFFE).u8(3).u16(0x41).u16(0x42), Bytes().u8(0xFF).u16(0xFFFE).u8(1).u8(0x41),
             Bytes().u8(0xFF).u16(0xFFFF).u32(0xFFFFFFF0).raw("abc")})
        EXPECT_EQ(loadString(bytes), "failed:") << bytes.size() << " bytes";
}
