// The Reminders tab page headless: the table it shows for a log on disk (texts, urgency
// colours, custom row labels), the blank table for a file it cannot read, the cache of the
// loaded entries, and the refresh that a repaint of the table brings.

#include "../calc/fixed_locale.h"
#include "dialog_fixture.h"
#include "store/vehicle_log_doc.h"
#include "ui/main/reminder_tab.h"

#include <QColor>
#include <QTableWidget>
#include <tuple>

namespace fs = std::filesystem;

namespace {

constexpr DVTime kDay = 86400;
const DVTime kToday = utcTime(2026, 6, 1, 12, 0);
const QColor kBlack(0, 0, 0);
const QColor kRed(190, 0, 0);
const QColor kYellow(255, 255, 4);

CDVItem repair(const std::string& text, double odometer, DVTime date) {
    CDVItem item;
    std::tie(item.EntryType, item.Entry, item.Odometer, item.Date) = std::tuple(CDVItem::Repair, text, odometer, date);
    return item;
}

// Oil by distance only, coolant by days only, tires by both, custom 1 "Brakes" by distance.
VehicleSettings vehicle() {
    VehicleSettings v;
    std::tie(v.name, v.vin, v.oilDistance, v.coolDays, v.tireDistance, v.tireDays) =
        std::tuple("Van", "VIN1", 3000, 365, 5000, 180);
    std::tie(v.customNames[0], v.customDistance[0], v.leadOdo, v.leadDays) = std::tuple("Brakes", 2000, 500, 30);
    return v;
}

class ReminderTabPage : public dialog_test::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        m_file = CVehicleLogDoc::dataFilePath(m_dir.string() + "/", "VIN1");
    }

    static void save(const std::string& path, const std::vector<CDVItem>& entries) {
        CVehicleLogDoc doc;
        for (const CDVItem& e : entries)
            doc.append(std::make_unique<CDVItem>(e));
        ASSERT_TRUE(doc.save(path).saved) << path;
    }

    static QTableWidget* grid(CReminderTab& tab) {
        auto* table = tab.findChild<QTableWidget*>("reminderTable");
        EXPECT_NE(table, nullptr);
        return table;
    }

    // Texts and colours as std::string, so that a failure prints them readably.
    static std::string cellText(CReminderTab& tab, int row, int column) {
        return grid(tab)->item(row, column)->text().toStdString();
    }
    static std::string cellColour(CReminderTab& tab, int row, int column) {
        return colour(grid(tab)->item(row, column)->foreground().color());
    }
    static std::string colour(const QColor& c) { return c.name().toStdString(); }

    std::string m_file;
    FixedLocale m_locale;
    const std::vector<CDVItem> m_log{
        repair("Oil Change", 10000, kToday - 100 * kDay), repair("Coolant Flush", 11000, kToday - 350 * kDay),
        repair("Rotate Tires", 12000, kToday - 10 * kDay), repair("Brakes, front pads", 12000, kToday - 10 * kDay)};
};

// The cells' figures are the reminder check's (tested there); here: the table shows them,
// each urgency in its colour on silver, with the vehicle's own row labels.
TEST_F(ReminderTabPage, ShowsTheComputedTableWithUrgencyColours) {
    save(m_file, m_log);
    VehicleSettings v = vehicle();
    v.customNames[3] = "Wipers";
    CReminderTab tab(m_locale);
    tab.setSource(m_file, v, 13500, kToday);
    tab.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
    const struct {
        int row, column;
        const char* text;
        QColor colour;
    } cases[] = {{0, 3, "  13000", kRed},
                 {1, 4, "16.06.2026", kYellow},
                 {2, 4, "18.11.2026", kBlack},
                 {5, 0, "Brakes", kBlack},
                 {8, 0, "Wipers", kBlack}};
    for (const auto& c : cases) {
        EXPECT_EQ(cellText(tab, c.row, c.column), c.text) << c.row << "/" << c.column;
        EXPECT_EQ(cellColour(tab, c.row, c.column), colour(c.colour)) << c.row << "/" << c.column;
    }
}

TEST_F(ReminderTabPage, FileThatCannotBeReadShowsBlankCells) {
    save(m_file, m_log);
    write("garbage.odv", "not a log at all");
    for (const std::string& bad : {path("garbage.odv"), path("missing.odv"), m_dir.string()}) {
        CReminderTab tab(m_locale);
        // A good file first, so that a table left over from it would show.
        tab.setSource(m_file, vehicle(), 13500, kToday);
        tab.refreshTable();
        ASSERT_EQ(cellText(tab, 0, 1), "  10000");
        tab.setSource(bad, vehicle(), 13500, kToday);
        tab.refreshTable();
        for (int row = 0; row < CReminderCheck::kKindCount; ++row)
            for (int column = 1; column < CReminderTab::kColumnCount; ++column)
                EXPECT_EQ(cellText(tab, row, column), "-------") << bad << " " << row << "/" << column;
    }
}

// Counts the paint events of one widget.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return QObject::eventFilter(watched, event);
    }
};

// A repaint refreshes the table, but the file is read again only when it changed.
TEST_F(ReminderTabPage, RepaintReadsTheFileAgainOnlyWhenItChanged) {
    save(m_file, m_log);
    CReminderTab tab(m_locale);
    tab.setSource(m_file, vehicle(), 13500, kToday);
    tab.resize(600, 400);
    tab.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
    QTest::qWait(20);
    EXPECT_EQ(tab.fileLoads(), 1);
    tab.setSource(m_file, vehicle(), 17000, kToday); // new inputs: recomputed from the kept entries
    tab.refreshTable();
    EXPECT_EQ(tab.fileLoads(), 1);
    EXPECT_EQ(cellColour(tab, 2, 3), colour(kRed));

    std::vector<CDVItem> longer = m_log;
    longer.push_back(repair("Transmission Service", 13000, kToday - kDay));
    save(m_file, longer);
    QWidget* viewport = grid(tab)->viewport();
    PaintCounter counter;
    viewport->installEventFilter(&counter);
    viewport->repaint();
    EXPECT_EQ(tab.fileLoads(), 2);
    EXPECT_EQ(cellText(tab, 4, 1), "  13000");
    QTest::qWait(200); // changing cells from a paint schedules one more paint, which finds nothing new
    EXPECT_LE(counter.paints, 4);
    EXPECT_EQ(tab.fileLoads(), 2);

    // Another file of the same size and time is read too.
    const std::string other = path("other.odv");
    longer[0].Odometer = 20000;
    save(other, longer);
    fs::last_write_time(other, fs::last_write_time(m_file));
    ASSERT_EQ(fs::file_size(other), fs::file_size(m_file));
    tab.setSource(other, vehicle(), 17000, kToday);
    tab.refreshTable();
    EXPECT_EQ(tab.fileLoads(), 3);
    EXPECT_EQ(cellText(tab, 0, 1), "  20000");
}

} // namespace
