#include "ui/toolkit/message_box.h"

#include <QApplication>

namespace {
CMessageBox::Responder& responder() {
    static CMessageBox::Responder r;
    return r;
}
std::vector<CMessageBox::Shown>& shownList() {
    static std::vector<CMessageBox::Shown> list;
    return list;
}
} // namespace

void CMessageBox::inform(QWidget* parent, const QString& text, const QString& title) {
    show(parent, QMessageBox::Information, title, text, QMessageBox::Ok);
}

void CMessageBox::warn(QWidget* parent, const QString& text, const QString& title) {
    show(parent, QMessageBox::Warning, title, text, QMessageBox::Ok);
}

void CMessageBox::error(QWidget* parent, const QString& text, const QString& title) {
    show(parent, QMessageBox::Critical, title, text, QMessageBox::Ok);
}

bool CMessageBox::ask(QWidget* parent, const QString& text, const QString& title, QMessageBox::Icon icon) {
    return show(parent, icon, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void CMessageBox::setResponder(Responder r) {
    responder() = std::move(r);
}

const std::vector<CMessageBox::Shown>& CMessageBox::shown() {
    return shownList();
}

void CMessageBox::clearShown() {
    shownList().clear();
}

QMessageBox::StandardButton CMessageBox::show(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                              const QString& text, QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton) {
    const QString caption = title.isEmpty() ? QApplication::applicationDisplayName() : title;
    if (responder()) {
        shownList().push_back({caption, text, buttons, icon, defaultButton});
        return responder()(shownList().back());
    }
    QMessageBox box(icon, caption, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
