#include "store/vehicle_log_doc.h"

#include "store/archive.h"
#include "store/file_io.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
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

// Walks `bytes` as decode() reads them without building anything: true with the entry count
// when they hold a whole log, else false with what is wrong. It takes a length, a string or a
// record as short exactly where CArchive's reading of it would fail.
class LayoutCheck {
public:
    explicit LayoutCheck(std::string_view in) : m_in(in) {}

    std::size_t remaining() const { return m_in.size() - m_pos; }

    bool skip(std::uint64_t n) {
        if (n > remaining())
            return false;
        m_pos += static_cast<std::size_t>(n);
        return true;
    }

    template <class T> bool read(T& v) {
        if (remaining() < sizeof(T))
            return false;
        unsigned char b[sizeof(T)];
        std::memcpy(b, m_in.data() + m_pos, sizeof(T));
        std::uint64_t value = 0;
        for (std::size_t i = sizeof(T); i-- > 0;)
            value = (value << 8) | b[i];
        v = static_cast<T>(value);
        m_pos += sizeof(T);
        return true;
    }

    bool count(std::uint64_t& n) {
        std::uint16_t c16 = 0;
        std::uint32_t c32 = 0;
        if (!read(c16))
            return false;
        if (c16 != 0xFFFF)
            return n = c16, true;
        if (!read(c32))
            return false;
        if (c32 != 0xFFFFFFFFu)
            return n = c32, true;
        return read(n);
    }

    // A one-byte length, FF and a 16-bit length, then FFFF and 32 and 64 bits; FF FFFE first
    // marks UTF-16 text, whose length counts 16-bit units.
    bool string() {
        std::uint8_t b = 0;
        std::uint16_t l16 = 0;
        bool wide = false;
        if (!read(b))
            return false;
        if (b < 0xFF)
            return skip(b);
        if (!read(l16))
            return false;
        if (l16 == 0xFFFE) {
            wide = true;
            if (!read(b))
                return false;
            if (b < 0xFF)
                return skip(2 * std::uint64_t{b});
            if (!read(l16))
                return false;
        }
        std::uint64_t length = l16;
        if (l16 == 0xFFFF) {
            std::uint32_t l32 = 0;
            if (!read(l32))
                return false;
            length = l32;
            if (l32 == 0xFFFFFFFFu && !read(length))
                return false;
        }
        if (!wide)
            return skip(length);
        return length <= remaining() / 2 && skip(2 * length);
    }

    // The fields of CDVItem::serialize: six numbers, the eight texts, fifteen numbers.
    bool record() {
        if (!skip(kLeadingNumberBytes))
            return false;
        for (int i = 0; i < kTextCount; ++i)
            if (!string())
                return false;
        return skip(kTrailingNumberBytes);
    }

private:
    static constexpr std::size_t kLeadingNumberBytes = 4 + 4 + 8 + 8 + 8 + 4;
    static constexpr int kTextCount = 8;
    static constexpr std::size_t kTrailingNumberBytes = 3 * 8 + 6 * 4 + 6 * 8;

    std::string_view m_in;
    std::size_t m_pos = 0;
};

bool checkLayout(std::string_view bytes, std::uint64_t& count, std::string& error) {
    auto fail = [&error](std::string reason) {
        error = std::move(reason);
        return false;
    };
    if (bytes.empty())
        return fail("it is empty");
    LayoutCheck in(bytes);
    if (!in.count(count))
        return fail("it ends inside the entry count");
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint16_t tag = 0;
        if (!in.read(tag))
            return fail(entriesPhrase(i, count));
        if (i == 0) {
            if (tag != CArchive::kNewClassTag)
                return fail("the first entry starts with " + hex16(tag) + " instead of a class header");
            std::uint16_t schema = 0;
            std::uint16_t nameLength = 0;
            if (!in.read(schema) || !in.read(nameLength) || nameLength > in.remaining())
                return fail(entriesPhrase(0, count));
            const std::string_view name = bytes.substr(bytes.size() - in.remaining(), nameLength);
            in.skip(nameLength);
            if (name != kItemClass)
                return fail("it holds objects of class \"" + printable(name) + "\", not log entries");
            if (schema != kItemSchema)
                return fail("its entries have format version " + std::to_string(schema) +
                            ", which this version of Odrivo cannot read");
        } else if (tag != kItemClassRef) {
            return fail("entry " + std::to_string(i + 1) + " of " + std::to_string(count) + " starts with " +
                        hex16(tag) + " instead of the class reference " + hex16(kItemClassRef));
        }
        if (!in.record())
            return fail(entriesPhrase(i, count));
    }
    // The document's string array: always written empty, but any is read past.
    std::uint64_t strings = 0;
    bool whole = in.count(strings);
    for (std::uint64_t i = 0; i < strings && whole; ++i)
        whole = in.string();
    if (!whole)
        return fail("it ends after its " + std::to_string(count) + " entries, before the end of the document");
    return true;
}

// Reads the records of bytes that checkLayout() has accepted, so without bounds checks. Short
// plain ASCII texts, nearly all of a log's, are copied straight; every other text goes through
// CArchive, which converts it.
class RecordReader {
public:
    explicit RecordReader(std::string_view in, std::size_t from) : m_in(in), m_pos(from) {}

    std::uint16_t tag() { return number<std::uint16_t>(); }
    void skip(std::size_t n) { m_pos += n; }

    // The fields in CDVItem::serialize's order.
    void record(CDVItem& r) {
        r.Icon = number<std::int32_t>();
        r.EntryType = number<std::int32_t>();
        r.Odometer = number<double>();
        r.Date = number<DVTime>();
        r.EconomyUnit = number<double>();
        r.DistanceUnit = number<std::int32_t>();
        for (std::string* text :
             {&r.Note, &r.Measure, &r.Station, &r.Invoice, &r.Purpose, &r.Destination, &r.Contact, &r.Entry})
            readText(*text);
        r.DepartTime = number<DVTime>();
        r.ArriveTime = number<DVTime>();
        r.SpareTime = number<DVTime>();
        r.CellTemp = number<std::int32_t>();
        r.Reserved1 = number<std::int32_t>();
        r.FuelDistance = number<std::int32_t>();
        r.Reserved2 = number<std::int32_t>();
        r.PartialFill = number<std::int32_t>();
        r.DisplayPos = number<std::int32_t>();
        r.Cost = number<double>();
        r.Quantity = number<double>();
        r.UnitPrice = number<double>();
        r.EndOdometer = number<double>();
        r.Economy = number<double>();
        r.Parking = number<double>();
    }

private:
    template <class T> T number() {
        T v;
        std::memcpy(&v, m_in.data() + m_pos, sizeof v);
        m_pos += sizeof v;
        return v;
    }

    void readText(std::string& out) {
        const auto length = static_cast<unsigned char>(m_in[m_pos]);
        if (length == 0) {
            out.clear();
            ++m_pos;
            return;
        }
        if (length < 0xFF) {
            const char* text = m_in.data() + m_pos + 1;
            unsigned char any = 0;
            for (unsigned i = 0; i < length; ++i)
                any |= static_cast<unsigned char>(text[i]);
            if (any < 0x80) {
                out.assign(text, length);
                m_pos += 1 + std::size_t{length};
                return;
            }
        }
        CArchive ar = CArchive::loading(m_in.substr(m_pos));
        ar.readString(out);
        m_pos = m_in.size() - ar.remaining();
    }

    std::string_view m_in;
    std::size_t m_pos;
};

const char* const kNotChanged = "Odrivo has not changed it and will not save this vehicle's entries over it.\n";

// Appends the bytes of the file at `path` beyond `from`. True when there are none or all were
// read; false (with the reason) when an existing file could not be read.
bool appendTail(const std::string& path, std::size_t from, std::string& out, std::string& reason) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return true;
        reason = std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        reason = std::strerror(errno);
        ::close(fd);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        reason = "it is not a regular file";
        return false;
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    const std::size_t base = out.size();
    if (size > from) {
        out.resize(base + (size - from));
        std::size_t done = 0;
        while (done < size - from) {
            const ssize_t n =
                ::pread(fd, out.data() + base + done, size - from - done, static_cast<off_t>(from + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break; // the file shrank meanwhile: keep what there was
            done += static_cast<std::size_t>(n);
        }
        out.resize(base + done);
    }
    ::close(fd);
    return true;
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

std::string CVehicleLogDoc::encode() const {
    std::size_t estimate = 4;
    for (const auto& e : m_entries) {
        estimate += 2 + kFixedRecordBytes + e->Note.size() + e->Measure.size() + e->Station.size() + e->Invoice.size() +
                    e->Purpose.size() + e->Destination.size() + e->Contact.size() + e->Entry.size();
    }
    std::string out;
    out.reserve(estimate + 16);
    CArchive ar = CArchive::storing(out);
    ar.writeCount(m_entries.size());
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (i == 0)
            ar.writeNewClass(kItemSchema, kItemClass);
        else
            ar.writeClassRef(1);
        // Storing reads the record only; the entries are ours and not const themselves.
        m_entries[i]->serialize(ar);
    }
    ar.writeCount(0); // the string array, always empty
    return out;
}

bool CVehicleLogDoc::decode(std::string_view bytes, std::string* error) {
    std::uint64_t count = 0;
    std::string reason;
    if (!checkLayout(bytes, count, reason)) {
        if (error)
            *error = std::move(reason);
        return false;
    }

    // The bytes hold a whole log, so reading them cannot fail from here on: the records are read
    // into the entries already there, which spares freeing the old records and allocating (and
    // faulting in) new ones on every reload.
    const auto n = static_cast<std::size_t>(count);
    if (m_entries.size() > n)
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(n), m_entries.end());
    m_entries.reserve(n);
    if constexpr (std::endian::native != std::endian::little) {
        CArchive ar = CArchive::loading(bytes);
        ar.readCount();
        for (std::size_t i = 0; i < n; ++i) {
            if (ar.readU16() == CArchive::kNewClassTag) {
                ar.readU16();
                ar.readBytes(ar.readU16());
            }
            if (i == m_entries.size())
                m_entries.push_back(std::make_unique<CDVItem>());
            m_entries[i]->serialize(ar);
        }
        return true;
    }
    // The count's own length: two bytes, six with FFFF ahead, fourteen with FFFFFFFF too.
    std::size_t countBytes = 2;
    if (bytes.substr(0, 2) == "\xFF\xFF")
        countBytes = bytes.substr(2, 4) == "\xFF\xFF\xFF\xFF" ? 14 : 6;
    RecordReader in(bytes, countBytes);
    for (std::size_t i = 0; i < n; ++i) {
        if (in.tag() == CArchive::kNewClassTag)
            in.skip(4 + kItemClass.size());
        if (i == m_entries.size())
            m_entries.push_back(std::make_unique<CDVItem>());
        in.record(*m_entries[i]);
    }
    return true;
}

LogLoadResult CVehicleLogDoc::load(const std::string& path) {
    LogLoadResult result;
    std::string bytes;
    std::string reason;
    const odrivo::ReadStatus read = odrivo::readWholeFile(path, bytes, &reason);
    // A good file is read into the records already there (see decode()); anything else leaves none.
    const bool decoded = read == odrivo::ReadStatus::Ok && decode(bytes, &reason);
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
    std::string bytes = encode();
    std::string reason;
    if (!appendTail(path, bytes.size(), bytes, reason)) {
        result.message =
            "Save ERROR 205!\nUnable save database\nThe existing file " + path + " could not be read: " + reason + ".";
        return result;
    }
    if (!odrivo::writeFileAtomically(path, bytes, &reason)) {
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
