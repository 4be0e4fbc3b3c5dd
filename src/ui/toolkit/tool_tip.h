#pragma once
// CToolTip keeps tooltips readable: a plain-text tooltip is shown on one line however long
// it is, so long ones are broken at blanks into lines of about sixty characters.

#include <QString>

class CToolTip {
public:
    static constexpr int kLineLength = 60;

    // `text` with each line broken at blanks so that no line is longer than `lineLength`
    // characters, unless a single word is; line breaks already in the text stay.
    static QString wrap(const QString& text, int lineLength = kLineLength);
};
