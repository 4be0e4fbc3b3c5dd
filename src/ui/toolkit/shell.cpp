#include "ui/toolkit/shell.h"

#include <QDesktopServices>

namespace {
CShell::Handler& handler() {
    static CShell::Handler h;
    return h;
}
} // namespace

bool CShell::open(const QUrl& url) {
    return handler() ? handler()(url) : QDesktopServices::openUrl(url);
}

void CShell::setHandler(Handler h) {
    handler() = std::move(h);
}
