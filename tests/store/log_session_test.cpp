#include "store/log_session.h"

#include "log_file_bytes.h"
#include "store/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

namespace fs = std::filesystem;
using logtest::readFile;
using logtest::TempFolder;

namespace {

constexpr std::time_t kToday = 1709647629;

// Stands in for an entry dialog: records what it was shown and whether that record was in
// the session's slot of its type, applies a scripted change and answers OK or Cancel.
class ScriptedEditor : public CEntryEditor {
public:
    ScriptedEditor(CLogSession& session, bool answer, std::function<void(CDVItem&)> change = {})
        : m_session(session), m_answer(answer), m_change(std::move(change)) {}

    bool edit(CDVItem& item) override {
        shown.push_back(item);
        inSlot.push_back(m_session.entryInEdit(item.EntryType) == &item);
        if (m_change)
            m_change(item);
        return m_answer;
    }

    std::vector<CDVItem> shown;
    std::vector<bool> inSlot;

private:
    CLogSession& m_session;
    bool m_answer;
    std::function<void(CDVItem&)> m_change;
};

// What a dialog does when it saves: its field values, and Reserved1 back to 0.
std::function<void(CDVItem&)> setOdometer(double odometer, std::string note = {}) {
    return [odometer, note](CDVItem& item) {
        item.Odometer = odometer;
        item.Note = note;
        item.Reserved1 = 0;
    };
}

CDVItem entry(std::int32_t type, double odometer, std::string note = {}, double endOdometer = 0) {
    CDVItem item;
    item.Icon = type;
    item.EntryType = type;
    item.Odometer = odometer;
    item.EndOdometer = endOdometer;
    item.Note = std::move(note);
    return item;
}

class LogSession : public ::testing::Test {
protected:
    void SetUp() override {
        m_session.setDataFolder(m_dir.path());
        m_session.setVin("1FTRX18W");
        m_session.setToday(kToday);
    }

    void writeLog(const std::vector<CDVItem>& items) {
        CVehicleLogDoc doc;
        for (const CDVItem& item : items)
            doc.append(std::make_unique<CDVItem>(item));
        ASSERT_TRUE(doc.save(m_session.dataFilePath()).saved);
    }

    std::vector<CDVItem> fileEntries() const {
        CVehicleLogDoc doc;
        EXPECT_EQ(doc.load(m_session.dataFilePath()).status, LogLoadStatus::Loaded);
        return copies(doc);
    }

    static std::vector<CDVItem> copies(const CVehicleLogDoc& doc) {
        std::vector<CDVItem> out;
        for (const auto& item : doc.entries())
            out.push_back(*item);
        return out;
    }

    std::vector<std::string> notesInMemory() const {
        std::vector<std::string> out;
        for (const auto& item : m_session.doc().entries())
            out.push_back(item->Note);
        return out;
    }

    std::string fileBytes() const { return readFile(m_session.dataFilePath()); }

    TempFolder m_dir;
    CLogSession m_session;
};

} // namespace

TEST_F(LogSession, NewEntriesCarryTheAddCommandsDefaults) {
    writeLog({entry(CDVItem::Fuel, 1200.5)});
    ASSERT_TRUE(m_session.reload().ok());

    CDVItem fuel;
    fuel.Odometer = 1200.5;
    fuel.Date = kToday;
    fuel.Reserved1 = 99;
    CDVItem repair = fuel;
    repair.Icon = 1;
    repair.EntryType = 1;
    CDVItem trip;
    trip.Icon = 2;
    trip.EntryType = 2;
    trip.Odometer = 1200.5;
    trip.Date = kToday;
    trip.Entry = "Trip";
    const CDVItem expected[] = {fuel, repair, trip};

    for (std::int32_t type = 0; type < 3; ++type) {
        SCOPED_TRACE(type);
        EXPECT_EQ(*m_session.newEntry(type), expected[type]);
        // The dialog is shown the same record, through the slot of its type. Even a dialog
        // that changed its record before Cancel adds nothing.
        const std::string before = fileBytes();
        ScriptedEditor editor(m_session, false, setOdometer(500, "cancelled"));
        const SessionResult result = m_session.addEntry(type, editor);
        ASSERT_EQ(editor.shown.size(), 1u);
        EXPECT_EQ(editor.shown[0], expected[type]);
        EXPECT_TRUE(editor.inSlot[0]);
        EXPECT_EQ(m_session.entryInEdit(type), nullptr);
        // A cancelled trip is saved and reloaded all the same.
        EXPECT_EQ(result.changed, type == CDVItem::Trip);
        EXPECT_EQ(result.message, "");
        EXPECT_EQ(fileBytes(), before);
        EXPECT_EQ(notesInMemory(), std::vector<std::string>{""});
    }
    EXPECT_EQ(m_session.newEntry(3), nullptr);
    EXPECT_EQ(m_session.entryInEdit(-1), nullptr);
}

TEST_F(LogSession, AddedEntriesGoInOdometerOrderAndMemoryEqualsTheFile) {
    ASSERT_TRUE(m_session.reload().ok()); // no file yet: an empty log
    const struct {
        std::int32_t type;
        double odometer;
        const char* note;
    } adds[] = {{CDVItem::Fuel, 100, "fuel 100"},
                {CDVItem::Repair, 50, "repair 50"},
                {CDVItem::Trip, 100, "trip 100"},
                {CDVItem::Fuel, 75, "fuel 75"},
                {CDVItem::Repair, 100, "repair 100"}};
    for (const auto& add : adds) {
        ScriptedEditor editor(m_session, true, setOdometer(add.odometer, add.note));
        const SessionResult result = m_session.addEntry(add.type, editor);
        EXPECT_TRUE(result.changed) << add.note;
        EXPECT_EQ(result.message, "") << add.note;
        EXPECT_EQ(m_session.entryInEdit(add.type), nullptr);
    }
    // Equal odometers keep the order in which they were added.
    const std::vector<std::string> expected{"repair 50", "fuel 75", "fuel 100", "trip 100", "repair 100"};
    EXPECT_EQ(notesInMemory(), expected);
    EXPECT_EQ(copies(m_session.doc()), fileEntries());
    EXPECT_EQ(m_session.currentOdometer(), 100);
}

TEST_F(LogSession, FuelAndRepairNeedAtLeastOneOdometerUnit) {
    const struct {
        std::int32_t type;
        double odometer;
        bool kept;
    } cases[] = {{CDVItem::Fuel, 0, false},
                 {CDVItem::Fuel, 0.99, false},
                 {CDVItem::Repair, 0, false},
                 {CDVItem::Repair, 0.5, false},
                 {CDVItem::Fuel, 1.0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.odometer);
        ScriptedEditor editor(m_session, true, setOdometer(c.odometer));
        EXPECT_EQ(m_session.addEntry(c.type, editor).changed, c.kept);
        EXPECT_EQ(m_session.entryInEdit(c.type), nullptr);
        EXPECT_EQ(m_session.doc().size(), c.kept ? 1u : 0u);
        EXPECT_EQ(fs::exists(m_session.dataFilePath()), c.kept) << "nothing is saved for a dropped entry";
    }
}

TEST_F(LogSession, EditChangesTheRecordInPlace) {
    writeLog({entry(CDVItem::Fuel, 10, "a"), entry(CDVItem::Repair, 20, "b"), entry(CDVItem::Trip, 30, "c")});
    ASSERT_TRUE(m_session.reload().ok());

    // An odometer edited past the others does not move the record.
    ScriptedEditor editor(m_session, true, setOdometer(45, "a2"));
    const SessionResult result = m_session.editEntry(0, editor);
    EXPECT_TRUE(result.changed);
    ASSERT_EQ(editor.inSlot, std::vector<bool>{true});
    EXPECT_EQ(editor.shown[0].Note, "a");
    EXPECT_EQ(m_session.entryInEdit(CDVItem::Fuel), nullptr);
    EXPECT_EQ(notesInMemory(), (std::vector<std::string>{"a2", "b", "c"}));
    EXPECT_EQ(copies(m_session.doc()), fileEntries());
    EXPECT_EQ(m_session.currentOdometer(), 45);

    // Cancel: saved and reloaded, unchanged.
    ScriptedEditor cancel(m_session, false);
    EXPECT_TRUE(m_session.editEntry(2, cancel).changed);
    EXPECT_EQ(cancel.inSlot, std::vector<bool>{true});
    EXPECT_EQ(m_session.entryInEdit(CDVItem::Trip), nullptr);
    EXPECT_EQ(notesInMemory(), (std::vector<std::string>{"a2", "b", "c"}));

    ScriptedEditor never(m_session, true);
    EXPECT_FALSE(m_session.editEntry(3, never).changed);
    EXPECT_TRUE(never.shown.empty());
}

TEST_F(LogSession, DeleteRemovesTheRecordFromMemoryAndFile) {
    writeLog({entry(CDVItem::Fuel, 10, "a"), entry(CDVItem::Repair, 20, "b"), entry(CDVItem::Trip, 30, "c", 80)});
    ASSERT_TRUE(m_session.reload().ok());
    EXPECT_EQ(m_session.currentOdometer(), 80);

    EXPECT_FALSE(m_session.deleteEntry(3).changed);
    EXPECT_EQ(m_session.doc().size(), 3u);

    EXPECT_TRUE(m_session.deleteEntry(2).changed);
    EXPECT_EQ(notesInMemory(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(copies(m_session.doc()), fileEntries());
    EXPECT_EQ(m_session.currentOdometer(), 20);

    EXPECT_TRUE(m_session.deleteEntry(0).changed);
    EXPECT_TRUE(m_session.deleteEntry(0).changed);
    EXPECT_TRUE(fileEntries().empty());
}

TEST_F(LogSession, EmptyVinBecomesUnknownAtTheFirstSave) {
    m_session.setVin("");
    ASSERT_TRUE(m_session.reload().ok());
    ScriptedEditor editor(m_session, true, setOdometer(12));
    ASSERT_TRUE(m_session.addEntry(CDVItem::Repair, editor).changed);

    EXPECT_EQ(m_session.vin(), "UnKnown");
    EXPECT_EQ(m_session.dataFilePath(), m_dir.file("UnKnown.odv"));
    EXPECT_TRUE(fs::exists(m_dir.file("UnKnown.odv")));
    EXPECT_FALSE(fs::exists(m_dir.file(".odv")));
    EXPECT_EQ(m_session.doc().size(), 1u);

    // After a restart or a switch back the VIN in the settings is still empty: the log is found.
    CLogSession again;
    again.setDataFolder(m_dir.path());
    ASSERT_EQ(again.reload().status, LogLoadStatus::Loaded);
    EXPECT_EQ(again.doc().size(), 1u);
}

TEST_F(LogSession, VinThatWouldLeaveTheDataFolderIsRefused) {
    ASSERT_TRUE(fs::create_directory(m_dir.file("sub")));
    for (const char* vin : {"../escape", "/etc/x", ".", "..", "sub/VIN", "bad\nname", "tab\tvin"}) {
        SCOPED_TRACE(vin);
        m_session.setVin(vin);
        const LogLoadResult loaded = m_session.reload();
        EXPECT_EQ(loaded.status, LogLoadStatus::Unreadable);
        EXPECT_NE(loaded.message.find("outside the data folder"), std::string::npos) << loaded.message;
        EXPECT_FALSE(m_session.save().saved);
    }
    m_session.setVin("..VIN.."); // dots inside a name stay in the folder
    EXPECT_TRUE(m_session.reload().ok());
    EXPECT_TRUE(m_session.save().saved);
    EXPECT_EQ(fs::directory_iterator(m_dir.file("sub")), fs::directory_iterator());
    EXPECT_TRUE(fs::exists(m_dir.file("..VIN...odv")));
}

TEST_F(LogSession, UnreadableFileIsNeitherOverwrittenNorLost) {
    const std::string damaged("\x02\x00\xFF\xFF\x01\x00\x07\x00"
                              "CDVItem\x01\x02",
                              17);
    ASSERT_TRUE(odrivo::writeFileAtomically(m_session.dataFilePath(), damaged));
    const LogLoadResult loaded = m_session.reload();
    EXPECT_EQ(loaded.status, LogLoadStatus::Corrupt);
    EXPECT_NE(loaded.message.find(m_session.dataFilePath()), std::string::npos);

    const auto expectRefused = [&](const SessionResult& result) {
        EXPECT_TRUE(result.changed);
        EXPECT_NE(result.message.find(m_session.dataFilePath()), std::string::npos) << result.message;
        EXPECT_EQ(fileBytes(), damaged);
        // Memory follows the file, which holds nothing readable.
        EXPECT_EQ(m_session.doc().size(), 0u);
    };

    ScriptedEditor add(m_session, true, setOdometer(100));
    expectRefused(m_session.addEntry(CDVItem::Fuel, add));
    EXPECT_EQ(m_session.entryInEdit(CDVItem::Fuel), nullptr);

    // Records that reached memory some other way are not saved over the file either.
    m_session.doc().append(std::make_unique<CDVItem>(entry(CDVItem::Repair, 5)));
    ScriptedEditor edit(m_session, true, setOdometer(6));
    expectRefused(m_session.editEntry(0, edit));
    EXPECT_EQ(edit.inSlot, std::vector<bool>{true});
    EXPECT_EQ(m_session.entryInEdit(CDVItem::Repair), nullptr);

    m_session.doc().append(std::make_unique<CDVItem>(entry(CDVItem::Repair, 5)));
    expectRefused(m_session.deleteEntry(0));
}

TEST_F(LogSession, CurrentOdometerIsTheHighestDepartureOrArrival) {
    const struct {
        const char* name;
        std::vector<CDVItem> entries;
        double expected;
    } cases[] = {
        {"empty", {}, 0},
        {"highest odometer wins, whatever the order",
         {entry(CDVItem::Fuel, 300), entry(CDVItem::Repair, 900), entry(CDVItem::Fuel, 500)},
         900},
        {"a trip's arrival", {entry(CDVItem::Fuel, 300), entry(CDVItem::Trip, 400, "", 480.5)}, 480.5},
        {"an arrival below its departure does not count", {entry(CDVItem::Trip, 400, "", 350)}, 400},
        {"an arrival below a later departure does not count",
         {entry(CDVItem::Trip, 400, "", 450), entry(CDVItem::Fuel, 470)},
         470},
        {"an arrival above a later departure counts",
         {entry(CDVItem::Trip, 400, "", 500), entry(CDVItem::Fuel, 470)},
         500},
        {"a negative arrival does not count", {entry(CDVItem::Trip, -50, "", -10)}, 0},
    };
    for (const auto& c : cases) {
        writeLog(c.entries);
        ASSERT_TRUE(m_session.reload().ok());
        EXPECT_EQ(m_session.currentOdometer(), c.expected) << c.name;
        EXPECT_EQ(m_session.newEntry(CDVItem::Fuel)->Odometer, c.expected) << c.name;
    }
}

TEST_F(LogSession, ReloadDuringAnEditNeverLeavesADanglingSlot) {
    writeLog({entry(CDVItem::Fuel, 10, "a")});
    ASSERT_TRUE(m_session.reload().ok());

    // A record being added is not in the document, so a reload keeps it in its slot.
    ScriptedEditor add(m_session, true, [this](CDVItem& item) {
        const CDVItem* before = m_session.entryInEdit(CDVItem::Fuel);
        m_session.reload();
        EXPECT_EQ(m_session.entryInEdit(CDVItem::Fuel), before);
        EXPECT_EQ(before, &item);
        item.Odometer = 20;
        item.Note = "b";
    });
    EXPECT_TRUE(m_session.addEntry(CDVItem::Fuel, add).changed);
    EXPECT_EQ(notesInMemory(), (std::vector<std::string>{"a", "b"}));

    // A record of the document is deleted by the reload, and its slot is emptied.
    bool cleared = false;
    ScriptedEditor edit(m_session, false, [this, &cleared](CDVItem&) {
        m_session.reload();
        cleared = m_session.entryInEdit(CDVItem::Fuel) == nullptr;
    });
    m_session.editEntry(0, edit);
    EXPECT_TRUE(cleared);
    EXPECT_EQ(notesInMemory(), (std::vector<std::string>{"a", "b"}));
}
