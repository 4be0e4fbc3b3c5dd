#pragma once
// CVehicleLogApp starts Odrivo: it opens the per-user profile and the activity log,
// sets the menu look, then creates the main window, runs it, and ends the program
// when the window closes.

#include <memory>
#include <string>

class QApplication;
class CAppProfile;
class CActivityLog;
class CVehicleLogDlg;

// Registers the program's compiled-in icons; the app calls it, and so must tests.
void initOdrivoResources();

class CVehicleLogApp {
public:
    CVehicleLogApp(int& argc, char** argv);
    ~CVehicleLogApp();

    // Runs the main window, showing the vehicle whose data file is `file` when one is given;
    // returns the program's exit code.
    int run(const std::string& file = {});

private:
    std::unique_ptr<QApplication> m_app;
    std::unique_ptr<CAppProfile> m_profile;
    std::unique_ptr<CActivityLog> m_log;
};
