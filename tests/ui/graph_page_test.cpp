#include "main_window_fixture.h"

#include "ui/charts/graph_page.h"
#include "ui/charts/push_graph.h"

namespace window_test {
namespace {

struct PageCase {
    int tab;
    const char* page;
    int selectRow; // row of the list (view Any: fuel, repair, fuel)
    // The entries' points before and after the selection, then the selection line's.
    std::vector<int> data, selectedData, selection;
};

class GraphPageTest : public MainWindowTest, public ::testing::WithParamInterface<PageCase> {
protected:
    static CDVItem loggedEntry(std::int32_t type, double odometer, double economy, double price, double cost) {
        CDVItem e = entry(type, odometer);
        std::tie(e.Economy, e.UnitPrice, e.Cost) = std::tuple(economy, price, cost);
        return e;
    }
};

TEST_P(GraphPageTest, ChartIsFilledFromTheLogAndFollowsTheSelection) {
    const PageCase& c = GetParam();
    writeVehicles({"Car"},
                  {{loggedEntry(CDVItem::Fuel, 1000, 30, 1.5, 15), loggedEntry(CDVItem::Repair, 1100, 0, 0, 40),
                    loggedEntry(CDVItem::Fuel, 1200, 25, 1.2, 12)}});
    ASSERT_TRUE(profile().putNumber(ProfileKeys::LastView, 3));
    ASSERT_TRUE(profile().putNumber(ProfileKeys::SelectedTab, c.tab));
    CVehicleLogDlg& window = start();
    auto* page = child<CGraphPage>(c.page);
    const C2DPushGraph& graph = *page->graph();
    // The last points of a line: the entries' points and the two trailing empty ones.
    auto tail = [&graph, n = static_cast<std::ptrdiff_t>(c.data.size() + 2)](int id) {
        const std::vector<int>& all = graph.model().line(id)->magnitudes;
        return std::ssize(all) < n ? std::vector<int>{-1} : std::vector<int>(all.end() - n, all.end() - 2);
    };
    auto selectionPixels = [&graph] {
        const QImage& image = graph.image();
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
        return std::count(pixels, pixels + image.sizeInBytes() / 4, qRgb(255, 0, 0));
    };

    QApplication::processEvents(); // the first paint
    EXPECT_EQ(tail(CGraphFeed::kDataLine), c.data) << "nothing selected yet";
    EXPECT_EQ(tail(CGraphFeed::kSelectionLine), std::vector<int>(c.data.size(), 0));
    EXPECT_EQ(selectionPixels(), 0);

    ASSERT_EQ(rows(), 3);
    entryList()->selectRow(c.selectRow);
    QApplication::processEvents(); // the window redraws the page that shows
    EXPECT_EQ(tail(CGraphFeed::kDataLine), c.selectedData);
    EXPECT_EQ(tail(CGraphFeed::kSelectionLine), c.selection);
    EXPECT_GT(selectionPixels(), 0) << "the selected entry's bar";

    auto* box = page->findChild<QCheckBox*>(QStringLiteral("animateCheck"));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); // on the box, not beside its text
    const std::size_t before = graph.model().line(CGraphFeed::kDataLine)->magnitudes.size();
    page->animationStep();
    EXPECT_EQ(graph.model().line(CGraphFeed::kDataLine)->magnitudes.size(), before + 3) << "two trailing, one entry";
    for (const char* other : {"CEconomyTab", "CFuelCostTab", "CRunningCostTab"})
        EXPECT_TRUE(child<CGraphPage>(other)->findChild<QCheckBox*>(QStringLiteral("animateCheck"))->isChecked())
            << other << " shows the one setting";
    window.close();
    EXPECT_EQ(profileText("Graphs", "Animate"), "1");
}

INSTANTIATE_TEST_SUITE_P(Pages, GraphPageTest,
                         ::testing::Values(PageCase{0, "CEconomyTab", 2, {300, 250}, {300, 1}, {0, 250}},
                                           PageCase{1, "CFuelCostTab", 0, {15, 12}, {1, 12}, {15, 0}},
                                           PageCase{2, "CRunningCostTab", 1, {400}, {1}, {400}}),
                         [](const auto& info) { return std::string(info.param.page + 1); });

} // namespace
} // namespace window_test
