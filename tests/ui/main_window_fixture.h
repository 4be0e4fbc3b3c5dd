#pragma once
// The main window test fixture: a temporary home, message boxes and dialogs answered by the test.

#include "../store/log_file_bytes.h"
#include "store/activity_log.h"
#include "store/app_folders.h"
#include "store/app_profile.h"
#include "store/file_io.h"
#include "store/profile_file.h"
#include "store/vehicle_log_doc.h"
#include "ui/main/command_ids.h"
#include "ui/main/splash_dlg.h"
#include "ui/main/vehicle_log_dlg.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/modal_runner.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace window_test {

namespace fs = std::filesystem;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& [name, sub] :
             {std::pair{"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"}, {"XDG_STATE_HOME", "state"}})
            setenv(name, (m_home / sub).c_str(), 1);
        CMessageBox::clearShown();
        CMessageBox::setResponder([](const CMessageBox::Shown&) { return QMessageBox::Ok; });
        CModalRunner::setHandler([this](QDialog& dialog) {
            if (const auto answer = m_dialogHandler ? m_dialogHandler(dialog) : std::nullopt)
                return *answer;
            if (auto* splash = qobject_cast<CSplashDlg*>(&dialog)) {
                ++m_splashShown;
                splash->findChild<QCheckBox*>(QStringLiteral("showAtStartupCheck"))->setChecked(!m_uncheckSplash);
            }
            return static_cast<int>(QDialog::Accepted);
        });
    }
    void TearDown() override {
        m_window.reset();
        CMessageBox::setResponder(nullptr);
        CModalRunner::setHandler(nullptr);
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
    // Answers every Yes/No question with `yes` and everything else with OK.
    static void answerQuestions(bool yes) {
        CMessageBox::setResponder([yes](const CMessageBox::Shown& shown) {
            return !(shown.buttons & QMessageBox::Yes) ? QMessageBox::Ok : yes ? QMessageBox::Yes : QMessageBox::No;
        });
    }
    // Answers the dialogs of type T with `script`, leaving others to the default handling.
    template <class T> void onDialog(std::function<void(T&)> script) {
        m_dialogHandler = [script](QDialog& dialog) -> std::optional<int> {
            auto* typed = qobject_cast<T*>(&dialog);
            if (!typed)
                return std::nullopt;
            script(*typed);
            return typed->result();
        };
    }

    // Registers the vehicles in order, vehicle i with VIN "VIN<i>", make, model, year and log,
    // and makes the first one the last used.
    static void writeVehicles(const std::vector<std::string>& names, const std::vector<std::vector<CDVItem>>& logs) {
        fs::create_directories(data());
        fs::create_directories(config());
        CProfileFile registry(registryPath());
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string n = std::to_string(i);
            ASSERT_TRUE(registry.putText("VehicleList", "Vehicle" + n, names[i]));
            for (const auto& [key, value] :
                 {std::pair{"VIN", "VIN" + n}, {"Make", "Make" + n}, {"Model", "Model" + n}, {"Year", "200" + n}})
                ASSERT_TRUE(registry.putText(names[i], key, value));
            CVehicleLogDoc doc;
            for (const CDVItem& entry : logs[i])
                doc.insert(std::make_unique<CDVItem>(entry));
            ASSERT_TRUE(doc.save(data() + "VIN" + n + ".odv").saved);
        }
        ASSERT_TRUE(profile().putText(ProfileKeys::LastVehicle, names.front()));
    }
    // An entry of `type`; fills are of 10 gallons.
    static CDVItem entry(std::int32_t type, double odometer, DVTime date = 0, const char* note = "") {
        CDVItem item;
        std::tie(item.EntryType, item.Icon, item.Odometer, item.Date, item.Note, item.Entry) =
            std::tuple(type, type == CDVItem::Trip ? 19 : type, odometer, date, note, CDVItem::typeLabel(type));
        if (type == CDVItem::Fuel)
            std::tie(item.Measure, item.Quantity) = std::tuple("Gallons", 10);
        return item;
    }
    // `count` fills, 100 apart from 1000 on.
    static std::vector<CDVItem> fills(int count) {
        std::vector<CDVItem> log;
        for (int i = 0; i < count; ++i)
            log.push_back(entry(CDVItem::Fuel, 1000 + 100 * i));
        return log;
    }

    static std::string config() { return CAppFolders::defaultConfigFolder(); }
    static std::string data() { return CAppFolders::defaultDataFolder(); }
    static std::string registryPath() { return config() + "Drivana.ini"; }
    static CAppProfile profile() { return CAppProfile(CAppFolders::profilePath()); }
    static std::string profileText(const char* section, const char* key) {
        return CProfileFile(CAppFolders::profilePath()).getText(section, key, "<absent>");
    }
    static std::string bytesOf(const std::string& path) {
        std::string bytes;
        odrivo::readWholeFile(path, bytes);
        return bytes;
    }
    // Whether the activity log holds a line with this description.
    static bool logged(const std::string& text) {
        const std::string bytes = bytesOf(CAppFolders::logPath());
        for (std::size_t at = 0; at + CActivityLog::kLineSize <= bytes.size(); at += CActivityLog::kLineSize)
            if (bytes.compare(at + 58, text.size() + 1, text.c_str(), text.size() + 1) == 0)
                return true;
        return false;
    }
    static QStringList shownTexts() {
        QStringList texts;
        for (const auto& shown : CMessageBox::shown())
            texts << shown.text;
        return texts;
    }

    template <class T> T* child(const char* name) const {
        T* widget = m_window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QTableView* entryList() const { return child<QTableView>("entryList"); }
    int rows() const { return entryList()->model()->rowCount(); }
    int selectedRow() const { return entryList()->selectionModel()->selectedRows().value(0).row(); }
    // The trimmed texts of one list column, top to bottom.
    QStringList column(int c) const {
        QStringList texts;
        for (int row = 0; row < rows(); ++row)
            texts << entryList()->model()->index(row, c).data().toString().trimmed();
        return texts;
    }
    QComboBox* selector() const { return child<QComboBox>("vehicleCombo"); }
    QStringList selectorNames() const {
        QStringList names;
        for (int i = 0; i < selector()->count(); ++i)
            names << selector()->itemText(i);
        return names;
    }
    // Chooses the selector's entry `index` as the user does.
    void choose(int index) {
        selector()->setCurrentIndex(index);
        emit selector()->activated(index);
    }
    void clickButton(const char* name) const { QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton); }

    logtest::TempFolder m_folder; // removed with the fixture
    fs::path m_home = fs::path(m_folder.path()).parent_path();
    std::unique_ptr<CAppProfile> m_profile;
    std::unique_ptr<CActivityLog> m_log;
    std::unique_ptr<CVehicleLogDlg> m_window;
    int m_splashShown = 0;
    bool m_uncheckSplash = false;
    std::function<std::optional<int>(QDialog&)> m_dialogHandler; // answers the dialogs it knows
};

} // namespace window_test
