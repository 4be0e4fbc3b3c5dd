// The Folders setup page headless: that its controls reach the folder rules. The rules
// themselves (sync, the save's backup folder, the partnerships) are the core's.

#include "calc/graph_feed.h"
#include "calc/list_appearance.h"
#include "dialog_fixture.h"
#include "store/activity_log.h"
#include "store/vehicle_settings.h"
#include "ui/setup/setup_page1.h"
#include "ui/toolkit/file_dialog.h"

#include <QCheckBox>
#include <QToolButton>

using namespace dialog_test;

namespace {

class SetupPage1Test : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        m_context = std::make_unique<SetupContext>(SetupContext{
            *m_profile, m_log, m_vehicle, m_data, m_backup, m_config, m_changed, m_graph, m_list, m_askDelete, {}, {}});
        m_page = std::make_unique<CSetupPage1>(
            *m_context, nullptr,
            CFolderSetupForm::Places{path("Partners.ini"), path("home/"), m_def + "Data/", m_def + "Backup/", m_def});
    }
    void TearDown() override {
        m_page.reset();
        CFileDialog::setResponder(nullptr);
        DialogTest::TearDown();
    }
    std::string fields() {
        return (child<QLineEdit>(*m_page, "dataFolderEdit")->text() + " " +
                child<QLineEdit>(*m_page, "backupFolderEdit")->text() + " " +
                child<QLineEdit>(*m_page, "configFolderEdit")->text())
            .toStdString();
    }

    CActivityLog m_log{path("Odrivo.log"), path("Odrivo.archive")};
    VehicleSettings m_vehicle;
    std::string m_data = "/d/", m_backup = "/b/", m_config = "/c/";
    bool m_changed = false, m_askDelete = true;
    GraphSettings m_graph;
    ListAppearance m_list;
    const std::string m_def = path("def") + "/";
    std::unique_ptr<SetupContext> m_context;
    std::unique_ptr<CSetupPage1> m_page;
};

TEST_F(SetupPage1Test, ResetAsksWithNoAsDefaultAndOnlyYesTakesTheDefaults) {
    const struct {
        QMessageBox::StandardButton answer;
        std::string fields;
    } cases[] = {{QMessageBox::No, "/d/ /b/ /c/"}, {QMessageBox::Yes, m_def + "Data/ " + m_def + "Backup/ " + m_def}};
    for (const auto& c : cases) {
        CMessageBox::clearShown();
        CMessageBox::setResponder([&c](const CMessageBox::Shown&) { return c.answer; });
        child<QPushButton>(*m_page, "resetButton")->click();
        ASSERT_EQ(CMessageBox::shown().size(), 1u);
        EXPECT_EQ(CMessageBox::shown()[0].icon, QMessageBox::Warning);
        EXPECT_EQ(CMessageBox::shown()[0].defaultButton, QMessageBox::No);
        EXPECT_EQ(fields(), c.fields);
    }
    EXPECT_EQ(m_data + m_backup + m_config, "/d//b//c/") << "the folders in use change on close";
}

TEST_F(SetupPage1Test, BrowseFillsTheFieldAndWriteBackStoresTheFieldsWithSeparators) {
    CFileDialog::setResponder([](const CFileDialog::Request& request) {
        return request.start == QLatin1String("/c/") ? QStringLiteral("/picked") : QString();
    });
    child<QToolButton>(*m_page, "backupBrowseButton")->click(); // cancelled
    EXPECT_FALSE(m_changed);
    child<QToolButton>(*m_page, "configBrowseButton")->click();
    EXPECT_TRUE(m_changed) << "the vehicle list may now be another file";
    retype(child<QLineEdit>(*m_page, "dataFolderEdit"), QStringLiteral("/typed"));
    EXPECT_EQ(fields(), "/typed /b/ /picked/");
    EXPECT_TRUE(m_page->isChanged());

    m_page->writeBack();
    EXPECT_EQ(m_data + m_backup + m_config, "/typed//b//picked/");
    const CAppProfile stored(path("profile.ini"));
    EXPECT_EQ(stored.getText(ProfileKeys::Path) + stored.getText(ProfileKeys::Config), "/typed//picked/");
}

TEST_F(SetupPage1Test, SplashIsWrittenAtOnce) {
    auto* splash = child<QCheckBox>(*m_page, "splashCheck");
    EXPECT_TRUE(splash->isChecked());
    splash->click();
    EXPECT_EQ(CAppProfile(path("profile.ini")).getNumber(ProfileKeys::Splash), 0);
}

} // namespace
