// One Qt application for the whole run, made the way the command-line tool makes it.
#include "print/headless_gui.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    CHeadlessGui gui(argc, argv);
    return RUN_ALL_TESTS();
}
