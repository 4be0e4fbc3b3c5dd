// The Export dialog headless: the name it starts with and hands back, the messages for a
// refused name, aborting, and a profile that cannot be written. Which names are refused is the core's rule.

#include "dialog_fixture.h"
#include "exchange/export_name.h"
#include "ui/main/export_dlg.h"

#include <QDir>
#include <functional>

using namespace dialog_test;

namespace {

const std::string kVin = "1FTRX18W1XKA12345";

class ExportDlgTest : public DialogTest {
protected:
    std::string stored() const { return CAppProfile(path("profile.ini")).getText(ProfileKeys::ExportPath, "-"); }
    std::string startName() { return child<QLineEdit>(*open(), "fileEdit")->text().toStdString(); }
    std::unique_ptr<CExportDlg> open() { return std::make_unique<CExportDlg>(*m_profile, kVin); }
    // Runs the dialog: types `name`, presses `button`, then lets `after` look at the open dialog.
    int run(CExportDlg& dialog, const QString& name, const char* button = "exportButton",
            const std::function<void(CExportDlg&)>& after = {}) {
        CModalRunner::setHandler([&](QDialog&) {
            dialog.show();
            child<QLineEdit>(dialog, "fileEdit")->setText(name);
            auto* pressed = child<QPushButton>(dialog, button);
            pressed->setFocus(); // as a click with the mouse leaves it
            QTest::mouseClick(pressed, Qt::LeftButton);
            if (after)
                after(dialog);
            return dialog.result();
        });
        return CModalRunner::run(dialog);
    }
};

TEST_F(ExportDlgTest, StartsWithTheRememberedNameHandsBackTheFullOneAndAbortAndAnUnwritableProfileStoreNothing) {
    EXPECT_EQ(startName(), QDir::homePath().toStdString() + "/" + kVin + ".CSV");
    auto dialog = open();
    EXPECT_EQ(run(*dialog, QString::fromStdString(path("report"))), CExportDlg::kExport);
    const std::string written = path("report.csv");
    EXPECT_EQ(std::tuple(dialog->fileName(), stored(), startName()), std::tuple(written, written, written));
    EXPECT_TRUE(CMessageBox::shown().empty());
    ASSERT_TRUE(m_profile->putText(ProfileKeys::ExportPath, "-"));
    auto aborted = open();
    EXPECT_EQ(run(*aborted, QStringLiteral("/tmp/typed.csv"), "abortButton"), CExportDlg::kAborted);
    EXPECT_EQ(std::pair(aborted->fileName(), stored()), std::pair(std::string(), std::string("-")));

    fs::remove(path("profile.ini"));
    fs::create_directories(path("profile.ini")); // the export goes ahead; the message names the profile
    EXPECT_EQ(run(*open(), QString::fromStdString(path("report"))), CExportDlg::kExport);
    ASSERT_EQ(CMessageBox::shown().size(), 1u);
    EXPECT_TRUE(CMessageBox::shown()[0].text.contains(QString::fromStdString(path("profile.ini"))));
}

TEST_F(ExportDlgTest, RefusedNameIsShownThenTheRuleAndTheDialogStaysOpen) {
    for (const QString& refused : {QStringLiteral("a?b.csv"), QString()}) {
        SCOPED_TRACE(refused.toStdString());
        CMessageBox::clearShown();
        auto dialog = open();
        std::vector<CMessageBox::Shown> shown;
        const int result = run(*dialog, refused, "exportButton", [&](CExportDlg& open) {
            EXPECT_TRUE(open.isVisible());
            EXPECT_EQ(open.focusWidget(), child<QLineEdit>(open, "fileEdit"));
            EXPECT_EQ(stored(), "-");
            shown = CMessageBox::shown();
            child<QLineEdit>(open, "fileEdit")->setText(QString::fromStdString(path("good")));
            open.exportPressed(); // still usable: a good name now goes through
        });
        EXPECT_EQ(std::pair(result, dialog->fileName()), std::pair(int(CExportDlg::kExport), path("good.csv")));
        ASSERT_EQ(shown.size(), refused.isEmpty() ? 1u : 2u);
        EXPECT_EQ(shown[0].icon, QMessageBox::Warning);
        if (refused.isEmpty())
            EXPECT_TRUE(shown[0].text.contains(QStringLiteral("Abort"))) << shown[0].text.toStdString();
        else
            EXPECT_EQ(QStringList({shown[0].text, shown[1].text}),
                      QStringList({refused, QString::fromStdString(CExportName::kInvalidText)}));
        ASSERT_TRUE(m_profile->putText(ProfileKeys::ExportPath, "-"));
    }
}

} // namespace
