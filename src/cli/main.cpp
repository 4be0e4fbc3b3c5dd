#include "cli/cli_app.h"
#include "store/allocator_tuning.h"

#include <clocale>
#include <iostream>

int main(int argc, char** argv) {
    odrivo::keepFreedMemoryForReloads();
    // Dates and money follow the user's locale, as in the window; numbers keep the '.' point.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    return runCli(argc, argv, std::cout, std::cerr);
}
