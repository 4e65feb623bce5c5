#include "ModalScript.h"

#include <commctrl.h>

#include "framework/WindowText.h"

namespace {

ModalScript* activeScript = nullptr;
constexpr UINT TICK_MS = 15;
// The static that shows a message box's text, in Windows and in Wine alike.
constexpr int MESSAGE_TEXT_ID = 0xFFFF;
// How long a step waits for a message box before it gives up.
constexpr ULONGLONG PATIENCE_MS = 3000;

struct WindowSearch {
    std::function<bool(HWND)> matches;
    HWND found = nullptr;
};

BOOL CALLBACK CheckWindow(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    if (!IsWindowVisible(hWnd) || !search->matches(hWnd)) return TRUE;
    search->found = hWnd;
    return FALSE;
}

HWND FindThreadWindow(std::function<bool(HWND)> matches) {
    WindowSearch search{std::move(matches)};
    EnumThreadWindows(GetCurrentThreadId(), &CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsDialogClass(HWND hWnd) {
    wchar_t className[16] = {};
    GetClassNameW(hWnd, className, 16);
    return std::wstring(className) == L"#32770";
}

}  // namespace

ModalScript::ModalScript() {
    activeScript = this;
    m_nTimer = SetTimer(nullptr, 0, TICK_MS, &ModalScript::OnTimer);
}

ModalScript::~ModalScript() {
    KillTimer(nullptr, m_nTimer);
    if (activeScript == this) activeScript = nullptr;
}

ModalScript& ModalScript::Then(std::function<bool()> step) {
    m_steps.push_back(std::move(step));
    return *this;
}

ModalScript& ModalScript::AnswerMessageBox(int nButton, SeenMessageBox* seen) {
    return Then([nButton, seen, deadline = ULONGLONG{0}]() mutable {
        HWND hBox = FindMessageBox();
        if (deadline == 0) deadline = GetTickCount64() + PATIENCE_MS;
        if (!hBox) return GetTickCount64() >= deadline;
        if (seen) *seen = ReadMessageBox(hBox);
        SendMessageW(GetDlgItem(hBox, nButton), BM_CLICK, 0, 0);
        return true;
    });
}

// A box that never takes the focus is answered No, so that the test goes on and
// fails. The step ends when the box has gone.
ModalScript& ModalScript::AnswerWithEnter(SeenMessageBox* seen) {
    return Then([seen, deadline = ULONGLONG{0}, hAnswered = HWND{}]() mutable {
        HWND hBox = FindMessageBox();
        if (hAnswered) return hBox != hAnswered;
        if (!hBox) return false;
        if (deadline == 0) deadline = GetTickCount64() + PATIENCE_MS;
        HWND hFocus = GetFocus();
        const bool bFocused = hFocus && IsChild(hBox, hFocus);
        if (!bFocused && GetTickCount64() < deadline) return false;
        *seen = ReadMessageBox(hBox);
        if (!bFocused) {
            SendMessageW(GetDlgItem(hBox, IDNO), BM_CLICK, 0, 0);
            return true;
        }
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC)) << 16;
        PostMessageW(hFocus, WM_KEYDOWN, VK_RETURN, scan | 1);
        PostMessageW(hFocus, WM_KEYUP, VK_RETURN, scan | 0xC0000001);
        hAnswered = hBox;
        return false;
    });
}

void CALLBACK ModalScript::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (activeScript) activeScript->RunSteps();
}

// A step is taken off the queue before it runs: when it opens a modal loop,
// the ticks inside that loop go on with the next step.
void ModalScript::RunSteps() {
    while (!m_steps.empty()) {
        std::function<bool()> step = std::move(m_steps.front());
        m_steps.pop_front();
        if (!step()) {
            m_steps.push_front(std::move(step));
            return;
        }
    }
}

HWND FindMessageBox() {
    return FindThreadWindow([](HWND hWnd) { return IsDialogClass(hWnd) && GetDlgItem(hWnd, MESSAGE_TEXT_ID); });
}

HWND FindDialog(const std::wstring& caption) {
    return FindThreadWindow(
        [&caption](HWND hWnd) { return IsDialogClass(hWnd) && GetWindowTextString(hWnd) == caption; });
}

SeenMessageBox ReadMessageBox(HWND hBox) {
    SeenMessageBox seen;
    seen.caption = GetWindowTextString(hBox);
    seen.text = GetWindowTextString(GetDlgItem(hBox, MESSAGE_TEXT_ID));
    // The icon static is the box's only child showing an icon.
    HICON hShown = nullptr;
    for (HWND hChild = GetWindow(hBox, GW_CHILD); hChild && !hShown; hChild = GetWindow(hChild, GW_HWNDNEXT))
        hShown = reinterpret_cast<HICON>(SendMessageW(hChild, STM_GETICON, 0, 0));
    for (LPCWSTR icon : {IDI_QUESTION, IDI_ERROR, IDI_WARNING, IDI_INFORMATION}) {
        if (hShown && hShown == LoadIconW(nullptr, icon)) seen.icon = icon;
    }
    // A box keeps the buttons it does not offer hidden, or has none of them.
    for (int nButton = IDOK; nButton <= IDNO; ++nButton) {
        HWND hButton = GetDlgItem(hBox, nButton);
        if (!hButton || !IsWindowVisible(hButton)) continue;
        seen.buttons.push_back(nButton);
        seen.buttonTexts.push_back(GetWindowTextString(hButton));
        // Wine's DM_GETDEFID answers IDOK for every box; the style is what both systems show.
        if ((GetWindowLongW(hButton, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) seen.defaultButton = nButton;
    }
    return seen;
}

HWND FindTooltip() {
    return FindThreadWindow([](HWND hWnd) {
        wchar_t className[32] = {};
        GetClassNameW(hWnd, className, 32);
        return lstrcmpiW(className, TOOLTIPS_CLASSW) == 0;
    });
}
