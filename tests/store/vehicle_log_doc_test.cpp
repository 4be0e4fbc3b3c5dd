#include "store/vehicle_log_doc.h"

#include "log_file_bytes.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

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

CVehicleLogDoc& fill(CVehicleLogDoc& doc, const std::vector<CDVItem>& items) {
    for (const CDVItem& r : items)
        doc.append(std::make_unique<CDVItem>(r));
    return doc;
}

std::vector<std::string> notes(const CVehicleLogDoc& doc) {
    std::vector<std::string> out;
    for (const auto& e : doc.entries())
        out.push_back(e->Note);
    return out;
}

} // namespace

TEST(VehicleLogFileBytes, LayoutOfNoneOneAndTwoEntries) {
    const CDVItem first = filledItem();
    const CDVItem second{.Odometer = 20000, .Entry = "Fuel"};
    CVehicleLogDoc none, one, two;
    EXPECT_EQ(none.encode(), std::string(4, '\0'));
    EXPECT_EQ(fill(one, {first}).encode(), Bytes().u16(1).firstHeader().body(first).u16(0).str());
    const std::string twoBytes = Bytes().u16(2).firstHeader().body(first).classRef().body(second).u16(0);
    EXPECT_EQ(fill(two, {first, second}).encode(), twoBytes);

    // Bytes after the document, left by a longer file, are ignored.
    CVehicleLogDoc back;
    ASSERT_TRUE(back.decode(twoBytes + "leftover", nullptr));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back.at(0), first);
    EXPECT_EQ(back.at(1), second);
}

TEST(VehicleLogFileBytes, ExtremeValuesSurviveARoundTrip) {
    using I32 = std::numeric_limits<std::int32_t>;
    using I64 = std::numeric_limits<std::int64_t>;
    using D = std::numeric_limits<double>;
    // Long and wide strings, a NUL inside, U+0081 (a byte Windows-1252 leaves undefined),
    // times beyond 32 bits, -0, infinities and NaNs with a payload.
    const std::string n300 = std::string(300, 'n') + "\xE2\x82\xAC", nul("nul\0inside", 10), p70k(70000, 'p');
    const std::string wide = "\xF0\x9F\x9A\x97 " + std::string(400, 'd');
    const double nan = D::quiet_NaN(), payload = std::bit_cast<double>(std::uint64_t{0xFFF8000000000001}),
                 inf = D::infinity();
    const CDVItem extremes{
        I32::min(), I32::max(), D::max(), I64::min(), D::denorm_min(), -1,         n300,       "Imp", nul,
        "\xC5\x81", p70k,       wide,     "\xC2\x81", "Trip",          I64::max(), 4102444800, -1,    I32::min(),
        99,         I32::max(), 1,        1,          123456,          -0.0,       inf,        -inf,  nan,
        payload,    D::lowest()};
    CVehicleLogDoc doc, back;
    fill(doc, {filledItem(), CDVItem{}, extremes});
    std::string error;
    ASSERT_TRUE(back.decode(doc.encode(), &error)) << error;
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back.at(0), filledItem());
    // Equal bytes, as NaN compares unequal to itself.
    EXPECT_EQ(back.encode(), doc.encode());
    EXPECT_EQ(back.at(2).Purpose, extremes.Purpose);
    EXPECT_EQ(back.at(2).Station, extremes.Station);
}

TEST(VehicleLogFileBytes, DamagedFilesAreRejectedAndTheDocumentKept) {
    const std::string body = Bytes().body(filledItem());
    const std::string good = Bytes().u16(2).firstHeader().raw(body).classRef().raw(body).u16(0);
    const auto one = [&](Bytes header) { return header.raw(body).u16(0).str(); };
    const struct {
        std::string bytes, reason;
    } cases[] = {
        {"", "it is empty"},
        {"\x02", "it ends inside the entry count"},
        {one(Bytes().u16(1).u16(0xFFFF).u16(1).u16(7).raw("CDVIten")), "class \"CDVIten\""},
        {one(Bytes().u16(1).u16(0xFFFF).u16(1).u16(5).raw("CItem")), "class \"CItem\""},
        {one(Bytes().u16(1).u16(0xFFFF).u16(2).u16(7).raw("CDVItem")), "format version 2"},
        {one(Bytes().u16(1).classRef()), "the first entry starts with 0x8001"},
        {one(Bytes().u16(2).firstHeader().raw(body).u16(0x8002)),
         "entry 2 of 2 starts with 0x8002 instead of the class reference 0x8001"},
        {one(Bytes().u16(2).firstHeader().raw(body).firstHeader()), "entry 2 of 2 starts with 0xFFFF"},
        {good.substr(0, 9), "it ends after 0 of 2 entries"},
        {good.substr(0, good.size() - 20), "it ends after 1 of 2 entries"},
        {good.substr(0, good.size() - 2 - body.size() - 2), "it ends after 1 of 2 entries"},
        {Bytes().u16(5).firstHeader().raw(body).classRef().raw(body), "it ends after 2 of 5 entries"},
        {good.substr(0, good.size() - 2), "before the end of the document"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        CVehicleLogDoc doc;
        doc.append(item(1, "kept"));
        std::string error;
        EXPECT_FALSE(doc.decode(c.bytes, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(notes(doc), std::vector<std::string>{"kept"});
    }
}

// insert() puts a record after those of an equal odometer, insertBeforeEqual() ahead of them.
TEST(VehicleLogFileBytes, InsertKeepsOdometerOrderAndRemoveTakesThePointer) {
    using Notes = std::vector<std::string>;
    const struct {
        std::vector<std::pair<double, const char*>> adds;
        Notes after, ahead;
        std::vector<std::size_t> aheadIndexes;
    } cases[] = {
        {{{100, "1st"}, {100, "2nd"}, {100, "3rd"}}, {"1st", "2nd", "3rd"}, {"3rd", "2nd", "1st"}, {0, 0, 0}},
        {{{100, "a"}, {300, "c"}, {200, "b1"}, {200, "b2"}, {400, "d"}, {50, "z"}},
         {"z", "a", "b1", "b2", "c", "d"},
         {"z", "a", "b2", "b1", "c", "d"},
         {0, 1, 1, 1, 4, 0}},
        {{{0, "none"}, {0.5, "half"}, {0, "again"}}, {"none", "again", "half"}, {"again", "none", "half"}, {0, 1, 0}},
    };
    for (const auto& c : cases) {
        CVehicleLogDoc doc, ahead, back;
        std::vector<std::size_t> aheadIndexes;
        for (const auto& [odometer, note] : c.adds) {
            auto r = item(odometer, note);
            const CDVItem* added = r.get();
            const auto index = static_cast<long>(doc.insert(std::move(r)));
            EXPECT_EQ(doc.indexOf(added), index);
            aheadIndexes.push_back(ahead.insertBeforeEqual(item(odometer, note)));
        }
        EXPECT_EQ(notes(doc), c.after);
        EXPECT_EQ(notes(ahead), c.ahead);
        EXPECT_EQ(aheadIndexes, c.aheadIndexes);
        ASSERT_TRUE(back.decode(doc.encode(), nullptr)); // the file keeps list order
        EXPECT_EQ(notes(back), c.after);

        Notes rest = c.after;
        rest.erase(rest.begin() + 1);
        EXPECT_TRUE(doc.remove(&doc.at(1)));
        EXPECT_EQ(notes(doc), rest);
        EXPECT_FALSE(doc.remove(&back.at(0)));
        EXPECT_EQ(doc.size(), rest.size());
    }
}

class VehicleLogFileOnDisk : public ::testing::Test {
protected:
    TempFolder m_folder;
    std::string m_path = m_folder.file("1FTRX18W1XKB12345.odv");
    CVehicleLogDoc m_doc;
};

TEST_F(VehicleLogFileOnDisk, MissingFileIsAnEmptyLogCreatedByTheFirstSave) {
    m_doc.append(item(9, "stale"));
    const LogLoadResult loaded = m_doc.load(m_path);
    EXPECT_EQ(loaded.status, LogLoadStatus::Missing);
    EXPECT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.message, "");
    EXPECT_EQ(m_doc.size(), 0u);

    m_doc.insert(item(10, "first"));
    ASSERT_TRUE(m_doc.save(m_path).saved);
    EXPECT_EQ(readFile(m_path), m_doc.encode());
}

TEST_F(VehicleLogFileOnDisk, MissingFileInAMissingOrReadOnlyFolderCannotBeCreated) {
    const std::string locked = m_folder.file("locked");
    ASSERT_EQ(::mkdir(locked.c_str(), 0555), 0);
    // Folder permissions do not bind root.
    for (const std::string& folder : {m_folder.file("no/such/folder"), ::geteuid() ? locked : m_folder.file("x/y")}) {
        const LogLoadResult loaded = m_doc.load(folder + "/V.odv");
        EXPECT_EQ(loaded.status, LogLoadStatus::CannotCreate) << folder;
        EXPECT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.message, "ERROR 2105!\nUnable create database\nPlease check your setup.\n"
                                  "If the problem persists\ncontact Quorvane Support at\nsupport@odrivo.org");
        EXPECT_EQ(m_doc.blockedPath(), "");
    }
}

TEST_F(VehicleLogFileOnDisk, CorruptFileIsBlockedUntilALaterLoadSucceeds) {
    CVehicleLogDoc good;
    fill(good, {*item(1, "a"), *item(2, "b")});
    const std::string cut = good.encode().substr(0, good.encode().size() - 30);
    writeFile(m_path, cut);

    m_doc.insert(item(5, "unsaved"));
    const LogLoadResult loaded = m_doc.load(m_path);
    EXPECT_EQ(loaded.status, LogLoadStatus::Corrupt);
    EXPECT_EQ(loaded.message.rfind("The data file " + m_path +
                                       " could not be read: it ends after 1 of 2 entries.\nOdrivo has not changed it",
                                   0),
              0u)
        << loaded.message;
    EXPECT_EQ(m_doc.size(), 0u);

    // Saving over it is refused, whatever the document holds, and the file stays as it was;
    // another file can still be saved.
    m_doc.insert(item(3, "new"));
    const LogSaveResult refused = m_doc.save(m_path);
    EXPECT_FALSE(refused.saved);
    EXPECT_NE(refused.message.find(m_path + " could not be read when the vehicle was opened"), std::string::npos);
    EXPECT_NE(refused.message.find("Move or repair the file"), std::string::npos);
    EXPECT_EQ(readFile(m_path), cut);
    EXPECT_TRUE(m_doc.save(m_folder.file("OTHER.odv")).saved);

    // Once the file is repaired, loading it lifts the block.
    writeFile(m_path, good.encode());
    EXPECT_EQ(m_doc.load(m_path).status, LogLoadStatus::Loaded);
    EXPECT_EQ(notes(m_doc), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(m_doc.save(m_path).saved);
}

TEST_F(VehicleLogFileOnDisk, UnreadableFileIsBlocked) {
    // A folder in the file's place cannot be read as a file, even by root.
    ASSERT_EQ(::mkdir(m_path.c_str(), 0755), 0);
    const LogLoadResult loaded = m_doc.load(m_path);
    EXPECT_EQ(loaded.status, LogLoadStatus::Unreadable);
    EXPECT_NE(loaded.message.find("The data file " + m_path + " could not be opened: "), std::string::npos)
        << loaded.message;
    EXPECT_EQ(m_doc.blockedPath(), m_path);
    EXPECT_FALSE(m_doc.save(m_path).saved);
    EXPECT_TRUE(std::filesystem::is_directory(m_path));
}

TEST_F(VehicleLogFileOnDisk, ShorterSaveKeepsTheOldTailBehindTheNewDocument) {
    fill(m_doc, {*item(100, "a"), *item(200, "b"), *item(300, "c")});
    ASSERT_TRUE(m_doc.save(m_path).saved);
    const std::string before = readFile(m_path);
    ASSERT_TRUE(m_doc.remove(&m_doc.at(1)));
    ASSERT_TRUE(m_doc.save(m_path).saved);
    const std::string shorter = m_doc.encode();
    EXPECT_EQ(readFile(m_path), shorter + before.substr(shorter.size()));
}

TEST_F(VehicleLogFileOnDisk, FailedWriteNamesTheFileAndKeepsTheDocument) {
    const std::string nowhere = m_folder.file("missing-folder/V.odv");
    m_doc.insert(item(1, "a"));
    const LogSaveResult result = m_doc.save(nowhere);
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.message.rfind("Save ERROR 205!\nUnable save database\n", 0), 0u) << result.message;
    EXPECT_NE(result.message.find(nowhere), std::string::npos);
    EXPECT_EQ(m_doc.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}
