// The form's drop-down lists. An item applies only once the reader has chosen
// it: Enter, Tab or a click on the item. A list that closes any other way (Esc,
// Alt+Up, F4, a click elsewhere) puts back the item it opened on, whatever
// Windows or Wine did to the selection while it was open: Windows' own list goes
// back on Esc, Wine's keeps the item under the pointer, and both move the
// selection as the arrow keys or the wheel browse the open list.
#include <windowsx.h>

#include "PulmetraDlg.h"
#include "framework/WindowState.h"

namespace {

// What an item of each list applies, as a choice of the closed box applies it.
struct ListChoice {
    int nIDC;
    void (CPulmetraDlg::*apply)();
};

}  // namespace

void CPulmetraDlg::OnComboDropDown(int nIDC) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(GetDlgItem(nIDC), &info);
    m_openList = {nIDC, GetComboSel(nIDC), info.hwndList};
}

// While a list is open, or closed and not yet reconciled, the selection only
// follows the browsing: the reconcile applies the choice, or puts the old item
// back. Browsing 처음 CT 여부 must not reset the follow-up statuses on the way.
void CPulmetraDlg::OnComboSelChange(int nIDC) {
    if (nIDC == m_openList.nIDC) return;
    static constexpr ListChoice CHOICES[] = {
        {IDC_CT_TYPE, &CPulmetraDlg::OnCtTypeChanged},
        {IDC_NODULE_TYPE, &CPulmetraDlg::OnNoduleTypeChanged},
        {IDC_LOBE, &CPulmetraDlg::OnLobeChanged},
        {IDC_FOLLOWUP, &CPulmetraDlg::OnFollowUpChanged},
        {IDC_CORONARY_SEVERITY, &CPulmetraDlg::OnCoronarySeverityChanged},
    };
    for (const ListChoice& choice : CHOICES)
        if (choice.nIDC == nIDC) (this->*choice.apply)();
}

// Windows does not fix the order of the close's notifications (the selection
// change may come before or after it), so the reconcile runs once they are all in.
void CPulmetraDlg::OnComboCloseUp(int) {
    m_openList.bClosed = true;
    PostMessageW(m_hWnd, WM_RECONCILE_COMBOS, 0, 0);
}

// Sees the keys and clicks that reach an open list, before it acts on them. A
// list found closed without its notification is reconciled all the same, so
// that its box never stays deaf to the reader's choices.
FilterResult CPulmetraDlg::TrackListChoice(MSG& msg) {
    if (!m_openList.nIDC || m_openList.bClosed) return FilterResult::Pass;
    HWND hCombo = GetDlgItem(m_openList.nIDC);
    if (!IsDroppedComboBox(hCombo)) {
        OnComboCloseUp(m_openList.nIDC);
        return FilterResult::Pass;
    }
    if (m_openList.bChosen) return FilterResult::Pass;
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_TAB) && msg.hwnd == hCombo)
        m_openList.bChosen = true;
    if (msg.message == WM_LBUTTONUP && msg.hwnd == m_openList.hList) {
        RECT client;
        GetClientRect(m_openList.hList, &client);
        const POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        m_openList.bChosen = PtInRect(&client, pt) != FALSE;
    }
    return FilterResult::Pass;
}

// Puts back the item a list opened on unless the reader chose, then applies
// what each box shows wherever the data differ: a closed list may have been
// left showing other than the data without a word.
void CPulmetraDlg::ReconcileCombos() {
    if (m_openList.nIDC && !m_openList.bChosen) SetComboSel(m_openList.nIDC, m_openList.nOpenedOn);
    m_openList = {};
    OnCtTypeChanged();
    OnNoduleTypeChanged();
    OnLobeChanged();
    OnFollowUpChanged();
    OnCoronarySeverityChanged();
}
