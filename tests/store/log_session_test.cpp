#include "store/log_session.h"

#include "log_file_bytes.h"

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
    CDVItem e;
    std::tie(e.Icon, e.EntryType, e.Odometer, e.Note, e.EndOdometer) =
        std::tuple(type, type, odometer, note, endOdometer);
    return e;
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
    const std::string before = fileBytes();
    const auto made = [](std::int32_t type, const char* text, std::int32_t reserved) {
        CDVItem e;
        std::tie(e.Icon, e.EntryType, e.Odometer, e.Date, e.Entry, e.Reserved1) =
            std::tuple(type, type, 1200.5, kToday, text, reserved);
        return e;
    };
    const CDVItem expected[] = {made(0, "", 99), made(1, "", 99), made(2, "Trip", 0)};
    for (std::int32_t type = 0; type < 3; ++type) {
        EXPECT_EQ(*m_session.newEntry(type), expected[type]);
        // The dialog is shown that record through the slot of its type; what it changed before
        // Cancel is not added, though a cancelled trip is saved and reloaded all the same.
        ScriptedEditor editor(m_session, false, setOdometer(500, "cancelled"));
        const SessionResult result = m_session.addEntry(type, editor);
        EXPECT_EQ(std::tie(editor.shown, editor.inSlot), std::tuple(std::vector{expected[type]}, std::vector{true}));
        EXPECT_EQ(std::tuple(result.changed, result.message, m_session.entryInEdit(type), fileBytes()),
                  std::tuple(type == CDVItem::Trip, "", nullptr, before))
            << type;
        EXPECT_EQ(notes(), Notes{""});
    }
    EXPECT_EQ(std::tuple(m_session.newEntry(3), m_session.entryInEdit(-1)), std::tuple(nullptr, nullptr));
}

TEST_F(LogSession, AddedEntriesGoInOdometerOrderAndFuelAndRepairNeedOneUnit) {
    ASSERT_TRUE(m_session.reload().ok()); // no file yet: an empty log
    const std::tuple<std::int32_t, double, const char*, bool> adds[] = {
        {CDVItem::Fuel, 0.99, "fuel 0.99", false}, {CDVItem::Repair, 0.5, "repair 0.5", false},
        {CDVItem::Trip, 0, "trip 0", true},        {CDVItem::Fuel, 100, "fuel 100", true},
        {CDVItem::Repair, 1, "repair 1", true},    {CDVItem::Trip, 100, "trip 100", true},
        {CDVItem::Fuel, 75, "fuel 75", true},      {CDVItem::Repair, 100, "repair 100", true}};
    bool saved = false; // nothing is saved for a dropped entry
    for (const auto& [type, odometer, note, kept] : adds) {
        ScriptedEditor editor(m_session, true, setOdometer(odometer, note));
        const SessionResult result = m_session.addEntry(type, editor);
        saved = saved || kept;
        EXPECT_EQ(std::tuple(result.changed, result.message, m_session.entryInEdit(type),
                             fs::exists(m_session.dataFilePath())),
                  std::tuple(kept, "", nullptr, saved))
            << note;
    }
    // Equal odometers keep the order in which they were added.
    EXPECT_EQ(notes(), (Notes{"trip 0", "repair 1", "fuel 75", "fuel 100", "trip 100", "repair 100"}));
}

TEST_F(LogSession, EditChangesTheRecordInPlaceDeleteRemovesIt) {
    writeLogAndReload({entry(CDVItem::Fuel, 10, "a"), entry(CDVItem::Repair, 20, "b"), entry(CDVItem::Trip, 30, "c")});
    // An odometer edited past the others does not move the record; Cancel still saves and reloads.
    ScriptedEditor editor(m_session, true, setOdometer(45, "a2")), cancel(m_session, false), never(m_session, true);
    EXPECT_TRUE(m_session.editEntry(0, editor).changed);
    EXPECT_TRUE(m_session.editEntry(2, cancel).changed);
    EXPECT_EQ(std::tuple(editor.shown.at(0).Note, editor.inSlot, cancel.inSlot),
              std::tuple("a", std::vector{true}, std::vector{true}));
    EXPECT_EQ(std::tuple(m_session.entryInEdit(CDVItem::Fuel), m_session.entryInEdit(CDVItem::Trip)),
              std::tuple(nullptr, nullptr));
    EXPECT_EQ(notes(), (Notes{"a2", "b", "c"}));
    EXPECT_EQ(m_session.currentOdometer(), 45);
    // Past the end: nothing shown, nothing changed.
    EXPECT_FALSE(m_session.editEntry(3, never).changed);
    EXPECT_TRUE(never.shown.empty());
    EXPECT_FALSE(m_session.deleteEntry(3).changed);
    EXPECT_TRUE(m_session.deleteEntry(0).changed);
    EXPECT_EQ(notes(), (Notes{"b", "c"}));
}

TEST_F(LogSession, EmptyVinBecomesUnknownAndOneLeavingTheDataFolderIsRefused) {
    m_session.setVin("");
    ASSERT_TRUE(m_session.reload().ok());
    ScriptedEditor editor(m_session, true, setOdometer(12));
    ASSERT_TRUE(m_session.addEntry(CDVItem::Repair, editor).changed);
    EXPECT_EQ(std::tuple(m_session.vin(), m_session.dataFilePath(), fs::exists(m_dir.file(".odv"))),
              std::tuple("UnKnown", m_dir.file("UnKnown.odv"), false));
    // After a restart or a switch back the VIN in the settings is still empty: the log is found.
    CLogSession again;
    again.setDataFolder(m_dir.path());
    ASSERT_EQ(again.reload().status, LogLoadStatus::Loaded);
    EXPECT_EQ(again.doc().size(), 1u);
    // A VIN that would leave the data folder names no file.
    for (const char* vin : {"../escape", "/etc/x", ".", "..", "a/b", "bad\nname", "tab\tvin", "del\x7f"}) {
        m_session.setVin(vin);
        const LogLoadResult loaded = m_session.reload();
        const bool named = loaded.message.find("outside the data folder") != std::string::npos;
        EXPECT_EQ(std::tuple(loaded.status, named, m_session.save().saved, m_session.saveAndReload().message),
                  std::tuple(LogLoadStatus::Unreadable, true, false, loaded.message)) // reported once, not twice
            << vin;
    }
    m_session.setVin("..VIN.."); // dots inside a name stay in the folder
    EXPECT_TRUE(m_session.reload().ok());
    EXPECT_TRUE(m_session.save().saved);
    EXPECT_TRUE(fs::exists(m_dir.file("..VIN...odv")));
}

TEST_F(LogSession, UnreadableFileIsNeitherOverwrittenNorLost) {
    const std::string damaged = logtest::Bytes().u16(2).firstHeader().u8(1).u8(2);
    logtest::writeFile(m_session.dataFilePath(), damaged);
    const LogLoadResult loaded = m_session.reload();
    EXPECT_EQ(loaded.status, LogLoadStatus::Corrupt);
    EXPECT_NE(loaded.message.find(m_session.dataFilePath()), std::string::npos);
    // Memory follows the file, which holds nothing readable.
    const auto expectRefused = [&](const SessionResult& r) {
        EXPECT_EQ(std::tuple(r.changed, r.message.find(m_session.dataFilePath()) != std::string::npos, fileBytes(),
                             m_session.doc().size()),
                  std::tuple(true, true, damaged, 0u))
            << r.message;
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
    // An arrival counts when above its departure and every other reading.
    const std::pair<std::vector<CDVItem>, double> cases[] = {
        {{entry(CDVItem::Fuel, 300), entry(CDVItem::Trip, 400, "", 480.5), entry(CDVItem::Repair, 450)}, 480.5},
        {{entry(CDVItem::Fuel, 500), entry(CDVItem::Trip, 400, "", 350)}, 500},
        {{entry(CDVItem::Trip, 400, "", 350)}, 400},
        {{entry(CDVItem::Trip, 400, "", 450), entry(CDVItem::Fuel, 470)}, 470}};
    for (const auto& [entries, expected] : cases) {
        writeLogAndReload(entries);
        EXPECT_EQ(m_session.currentOdometer(), expected);
    }
    // A reload for the view refresh, which sets the odometer itself, leaves it alone.
    m_session.setCurrentOdometer(7);
    ASSERT_TRUE(m_session.reload(CLogSession::Odometer::LeaveToCaller).ok());
    EXPECT_EQ(m_session.currentOdometer(), 7);
}

// A record being added is not in the document, so a reload keeps it in its slot; a record of
// the document is deleted by the reload, and its slot is emptied.
TEST_F(LogSession, ReloadDuringAnEditNeverLeavesADanglingSlot) {
    writeLogAndReload({entry(CDVItem::Fuel, 10, "a")});
    std::vector<bool> inSlotAfterReload;
    const auto reload = [&](CDVItem& item) {
        m_session.reload();
        inSlotAfterReload.push_back(m_session.entryInEdit(CDVItem::Fuel) == &item);
    };
    ScriptedEditor add(m_session, true, reload), edit(m_session, false, reload);
    EXPECT_TRUE(m_session.addEntry(CDVItem::Fuel, add).changed);
    EXPECT_EQ(notes(), (Notes{"a", ""}));
    m_session.editEntry(0, edit);
    EXPECT_EQ(inSlotAfterReload, (std::vector<bool>{true, false}));
}
