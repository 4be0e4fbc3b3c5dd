#pragma once
// CHeadlessGui gives a command-line program the Qt application that fonts and PDF writing need.
// Without a display, and unless QT_QPA_PLATFORM says otherwise, it uses the offscreen platform,
// so the program also runs where no desktop is (a server, a cron job, a build machine).

#include <memory>

class QGuiApplication;

class CHeadlessGui {
public:
    // Does nothing when the program already has a Qt application.
    CHeadlessGui(int& argc, char** argv);
    ~CHeadlessGui();
    CHeadlessGui(const CHeadlessGui&) = delete;
    CHeadlessGui& operator=(const CHeadlessGui&) = delete;

private:
    std::unique_ptr<QGuiApplication> m_app;
};
