#include "ui/main/vehicle_log_app.h"

int main(int argc, char** argv) {
    CVehicleLogApp app(argc, argv);
    return app.run();
}
