// Drives the list editor headless: Add by button and by Enter, the length limit, deleting
// the selected item, and what the file and the caller's last-added text hold afterwards.

#include "dialog_fixture.h"
#include "store/pick_list.h"

#include <QListWidget>

using namespace dialog_test;

namespace {

class EditListDlgTest : public DialogTest {
protected:
    static QStringList shown(QDialog& dialog) {
        QStringList texts;
        auto* list = child<QListWidget>(dialog, "itemList");
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }
};

TEST_F(EditListDlgTest, AddsTypedItemsSortedAndHandsBackTheLast) {
    write("Lists.ini", "[FuelStationList]\r\nLine0=Shell\r\nLine1=Aral\r\n");
    CEditListDlg dialog(path("Lists.ini"), std::string(CPickList::FuelStationList));
    dialog.show();
    auto* edit = child<QLineEdit>(dialog, "newItemEdit");
    QTest::keyClicks(edit, QStringLiteral("BP"));
    click(dialog, "addButton");
    EXPECT_TRUE(edit->text().isEmpty());
    QTest::keyClicks(edit, QStringLiteral("esso"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible()) << "Enter adds; it does not close the dialog";
    EXPECT_EQ(shown(dialog), (QStringList{"Aral", "BP", "esso", "Shell"}));
    EXPECT_EQ(dialog.lastAdded(), "esso");
    EXPECT_EQ(CPickList::load(path("Lists.ini"), CPickList::FuelStationList).size(), 4u);

    QTest::keyClicks(edit, QString(45, QLatin1Char('x')));
    EXPECT_EQ(edit->text().size(), 40);
    edit->clear();
    click(dialog, "addButton"); // an empty Add adds nothing and clears what the caller gets
    EXPECT_EQ(dialog.lastAdded(), "");
    EXPECT_EQ(shown(dialog).size(), 4);
}

TEST_F(EditListDlgTest, DeletesOnlyTheSelectedItem) {
    write("Lists.ini", "[RepairList]\r\nLine0=Tyres\r\nLine1=Brakes\r\nLine2=Oil\r\n");
    CEditListDlg dialog(path("Lists.ini"), std::string(CPickList::RepairList));
    auto* list = child<QListWidget>(dialog, "itemList");
    click(dialog, "deleteButton");
    EXPECT_EQ(shown(dialog).size(), 3) << "nothing selected, nothing deleted";
    list->setCurrentRow(1);
    click(dialog, "deleteButton");
    EXPECT_EQ(shown(dialog), (QStringList{"Brakes", "Tyres"}));
    std::string bytes;
    ASSERT_EQ(odrivo::readWholeFile(path("Lists.ini"), bytes), odrivo::ReadStatus::Ok);
    EXPECT_EQ(bytes, "[RepairList]\r\nLine0=Brakes\r\nLine1=Tyres\r\n");
}

} // namespace
