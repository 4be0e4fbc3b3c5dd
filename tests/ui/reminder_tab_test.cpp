// The Reminders tab page headless: the table it shows for a log on disk (urgency colours,
// custom row labels) and blank cells for a file it cannot read.

#include "../calc/fixed_locale.h"
#include "dialog_fixture.h"
#include "store/vehicle_log_doc.h"
#include "ui/main/reminder_tab.h"

#include <QTableWidget>
#include <tuple>

namespace {

constexpr DVTime kDay = 86400;
const DVTime kToday = utcTime(2026, 6, 1, 12, 0);

CDVItem repair(const std::string& text, double odometer, DVTime date) {
    CDVItem item;
    std::tie(item.EntryType, item.Entry, item.Odometer, item.Date) = std::tuple(CDVItem::Repair, text, odometer, date);
    return item;
}

class ReminderTabPage : public dialog_test::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        // Oil by distance only, coolant by days only, tires by both, custom 1 "Brakes" by distance.
        std::tie(m_vehicle.name, m_vehicle.vin, m_vehicle.oilDistance, m_vehicle.coolDays, m_vehicle.tireDistance,
                 m_vehicle.tireDays) = std::tuple("Van", "VIN1", 3000, 365, 5000, 180);
        std::tie(m_vehicle.customNames[0], m_vehicle.customDistance[0], m_vehicle.leadOdo, m_vehicle.leadDays,
                 m_vehicle.customNames[3]) = std::tuple("Brakes", 2000, 500, 30, "Wipers");
        save(m_file, m_log);
        m_tab.setSource(m_file, m_vehicle, 13500, kToday);
        m_tab.resize(600, 400);
        m_tab.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_tab));
    }
    static void save(const std::string& path, const std::vector<CDVItem>& entries) {
        CVehicleLogDoc doc;
        for (const CDVItem& e : entries)
            doc.append(std::make_unique<CDVItem>(e));
        ASSERT_TRUE(doc.save(path).saved) << path;
    }
    QTableWidgetItem* cell(int row, int column) {
        return m_tab.findChild<QTableWidget*>("reminderTable")->item(row, column);
    }
    std::string text(int row, int column) { return cell(row, column)->text().toStdString(); }
    std::string colour(int row, int column) { return cell(row, column)->foreground().color().name().toStdString(); }

    const std::string m_file = CVehicleLogDoc::dataFilePath(m_dir.string() + "/", "VIN1");
    std::vector<CDVItem> m_log{
        repair("Oil Change", 10000, kToday - 100 * kDay), repair("Coolant Flush", 11000, kToday - 350 * kDay),
        repair("Rotate Tires", 12000, kToday - 10 * kDay), repair("Brakes, front pads", 12000, kToday - 10 * kDay)};
    VehicleSettings m_vehicle;
    FixedLocale m_locale;
    CReminderTab m_tab{m_locale};
};

// The cells' figures are the reminder check's (tested there); here: the table shows them,
// each urgency in its colour, with the vehicle's own row labels.
TEST_F(ReminderTabPage, ShowsTheComputedTableWithUrgencyColours) {
    const struct {
        int row, column;
        const char *text, *colour;
    } cases[] = {{0, 3, "  13000", "#be0000"},
                 {1, 4, "16.06.2026", "#ffff04"},
                 {2, 4, "18.11.2026", "#000000"},
                 {5, 0, "Brakes", "#000000"},
                 {8, 0, "Wipers", "#000000"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.row) + "/" + std::to_string(c.column));
        EXPECT_EQ(std::pair(text(c.row, c.column), colour(c.row, c.column)),
                  std::pair(std::string(c.text), std::string(c.colour)));
    }
}

TEST_F(ReminderTabPage, FileThatCannotBeReadShowsBlankCells) {
    write("garbage.odv", "not a log at all");
    for (const std::string& bad : {path("garbage.odv"), path("missing.odv"), m_dir.string()}) {
        m_tab.setSource(m_file, m_vehicle, 13500, kToday); // a table left over from a good file would show
        m_tab.refreshTable();
        ASSERT_EQ(text(0, 1), "  10000");
        m_tab.setSource(bad, m_vehicle, 13500, kToday);
        m_tab.refreshTable();
        for (int row = 0; row < CReminderCheck::kKindCount; ++row)
            for (int column = 1; column < CReminderTab::kColumnCount; ++column)
                EXPECT_EQ(text(row, column), "-------") << bad << " " << row << "/" << column;
    }
}

} // namespace
