// The program's entry point: starts the common controls and runs the application object.
#include <windows.h>

#include "CommonControls.h"
#include "FrameworkResource.h"
#include "MessageBox.h"
#include "SystemLibraries.h"
#include "WinApp.h"

namespace {

// The first of the program's code to run, before the C runtime's constructors
// (the stack protector's loads the system's random-number provider) and
// everything after them: the common controls, the input method, the visual styles.
[[gnu::constructor(101)]] void ConfineDllSearch() { KeepDllSearchInSystemFolder(); }

}  // namespace

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
