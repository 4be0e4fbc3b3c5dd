#pragma once
// CModalRunner runs every modal dialog of the program. Normally that is QDialog::exec();
// a test can install a handler that gets the dialog instead, works its controls and
// returns the result code, so modal dialogs never block a headless test.

#include <QDialog>
#include <functional>

class CModalRunner {
public:
    using Handler = std::function<int(QDialog&)>;

    static int run(QDialog& dialog);
    // Tests: handle every modal dialog (nullptr restores exec()).
    static void setHandler(Handler handler);
};
