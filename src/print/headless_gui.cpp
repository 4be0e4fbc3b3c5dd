#include "print/headless_gui.h"

#include <QGuiApplication>

CHeadlessGui::CHeadlessGui(int& argc, char** argv) {
    if (QCoreApplication::instance())
        return;
    const bool display = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !display)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    m_app = std::make_unique<QGuiApplication>(argc, argv);
}

CHeadlessGui::~CHeadlessGui() = default;
