// The file dialog wrapper remembers the folder of each dialog's last answer in the profile.

#include "../store/log_file_bytes.h"
#include "store/app_profile.h"
#include "ui/toolkit/file_dialog.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

TEST(FileDialogFolders, EachDialogOpensInTheFolderOfItsLastAnswerWithTheCallersFileName) {
    logtest::TempFolder dir;
    const QString a = QString::fromStdString(dir.file("a")), b = QString::fromStdString(dir.file("b"));
    std::filesystem::create_directories(dir.file("a"));
    std::filesystem::create_directories(dir.file("b"));
    CAppProfile profile(dir.file("profile.ini"));
    CFileDialog::setProfile(&profile);
    QString answer;
    CFileDialog::setResponder([&answer](const CFileDialog::Request&) { return answer; });
    using Kind = CFileDialog::Kind;
    const struct {
        Kind kind;
        const char* caption;
        QString start, answer, opensAt;
    } steps[] = {
        {Kind::Save, "Save as PDF", "/home/r.pdf", a + "/x.pdf", "/home/r.pdf"}, // nothing remembered yet
        {Kind::Save, "Save as PDF", "/home/r.pdf", "", a + "/r.pdf"},
        {Kind::Save, "Save as PDF", "/home/r.pdf", b + "/y.pdf", a + "/r.pdf"}, // a cancel forgets nothing
        {Kind::Save, "Save as PDF", "/home", "", b},
        {Kind::Save, "Export as", "/home/e.csv", "", "/home/e.csv"}, // other purposes: their own folders
        {Kind::Open, "Save as PDF", "/home/r.pdf", "", "/home/r.pdf"},
        {Kind::Folder, "Look in", "/home", a, "/home"},
        {Kind::Folder, "Look in", "/home", "", a},
        {Kind::Save, "Save as PDF", "/home/r.pdf", "", "/home/r.pdf"}, // after b is removed
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.caption + (" " + step.opensAt.toStdString()));
        if (&step == &steps[std::size(steps) - 1])
            std::filesystem::remove_all(dir.file("b"));
        answer = step.answer;
        const QString caption = QString::fromLatin1(step.caption);
        const QString got = step.kind == Kind::Folder ? CFileDialog::folderName(nullptr, caption, step.start)
                            : step.kind == Kind::Save ? CFileDialog::saveFileName(nullptr, caption, step.start, "")
                                                      : CFileDialog::openFileName(nullptr, caption, step.start, "");
        EXPECT_EQ(std::pair(got, CFileDialog::requests().back().start), std::pair(step.answer, step.opensAt));
    }
    CFileDialog::setProfile(nullptr);
    CFileDialog::setResponder(nullptr);
    CFileDialog::clearRequests();
}

} // namespace
