#include "main_window_fixture.h"

#include "ui/charts/graph_page.h"
#include "ui/charts/push_graph.h"

#include <QTabWidget>

namespace window_test {
namespace {

struct PageCase {
    int tab;
    const char* page;
    int selectRow;                    // row of the list (view Any: fuel, repair, fuel)
    std::vector<int> data, selection; // the entries' points, then the two trailing empty points
};

class GraphPageTest : public MainWindowTest, public ::testing::WithParamInterface<PageCase> {
protected:
    static CDVItem loggedEntry(std::int32_t type, double odometer, double economy, double price, double cost) {
        CDVItem e = entry(type, odometer);
        std::tie(e.Economy, e.UnitPrice, e.Cost) = std::tuple(economy, price, cost);
        return e;
    }
};

std::vector<int> tail(const C2DPushGraph& graph, int id, std::size_t count) {
    const std::vector<int>& all = graph.model().line(id)->magnitudes;
    return std::vector<int>(all.end() - static_cast<std::ptrdiff_t>(std::min(count, all.size())), all.end());
}

int pixelsOf(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

TEST_P(GraphPageTest, ChartIsFilledFromTheLogAndFollowsTheSelection) {
    const PageCase& c = GetParam();
    writeVehicles({"Car"},
                  {{loggedEntry(CDVItem::Fuel, 1000, 30, 1.5, 15), loggedEntry(CDVItem::Repair, 1100, 0, 0, 40),
                    loggedEntry(CDVItem::Fuel, 1200, 25, 1.2, 12)}});
    ASSERT_TRUE(profile().putNumber(ProfileKeys::LastView, 3));
    ASSERT_TRUE(profile().putNumber(ProfileKeys::SelectedTab, c.tab));
    CVehicleLogDlg& window = start();
    auto* page = child<CGraphPage>(c.page);
    ASSERT_EQ(child<QTabWidget>("tabWidget")->currentWidget(), page);
    C2DPushGraph& graph = *page->graph();

    const std::size_t points = c.data.size() + 2;
    auto withTrailing = [](std::vector<int> line) {
        line.insert(line.end(), {0, 0});
        return line;
    };
    page->grab();
    EXPECT_EQ(tail(graph, CGraphFeed::kDataLine, points), withTrailing(c.data)) << "nothing selected yet";
    EXPECT_EQ(tail(graph, CGraphFeed::kSelectionLine, points), std::vector<int>(points, 0));
    EXPECT_EQ(pixelsOf(graph.image(), qRgb(255, 0, 0)), 0);

    ASSERT_EQ(rows(), 3);
    entryList()->selectRow(c.selectRow);
    page->grab();
    std::vector<int> data = c.data;
    for (std::size_t i = 0; i < data.size(); ++i)
        if (c.selection[i] != 0)
            data[i] = 1;
    EXPECT_EQ(tail(graph, CGraphFeed::kDataLine, points), withTrailing(data));
    EXPECT_EQ(tail(graph, CGraphFeed::kSelectionLine, points), withTrailing(c.selection));
    EXPECT_GT(pixelsOf(graph.image(), qRgb(255, 0, 0)), 0) << "the selected entry's bar";

    auto* box = page->findChild<QCheckBox*>(QStringLiteral("animateCheck"));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); // on the box, not beside its text
    window.close();
    EXPECT_EQ(profileText("Graphs", "Animate"), "1");
}

INSTANTIATE_TEST_SUITE_P(Pages, GraphPageTest,
                         ::testing::Values(PageCase{0, "CEconomyTab", 2, {300, 250}, {0, 250}},
                                           PageCase{1, "CFuelCostTab", 0, {15, 12}, {15, 0}},
                                           PageCase{2, "CRunningCostTab", 1, {400}, {400}}),
                         [](const auto& info) { return std::string(info.param.page + 1); });

} // namespace
} // namespace window_test
