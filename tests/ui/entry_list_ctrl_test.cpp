// The entry list on its own: sorting by header clicks, the header menu's hide and show,
// fitting a column, the column layout's trip through a temporary profile, the appearance
// settings, the hint and selection signals, and the row images.

#include "../calc/fixed_locale.h"
#include "calc/entry_text.h"
#include "dialog_fixture.h"
#include "ui/main/entry_list_ctrl.h"

#include <QAction>
#include <QColor>
#include <QHeaderView>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <tuple>

namespace {

constexpr int kColumns = CEntryListCtrl::kColumnCount;
constexpr int kOdometer = 2;
constexpr int kLocation = 8;
constexpr int kNote = 20;

CDVItem fuel(double odometer, const std::string& station, const std::string& note = {}) {
    CDVItem item;
    std::tie(item.EntryType, item.Odometer, item.Station, item.Note) =
        std::tuple(CDVItem::Fuel, odometer, station, note);
    return item;
}

class EntryListTest : public dialog_test::DialogTest {
protected:
    // A list as the window makes it: appearance and columns from the profile, then rows.
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
        return list;
    }

    static void show(CEntryListCtrl& list) {
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }

    static void clickHeader(CEntryListCtrl& list, int column) {
        QHeaderView* header = list.horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    // The header order, left to right.
    static std::vector<int> headerOrder(const CEntryListCtrl& list) {
        std::vector<int> order;
        for (int position = 0; position < kColumns; ++position)
            order.push_back(list.horizontalHeader()->logicalIndex(position));
        return order;
    }

    std::vector<std::string> stationsShown(const CEntryListCtrl& list) const {
        std::vector<std::string> stations;
        for (const CDVItem* entry : list.rows())
            stations.push_back(entry->Station);
        return stations;
    }

    FixedLocale m_locale{"$"};
    CEntryText m_texts{m_locale, 0.5};
    std::vector<CDVItem> m_entries;
};

TEST_F(EntryListTest, HeaderClicksShareOneDirectionThatStartsDescending) {
    // 100.2 and 100.7 are less than one unit apart: equal, so they keep their order.
    m_entries = {fuel(100.2, "b"), fuel(99, "c"), fuel(100.7, "a")};
    auto list = makeList();
    show(*list);
    QSignalSpy selections(list.get(), &CEntryListCtrl::selectionChangedTo);
    list->selectRowAt(1);
    ASSERT_EQ(list->selectedEntry(), &m_entries[1]);

    clickHeader(*list, kOdometer);
    EXPECT_EQ(stationsShown(*list), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(list->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(list->selectedEntry(), &m_entries[1]) << "the selection follows its entry";
    ASSERT_FALSE(selections.isEmpty());
    EXPECT_EQ(selections.last().at(0).toInt(), 2);

    clickHeader(*list, kLocation);
    EXPECT_EQ(stationsShown(*list), (std::vector<std::string>{"a", "b", "c"})) << "second click sorts ascending";
    EXPECT_EQ(list->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);

    clickHeader(*list, kLocation);
    EXPECT_EQ(stationsShown(*list), (std::vector<std::string>{"c", "b", "a"}));

    clickHeader(*list, kOdometer);
    EXPECT_EQ(stationsShown(*list), (std::vector<std::string>{"c", "b", "a"})) << "fourth click: ascending";
    EXPECT_EQ(list->sortDirection(), -1);
    EXPECT_EQ(&m_entries[0], list->rows()[1]) << "sorting reorders the rows, not the entries";
}

TEST_F(EntryListTest, HeaderMenuHidesBehindTheShownColumnsAndShowsAtItsIndex) {
    ASSERT_TRUE(m_profile->putNumber(ProfileKeys::ColumnWidth, 3, 95));
    auto list = makeList();
    QHeaderView* header = list->horizontalHeader();

    const auto menu = list->createColumnMenu();
    ASSERT_EQ(menu->actions().size(), kColumns);
    EXPECT_TRUE(menu->actions()[3]->isChecked());
    header->resizeSection(3, 130);
    menu->actions()[3]->trigger();
    EXPECT_FALSE(list->isColumnShown(3));
    EXPECT_EQ(header->sectionSize(3), 0);
    EXPECT_EQ(header->visualIndex(3), kColumns - 1);

    list->createColumnMenu()->actions()[1]->trigger();
    std::vector<int> expected = {0, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 1, 3};
    EXPECT_EQ(headerOrder(*list), expected) << "hidden columns sit behind every shown one";
    EXPECT_FALSE(list->createColumnMenu()->actions()[1]->isChecked());

    list->createColumnMenu()->actions()[3]->trigger();
    EXPECT_TRUE(list->isColumnShown(3));
    EXPECT_EQ(header->sectionSize(3), 95) << "back at the width it was created with";
    expected = {0, 2, 4, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 1};
    EXPECT_EQ(headerOrder(*list), expected) << "shown at header position 3, its index";

    // With few columns left, a shown column goes no further than behind the shown ones.
    for (int c = 2; c < kColumns; ++c)
        list->setColumnShown(c, false);
    list->createColumnMenu()->actions()[15]->trigger();
    EXPECT_EQ(header->visualIndex(15), 1) << "min(15, shown count 2 - 1)";
    list->setColumnShown(15, false);
    list->setColumnShown(1, false);

    const auto last = list->createColumnMenu();
    EXPECT_TRUE(last->actions()[0]->isChecked());
    EXPECT_FALSE(last->actions()[0]->isEnabled()) << "the last shown column cannot be hidden";
    EXPECT_TRUE(last->actions()[1]->isEnabled());
}

TEST_F(EntryListTest, DividerDoubleClickFitsTheColumnToItsWidestText) {
    m_entries = {fuel(1, "Corner"), fuel(2, "A much longer station name", "short"),
                 fuel(3, "x", "the longest note of all the rows")};
    auto list = makeList();
    show(*list);
    const QFontMetrics metrics(list->font());
    QHeaderView* header = list->horizontalHeader();

    const QPoint divider(header->sectionViewportPosition(kLocation) + header->sectionSize(kLocation) - 1,
                         header->height() / 2);
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, divider);
    EXPECT_EQ(header->sectionSize(kLocation), metrics.horizontalAdvance("A much longer station name") + 12);

    list->fitColumnToContents(0);
    EXPECT_EQ(header->sectionSize(0), 12 + CEntryListCtrl::kImageSize) << "image only, no text";

    // A hidden column hands the fit to the nearest shown column before it: after hiding 9
    // and 7, column 9 sits behind column 20.
    list->setColumnShown(9, false);
    list->setColumnShown(7, false);
    list->fitColumnToContents(9);
    EXPECT_EQ(header->sectionSize(kNote), metrics.horizontalAdvance("the longest note of all the rows") + 12);
    EXPECT_EQ(header->sectionSize(9), 0);
}

TEST_F(EntryListTest, ColumnLayoutSurvivesARestartThroughTheProfile) {
    ASSERT_TRUE(m_profile->putNumber(ProfileKeys::ColumnWidth, 5, 111));
    {
        auto list = makeList();
        // Without a stored width a column fits its heading and a typical value in the list's
        // bold font, and is never narrower than its classic width.
        const QFontMetrics bold(list->font());
        EXPECT_GE(list->horizontalHeader()->sectionSize(18), bold.horizontalAdvance("10 Days 02 Hours 30 Min") + 12);
        for (int c = 0; c < kColumns; ++c)
            if (c != 5)
                EXPECT_GE(list->horizontalHeader()->sectionSize(c), CEntryText::defaultWidth(c)) << c;
        EXPECT_EQ(list->horizontalHeader()->sectionSize(5), 111);
        list->setColumnShown(5, false);
        list->horizontalHeader()->resizeSection(kOdometer, 150);
        list->horizontalHeader()->moveSection(list->horizontalHeader()->visualIndex(7), 1);
        ASSERT_TRUE(list->saveColumnWidths(*m_profile));
        ASSERT_TRUE(list->saveColumnState(*m_profile));
    }
    EXPECT_EQ(m_profile->getNumber(ProfileKeys::ColumnWidth, 5), 111) << "a hidden column's width is not saved";
    EXPECT_EQ(m_profile->getNumber(ProfileKeys::ColumnWidth, kOdometer), 150);

    auto restarted = makeList();
    QHeaderView* header = restarted->horizontalHeader();
    EXPECT_FALSE(restarted->isColumnShown(5));
    EXPECT_EQ(header->sectionSize(5), 0);
    EXPECT_EQ(header->sectionSize(kOdometer), 150);
    EXPECT_EQ(header->visualIndex(7), 1);
    EXPECT_EQ(header->visualIndex(5), kColumns - 1);
    restarted->setColumnShown(5, true);
    EXPECT_EQ(header->sectionSize(5), 111);
    EXPECT_EQ(header->visualIndex(5), 5);
}

TEST_F(EntryListTest, AppearanceComesFromTheProfile) {
    m_entries = {fuel(1, "a"), fuel(2, "b"), fuel(3, "c")};
    const std::pair<ProfileKey, int> settings[] = {{ProfileKeys::LineColorR, 10},  {ProfileKeys::LineColorG, 20},
                                                   {ProfileKeys::LineColorB, 30},  {ProfileKeys::FontColorR, 200},
                                                   {ProfileKeys::FontHeight, -15}, {ProfileKeys::FontWeight, 400},
                                                   {ProfileKeys::FontItalic, 1},   {ProfileKeys::Grid, 1}};
    for (const auto& [key, value] : settings)
        ASSERT_TRUE(m_profile->putNumber(key, value));
    auto list = makeList();
    const QAbstractItemModel* model = list->model();
    EXPECT_EQ(std::tuple(list->font().pixelSize(), list->font().weight(), list->font().italic(), list->showGrid()),
              std::tuple(15, QFont::Normal, true, true));
    for (int row = 0; row < 3; ++row) {
        const QModelIndex cell = model->index(row, kLocation);
        EXPECT_EQ(cell.data(Qt::ForegroundRole).value<QColor>(), QColor(200, 0, 0));
        EXPECT_EQ(cell.data(Qt::BackgroundRole).value<QColor>(), row % 2 == 1 ? QColor(10, 20, 30) : QColor(Qt::white))
            << "row " << row;
    }

    ASSERT_TRUE(m_profile->putNumber(ProfileKeys::Lines, 0));
    list->applyAppearance(*m_profile);
    EXPECT_FALSE(model->index(1, kLocation).data(Qt::BackgroundRole).isValid()) << "no shaded lines";
}

// The Delete key and the double-click reach the window (tested there); here the hint and the selection.
TEST_F(EntryListTest, ClickSendsHintAndSelectionAndNewRowsDropIt) {
    m_entries = {fuel(1, "a"), fuel(2, "b"), fuel(3, "c")};
    auto list = makeList();
    show(*list);
    QSignalSpy hints(list.get(), &CEntryListCtrl::hintRequested);
    QSignalSpy selections(list.get(), &CEntryListCtrl::selectionChangedTo);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(2, kLocation)).center());
    ASSERT_FALSE(selections.isEmpty());
    EXPECT_EQ(selections.last().at(0).toInt(), 2);
    ASSERT_FALSE(hints.isEmpty());
    EXPECT_EQ(hints.last().at(0).toString(), QString::fromLatin1(CEntryListCtrl::kHint));

    list->setRows({&m_entries[2]});
    EXPECT_EQ(selections.last().at(0).toInt(), -1) << "clearing the rows drops the selection";
    EXPECT_EQ(list->selectedEntry(), nullptr);
}

TEST_F(EntryListTest, EveryIconNumberHasAPictureAndTripsShareTheirs) {
    const auto image = [](int icon) { return CEntryListCtrl::entryIcon(icon).pixmap(16, 16).toImage(); };
    for (int i = 0; i < kColumns; ++i) {
        const QImage picture = image(i);
        int painted = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                painted += qAlpha(picture.pixel(x, y)) > 0 ? 1 : 0;
        EXPECT_GT(painted, 8) << i;
    }
    EXPECT_EQ(image(18), image(3));
    EXPECT_EQ(image(19), image(2));
    EXPECT_NE(image(2), image(3));
    EXPECT_TRUE(CEntryListCtrl::entryIcon(21).isNull());
    m_entries = {fuel(1, "a")};
    m_entries[0].Icon = 17;
    auto list = makeList();
    EXPECT_EQ(list->model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16).toImage(), image(17));
    EXPECT_FALSE(list->model()->index(0, 1).data(Qt::DecorationRole).isValid());
}

} // namespace
