// The entry list on its own: sorting by header clicks, the header menu, and the hint and
// selection signals.

#include "../calc/fixed_locale.h"
#include "calc/entry_text.h"
#include "dialog_fixture.h"
#include "ui/main/entry_list_ctrl.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <tuple>

using dialog_test::DialogTest;

namespace {

constexpr int kOdometer = 2, kLocation = 8;

TEST_F(DialogTest, EntryListSortsByHeaderClicksHidesByMenuAndSignalsTheSelection) {
    std::vector<CDVItem> entries(3);
    // 100.2 and 100.7 are less than one unit apart: equal, so they keep their order.
    for (const auto& [i, odometer, station] : {std::tuple{0, 100.2, "b"}, {1, 99.0, "c"}, {2, 100.7, "a"}})
        std::tie(entries[i].EntryType, entries[i].Odometer, entries[i].Station) =
            std::tuple(CDVItem::Fuel, odometer, station);
    FixedLocale locale{"$"};
    CEntryText texts{locale, 0.5};
    CEntryListCtrl list;
    list.setTextSource(&texts);
    list.createColumns(*m_profile);
    list.setRows({&entries[0], &entries[1], &entries[2]});
    list.resize(900, 300);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QSignalSpy selections(&list, &CEntryListCtrl::selectionChangedTo);
    QSignalSpy hints(&list, &CEntryListCtrl::hintRequested);
    list.selectRowAt(1);
    QHeaderView* header = list.horizontalHeader();
    for (const auto& [column, shown, order] : {std::tuple{kOdometer, "bac", Qt::DescendingOrder},
                                               {kLocation, "abc", Qt::AscendingOrder},
                                               {kLocation, "cba", Qt::DescendingOrder},
                                               {kOdometer, "cba", Qt::AscendingOrder}}) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
        std::string stations;
        for (const CDVItem* entry : list.rows())
            stations += entry->Station;
        EXPECT_EQ(std::pair(stations, header->sortIndicatorOrder()), std::pair(std::string(shown), order));
    }
    EXPECT_EQ(list.selectedEntry(), &entries[1]) << "the selection follows its entry";
    EXPECT_EQ(selections.last().at(0).toInt(), 0);
    EXPECT_EQ(&entries[0], list.rows()[1]) << "sorting reorders the rows, not the entries";
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.model()->index(2, kLocation)).center());
    EXPECT_EQ(selections.last().at(0).toInt(), 2);
    EXPECT_EQ(hints.value(0).value(0).toString(), QString::fromLatin1(CEntryListCtrl::kHint));
    list.setRows({&entries[2]});
    EXPECT_EQ(std::pair(selections.last().at(0).toInt(), list.selectedEntry()), std::pair(-1, (CDVItem*)nullptr));
    list.createColumnMenu()->actions()[kOdometer]->trigger(); // a hidden column sits behind the shown ones
    EXPECT_EQ(std::pair(list.isColumnShown(kOdometer), header->visualIndex(kOdometer)),
              std::pair(false, CEntryListCtrl::kColumnCount - 1));
}

} // namespace
