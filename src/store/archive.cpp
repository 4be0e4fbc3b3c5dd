#include "store/archive.h"

#include "store/text_codec.h"

namespace {

constexpr std::uint16_t kWideStringMark = 0xFFFE;

} // namespace

void CArchive::writeCount(std::uint64_t n) {
    if (n < 0xFFFF) {
        writeU16(static_cast<std::uint16_t>(n));
        return;
    }
    writeU16(0xFFFF);
    if (n < 0xFFFFFFFFu) {
        writeU32(static_cast<std::uint32_t>(n));
        return;
    }
    writeU32(0xFFFFFFFFu);
    writeRaw(n);
}

std::uint64_t CArchive::readCount() {
    const std::uint16_t shortCount = readU16();
    if (shortCount != 0xFFFF)
        return shortCount;
    const auto count = readRaw<std::uint32_t>();
    if (count != 0xFFFFFFFFu)
        return count;
    return readRaw<std::uint64_t>();
}

void CArchive::writeLength(std::uint64_t n) {
    if (n < 0xFF) {
        m_out->push_back(static_cast<char>(n));
        return;
    }
    m_out->push_back(static_cast<char>(0xFF));
    // 0xFFFE is the wide-string mark, so a 16-bit length stops below it.
    if (n < kWideStringMark) {
        writeU16(static_cast<std::uint16_t>(n));
        return;
    }
    writeU16(0xFFFF);
    if (n < 0xFFFFFFFFu) {
        writeU32(static_cast<std::uint32_t>(n));
        return;
    }
    writeU32(0xFFFFFFFFu);
    writeRaw(n);
}

void CArchive::writeString(std::string_view utf8) {
    if (isAscii(utf8.data(), utf8.size())) {
        writeLength(utf8.size());
        m_out->append(utf8);
        return;
    }
    bool lossless = true;
    const std::string single = odrivo::utf8ToCp1252(utf8, &lossless);
    if (lossless) {
        writeLength(single.size());
        m_out->append(single);
        return;
    }
    const std::u16string wide = odrivo::utf8ToUtf16(utf8);
    m_out->push_back(static_cast<char>(0xFF));
    writeU16(kWideStringMark);
    writeLength(wide.size());
    for (const char16_t unit : wide)
        writeU16(static_cast<std::uint16_t>(unit));
}

std::uint64_t CArchive::readLength(bool& wide) {
    wide = false;
    auto next = [this] { return readRaw<std::uint8_t>(); };
    std::uint8_t shortLength = next();
    if (shortLength < 0xFF)
        return shortLength;
    std::uint16_t length = readU16();
    if (length == kWideStringMark) {
        // The wide form repeats the length prefix, now counting 16-bit units.
        wide = true;
        shortLength = next();
        if (shortLength < 0xFF)
            return shortLength;
        length = readU16();
    }
    if (length != 0xFFFF)
        return length;
    const auto longLength = readRaw<std::uint32_t>();
    if (longLength != 0xFFFFFFFFu)
        return longLength;
    return readRaw<std::uint64_t>();
}

void CArchive::readStringSlow(std::string& out) {
    bool wide = false;
    const std::uint64_t length = readLength(wide);
    if (m_failed) {
        out.clear();
        return;
    }
    if (!wide) {
        const std::string_view bytes = readBytes(length);
        if (isAscii(bytes.data(), bytes.size()))
            out.assign(bytes);
        else
            out = odrivo::cp1252ToUtf8(bytes);
        return;
    }
    if (length > remaining() / 2) {
        m_failed = true;
        m_pos = m_in.size();
        out.clear();
        return;
    }
    std::u16string units(static_cast<std::size_t>(length), u'\0');
    for (char16_t& unit : units)
        unit = static_cast<char16_t>(readU16());
    out = odrivo::utf16ToUtf8(units);
}

std::string_view CArchive::readBytes(std::uint64_t n) {
    if (n > remaining()) {
        m_failed = true;
        m_pos = m_in.size();
        return {};
    }
    const std::string_view bytes = m_in.substr(m_pos, static_cast<std::size_t>(n));
    m_pos += static_cast<std::size_t>(n);
    return bytes;
}

void CArchive::writeNewClass(std::uint16_t schema, std::string_view className) {
    writeU16(kNewClassTag);
    writeU16(schema);
    writeU16(static_cast<std::uint16_t>(className.size()));
    m_out->append(className);
}
