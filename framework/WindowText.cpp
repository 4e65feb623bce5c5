#include "WindowText.h"

CString GetWindowTextString(HWND hWnd) {
    int length = GetWindowTextLengthW(hWnd);
    if (length <= 0) return {};
    CString text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(hWnd, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}
