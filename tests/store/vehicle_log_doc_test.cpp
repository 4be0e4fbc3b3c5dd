#include "store/vehicle_log_doc.h"

#include "log_file_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using logtest::Bytes;
using logtest::filledItem;
using logtest::readFile;
using logtest::TempFolder;
using logtest::writeFile;

namespace {

std::unique_ptr<CDVItem> item(double odometer, std::string note = {}) {
    return std::make_unique<CDVItem>(CDVItem{.Odometer = odometer, .Note = std::move(note)});
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
TEST(VehicleLogFileBytes, InsertKeepsOdometerOrder) {
    using Notes = std::vector<std::string>;
    const std::pair<double, const char*> adds[] = {{100, "a"},  {300, "c"}, {200, "b1"},
                                                   {200, "b2"}, {400, "d"}, {50, "z"}};
    CVehicleLogDoc doc, ahead, back;
    std::vector<std::size_t> aheadIndexes;
    for (const auto& [odometer, note] : adds) {
        auto r = item(odometer, note);
        const CDVItem* added = r.get();
        const auto index = static_cast<long>(doc.insert(std::move(r)));
        EXPECT_EQ(doc.indexOf(added), index);
        aheadIndexes.push_back(ahead.insertBeforeEqual(item(odometer, note)));
    }
    EXPECT_EQ(notes(doc), (Notes{"z", "a", "b1", "b2", "c", "d"}));
    EXPECT_EQ(notes(ahead), (Notes{"z", "a", "b2", "b1", "c", "d"}));
    EXPECT_EQ(aheadIndexes, (std::vector<std::size_t>{0, 1, 1, 1, 4, 0}));
    ASSERT_TRUE(back.decode(doc.encode(), nullptr)); // the file keeps list order
    EXPECT_EQ(notes(back), notes(doc));
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
    EXPECT_EQ(loaded.status, LogLoadStatus::Missing);
    EXPECT_EQ(loaded.message, "");
    EXPECT_EQ(m_doc.size(), 0u);
    m_doc.insert(item(10, "first"));
    ASSERT_TRUE(m_doc.save(m_path).saved);
    EXPECT_EQ(readFile(m_path), m_doc.encode());

    // Not in a missing or read-only folder (folder permissions do not bind root).
    const std::string locked = m_folder.file("locked");
    ASSERT_EQ(::mkdir(locked.c_str(), 0555), 0);
    for (const std::string& folder : {m_folder.file("no/such"), ::geteuid() ? locked : m_folder.file("x/y")}) {
        const std::string path = folder + "/V.odv";
        const LogLoadResult refused = m_doc.load(path);
        EXPECT_EQ(refused.status, LogLoadStatus::CannotCreate) << folder;
        EXPECT_FALSE(refused.ok());
        EXPECT_EQ(refused.message, "ERROR 2105!\nUnable create database\nPlease check your setup.\n"
                                   "If the problem persists\ncontact Quorvane Support at\nsupport@odrivo.org");
        EXPECT_EQ(m_doc.blockedPath(), "");
        m_doc.insert(item(1, "a"));
        const LogSaveResult result = m_doc.save(path);
        EXPECT_FALSE(result.saved);
        EXPECT_EQ(result.message.rfind("Save ERROR 205!\nUnable save database\n", 0), 0u) << result.message;
        EXPECT_NE(result.message.find(path), std::string::npos);
        EXPECT_EQ(m_doc.size(), 1u);
        EXPECT_FALSE(std::filesystem::exists(path));
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
