#include "CommonControls.h"

#include <commctrl.h>

#include "SystemLibraries.h"

namespace {

using InitCommonControlsExFn = decltype(&InitCommonControlsEx);

// comctl32 is not one of Windows' KnownDLLs: imported, it would be looked for
// beside the program first, before any of the program's code could run. Loaded
// from the system folder instead, it stays for the process's life, since the
// classes live in it.
InitCommonControlsExFn FindInitCommonControlsEx() {
    const HMODULE hComctl32 = LoadSystemLibrary(L"comctl32.dll");
    return hComctl32 ? GetSystemProc<InitCommonControlsExFn>(hComctl32, "InitCommonControlsEx") : nullptr;
}

}  // namespace

bool RegisterCommonControls(DWORD dwICC) {
    static const InitCommonControlsExFn initCommonControlsEx = FindInitCommonControlsEx();
    if (!initCommonControlsEx) return false;
    INITCOMMONCONTROLSEX controls{sizeof controls, dwICC};
    return initCommonControlsEx(&controls) != FALSE;
}

// Only these classes: a version-5 comctl32 (no version-6 manifest, as here)
// refuses the whole call when it meets a flag it does not know.
bool InitTemplateControls() { return RegisterCommonControls(ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES); }
