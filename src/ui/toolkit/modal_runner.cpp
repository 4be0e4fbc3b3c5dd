#include "ui/toolkit/modal_runner.h"

namespace {
CModalRunner::Handler& handler() {
    static CModalRunner::Handler h;
    return h;
}
} // namespace

int CModalRunner::run(QDialog& dialog) {
    if (handler()) {
        const int result = handler()(dialog);
        dialog.done(result);
        return result;
    }
    return dialog.exec();
}

void CModalRunner::setHandler(Handler h) {
    handler() = std::move(h);
}
