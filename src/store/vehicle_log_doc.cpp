#include "store/vehicle_log_doc.h"

#include "store/archive.h"
#include "store/file_io.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>

namespace {

constexpr std::uint16_t kItemSchema = 1;
constexpr std::string_view kItemClass = "CDVItem";
constexpr std::uint16_t kItemClassRef = CArchive::kClassTagBit | 1;
// Ints, doubles, times and one-byte prefixes of empty strings.
constexpr std::size_t kFixedRecordBytes = 9 * 4 + 8 * 8 + 4 * 8 + 8;

std::string hex16(std::uint16_t v) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(v));
    return text;
}

// A class name from a damaged file, fit to quote in a message.
std::string printable(std::string_view bytes) {
    std::string out;
    for (const char c : bytes.substr(0, 40))
        out += (static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F) ? c : '?';
    return out;
}

std::string entriesPhrase(std::uint64_t done, std::uint64_t total) {
    return "it ends after " + std::to_string(done) + " of " + std::to_string(total) + " entries";
}

// The little-endian number at `p`.
template <class T> T numberAt(const char* p) {
    if constexpr (std::endian::native == std::endian::little) {
        T v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        v |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
    if constexpr (std::is_floating_point_v<T>)
        return std::bit_cast<T>(v);
    else
        return static_cast<T>(v);
}

// The bytes of a log as the reading walks them: all in memory (decode()), or read from the
// open file a window at a time (load()), so that a large log's bytes are never held whole
// beside its records. need() makes the next bytes readable at data(); it is false when the
// source ends first, or when the file cannot be read (readError() then says why).
class ByteSource {
public:
    explicit ByteSource(std::string_view all) : m_all(all), m_view(all), m_size(all.size()) {}
    ByteSource(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}

    std::uint64_t remaining() const { return m_size - m_viewOffset - m_pos; }
    const char* data() const { return m_view.data() + m_pos; }
    const std::string& readError() const { return m_readError; }

    bool need(std::uint64_t n) {
        if (m_view.size() - m_pos >= n)
            return true;
        return m_fd >= 0 && n <= remaining() && refill(static_cast<std::size_t>(n));
    }
    // Passes `n` bytes (at most remaining()), which need not have been read.
    void advance(std::uint64_t n) {
        if (n <= m_view.size() - m_pos) {
            m_pos += static_cast<std::size_t>(n);
            return;
        }
        m_viewOffset += m_pos + n;
        m_view = {};
        m_pos = 0;
    }
    // Back to the first byte of bytes held in memory.
    void rewind() {
        assert(m_fd < 0);
        m_view = m_all;
        m_viewOffset = 0;
        m_pos = 0;
    }

    template <class T> T number() {
        const T v = numberAt<T>(m_view.data() + m_pos);
        m_pos += sizeof(T);
        return v;
    }
    // The text at the cursor (see readText()).
    bool text(CDVText& out);
    template <class T> bool read(T& v) {
        if (!need(sizeof(T)))
            return false;
        v = number<T>();
        return true;
    }
    bool skip(std::uint64_t n) {
        if (n > remaining())
            return false;
        advance(n);
        return true;
    }

private:
    static constexpr std::size_t kWindow = 256 * 1024;

    bool refill(std::size_t n) {
        const std::size_t keep = m_view.size() - m_pos;
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(std::max(n, kWindow), remaining()));
        if (keep > 0)
            std::memmove(m_buffer.data(), m_view.data() + m_pos, keep);
        if (m_buffer.size() < want)
            m_buffer.resize(want);
        const std::uint64_t from = m_viewOffset + m_view.size();
        std::size_t done = keep;
        while (done < want) {
            const ssize_t got =
                ::pread(m_fd, m_buffer.data() + done, want - done, static_cast<off_t>(from + done - keep));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                m_readError = std::strerror(errno);
            if (got <= 0)
                return false; // an error, or the file shrank since it was opened
            done += static_cast<std::size_t>(got);
        }
        m_viewOffset += m_pos;
        m_view = std::string_view(m_buffer.data(), want);
        m_pos = 0;
        return true;
    }

    int m_fd = -1;
    std::string_view m_all;
    std::string_view m_view; // the readable bytes, from the file offset m_viewOffset on
    std::uint64_t m_viewOffset = 0;
    std::size_t m_pos = 0; // the cursor within m_view
    std::uint64_t m_size;
    std::string m_buffer;
    std::string m_readError;
};

// The number of bytes of the stored text at the cursor, its length prefix included: a one-byte
// length, FF and a 16-bit length, then FFFF and 32 and 64 bits; FF FFFE first marks UTF-16 text,
// whose length counts 16-bit units. False where CArchive's reading of it would fail.
bool storedTextSize(ByteSource& in, std::uint64_t& size) {
    if (!in.need(1))
        return false;
    const char* p = in.data();
    std::uint64_t length = static_cast<unsigned char>(p[0]);
    std::uint64_t header = 1;
    bool wide = false;
    auto field = [&](std::size_t bytes) {
        if (!in.need(header + bytes))
            return false;
        p = in.data();
        length = 0;
        for (std::size_t i = 0; i < bytes; ++i)
            length |= std::uint64_t{static_cast<unsigned char>(p[header + i])} << (8 * i);
        header += bytes;
        return true;
    };
    if (length == 0xFF) {
        if (!field(2))
            return false;
        if (length == 0xFFFE) {
            wide = true;
            if (!field(1))
                return false;
            if (length == 0xFF && !field(2))
                return false;
        }
        if (length == 0xFFFF && (!field(4) || (length == 0xFFFFFFFFu && !field(8))))
            return false;
    }
    const std::uint64_t room = in.remaining() - header;
    if (length > (wide ? room / 2 : room))
        return false;
    size = header + (wide ? 2 * length : length);
    return true;
}

// The fields of CDVItem::serialize: six numbers, the eight texts, fifteen numbers.
constexpr std::size_t kLeadingNumberBytes = 4 + 4 + 8 + 8 + 8 + 4;
constexpr std::size_t kTrailingNumberBytes = 3 * 8 + 6 * 4 + 6 * 8;

bool skipRecord(ByteSource& in) {
    if (!in.skip(kLeadingNumberBytes))
        return false;
    for (int i = 0; i < 8; ++i) {
        std::uint64_t size = 0;
        if (in.need(1) && static_cast<unsigned char>(*in.data()) < 0xFF)
            size = 1 + std::uint64_t{static_cast<unsigned char>(*in.data())};
        else if (!storedTextSize(in, size))
            return false;
        if (!in.skip(size))
            return false;
    }
    return in.skip(kTrailingNumberBytes);
}

// The top bit of each of the first n bytes of 16, as two little-endian words, for n up to 15.
struct HighBits {
    std::uint64_t low;
    std::uint64_t high;
};
constexpr std::array<HighBits, CDVText::kInPlace + 1> kHighBits = [] {
    std::array<HighBits, CDVText::kInPlace + 1> masks{};
    for (std::size_t n = 0; n < masks.size(); ++n) {
        for (std::size_t i = 0; i < n; ++i)
            (i < 8 ? masks[n].low : masks[n].high) |= std::uint64_t{0x80} << (8 * (i % 8));
    }
    return masks;
}();

// Whether the first `size` (at most 15) of the 16 bytes at `text` are all ASCII.
bool shortAscii(const char* text, std::size_t size) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint64_t low = 0;
        std::uint64_t high = 0;
        std::memcpy(&low, text, 8);
        std::memcpy(&high, text + 8, 8);
        return ((low & kHighBits[size].low) | (high & kHighBits[size].high)) == 0;
    }
    unsigned char any = 0;
    for (std::size_t i = 0; i < size; ++i)
        any |= static_cast<unsigned char>(text[i]);
    return any < 0x80;
}

// Short plain ASCII texts, nearly all of a log's, are copied straight; CArchive converts the rest.
bool readText(ByteSource& in, CDVText& out) {
    if (!in.need(1))
        return false;
    const auto length = static_cast<unsigned char>(*in.data());
    if (length <= CDVText::kInPlace && in.need(2 + CDVText::kInPlace) && shortAscii(in.data() + 1, length)) {
        out.assignShort(in.data() + 1, length);
        in.advance(1 + std::size_t{length});
        return true;
    }
    if (length < 0xFF && in.need(1 + std::size_t{length})) {
        const char* text = in.data() + 1;
        unsigned char any = 0;
        for (unsigned i = 0; i < length; ++i)
            any |= static_cast<unsigned char>(text[i]);
        if (any < 0x80) {
            out.assign(text, length);
            in.advance(1 + std::size_t{length});
            return true;
        }
    }
    std::uint64_t size = 0;
    if (!storedTextSize(in, size) || !in.need(size))
        return false;
    CArchive ar = CArchive::loading(std::string_view(in.data(), static_cast<std::size_t>(size)));
    std::string text;
    ar.readString(text);
    out = text;
    in.advance(size);
    return true;
}

bool ByteSource::text(CDVText& out) {
    return readText(*this, out);
}

// Walks a record whose bytes are all at hand, kBytes of them, as long as its texts are
// short plain ASCII (the fast path of nearly every record); text() is false at any other text.
class ShortRecordCursor {
public:
    // The class reference, six numbers, eight texts of at most 15 bytes, each read 16 bytes
    // at a time after its length, and fifteen numbers.
    static constexpr std::size_t kBytes = 2 + 4 + 4 + 8 + 8 + 8 + 4 + 8 * (1 + 16) + 3 * 8 + 6 * 4 + 6 * 8;

    explicit ShortRecordCursor(const char* at) : m_start(at), m_at(at) {}

    std::size_t consumed() const { return static_cast<std::size_t>(m_at - m_start); }
    static bool need(std::size_t) { return true; }
    template <class T> T number() {
        const T v = numberAt<T>(m_at);
        m_at += sizeof(T);
        return v;
    }
    bool text(CDVText& out) {
        const auto length = static_cast<unsigned char>(*m_at);
        if (length > CDVText::kInPlace || !shortAscii(m_at + 1, length))
            return false;
        out.assignShort(m_at + 1, length);
        m_at += 1 + std::size_t{length};
        return true;
    }

private:
    const char* m_start;
    const char* m_at;
};

// The fields of CDVItem::serialize, in its order.
template <class Cursor> bool readRecord(Cursor& in, CDVItem& r) {
    if (!in.need(kLeadingNumberBytes))
        return false;
    r.Icon = in.template number<std::int32_t>();
    r.EntryType = in.template number<std::int32_t>();
    r.Odometer = in.template number<double>();
    r.Date = in.template number<DVTime>();
    r.EconomyUnit = in.template number<double>();
    r.DistanceUnit = in.template number<std::int32_t>();
    for (CDVText* text :
         {&r.Note, &r.Measure, &r.Station, &r.Invoice, &r.Purpose, &r.Destination, &r.Contact, &r.Entry})
        if (!in.text(*text))
            return false;
    if (!in.need(kTrailingNumberBytes))
        return false;
    r.DepartTime = in.template number<DVTime>();
    r.ArriveTime = in.template number<DVTime>();
    r.SpareTime = in.template number<DVTime>();
    r.CellTemp = in.template number<std::int32_t>();
    r.Reserved1 = in.template number<std::int32_t>();
    r.FuelDistance = in.template number<std::int32_t>();
    r.Reserved2 = in.template number<std::int32_t>();
    r.PartialFill = in.template number<std::int32_t>();
    r.DisplayPos = in.template number<std::int32_t>();
    r.Cost = in.template number<double>();
    r.Quantity = in.template number<double>();
    r.UnitPrice = in.template number<double>();
    r.EndOdometer = in.template number<double>();
    r.Economy = in.template number<double>();
    r.Parking = in.template number<double>();
    return true;
}

bool readCount(ByteSource& in, std::uint64_t& n) {
    std::uint16_t c16 = 0;
    std::uint32_t c32 = 0;
    if (!in.read(c16))
        return false;
    if (c16 != 0xFFFF)
        return n = c16, true;
    if (!in.read(c32))
        return false;
    if (c32 != 0xFFFFFFFFu)
        return n = c32, true;
    return in.read(n);
}

// The object tag ahead of record `i`, and the class header ahead of the first.
bool readTag(ByteSource& in, std::uint64_t i, std::uint64_t count, std::string& error) {
    std::uint16_t tag = 0;
    if (!in.read(tag))
        return error = entriesPhrase(i, count), false;
    if (i == 0) {
        if (tag != CArchive::kNewClassTag)
            return error = "the first entry starts with " + hex16(tag) + " instead of a class header", false;
        std::uint16_t schema = 0;
        std::uint16_t nameLength = 0;
        if (!in.read(schema) || !in.read(nameLength) || !in.need(nameLength))
            return error = entriesPhrase(0, count), false;
        const std::string_view name(in.data(), nameLength);
        in.advance(nameLength);
        if (name != kItemClass)
            return error = "it holds objects of class \"" + printable(name) + "\", not log entries", false;
        if (schema != kItemSchema)
            return error = "its entries have format version " + std::to_string(schema) +
                           ", which this version of Odrivo cannot read",
                   false;
    } else if (tag != kItemClassRef) {
        return error = "entry " + std::to_string(i + 1) + " of " + std::to_string(count) + " starts with " +
                       hex16(tag) + " instead of the class reference " + hex16(kItemClassRef),
               false;
    }
    return true;
}

bool readLogCount(ByteSource& in, std::uint64_t& count, std::string& error) {
    if (in.remaining() == 0)
        return error = "it is empty", false;
    if (!readCount(in, count))
        return error = "it ends inside the entry count", false;
    return true;
}

// The document's string array after the entries: always written empty, but any is read past.
bool readLogEnd(ByteSource& in, std::uint64_t count, std::string& error) {
    std::uint64_t strings = 0;
    bool whole = readCount(in, strings);
    for (std::uint64_t i = 0; i < strings && whole; ++i) {
        std::uint64_t size = 0;
        whole = storedTextSize(in, size);
        in.advance(whole ? size : 0);
    }
    if (!whole)
        error = "it ends after its " + std::to_string(count) + " entries, before the end of the document";
    return whole;
}

// Walks a whole log without keeping anything: true when the bytes hold one.
bool checkLog(ByteSource& in, std::string& error) {
    std::uint64_t count = 0;
    if (!readLogCount(in, count, error))
        return false;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (!readTag(in, i, count, error))
            return false;
        if (!skipRecord(in))
            return error = entriesPhrase(i, count), false;
    }
    return readLogEnd(in, count, error);
}

// Reads a log into `entries`, filling the records already there, which spares freeing the old
// records and allocating (and faulting in) new ones on every reload. On failure the entries are
// emptied.
bool fillLog(ByteSource& in, CVehicleLogDoc::Entries& entries, std::string& error) {
    std::uint64_t count = 0;
    bool read = readLogCount(in, count, error);
    // A damaged count cannot make room for more records than the bytes could hold.
    const auto n = static_cast<std::size_t>(read ? count : 0);
    if (entries.size() > n)
        entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(n), entries.end());
    entries.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(n, in.remaining() / kFixedRecordBytes)));
    for (std::size_t i = 0; i < n && read; ++i) {
        if (i == entries.size())
            entries.push_back(std::make_unique<CDVItem>());
        if (i > 0 && in.need(ShortRecordCursor::kBytes)) {
            ShortRecordCursor record(in.data());
            if (record.number<std::uint16_t>() == kItemClassRef && readRecord(record, *entries[i])) {
                in.advance(record.consumed());
                continue;
            }
        }
        if (!readTag(in, i, count, error))
            read = false;
        else if (!readRecord(in, *entries[i]))
            read = false, error = entriesPhrase(i, count);
    }
    read = read && readLogEnd(in, count, error);
    if (!read)
        entries.clear();
    return read;
}

// Encoding and file writing go a piece of this size at a time.
constexpr std::size_t kPieceBytes = 256 * 1024;

const char* const kNotChanged = "Odrivo has not changed it and will not save this vehicle's entries over it.\n";

// Gives `write` the bytes of the file at `path` beyond `from`, a piece at a time. True when there
// are none or all were given; false (with the reason) when an existing file could not be read,
// and false with no reason when a write failed.
bool copyTail(const std::string& path, std::uint64_t from, const odrivo::ChunkSink& write, std::string& reason) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            return true;
        reason = std::strerror(errno);
        return false;
    }
    struct stat st {};
    const bool statted = ::fstat(fd, &st) == 0;
    if (!statted || !S_ISREG(st.st_mode)) {
        reason = statted ? "it is not a regular file" : std::strerror(errno);
        ::close(fd);
        return false;
    }
    const auto size = static_cast<std::uint64_t>(st.st_size);
    std::string piece(kPieceBytes, '\0');
    bool written = true;
    for (std::uint64_t at = from; at < size && written;) {
        const ssize_t n =
            ::pread(fd, piece.data(), static_cast<std::size_t>(std::min<std::uint64_t>(kPieceBytes, size - at)),
                    static_cast<off_t>(at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break; // the file shrank meanwhile: keep what there was
        written = write(std::string_view(piece.data(), static_cast<std::size_t>(n)));
        at += static_cast<std::uint64_t>(n);
    }
    ::close(fd);
    return written;
}

} // namespace

std::size_t CVehicleLogDoc::insert(std::unique_ptr<CDVItem> item) {
    assert(item);
    const double odometer = item->Odometer;
    const auto at = std::find_if(m_entries.begin(), m_entries.end(),
                                 [odometer](const std::unique_ptr<CDVItem>& e) { return e->Odometer > odometer; });
    const auto index = static_cast<std::size_t>(at - m_entries.begin());
    m_entries.insert(at, std::move(item));
    return index;
}

std::size_t CVehicleLogDoc::insertBeforeEqual(std::unique_ptr<CDVItem> item) {
    assert(item);
    const double odometer = item->Odometer;
    const auto at = std::find_if(m_entries.begin(), m_entries.end(),
                                 [odometer](const std::unique_ptr<CDVItem>& e) { return e->Odometer >= odometer; });
    const auto index = static_cast<std::size_t>(at - m_entries.begin());
    m_entries.insert(at, std::move(item));
    return index;
}

// Each entry of the list that is greater than all before it (a running maximum) marks a gap
// just ahead of it; insertBeforeEqual() puts an item x into the gap of the first such entry
// that is >= x, or at the end when there is none. Every entry between two of them is at most
// the earlier one (or NaN, which is never >= anything), so it never stops a later scan, and
// the items already put into a gap lie between the two maxima around it. So an item lands in
// its gap ahead of the items there with the same or a greater reading: each gap holds its
// items in ascending order, a later item ahead of an earlier equal one. Sorting the items that
// way and merging them in ahead of every entry they do not exceed gives the very same list;
// for a sorted list this is an ordinary merge.
void CVehicleLogDoc::insertAllBeforeEqual(Entries items) {
    // A NaN reading cannot be sorted; it goes to the end, where later items may pass it.
    if (std::any_of(items.begin(), items.end(), [](const auto& item) { return std::isnan(item->Odometer); })) {
        for (auto& item : items)
            insertBeforeEqual(std::move(item));
        return;
    }
    std::reverse(items.begin(), items.end());
    std::stable_sort(items.begin(), items.end(),
                     [](const auto& a, const auto& b) { return a->Odometer < b->Odometer; });
    Entries merged;
    merged.reserve(m_entries.size() + items.size());
    auto next = items.begin();
    for (auto& entry : m_entries) {
        for (; next != items.end() && entry->Odometer >= (*next)->Odometer; ++next)
            merged.push_back(std::move(*next));
        merged.push_back(std::move(entry));
    }
    std::move(next, items.end(), std::back_inserter(merged));
    m_entries = std::move(merged);
}

void CVehicleLogDoc::append(std::unique_ptr<CDVItem> item) {
    assert(item);
    m_entries.push_back(std::move(item));
}

bool CVehicleLogDoc::remove(const CDVItem* item) {
    const long index = indexOf(item);
    if (index < 0)
        return false;
    m_entries.erase(m_entries.begin() + index);
    return true;
}

long CVehicleLogDoc::indexOf(const CDVItem* item) const {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].get() == item)
            return static_cast<long>(i);
    }
    return -1;
}

void CVehicleLogDoc::clear() {
    m_entries.clear();
}

namespace {

// Encodes the document into `out`, handing it to `flush` (which empties it) whenever it holds
// `piece` bytes or more, and once at the end; false as soon as `flush` is.
template <class Flush>
bool encodeDocument(const CVehicleLogDoc::Entries& entries, std::string& out, std::size_t piece, Flush flush) {
    CArchive ar = CArchive::storing(out);
    ar.writeCount(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i == 0)
            ar.writeNewClass(kItemSchema, kItemClass);
        else
            ar.writeClassRef(1);
        // Storing reads the record only; the entries are ours and not const themselves.
        entries[i]->serialize(ar);
        if (out.size() >= piece && !flush(out))
            return false;
    }
    ar.writeCount(0); // the string array, always empty
    return flush(out);
}

} // namespace

std::string CVehicleLogDoc::encode() const {
    std::size_t estimate = 4;
    for (const auto& e : m_entries) {
        estimate += 2 + kFixedRecordBytes + e->Note.size() + e->Measure.size() + e->Station.size() + e->Invoice.size() +
                    e->Purpose.size() + e->Destination.size() + e->Contact.size() + e->Entry.size();
    }
    std::string out;
    out.reserve(estimate + 16);
    encodeDocument(m_entries, out, std::string::npos, [](const std::string&) { return true; });
    return out;
}

bool CVehicleLogDoc::decode(std::string_view bytes, std::string* error) {
    // The bytes are checked whole first, so that bytes that are not a log leave the entries as
    // they were.
    ByteSource in(bytes);
    std::string reason;
    if (checkLog(in, reason)) {
        in.rewind();
        if (fillLog(in, m_entries, reason))
            return true;
    }
    if (error)
        *error = std::move(reason);
    return false;
}

LogLoadResult CVehicleLogDoc::load(const std::string& path) {
    LogLoadResult result;
    std::string reason;
    int fd = -1;
    std::uint64_t size = 0;
    odrivo::ReadStatus read = odrivo::openForReading(path, fd, size, &reason);
    bool decoded = false;
    if (read == odrivo::ReadStatus::Ok) {
        ByteSource in(fd, size);
        decoded = fillLog(in, m_entries, reason);
        if (!in.readError().empty()) {
            read = odrivo::ReadStatus::Failed;
            reason = in.readError();
            decoded = false; // what was read after the failure is not the file's bytes
        }
        ::close(fd);
    }
    // A good file is read into the records already there (see fillLog()); anything else leaves none.
    if (!decoded)
        m_entries.clear();
    if (read == odrivo::ReadStatus::Missing) {
        const std::string folder = odrivo::folderOf(path);
        if (::access(folder.empty() ? "." : folder.c_str(), W_OK) != 0) {
            result.status = LogLoadStatus::CannotCreate;
            result.message = "ERROR 2105!\nUnable create database\nPlease check your setup.\n"
                             "If the problem persists\ncontact Quorvane Support at\nsupport@odrivo.org";
            return result;
        }
        result.status = LogLoadStatus::Missing;
    } else if (read == odrivo::ReadStatus::Failed) {
        result.status = LogLoadStatus::Unreadable;
        result.message = "The data file " + path + " could not be opened: " + reason + ".\n" + kNotChanged +
                         "Make sure the file can be read, then open the vehicle again.";
    } else if (!decoded) {
        result.status = LogLoadStatus::Corrupt;
        result.message = "The data file " + path + " could not be read: " + reason + ".\n" + kNotChanged +
                         "Move the file aside or restore it from a backup, then open the vehicle again.";
    }
    if (result.ok()) {
        if (m_blockedPath == path)
            m_blockedPath.clear();
    } else {
        m_blockedPath = path;
    }
    return result;
}

LogSaveResult CVehicleLogDoc::save(const std::string& path) {
    LogSaveResult result;
    if (!m_blockedPath.empty() && path == m_blockedPath) {
        result.message = "The data file " + path +
                         " could not be read when the vehicle was opened, so Odrivo will not save over it.\n"
                         "Move or repair the file, then open the vehicle again.";
        return result;
    }
    // The document is written a piece at a time as it is encoded, so a large log is never held
    // twice; the bytes of an older, longer file beyond its end follow it.
    std::string reason;
    std::string tailReason;
    const bool written = odrivo::writeFileAtomically(
        path,
        [&](const odrivo::ChunkSink& write) {
            std::string piece;
            piece.reserve(kPieceBytes + kPieceBytes / 4);
            std::uint64_t size = 0;
            const auto flush = [&](std::string& bytes) {
                size += bytes.size();
                const bool ok = write(bytes);
                bytes.clear();
                return ok;
            };
            return encodeDocument(m_entries, piece, kPieceBytes, flush) && copyTail(path, size, write, tailReason);
        },
        &reason);
    if (!written && !tailReason.empty()) {
        result.message = "Save ERROR 205!\nUnable save database\nThe existing file " + path +
                         " could not be read: " + tailReason + ".";
        return result;
    }
    if (!written) {
        result.message = "Save ERROR 205!\nUnable save database\nCould not write " + path + ": " + reason + ".";
        return result;
    }
    result.saved = true;
    return result;
}

std::string CVehicleLogDoc::dataFilePath(const std::string& dataFolder, const std::string& vin) {
    return dataFolder + (vin.empty() ? std::string("UnKnown") : vin) + ".odv";
}

std::string CVehicleLogDoc::vinPathProblem(const std::string& vin) {
    const bool control = std::any_of(vin.begin(), vin.end(), [](char ch) {
        const auto byte = static_cast<unsigned char>(ch);
        return byte < 0x20 || byte == 0x7F;
    });
    if (vin.find('/') == std::string::npos && vin != "." && vin != ".." && !control)
        return {};
    return "The VIN \"" + vin +
           "\" cannot name a data file: it would put the file outside the data folder. Correct the VIN in "
           "Drivana.ini.";
}
