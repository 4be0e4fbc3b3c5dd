#pragma once
// Helpers for the data file tests: a builder that assembles archive bytes by hand
// (little-endian, independent of the code under test), a record with every field set,
// and a temporary folder that is removed after each test.

#include "store/vehicle_log_doc.h"

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace logtest {

class Bytes {
public:
    Bytes& u8(unsigned v) { return raw(std::string(1, static_cast<char>(v & 0xFF))); }
    Bytes& u16(std::uint16_t v) { return u8(v).u8(v >> 8); }
    Bytes& u32(std::uint32_t v) { return u16(static_cast<std::uint16_t>(v)).u16(static_cast<std::uint16_t>(v >> 16)); }
    Bytes& u64(std::uint64_t v) { return u32(static_cast<std::uint32_t>(v)).u32(static_cast<std::uint32_t>(v >> 32)); }
    Bytes& i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
    Bytes& i64(std::int64_t v) { return u64(static_cast<std::uint64_t>(v)); }
    Bytes& f64(double v) { return u64(std::bit_cast<std::uint64_t>(v)); }
    Bytes& raw(std::string_view s) { return m_bytes.append(s), *this; }
    // A single-byte string shorter than 255 bytes, with its one-byte length prefix.
    Bytes& str(std::string_view s) { return u8(static_cast<unsigned>(s.size())).raw(s); }
    // The UTF-16 form with a one-byte length prefix.
    Bytes& wide(std::u16string_view units) {
        u8(0xFF).u16(0xFFFE).u8(static_cast<unsigned>(units.size()));
        for (const char16_t c : units)
            u16(c);
        return *this;
    }
    Bytes& firstHeader() { return u16(0xFFFF).u16(1).u16(7).raw("CDVItem"); }
    Bytes& classRef() { return u16(0x8001); }
    // The body of a record whose strings are all shorter than 255 ASCII characters.
    Bytes& body(const CDVItem& r) {
        i32(r.Icon).i32(r.EntryType).f64(r.Odometer).i64(r.Date).f64(r.EconomyUnit).i32(r.DistanceUnit);
        str(r.Note).str(r.Measure).str(r.Station).str(r.Invoice).str(r.Purpose).str(r.Destination).str(r.Contact);
        str(r.Entry).i64(r.DepartTime).i64(r.ArriveTime).i64(r.SpareTime).i32(r.CellTemp).i32(r.Reserved1);
        i32(r.FuelDistance).i32(r.Reserved2).i32(r.PartialFill).i32(r.DisplayPos).f64(r.Cost).f64(r.Quantity);
        return f64(r.UnitPrice).f64(r.EndOdometer).f64(r.Economy).f64(r.Parking);
    }
    const std::string& str() const { return m_bytes; }
    operator const std::string&() const { return m_bytes; }

private:
    std::string m_bytes;
};

// A trip record with a distinct value in every field (in file order).
inline CDVItem filledItem() {
    return {19,      2,      12345.5, 1700000000, 3,          1,          "note",   "Litres", "Shell", "INV-7",
            "Visit", "Brno", "Eva",   "Trip",     1700000100, 1700003700, -5,       -12,      99,      412,
            -1,      1,      7,       45.25,      30.125,     1.5,        12400.75, 6.8,      2.5};
}

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "odrivo-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        m_path = pattern + "/";
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, ending in '/'.
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

inline void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The bytes of a readable data file with one entry holding `note`, for tests that copy
// whole files and must tell one log from another.
inline std::string logWithNote(const std::string& note) {
    CDVItem item = filledItem();
    item.Note = note;
    CVehicleLogDoc doc;
    doc.append(std::make_unique<CDVItem>(item));
    return doc.encode();
}

} // namespace logtest
