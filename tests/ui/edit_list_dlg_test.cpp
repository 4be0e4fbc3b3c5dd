// Drives the list editor headless: typing, Add by button and by Enter, selecting and
// deleting, and what the file and the caller's last-added text look like afterwards.

#include "store/file_io.h"
#include "store/pick_list.h"
#include "ui/entry/edit_list_dlg.h"
#include "ui/toolkit/modal_runner.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class EditListDlg : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "odrivo-edit-list-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern + "/";
        m_path = m_dir + "Lists.ini";
    }
    void TearDown() override {
        CModalRunner::setHandler(nullptr);
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    void write(const std::string& bytes) const { ASSERT_TRUE(odrivo::writeFileAtomically(m_path, bytes)); }
    std::string content() const {
        std::string bytes;
        EXPECT_EQ(odrivo::readWholeFile(m_path, bytes), odrivo::ReadStatus::Ok);
        return bytes;
    }

    template <typename T> static T* child(QDialog& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QStringList shown(QDialog& dialog) {
        QStringList texts;
        auto* list = child<QListWidget>(dialog, "itemList");
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }

    std::string m_dir;
    std::string m_path;
};

TEST_F(EditListDlg, ShowsTheSectionSortedAndAddsTypedItems) {
    write("[FuelStationList]\r\nLine0=Shell\r\nLine1=Aral\r\n");
    CEditListDlg dialog(m_path, std::string(CPickList::FuelStationList));
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit List"));
    EXPECT_EQ(child<QLabel>(dialog, "sectionLabel")->text(), QStringLiteral("FuelStationList"));
    EXPECT_EQ(shown(dialog), (QStringList{"Aral", "Shell"}));
    for (const auto& [name, tip] :
         {std::pair{"addButton", "Add to list"}, std::pair{"deleteButton", "Delete selected from list"},
          std::pair{"closeButton", "Return"}}) {
        auto* button = child<QPushButton>(dialog, name);
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(tip));
        EXPECT_FALSE(button->icon().pixmap(16, 16).isNull()) << name << ": image missing";
    }

    auto* edit = child<QLineEdit>(dialog, "newItemEdit");
    QTest::keyClicks(edit, QStringLiteral("BP"));
    QTest::mouseClick(child<QPushButton>(dialog, "addButton"), Qt::LeftButton);
    EXPECT_TRUE(edit->text().isEmpty());
    QTest::keyClicks(edit, QStringLiteral("esso"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(shown(dialog), (QStringList{"Aral", "BP", "esso", "Shell"}));
    EXPECT_EQ(dialog.lastAdded(), "esso");
    EXPECT_TRUE(dialog.isVisible()) << "Enter adds; it does not close the dialog";

    // The field takes 40 characters at most.
    QTest::keyClicks(edit, QString(45, QLatin1Char('x')));
    EXPECT_EQ(edit->text().size(), 40);
    edit->clear();
    // An empty Add adds nothing and clears what the caller gets back.
    QTest::mouseClick(child<QPushButton>(dialog, "addButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.lastAdded(), "");
    EXPECT_EQ(shown(dialog).size(), 4);
}

TEST_F(EditListDlg, DeletesOnlyTheSelectedItem) {
    write("[RepairList]\r\nLine0=Tyres\r\nLine1=Brakes\r\nLine2=Oil\r\n");
    CEditListDlg dialog(m_path, std::string(CPickList::RepairList));
    auto* list = child<QListWidget>(dialog, "itemList");
    auto* deleteButton = child<QPushButton>(dialog, "deleteButton");

    QTest::mouseClick(deleteButton, Qt::LeftButton);
    EXPECT_EQ(shown(dialog).size(), 3) << "nothing selected, nothing deleted";

    list->setCurrentRow(1);
    ASSERT_EQ(list->currentItem()->text(), QStringLiteral("Oil"));
    QTest::mouseClick(deleteButton, Qt::LeftButton);
    EXPECT_EQ(shown(dialog), (QStringList{"Brakes", "Tyres"}));
    EXPECT_EQ(content(), "[RepairList]\r\nLine0=Brakes\r\nLine1=Tyres\r\n");

    for (int i = 0; i < 2; ++i) {
        list->setCurrentRow(0);
        QTest::mouseClick(deleteButton, Qt::LeftButton);
    }
    EXPECT_TRUE(shown(dialog).isEmpty());
}

TEST_F(EditListDlg, CallerGetsTheLastItemAddedBeforeClose) {
    CModalRunner::setHandler([](QDialog& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("newItemEdit"));
        auto* add = dialog.findChild<QPushButton*>(QStringLiteral("addButton"));
        for (const QString& text : {QStringLiteral("Visit"), QStringLiteral("Delivery")}) {
            QTest::keyClicks(edit, text);
            QTest::mouseClick(add, Qt::LeftButton);
        }
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("closeButton")), Qt::LeftButton);
        return dialog.result();
    });
    CEditListDlg dialog(m_path, std::string(CPickList::PurposeList));
    EXPECT_EQ(CModalRunner::run(dialog), static_cast<int>(QDialog::Accepted));
    EXPECT_EQ(dialog.lastAdded(), "Delivery");
    EXPECT_EQ(CPickList::load(m_path, CPickList::PurposeList), (std::vector<std::string>{"Delivery", "Visit"}));
}

} // namespace
