#include "ui/toolkit/menu_look.h"

#include <QMenu>
#include <QMenuBar>

namespace {
struct Look {
    int style = 2;
    int selection = 1;
    int gloom = 1;
};
Look& look() {
    static Look l;
    return l;
}
} // namespace

void CMenuLook::set(int style, int selection, int gloom) {
    look() = {style, selection, gloom};
}
int CMenuLook::style() {
    return look().style;
}
int CMenuLook::selection() {
    return look().selection;
}
int CMenuLook::gloom() {
    return look().gloom;
}

QFont CMenuLook::font() {
    QFont f(QStringLiteral("Comic Sans MS"));
    f.setStyleHint(QFont::Cursive);
    f.setPointSize(15);
    return f;
}

void CMenuLook::apply(QMenuBar* bar) {
    const QFont f = font();
    bar->setFont(f);
    for (QMenu* menu : bar->findChildren<QMenu*>())
        menu->setFont(f);
}
