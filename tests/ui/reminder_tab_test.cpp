// The Reminders tab page headless: it shows the reminder check's table for a log read from disk, each
// urgency in its colour, with the vehicle's own row labels, and blank cells for a file that cannot be read.

#include "../calc/fixed_locale.h"
#include "dialog_fixture.h"
#include "main_window_fixture.h"
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

class ReminderTabPage : public dialog_test::DialogTest {};

TEST_F(ReminderTabPage, ShowsTheComputedTableInUrgencyColoursAndBlanksForAnUnreadableFile) {
    // Oil by distance, coolant by days, tires by both, custom 1 "Brakes" by distance, custom 4 "Wipers".
    VehicleSettings v;
    std::tie(v.name, v.vin, v.oilDistance, v.coolDays, v.tireDistance, v.tireDays) =
        std::tuple("Van", "VIN1", 3000, 365, 5000, 180);
    std::tie(v.customNames[0], v.customDistance[0], v.customNames[3], v.leadOdo, v.leadDays) =
        std::tuple("Brakes", 2000, "Wipers", 500, 30);
    CVehicleLogDoc doc;
    for (const CDVItem& e :
         {repair("Oil Change", 10000, kToday - 100 * kDay), repair("Coolant Flush", 11000, kToday - 350 * kDay),
          repair("Rotate Tires", 12000, kToday - 10 * kDay), repair("Brakes, front pads", 12000, kToday - 10 * kDay)})
        doc.append(std::make_unique<CDVItem>(e));
    const std::string file = CVehicleLogDoc::dataFilePath(m_dir.string() + "/", "VIN1");
    ASSERT_TRUE(doc.save(file).saved);

    CVehicleLogDoc read;
    ASSERT_TRUE(read.load(file).ok());
    const FixedLocale locale;
    CReminderTab tab(locale);
    tab.setSource(&read, v, 13500, kToday);
    tab.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
    auto* table = tab.findChild<QTableWidget*>("reminderTable");
    ASSERT_NE(table, nullptr);
    const auto cell = [table](int row, int column) {
        const QTableWidgetItem* item = table->item(row, column);
        return std::pair(item->text().toStdString(), item->foreground().color().name().toStdString());
    };
    const std::tuple<int, int, const char*, const char*> cases[] = {{0, 3, "  13000", "#be0000"},
                                                                    {1, 4, "16.06.2026", "#ffff04"},
                                                                    {2, 4, "18.11.2026", "#000000"},
                                                                    {5, 0, "Brakes", "#000000"},
                                                                    {8, 0, "Wipers", "#000000"}};
    for (const auto& [row, column, text, colour] : cases)
        EXPECT_EQ(cell(row, column), std::pair(std::string(text), std::string(colour))) << row << "/" << column;

    write("garbage.odv", "not a log at all");
    EXPECT_FALSE(read.load(path("garbage.odv")).ok());
    tab.setSource(&read, v, 13500, kToday);
    tab.refreshTable();
    for (int row = 0; row < CReminderCheck::kKindCount; ++row)
        for (int column = 1; column < CReminderTab::kColumnCount; ++column)
            EXPECT_EQ(cell(row, column).first, "-------") << row << "/" << column;
}

} // namespace

namespace window_test {
namespace {

// The window hands the tab the log it has just read, at start and at every switch of vehicle.
TEST_F(MainWindowTest, RemindersTabShowsTheLogTheWindowReadLast) {
    CDVItem oil = entry(CDVItem::Repair, 1000);
    oil.Entry = "Oil Change";
    writeVehicles({"Alpha", "Beta"}, {{oil}, fills(2)});
    ASSERT_TRUE(profile().putNumber(ProfileKeys::SelectedTab, 4));
    CVehicleLogDlg& window = start();
    auto* table = child<QTableWidget>("reminderTable");
    const auto lastOil = [table] { return table->item(0, CReminderTab::kLastOdometerColumn)->text().toStdString(); };
    EXPECT_EQ(lastOil(), "   1000");
    window.switchVehicle(1);
    EXPECT_EQ(window.vehicleName(), "Beta");
    EXPECT_EQ(lastOil(), "-------") << "no oil change in this log";
}

} // namespace
} // namespace window_test
