#include "ui/toolkit/file_dialog.h"

#include "store/app_profile.h"
#include "ui/toolkit/qt_text.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <utility>

namespace {
CFileDialog::Responder& responder() {
    static CFileDialog::Responder r;
    return r;
}
std::vector<CFileDialog::Request>& requestList() {
    static std::vector<CFileDialog::Request> list;
    return list;
}
CAppProfile*& profile() {
    static CAppProfile* p = nullptr;
    return p;
}

// The profile key of a dialog's last folder: its kind and caption, letters and digits only, so
// no caption can break the INI line.
std::string folderKeyName(const CFileDialog::Request& request) {
    static constexpr const char* kKinds[] = {"Save", "Open", "Folder"};
    std::string name = kKinds[static_cast<int>(request.kind)];
    for (const QChar ch : request.caption)
        if (ch.isLetterOrNumber() && ch.unicode() < 0x80)
            name += static_cast<char>(ch.unicode());
    return name;
}

// The request as the dialog opens it: in the folder of its last answer, when that still
// exists, with the file name the caller proposed.
void startInLastFolder(CFileDialog::Request& request, const std::string& key) {
    const QString last = toQt(profile()->getText(ProfileKey{"FileDialogs", key.c_str()}));
    if (last.isEmpty() || !QFileInfo(last).isDir())
        return;
    const QFileInfo start(request.start);
    if (request.kind == CFileDialog::Kind::Folder || request.start.isEmpty() || start.isDir())
        request.start = last;
    else
        request.start = QDir(last).filePath(start.fileName());
}

void rememberFolder(const CFileDialog::Request& request, const QString& answer, const std::string& key) {
    const QString folder = request.kind == CFileDialog::Kind::Folder ? answer : QFileInfo(answer).absolutePath();
    // A folder that cannot be remembered costs the user nothing but a walk; no message.
    profile()->putText(ProfileKey{"FileDialogs", key.c_str()}, fromQt(QDir::cleanPath(folder)));
}
} // namespace

QString CFileDialog::saveFileName(QWidget* parent, const QString& caption, const QString& start,
                                  const QString& filter) {
    return ask(parent, {Kind::Save, caption, start, filter});
}

QString CFileDialog::openFileName(QWidget* parent, const QString& caption, const QString& start,
                                  const QString& filter) {
    return ask(parent, {Kind::Open, caption, start, filter});
}

QString CFileDialog::folderName(QWidget* parent, const QString& caption, const QString& start) {
    return ask(parent, {Kind::Folder, caption, start, QString()});
}

void CFileDialog::setProfile(CAppProfile* p) {
    profile() = p;
}

void CFileDialog::setResponder(Responder r) {
    responder() = std::move(r);
}

const std::vector<CFileDialog::Request>& CFileDialog::requests() {
    return requestList();
}

void CFileDialog::clearRequests() {
    requestList().clear();
}

QString CFileDialog::ask(QWidget* parent, Request request) {
    const std::string key = folderKeyName(request);
    if (profile())
        startInLastFolder(request, key);
    QString answer;
    if (responder()) {
        requestList().push_back(request);
        answer = responder()(requestList().back());
    } else if (request.kind == Kind::Folder) {
        answer = QFileDialog::getExistingDirectory(parent, request.caption, request.start);
    } else if (request.kind == Kind::Save) {
        answer = QFileDialog::getSaveFileName(parent, request.caption, request.start, request.filter);
    } else {
        answer = QFileDialog::getOpenFileName(parent, request.caption, request.start, request.filter);
    }
    if (profile() && !answer.isEmpty())
        rememberFolder(request, answer, key);
    return answer;
}
