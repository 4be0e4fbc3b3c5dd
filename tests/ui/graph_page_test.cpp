#include "dialog_fixture.h"
#include "main_window_fixture.h"

#include "ui/charts/graph_page.h"
#include "ui/charts/push_graph.h"
#include "ui/toolkit/file_dialog.h"

#include <QClipboard>
#include <QHelpEvent>
#include <QToolTip>
#include <QXmlStreamReader>

namespace window_test {
namespace {

struct PageCase {
    int tab;
    const char* page;
    int selectRow;   // row of the list (view Any: fuel, repair, fuel)
    int key;         // the entry's place in the log, which its point carries
    const char* tip; // its value in the tooltip
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
    // Clicking the entry's point selects its row; hovering it shows its value.
    int x = 0;
    while (x < graph.width() && graph.model().keyAt(x) != c.key)
        ++x;
    ASSERT_LT(x, graph.width()) << "the entry has a point";
    QHelpEvent hover(QEvent::ToolTip, QPoint(x, 5), graph.mapToGlobal(QPoint(x, 5)));
    QApplication::sendEvent(page->graph(), &hover);
    EXPECT_TRUE(QToolTip::text().endsWith(QString::fromLatin1(c.tip))) << QToolTip::text().toStdString();
    QTest::mouseClick(page->graph(), Qt::LeftButton, {}, QPoint(x, 5));
    EXPECT_TRUE(entryList()->selectionModel()->isRowSelected(c.selectRow, {}));
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
                         ::testing::Values(PageCase{0, "CEconomyTab", 2, 2, "  25.00", {300, 250}, {300, 1}, {0, 250}},
                                           PageCase{1, "CFuelCostTab", 0, 0, "  1.500", {15, 12}, {1, 12}, {15, 0}},
                                           PageCase{2, "CRunningCostTab", 1, 1, "  40.00", {400}, {1}, {400}}),
                         [](const auto& info) { return std::string(info.param.page + 1); });

} // namespace
} // namespace window_test

namespace dialog_test {
namespace {

TEST_F(DialogTest, ChartImageIsSavedAsPngOrSvgAndAFailureNamesTheFile) {
    C2DPushGraph graph;
    graph.resize(240, 90);
    graph.model().addLine(0, {255, 0, 0});
    graph.model().setBarMode(0, true);
    graph.model().push(20, 0);
    QString chosen;
    CFileDialog::setResponder([&chosen](const CFileDialog::Request&) { return chosen; });
    auto at = [this](const char* name) { return QString::fromStdString(path(name)); };
    // The chosen name and the file written; none when refused with a message naming the file.
    const std::pair<QString, QString> cases[] = {{at("a.png"), at("a.png")},
                                                 {at("bare"), at("bare.png")},
                                                 {at("a.svg"), at("a.svg")},
                                                 {at("a.jpg"), {}},
                                                 {at("gone/a.png"), {}}};
    for (const auto& [name, written] : cases) {
        SCOPED_TRACE(name.toStdString());
        CMessageBox::clearShown();
        chosen = name;
        graph.saveImageAs();
        ASSERT_EQ(CMessageBox::shown().size(), written.isEmpty() ? 1u : 0u);
        if (written.isEmpty()) {
            EXPECT_TRUE(CMessageBox::shown()[0].text.contains(QDir::toNativeSeparators(name)));
            EXPECT_FALSE(QFileInfo::exists(name)) << "nothing written";
        } else if (QFile file(written); written.endsWith(QLatin1String(".svg")) && file.open(QIODevice::ReadOnly)) {
            QXmlStreamReader xml(&file);
            EXPECT_TRUE(xml.readNextStartElement() && xml.name() == QLatin1String("svg"));
            while (!xml.atEnd())
                xml.readNext();
            EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        } else {
            const QImage image(written);
            EXPECT_EQ(image.size(), QSize(240, 90));
            EXPECT_EQ(image.pixel(15, 85), qRgb(255, 0, 0)) << "the bar";
        }
    }
    graph.copyImage();
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(240, 90));
    CFileDialog::setResponder(nullptr);
}

} // namespace
} // namespace dialog_test
