// The program's entry point: starts the common controls and runs the application object.
#include <windows.h>

#include "FrameworkResource.h"
#include "WinApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    // Without its controls the form cannot be created; say so rather than end without a word.
    if (!InitTemplateControls()) {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DIALOG, MB_OK | MB_ICONERROR);
        return 1;
    }
    CWinApp* app = AfxGetApp();
    if (app) app->InitInstance();
    return 0;
}
