// The list editor headless: Add by button and by Enter, the length limit, Delete of the
// selected item only, and what the file and the caller's last-added text hold afterwards.

#include "dialog_fixture.h"
#include "store/pick_list.h"

#include <QListWidget>

using namespace dialog_test;

namespace {

TEST_F(DialogTest, ListEditorAddsAndDeletesThroughTheFile) {
    write("Lists.ini", "[RepairList]\r\nLine0=Tyres\r\nLine1=Brakes\r\n");
    CEditListDlg dialog(path("Lists.ini"), std::string(CPickList::RepairList));
    dialog.show();
    auto* edit = child<QLineEdit>(dialog, "newItemEdit");
    auto* list = child<QListWidget>(dialog, "itemList");
    QTest::keyClicks(edit, QStringLiteral("Oil"));
    click(dialog, "addButton");
    EXPECT_TRUE(edit->text().isEmpty());
    QTest::keyClicks(edit, QStringLiteral("belt"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible()) << "Enter adds; it does not close the dialog";
    EXPECT_EQ(dialog.lastAdded(), "belt");
    EXPECT_EQ(list->count(), 4);
    QTest::keyClicks(edit, QString(45, QLatin1Char('x')));
    EXPECT_EQ(edit->text().size(), 40);
    edit->clear();
    click(dialog, "addButton"); // an empty Add adds nothing and clears what the caller gets
    EXPECT_EQ(dialog.lastAdded(), "");

    list->clearSelection();
    list->setCurrentRow(-1);
    click(dialog, "deleteButton");
    EXPECT_EQ(list->count(), 4) << "nothing selected, nothing deleted";
    list->setCurrentItem(list->findItems(QStringLiteral("Oil"), Qt::MatchExactly).value(0));
    click(dialog, "deleteButton");
    EXPECT_EQ(read(path("Lists.ini")), "[RepairList]\r\nLine0=belt\r\nLine1=Brakes\r\nLine2=Tyres\r\n");
}

} // namespace
