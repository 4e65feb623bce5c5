#include "FormWatch.h"

#include <commctrl.h>

#include <utility>

#include "framework/WindowState.h"

namespace {

// One watch at a time: the hooks have no room for an object.
HWND hWatchedForm = nullptr;
std::function<void()> onRowDeleting;
int nTextsBeingSet = 0;  // a program's WM_SETTEXT to an edit of the form, under way
bool bReaderTyped = false;

bool IsFormEdit(HWND hWnd) { return hWnd && GetParent(hWnd) == hWatchedForm && IsOfClass(hWnd, L"Edit"); }

}  // namespace

FormWatch::FormWatch(HWND hForm, std::function<void()> beforeRowDeleted) {
    hWatchedForm = hForm;
    onRowDeleting = std::move(beforeRowDeleted);
    m_hCall = SetWindowsHookExW(WH_CALLWNDPROC, &FormWatch::OnCall, nullptr, GetCurrentThreadId());
    m_hReturn = SetWindowsHookExW(WH_CALLWNDPROCRET, &FormWatch::OnReturn, nullptr, GetCurrentThreadId());
}

FormWatch::~FormWatch() {
    UnhookWindowsHookEx(m_hCall);
    UnhookWindowsHookEx(m_hReturn);
    hWatchedForm = nullptr;
    onRowDeleting = nullptr;
}

bool FormWatch::TakeReaderTyping() { return std::exchange(bReaderTyped, false); }

// An edit reports every change of its text, also one that a program makes by
// setting the text; only a change outside a WM_SETTEXT is the reader's.
LRESULT CALLBACK FormWatch::OnCall(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SETTEXT && IsFormEdit(call->hwnd)) ++nTextsBeingSet;
    if (code == HC_ACTION && call->hwnd == hWatchedForm && call->message == WM_COMMAND &&
        HIWORD(call->wParam) == EN_CHANGE && IsFormEdit(reinterpret_cast<HWND>(call->lParam)) && nTextsBeingSet == 0)
        bReaderTyped = true;
    if (code == HC_ACTION && call->hwnd == hWatchedForm && call->message == WM_NOTIFY &&
        reinterpret_cast<const NMHDR*>(call->lParam)->code == LVN_DELETEITEM && onRowDeleting)
        onRowDeleting();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK FormWatch::OnReturn(int code, WPARAM wParam, LPARAM lParam) {
    const auto* ret = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && ret->message == WM_SETTEXT && IsFormEdit(ret->hwnd)) --nTextsBeingSet;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
