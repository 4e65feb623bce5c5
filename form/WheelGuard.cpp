#include "WheelGuard.h"

#include <commctrl.h>

bool IsWheelAtUnfocusedCombo(const MSG& msg, HWND hForm) {
    if (msg.message != WM_MOUSEWHEEL || GetParent(msg.hwnd) != hForm) return false;
    const HWND hFocus = GetFocus();
    if (hFocus == msg.hwnd || IsChild(msg.hwnd, hFocus)) return false;
    wchar_t className[16] = {};
    GetClassNameW(msg.hwnd, className, 16);
    return lstrcmpiW(className, WC_COMBOBOXW) == 0;
}
