#pragma once
#include <windows.h>

// Whether the window is of the class, compared as Windows compares class names.
inline bool IsOfClass(HWND hWnd, const wchar_t* className) {
    wchar_t name[256] = {};  // the longest name a class can be registered with
    return GetClassNameW(hWnd, name, 256) > 0 && lstrcmpiW(name, className) == 0;
}

// Whether the key was held down when the message being handled was sent.
inline bool IsDown(int vk) { return GetKeyState(vk) < 0; }

// Whether the window is a combo box whose drop-down list is open.
inline bool IsDroppedComboBox(HWND hWnd) {
    return hWnd && IsOfClass(hWnd, L"ComboBox") && SendMessageW(hWnd, CB_GETDROPPEDSTATE, 0, 0);
}

// A child window's rectangle in its parent's client coordinates.
inline RECT ChildRect(HWND hParent, HWND hChild) {
    RECT rect;
    GetWindowRect(hChild, &rect);
    MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
