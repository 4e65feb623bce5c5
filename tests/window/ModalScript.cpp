#include "ModalScript.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string_view>

#include "framework/WindowText.h"

namespace {

ModalScript* activeScript = nullptr;
constexpr UINT TICK_MS = 15;
// The static that shows a message box's text, in Windows and in Wine alike.
constexpr int MESSAGE_TEXT_ID = 0xFFFF;

struct WindowSearch {
    std::function<bool(HWND)> matches;
    std::vector<HWND> found;
    bool bAll = false;
};

BOOL CALLBACK CheckWindow(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    if (!IsWindowVisible(hWnd) || !search->matches(hWnd)) return TRUE;
    search->found.push_back(hWnd);
    return search->bAll;
}

std::vector<HWND> FindThreadWindows(std::function<bool(HWND)> matches, bool bAll) {
    WindowSearch search{std::move(matches), {}, bAll};
    EnumThreadWindows(GetCurrentThreadId(), &CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindThreadWindow(std::function<bool(HWND)> matches) {
    const std::vector<HWND> found = FindThreadWindows(std::move(matches), false);
    return found.empty() ? nullptr : found.front();
}

// The windows of this thread that the window manager has given the focus, and
// whether the focus events that follow have been brought in.
enum Shown { HANDED_OVER, SETTLED };
std::map<HWND, Shown> shownWindows;

LRESULT CALLBACK NoteShownWindows(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_MOUSEACTIVATE && HIWORD(call->lParam) == WM_LBUTTONDOWN)
        shownWindows[call->hwnd] = HANDED_OVER;
    if (code == HC_ACTION && call->message == WM_NCDESTROY) shownWindows.erase(call->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool IsDialogClass(HWND hWnd) {
    wchar_t className[16] = {};
    GetClassNameW(hWnd, className, 16);
    return std::wstring(className) == L"#32770";
}

// Ends every dialog of this thread that stands over another window (message
// boxes, the report, the About box); the form has no owner and stays.
void CloseOwnedDialogs() {
    for (HWND hDialog :
         FindThreadWindows([](HWND hWnd) { return IsDialogClass(hWnd) && GetWindow(hWnd, GW_OWNER); }, true))
        BackOut(hDialog);
}

// Whether a window manager hands Wine's windows the focus. The display-scale
// sessions run without one: there Wine activates a window itself as it shows it.
bool WindowsAreManaged() {
    static const bool bManaged = [] {
        wchar_t value[8] = {};
        DWORD nBytes = sizeof(value);
        return RegGetValueW(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", L"Managed", RRF_RT_REG_SZ, nullptr, value,
                            &nBytes) != ERROR_SUCCESS ||
               std::wstring_view(value) != L"N";
    }();
    return bManaged;
}

}  // namespace

void NoteWindowsShownToTheReader() {
    static const HHOOK hNoting = SetWindowsHookExW(WH_CALLWNDPROC, &NoteShownWindows, nullptr, GetCurrentThreadId());
    (void)hNoting;
}

bool ShownToTheReader(HWND hWnd) {
    if (!WindowsAreManaged()) return IsWindowVisible(hWnd);
    const auto found = shownWindows.find(hWnd);
    if (found == shownWindows.end()) return false;
    if (found->second == SETTLED) return true;
    POINT ptPointer;
    GetCursorPos(&ptPointer);
    found->second = SETTLED;
    return false;
}

ModalScript::ModalScript() {
    NoteWindowsShownToTheReader();
    activeScript = this;
    m_nTimer = SetTimer(nullptr, 0, TICK_MS, &ModalScript::OnTimer);
}

ModalScript::~ModalScript() {
    KillTimer(nullptr, m_nTimer);
    if (activeScript == this) activeScript = nullptr;
}

ModalScript& ModalScript::Then(std::function<bool()> step, std::string what) {
    m_steps.push_back({std::move(step), std::move(what)});
    return *this;
}

ModalScript& ModalScript::Watch(std::function<void()> watch) {
    m_steps.push_back({[watch = std::move(watch)] {
                           watch();
                           return false;
                       },
                       "a watch", true});
    return *this;
}

ModalScript& ModalScript::AnswerMessageBox(int nButton, SeenMessageBox* seen) {
    return Then(MessageBoxAnswer(nButton, seen));
}

ModalScript& ModalScript::AnswerWithEnter(SeenMessageBox* seen) {
    return Then(
        [seen, hAnswered = HWND{}]() mutable {
            HWND hBox = FindMessageBox();
            if (hAnswered) return hBox != hAnswered;
            HWND hFocus = GetFocus();
            if (!hBox || !hFocus || !IsChild(hBox, hFocus)) return false;
            *seen = ReadMessageBox(hBox);
            PostKey(hFocus, VK_RETURN);
            hAnswered = hBox;
            return false;
        },
        "a message box with the keyboard focus, then its end");
}

ModalScript& ModalScript::AnswerEveryMessageBox(int nButton, std::vector<SeenMessageBox>* seen) {
    return Watch([nButton, seen] {
        if (HWND hBox = FindMessageBox()) {
            seen->push_back(ReadMessageBox(hBox));
            PressMessageBoxButton(hBox, nButton);
        }
    });
}

bool ModalScript::Finished() const {
    return std::all_of(m_steps.begin(), m_steps.end(), [](const Step& step) { return step.bWatch; });
}

ModalScript& ModalScript::OnGiveUp(std::function<void()> action) {
    m_onGiveUp = std::move(action);
    return *this;
}

void CALLBACK ModalScript::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (activeScript) activeScript->RunSteps();
}

// A step is taken off the queue before it runs: when it opens a modal loop,
// the ticks inside that loop go on with the next step.
void ModalScript::RunSteps() {
    if (m_bGaveUp) {
        CloseOwnedDialogs();
        return;
    }
    for (size_t i = 0; i < m_watches.size() && !m_bGaveUp; ++i) m_watches[i]();
    while (!m_steps.empty() && !m_bGaveUp) {
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        if (step.bWatch) {
            m_watches.push_back(std::move(step.run));
            m_watches.back()();
            continue;
        }
        if (step.deadline == 0) step.deadline = GetTickCount64() + PATIENCE_MS;
        if (step.run()) continue;
        if (GetTickCount64() >= step.deadline) {
            GiveUp(step.what);
            return;
        }
        m_steps.push_front(std::move(step));
        return;
    }
}

void ModalScript::GiveUp(const std::string& what) {
    m_bGaveUp = true;
    m_steps.clear();
    ADD_FAILURE() << "the script waited " << PATIENCE_MS / 1000 << " s for " << what << " and gave up";
    if (m_onGiveUp) m_onGiveUp();
    CloseOwnedDialogs();
}

void PostKey(HWND hTarget, UINT vk, bool bAlt) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    const LPARAM context = bAlt ? (1L << 29) : 0;
    PostMessageW(hTarget, bAlt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, scan | context | 1);
    PostMessageW(hTarget, bAlt ? WM_SYSKEYUP : WM_KEYUP, vk, scan | context | 0xC0000001);
}

ScriptStep MessageBoxAnswer(int nButton, SeenMessageBox* seen) {
    return {[nButton, seen] {
                HWND hBox = FindMessageBox();
                if (!hBox) return false;
                if (seen) *seen = ReadMessageBox(hBox);
                SendMessageW(GetDlgItem(hBox, nButton), BM_CLICK, 0, 0);
                return true;
            },
            "a message box"};
}

void BackOut(HWND hDialog) {
    for (int nButton : {IDCANCEL, IDNO, IDOK}) {
        HWND hButton = GetDlgItem(hDialog, nButton);
        if (hButton && IsWindowVisible(hButton)) {
            SendMessageW(hButton, BM_CLICK, 0, 0);
            return;
        }
    }
    PostMessageW(hDialog, WM_CLOSE, 0, 0);
}

void PressMessageBoxButton(HWND hBox, int nButton) {
    HWND hButton = GetDlgItem(hBox, nButton);
    SendMessageW(hButton ? hButton : GetDlgItem(hBox, IDOK), BM_CLICK, 0, 0);
}

HWND FindMessageBox() {
    return FindThreadWindow(
        [](HWND hWnd) { return IsDialogClass(hWnd) && GetDlgItem(hWnd, MESSAGE_TEXT_ID) && ShownToTheReader(hWnd); });
}

HWND FindDialog(const std::wstring& caption) {
    return FindThreadWindow([&caption](HWND hWnd) {
        return IsDialogClass(hWnd) && GetWindowTextString(hWnd) == caption && ShownToTheReader(hWnd);
    });
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
