#include "ModalScript.h"

#include "framework/WindowText.h"

namespace {

ModalScript* activeScript = nullptr;
constexpr UINT TICK_MS = 15;
// The static that shows a message box's text, in Windows and in Wine alike.
constexpr int MESSAGE_TEXT_ID = 0xFFFF;

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
    return Then([nButton, seen] {
        HWND hBox = FindMessageBox();
        if (!hBox) return false;
        if (seen) *seen = ReadMessageBox(hBox);
        SendMessageW(GetDlgItem(hBox, nButton), BM_CLICK, 0, 0);
        return true;
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
        if (hButton && IsWindowVisible(hButton)) {
            seen.buttons.push_back(nButton);
            seen.buttonTexts.push_back(GetWindowTextString(hButton));
        }
    }
    return seen;
}
