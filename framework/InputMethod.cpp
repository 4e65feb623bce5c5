#include "InputMethod.h"

#include <commctrl.h>
#include <imm.h>

#include "WindowState.h"

UINT(WINAPI* g_pfnGetVirtualKey)(HWND hWnd) = ImmGetVirtualKey;

namespace {

// Enter, Esc, Tab and keys held with Ctrl or Alt; Shift, Ctrl or Alt alone does nothing yet.
bool ActsRatherThanTypes(UINT message, WPARAM vk) {
    if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU) return false;
    return message == WM_SYSKEYDOWN || vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_TAB || IsDown(VK_CONTROL);
}

void CompleteComposition(HWND hWnd) {
    HIMC hImc = ImmGetContext(hWnd);
    if (!hImc) return;
    if (ImmGetCompositionStringW(hImc, GCS_COMPSTR, nullptr, 0) > 0)
        ImmNotifyIME(hImc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
    ImmReleaseContext(hWnd, hImc);
}

}  // namespace

void CompleteCompositionBefore(MSG& msg) {
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const WPARAM vk = msg.wParam == VK_PROCESSKEY ? g_pfnGetVirtualKey(msg.hwnd) : msg.wParam;
        if (!ActsRatherThanTypes(msg.message, vk)) return;
        CompleteComposition(msg.hwnd);
        msg.wParam = vk;
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        CompleteComposition(GetFocus());
        return;
    default:
        return;
    }
}

void CompleteCompositionsOnFocusLoss(HWND hDialog) {
    // Only the edits, found by their class: asking every child its class costs
    // the start-up a round trip per control.
    for (HWND hEdit = FindWindowExW(hDialog, nullptr, WC_EDITW, nullptr); hEdit;
         hEdit = FindWindowExW(hDialog, hEdit, WC_EDITW, nullptr))
        SendMessageW(hEdit, EM_SETIMESTATUS, EMSIS_COMPOSITIONSTRING,
                     EIMES_GETCOMPSTRATONCE | EIMES_COMPLETECOMPSTRKILLFOCUS);
}
