#include "WheelGuard.h"

#include <commctrl.h>
#include <windowsx.h>

#include "WindowState.h"

namespace {

enum class WheelUse { CHOICE, SCROLL, NONE };

WheelUse WheelUseOf(HWND hControl) {
    if (IsOfClass(hControl, WC_COMBOBOXW) || IsOfClass(hControl, DATETIMEPICK_CLASSW)) return WheelUse::CHOICE;
    if (IsOfClass(hControl, WC_LISTVIEWW)) return WheelUse::SCROLL;
    if (IsOfClass(hControl, WC_EDITW) && (GetWindowLongW(hControl, GWL_STYLE) & ES_MULTILINE)) return WheelUse::SCROLL;
    return WheelUse::NONE;
}

// The control of the dialog under a point of the screen (a control's own part,
// such as a list's header, counts as the control), the dialog itself over its
// background, or null outside the dialog.
HWND DialogPartAt(HWND hDialog, POINT ptScreen) {
    HWND hWnd = WindowFromPoint(ptScreen);
    if (hWnd != hDialog && !IsChild(hDialog, hWnd)) return nullptr;
    while (hWnd != hDialog && GetParent(hWnd) != hDialog) hWnd = GetParent(hWnd);
    return hWnd;
}

bool IsDroppedList(HWND hWnd) { return IsOfClass(hWnd, WC_COMBOBOXW) && SendMessageW(hWnd, CB_GETDROPPEDSTATE, 0, 0); }

}  // namespace

bool RouteWheel(MSG& msg, HWND hDialog) {
    if (msg.hwnd != hDialog && !IsChild(hDialog, msg.hwnd)) return true;
    const HWND hFocus = GetFocus();
    // An open drop-down list scrolls its items and changes nothing until chosen.
    if (msg.hwnd == hFocus && IsDroppedList(hFocus)) return true;
    const HWND hPart = DialogPartAt(hDialog, {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
    if (!hPart) return false;
    switch (WheelUseOf(hPart)) {
    case WheelUse::CHOICE:
        msg.hwnd = hPart == hFocus ? hPart : hDialog;
        break;
    case WheelUse::SCROLL:
        msg.hwnd = hPart;
        break;
    case WheelUse::NONE:
        msg.hwnd = hDialog;
        break;
    }
    return true;
}
