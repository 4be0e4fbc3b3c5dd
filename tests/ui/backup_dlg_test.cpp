// Drives the Backup and Restore dialogs headless: each confirmation with its icon, what
// No leaves alone, a run filling the list newest on top while the wait cursor shows, the
// profile stamps, the process-wide result flag, the remembered storage text, and the
// warnings that follow the completion message when copies or the date stamp failed.

#include "../store/log_file_bytes.h"
#include "dialog_fixture.h"
#include "store/backup_set.h"
#include "ui/main/backup_dlg.h"
#include "ui/main/restore_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QTreeWidget>

using namespace dialog_test;

namespace {

constexpr std::time_t kNow = 1765000000;
// Copies are made only of data files that read as logs.
const std::string kCarBytes = logtest::logWithNote("Car fuel");
const std::string kVanBytes = logtest::logWithNote("Van");

// What tells the two dialogs apart, for the tests that hold for both.
struct Kind {
    const char* title;
    std::unique_ptr<CCopyRunDlg> (*open)(const FolderSettings&, CAppProfile&);
    int (*lastResult)();
    const char* question;
    QMessageBox::Icon icon;
    ProfileKey dateKey;
    ProfileKey storageKey;
};

const Kind kKinds[] = {
    {"Backup",
     [](const FolderSettings& f, CAppProfile& p) -> std::unique_ptr<CCopyRunDlg> {
         return std::make_unique<CBackupDlg>(f, p, nullptr);
     },
     &CBackupDlg::lastResult, "This function will replace any previous backup with the current database.\nContinue?",
     QMessageBox::Warning, ProfileKeys::LastBackupDate, ProfileKeys::LastBackupStorage},
    {"Restore",
     [](const FolderSettings& f, CAppProfile& p) -> std::unique_ptr<CCopyRunDlg> {
         return std::make_unique<CRestoreDlg>(f, p, nullptr);
     },
     &CRestoreDlg::lastResult,
     "This function will replace ALL data for all vehicles with the last backup.\nAny data enter since the last "
     "backup will be lost.\nConinue?",
     QMessageBox::Critical, ProfileKeys::LastRestoreDate, ProfileKeys::LastRestoreStorage},
};

class CopyRunDlg : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        m_folders = {path("data") + "/", path("backup") + "/", path("config") + "/"};
        fs::create_directories(m_folders.data);
        fs::create_directories(m_folders.config);
        CBackupDlg::resetLastResult();
        CRestoreDlg::resetLastResult();
        answer(QMessageBox::Yes);
    }

    // Questions get `reply`; every other message its OK.
    void answer(QMessageBox::StandardButton reply) {
        CMessageBox::setResponder([reply](const CMessageBox::Shown& shown) {
            return shown.buttons.testFlag(QMessageBox::Yes) ? reply : QMessageBox::Ok;
        });
    }
    std::unique_ptr<CCopyRunDlg> open(const Kind& kind) {
        auto dialog = kind.open(m_folders, *m_profile);
        dialog->setClock([] { return kNow; });
        return dialog;
    }
    static void put(const std::string& path, const std::string& bytes) {
        ASSERT_TRUE(odrivo::writeFileAtomically(path, bytes)) << path;
    }
    static std::string read(const std::string& path) {
        std::string bytes;
        EXPECT_EQ(odrivo::readWholeFile(path, bytes), odrivo::ReadStatus::Ok) << path;
        return bytes;
    }
    static std::string texts(const std::vector<CMessageBox::Shown>& shown) {
        std::string all;
        for (const auto& message : shown)
            all += message.text.toStdString() + " | ";
        return all;
    }

    FolderSettings m_folders;
};

TEST_F(CopyRunDlg, BackupCopiesEveryDataAndIniFileNewestOnTopUnderTheWaitCursor) {
    put(m_folders.data + "Car.odv", kCarBytes);
    put(m_folders.data + "Van.odv", kVanBytes);
    put(m_folders.data + "notes.txt", "not ours");
    put(m_folders.config + "Drivana.ini", "[Vehicles]\r\n");
    put(m_folders.config + "Lists.ini", "[Lists]\r\n");
    CBackupDlg dialog(m_folders, *m_profile, nullptr);
    dialog.setClock([] { return kNow; });

    // As each name reaches the list, its copy has not yet been made and the wait cursor shows.
    auto* list = child<QTreeWidget>(dialog, "fileList");
    std::vector<std::string> early;
    QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, [&] {
        const std::string name = list->topLevelItem(0)->text(0).toStdString();
        if (fs::exists(m_folders.backup + name) || QApplication::overrideCursor() == nullptr)
            early.push_back(name);
    });
    QTest::mouseClick(child<QPushButton>(dialog, "runButton"), Qt::LeftButton);

    EXPECT_TRUE(early.empty()) << early.front();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(dialog.listedFiles(), (QStringList{"Lists.ini", "Drivana.ini", "Van.odv", "Car.odv"}));
    EXPECT_EQ(read(m_folders.backup + "Car.odv"), kCarBytes);
    EXPECT_FALSE(fs::exists(m_folders.backup + "notes.txt"));
    EXPECT_EQ(m_profile->getText(ProfileKeys::LastBackupDate), CBackupSet::timeStamp(kNow));
    ASSERT_EQ(CMessageBox::shown().size(), 2u) << texts(CMessageBox::shown());
    EXPECT_EQ(CMessageBox::shown()[1].text, QStringLiteral("Backup Complete"));
    EXPECT_EQ(CMessageBox::shown()[1].icon, QMessageBox::Information);
    EXPECT_EQ(CBackupDlg::lastResult(), 1);
    EXPECT_EQ(CRestoreDlg::lastResult(), 0) << "each dialog has its own flag";

    dialog.runCopy();
    EXPECT_EQ(dialog.listedFiles().size(), 4) << "a new run starts with an empty list";
}

TEST_F(CopyRunDlg, EachDialogAsksWithItsIconDefaultsToNoAndNoChangesNothing) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.title);
        fs::create_directories(m_folders.backup);
        put(m_folders.data + "Car.odv", "working");
        put(m_folders.backup + "Car.odv", "backed up");
        auto dialog = open(kind);
        CMessageBox::clearShown();
        answer(QMessageBox::No);
        dialog->runCopy();
        ASSERT_EQ(CMessageBox::shown().size(), 1u) << texts(CMessageBox::shown());
        const CMessageBox::Shown& asked = CMessageBox::shown()[0];
        EXPECT_EQ(asked.text, QString::fromLatin1(kind.question));
        EXPECT_EQ(asked.icon, kind.icon);
        EXPECT_EQ(asked.buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(asked.defaultButton, QMessageBox::No) << "a stray Enter must not replace files";
        EXPECT_EQ(read(m_folders.data + "Car.odv"), "working");
        EXPECT_EQ(read(m_folders.backup + "Car.odv"), "backed up");
        EXPECT_TRUE(dialog->listedFiles().isEmpty());
        EXPECT_EQ(m_profile->getText(kind.dateKey), "Unknown");

        answer(QMessageBox::Yes);
        dialog->runCopy();
        EXPECT_EQ(kind.lastResult(), 1);
        EXPECT_EQ(m_profile->getText(kind.dateKey), CBackupSet::timeStamp(kNow));
    }
}

TEST_F(CopyRunDlg, EveryWayOfClosingEndsWithTheFlagThatOutlivesTheDialog) {
    using Close = void (*)(QDialog&);
    const std::pair<const char*, Close> ways[] = {
        {"Close button", [](QDialog& d) { QTest::mouseClick(child<QPushButton>(d, "closeButton"), Qt::LeftButton); }},
        {"Escape", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
    };
    for (const Kind& kind : kKinds) {
        open(kind)->runCopy();
        for (const auto& [way, close] : ways) {
            SCOPED_TRACE(std::string(kind.title) + ", " + way);
            CModalRunner::setHandler([close = close](QDialog& dialog) {
                dialog.show();
                close(dialog);
                EXPECT_FALSE(dialog.isVisible());
                return dialog.result();
            });
            auto dialog = open(kind);
            EXPECT_EQ(CModalRunner::run(*dialog), 1) << "the flag is not reset by opening again";
        }
        answer(QMessageBox::No);
        auto dialog = open(kind);
        dialog->runCopy();
        EXPECT_EQ(CModalRunner::run(*dialog), 0) << "declining sets the flag back";
        answer(QMessageBox::Yes);
    }
}

TEST_F(CopyRunDlg, StorageComboShowsAndKeepsTheRememberedText) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.title);
        auto dialog = open(kind);
        EXPECT_EQ(child<QComboBox>(*dialog, "storageCombo")->currentText(), QStringLiteral("Main Memory"));
        dialog->reject();
        EXPECT_EQ(m_profile->getText(kind.storageKey, "absent"), "Main Memory");
        ASSERT_TRUE(m_profile->putText(kind.storageKey, "Storage Card"));
        dialog = open(kind);
        auto* combo = child<QComboBox>(*dialog, "storageCombo");
        EXPECT_EQ(combo->currentText(), QStringLiteral("Storage Card"));
        combo->setEditText(QStringLiteral("SD"));
        dialog->reject();
        EXPECT_EQ(m_profile->getText(kind.storageKey), "SD");
    }
}

TEST_F(CopyRunDlg, FailuresAreNamedAfterTheCompletionMessage) {
    struct Case {
        const char* what;
        std::string blocked; // made a folder, so nothing can be written there
        QStringList named;   // in the warning
    };
    const Case cases[] = {
        {"a copy", m_folders.backup + "Drivana.ini", {"1 file", "Drivana.ini", "run the backup again"}},
        {"the date", path("profile.ini"), {"date of this backup", "profile.ini", "can be written"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        put(m_folders.data + "Car.odv", kCarBytes);
        put(m_folders.config + "Drivana.ini", "[Vehicles]\r\n");
        fs::remove_all(c.blocked);
        fs::create_directories(c.blocked);
        CMessageBox::clearShown();
        open(kKinds[0])->runCopy();
        ASSERT_EQ(CMessageBox::shown().size(), 3u) << texts(CMessageBox::shown());
        EXPECT_EQ(CMessageBox::shown()[1].text, QStringLiteral("Backup Complete"));
        EXPECT_EQ(CMessageBox::shown()[2].icon, QMessageBox::Warning);
        for (const QString& part : c.named)
            EXPECT_TRUE(CMessageBox::shown()[2].text.contains(part)) << CMessageBox::shown()[2].text.toStdString();
        EXPECT_EQ(read(m_folders.backup + "Car.odv"), kCarBytes) << "the other files are still copied";
        EXPECT_EQ(CBackupDlg::lastResult(), 1);
        fs::remove_all(c.blocked);
    }
}

} // namespace
