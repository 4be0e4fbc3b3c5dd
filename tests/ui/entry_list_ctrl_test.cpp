// The entry list on its own: sorting by header clicks, the header menu's hide and show,
// fitting a column, the column layout's trip through a temporary profile, the appearance
// settings, the signals the main window listens to, and the row images.

#include "../calc/fixed_locale.h"
#include "calc/entry_text.h"
#include "store/app_profile.h"
#include "store/column_state.h"
#include "ui/main/entry_list_ctrl.h"

#include <QAction>
#include <QColor>
#include <QHeaderView>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace fs = std::filesystem;

namespace {

constexpr int kColumns = CEntryListCtrl::kColumnCount;
constexpr int kOdometer = 2;
constexpr int kLocation = 8;
constexpr int kNote = 20;

CDVItem fuel(double odometer, const std::string& station, const std::string& note = {}) {
    CDVItem item;
    item.EntryType = CDVItem::Fuel;
    item.Icon = 0;
    item.Odometer = odometer;
    item.Station = station;
    item.Note = note;
    return item;
}

class EntryListTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        m_folder = fs::temp_directory_path() / ("odrivo-list-" + std::to_string(rd()));
        fs::create_directories(m_folder);
        m_profile = std::make_unique<CAppProfile>((m_folder / "odrivo.ini").string());
    }

    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_folder, ec);
    }

    // A list as the window makes it: columns and appearance from the profile, then rows.
    std::unique_ptr<CEntryListCtrl> makeList() {
        auto list = std::make_unique<CEntryListCtrl>();
        list->setTextSource(&m_texts);
        list->createColumns(*m_profile);
        list->applyAppearance(*m_profile);
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

    static QAction* menuItem(QMenu& menu, int column) {
        for (QAction* item : menu.actions())
            if (item->data().toInt() == column)
                return item;
        return nullptr;
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

    fs::path m_folder;
    std::unique_ptr<CAppProfile> m_profile;
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
    EXPECT_EQ(list->selectedEntry(), &m_entries[1]) << "the selection follows its entry";
    EXPECT_EQ(list->selectedRow(), 2);
    ASSERT_FALSE(selections.isEmpty());
    EXPECT_EQ(selections.last().at(0).toInt(), 2);

    clickHeader(*list, kLocation);
    EXPECT_EQ(stationsShown(*list), (std::vector<std::string>{"a", "b", "c"})) << "second click sorts ascending";

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
    for (int c = 0; c < kColumns; ++c) {
        EXPECT_EQ(menu->actions()[c]->text(), QString::fromLatin1(CEntryText::heading(c)));
        EXPECT_TRUE(menu->actions()[c]->isChecked());
    }
    header->resizeSection(3, 130);
    menuItem(*menu, 3)->trigger();
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
        EXPECT_EQ(list->horizontalHeader()->sectionSize(5), 111);
        list->setColumnShown(5, false);
        list->horizontalHeader()->resizeSection(kOdometer, 150);
        list->horizontalHeader()->moveSection(list->horizontalHeader()->visualIndex(7), 1);
        ASSERT_TRUE(list->saveColumnWidths(*m_profile));
        ASSERT_TRUE(list->saveColumnState(*m_profile));
    }
    EXPECT_EQ(m_profile->getNumber(ProfileKeys::ColumnWidth, 5), 111) << "a hidden column's width is not saved";
    EXPECT_EQ(m_profile->getNumber(ProfileKeys::ColumnWidth, kOdometer), 150);
    EXPECT_EQ(m_profile->getNumber(ProfileKeys::ListColumnCount), kColumns);

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

TEST_F(EntryListTest, StoredLayoutIsAppliedUpToTheFirstValueThatDoesNotFit) {
    std::vector<int> identity;
    for (int c = 0; c < kColumns; ++c)
        identity.push_back(c);
    std::vector<int> swapped = identity;
    std::swap(swapped[0], swapped[1]);
    std::vector<int> wide(kColumns, 70);
    std::vector<int> hideFour(kColumns, 1);
    hideFour[4] = 0;
    const ColumnBytes shortBytes = ColumnState::encode(std::vector<int>(kColumns - 1, 1));

    struct Case {
        const char* what;
        int count;
        ColumnBytes order, widths, visible;
        bool orderApplied, widthsApplied, visibilityApplied;
    };
    const Case cases[] = {
        {"another column count", kColumns - 1,
         ColumnState::encode(std::vector<int>(swapped.begin(), swapped.end() - 1)),
         ColumnState::encode(std::vector<int>(kColumns - 1, 70)),
         ColumnState::encode(std::vector<int>(kColumns - 1, 0)), false, false, false},
        {"a repeated column", kColumns, ColumnState::encode(std::vector<int>(kColumns, 1)), ColumnState::encode(wide),
         ColumnState::encode(hideFour), false, false, false},
        {"widths too short", kColumns, ColumnState::encode(swapped), shortBytes, ColumnState::encode(hideFour), true,
         false, false},
        {"visibility too short", kColumns, ColumnState::encode(swapped), ColumnState::encode(wide), shortBytes, true,
         true, false},
        {"all fit", kColumns, ColumnState::encode(swapped), ColumnState::encode(wide), ColumnState::encode(hideFour),
         true, true, true},
    };
    ASSERT_TRUE(m_profile->putNumber(ProfileKeys::ColumnWidth, 6, 77));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(m_profile->putNumber(ProfileKeys::ListColumnCount, c.count));
        ASSERT_TRUE(m_profile->putBinary(ProfileKeys::ListColumnOrder, c.order));
        ASSERT_TRUE(m_profile->putBinary(ProfileKeys::ListColumnWidths, c.widths));
        ASSERT_TRUE(m_profile->putBinary(ProfileKeys::ListColumnVisible, c.visible));
        auto list = makeList();
        std::vector<int> order = headerOrder(*list);
        if (c.visibilityApplied)
            std::rotate(order.begin() + 4, order.end() - 1, order.end()); // the hidden column 4 went last
        EXPECT_EQ(order, c.orderApplied ? swapped : identity);
        EXPECT_EQ(list->horizontalHeader()->sectionSize(6), c.widthsApplied ? 70 : 77);
        EXPECT_EQ(list->horizontalHeader()->sectionSize(1), c.widthsApplied ? 70 : CEntryText::defaultWidth(1));
        EXPECT_EQ(list->isColumnShown(4), !c.visibilityApplied);
    }
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
    EXPECT_EQ(list->font().pixelSize(), 15);
    EXPECT_EQ(list->font().weight(), QFont::Normal);
    EXPECT_TRUE(list->font().italic());
    EXPECT_TRUE(list->showGrid());
    for (int row = 0; row < 3; ++row) {
        for (int column : {0, kLocation}) {
            const QModelIndex cell = model->index(row, column);
            EXPECT_EQ(cell.data(Qt::ForegroundRole).value<QColor>(), QColor(200, 0, 0));
            EXPECT_EQ(cell.data(Qt::BackgroundRole).value<QColor>(),
                      row % 2 == 1 ? QColor(10, 20, 30) : QColor(Qt::white))
                << "row " << row;
        }
    }

    ASSERT_TRUE(m_profile->putNumber(ProfileKeys::Lines, 0));
    ASSERT_TRUE(m_profile->putNumber(ProfileKeys::Grid, 0));
    list->applyAppearance(*m_profile);
    EXPECT_FALSE(list->showGrid());
    for (int row = 0; row < 3; ++row) {
        EXPECT_FALSE(model->index(row, kLocation).data(Qt::BackgroundRole).isValid());
        EXPECT_EQ(model->index(row, kLocation).data(Qt::ForegroundRole).value<QColor>(), QColor(200, 0, 0));
    }
}

TEST_F(EntryListTest, SignalsForDeleteKeyDoubleClickHintAndSelection) {
    m_entries = {fuel(1, "a"), fuel(2, "b"), fuel(3, "c")};
    auto list = makeList();
    show(*list);
    QSignalSpy deletes(list.get(), &CEntryListCtrl::deleteRequested);
    QSignalSpy activated(list.get(), &CEntryListCtrl::entryActivated);
    QSignalSpy hints(list.get(), &CEntryListCtrl::hintRequested);
    QSignalSpy selections(list.get(), &CEntryListCtrl::selectionChangedTo);

    const QPoint rowTwo = list->visualRect(list->model()->index(2, kLocation)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowTwo);
    EXPECT_EQ(list->selectedRow(), 2);
    ASSERT_FALSE(selections.isEmpty());
    EXPECT_EQ(selections.last().at(0).toInt(), 2);
    ASSERT_FALSE(hints.isEmpty());
    EXPECT_EQ(hints.last().at(0).toString(), QString::fromLatin1(CEntryListCtrl::kHint));

    QTest::keyClick(list.get(), Qt::Key_Delete);
    EXPECT_EQ(deletes.size(), 1);
    QTest::keyClick(list.get(), Qt::Key_Up);
    EXPECT_EQ(deletes.size(), 1);
    EXPECT_EQ(list->selectedRow(), 1);

    const QPoint rowZero = list->visualRect(list->model()->index(0, kLocation)).center();
    // The view takes a double-click as one when its second click lands on the row the first one pressed.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowZero);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowZero);
    ASSERT_EQ(activated.size(), 1);
    EXPECT_EQ(activated.first().at(0).toInt(), 0);

    list->setRows({&m_entries[2]});
    EXPECT_EQ(selections.last().at(0).toInt(), -1) << "clearing the rows drops the selection";
    EXPECT_EQ(list->selectedEntry(), nullptr);
}

TEST_F(EntryListTest, EveryIconNumberHasAPictureAndTripsShareTheirs) {
    const auto image = [](const QIcon& icon) { return icon.pixmap(16, 16).toImage(); };
    for (int i = 0; i < kColumns; ++i) {
        SCOPED_TRACE(i);
        const QIcon icon = CEntryListCtrl::entryIcon(i);
        ASSERT_FALSE(icon.isNull());
        const QImage picture = image(icon);
        ASSERT_EQ(picture.size(), QSize(16, 16));
        int painted = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                painted += qAlpha(picture.pixel(x, y)) > 0 ? 1 : 0;
        EXPECT_GT(painted, 8);
    }
    EXPECT_EQ(image(CEntryListCtrl::entryIcon(18)), image(CEntryListCtrl::entryIcon(3)));
    EXPECT_EQ(image(CEntryListCtrl::entryIcon(19)), image(CEntryListCtrl::entryIcon(2)));
    EXPECT_NE(image(CEntryListCtrl::entryIcon(2)), image(CEntryListCtrl::entryIcon(3)));
    EXPECT_TRUE(CEntryListCtrl::entryIcon(21).isNull());

    m_entries = {fuel(1, "a"), fuel(2, "b")};
    m_entries[1].Icon = 17;
    auto list = makeList();
    const auto shown = list->model()->index(1, 0).data(Qt::DecorationRole).value<QIcon>();
    EXPECT_EQ(image(shown), image(CEntryListCtrl::entryIcon(17)));
    EXPECT_FALSE(list->model()->index(1, 1).data(Qt::DecorationRole).isValid());
    EXPECT_TRUE(list->model()->index(1, 0).data(Qt::DisplayRole).toString().isEmpty());
}

} // namespace
