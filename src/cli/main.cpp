#include "cli/cli_app.h"
#include "store/allocator_tuning.h"

#include <iostream>

int main(int argc, char** argv) {
    odrivo::keepFreedMemoryForReloads();
    return runCli(argc, argv, std::cout, std::cerr);
}
