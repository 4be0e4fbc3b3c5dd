// The entry list on its own: sorting by header clicks, the header menu, the column layout's
// trip through the profile, and the hint and selection signals.

#include "../calc/fixed_locale.h"
#include "calc/entry_text.h"
#include "dialog_fixture.h"
#include "ui/main/entry_list_ctrl.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <tuple>

namespace {

constexpr int kColumns = CEntryListCtrl::kColumnCount, kOdometer = 2, kLocation = 8;

CDVItem fuel(double odometer, const std::string& station) {
    CDVItem item;
    std::tie(item.EntryType, item.Odometer, item.Station) = std::tuple(CDVItem::Fuel, odometer, station);
    return item;
}

class EntryListTest : public dialog_test::DialogTest {
protected:
    // A list as the window makes it, shown: appearance and columns from the profile, then rows.
    std::unique_ptr<CEntryListCtrl> makeList() {
        auto list = std::make_unique<CEntryListCtrl>();
        list->setTextSource(&m_texts);
        list->applyAppearance(*m_profile);
        list->createColumns(*m_profile);
        std::vector<CDVItem*> rows;
        for (CDVItem& entry : m_entries)
            rows.push_back(&entry);
        list->setRows(rows);
        list->resize(900, 300);
        list->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(list.get()));
        return list;
    }
    static void clickHeader(CEntryListCtrl& list, int column) {
        QHeaderView* header = list.horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }
    static std::string stationsShown(const CEntryListCtrl& list) {
        std::string stations;
        for (const CDVItem* entry : list.rows())
            stations += entry->Station;
        return stations;
    }
    FixedLocale m_locale{"$"};
    CEntryText m_texts{m_locale, 0.5};
    std::vector<CDVItem> m_entries = {fuel(100.2, "b"), fuel(99, "c"), fuel(100.7, "a")};
};

TEST_F(EntryListTest, HeaderClicksShareOneDirectionThatStartsDescendingAndSelectionFollows) {
    auto list = makeList();
    QSignalSpy selections(list.get(), &CEntryListCtrl::selectionChangedTo);
    list->selectRowAt(1);
    // 100.2 and 100.7 are less than one unit apart: equal, so they keep their order.
    for (const auto& [column, shown, order] : {std::tuple{kOdometer, "bac", Qt::DescendingOrder},
                                               {kLocation, "abc", Qt::AscendingOrder},
                                               {kLocation, "cba", Qt::DescendingOrder},
                                               {kOdometer, "cba", Qt::AscendingOrder}}) {
        clickHeader(*list, column);
        EXPECT_EQ(stationsShown(*list), shown);
        EXPECT_EQ(list->horizontalHeader()->sortIndicatorOrder(), order) << shown;
    }
    EXPECT_EQ(list->selectedEntry(), &m_entries[1]) << "the selection follows its entry";
    EXPECT_EQ(selections.last().at(0).toInt(), 0);
    EXPECT_EQ(&m_entries[0], list->rows()[1]) << "sorting reorders the rows, not the entries";
    QSignalSpy hints(list.get(), &CEntryListCtrl::hintRequested);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(2, kLocation)).center());
    EXPECT_EQ(selections.last().at(0).toInt(), 2);
    EXPECT_EQ(hints.value(0).value(0).toString(), QString::fromLatin1(CEntryListCtrl::kHint));
    list->setRows({&m_entries[2]});
    EXPECT_EQ(std::pair(selections.last().at(0).toInt(), list->selectedEntry()), std::pair(-1, (CDVItem*)nullptr));
}

TEST_F(EntryListTest, HeaderMenuAndColumnLayoutSurviveARestartThroughTheProfile) {
    ASSERT_TRUE(m_profile->putNumber(ProfileKeys::ColumnWidth, 5, 111));
    {
        auto list = makeList();
        // Without a stored width a column is never narrower than its classic width.
        for (int c : {0, 7, 18})
            EXPECT_GE(list->horizontalHeader()->sectionSize(c), CEntryText::defaultWidth(c)) << c;
        list->createColumnMenu()->actions()[5]->trigger(); // hidden columns sit behind the shown ones
        list->horizontalHeader()->resizeSection(kOdometer, 150);
        list->horizontalHeader()->moveSection(list->horizontalHeader()->visualIndex(7), 1);
        ASSERT_TRUE(list->saveColumnWidths(*m_profile));
        ASSERT_TRUE(list->saveColumnState(*m_profile));
    }
    EXPECT_EQ(m_profile->getNumber(ProfileKeys::ColumnWidth, 5), 111) << "a hidden column's width is not saved";
    auto restarted = makeList();
    QHeaderView* header = restarted->horizontalHeader();
    EXPECT_EQ(std::tuple(restarted->isColumnShown(5), header->sectionSize(kOdometer), header->visualIndex(7),
                         header->visualIndex(5)),
              std::tuple(false, 150, 1, kColumns - 1));
    restarted->createColumnMenu()->actions()[5]->trigger(); // back at its index, at its width
    EXPECT_EQ(std::pair(header->sectionSize(5), header->visualIndex(5)), std::pair(111, 5));
    for (int c = 1; c < kColumns; ++c)
        restarted->setColumnShown(c, false);
    EXPECT_FALSE(restarted->createColumnMenu()->actions()[0]->isEnabled()) << "the last shown column stays";
}

} // namespace
