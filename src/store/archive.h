#pragma once
// CArchive moves values to and from the byte form of an object archive, the format of
// the vehicle data file. A storing archive appends to a caller's std::string; a loading
// archive walks a cursor over bytes that were read whole. Records serialise themselves
// through io(), which writes or reads depending on the direction, so one function lists
// a record's fields for both. All integers are little-endian.
//
// Loading never throws: reading past the end sets a sticky failure flag and yields
// zeros and empty strings, so callers check failed() once per object.
//
// Strings are UTF-8 in memory. Text that Windows-1252 can hold is stored as single bytes;
// other text in the archive's UTF-16 form (FF, FFFE, then a length in 16-bit units).
// Loading converts both forms to UTF-8.

#include "store/dv_text.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

class CArchive {
public:
    // Object reference tags.
    static constexpr std::uint16_t kNewClassTag = 0xFFFF;
    static constexpr std::uint16_t kClassTagBit = 0x8000;

    static CArchive storing(std::string& out) { return CArchive(&out, {}); }
    static CArchive loading(std::string_view in) { return CArchive(nullptr, in); }

    bool isStoring() const { return m_out != nullptr; }

    // One value in the archive's direction.
    void io(std::int32_t& v) {
        if (isStoring())
            writeRaw(v);
        else
            v = readRaw<std::int32_t>();
    }
    void io(std::int64_t& v) {
        if (isStoring())
            writeRaw(v);
        else
            v = readRaw<std::int64_t>();
    }
    void io(double& v) {
        if (isStoring())
            writeRaw(v);
        else
            v = readRaw<double>();
    }
    void io(std::string& v) {
        if (isStoring())
            writeString(v);
        else
            readString(v);
    }
    void io(CDVText& v) {
        if (isStoring()) {
            writeString(v.view());
        } else {
            std::string text;
            readString(text);
            v = text;
        }
    }

    // Storing.
    void writeU16(std::uint16_t v) { writeRaw(v); }
    void writeU32(std::uint32_t v) { writeRaw(v); }
    // A 16-bit count, or FFFF and a 32-bit count (FFFFFFFF and a 64-bit count beyond that).
    void writeCount(std::uint64_t n);
    void writeString(std::string_view utf8);
    // The header of the first object of a class: new-class tag, schema, name length, name.
    void writeNewClass(std::uint16_t schema, std::string_view className);
    // A reference to an already written class by its archive index (the first class is 1).
    void writeClassRef(std::uint16_t classIndex) { writeU16(static_cast<std::uint16_t>(kClassTagBit | classIndex)); }

    // Loading.
    std::uint16_t readU16() { return readRaw<std::uint16_t>(); }
    std::uint64_t readCount();
    void readString(std::string& out) {
        // Most texts in a log are short and plain ASCII: read those without leaving the header.
        if (m_pos < m_in.size()) {
            const auto length = static_cast<unsigned char>(m_in[m_pos]);
            if (length < 0xFF && m_in.size() - m_pos - 1 >= length) {
                const char* text = m_in.data() + m_pos + 1;
                if (isAscii(text, length)) {
                    out.assign(text, length);
                    m_pos += 1 + std::size_t{length};
                    return;
                }
            }
        }
        readStringSlow(out);
    }
    // The next `n` bytes; empty (and failed) when fewer are left.
    std::string_view readBytes(std::uint64_t n);

    bool failed() const { return m_failed; }
    std::size_t remaining() const { return m_in.size() - m_pos; }

private:
    CArchive(std::string* out, std::string_view in) : m_out(out), m_in(in) {}

    template <class T> void writeRaw(T v) {
        char bytes[sizeof(T)];
        std::memcpy(bytes, &v, sizeof(T));
        if constexpr (std::endian::native == std::endian::big)
            reverse(bytes, sizeof(T));
        m_out->append(bytes, sizeof(T));
    }

    template <class T> T readRaw() {
        T v{};
        if (m_in.size() - m_pos < sizeof(T)) [[unlikely]] {
            m_failed = true;
            m_pos = m_in.size();
            return v;
        }
        char bytes[sizeof(T)];
        std::memcpy(bytes, m_in.data() + m_pos, sizeof(T));
        if constexpr (std::endian::native == std::endian::big)
            reverse(bytes, sizeof(T));
        std::memcpy(&v, bytes, sizeof(T));
        m_pos += sizeof(T);
        return v;
    }

    static void reverse(char* bytes, std::size_t n) {
        for (std::size_t i = 0; i < n / 2; ++i) {
            const char c = bytes[i];
            bytes[i] = bytes[n - 1 - i];
            bytes[n - 1 - i] = c;
        }
    }

    static bool isAscii(const char* text, std::size_t n) {
        unsigned char any = 0;
        for (std::size_t i = 0; i < n; ++i)
            any |= static_cast<unsigned char>(text[i]);
        return any < 0x80;
    }

    void readStringSlow(std::string& out);
    void writeLength(std::uint64_t n);
    std::uint64_t readLength(bool& wide);

    std::string* m_out;
    std::string_view m_in;
    std::size_t m_pos = 0;
    bool m_failed = false;
};
