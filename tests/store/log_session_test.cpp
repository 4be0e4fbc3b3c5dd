#include "store/log_session.h"

#include "log_file_bytes.h"
#include "store/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
using Notes = std::vector<std::string>;

namespace {

constexpr std::time_t kToday = 1709647629;

// Stands in for an entry dialog: records what it was shown and whether that record was in
// the session's slot of its type, applies a scripted change and answers OK or Cancel.
struct ScriptedEditor : CEntryEditor {
    ScriptedEditor(
        CLogSession& session, bool answer, std::function<void(CDVItem&)> change = [](CDVItem&) {})
        : session(session), answer(answer), change(std::move(change)) {}
    bool edit(CDVItem& item) override {
        shown.push_back(item);
        inSlot.push_back(session.entryInEdit(item.EntryType) == &item);
        change(item);
        return answer;
    }
    CLogSession& session;
    bool answer;
    std::function<void(CDVItem&)> change;
    std::vector<CDVItem> shown;
    std::vector<bool> inSlot;
};

// What a dialog does when it saves: its field values, and Reserved1 back to 0.
std::function<void(CDVItem&)> setOdometer(double odometer, std::string note = {}) {
    return [=](CDVItem& item) { std::tie(item.Odometer, item.Note, item.Reserved1) = std::tuple(odometer, note, 0); };
}

CDVItem entry(std::int32_t type, double odometer, std::string note = {}, double endOdometer = 0) {
    return {.Icon = type, .EntryType = type, .Odometer = odometer, .Note = note, .EndOdometer = endOdometer};
}

class LogSession : public ::testing::Test {
protected:
    void SetUp() override {
        m_session.setDataFolder(m_dir.path());
        m_session.setVin("1FTRX18W");
        m_session.setToday(kToday);
    }

    void writeLogAndReload(const std::vector<CDVItem>& items) {
        CVehicleLogDoc doc;
        for (const CDVItem& item : items)
            doc.append(std::make_unique<CDVItem>(item));
        ASSERT_TRUE(doc.save(m_session.dataFilePath()).saved);
        ASSERT_TRUE(m_session.reload().ok());
    }

    // The notes in memory, after checking that memory equals the file.
    Notes notes() const {
        CVehicleLogDoc file;
        EXPECT_EQ(file.load(m_session.dataFilePath()).status, LogLoadStatus::Loaded);
        EXPECT_EQ(file.encode(), m_session.doc().encode()) << "memory differs from the file";
        Notes out;
        for (const auto& item : m_session.doc().entries())
            out.push_back(item->Note);
        return out;
    }

    std::string fileBytes() const { return logtest::readFile(m_session.dataFilePath()); }

    logtest::TempFolder m_dir;
    CLogSession m_session;
};

} // namespace

TEST_F(LogSession, NewEntriesCarryTheAddCommandsDefaultsAndCancelAddsNothing) {
    writeLogAndReload({entry(CDVItem::Fuel, 1200.5)});
    const CDVItem expected[] = {{.Odometer = 1200.5, .Date = kToday, .Reserved1 = 99},
                                {.Icon = 1, .EntryType = 1, .Odometer = 1200.5, .Date = kToday, .Reserved1 = 99},
                                {.Icon = 2, .EntryType = 2, .Odometer = 1200.5, .Date = kToday, .Entry = "Trip"}};
    for (std::int32_t type = 0; type < 3; ++type) {
        SCOPED_TRACE(type);
        EXPECT_EQ(*m_session.newEntry(type), expected[type]);
        // The dialog is shown the same record, through the slot of its type. Even a dialog
        // that changed its record before Cancel adds nothing.
        const std::string before = fileBytes();
        ScriptedEditor editor(m_session, false, setOdometer(500, "cancelled"));
        const SessionResult result = m_session.addEntry(type, editor);
        EXPECT_EQ(editor.shown, std::vector<CDVItem>{expected[type]});
        EXPECT_EQ(editor.inSlot, std::vector<bool>{true});
        EXPECT_EQ(m_session.entryInEdit(type), nullptr);
        // A cancelled trip is saved and reloaded all the same.
        EXPECT_EQ(result.changed, type == CDVItem::Trip);
        EXPECT_EQ(result.message, "");
        EXPECT_EQ(fileBytes(), before);
        EXPECT_EQ(notes(), Notes{""});
    }
    EXPECT_EQ(m_session.newEntry(3), nullptr);
    EXPECT_EQ(m_session.entryInEdit(-1), nullptr);
}

TEST_F(LogSession, AddedEntriesGoInOdometerOrderAndFuelAndRepairNeedOneUnit) {
    ASSERT_TRUE(m_session.reload().ok()); // no file yet: an empty log
    const struct {
        std::int32_t type;
        double odometer;
        const char* note;
        bool kept;
    } adds[] = {{CDVItem::Fuel, 0.99, "fuel 0.99", false}, {CDVItem::Repair, 0.5, "repair 0.5", false},
                {CDVItem::Trip, 0, "trip 0", true},        {CDVItem::Fuel, 100, "fuel 100", true},
                {CDVItem::Repair, 1, "repair 1", true},    {CDVItem::Trip, 100, "trip 100", true},
                {CDVItem::Fuel, 75, "fuel 75", true},      {CDVItem::Repair, 100, "repair 100", true}};
    bool saved = false;
    for (const auto& add : adds) {
        SCOPED_TRACE(add.note);
        ScriptedEditor editor(m_session, true, setOdometer(add.odometer, add.note));
        const SessionResult result = m_session.addEntry(add.type, editor);
        saved = saved || add.kept;
        EXPECT_EQ(result.changed, add.kept);
        EXPECT_EQ(result.message, "");
        EXPECT_EQ(m_session.entryInEdit(add.type), nullptr);
        EXPECT_EQ(fs::exists(m_session.dataFilePath()), saved) << "nothing is saved for a dropped entry";
    }
    // Equal odometers keep the order in which they were added.
    EXPECT_EQ(notes(), (Notes{"trip 0", "repair 1", "fuel 75", "fuel 100", "trip 100", "repair 100"}));
    EXPECT_EQ(m_session.currentOdometer(), 100);
}

TEST_F(LogSession, EditChangesTheRecordInPlaceDeleteRemovesIt) {
    writeLogAndReload({entry(CDVItem::Fuel, 10, "a"), entry(CDVItem::Repair, 20, "b"), entry(CDVItem::Trip, 30, "c")});
    // An odometer edited past the others does not move the record.
    ScriptedEditor editor(m_session, true, setOdometer(45, "a2"));
    EXPECT_TRUE(m_session.editEntry(0, editor).changed);
    EXPECT_EQ(editor.inSlot, std::vector<bool>{true});
    EXPECT_EQ(editor.shown.at(0).Note, "a");
    EXPECT_EQ(m_session.entryInEdit(CDVItem::Fuel), nullptr);
    EXPECT_EQ(notes(), (Notes{"a2", "b", "c"}));
    EXPECT_EQ(m_session.currentOdometer(), 45);

    // Cancel: saved and reloaded, unchanged. Past the end: nothing shown.
    ScriptedEditor cancel(m_session, false), never(m_session, true);
    EXPECT_TRUE(m_session.editEntry(2, cancel).changed);
    EXPECT_EQ(cancel.inSlot, std::vector<bool>{true});
    EXPECT_EQ(m_session.entryInEdit(CDVItem::Trip), nullptr);
    EXPECT_FALSE(m_session.editEntry(3, never).changed);
    EXPECT_TRUE(never.shown.empty());

    EXPECT_FALSE(m_session.deleteEntry(3).changed);
    EXPECT_TRUE(m_session.deleteEntry(0).changed);
    EXPECT_EQ(notes(), (Notes{"b", "c"}));
    EXPECT_EQ(m_session.currentOdometer(), 30);
}

TEST_F(LogSession, EmptyVinBecomesUnknownAtTheFirstSave) {
    m_session.setVin("");
    ASSERT_TRUE(m_session.reload().ok());
    ScriptedEditor editor(m_session, true, setOdometer(12));
    ASSERT_TRUE(m_session.addEntry(CDVItem::Repair, editor).changed);
    EXPECT_EQ(m_session.vin(), "UnKnown");
    EXPECT_EQ(m_session.dataFilePath(), m_dir.file("UnKnown.odv"));
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
    for (const char* vin : {"../escape", "/etc/x", ".", "..", "sub/VIN", "bad\nname", "tab\tvin", "del\x7f"}) {
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
        EXPECT_EQ(m_session.doc().size(), 0u); // memory follows the file, which holds nothing readable
    };
    ScriptedEditor add(m_session, true, setOdometer(100));
    expectRefused(m_session.addEntry(CDVItem::Fuel, add));
    // Records that reached memory some other way are not saved over the file either.
    m_session.doc().append(std::make_unique<CDVItem>(entry(CDVItem::Repair, 5)));
    ScriptedEditor edit(m_session, true, setOdometer(6));
    expectRefused(m_session.editEntry(0, edit));
    EXPECT_EQ(m_session.entryInEdit(CDVItem::Repair), nullptr);
    m_session.doc().append(std::make_unique<CDVItem>(entry(CDVItem::Repair, 5)));
    expectRefused(m_session.deleteEntry(0));
}

TEST_F(LogSession, CurrentOdometerIsTheHighestDepartureOrArrival) {
    const CDVItem fuel300 = entry(CDVItem::Fuel, 300), fuel470 = entry(CDVItem::Fuel, 470);
    const std::pair<std::vector<CDVItem>, double> cases[] = {
        {{fuel300, entry(CDVItem::Repair, 900), entry(CDVItem::Fuel, 500)}, 900},
        {{fuel300, entry(CDVItem::Trip, 400, "", 480.5)}, 480.5},
        {{entry(CDVItem::Trip, 400, "", 350)}, 400}, // an arrival below its departure does not count
        {{entry(CDVItem::Trip, 400, "", 450), fuel470}, 470},
        {{entry(CDVItem::Trip, 400, "", 500), fuel470}, 500}};
    for (const auto& [entries, expected] : cases) {
        writeLogAndReload(entries);
        EXPECT_EQ(m_session.currentOdometer(), expected);
        EXPECT_EQ(m_session.newEntry(CDVItem::Fuel)->Odometer, expected);
    }
}

TEST_F(LogSession, ReloadDuringAnEditNeverLeavesADanglingSlot) {
    writeLogAndReload({entry(CDVItem::Fuel, 10, "a")});
    // A record being added is not in the document, so a reload keeps it in its slot.
    ScriptedEditor add(m_session, true, [this](CDVItem& item) {
        m_session.reload();
        EXPECT_EQ(m_session.entryInEdit(CDVItem::Fuel), &item);
        setOdometer(20, "b")(item);
    });
    EXPECT_TRUE(m_session.addEntry(CDVItem::Fuel, add).changed);
    EXPECT_EQ(notes(), (Notes{"a", "b"}));

    // A record of the document is deleted by the reload, and its slot is emptied.
    bool cleared = false;
    ScriptedEditor edit(m_session, false, [this, &cleared](CDVItem&) {
        m_session.reload();
        cleared = m_session.entryInEdit(CDVItem::Fuel) == nullptr;
    });
    m_session.editEntry(0, edit);
    EXPECT_TRUE(cleared);
}
