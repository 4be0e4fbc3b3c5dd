// The Reminders tab page headless: the table it shows for a log on disk, urgency colours,
// custom row labels, and blank cells once the file cannot be read.

#include "../calc/fixed_locale.h"
#include "dialog_fixture.h"
#include "store/vehicle_log_doc.h"
#include "ui/main/reminder_tab.h"

#include <QTableWidget>
#include <tuple>

using dialog_test::DialogTest;

namespace {

// The cells' figures are the reminder check's (tested there); here: the table shows them,
// each urgency in its colour, with the vehicle's own row labels.
TEST_F(DialogTest, ReminderTabShowsTheComputedTableWithUrgencyColours) {
    const DVTime day = 86400, today = utcTime(2026, 6, 1, 12, 0);
    CVehicleLogDoc doc;
    for (const auto& [text, odometer, age] : {std::tuple{"Oil Change", 10000, 100},
                                              {"Coolant Flush", 11000, 350},
                                              {"Rotate Tires", 12000, 10},
                                              {"Brakes, front pads", 12000, 10}}) {
        auto item = std::make_unique<CDVItem>();
        std::tie(item->EntryType, item->Entry, item->Odometer, item->Date) =
            std::tuple(CDVItem::Repair, text, odometer, today - age * day);
        doc.append(std::move(item));
    }
    const std::string file = CVehicleLogDoc::dataFilePath(m_dir.string() + "/", "VIN1");
    ASSERT_TRUE(doc.save(file).saved);
    // Oil by distance only, coolant by days only, tires by both, custom 1 "Brakes" by distance.
    VehicleSettings v;
    std::tie(v.name, v.vin, v.oilDistance, v.coolDays, v.tireDistance, v.tireDays) =
        std::tuple("Van", "VIN1", 3000, 365, 5000, 180);
    std::tie(v.customNames[0], v.customDistance[0], v.leadOdo, v.leadDays, v.customNames[3]) =
        std::tuple("Brakes", 2000, 500, 30, "Wipers");
    FixedLocale locale;
    CReminderTab tab(locale);
    tab.setSource(file, v, 13500, today);
    tab.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
    auto* table = tab.findChild<QTableWidget*>("reminderTable");
    const struct {
        int row, column;
        const char *text, *colour;
    } cases[] = {{0, 3, "  13000", "#be0000"},
                 {1, 4, "16.06.2026", "#ffff04"},
                 {2, 4, "18.11.2026", "#000000"},
                 {5, 0, "Brakes", "#000000"},
                 {8, 0, "Wipers", "#000000"}};
    for (const auto& c : cases) {
        const QTableWidgetItem* cell = table->item(c.row, c.column);
        EXPECT_EQ(std::pair(cell->text().toStdString(), cell->foreground().color().name().toStdString()),
                  std::pair(std::string(c.text), std::string(c.colour)))
            << c.row << "/" << c.column;
    }
    tab.setSource(path("missing.odv"), v, 13500, today); // nothing left over from the good file
    tab.refreshTable();
    EXPECT_EQ(std::pair(table->item(0, 1)->text(), table->item(8, 4)->text()),
              std::pair(QString("-------"), QString("-------")));
}

} // namespace
