#pragma once
// CSetupCommand runs Tools > Setup up to the point where the window takes over: it builds
// the "Setup" sheet with its five pages on the window's settings (SetupContext), runs it,
// then keeps what the pages changed. With OK the list font chosen on the "List View" page
// becomes the list's and the list and odometer fonts are written to the profile; however
// the sheet closed, the graph settings are written, and the vehicle's settings are saved
// to the vehicle list unless the folders changed (the list may then be another file).
// The window then reads the folders and the vehicle back and refreshes.

#include "ui/setup/setup_context.h"

#include <ctime>
#include <string>
#include <vector>

class QWidget;

class CSetupCommand {
public:
    CSetupCommand(SetupContext& context, QWidget* parent) : m_context(context), m_parent(parent) {}

    // `selectorEntries` are the vehicle names as the window's selector lists them.
    // Returns whether the sheet closed with OK.
    bool run(const std::vector<std::string>& selectorEntries, std::time_t today);

private:
    void warnProfile(const char* what) const;

    SetupContext& m_context;
    QWidget* m_parent;
};
