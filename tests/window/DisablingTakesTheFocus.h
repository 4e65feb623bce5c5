#pragma once
#include <windows.h>
#include <commctrl.h>

// Windows takes the keyboard focus from a focused descendant of a window that
// is disabled; Wine leaves it there. While this object lives, the form behaves
// as on Windows.
class DisablingTakesTheFocus {
public:
    explicit DisablingTakesTheFocus(HWND hForm) : m_hForm(hForm) { SetWindowSubclass(hForm, &Proc, 1, 0); }
    ~DisablingTakesTheFocus() { RemoveWindowSubclass(m_hForm, &Proc, 1); }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
        if (message == WM_ENABLE && !wParam && IsChild(hWnd, GetFocus())) SetFocus(nullptr);
        return DefSubclassProc(hWnd, message, wParam, lParam);
    }
    HWND m_hForm;
};
