// Drives the Export dialog headless: the name it starts with and the one it hands back,
// the two messages for a refused name, aborting, the browse button's file dialog, and a
// profile that cannot be written. Which names are refused is the core's rule.

#include "dialog_fixture.h"
#include "exchange/export_name.h"
#include "ui/main/export_dlg.h"
#include "ui/toolkit/file_dialog.h"

#include <QDir>
#include <QToolButton>
#include <functional>

using namespace dialog_test;

namespace {

const std::string kVin = "1FTRX18W1XKA12345";
constexpr const char* kAbsent = "<absent>";

class ExportDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        CFileDialog::clearRequests();
    }
    void TearDown() override {
        CFileDialog::setResponder(nullptr);
        DialogTest::TearDown();
    }

    std::string storedPath() const {
        return CAppProfile(path("profile.ini")).getText(ProfileKeys::ExportPath, kAbsent);
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
};

TEST_F(ExportDlgTest, StartsWithTheRememberedNameAndHandsBackTheFullOne) {
    EXPECT_EQ(child<QLineEdit>(*std::make_unique<CExportDlg>(*m_profile, kVin), "fileEdit")->text().toStdString(),
              QDir::homePath().toStdString() + "/" + kVin + ".CSV");
    const std::pair<QString, std::string> cases[] = {
        {QString::fromStdString(path("report")), path("report.csv")},
        {QStringLiteral("~/report"), QDir::homePath().toStdString() + "/report.csv"}};
    for (const auto& [typed, written] : cases) {
        CExportDlg dialog(*m_profile, kVin);
        EXPECT_EQ(typeAndExport(dialog, typed), CExportDlg::kExport);
        EXPECT_EQ(std::pair(dialog.fileName(), storedPath()), std::pair(written, written));
        EXPECT_EQ(child<QLineEdit>(*std::make_unique<CExportDlg>(*m_profile, kVin), "fileEdit")->text().toStdString(),
                  written);
    }
    EXPECT_TRUE(CMessageBox::shown().empty());
}

TEST_F(ExportDlgTest, RefusedNameIsShownThenTheRuleAndTheDialogStaysOpen) {
    for (const QString& refused : {QStringLiteral("a?b.csv"), QString()}) {
        SCOPED_TRACE(refused.toStdString());
        CMessageBox::clearShown();
        const std::string before = storedPath();
        CExportDlg dialog(*m_profile, kVin);
        std::vector<CMessageBox::Shown> shown;
        const int result = typeAndExport(dialog, refused, [&](CExportDlg& open) {
            EXPECT_TRUE(open.isVisible());
            EXPECT_EQ(open.focusWidget(), child<QLineEdit>(open, "fileEdit"));
            EXPECT_EQ(storedPath(), before);
            shown = CMessageBox::shown();
            // The dialog is still usable: a good name now goes through.
            child<QLineEdit>(open, "fileEdit")->setText(QString::fromStdString(path("good")));
            open.exportPressed();
        });
        EXPECT_EQ(result, CExportDlg::kExport);
        EXPECT_EQ(dialog.fileName(), path("good.csv"));
        ASSERT_EQ(shown.size(), refused.isEmpty() ? 1u : 2u);
        EXPECT_EQ(shown[0].icon, QMessageBox::Warning);
        if (refused.isEmpty()) {
            EXPECT_TRUE(shown[0].text.contains(QStringLiteral("Abort"))) << shown[0].text.toStdString();
        } else {
            EXPECT_EQ(shown[0].text, refused);
            EXPECT_EQ(shown[1].text.toStdString(), CExportName::kInvalidText);
        }
    }
}

TEST_F(ExportDlgTest, AbortingStoresNothingAndBrowseFillsTheName) {
    for (const bool escape : {false, true}) {
        CExportDlg dialog(*m_profile, kVin);
        CModalRunner::setHandler([escape](QDialog& open) {
            open.show();
            child<QLineEdit>(open, "fileEdit")->setText(QStringLiteral("/tmp/typed.csv"));
            if (escape)
                QTest::keyClick(&open, Qt::Key_Escape);
            else
                click(open, "abortButton");
            return open.result();
        });
        EXPECT_EQ(CModalRunner::run(dialog), CExportDlg::kAborted) << escape;
        EXPECT_EQ(std::pair(dialog.fileName(), storedPath()), std::pair(std::string(), std::string(kAbsent)));
    }

    ASSERT_TRUE(m_profile->putText(ProfileKeys::ExportPath, "/srv/old.csv"));
    CExportDlg dialog(*m_profile, kVin);
    for (const QString& chosen : {QStringLiteral("/srv/new.csv"), QString()}) {
        CFileDialog::setResponder([chosen](const CFileDialog::Request&) { return chosen; });
        QTest::mouseClick(child<QToolButton>(dialog, "browseButton"), Qt::LeftButton);
    }
    EXPECT_EQ(child<QLineEdit>(dialog, "fileEdit")->text(), QStringLiteral("/srv/new.csv")) << "cancel keeps it";
    ASSERT_EQ(CFileDialog::requests().size(), 2u);
    EXPECT_EQ(CFileDialog::requests()[0].kind, CFileDialog::Kind::Save);
    EXPECT_EQ(CFileDialog::requests()[0].start, QStringLiteral("/srv/old.csv"));
}

TEST_F(ExportDlgTest, ExportGoesAheadWhenTheProfileCannotBeWritten) {
    fs::remove(path("profile.ini"));
    fs::create_directories(path("profile.ini")); // a folder where the file should be
    CExportDlg dialog(*m_profile, kVin);
    EXPECT_EQ(typeAndExport(dialog, QString::fromStdString(path("report"))), CExportDlg::kExport);
    EXPECT_EQ(dialog.fileName(), path("report.csv"));
    ASSERT_EQ(CMessageBox::shown().size(), 1u);
    EXPECT_TRUE(CMessageBox::shown()[0].text.contains(QString::fromStdString(path("profile.ini"))));
}

} // namespace
