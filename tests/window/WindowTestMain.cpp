// Entry point of the window test programs: the real findings form from the real resources, under Wine.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "framework/CommonControls.h"

int main(int argc, char** argv) {
    if (!InitTemplateControls()) {
        std::fprintf(stderr, "the common controls of the templates could not be registered\n");
        return 1;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
