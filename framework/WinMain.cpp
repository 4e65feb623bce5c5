// The program's entry point: starts the common controls and runs the application object.
#include <windows.h>
#include <commctrl.h>

#include "WinApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    CWinApp* app = AfxGetApp();
    if (app) app->InitInstance();
    return 0;
}
