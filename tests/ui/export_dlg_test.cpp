// Drives the Export dialog headless: the name it starts with, the ".csv" it adds, the two
// messages for a refused name, every way of aborting, the browse button's file dialog, and
// a profile that cannot be written.

#include "exchange/export_name.h"
#include "store/app_profile.h"
#include "ui/main/export_dlg.h"
#include "ui/toolkit/file_dialog.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/modal_runner.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace fs = std::filesystem;

namespace {

const std::string kVin = "1FTRX18W1XKA12345";
constexpr const char* kAbsent = "<absent>";

class ExportDlg : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "odrivo-export-dlg-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern + "/";
        m_profilePath = m_root + "config/Odrivo/Odrivo.ini";
        m_profile = std::make_unique<CAppProfile>(m_profilePath);
        CMessageBox::clearShown();
        CMessageBox::setResponder([](const CMessageBox::Shown&) { return QMessageBox::Ok; });
        CFileDialog::clearRequests();
    }
    void TearDown() override {
        CMessageBox::setResponder(nullptr);
        CModalRunner::setHandler(nullptr);
        CFileDialog::setResponder(nullptr);
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }

    std::string storedPath() const { return CAppProfile(m_profilePath).getText(ProfileKeys::ExportPath, kAbsent); }
    template <class T> static T* child(QWidget& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // Runs the dialog modally: types `name` and presses Export, then lets `after` look at the open dialog.
    int typeAndExport(CExportDlg& dialog, const QString& name, const std::function<void(CExportDlg&)>& after = {}) {
        CModalRunner::setHandler([&](QDialog&) {
            dialog.show();
            child<QLineEdit>(dialog, "fileEdit")->setText(name);
            auto* button = child<QPushButton>(dialog, "exportButton");
            button->setFocus(); // as a click with the mouse leaves it
            QTest::mouseClick(button, Qt::LeftButton);
            if (after)
                after(dialog);
            return dialog.result();
        });
        return CModalRunner::run(dialog);
    }

    std::string m_root;
    std::string m_profilePath;
    std::unique_ptr<CAppProfile> m_profile;
};

TEST_F(ExportDlg, StartsWithTheRememberedNameOrTheOneNamedAfterTheVehicle) {
    const std::string byVin = QDir::homePath().toStdString() + "/" + kVin + ".CSV";
    const std::pair<std::optional<std::string>, std::string> cases[] = {
        {std::nullopt, byVin},
        {"", byVin},
        {"/srv/runs/Car.csv", "/srv/runs/Car.csv"},
    };
    for (const auto& [stored, shown] : cases) {
        SCOPED_TRACE(stored.value_or(kAbsent));
        if (stored) {
            ASSERT_TRUE(m_profile->putText(ProfileKeys::ExportPath, *stored));
        }
        CExportDlg dialog(*m_profile, kVin);
        EXPECT_EQ(child<QLineEdit>(dialog, "fileEdit")->text().toStdString(), shown);
    }
    CExportDlg dialog(*m_profile, kVin);
    for (const char* name : {"exportButton", "abortButton"})
        EXPECT_FALSE(child<QPushButton>(dialog, name)->icon().pixmap(32, 32).isNull()) << name << ": no image";
}

TEST_F(ExportDlg, ExportAddsCsvUnlessTheNameMentionsItAndRemembersTheName) {
    const std::pair<std::string, std::string> cases[] = {
        {"report.CSV", "report.CSV"},
        {"report", "report.csv"},
        {"report.txt", "report.txt.csv"},
        {"Fahrtenbuch Kühn", "Fahrtenbuch Kühn.csv"},
    };
    for (const auto& [typed, written] : cases) {
        SCOPED_TRACE(typed);
        CExportDlg dialog(*m_profile, kVin);
        EXPECT_EQ(typeAndExport(dialog, QString::fromStdString(m_root + typed)), CExportDlg::kExport);
        EXPECT_EQ(dialog.fileName(), m_root + written);
        EXPECT_EQ(storedPath(), m_root + written);
        EXPECT_TRUE(CMessageBox::shown().empty());
    }
    // Names without a folder go to the home folder.
    for (const QString& typed : {QStringLiteral("report"), QStringLiteral("~/report")}) {
        CExportDlg dialog(*m_profile, kVin);
        EXPECT_EQ(typeAndExport(dialog, typed), CExportDlg::kExport);
        EXPECT_EQ(dialog.fileName(), QDir::homePath().toStdString() + "/report.csv") << typed.toStdString();
    }
}

TEST_F(ExportDlg, RefusedNameIsShownThenTheRuleAndTheDialogStaysOpen) {
    for (const QString& refused : {QStringLiteral("a?b.csv"), QString(255, QLatin1Char('x')), QString()}) {
        SCOPED_TRACE(refused.toStdString());
        CMessageBox::clearShown();
        const std::string before = storedPath();
        CExportDlg dialog(*m_profile, kVin);
        std::vector<CMessageBox::Shown> shown;
        const int result = typeAndExport(dialog, refused, [&](CExportDlg& open) {
            EXPECT_TRUE(open.isVisible());
            EXPECT_EQ(open.focusWidget(), child<QLineEdit>(open, "fileEdit"));
            EXPECT_EQ(open.fileName(), "");
            EXPECT_EQ(storedPath(), before);
            shown = CMessageBox::shown();
            // The dialog is still usable: a good name now goes through.
            child<QLineEdit>(open, "fileEdit")->setText(QString::fromStdString(m_root + "good"));
            open.exportPressed();
        });
        EXPECT_EQ(result, CExportDlg::kExport);
        EXPECT_EQ(dialog.fileName(), m_root + "good.csv");
        for (const auto& message : shown)
            EXPECT_EQ(message.icon, QMessageBox::Warning);
        if (refused.isEmpty()) {
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_TRUE(shown[0].text.contains(QStringLiteral("Abort"))) << shown[0].text.toStdString();
            continue;
        }
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_EQ(shown[0].text, refused);
        EXPECT_EQ(shown[1].text.toStdString(), CExportName::kInvalidText);
    }
}

TEST_F(ExportDlg, EveryWayOfAbortingEndsWithAbortedAndStoresNothing) {
    using Close = void (*)(QDialog&);
    const std::pair<const char*, Close> ways[] = {
        {"Abort button", [](QDialog& d) { QTest::mouseClick(child<QPushButton>(d, "abortButton"), Qt::LeftButton); }},
        {"Escape", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"close box", [](QDialog& d) { d.close(); }},
    };
    for (const auto& [way, close] : ways) {
        SCOPED_TRACE(way);
        CExportDlg dialog(*m_profile, kVin);
        CModalRunner::setHandler([close = close](QDialog& open) {
            open.show();
            child<QLineEdit>(open, "fileEdit")->setText(QStringLiteral("/tmp/typed.csv"));
            close(open);
            EXPECT_FALSE(open.isVisible());
            return open.result();
        });
        EXPECT_EQ(CModalRunner::run(dialog), CExportDlg::kAborted);
        EXPECT_EQ(dialog.fileName(), "");
        EXPECT_EQ(storedPath(), kAbsent);
    }
    EXPECT_TRUE(CMessageBox::shown().empty());
}

TEST_F(ExportDlg, BrowseFillsTheNameFromTheFileDialogUnlessCancelled) {
    ASSERT_TRUE(m_profile->putText(ProfileKeys::ExportPath, "/srv/old.csv"));
    CExportDlg dialog(*m_profile, kVin);
    auto* edit = child<QLineEdit>(dialog, "fileEdit");
    auto* browse = child<QToolButton>(dialog, "browseButton");
    for (const QString& chosen : {QStringLiteral("/srv/new.csv"), QString()}) {
        CFileDialog::setResponder([chosen](const CFileDialog::Request&) { return chosen; });
        QTest::mouseClick(browse, Qt::LeftButton);
    }
    EXPECT_EQ(edit->text(), QStringLiteral("/srv/new.csv")) << "a cancelled browse keeps the name";
    ASSERT_EQ(CFileDialog::requests().size(), 2u);
    const CFileDialog::Request& first = CFileDialog::requests()[0];
    EXPECT_EQ(first.kind, CFileDialog::Kind::Save);
    EXPECT_EQ(first.start, QStringLiteral("/srv/old.csv"));
    EXPECT_EQ(first.filter, QStringLiteral("CSV files (*.csv *.CSV);;All files (*)"));
    EXPECT_EQ(CFileDialog::requests()[1].start, QStringLiteral("/srv/new.csv"));
}

TEST_F(ExportDlg, ExportGoesAheadWhenTheProfileCannotBeWritten) {
    fs::create_directories(m_profilePath); // a folder where the file should be
    CExportDlg dialog(*m_profile, kVin);
    EXPECT_EQ(typeAndExport(dialog, QString::fromStdString(m_root + "report")), CExportDlg::kExport);
    EXPECT_EQ(dialog.fileName(), m_root + "report.csv");
    ASSERT_EQ(CMessageBox::shown().size(), 1u);
    EXPECT_EQ(CMessageBox::shown()[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(CMessageBox::shown()[0].text.contains(QString::fromStdString(m_profilePath)))
        << CMessageBox::shown()[0].text.toStdString();
}

} // namespace
