#include "store/pick_list.h"

#include "log_file_bytes.h"
#include "store/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;
using logtest::readFile;
using Items = std::vector<std::string>;

namespace {

class PickList : public ::testing::Test {
protected:
    void write(const std::string& bytes) const { ASSERT_TRUE(odrivo::writeFileAtomically(m_path, bytes)); }
    std::string content() const { return readFile(m_path); }
    CPickList opened(std::string_view section = CPickList::PurposeList) const {
        CPickList list(m_path, std::string(section));
        list.reload();
        return list;
    }

    logtest::TempFolder m_folder;
    const std::string& m_dir = m_folder.path();
    std::string m_path = m_folder.file("Lists.ini");
};

TEST_F(PickList, OpeningSortsTheListAndDeletesTheTwoKeysAfterItsEnd) {
    EXPECT_EQ(CPickList::load(m_path, CPickList::PurposeList), Items{}) << "missing file";
    EXPECT_TRUE(opened().items().empty());
    EXPECT_FALSE(fs::exists(m_path)) << "opening the editor on a missing file creates nothing";
    const std::string longText(1500, 'x');
    const std::string before = "; lists\r\n[DestinationList]\r\nLine0=\r\nLine1=x\r\n";
    const std::string after = "[Other]\r\nkey = value\r\n";
    write(before + "[PurposeList]\r\nLine0=cherry\r\nLine1=Banana\r\nLine2=apple\r\nLine3=" + longText +
          "\r\nLine4=Apple\r\nLine5=banana\r\nLine7=Hidden\r\nLine8=Unseen\r\n" + after);
    EXPECT_EQ(CPickList::load(m_path, CPickList::PurposeList),
              (Items{"cherry", "Banana", "apple", longText, "Apple", "banana"}));
    EXPECT_EQ(CPickList::load(m_path, CPickList::ContactList), Items{}) << "missing section";
    EXPECT_EQ(CPickList::load(m_path, CPickList::DestinationList), Items{}) << "empty first value";

    const CPickList list = opened();
    EXPECT_EQ(list.items(), (Items{"Apple", "apple", "Banana", "banana", "cherry", longText}));
    EXPECT_EQ(list.nextFree(), 7);
    EXPECT_EQ(content(), before +
                             "[PurposeList]\r\nLine0=Apple\r\nLine1=apple\r\nLine2=Banana\r\nLine3=banana\r\n"
                             "Line4=cherry\r\nLine5=" +
                             longText + "\r\nLine8=Unseen\r\n" + after);
}

TEST_F(PickList, OrderFoldsCaseThenComparesBytes) {
    // Each first text sorts before the second. É folds to é and Š to š; é sorts after the
    // ASCII letters; ties go by the bytes.
    // clang-format off
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"apple", "Banana"}, {"Banana", "banana"}, {"ab", "abc"}, {"ab", "ABC"}, {"Zoo", "\xC3\xA9tude"},
        {"\xC3\x89TUDE", "\xC3\xA9tudes"}, {"\xC3\x89t", "\xC3\xA9t"}, {"\xC5\xA0x", "\xC5\xA1y"}};
    // clang-format on
    for (const auto& [a, b] : cases) {
        EXPECT_TRUE(CPickList::before(a, b)) << a << " < " << b;
        EXPECT_FALSE(CPickList::before(b, a)) << b << " < " << a;
    }
    EXPECT_FALSE(CPickList::before("same", "same"));
}

TEST_F(PickList, AddWritesSortsCutsAtFortyCharactersAndHandsBackTheLastText) {
    CPickList(m_path, std::string(CPickList::ContactList)).add("Mia"); // creates the file
    // Add reads a list not read yet first, so no line is lost.
    CPickList list(m_path, std::string(CPickList::ContactList));
    std::string accents;
    for (int i = 0; i < 45; ++i)
        accents += "\xC3\xA9"; // é: two bytes, one character
    for (const std::string& text : {std::string("Bob"), std::string("Bob"), std::string("Zed"), accents})
        list.add(text);
    EXPECT_EQ(list.items(), (Items{"Bob", "Bob", "Mia", "Zed", accents.substr(0, 80)}));
    EXPECT_EQ(list.lastAdded(), accents.substr(0, 80));
    EXPECT_EQ(list.nextFree(), 6);
    const std::string written =
        "[ContactList]\r\nLine0=Bob\r\nLine1=Bob\r\nLine2=Mia\r\nLine3=Zed\r\nLine4=" + std::string(40, '\xE9') +
        "\r\n";
    EXPECT_EQ(content(), written);
    EXPECT_TRUE(list.lastError().empty());
    // An empty Add changes nothing but empties the text handed back.
    list.add("");
    EXPECT_EQ(list.lastAdded(), "");
    EXPECT_EQ(list.items().size(), 5u);
    EXPECT_EQ(content(), written);
}

TEST_F(PickList, RemoveRewritesTheSectionAtTheEndOfTheFile) {
    write("[PurposeList]\r\nLine0=a\r\nLine1=b\r\nLine2=c\r\nLine5=lost\r\nNote=x\r\n[Other]\r\nk=v\r\n");
    CPickList list = opened();
    EXPECT_FALSE(list.remove(3));
    ASSERT_TRUE(list.remove(1));
    EXPECT_EQ(list.items(), (Items{"a", "c"}));
    EXPECT_EQ(list.nextFree(), 3);
    EXPECT_EQ(content(), "[Other]\r\nk=v\r\n[PurposeList]\r\nLine0=a\r\nLine1=c\r\n");
    ASSERT_TRUE(list.remove(0) && list.remove(0));
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

    // A folder that is gone, and a path that cannot be read as a file (and is never replaced).
    fs::create_directory(m_dir + "dir.ini");
    for (const std::string& path : {m_dir + "gone/Lists.ini", m_dir + "dir.ini"}) {
        CPickList other(path, std::string(CPickList::RepairList));
        other.add("Tyres");
        EXPECT_EQ(other.lastAdded(), "Tyres");
        EXPECT_TRUE(other.items().empty());
        EXPECT_FALSE(other.lastError().empty()) << path;
    }
    EXPECT_TRUE(fs::is_directory(m_dir + "dir.ini"));
}

} // namespace
