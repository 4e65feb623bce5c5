// Entry point of the window test programs: the real findings form from the real resources, under Wine.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "framework/WinApp.h"

namespace {
// Message boxes take the application's name as their caption, as in the program.
CWinApp testApp;
}  // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
