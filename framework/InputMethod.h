#pragma once
#include <windows.h>
#include <imm.h>

// Hangul comes through an input method a syllable at a time, and the syllable
// being composed stays with the input method until something completes it. A
// key that acts rather than types (Enter, Esc, Tab, or one held with Ctrl or
// Alt) or a click may read, move or replace the text before that syllable
// arrives, or show another nodule in the edit it then arrives in.

// Completes the composition before such a key or a click is handled, so that the
// edit holds the whole text when the key or click acts, also where the input
// method posts the completed syllable. A key the input method took while
// composing (VK_PROCESSKEY) gets its own key code back once nothing is composed.
void CompleteCompositionBefore(MSG& msg);

// Every edit of the dialog completes its composition when it loses the focus
// and takes the completed text at once, before the dialog hears of the loss.
void CompleteCompositionsOnFocusLoss(HWND hDialog);

// The key behind VK_PROCESSKEY (ImmGetVirtualKey) and the request to complete
// (ImmNotifyIME). Tests stand in for an input method here, since none under
// Wine hands keys on or posts its result that way.
extern UINT(WINAPI* g_pfnGetVirtualKey)(HWND hWnd);
extern BOOL(WINAPI* g_pfnNotifyIME)(HIMC hImc, DWORD dwAction, DWORD dwIndex, DWORD dwValue);
