#include "store/allocator_tuning.h"
#include "ui/main/vehicle_log_app.h"

int main(int argc, char** argv) {
    odrivo::keepFreedMemoryForReloads();
    CVehicleLogApp app(argc, argv);
    return app.run();
}
