// The second reference for the start-up benchmark: the findings form's own
// template from the program's own resources, shown by the system's dialog box
// with a procedure that does nothing. It costs what creating the form's
// controls costs, so that Pulmetra measured against it shows only what the
// program itself adds.
#include <windows.h>
#include <commctrl.h>

#include "resource.h"

namespace {

INT_PTR CALLBACK EmptyDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(hDlg, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) {
    // The template holds a date picker and a list view.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    DialogBoxParamW(hInstance, MAKEINTRESOURCEW(IDD_PULMETRA_DIALOG), nullptr, EmptyDialogProc, 0);
    return 0;
}
