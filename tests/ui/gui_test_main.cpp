// GoogleTest main for the window tests: one QApplication for the whole run.
#include "ui/main/vehicle_log_app.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // CTest sets the platform for each test; listing the tests happens without it.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    initOdrivoResources();
    QApplication::setApplicationDisplayName(QStringLiteral("Odrivo"));
    return RUN_ALL_TESTS();
}
