// The benchmark's draw counter (tests/bench/DrawCounter.h) against windows of
// the test's own whose draws are known: what it misses, ./bench.sh --profile
// would report as met.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DrawCounter.h"
#include "ModalScript.h"

namespace {

constexpr int ID_LABEL = 1;
constexpr int ID_BOX = 2;
constexpr int ID_EDIT = 3;
// Long enough for a loaded machine; a window manager that takes longer is stuck.
constexpr ULONGLONG PATIENCE_MS = 5000;

// A window with a label, a check box and an edit, painted, handed to the reader
// by the window manager, and at rest with the caret in the edit.
class Windows {
public:
    Windows() {
        NoteWindowsShownToTheReader();
        m_hParent = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 200, nullptr,
                                    nullptr, nullptr, nullptr);
        Child(L"Static", L"글", SS_LEFT, ID_LABEL, 10);
        Child(L"Button", L"상자", BS_AUTOCHECKBOX | WS_TABSTOP, ID_BOX, 40);
        Child(L"Edit", L"7.0", WS_BORDER | WS_TABSTOP, ID_EDIT, 70);
        SetForegroundWindow(m_hParent);
        const ULONGLONG deadline = GetTickCount64() + PATIENCE_MS;
        do {
            Pump();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        } while (!(ShownToTheReader(m_hParent) && GetActiveWindow() == m_hParent) && GetTickCount64() < deadline);
        SetFocus(Item(ID_EDIT));
        Pump();
    }
    ~Windows() { DestroyWindow(m_hParent); }
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    HWND Parent() const { return m_hParent; }
    HWND Item(int nID) const { return GetDlgItem(m_hParent, nID); }
    bool AtRest() const { return GetActiveWindow() == m_hParent && GetFocus() == Item(ID_EDIT); }
    void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }

private:
    void Child(const wchar_t* className, const wchar_t* text, DWORD style, int nID, int y) {
        CreateWindowExW(0, className, text, style | WS_CHILD | WS_VISIBLE, 10, y, 200, 24, m_hParent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(nID)), nullptr, nullptr);
    }

    HWND m_hParent;
};

void SetLabel(Windows& w, const wchar_t* text) { SetWindowTextW(w.Item(ID_LABEL), text); }
void Invalidate(Windows& w, int nID) { InvalidateRect(w.Item(nID), nullptr, TRUE); }

// A box disabled and enabled again, as a refresh for no nodule and then for the next one would.
void DisableAndEnableBox(Windows& w) {
    EnableWindow(w.Item(ID_BOX), FALSE);
    EnableWindow(w.Item(ID_BOX), TRUE);
}

struct DrawCase {
    const char* name;
    std::function<void(Windows&)> act;
    int nDrawn;
    int nChanged;
    std::vector<std::wstring> excess;
};

// Steps taken one after the other on the same windows.
const DrawCase DRAW_CASES[] = {
    {"a label's new text, drawn as it is set", [](Windows& w) { SetLabel(w, L"새 글"); }, 1, 1, {}},
    {"the label's same text set again", [](Windows& w) { SetLabel(w, L"새 글"); }, 1, 0, {L"Static 1"}},
    {"a box disabled and enabled again", DisableAndEnableBox, 1, 0, {L"Button 2"}},
    {"an edit painted again from the queue", [](Windows& w) { Invalidate(w, ID_EDIT); }, 1, 0, {L"Edit 3"}},
    {"a tick", [](Windows& w) { SendMessageW(w.Item(ID_BOX), BM_SETCHECK, BST_CHECKED, 0); }, 1, 1, {}},
    // The edit only loses its caret, which the counter does not see.
    {"the focus from the edit to the box", [](Windows& w) { SetFocus(w.Item(ID_BOX)); }, 1, 2, {}},
};

}  // namespace

TEST(DrawCounter, CountsTheWindowsDrawnAgainstThoseChanged) {
    Windows windows;
    ASSERT_TRUE(windows.AtRest()) << "the window manager did not hand the windows over";
    DrawCounter counter(windows.Parent(), 0);
    ASSERT_TRUE(counter.Hooked());
    for (const DrawCase& c : DRAW_CASES) {
        SCOPED_TRACE(c.name);
        counter.Begin();
        c.act(windows);
        windows.Pump();
        const DrawCounter::Count count = counter.End();
        EXPECT_EQ(count.nDrawn, c.nDrawn);
        EXPECT_EQ(count.nChanged, c.nChanged);
        EXPECT_EQ(count.excess, c.excess);
    }
}
