// GoogleTest main for the window tests: one QApplication for the whole run.
#include "ui/main/vehicle_log_app.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    initOdrivoResources();
    QApplication::setApplicationDisplayName(QStringLiteral("Odrivo"));
    return RUN_ALL_TESTS();
}
