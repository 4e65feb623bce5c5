// The reference for the start-up benchmark: one modal dialog from its own small
// template, built and linked like Pulmetra, so that the two starts differ only
// in what Pulmetra itself does.
#include <windows.h>

namespace {

constexpr int IDD_MINIMAL = 100;

INT_PTR CALLBACK MinimalDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hDlg, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) {
    DialogBoxParamW(hInstance, MAKEINTRESOURCEW(IDD_MINIMAL), nullptr, MinimalDialogProc, 0);
    return 0;
}
