#pragma once
// Shared set-up of the dialog tests: a temporary folder with a profile, message boxes answered OK (and
// remembered), and the pick-list editor answered by adding m_itemToAdd (nothing when it is empty).

#include "../store/log_file_bytes.h"
#include "store/app_profile.h"
#include "store/file_io.h"
#include "ui/entry/edit_list_dlg.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/modal_runner.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace dialog_test {

namespace fs = std::filesystem;

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_profile = std::make_unique<CAppProfile>(path("profile.ini"));
        CMessageBox::clearShown();
        CMessageBox::setResponder([](const CMessageBox::Shown&) { return QMessageBox::Ok; });
        CModalRunner::setHandler([this](QDialog& dialog) {
            auto* editor = qobject_cast<CEditListDlg*>(&dialog);
            if (!editor)
                return static_cast<int>(QDialog::Rejected);
            ++m_listEditorRuns;
            if (!m_itemToAdd.isEmpty()) {
                editor->findChild<QLineEdit*>(QStringLiteral("newItemEdit"))->setText(m_itemToAdd);
                editor->add();
            }
            return static_cast<int>(QDialog::Accepted);
        });
    }
    void TearDown() override {
        CModalRunner::setHandler(nullptr);
        CMessageBox::setResponder(nullptr);
        m_profile.reset();
    }

    std::string path(const char* name) const { return (m_dir / name).string(); }
    void write(const char* name, const std::string& bytes) const {
        ASSERT_TRUE(odrivo::writeFileAtomically(path(name), bytes));
    }
    static std::string read(const std::string& file) {
        std::string bytes;
        return odrivo::readWholeFile(file, bytes), bytes;
    }
    template <class T> static T* child(QWidget& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static void retype(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    static void click(QWidget& dialog, const char* button) {
        QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
    }
    // Save was refused: the dialog is still open and one message names the field.
    static void expectRefused(QDialog& dialog, const char* named) {
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        ASSERT_EQ(CMessageBox::shown().size(), 1u);
        EXPECT_TRUE(CMessageBox::shown()[0].text.contains(QString::fromUtf8(named)))
            << CMessageBox::shown()[0].text.toStdString();
    }

    logtest::TempFolder m_folder; // removed with the fixture
    fs::path m_dir = fs::path(m_folder.path()).parent_path();
    std::unique_ptr<CAppProfile> m_profile;
    QString m_itemToAdd;
    int m_listEditorRuns = 0;
};

} // namespace dialog_test
