#pragma once
// The main window test fixture: a temporary home for the XDG folders, message boxes and
// modal dialogs answered by the test, and a window started the way the program starts it.

#include "../store/log_file_bytes.h"
#include "store/activity_log.h"
#include "store/app_folders.h"
#include "store/app_profile.h"
#include "store/file_io.h"
#include "store/profile_file.h"
#include "store/window_placement.h"
#include "ui/entry/delete_confirm_dlg.h"
#include "ui/entry/entry_dialogs.h"
#include "ui/entry/fuel_dlg.h"
#include "ui/main/command_ids.h"
#include "ui/main/splash_dlg.h"
#include "ui/main/vehicle_log_dlg.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/modal_runner.h"
#include "ui/toolkit/shell.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace window_test {

namespace fs = std::filesystem;

class ScriptedEditor : public CEntryEditor {
public:
    std::function<bool(CDVItem&)> script;
    int calls = 0;
    bool edit(CDVItem& item) override {
        ++calls;
        return script(item);
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& [name, sub] : {std::pair{"XDG_CONFIG_HOME", "config"}, std::pair{"XDG_DATA_HOME", "data"},
                                        std::pair{"XDG_STATE_HOME", "state"}})
            setenv(name, (m_home / sub).c_str(), 1);
        CMessageBox::clearShown();
        CMessageBox::setResponder([](const CMessageBox::Shown&) { return QMessageBox::Ok; });
        CModalRunner::setHandler([this](QDialog& dialog) {
            if (m_dialogHandler)
                if (const auto answer = m_dialogHandler(dialog))
                    return *answer;
            if (auto* splash = qobject_cast<CSplashDlg*>(&dialog)) {
                ++m_splashShown;
                if (m_uncheckSplash)
                    splash->findChild<QCheckBox*>(QStringLiteral("showAtStartupCheck"))->setChecked(false);
            }
            return static_cast<int>(QDialog::Accepted);
        });
        CShell::setHandler([this](const QUrl& url) {
            m_opened.push_back(url);
            return true;
        });
    }

    void TearDown() override {
        m_window.reset();
        m_log.reset();
        m_profile.reset();
        CMessageBox::setResponder(nullptr);
        CModalRunner::setHandler(nullptr);
        CShell::setHandler(nullptr);
    }

    CVehicleLogDlg& start() {
        m_window.reset();
        m_profile = std::make_unique<CAppProfile>(CAppFolders::profilePath());
        m_log = std::make_unique<CActivityLog>(CAppFolders::logPath(), CAppFolders::archivePath());
        m_window = std::make_unique<CVehicleLogDlg>(*m_profile, *m_log);
        m_window->initialize();
        m_window->showPlaced();
        return *m_window;
    }

    // A registry with one vehicle, so start-up finds an installation and installs nothing.
    void writeRegistry(const std::string& vehicle, const std::string& vin) {
        fs::create_directories(CAppFolders::defaultConfigFolder());
        CProfileFile registry(CAppFolders::defaultConfigFolder() + "Drivana.ini");
        ASSERT_TRUE(registry.putText("VehicleList", "Vehicle0", vehicle));
        ASSERT_TRUE(registry.putText(vehicle, "VIN", vin));
        ASSERT_TRUE(CAppProfile(CAppFolders::profilePath()).putText(ProfileKeys::LastVehicle, vehicle));
    }

    std::string profileText(const char* section, const char* key) const {
        return CProfileFile(CAppFolders::profilePath()).getText(section, key, "<absent>");
    }

    // The description field of every line of the activity log.
    static std::vector<std::string> logDescriptions() {
        std::string bytes;
        odrivo::readWholeFile(CAppFolders::logPath(), bytes);
        std::vector<std::string> lines;
        for (std::size_t at = 0; at + CActivityLog::kLineSize <= bytes.size(); at += CActivityLog::kLineSize) {
            const std::string field = bytes.substr(at + 58, 200);
            lines.push_back(field.substr(0, field.find('\0')));
        }
        return lines;
    }

    template <class T> T* child(const char* name) const {
        T* widget = m_window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QTableView* entryList() const { return child<QTableView>("entryList"); }
    // The trimmed texts of one list column, top to bottom.
    QStringList column(int c) const {
        QStringList texts;
        for (int row = 0; row < entryList()->model()->rowCount(); ++row)
            texts << entryList()->model()->index(row, c).data().toString().trimmed();
        return texts;
    }
    void clickButton(const char* name) const { QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton); }

    QStringList shownTexts() const {
        QStringList texts;
        for (const auto& shown : CMessageBox::shown())
            texts << shown.text;
        return texts;
    }

    logtest::TempFolder m_folder; // removed with the fixture
    fs::path m_home = fs::path(m_folder.path()).parent_path();
    std::unique_ptr<CAppProfile> m_profile;
    std::unique_ptr<CActivityLog> m_log;
    std::unique_ptr<CVehicleLogDlg> m_window;
    int m_splashShown = 0;
    bool m_uncheckSplash = false;
    // Answers the dialogs it knows; std::nullopt leaves a dialog to the default handling.
    std::function<std::optional<int>(QDialog&)> m_dialogHandler;
    std::vector<QUrl> m_opened;
};

} // namespace window_test
