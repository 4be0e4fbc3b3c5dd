#include "store/pick_list.h"

#include "log_file_bytes.h"
#include "store/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;
using logtest::readFile;
using logtest::TempFolder;

namespace {

using Items = std::vector<std::string>;

class PickList : public ::testing::Test {
protected:
    void write(const std::string& bytes) const { ASSERT_TRUE(odrivo::writeFileAtomically(m_path, bytes)); }
    std::string content() const { return readFile(m_path); }
    CPickList opened(std::string_view section = CPickList::PurposeList) const {
        CPickList list(m_path, std::string(section));
        list.reload();
        return list;
    }

    TempFolder m_folder;
    const std::string& m_dir = m_folder.path();
    std::string m_path = m_folder.file("Lists.ini");
};

TEST_F(PickList, EmptyListsReadAsEmpty) {
    EXPECT_EQ(CPickList::load(m_path, CPickList::FuelStationList), Items{}) << "missing file";
    write("[RepairList]\r\nLine0=Oil change\r\n");
    EXPECT_EQ(CPickList::load(m_path, CPickList::FuelStationList), Items{}) << "missing section";
    write("[FuelStationList]\r\nLine0=\r\nLine1=Shell\r\n");
    EXPECT_EQ(CPickList::load(m_path, CPickList::FuelStationList), Items{}) << "empty first value";
    // Opening the editor on a missing file creates nothing.
    fs::remove(m_path);
    EXPECT_TRUE(opened().items().empty());
    EXPECT_FALSE(fs::exists(m_path));
}

TEST_F(PickList, GapEndsTheListAndOpeningDeletesTheTwoKeysAfterIt) {
    write("[PurposeList]\r\nLine0=Sales\r\nLine1=Audit\r\nLine3=Hidden\r\nLine4=Unseen\r\n[ContactList]\r\nLine0="
          "Ann\r\n");
    EXPECT_EQ(CPickList::load(m_path, CPickList::PurposeList), (Items{"Sales", "Audit"}));

    const CPickList list = opened();
    EXPECT_EQ(list.items(), (Items{"Audit", "Sales"}));
    EXPECT_EQ(list.nextFree(), 3);
    EXPECT_EQ(content(),
              "[PurposeList]\r\nLine0=Audit\r\nLine1=Sales\r\nLine4=Unseen\r\n[ContactList]\r\nLine0=Ann\r\n");
}

TEST_F(PickList, LongValuesAreReadAndRewrittenWhole) {
    const std::string longText(1500, 'x');
    write("[RepairList]\r\nLine0=" + longText + "\r\nLine1=a\r\n");
    EXPECT_EQ(CPickList::load(m_path, CPickList::RepairList), (Items{longText, "a"}));
    opened(CPickList::RepairList);
    EXPECT_EQ(CPickList::load(m_path, CPickList::RepairList), (Items{"a", longText}));
}

TEST_F(PickList, OpeningSortsTheSectionAndLeavesOtherSectionsAlone) {
    const std::string before = "; lists\r\n[DestinationList]\r\nLine0=x\r\n";
    const std::string after = "[Other]\r\nkey = value\r\n";
    write(before + "[PurposeList]\r\nLine0=cherry\r\nLine1=Banana\r\nLine2=apple\r\nLine3=Apple\r\nLine4=banana\r\n" +
          after);
    const CPickList list = opened();
    EXPECT_EQ(list.items(), (Items{"Apple", "apple", "Banana", "banana", "cherry"}));
    EXPECT_EQ(content(), before +
                             "[PurposeList]\r\nLine0=Apple\r\nLine1=apple\r\nLine2=Banana\r\nLine3=banana\r\n"
                             "Line4=cherry\r\n" +
                             after);
}

TEST_F(PickList, OrderFoldsCaseThenComparesBytes) {
    struct Case {
        std::string_view a, b;
        bool before;
    };
    const Case cases[] = {
        {"apple", "Banana", true},
        {"Banana", "apple", false},
        {"Banana", "banana", true},
        {"banana", "Banana", false},
        {"ab", "abc", true},
        {"ABC", "ab", false},
        {"same", "same", false},
        {"Zoo", "\xC3\xA9tude", true},           // é sorts after the ASCII letters
        {"\xC3\x89TUDE", "\xC3\xA9tudes", true}, // É folds to é
        {"\xC3\x89t", "\xC3\xA9t", true},        // ... and ties go by the bytes
        {"\xC5\xA0x", "\xC5\xA1y", true},        // Š folds to š
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPickList::before(c.a, c.b), c.before) << c.a << " < " << c.b;
}

TEST_F(PickList, AddWritesSortsAndHandsBackTheLastText) {
    write("[ContactList]\r\nLine0=Mia\r\n");
    CPickList list = opened(CPickList::ContactList);
    list.add("Bob");
    list.add("Bob");
    list.add("Zed");
    EXPECT_EQ(list.items(), (Items{"Bob", "Bob", "Mia", "Zed"}));
    EXPECT_EQ(list.lastAdded(), "Zed");
    EXPECT_EQ(list.nextFree(), 5);
    EXPECT_EQ(content(), "[ContactList]\r\nLine0=Bob\r\nLine1=Bob\r\nLine2=Mia\r\nLine3=Zed\r\n");
    EXPECT_TRUE(list.lastError().empty());

    // An empty Add changes nothing but empties the text handed back.
    list.add("");
    EXPECT_EQ(list.lastAdded(), "");
    EXPECT_EQ(list.items().size(), 4u);
    EXPECT_EQ(content(), "[ContactList]\r\nLine0=Bob\r\nLine1=Bob\r\nLine2=Mia\r\nLine3=Zed\r\n");

    CPickList unread(m_path, std::string(CPickList::ContactList)); // Add reads the list first: no line is lost
    unread.add("Ann");
    EXPECT_EQ(content(), "[ContactList]\r\nLine0=Ann\r\nLine1=Bob\r\nLine2=Bob\r\nLine3=Mia\r\nLine4=Zed\r\n");
}

TEST_F(PickList, AddCutsAtFortyCharactersAndCreatesTheFile) {
    CPickList list = opened(CPickList::FuelStationList);
    std::string text;
    for (int i = 0; i < 45; ++i)
        text += "\xC3\xA9"; // é: two bytes, one character
    list.add(text);
    const std::string cut = text.substr(0, 80);
    EXPECT_EQ(list.lastAdded(), cut);
    EXPECT_EQ(list.items(), Items{cut});
    EXPECT_EQ(content(), "[FuelStationList]\r\nLine0=" + std::string(40, '\xE9') + "\r\n");
}

TEST_F(PickList, RemoveRewritesTheSectionAtTheEndOfTheFile) {
    write("[PurposeList]\r\nLine0=a\r\nLine1=b\r\nLine2=c\r\nLine5=lost\r\nNote=x\r\n[Other]\r\nk=v\r\n");
    CPickList list = opened();
    EXPECT_FALSE(list.remove(3));
    ASSERT_TRUE(list.remove(1));
    EXPECT_EQ(list.items(), (Items{"a", "c"}));
    EXPECT_EQ(list.nextFree(), 3);
    EXPECT_EQ(content(), "[Other]\r\nk=v\r\n[PurposeList]\r\nLine0=a\r\nLine1=c\r\n");

    ASSERT_TRUE(list.remove(0));
    ASSERT_TRUE(list.remove(0));
    EXPECT_TRUE(list.items().empty());
    EXPECT_EQ(list.nextFree(), 1);
    EXPECT_EQ(content(), "[Other]\r\nk=v\r\n[PurposeList]\r\n");
}

TEST_F(PickList, FailedWritesLeaveTheFileAndSayWhy) {
    write("[PurposeList]\r\nLine0=b\r\nLine1=a\r\n");
    CPickList list = opened();
    const std::string sorted = content();
    list.add("two\nlines");
    EXPECT_EQ(list.lastAdded(), "two\nlines");
    EXPECT_EQ(list.items(), (Items{"a", "b"}));
    EXPECT_NE(list.lastError().find(m_path), std::string::npos) << list.lastError();
    EXPECT_EQ(content(), sorted);

    // A folder that is gone: nothing to read, nothing written, the reason kept.
    CPickList orphan(m_dir + "gone/Lists.ini", std::string(CPickList::RepairList));
    orphan.add("Tyres");
    EXPECT_EQ(orphan.lastAdded(), "Tyres");
    EXPECT_TRUE(orphan.items().empty());
    EXPECT_FALSE(orphan.lastError().empty());

    // A path that cannot be read as a file is never replaced.
    fs::create_directory(m_dir + "dir.ini");
    CPickList unreadable(m_dir + "dir.ini", std::string(CPickList::RepairList));
    unreadable.add("Tyres");
    EXPECT_TRUE(unreadable.items().empty());
    EXPECT_FALSE(unreadable.lastError().empty());
    EXPECT_TRUE(fs::is_directory(m_dir + "dir.ini"));
}

} // namespace
