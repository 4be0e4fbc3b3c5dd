#include "store/vehicle_log_doc.h"

#include "log_file_bytes.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using logtest::Bytes;
using logtest::filledItem;
using logtest::readFile;
using logtest::TempFolder;
using logtest::writeFile;

namespace {

std::unique_ptr<CDVItem> item(double odometer, std::string note = {}) {
    auto r = std::make_unique<CDVItem>();
    r->Odometer = odometer;
    r->Note = std::move(note);
    return r;
}

std::vector<std::string> notes(const CVehicleLogDoc& doc) {
    std::vector<std::string> out;
    for (const auto& e : doc.entries())
        out.push_back(e->Note);
    return out;
}

// Field-by-field equality that also holds for identical NaNs.
bool sameBits(const CDVItem& a, const CDVItem& b) {
    for (const DVField& field : dvItemFields()) {
        const bool same = std::visit(
            [&](auto member) {
                if constexpr (std::is_same_v<std::remove_cvref_t<decltype(a.*member)>, double>)
                    return std::bit_cast<std::uint64_t>(a.*member) == std::bit_cast<std::uint64_t>(b.*member);
                else
                    return a.*member == b.*member;
            },
            field.member);
        if (!same)
            return false;
    }
    return true;
}

} // namespace

TEST(VehicleLogFileBytes, EmptyLogIsFourZeroBytes) {
    CVehicleLogDoc doc;
    EXPECT_EQ(doc.encode(), std::string(4, '\0'));
}

TEST(VehicleLogFileBytes, OneAndTwoEntriesMatchTheLayout) {
    CDVItem first = filledItem();
    CDVItem second;
    second.Odometer = 20000;
    second.Entry = "Fuel";

    CVehicleLogDoc one;
    one.append(std::make_unique<CDVItem>(first));
    const std::string oneBytes = Bytes().u16(1).firstHeader().body(first).u16(0);
    EXPECT_EQ(one.encode(), oneBytes);
    EXPECT_EQ(one.encode().substr(0, 13), std::string("\x01\x00\xFF\xFF\x01\x00\x07\x00"
                                                      "CDVIt",
                                                      13));

    CVehicleLogDoc two;
    two.append(std::make_unique<CDVItem>(first));
    two.append(std::make_unique<CDVItem>(second));
    const std::string twoBytes = Bytes().u16(2).firstHeader().body(first).classRef().body(second).u16(0);
    EXPECT_EQ(two.encode(), twoBytes);

    CVehicleLogDoc back;
    ASSERT_TRUE(back.decode(twoBytes, nullptr));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back.at(0), first);
    EXPECT_EQ(back.at(1), second);
}

TEST(VehicleLogFileBytes, ManyEntriesUseTheLongCount) {
    CVehicleLogDoc doc;
    for (int i = 0; i < 65535; ++i)
        doc.append(std::make_unique<CDVItem>());
    const std::string bytes = doc.encode();
    EXPECT_EQ(bytes.substr(0, 8), std::string("\xFF\xFF\xFF\xFF\x00\x00\xFF\xFF", 8));
    CVehicleLogDoc back;
    std::string error;
    ASSERT_TRUE(back.decode(bytes, &error)) << error;
    EXPECT_EQ(back.size(), 65535u);
}

TEST(VehicleLogFileBytes, DecodesHandAssembledTextInBothForms) {
    // Windows-1252 bytes, and the UTF-16 form with a one-byte and a 16-bit length.
    const CDVItem r = filledItem();
    Bytes bytes;
    bytes.u16(1).firstHeader().head(r);
    bytes.str("\x80 12").wide(u"\u0141\u00F3d\u017A");                  // Note, Measure
    bytes.u8(0xFF).u16(0xFFFE).u8(0xFF).u16(2).u16(0xD83D).u16(0xDE97); // Station
    bytes.str("").str("").str("").str("").wide(u"").tail(r).u16(0);
    CVehicleLogDoc doc;
    std::string error;
    ASSERT_TRUE(doc.decode(bytes.str(), &error)) << error;
    ASSERT_EQ(doc.size(), 1u);
    EXPECT_EQ(doc.at(0).Note, "\xE2\x82\xAC 12");
    EXPECT_EQ(doc.at(0).Measure, "\xC5\x81\xC3\xB3"
                                 "d\xC5\xBA");
    EXPECT_EQ(doc.at(0).Station, "\xF0\x9F\x9A\x97");
    EXPECT_EQ(doc.at(0).Entry, "");
    EXPECT_EQ(doc.at(0).Parking, r.Parking);
}

TEST(VehicleLogFileBytes, EveryFieldSurvivesARoundTrip) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    std::vector<CDVItem> records;
    records.push_back(filledItem());
    records.push_back(CDVItem{});
    CDVItem extremes;
    extremes.Icon = std::numeric_limits<std::int32_t>::min();
    extremes.EntryType = std::numeric_limits<std::int32_t>::max();
    extremes.Odometer = std::numeric_limits<double>::max();
    extremes.Date = std::numeric_limits<std::int64_t>::min();
    extremes.EconomyUnit = std::numeric_limits<double>::denorm_min();
    extremes.DistanceUnit = -1;
    extremes.Note = std::string(300, 'n') + "\xE2\x82\xAC";
    extremes.Measure = "Imp. Gallons";
    extremes.Station = std::string("nul\0inside", 10);
    extremes.Invoice = "\xC5\x81\xC3\xB3"
                       "d\xC5\xBA";
    extremes.Purpose = std::string(70000, 'p');
    extremes.Destination = "\xF0\x9F\x9A\x97 " + std::string(400, 'd');
    extremes.Contact = "\xC2\x81"; // U+0081, the byte 0x81 that Windows-1252 leaves undefined
    extremes.Entry = "Trip";
    extremes.DepartTime = std::numeric_limits<std::int64_t>::max();
    extremes.ArriveTime = 4102444800; // 2100-01-01, beyond 32 bits
    extremes.SpareTime = -1;
    extremes.CellTemp = std::numeric_limits<std::int32_t>::min();
    extremes.Reserved1 = 99;
    extremes.FuelDistance = std::numeric_limits<std::int32_t>::max();
    extremes.Reserved2 = 1;
    extremes.PartialFill = 1;
    extremes.DisplayPos = 123456;
    extremes.Cost = -0.0;
    extremes.Quantity = inf;
    extremes.UnitPrice = -inf;
    extremes.EndOdometer = std::numeric_limits<double>::quiet_NaN();
    extremes.Economy = std::bit_cast<double>(std::uint64_t{0xFFF8000000000001});
    extremes.Parking = std::numeric_limits<double>::lowest();
    records.push_back(extremes);

    CVehicleLogDoc doc;
    for (const auto& r : records)
        doc.append(std::make_unique<CDVItem>(r));
    CVehicleLogDoc back;
    std::string error;
    ASSERT_TRUE(back.decode(doc.encode(), &error)) << error;
    ASSERT_EQ(back.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        EXPECT_TRUE(sameBits(back.at(i), records[i])) << "record " << i;
    EXPECT_EQ(back.encode(), doc.encode());
}

TEST(VehicleLogFileBytes, BytesAfterTheDocumentAreIgnored) {
    CVehicleLogDoc doc;
    doc.append(item(5, "a"));
    CVehicleLogDoc back;
    ASSERT_TRUE(back.decode(doc.encode() + "leftover from a longer file", nullptr));
    EXPECT_EQ(notes(back), std::vector<std::string>{"a"});
}

TEST(VehicleLogFileBytes, DamagedFilesAreRejected) {
    const CDVItem r = filledItem();
    const std::string body = Bytes().body(r);
    const std::string good = Bytes().u16(2).firstHeader().raw(body).classRef().raw(body).u16(0);
    struct Case {
        const char* name;
        std::string bytes;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"empty file", "", "it is empty"},
        {"count cut off", "\x02", "it ends inside the entry count"},
        {"wrong class name", Bytes().u16(1).u16(0xFFFF).u16(1).u16(7).raw("CDVIten").raw(body).u16(0),
         "class \"CDVIten\""},
        {"class name of another length", Bytes().u16(1).u16(0xFFFF).u16(1).u16(5).raw("CItem").raw(body).u16(0),
         "class \"CItem\""},
        {"schema 2", Bytes().u16(1).u16(0xFFFF).u16(2).u16(7).raw("CDVItem").raw(body).u16(0), "format version 2"},
        {"first entry without a class header", Bytes().u16(1).classRef().raw(body).u16(0),
         "the first entry starts with 0x8001"},
        {"second entry with a wrong class reference",
         Bytes().u16(2).firstHeader().raw(body).u16(0x8002).raw(body).u16(0),
         "entry 2 of 2 starts with 0x8002 instead of the class reference 0x8001"},
        {"second entry with a new class header", Bytes().u16(2).firstHeader().raw(body).firstHeader().raw(body).u16(0),
         "entry 2 of 2 starts with 0xFFFF"},
        {"cut in the class name", good.substr(0, 9), "it ends after 0 of 2 entries"},
        {"cut inside the second entry", good.substr(0, good.size() - 20), "it ends after 1 of 2 entries"},
        {"cut before the second entry", good.substr(0, good.size() - 2 - body.size() - 2),
         "it ends after 1 of 2 entries"},
        {"count larger than the entries", Bytes().u16(5).firstHeader().raw(body).classRef().raw(body),
         "it ends after 2 of 5 entries"},
        {"string array missing", good.substr(0, good.size() - 2), "before the end of the document"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CVehicleLogDoc doc;
        doc.append(item(1, "kept"));
        std::string error;
        EXPECT_FALSE(doc.decode(c.bytes, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(notes(doc), std::vector<std::string>{"kept"});
    }
}

// insert() puts a record after those of an equal odometer, insertBeforeEqual() ahead of them.
TEST(VehicleLogFileBytes, InsertKeepsOdometerOrder) {
    using Notes = std::vector<std::string>;
    struct Case {
        std::vector<std::pair<double, const char*>> adds;
        Notes after, ahead;
        std::vector<std::size_t> aheadIndexes;
    };
    const std::vector<Case> cases = {
        {{{300, "c"}, {100, "a"}, {200, "b"}}, {"a", "b", "c"}, {"a", "b", "c"}, {0, 0, 1}},
        {{{100, "1st"}, {100, "2nd"}, {100, "3rd"}}, {"1st", "2nd", "3rd"}, {"3rd", "2nd", "1st"}, {0, 0, 0}},
        {{{100, "a"}, {300, "c"}, {200, "b1"}, {200, "b2"}, {400, "d"}, {50, "z"}},
         {"z", "a", "b1", "b2", "c", "d"},
         {"z", "a", "b2", "b1", "c", "d"},
         {0, 1, 1, 1, 4, 0}},
        {{{0, "none"}, {0.5, "half"}, {0, "again"}}, {"none", "again", "half"}, {"again", "none", "half"}, {0, 1, 0}},
    };
    for (const auto& c : cases) {
        CVehicleLogDoc doc, ahead;
        std::vector<std::size_t> aheadIndexes;
        for (const auto& [odometer, note] : c.adds) {
            auto r = item(odometer, note);
            const CDVItem* added = r.get();
            const std::size_t index = doc.insert(std::move(r));
            EXPECT_EQ(doc.indexOf(added), static_cast<long>(index));
            aheadIndexes.push_back(ahead.insertBeforeEqual(item(odometer, note)));
        }
        EXPECT_EQ(notes(doc), c.after);
        EXPECT_EQ(notes(ahead), c.ahead);
        EXPECT_EQ(aheadIndexes, c.aheadIndexes);
        // The file keeps list order.
        CVehicleLogDoc back;
        ASSERT_TRUE(back.decode(doc.encode(), nullptr));
        EXPECT_EQ(notes(back), c.after);
    }
}

TEST(VehicleLogFileBytes, RemoveByPointer) {
    CVehicleLogDoc doc;
    doc.insert(item(1, "a"));
    doc.insert(item(2, "b"));
    doc.insert(item(3, "c"));
    const CDVItem* middle = &doc.at(1);
    EXPECT_TRUE(doc.remove(middle));
    EXPECT_EQ(notes(doc), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(doc.indexOf(middle), -1);
    CDVItem stranger;
    EXPECT_FALSE(doc.remove(&stranger));
    EXPECT_EQ(doc.size(), 2u);
}

class VehicleLogFileOnDisk : public ::testing::Test {
protected:
    TempFolder m_folder;
    std::string m_path = m_folder.file("1FTRX18W1XKB12345.odv");
};

TEST_F(VehicleLogFileOnDisk, MissingFileIsAnEmptyLogCreatedByTheFirstSave) {
    CVehicleLogDoc doc;
    doc.append(item(9, "stale"));
    const LogLoadResult loaded = doc.load(m_path);
    EXPECT_EQ(loaded.status, LogLoadStatus::Missing);
    EXPECT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.message, "");
    EXPECT_EQ(doc.size(), 0u);

    doc.insert(item(10, "first"));
    ASSERT_TRUE(doc.save(m_path).saved);
    EXPECT_EQ(readFile(m_path), doc.encode());
    CVehicleLogDoc again;
    EXPECT_EQ(again.load(m_path).status, LogLoadStatus::Loaded);
    EXPECT_EQ(notes(again), std::vector<std::string>{"first"});
}

const char* const kCannotCreateMessage = "ERROR 2105!\nUnable create database\nPlease check your setup.\n"
                                         "If the problem persists\ncontact Quorvane Support at\nsupport@odrivo.org";

TEST_F(VehicleLogFileOnDisk, MissingFileInAMissingOrReadOnlyFolderCannotBeCreated) {
    const std::string locked = m_folder.file("locked");
    ASSERT_EQ(::mkdir(locked.c_str(), 0555), 0);
    // Folder permissions do not bind root.
    for (const std::string& folder : {m_folder.file("no/such/folder"), ::geteuid() ? locked : m_folder.file("x/y")}) {
        CVehicleLogDoc doc;
        const LogLoadResult loaded = doc.load(folder + "/V.odv");
        EXPECT_EQ(loaded.status, LogLoadStatus::CannotCreate) << folder;
        EXPECT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.message, kCannotCreateMessage);
        EXPECT_EQ(doc.blockedPath(), "");
    }
}

TEST_F(VehicleLogFileOnDisk, CorruptFileIsBlockedUntilALaterLoadSucceeds) {
    CVehicleLogDoc good;
    good.insert(item(1, "a"));
    good.insert(item(2, "b"));
    const std::string goodBytes = good.encode();
    const std::string cut = goodBytes.substr(0, goodBytes.size() - 30);
    writeFile(m_path, cut);

    CVehicleLogDoc doc;
    doc.insert(item(5, "unsaved"));
    const LogLoadResult loaded = doc.load(m_path);
    EXPECT_EQ(loaded.status, LogLoadStatus::Corrupt);
    EXPECT_EQ(loaded.message.rfind("The data file " + m_path +
                                       " could not be read: it ends after 1 of 2 entries.\n"
                                       "Odrivo has not changed it",
                                   0),
              0u)
        << loaded.message;
    EXPECT_EQ(doc.size(), 0u);
    EXPECT_EQ(doc.blockedPath(), m_path);

    // Saving over it is refused, whatever the document holds, and the file stays as it was.
    doc.insert(item(3, "new"));
    const LogSaveResult refused = doc.save(m_path);
    EXPECT_FALSE(refused.saved);
    EXPECT_NE(refused.message.find(m_path), std::string::npos);
    EXPECT_NE(refused.message.find("could not be read when the vehicle was opened"), std::string::npos);
    EXPECT_NE(refused.message.find("Move or repair the file"), std::string::npos);
    EXPECT_EQ(readFile(m_path), cut);

    // Another file can still be saved.
    const std::string other = m_folder.file("OTHER.odv");
    EXPECT_TRUE(doc.save(other).saved);

    // Once the file is repaired, loading it lifts the block.
    writeFile(m_path, goodBytes);
    EXPECT_EQ(doc.load(m_path).status, LogLoadStatus::Loaded);
    EXPECT_EQ(doc.blockedPath(), "");
    EXPECT_EQ(notes(doc), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(doc.save(m_path).saved);
}

TEST_F(VehicleLogFileOnDisk, RemovedCorruptFileLiftsTheBlockAsMissing) {
    writeFile(m_path, "not a log");
    CVehicleLogDoc doc;
    EXPECT_EQ(doc.load(m_path).status, LogLoadStatus::Corrupt);
    ASSERT_EQ(doc.blockedPath(), m_path);
    std::filesystem::remove(m_path);
    EXPECT_EQ(doc.load(m_path).status, LogLoadStatus::Missing);
    EXPECT_EQ(doc.blockedPath(), "");
}

TEST_F(VehicleLogFileOnDisk, UnreadableFileIsBlocked) {
    // A folder in the file's place cannot be read as a file, even by root.
    ASSERT_EQ(::mkdir(m_path.c_str(), 0755), 0);
    CVehicleLogDoc doc;
    const LogLoadResult loaded = doc.load(m_path);
    EXPECT_EQ(loaded.status, LogLoadStatus::Unreadable);
    EXPECT_NE(loaded.message.find("The data file " + m_path + " could not be opened: "), std::string::npos)
        << loaded.message;
    EXPECT_EQ(doc.blockedPath(), m_path);
    EXPECT_FALSE(doc.save(m_path).saved);
    EXPECT_TRUE(std::filesystem::is_directory(m_path));
}

TEST_F(VehicleLogFileOnDisk, ShorterSaveKeepsTheOldTailAndReloadShowsTheRemainingEntries) {
    CVehicleLogDoc doc;
    doc.insert(item(100, "a"));
    doc.insert(item(200, "b"));
    doc.insert(item(300, "c"));
    ASSERT_TRUE(doc.save(m_path).saved);
    const std::string before = readFile(m_path);

    ASSERT_TRUE(doc.remove(&doc.at(1)));
    ASSERT_TRUE(doc.save(m_path).saved);
    const std::string newBytes = doc.encode();
    const std::string after = readFile(m_path);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.substr(0, newBytes.size()), newBytes);
    EXPECT_EQ(after.substr(newBytes.size()), before.substr(newBytes.size()));

    CVehicleLogDoc reloaded;
    EXPECT_EQ(reloaded.load(m_path).status, LogLoadStatus::Loaded);
    EXPECT_EQ(notes(reloaded), (std::vector<std::string>{"a", "c"}));

    // A longer save overwrites the tail with the new document.
    reloaded.insert(item(400, "d"));
    reloaded.insert(item(500, "e"));
    ASSERT_TRUE(reloaded.save(m_path).saved);
    EXPECT_EQ(readFile(m_path), reloaded.encode());
}

TEST_F(VehicleLogFileOnDisk, FailedWriteNamesTheFileAndKeepsTheDocument) {
    const std::string nowhere = m_folder.file("missing-folder/V.odv");
    CVehicleLogDoc doc;
    doc.insert(item(1, "a"));
    const LogSaveResult result = doc.save(nowhere);
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.message.rfind("Save ERROR 205!\nUnable save database\n", 0), 0u) << result.message;
    EXPECT_NE(result.message.find(nowhere), std::string::npos);
    EXPECT_EQ(doc.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}
