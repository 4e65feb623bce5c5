#include "InputMethod.h"

#include <commctrl.h>
#include <imm.h>

#include "WindowState.h"

UINT(WINAPI* g_pfnGetVirtualKey)(HWND hWnd) = ImmGetVirtualKey;
BOOL(WINAPI* g_pfnNotifyIME)(HIMC hImc, DWORD dwAction, DWORD dwIndex, DWORD dwValue) = ImmNotifyIME;

namespace {

// Enter, Esc, Tab and keys held with Ctrl or Alt; Shift, Ctrl or Alt alone does nothing yet.
bool ActsRatherThanTypes(UINT message, WPARAM vk) {
    if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU) return false;
    return message == WM_SYSKEYDOWN || vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_TAB || IsDown(VK_CONTROL);
}

bool IsComposing(HIMC hImc) { return ImmGetCompositionStringW(hImc, GCS_COMPSTR, nullptr, 0) > 0; }

// The input method's own messages, and the characters of a completed syllable,
// that it has posted to the window.
constexpr struct {
    UINT nFirst, nLast;
} INPUT_METHOD_POSTS[] = {
    {WM_IME_STARTCOMPOSITION, WM_IME_KEYLAST},
    {WM_IME_SETCONTEXT, WM_IME_KEYUP},
    {WM_CHAR, WM_CHAR},
};

// Hands the window what the input method has posted it, until nothing is left
// (an input method that kept posting would not hold the key up for long).
constexpr int MAX_ROUNDS = 16;
void TakeWhatTheInputMethodPosted(HWND hWnd) {
    bool bTook = true;
    for (int nRound = 0; bTook && nRound < MAX_ROUNDS; ++nRound) {
        bTook = false;
        MSG msg;
        for (const auto& posts : INPUT_METHOD_POSTS) {
            while (PeekMessageW(&msg, hWnd, posts.nFirst, posts.nLast, PM_REMOVE)) {
                DispatchMessageW(&msg);
                bTook = true;
            }
        }
    }
}

// Completes the syllable being composed in the window. The Korean input method
// of Windows 10 and 11, a text service behind the input-method emulation, may
// post the completed syllable after the call returns: it is taken before the
// key or click goes on. False while a composition remains.
bool CompleteComposition(HWND hWnd) {
    HIMC hImc = ImmGetContext(hWnd);
    if (!hImc) return true;
    if (IsComposing(hImc)) {
        g_pfnNotifyIME(hImc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
        TakeWhatTheInputMethodPosted(hWnd);
    }
    const bool bCompleted = !IsComposing(hImc);
    ImmReleaseContext(hWnd, hImc);
    return bCompleted;
}

}  // namespace

void CompleteCompositionBefore(MSG& msg) {
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const WPARAM vk = msg.wParam == VK_PROCESSKEY ? g_pfnGetVirtualKey(msg.hwnd) : msg.wParam;
        if (!ActsRatherThanTypes(msg.message, vk)) return;
        // While a syllable is still composed, the key stays the input method's.
        if (CompleteComposition(msg.hwnd)) msg.wParam = vk;
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN: CompleteComposition(GetFocus()); return;
    default: return;
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
