// The Backup and Restore dialogs headless: each question with its icon, what No leaves alone,
// the profile stamps and result flag, the warnings that follow the completion message, and
// closing while the copy runs.

#include "dialog_fixture.h"
#include "store/backup_set.h"
#include "ui/main/backup_dlg.h"
#include "ui/main/restore_dlg.h"

#include <QTimer>

using namespace dialog_test;

namespace {

constexpr std::time_t kNow = 1765000000;
const std::string kCarBytes = logtest::logWithNote("Car fuel"); // only files that read as logs are copied

class CopyRunDlg : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        for (const char* folder : {"data", "backup", "config"})
            fs::create_directories(path(folder));
        write("data/Car.odv", kCarBytes);
        write("config/Drivana.ini", "[Vehicles]\r\n");
        CBackupDlg::resetLastResult();
        CRestoreDlg::resetLastResult();
        answer(QMessageBox::Yes);
    }
    // Questions get `reply`; every other message its OK.
    static void answer(QMessageBox::StandardButton reply) {
        CMessageBox::setResponder([reply](const CMessageBox::Shown& shown) {
            return shown.buttons.testFlag(QMessageBox::Yes) ? reply : QMessageBox::Ok;
        });
    }
    template <class Dialog> std::unique_ptr<CCopyRunDlg> open() {
        auto dialog = std::make_unique<Dialog>(m_folders, *m_profile, nullptr);
        dialog->setClock([] { return kNow; });
        return dialog;
    }

    FolderSettings m_folders{path("data") + "/", path("backup") + "/", path("config") + "/"};
};

TEST_F(CopyRunDlg, EachDialogAsksWithItsIconDefaultsToNoAndNoChangesNothing) {
    const struct {
        std::unique_ptr<CCopyRunDlg> (CopyRunDlg::*open)();
        int (*lastResult)();
        const char* question;
        QMessageBox::Icon icon;
        ProfileKey dateKey;
    } kinds[] = {
        {&CopyRunDlg::open<CBackupDlg>, &CBackupDlg::lastResult,
         "This function will replace any previous backup with the current database.\nContinue?", QMessageBox::Warning,
         ProfileKeys::LastBackupDate},
        {&CopyRunDlg::open<CRestoreDlg>, &CRestoreDlg::lastResult,
         "This function will replace ALL data for all vehicles with the last backup.\nAny data enter since the last "
         "backup will be lost.\nConinue?",
         QMessageBox::Critical, ProfileKeys::LastRestoreDate},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.question);
        answer(QMessageBox::Yes);
        (this->*kind.open)()->runCopy();
        EXPECT_EQ(kind.lastResult(), 1);
        EXPECT_EQ(m_profile->getText(kind.dateKey), CBackupSet::timeStamp(kNow));
        ASSERT_TRUE(m_profile->putText(kind.dateKey, "stamp"));
        write("data/Car.odv", "working");
        write("backup/Car.odv", "backed up");
        CMessageBox::clearShown();
        answer(QMessageBox::No);
        const auto dialog = (this->*kind.open)();
        dialog->runCopy();
        ASSERT_EQ(CMessageBox::shown().size(), 1u);
        const CMessageBox::Shown& asked = CMessageBox::shown()[0];
        EXPECT_EQ(std::tuple(asked.text, asked.icon, asked.buttons),
                  std::tuple(QString::fromLatin1(kind.question), kind.icon, QMessageBox::Yes | QMessageBox::No));
        EXPECT_EQ(asked.defaultButton, QMessageBox::No) << "a stray Enter must not replace files";
        EXPECT_EQ(std::pair(read(m_folders.data + "Car.odv"), read(m_folders.backup + "Car.odv")),
                  std::pair(std::string("working"), std::string("backed up")));
        EXPECT_EQ(std::pair(m_profile->getText(kind.dateKey), kind.lastResult()), std::pair(std::string("stamp"), 0));
        write("data/Car.odv", kCarBytes);
    }
}

TEST_F(CopyRunDlg, FailuresAreNamedAfterTheCompletionMessage) {
    const struct {
        std::string blocked; // made a folder, so nothing can be written there
        QStringList named;   // in the warning
    } cases[] = {{m_folders.backup + "Drivana.ini", {"1 file", "Drivana.ini", "run the backup again"}},
                 {path("profile.ini"), {"date of this backup", "profile.ini", "can be written"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.blocked);
        fs::remove_all(c.blocked);
        fs::create_directories(c.blocked);
        CMessageBox::clearShown();
        open<CBackupDlg>()->runCopy();
        ASSERT_EQ(CMessageBox::shown().size(), 3u);
        EXPECT_EQ(std::pair(CMessageBox::shown()[1].text, CMessageBox::shown()[2].icon),
                  std::pair(QStringLiteral("Backup Complete"), QMessageBox::Warning));
        for (const QString& part : c.named)
            EXPECT_TRUE(CMessageBox::shown()[2].text.contains(part)) << CMessageBox::shown()[2].text.toStdString();
        EXPECT_EQ(read(m_folders.backup + "Car.odv"), kCarBytes) << "the other files are still copied";
        fs::remove_all(c.blocked);
    }
}

TEST_F(CopyRunDlg, ClosingDuringABackupAsksAndStopsItOnYesWhileARestoreFinishes) {
    const QString stop = QStringLiteral("The backup is still running. Stop it and close?");
    const struct {
        std::unique_ptr<CCopyRunDlg> (CopyRunDlg::*open)();
        QMessageBox::StandardButton reply; // to the stop question
        bool stopped;
    } cases[] = {{&CopyRunDlg::open<CBackupDlg>, QMessageBox::Yes, true},
                 {&CopyRunDlg::open<CBackupDlg>, QMessageBox::No, false},
                 {&CopyRunDlg::open<CRestoreDlg>, QMessageBox::Yes, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        fs::remove(m_folders.backup + "Car.odv");
        CBackupDlg::resetLastResult();
        ASSERT_TRUE(m_profile->putText(ProfileKeys::LastBackupDate, "stamp"));
        CMessageBox::clearShown();
        CMessageBox::setResponder([&](const CMessageBox::Shown& shown) {
            return !shown.buttons.testFlag(QMessageBox::Yes) ? QMessageBox::Ok
                   : shown.text == stop                      ? c.reply
                                                             : QMessageBox::Yes;
        });
        const auto dialog = (this->*c.open)();
        dialog->show();
        QTimer::singleShot(0, dialog.get(), [&dialog] { dialog->close(); }); // while the copy runs
        dialog->runCopy();
        const bool restore = c.open == &CopyRunDlg::open<CRestoreDlg>;
        std::vector<QMessageBox::StandardButton> defaults; // of the stop questions: No, so Enter never stops
        for (const CMessageBox::Shown& shown : CMessageBox::shown())
            if (shown.text == stop)
                defaults.push_back(shown.defaultButton);
        EXPECT_EQ(defaults, restore ? std::vector<QMessageBox::StandardButton>{} : std::vector{QMessageBox::No});
        EXPECT_EQ(dialog->isVisible(), !c.stopped);
        if (restore)
            continue;
        EXPECT_EQ(fs::exists(m_folders.backup + "Car.odv"), !c.stopped);
        EXPECT_EQ(std::pair(CBackupDlg::lastResult(), m_profile->getText(ProfileKeys::LastBackupDate) == "stamp"),
                  std::pair(c.stopped ? 0 : 1, c.stopped));
    }
}

} // namespace
