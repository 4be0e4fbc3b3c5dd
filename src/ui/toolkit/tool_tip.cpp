#include "ui/toolkit/tool_tip.h"

#include <QStringList>

QString CToolTip::wrap(const QString& text, int lineLength) {
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        if (paragraph.size() <= lineLength) {
            lines << paragraph;
            continue;
        }
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!line.isEmpty() && line.size() + 1 + word.size() > lineLength) {
                lines << line;
                line.clear();
            }
            line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}
