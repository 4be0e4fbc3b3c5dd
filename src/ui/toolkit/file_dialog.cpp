#include "ui/toolkit/file_dialog.h"

#include <QFileDialog>
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

void CFileDialog::setResponder(Responder r) {
    responder() = std::move(r);
}

const std::vector<CFileDialog::Request>& CFileDialog::requests() {
    return requestList();
}

void CFileDialog::clearRequests() {
    requestList().clear();
}

QString CFileDialog::ask(QWidget* parent, const Request& request) {
    if (responder()) {
        requestList().push_back(request);
        return responder()(requestList().back());
    }
    if (request.kind == Kind::Folder)
        return QFileDialog::getExistingDirectory(parent, request.caption, request.start);
    if (request.kind == Kind::Save)
        return QFileDialog::getSaveFileName(parent, request.caption, request.start, request.filter);
    return QFileDialog::getOpenFileName(parent, request.caption, request.start, request.filter);
}
