#include "ui/setup/colour_pick.h"

#include "ui/toolkit/modal_runner.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace colour_pick {

void showColour(QPushButton* button, Rgb colour) {
    QPixmap swatch(24, 12);
    swatch.fill(QColor(colour.r, colour.g, colour.b));
    QPainter painter(&swatch);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, swatch.width() - 1, swatch.height() - 1);
    button->setIcon(QIcon(swatch));
    button->setIconSize(swatch.size());
}

std::optional<Rgb> ask(QWidget* parent, Rgb current) {
    QColorDialog dialog(QColor(current.r, current.g, current.b), parent);
    if (CModalRunner::run(dialog) != QDialog::Accepted)
        return std::nullopt;
    // The current colour, not selectedColor(): a test's answer never presses the dialog's OK.
    const QColor picked = dialog.currentColor();
    return Rgb{static_cast<std::uint8_t>(picked.red()), static_cast<std::uint8_t>(picked.green()),
               static_cast<std::uint8_t>(picked.blue())};
}

} // namespace colour_pick
