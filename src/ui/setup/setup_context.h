#pragma once
// SetupContext is what the setup sheet's pages edit: references to the main window's own
// settings, so that a change a page makes "at once" is seen by the window at once, and a
// page that writes back on close writes straight into the window's state. The two
// callbacks let the window redraw what such an immediate change affects.

#include <functional>
#include <string>

class CActivityLog;
class CAppProfile;
struct GraphSettings;
struct ListAppearance;
struct VehicleSettings;

struct SetupContext {
    CAppProfile& profile;
    CActivityLog& log;
    // The current vehicle's settings (Reminders and Vehicle pages).
    VehicleSettings& vehicle;
    // The three folders in use, each ending in '/' (Folders page).
    std::string& dataFolder;
    std::string& backupFolder;
    std::string& configFolder;
    // Set by the Folders page when the vehicle list may now be another file.
    bool& foldersChanged;
    // Graph page: every change lands here at once.
    GraphSettings& graph;
    // List View page: colours and shading at once, grid lines on close, the font on OK.
    ListAppearance& list;
    bool& askDelete;
    // A graph setting changed.
    std::function<void()> graphChanged;
    // The list's colours or shading changed.
    std::function<void()> listChanged;
};
