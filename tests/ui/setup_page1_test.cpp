// The Folders setup page headless: only that its controls reach the folder rules (the core's tests).

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
using namespace std::string_literals;
using namespace Qt::StringLiterals;

namespace {

class SetupPage1Test : public DialogTest {
protected:
    void TearDown() override {
        CFileDialog::setResponder(nullptr);
        DialogTest::TearDown();
    }
    std::string fields() {
        const auto text = [this](const char* edit) { return child<QLineEdit>(m_page, edit)->text().toStdString(); };
        return text("dataFolderEdit") + " " + text("backupFolderEdit") + " " + text("configFolderEdit");
    }

    CAppProfile m_settings{path("profile.ini")};
    CActivityLog m_log{path("Odrivo.log"), path("Odrivo.archive")};
    VehicleSettings m_vehicle;
    std::string m_data = "/d/", m_backup = "/b/", m_config = "/c/", m_def = path("def/");
    bool m_changed = false, m_askDelete = true;
    GraphSettings m_graph;
    ListAppearance m_list;
    SetupContext m_context{m_settings, m_log,   m_vehicle, m_data,      m_backup, m_config,
                           m_changed,  m_graph, m_list,    m_askDelete, {},       {}};
    CSetupPage1 m_page{m_context, nullptr, {path("Partners.ini"), path("home/"), m_def + "Data/", m_def, m_def}};
};

TEST_F(SetupPage1Test, ControlsReachTheFolderRules) {
    CFileDialog::setResponder([](const auto& r) { return r.start == "/c/"_L1 ? u"/picked"_s : QString(); });
    child<QToolButton>(m_page, "backupBrowseButton")->click(); // cancelled: the field stays
    child<QToolButton>(m_page, "configBrowseButton")->click();
    EXPECT_TRUE(m_changed) << "the vehicle list may now be another file";
    child<QCheckBox>(m_page, "splashCheck")->click();
    EXPECT_EQ(CAppProfile(path("profile.ini")).getNumber(ProfileKeys::Splash), 0);
    retype(child<QLineEdit>(m_page, "dataFolderEdit"), QStringLiteral("/typed"));
    m_page.writeBack();
    EXPECT_EQ(m_data + m_backup + m_config + " " + CAppProfile(path("profile.ini")).getText(ProfileKeys::Path),
              "/typed//b//picked/ /typed/");

    // RESET asks with No as the default; only Yes takes the defaults.
    for (const auto& [answer, fields] : {std::pair(QMessageBox::No, "/typed/ /b/ /picked/"s),
                                         std::pair(QMessageBox::Yes, m_def + "Data/ " + m_def + " " + m_def)}) {
        CMessageBox::clearShown();
        CMessageBox::setResponder([answer](const CMessageBox::Shown&) { return answer; });
        child<QPushButton>(m_page, "resetButton")->click();
        ASSERT_EQ(CMessageBox::shown().size(), 1u);
        EXPECT_EQ(std::pair(CMessageBox::shown()[0].icon, CMessageBox::shown()[0].defaultButton),
                  std::pair(QMessageBox::Warning, QMessageBox::No));
        EXPECT_EQ(this->fields(), fields);
    }
}

} // namespace
