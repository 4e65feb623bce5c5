#include "WheelGuard.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdlib>

#include "WindowState.h"

namespace {

enum class WheelUse { CHOICE, SCROLL, NONE };

WheelUse WheelUseOf(HWND hControl, UINT message) {
    const bool bChoice = IsOfClass(hControl, WC_COMBOBOXW) || IsOfClass(hControl, DATETIMEPICK_CLASSW);
    if (bChoice) return message == WM_MOUSEWHEEL ? WheelUse::CHOICE : WheelUse::NONE;
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

// The open drop-down list of a combo box (reached through the box, which hands
// the wheel on to it) or the open calendar of a date picker; null when none is open.
HWND OpenList(HWND hDialog) {
    const HWND hFocus = GetFocus();
    if (IsDroppedComboBox(hFocus)) return hFocus;
    for (HWND hPicker = FindWindowExW(hDialog, nullptr, DATETIMEPICK_CLASSW, nullptr); hPicker;
         hPicker = FindWindowExW(hDialog, hPicker, DATETIMEPICK_CLASSW, nullptr))
        // Windows makes the calendar when it opens; Wine keeps it, hidden while closed.
        if (HWND hCalendar = reinterpret_cast<HWND>(SendMessageW(hPicker, DTM_GETMONTHCAL, 0, 0));
            hCalendar && IsWindowVisible(hCalendar))
            return hCalendar;
    return nullptr;
}

}  // namespace

int CWheelRouter::Route(MSG& msg, HWND hDialog) {
    if (msg.hwnd != hDialog && !IsChild(hDialog, msg.hwnd)) return 1;
    if (const HWND hList = OpenList(hDialog)) {
        if (msg.message != WM_MOUSEWHEEL) return 0;
        msg.hwnd = hList;
        return 1;
    }
    const HWND hPart = DialogPartAt(hDialog, {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
    if (!hPart) return 0;
    const HWND hFocus = GetFocus();
    switch (WheelUseOf(hPart, msg.message)) {
    case WheelUse::CHOICE: {
        if (hPart != hFocus) {
            msg.hwnd = hDialog;
            return 1;
        }
        // A choice moves one item for every message, however small its turn:
        // the turns are added up, and each whole notch moves it once.
        if (hPart != m_hChoice) m_nChoiceDelta = 0;
        m_hChoice = hPart;
        m_nChoiceDelta += GET_WHEEL_DELTA_WPARAM(msg.wParam);
        const int nNotches = m_nChoiceDelta / WHEEL_DELTA;
        m_nChoiceDelta -= nNotches * WHEEL_DELTA;
        msg.hwnd = hPart;
        msg.wParam = MAKEWPARAM(GET_KEYSTATE_WPARAM(msg.wParam), nNotches < 0 ? -WHEEL_DELTA : WHEEL_DELTA);
        return std::abs(nNotches);
    }
    case WheelUse::SCROLL: msg.hwnd = hPart; return 1;
    case WheelUse::NONE: msg.hwnd = hDialog; return 1;
    }
    return 1;
}
