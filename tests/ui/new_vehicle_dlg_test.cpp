// The new vehicle dialog headless: refusals and Cancel writing nothing, and the data file error.
// Save through the dialog is driven by the main window test.

#include "dialog_fixture.h"
#include "store/vehicle_registry.h"
#include "store/vehicle_settings.h"
#include "ui/entry/new_vehicle_dlg.h"

#include <tuple>

using namespace dialog_test;

namespace {

constexpr std::time_t kNow = 1765000000;

class NewVehicleDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        fs::create_directories(m_config);
        fs::create_directories(m_data);
    }
    std::unique_ptr<CNewVehicleDlg> open(const std::string& data = {}) {
        auto dialog = std::make_unique<CNewVehicleDlg>(m_config, data.empty() ? m_data : data);
        dialog->setClock([] { return kNow; });
        dialog->show();
        retype(child<QLineEdit>(*dialog, "vinEdit"), "NEW1");
        return dialog;
    }
    std::string m_config = path("config") + "/", m_data = path("data") + "/";
    std::string m_registry = m_config + CVehicleRegistry::kFileName;
};

TEST_F(NewVehicleDlgTest, RefusalAndCancelWriteNothing) {
    const std::string before = "[VehicleList]\r\nVehicle0=My Van\r\n";
    write("config/Drivana.ini", before);
    write("data/TAKEN1.odv", "entries");
    const struct {
        const char *edit, *typed, *named;
    } cases[] = {{"odometerEdit", "12 km", "Starting Odometer"},
                 {"nameEdit", "my van", "\"My Van\" already exists"},
                 {"vinEdit", "taken1", "TAKEN1.odv"},
                 {"cancelButton", "", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit);
        auto dialog = open();
        CMessageBox::clearShown();
        if (*c.typed) {
            retype(child<QLineEdit>(*dialog, c.edit), c.typed);
            child<QLineEdit>(*dialog, "plateEdit")->setFocus();
            dialog->save();
            expectRefused(*dialog, c.named);
            EXPECT_EQ(dialog->focusWidget(), child<QLineEdit>(*dialog, c.edit));
        } else {
            click(*dialog, c.edit);
            EXPECT_EQ(dialog->result(), CNewVehicleDlg::kCancelled);
        }
        EXPECT_EQ(read(m_registry), before);
    }
    EXPECT_EQ(read(m_data + "TAKEN1.odv"), "entries");
    EXPECT_FALSE(fs::exists(m_data + "NEW1.odv"));
}

TEST_F(NewVehicleDlgTest, DataFileErrorFollowsTheRegistration) {
    auto failing = open(path("gone") + "/");
    failing->save();
    EXPECT_EQ(failing->result(), CNewVehicleDlg::kSaved);
    ASSERT_EQ(CMessageBox::shown().size(), 1u);
    EXPECT_TRUE(CMessageBox::shown()[0].text.startsWith("Unable to create database.\nFilename: NEW1\nPath: "));
    EXPECT_EQ(CVehicleRegistry(m_config).vehicleNames(), std::vector<std::string>{"New Vehicle"});
}

} // namespace
