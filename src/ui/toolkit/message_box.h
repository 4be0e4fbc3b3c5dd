#pragma once
// CMessageBox is the only way the program shows a message box. Windows and dialogs ask
// it; it shows a modal QMessageBox — unless a test has installed a responder, which
// then sees every message and chooses the answer, so tests can run without a person.

#include <QMessageBox>
#include <QString>
#include <functional>
#include <vector>

class QWidget;

class CMessageBox {
public:
    struct Shown {
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };
    using Responder = std::function<QMessageBox::StandardButton(const Shown&)>;

    // A message with an OK button.
    static void inform(QWidget* parent, const QString& text, const QString& title = QString());
    static void warn(QWidget* parent, const QString& text, const QString& title = QString());
    // A message with the stop icon, for a failure that ended the command.
    static void error(QWidget* parent, const QString& text, const QString& title = QString());
    // A question with Yes and No; true for Yes. No is the default button, so that a stray Enter
    // never confirms a question that destroys something. Warnings pass their icon.
    static bool ask(QWidget* parent, const QString& text, const QString& title = QString(),
                    QMessageBox::Icon icon = QMessageBox::Question);

    // Tests: answer every message box through `responder` (nullptr restores real boxes).
    static void setResponder(Responder responder);
    // Tests: every message shown since the last clearShown().
    static const std::vector<Shown>& shown();
    static void clearShown();

private:
    static QMessageBox::StandardButton show(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                            const QString& text, QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
};
