// The folder search dialogs headless, searching a temporary tree for real: the Locate dialog
// lists the finds that are not the backup folder and SAVE hands one back; SAVE with nothing
// selected refuses and stays open; a cancel ends the search and offers nothing, and closing
// asks first. Which folders are searched and left out is the finder's rule.

#include "dialog_fixture.h"
#include "ui/setup/locate_folders_dlg.h"
#include "ui/setup/searching_dlg.h"

#include <QLabel>
#include <QTimer>
#include <QTreeWidget>

using namespace dialog_test;

namespace {

class FolderSearchDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        for (const char* folder : {"tree/sync/", "tree/backup/"}) {
            fs::create_directories(m_dir / folder);
            write((std::string(folder) + "Drivana.ini").c_str(), "[Vehicles]\n");
        }
        // The Searching dialog runs for real; a test may act on it before its search starts.
        CModalRunner::setHandler([this](QDialog& dialog) {
            auto* searching = qobject_cast<CSearchingDlg*>(&dialog);
            if (!searching)
                return static_cast<int>(QDialog::Rejected);
            if (m_beforeSearch)
                QTimer::singleShot(0, searching, [this, searching] { m_beforeSearch(*searching); });
            m_searchResult = searching->exec();
            m_searchStatus = child<QLabel>(*searching, "statusLabel")->text();
            return m_searchResult;
        });
    }

    // Opens the Locate dialog on the tree and waits until its search has filled the list.
    std::unique_ptr<CLocateFoldersDlg> open() {
        auto dialog = std::make_unique<CLocateFoldersDlg>(path("tree/backup/"), path("config/"), path("tree"));
        dialog->show();
        m_list = child<QTreeWidget>(*dialog, "resultList");
        EXPECT_TRUE(QTest::qWaitFor([this] { return m_list->topLevelItemCount() > 0; }));
        return dialog;
    }
    QStringList rows() const {
        QStringList texts;
        for (int i = 0; i < m_list->topLevelItemCount(); ++i)
            texts << m_list->topLevelItem(i)->text(0);
        return texts;
    }

    std::function<void(CSearchingDlg&)> m_beforeSearch;
    int m_searchResult = -1;
    QString m_searchStatus;
    QTreeWidget* m_list = nullptr;
};

TEST_F(FolderSearchDlgTest, ListsTheFindsOutsideTheBackupFolderAndSaveRefusesWithoutASelectionThenHandsOneBack) {
    const auto dialog = open();
    EXPECT_EQ(m_searchResult, QDialog::Accepted);
    EXPECT_EQ(m_searchStatus, "Done");
    EXPECT_EQ(rows(), QStringList{QString::fromStdString(path("tree/sync/"))});

    m_list->clearSelection();
    click(*dialog, "saveButton");
    ASSERT_EQ(CMessageBox::shown().size(), 1u);
    EXPECT_TRUE(CMessageBox::shown()[0].text.startsWith("Error! No Item Selected.\n"));
    EXPECT_TRUE(dialog->isVisible());

    m_list->topLevelItem(0)->setSelected(true);
    click(*dialog, "saveButton");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->chosenFolder(), path("tree/sync/"));
}

TEST_F(FolderSearchDlgTest, CancelSearchEndsTheSearchAndClosingAsksFirst) {
    const QStringList cancelled{"Cancelled", "No other folders located."};
    const QStringList found{QString::fromStdString(path("tree/sync/"))};
    const struct {
        bool closeBox; // else Cancel Search, which needs no question
        QMessageBox::StandardButton reply;
        QStringList rows;
    } cases[] = {
        {false, QMessageBox::Yes, cancelled}, {true, QMessageBox::Yes, cancelled}, {true, QMessageBox::No, found}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.closeBox << " " << c.reply);
        CMessageBox::clearShown();
        CMessageBox::setResponder([&c](const CMessageBox::Shown& shown) {
            return shown.buttons.testFlag(QMessageBox::Yes) ? c.reply : QMessageBox::Ok;
        });
        m_beforeSearch = [&c](CSearchingDlg& searching) {
            c.closeBox ? static_cast<void>(searching.close()) : click(searching, "cancelSearchButton");
        };
        const auto dialog = open();
        EXPECT_EQ(m_searchResult, c.rows == cancelled ? QDialog::Rejected : QDialog::Accepted);
        EXPECT_EQ(rows(), c.rows);
        EXPECT_EQ(child<QPushButton>(*dialog, "saveButton")->isEnabled(), c.rows == found);
        ASSERT_EQ(CMessageBox::shown().size(), c.closeBox ? 1u : 0u);
        if (c.closeBox) {
            EXPECT_EQ(std::pair(CMessageBox::shown()[0].text, CMessageBox::shown()[0].defaultButton),
                      std::pair(QStringLiteral("The search is still running. Stop it and close?"), QMessageBox::No));
        }
    }
}

TEST_F(FolderSearchDlgTest, SearchingStartsAtTheFirstFolderItWillWalk) {
    CSearchingDlg searching({}, nullptr, path("no-mounts"), path("tree"));
    EXPECT_EQ(child<QLabel>(searching, "statusLabel")->text(), "Doing Something");
    EXPECT_EQ(child<QLabel>(searching, "folderLabel")->text().toStdString(), path("tree/"));
}

} // namespace
