// Keys for the form's commands, from whichever control has the focus. Each key
// runs what its button runs, after the focus has moved to that button (or, to
// move between nodules, to the list) as a click would move it, so that the
// editor first commits what was typed.
#include "PulmetraDlg.h"

#include <algorithm>
#include <iterator>

#include "framework/WindowState.h"

namespace {

constexpr LPARAM KEY_WAS_DOWN = 1 << 30;  // an auto-repeated key-down

}  // namespace

FilterResult CPulmetraDlg::RunCommandKey(MSG& msg) {
    static constexpr struct {
        WPARAM vk;
        bool bRepeats;  // held down, it runs again; adding, deleting and reporting do not
        void (CPulmetraDlg::*run)();
    } KEYS[] = {
        {'N', false, &CPulmetraDlg::OnAddNoduleKey},       {'D', false, &CPulmetraDlg::OnDeleteNoduleKey},
        {'Z', false, &CPulmetraDlg::OnUndoDeleteKey},      {VK_RETURN, false, &CPulmetraDlg::OnReportKey},
        {VK_UP, true, &CPulmetraDlg::OnPreviousNoduleKey}, {VK_DOWN, true, &CPulmetraDlg::OnNextNoduleKey},
    };
    if (msg.message != WM_KEYDOWN) return FilterResult::Pass;
    const auto key =
        std::find_if(std::begin(KEYS), std::end(KEYS), [&msg](const auto& k) { return k.vk == msg.wParam; });
    // The modifiers are asked for the command keys only: every other key typed
    // would pay for the question, a round trip to the window system under Wine.
    if (key == std::end(KEYS) || !IsDown(VK_CONTROL) || IsDown(VK_SHIFT) || IsDown(VK_MENU)) return FilterResult::Pass;
    if (msg.hwnd != m_hWnd && !IsChild(m_hWnd, msg.hwnd)) return FilterResult::Pass;
    // An open drop-down list keeps its keys until the reader has chosen.
    if (IsDroppedCombo(msg.hwnd)) return FilterResult::Pass;
    if (key->bRepeats || !(msg.lParam & KEY_WAS_DOWN)) {
        ForgetTips();  // a tip shown would outstay the data it explains
        (this->*key->run)();
    }
    return FilterResult::Handled;
}

// As a click on the button: the editor that had the focus commits first.
void CPulmetraDlg::ParkFocus(int nIDC) { SetFocus(GetDlgItem(nIDC)); }

void CPulmetraDlg::OnAddNoduleKey() {
    ParkFocus(IDC_ADD_NODULE);
    OnAddNoduleClicked();
    // The reader measures the new nodule next.
    if (IsWindowEnabled(GetDlgItem(IDC_LONG_AXIS))) FocusEditSelectAll(IDC_LONG_AXIS);
}

void CPulmetraDlg::OnDeleteNoduleKey() {
    ParkFocus(IDC_DELETE_NODULE);
    OnDeleteNoduleClicked();
}

// Brings back the nodule deleted last. In an edit, Ctrl+Z stays the edit's own
// undo of its typing.
void CPulmetraDlg::OnUndoDeleteKey() {
    HWND hFocus = GetFocus();
    if (SendMessageW(hFocus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageW(hFocus, EM_UNDO, 0, 0);
    else
        RestoreDeletedNodule();
}

void CPulmetraDlg::OnReportKey() {
    ParkFocus(IDC_REPORT);
    OnReportClicked();
}

void CPulmetraDlg::OnPreviousNoduleKey() { MoveSelection(-1); }
void CPulmetraDlg::OnNextNoduleKey() { MoveSelection(+1); }

// Selects the neighbouring row (the first or last when none is selected). The
// focus returns to the control it was in; an edit, which now shows the other
// nodule, has its whole text selected, ready to be typed over, even where the
// text is the same as before.
void CPulmetraDlg::MoveSelection(int nStep) {
    const int nCount = m_listNodules.GetItemCount();
    const int nCurrent = GetSelectedRow();
    const int nTarget = nCurrent < 0 ? (nStep > 0 ? 0 : nCount - 1) : std::clamp(nCurrent + nStep, 0, nCount - 1);
    if (nCount <= 0 || nTarget == nCurrent) return;

    HWND hFocus = GetFocus();
    ParkFocus(IDC_NODULE_LIST);
    SelectRow(nTarget);
    m_listNodules.EnsureVisible(nTarget, false);
    if (!hFocus || !IsWindowEnabled(hFocus)) return;
    if (SendMessageW(hFocus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        FocusEditSelectAll(GetDlgCtrlID(hFocus));
    else
        SetFocus(hFocus);
}

// The second press of a double click reaches a button as a press of its own,
// and a second delete would take the next nodule too.
FilterResult CPulmetraDlg::KeepDoubleClicksSingle(MSG& msg) {
    if (msg.message == WM_LBUTTONDBLCLK && msg.hwnd == GetDlgItem(IDC_DELETE_NODULE)) return FilterResult::Handled;
    return FilterResult::Pass;
}
