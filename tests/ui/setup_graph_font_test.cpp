// The "Graph" and "List View" setup pages: each control reaches the settings at the time it
// should. The field rules themselves are covered by the core form tests.

#include "calc/graph_feed.h"
#include "calc/list_appearance.h"
#include "calc/list_font_form.h"
#include "dialog_fixture.h"
#include "store/activity_log.h"
#include "store/vehicle_settings.h"
#include "ui/charts/push_graph.h"
#include "ui/setup/choose_font_page.h"
#include "ui/setup/setup_page3.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QRadioButton>

namespace {

using namespace dialog_test;

class SetupGraphFontTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        m_log = std::make_unique<CActivityLog>(path("activity.log"), path("activity.old"));
        m_context = std::make_unique<SetupContext>(
            SetupContext{*m_profile, *m_log, m_vehicle, m_data, m_backup, m_config, m_foldersChanged, m_graph, m_list,
                         m_askDelete, [this] { ++m_graphChanges; }, [this] { ++m_listChanges; }});
    }
    // The next colour pickers answer `colour`.
    static void answerColour(QColor colour) {
        CModalRunner::setHandler([colour](QDialog& dialog) {
            static_cast<QColorDialog&>(dialog).setCurrentColor(colour);
            return static_cast<int>(QDialog::Accepted);
        });
    }
    static void press(QWidget& page, const char* name) { child<QAbstractButton>(page, name)->click(); }
    static void leave(QWidget& page, const char* field, const char* text) {
        auto* edit = child<QLineEdit>(page, field);
        edit->setText(QString::fromLatin1(text));
        QTest::keyClick(edit, Qt::Key_Return);
    }

    std::unique_ptr<CActivityLog> m_log;
    VehicleSettings m_vehicle;
    std::string m_data, m_backup, m_config;
    bool m_foldersChanged = false;
    GraphSettings m_graph;
    ListAppearance m_list;
    bool m_askDelete = true;
    int m_graphChanges = 0;
    int m_listChanges = 0;
    std::unique_ptr<SetupContext> m_context;
};

TEST_F(SetupGraphFontTest, GraphBarWidthLeftOutsideTwoToNineteenWaitsForAColourPick) {
    CSetupPage3 page(*m_context);
    leave(page, "barWidthEdit", "7");
    EXPECT_EQ(m_graph.barWidth, 7);
    leave(page, "barWidthEdit", "20");
    EXPECT_EQ(m_graph.barWidth, 7);
    press(page, "dataButton"); // the fixture cancels the picker: nothing changes
    EXPECT_EQ(m_graph.data, GraphSettings{}.data);
    answerColour(QColor(1, 2, 3));
    press(page, "dataButton");
    EXPECT_EQ(m_graph.data, (Rgb{1, 2, 3}));
    EXPECT_EQ(m_graph.barWidth, 20);
    EXPECT_EQ(m_graph.grid, 5);
    EXPECT_EQ(m_graphChanges, 3);
    EXPECT_TRUE(CMessageBox::shown().empty());

    child<QLineEdit>(page, "barWidthEdit")->setText(QStringLiteral("26"));
    EXPECT_FALSE(page.validate());
    ASSERT_EQ(CMessageBox::shown().size(), 1u);
    EXPECT_TRUE(CMessageBox::shown()[0].text.contains(QStringLiteral("Bar Width")));
    EXPECT_EQ(m_graph.barWidth, 20);
}

TEST_F(SetupGraphFontTest, GraphStyleAndFlagsLandAtOnceAndTheSampleFollows) {
    CSetupPage3 page(*m_context);
    const auto* sample = page.findChild<C2DPushGraph*>(QStringLiteral("sampleGraph"));
    ASSERT_NE(sample, nullptr);
    const auto* data = sample->model().line(CGraphFeed::kDataLine);
    ASSERT_NE(data, nullptr);
    EXPECT_FALSE(data->magnitudes.empty());
    EXPECT_TRUE(data->bar);

    press(page, "linesRadio");
    EXPECT_EQ(m_graph.graphType, 1);
    EXPECT_FALSE(sample->model().line(CGraphFeed::kDataLine)->bar);
    press(page, "showLabelsCheck");
    EXPECT_FALSE(m_graph.labels);
    press(page, "showGridCheck");
    EXPECT_FALSE(m_graph.showGrid);
    EXPECT_FALSE(sample->model().showGrid());
    leave(page, "gridSizeEdit", "9");
    EXPECT_EQ(m_graph.grid, 9);
    EXPECT_EQ(m_graphChanges, 4);
    EXPECT_TRUE(page.isChanged());
}

TEST_F(SetupGraphFontTest, FontSizeTypedChangesOnlyThePagesFontUnlessZero) {
    CChooseFontPage page(*m_context);
    auto* size = child<QComboBox>(page, "fontSizeCombo");
    size->setEditText(QStringLiteral("16"));
    const int height = CListFontForm::heightForSize(16, page.logicalDpiY());
    EXPECT_EQ(page.chosenFont().height, height);
    for (const char* ignored : {"0", "abc"}) {
        size->setEditText(QString::fromLatin1(ignored));
        EXPECT_EQ(page.chosenFont().height, height) << ignored;
    }
    press(page, "boldCheck");
    EXPECT_EQ(page.chosenFont().weight, 400);
    EXPECT_EQ(m_list.font, ListFont{}); // the Setup command takes the font on OK
}

TEST_F(SetupGraphFontTest, ListShadingAndColoursLandAtOnceFlagsOnWriteBack) {
    CChooseFontPage page(*m_context);
    press(page, "shadedLinesCheck");
    EXPECT_FALSE(m_list.lines);
    answerColour(QColor(9, 8, 7));
    press(page, "lineColorButton");
    EXPECT_EQ(m_list.lineColour, (Rgb{9, 8, 7}));
    EXPECT_EQ(m_listChanges, 2);

    press(page, "askDeleteCheck");
    press(page, "gridLinesCheck");
    EXPECT_TRUE(m_askDelete);
    EXPECT_FALSE(m_list.grid);
    page.writeBack();
    EXPECT_FALSE(m_askDelete);
    EXPECT_TRUE(m_list.grid);
}

} // namespace
