// Tools > Setup from the main window: the sheet's pages reach the vehicle list and the profile.

#include "main_window_fixture.h"
#include "ui/setup/setup_page.h"
#include "ui/setup/setup_page3.h"
#include "ui/setup/setup_sheet.h"

#include <QRadioButton>
#include <QTabWidget>

namespace window_test {
namespace {

class SetupSheetTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        writeVehicles({"Van"}, {fills(3)});
        // A line the program never writes must come through every save unchanged.
        const std::string bytes = bytesOf(registryPath());
        ASSERT_TRUE(odrivo::writeFileAtomically(registryPath(), "; kept by hand\r\n" + bytes + "[Notes]\r\nA=1\r\n"));
        start();
    }
    // Runs Tools > Setup; `script` works the sheet and says how it closes.
    void runSetup(std::function<int(CSetupSheet&)> script) {
        m_dialogHandler = [script](QDialog& dialog) -> std::optional<int> {
            auto* sheet = qobject_cast<CSetupSheet*>(&dialog);
            if (!sheet)
                return std::nullopt;
            sheet->show();
            const int result = script(*sheet);
            sheet->done(result);
            return sheet->result();
        };
        m_window->action(CommandId::Setup)->trigger();
    }
    static CSetupPage* open(CSetupSheet& sheet, const char* title) {
        for (int i = 0; i < sheet.tabs()->count(); ++i)
            if (sheet.tabs()->tabText(i) == QLatin1String(title))
                sheet.tabs()->setCurrentIndex(i);
        return sheet.pages()[static_cast<std::size_t>(sheet.tabs()->currentIndex())];
    }
    template <class T> static T* field(QWidget* page, const char* name) {
        T* widget = page->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static void type(QWidget* page, const char* name, const char* text) {
        field<QLineEdit>(page, name)->setText(QString::fromLatin1(text));
    }
    static std::string registryText(const char* key) {
        return CProfileFile(registryPath()).getText("Van", key, "<absent>");
    }
};

TEST_F(SetupSheetTest, OkSavesRemindersAndUnitsToTheVehicleListAndTheFontToTheProfile) {
    QStringList titles;
    runSetup([&](CSetupSheet& sheet) {
        for (int i = 0; i < sheet.tabs()->count(); ++i)
            titles << sheet.tabs()->tabText(i);
        CSetupPage* reminders = open(sheet, "Reminders");
        type(reminders, "distanceEdit0", "3000");
        type(reminders, "nameEdit5", "Brakes");
        type(reminders, "daysEdit5", "30");
        CSetupPage* vehicle = open(sheet, "Vehicle");
        field<QRadioButton>(vehicle, "kilometersRadio")->setChecked(true);
        field<QRadioButton>(vehicle, "litreRadio")->setChecked(true);
        type(vehicle, "rateEdit", "0.455");
        type(vehicle, "companyEdit", "Acme");
        return QDialog::Accepted;
    });
    EXPECT_EQ(titles.join(u','), "List View,Folders,Reminders,Graph,Vehicle");
    const auto expected = std::vector<std::pair<const char*, std::string>>{{"OilDistance", "3000.000000"},
                                                                           {"Custom1", "Brakes"},
                                                                           {"C1Days", "30"},
                                                                           {"Distance", "Kilometer"},
                                                                           {"Liquid", "Litre"},
                                                                           {"CostPerMile", "0.455000"},
                                                                           {"Company", "Acme"}};
    for (const auto& [key, value] : expected)
        EXPECT_EQ(registryText(key), value) << key;
    EXPECT_EQ(bytesOf(registryPath()).rfind("; kept by hand\r\n[VehicleList]", 0), 0u);
    EXPECT_NE(bytesOf(registryPath()).find("[Notes]\r\nA=1\r\n"), std::string::npos);
    EXPECT_EQ(profileText("Initialize", "Company"), "Acme");
    EXPECT_EQ(profileText("MainFont", "Name"), "Tahoma");
    EXPECT_EQ(profileText("Graphs", "BarWidth"), "5");
    // The window works on what it read back.
    EXPECT_EQ(m_window->vehicleSettings().customNames[0], "Brakes");
    EXPECT_EQ(m_window->vehicleSettings().distanceUnit, 1);
}

TEST_F(SetupSheetTest, CancelStillKeepsTheEditedIntervalsButNotTheFontAndARefusalKeepsTheSheetOpen) {
    bool stayedOpen = false;
    runSetup([&](CSetupSheet& sheet) {
        CSetupPage* reminders = open(sheet, "Reminders");
        type(reminders, "daysEdit0", "120");
        // Graph changes are kept whichever way the sheet closes.
        static_cast<CSetupPage3*>(open(sheet, "Graph"))->setColour(CSetupPage3::Colour::Data, {1, 2, 3});
        open(sheet, "Reminders");
        type(reminders, "leadDaysEdit", "95");
        sheet.done(QDialog::Accepted);
        stayedOpen = sheet.isVisible();
        EXPECT_EQ(shownTexts().value(0), "Please enter an integer between 0 and 90 for Lead Days.");
        type(reminders, "leadDaysEdit", "9");
        // Leaving a page with a refused field is refused as well.
        type(open(sheet, "Vehicle"), "yearEdit", "later");
        open(sheet, "Graph");
        EXPECT_EQ(sheet.tabs()->tabText(sheet.tabs()->currentIndex()), "Vehicle");
        return QDialog::Rejected;
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(registryText("OilDays"), "120");
    EXPECT_EQ(registryText("LeadDays"), "9.000000");
    EXPECT_EQ(registryText("Year"), "2000");
    EXPECT_EQ(profileText("MainFont", "Name"), "<absent>");
    EXPECT_EQ(profileText("Graphs", "DataG"), "2");
}

} // namespace
} // namespace window_test
