#include "store/vehicle_log_doc.h"

#include "log_file_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

using namespace logtest;

namespace {

std::unique_ptr<CDVItem> item(double odometer, std::string note = {}) {
    auto e = std::make_unique<CDVItem>();
    std::tie(e->Odometer, e->Note) = std::tuple(odometer, std::move(note));
    return e;
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
    CDVItem second;
    std::tie(second.Odometer, second.Entry) = std::tuple(20000, "Fuel");
    CVehicleLogDoc none, one, two;
    EXPECT_EQ(none.encode(), std::string(4, '\0'));
    EXPECT_EQ(fill(one, {first}).encode(), Bytes().u16(1).firstHeader().body(first).u16(0).str());
    const std::string twoBytes = Bytes().u16(2).firstHeader().body(first).classRef().body(second).u16(0);
    EXPECT_EQ(fill(two, {first, second}).encode(), twoBytes);
    // Bytes after the document, left by a longer file, are ignored.
    CVehicleLogDoc back;
    ASSERT_TRUE(back.decode(twoBytes + "leftover", nullptr));
    EXPECT_EQ(back.encode(), twoBytes);
}

TEST(VehicleLogFileBytes, DamagedFilesAreRejectedAndTheDocumentKept) {
    const std::string body = Bytes().body(filledItem());
    const std::string good = Bytes().u16(2).firstHeader().raw(body).classRef().raw(body).u16(0);
    const auto one = [&](Bytes header) { return header.raw(body).u16(0).str(); };
    const std::pair<std::string, std::string> cases[] = {
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
    for (const auto& [bytes, reason] : cases) {
        SCOPED_TRACE(reason);
        CVehicleLogDoc doc;
        doc.append(item(1, "kept"));
        std::string error;
        EXPECT_FALSE(doc.decode(bytes, &error));
        EXPECT_NE(error.find(reason), std::string::npos) << error;
        EXPECT_EQ(notes(doc), std::vector<std::string>{"kept"});
    }
}

// Decoding reads into the records a document already holds, whatever their number; texts in
// every stored form come back, and every cut of the bytes is refused with the document kept.
TEST(VehicleLogFileBytes, DecodeReplacesEveryRecordAndRefusesEveryCut) {
    CDVItem a = filledItem(), b = filledItem(), c = filledItem();
    a.Note = std::string(300, 'n'); // longer than a one-byte length
    std::tie(a.Station, a.Contact, a.Entry) = std::tuple("Caf\xC3\xA9", "\xCE\xA9mega", ""); // 1252, UTF-16
    std::tie(b.Odometer, b.Note, c.Purpose) = std::tuple(20000, "", "a purpose of more than fifteen bytes");
    CVehicleLogDoc three, one;
    const std::string threeBytes = fill(three, {a, b, c}).encode();
    const std::string oneBytes = fill(one, {b}).encode();
    CVehicleLogDoc doc;
    fill(doc, {*item(1, std::string(40, 'o')), *item(2, "old")});
    ASSERT_TRUE(doc.decode(threeBytes, nullptr));
    EXPECT_TRUE(doc.size() == 3 && doc.at(0) == a && doc.at(1) == b && doc.at(2) == c);
    ASSERT_TRUE(doc.decode(oneBytes, nullptr));
    EXPECT_TRUE(doc.size() == 1 && doc.at(0) == b);
    // The entry count in its longer forms.
    for (Bytes count : {Bytes().u16(0xFFFF).u32(1), Bytes().u16(0xFFFF).u32(0xFFFFFFFF).u64(1)}) {
        ASSERT_TRUE(doc.decode(count.firstHeader().body(c).u16(0).str(), nullptr));
        EXPECT_TRUE(doc.size() == 1 && doc.at(0) == c);
    }
    for (std::size_t length = 0; length < threeBytes.size(); ++length) {
        std::string error;
        ASSERT_FALSE(doc.decode(threeBytes.substr(0, length), &error)) << length;
        EXPECT_TRUE(error.starts_with(length == 0 ? "it is empty" : "it ends")) << error;
        ASSERT_TRUE(doc.size() == 1 && doc.at(0) == c);
    }
}

// insert() puts a record after those of an equal odometer, insertBeforeEqual() ahead of them.
TEST(VehicleLogFileBytes, InsertKeepsOdometerOrder) {
    using Notes = std::vector<std::string>;
    const std::pair<double, const char*> adds[] = {{100, "a"},  {300, "c"}, {200, "b1"},
                                                   {200, "b2"}, {400, "d"}, {50, "z"}};
    CVehicleLogDoc doc, ahead;
    std::vector<std::size_t> aheadIndexes;
    for (const auto& [odometer, note] : adds) {
        auto r = item(odometer, note);
        const CDVItem* added = r.get();
        const auto index = static_cast<long>(doc.insert(std::move(r)));
        EXPECT_EQ(doc.indexOf(added), index);
        aheadIndexes.push_back(ahead.insertBeforeEqual(item(odometer, note)));
    }
    EXPECT_FALSE(doc.remove(&ahead.at(0))); // a record of another document changes nothing
    EXPECT_EQ(notes(doc), (Notes{"z", "a", "b1", "b2", "c", "d"}));
    EXPECT_EQ(notes(ahead), (Notes{"z", "a", "b2", "b1", "c", "d"}));
    EXPECT_EQ(aheadIndexes, (std::vector<std::size_t>{0, 1, 1, 1, 4, 0}));
}

// insertAllBeforeEqual() must leave the very list that insertBeforeEqual() item by item does:
// sorted and unsorted lists, many equal readings, NaN in the list and among the items.
TEST(VehicleLogFileBytes, InsertAllBeforeEqualMatchesInsertingOneByOne) {
    std::mt19937 random(20261207);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int round = 0; round < 400; ++round) {
        const int kind = round % 4; // sorted list, unsorted, unsorted with NaN, NaN items too
        const auto reading = [&](bool nanAllowed) {
            const double r = static_cast<double>(random() % 12);
            return nanAllowed && random() % 8 == 0 ? nan : r;
        };
        std::vector<double> list(random() % 15), adds(random() % 15);
        for (double& r : list)
            r = reading(kind >= 2);
        for (double& r : adds)
            r = reading(kind == 3);
        if (kind == 0)
            std::sort(list.begin(), list.end());
        CVehicleLogDoc oneByOne, together;
        for (std::size_t i = 0; i < list.size(); ++i) {
            oneByOne.append(item(list[i], "L" + std::to_string(i)));
            together.append(item(list[i], "L" + std::to_string(i)));
        }
        CVehicleLogDoc::Entries items;
        for (std::size_t i = 0; i < adds.size(); ++i) {
            oneByOne.insertBeforeEqual(item(adds[i], "A" + std::to_string(i)));
            items.push_back(item(adds[i], "A" + std::to_string(i)));
        }
        together.insertAllBeforeEqual(std::move(items));
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_EQ(notes(together), notes(oneByOne));
    }
}

class VehicleLogFileOnDisk : public ::testing::Test {
protected:
    TempFolder m_folder;
    std::string m_path = m_folder.file("1FTRX18W1XKB12345.odv");
    CVehicleLogDoc m_doc;
};

TEST_F(VehicleLogFileOnDisk, MissingFileIsCreatedByTheFirstSaveWhereTheFolderAllows) {
    m_doc.append(item(9, "stale"));
    const LogLoadResult loaded = m_doc.load(m_path);
    EXPECT_EQ(std::tuple(loaded.status, loaded.message, m_doc.size()), std::tuple(LogLoadStatus::Missing, "", 0u));
    fill(m_doc, {*item(100, "a"), *item(200, "b"), *item(300, "c")});
    ASSERT_TRUE(m_doc.save(m_path).saved);
    const std::string before = readFile(m_path);
    EXPECT_EQ(before, m_doc.encode());
    // A shorter save keeps the old file's tail behind the new document, as an overwrite in place would.
    ASSERT_TRUE(m_doc.remove(&m_doc.at(1)));
    ASSERT_TRUE(m_doc.save(m_path).saved);
    const std::string shorter = m_doc.encode();
    EXPECT_EQ(readFile(m_path), shorter + before.substr(shorter.size()));
    // Not in a missing or read-only folder (folder permissions do not bind root).
    const std::string locked = m_folder.file("locked");
    ASSERT_EQ(::mkdir(locked.c_str(), 0555), 0);
    for (const std::string& folder : {m_folder.file("no/such"), ::geteuid() ? locked : m_folder.file("x/y")}) {
        const std::string path = folder + "/V.odv";
        const LogLoadResult refused = m_doc.load(path);
        EXPECT_EQ(std::tuple(refused.status, refused.ok(), m_doc.blockedPath()),
                  std::tuple(LogLoadStatus::CannotCreate, false, ""))
            << folder;
        EXPECT_EQ(refused.message, "ERROR 2105!\nUnable create database\nPlease check your setup.\n"
                                   "If the problem persists\ncontact Quorvane Support at\nsupport@odrivo.org");
        m_doc.insert(item(1, "a"));
        const LogSaveResult result = m_doc.save(path);
        EXPECT_EQ(result.message.rfind("Save ERROR 205!\nUnable save database\n", 0), 0u) << result.message;
        EXPECT_NE(result.message.find(path), std::string::npos);
        EXPECT_EQ(std::tuple(result.saved, m_doc.size(), std::filesystem::exists(path)), std::tuple(false, 1u, false));
    }
}

// A file larger than the reading window, with a text larger than the window too, loads whole;
// cut anywhere, it is refused for the reason decode() gives for the same bytes.
TEST_F(VehicleLogFileOnDisk, LargeFileIsReadWindowByWindow) {
    CVehicleLogDoc big;
    for (int i = 0; i < 3000; ++i)
        big.append(item(i, std::string(static_cast<std::size_t>(i % 300), static_cast<char>('a' + i % 26))));
    big.at(1500).Note = std::string(600000, 'x');
    big.at(2000).Contact = "\xCE\xA9mega";
    ASSERT_TRUE(big.save(m_path).saved);
    const std::string bytes = readFile(m_path);
    fill(m_doc, {*item(1, "old"), *item(2, "old")});
    ASSERT_EQ(m_doc.load(m_path).status, LogLoadStatus::Loaded);
    EXPECT_EQ(m_doc.encode(), bytes);
    // Saved shorter, piece by piece, it keeps the longer file's tail as in the small case.
    ASSERT_TRUE(m_doc.remove(&m_doc.at(1500)));
    ASSERT_TRUE(m_doc.save(m_path).saved);
    const std::string shorter = m_doc.encode();
    EXPECT_EQ(readFile(m_path), shorter + bytes.substr(shorter.size()));
    for (const std::size_t cut : {bytes.size() - 1, bytes.size() / 2, std::size_t{262145}, std::size_t{3}}) {
        writeFile(m_path, bytes.substr(0, cut));
        std::string reason;
        ASSERT_FALSE(CVehicleLogDoc().decode(bytes.substr(0, cut), &reason));
        const LogLoadResult loaded = m_doc.load(m_path);
        EXPECT_EQ(std::tuple(loaded.status, m_doc.size()), std::tuple(LogLoadStatus::Corrupt, 0u));
        EXPECT_NE(loaded.message.find(": " + reason + ".\n"), std::string::npos) << cut << loaded.message;
    }
}

// Texts of every length around the longest kept in place, plain or with a Windows-1252 letter
// first or last, come back from the file the same, in records in the middle and at its end.
TEST_F(VehicleLogFileOnDisk, ShortTextsOfEveryLengthComeBack) {
    CVehicleLogDoc saved;
    for (std::size_t length = 0; length <= 17; ++length) {
        for (const std::string accent : {"", "\xC3\xA9"}) {
            auto r = item(static_cast<double>(length), std::string(length, 'n'));
            r->Station = accent + std::string(length, 's');
            r->Entry = std::string(length, 'e') + accent;
            saved.append(std::move(r));
        }
    }
    ASSERT_TRUE(saved.save(m_path).saved);
    ASSERT_EQ(m_doc.load(m_path).status, LogLoadStatus::Loaded);
    ASSERT_EQ(m_doc.size(), saved.size());
    for (std::size_t i = 0; i < saved.size(); ++i)
        EXPECT_TRUE(m_doc.at(i) == saved.at(i)) << i << ": " << m_doc.at(i).Station << " " << m_doc.at(i).Entry;
}

// A file that exists but cannot be read as a log is not saved over until a later load succeeds.
TEST_F(VehicleLogFileOnDisk, UnreadableOrCorruptFileIsBlocked) {
    // A folder in the file's place cannot be read as a file, even by root.
    const std::string folder = m_folder.file("folder.odv");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    const LogLoadResult unreadable = m_doc.load(folder);
    EXPECT_EQ(unreadable.status, LogLoadStatus::Unreadable);
    EXPECT_EQ(unreadable.message.rfind("The data file " + folder + " could not be opened: ", 0), 0u);
    EXPECT_EQ(std::tuple(m_doc.blockedPath(), m_doc.save(folder).saved), std::tuple(folder, false));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    CVehicleLogDoc good;
    const std::string goodBytes = fill(good, {*item(1, "a"), *item(2, "b")}).encode();
    const std::string cut = goodBytes.substr(0, goodBytes.size() - 30);
    writeFile(m_path, cut);
    m_doc.insert(item(5, "unsaved"));
    const LogLoadResult corrupt = m_doc.load(m_path);
    EXPECT_EQ(std::tuple(corrupt.status, m_doc.size()), std::tuple(LogLoadStatus::Corrupt, 0u));
    EXPECT_EQ(corrupt.message.rfind("The data file " + m_path + " could not be read: it ends after 1 of 2 entries.\n" +
                                        "Odrivo has not changed it",
                                    0),
              0u)
        << corrupt.message;
    // Refused whatever the document holds; the file stays as it was, and another file can be saved.
    m_doc.insert(item(3, "new"));
    const LogSaveResult refused = m_doc.save(m_path);
    EXPECT_FALSE(refused.saved);
    EXPECT_NE(refused.message.find(m_path + " could not be read when the vehicle was opened"), std::string::npos);
    EXPECT_EQ(readFile(m_path), cut);
    EXPECT_TRUE(m_doc.save(m_folder.file("OTHER.odv")).saved);
    // Once the file is repaired, loading it lifts the block.
    writeFile(m_path, goodBytes);
    EXPECT_EQ(m_doc.load(m_path).status, LogLoadStatus::Loaded);
    EXPECT_TRUE(m_doc.save(m_path).saved);
    EXPECT_EQ(readFile(m_path), goodBytes);
}
