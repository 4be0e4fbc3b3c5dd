// The folder search dialogs headless, searching a temporary tree for real: the Locate dialog
// lists the finds that are not the backup folder and SAVE hands one back; SAVE with nothing
// selected refuses and stays open; a cancel ends the search and offers nothing. Which folders
// are searched and left out is the finder's rule.

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
        // The Searching dialog runs for real; a test may press its Cancel Search before it starts.
        CModalRunner::setHandler([this](QDialog& dialog) {
            auto* searching = qobject_cast<CSearchingDlg*>(&dialog);
            if (!searching)
                return static_cast<int>(QDialog::Rejected);
            if (m_cancelSearch)
                QTimer::singleShot(0, searching, [searching] { click(*searching, "cancelSearchButton"); });
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

    bool m_cancelSearch = false;
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

TEST_F(FolderSearchDlgTest, CancelSearchEndsTheSearchAndOffersNothingToSave) {
    m_cancelSearch = true;
    const auto dialog = open();
    EXPECT_EQ(m_searchResult, QDialog::Rejected);
    EXPECT_EQ(rows(), (QStringList{"Cancelled", "No other folders located."}));
    EXPECT_FALSE(child<QPushButton>(*dialog, "saveButton")->isEnabled());
}

TEST_F(FolderSearchDlgTest, SearchingStartsAtTheFirstFolderItWillWalk) {
    CSearchingDlg searching({}, nullptr, path("no-mounts"), path("tree"));
    EXPECT_EQ(child<QLabel>(searching, "statusLabel")->text(), "Doing Something");
    EXPECT_EQ(child<QLabel>(searching, "folderLabel")->text().toStdString(), path("tree/"));
}

} // namespace
