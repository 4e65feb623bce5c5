#pragma once
// What a test reads of a dialog's windows: its children in order, their class,
// place (framework/WindowState.h's ChildRect) and font.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/WindowState.h"

inline std::wstring ClassOf(HWND hWnd) {
    wchar_t name[64] = {};
    GetClassNameW(hWnd, name, 64);
    return name;
}

// The children in template order, which is also the tab order.
inline std::vector<HWND> ChildrenInOrder(HWND hDlg) {
    std::vector<HWND> children;
    for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
        children.push_back(hChild);
    return children;
}

inline LOGFONTW FontOf(HWND hWnd) {
    LOGFONTW font{};
    if (HFONT hFont = reinterpret_cast<HFONT>(SendMessageW(hWnd, WM_GETFONT, 0, 0)))
        GetObjectW(hFont, sizeof font, &font);
    return font;
}

// The dialog's own control that has the keyboard focus, itself or through an
// inner window (a combo box's edit); nullptr when the focus is elsewhere.
inline HWND ControlWithFocus(HWND hDlg) {
    HWND hControl = GetFocus();
    while (hControl && GetAncestor(hControl, GA_PARENT) != hDlg) hControl = GetAncestor(hControl, GA_PARENT);
    return hControl;
}
