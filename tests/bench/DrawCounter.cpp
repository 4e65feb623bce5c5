#include "DrawCounter.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "framework/WindowText.h"

namespace {

constexpr wchar_t FIELD_END = L'\x1f';

std::wstring ClassOf(HWND hWnd) {
    wchar_t name[256] = {};  // the longest name a class can be registered with
    GetClassNameW(hWnd, name, 256);
    return name;
}

std::wstring Number(LRESULT value) { return std::to_wstring(value) + FIELD_END; }

// A cell's text, however long.
std::wstring CellText(HWND hList, int nRow, int nColumn) {
    std::wstring text(64, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = nColumn;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto nLength = static_cast<std::size_t>(
            SendMessageW(hList, LVM_GETITEMTEXTW, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item)));
        if (nLength + 1 < text.size()) return text.substr(0, nLength);
        text.resize(text.size() * 2);
    }
}

// What a list view shows: its rows, which of them is selected and focused, and
// where it is scrolled to.
std::wstring ListState(HWND hList) {
    const int nRows = static_cast<int>(SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0));
    HWND hHeader = reinterpret_cast<HWND>(SendMessageW(hList, LVM_GETHEADER, 0, 0));
    const int nColumns = static_cast<int>(SendMessageW(hHeader, HDM_GETITEMCOUNT, 0, 0));
    std::wstring state = Number(SendMessageW(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)) +
                         Number(SendMessageW(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)) +
                         Number(SendMessageW(hList, LVM_GETTOPINDEX, 0, 0));
    for (int nRow = 0; nRow < nRows; ++nRow) {
        for (int nColumn = 0; nColumn < nColumns; ++nColumn) state += CellText(hList, nRow, nColumn) + FIELD_END;
    }
    return state;
}

std::wstring Name(HWND hWnd) { return ClassOf(hWnd) + L' ' + std::to_wstring(GetDlgCtrlID(hWnd)); }

std::string Utf8(const std::wstring& text) {
    const int nBytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(std::max(nBytes, 1)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), nBytes, nullptr, nullptr);
    utf8.pop_back();
    return utf8;
}

}  // namespace

DrawCounter::DrawCounter(HWND hForm, int nWarmUpRuns) : m_hForm(hForm), m_nWarmUpRuns(nWarmUpRuns) {
    self = this;
    m_hCallWndProc = SetWindowsHookExW(WH_CALLWNDPROC, &DrawCounter::CallWndProc, nullptr, GetCurrentThreadId());
    m_hGetMessage = SetWindowsHookExW(WH_GETMESSAGE, &DrawCounter::GetMsgProc, nullptr, GetCurrentThreadId());
}

DrawCounter::~DrawCounter() {
    UnhookWindowsHookEx(m_hGetMessage);
    UnhookWindowsHookEx(m_hCallWndProc);
    self = nullptr;
}

LRESULT CALLBACK DrawCounter::CallWndProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && self) {
        const CWPSTRUCT& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        self->Seen(call.hwnd, call.message, call.lParam);
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// Paints are retrieved from the queue; a peek that leaves the message there is not its delivery.
LRESULT CALLBACK DrawCounter::GetMsgProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && wParam == PM_REMOVE && self) {
        const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
        self->Seen(msg.hwnd, msg.message, msg.lParam);
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void DrawCounter::Seen(HWND hWnd, UINT message, LPARAM lParam) {
    if (!m_bRecording) return;
    switch (message) {
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: m_drawn.insert(hWnd); return;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: m_drawn.insert(reinterpret_cast<HWND>(lParam)); return;
    case WM_NOTIFY:
        if (const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam); pHeader->code == NM_CUSTOMDRAW)
            m_drawn.insert(pHeader->hwndFrom);
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case BM_SETSTYLE: m_focusMoved.insert(hWnd); return;
    default: return;
    }
}

bool DrawCounter::Counted(HWND hWnd) const { return hWnd == m_hForm || IsChild(m_hForm, hWnd); }

std::wstring DrawCounter::StateOf(HWND hWnd) const {
    RECT rect{};
    GetWindowRect(hWnd, &rect);
    std::wstring state = GetWindowTextString(hWnd) + FIELD_END + Number(GetWindowLongW(hWnd, GWL_STYLE)) +
                         Number(rect.left) + Number(rect.top) + Number(rect.right) + Number(rect.bottom);
    const std::wstring className = ClassOf(hWnd);
    const auto is = [&className](const wchar_t* name) { return lstrcmpiW(className.c_str(), name) == 0; };
    if (hWnd == m_hForm) state += Number(GetActiveWindow() == hWnd);
    if (is(L"Button")) state += Number(SendMessageW(hWnd, BM_GETCHECK, 0, 0));
    if (is(L"ComboBox")) state += Number(SendMessageW(hWnd, CB_GETCURSEL, 0, 0));
    if (is(L"Edit")) state += Number(SendMessageW(hWnd, EM_GETSEL, 0, 0));
    if (is(WC_LISTVIEWW)) state += ListState(hWnd);
    return state;
}

std::vector<HWND> DrawCounter::Windows() const {
    std::vector<HWND> windows{m_hForm};
    EnumChildWindows(m_hForm, &DrawCounter::AddWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

BOOL CALLBACK DrawCounter::AddWindow(HWND hWnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

DrawCounter::Snapshot DrawCounter::TakeSnapshot() const {
    Snapshot snapshot;
    for (HWND hWnd : Windows()) snapshot.emplace(hWnd, StateOf(hWnd));
    return snapshot;
}

void DrawCounter::Mark(const std::string& action, int nNodules, const std::string& moment) {
    if (moment == "begin") {
        BeginAction(action, nNodules);
    } else if (moment == "shown") {
        EndAction();
        BeginAction(action + " OK", nNodules);
    } else {
        EndAction();
    }
}

void DrawCounter::BeginAction(const std::string& action, int nNodules) {
    m_key = action + '\t' + std::to_string(nNodules);
    Begin();
}

void DrawCounter::EndAction() {
    const Count count = End();
    if (m_seen[m_key]++ < m_nWarmUpRuns) return;
    if (!m_runs.count(m_key)) m_order.push_back(m_key);
    m_runs[m_key].push_back(count);
}

void DrawCounter::Begin() {
    m_before = TakeSnapshot();
    m_drawn.clear();
    m_focusMoved.clear();
    m_bRecording = true;
}

DrawCounter::Count DrawCounter::End() {
    m_bRecording = false;
    const Snapshot after = TakeSnapshot();
    std::set<HWND> changed;
    for (HWND hWnd : m_focusMoved) {
        if (Counted(hWnd)) changed.insert(hWnd);
    }
    for (const auto& [hWnd, state] : after) {
        const auto before = m_before.find(hWnd);
        if (before == m_before.end() || before->second != state) changed.insert(hWnd);
    }
    Count count;
    count.nChanged = static_cast<int>(changed.size());
    for (HWND hWnd : m_drawn) {
        if (!Counted(hWnd)) continue;
        ++count.nDrawn;
        if (!changed.count(hWnd)) count.excess.push_back(hWnd == m_hForm ? L"the form" : Name(hWnd));
    }
    return count;
}

void DrawCounter::PrintRows() const {
    for (const std::string& key : m_order) {
        const std::vector<Count>& runs = m_runs.at(key);
        const Count& worst = *std::max_element(
            runs.begin(), runs.end(), [](const Count& a, const Count& b) { return a.excess.size() < b.excess.size(); });
        std::wstring names;
        for (const std::wstring& name : worst.excess) names += (names.empty() ? L"" : L", ") + name;
        std::printf("%s\t%d\t%d\t%d\t%s\n", key.c_str(), worst.nDrawn, worst.nChanged,
                    static_cast<int>(worst.excess.size()), Utf8(names).c_str());
    }
    std::fflush(stdout);
}
