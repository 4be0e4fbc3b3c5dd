#pragma once
// CFileDialog is the only way the program asks the user for a file name. Windows and
// dialogs ask it; it shows the standard Qt file dialog — unless a test has installed a
// responder, which then sees every request and chooses the name, so tests never block.
// Either way the answer is the chosen name, or "" when the user cancelled.
// Once given the profile, it remembers the folder of each dialog's last answer, per purpose (the
// caption and kind), and opens that dialog there the next time, keeping the caller's file name.

#include <QString>
#include <functional>
#include <vector>

class CAppProfile;
class QWidget;

class CFileDialog {
public:
    enum class Kind { Save, Open, Folder };
    struct Request {
        Kind kind = Kind::Save;
        QString caption;
        QString start; // the folder or file name the dialog opens at
        QString filter;
    };
    using Responder = std::function<QString(const Request&)>;

    // A name to write to; a file that exists is confirmed by the dialog before it is returned.
    static QString saveFileName(QWidget* parent, const QString& caption, const QString& start, const QString& filter);
    // The name of an existing file to read.
    static QString openFileName(QWidget* parent, const QString& caption, const QString& start, const QString& filter);

    // An existing folder, as the user picked it (no separator added).
    static QString folderName(QWidget* parent, const QString& caption, const QString& start);

    // Where the last folders are kept (nullptr: nowhere, every dialog opens where its caller says).
    static void setProfile(CAppProfile* profile);

    // Tests: answer every request through `responder` (nullptr restores the real dialogs).
    static void setResponder(Responder responder);
    // Tests: every request answered by the responder since the last clearRequests().
    static const std::vector<Request>& requests();
    static void clearRequests();

private:
    static QString ask(QWidget* parent, Request request);
};
