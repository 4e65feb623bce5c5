// Small accessors of the form's controls by id.
#include "PulmetraDlg.h"

#include "framework/ScopedValue.h"
#include "framework/WindowState.h"
#include "framework/WindowText.h"

// The refresh sets every control's state after each entry, nearly all of it
// unchanged: the writers below go through the kept handles and leave a control
// alone when it already shows the state, since a repeated selection repaints
// the combo box and a repeated disable sends it a cancel-mode message.

bool CPulmetraDlg::IsChecked(int nIDC) const {
    return SendMessageW(GetDlgItem(nIDC), BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}

void CPulmetraDlg::SetCheck(int nIDC, bool bChecked) {
    SendMessageW(GetDlgItem(nIDC), BM_SETCHECK, bChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int CPulmetraDlg::GetComboSel(int nIDC) const {
    return static_cast<int>(SendMessageW(GetDlgItem(nIDC), CB_GETCURSEL, 0, 0));
}

void CPulmetraDlg::SetComboSel(int nIDC, int nIndex) {
    HWND hCombo = GetDlgItem(nIDC);
    if (SendMessageW(hCombo, CB_GETCURSEL, 0, 0) != nIndex)
        SendMessageW(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
}

// A disabled control never holds the focus here (disabling it took the focus
// away), so a repeated disable has nothing left to do.
void CPulmetraDlg::EnableControl(int nIDC, bool bEnable) {
    HWND hControl = GetDlgItem(nIDC);
    if ((IsWindowEnabled(hControl) != FALSE) != bEnable) EnableWindow(hControl, bEnable);
}

void CPulmetraDlg::FocusEditSelectAll(int nIDC) {
    HWND hEdit = GetDlgItem(nIDC);
    SetFocus(hEdit);
    SendMessageW(hEdit, EM_SETSEL, 0, -1);
    SendMessageW(hEdit, EM_SCROLLCARET, 0, 0);
}

CString CPulmetraDlg::GetControlText(int nIDC) const { return GetWindowTextString(GetDlgItem(nIDC)); }

// Rewrites a text only when it differs: setting an edit's text drops its
// selection and caret, which the reader is still using.
void CPulmetraDlg::SetControlText(int nIDC, const CString& text) {
    HWND hControl = GetDlgItem(nIDC);
    if (GetWindowTextString(hControl) == text) return;
    ScopedValue writing(m_bWritingControls, true);
    SetWindowTextW(hControl, text.c_str());
}

CString CPulmetraDlg::GetComboItemText(int nIDC, int nIndex) const {
    if (nIndex < 0) return {};
    HWND hCombo = GetDlgItem(nIDC);
    const LRESULT nLength = SendMessageW(hCombo, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex), 0);
    if (nLength == CB_ERR || nLength <= 0) return {};
    CString text(static_cast<size_t>(nLength) + 1, L'\0');
    const LRESULT nCopied =
        SendMessageW(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(text.data()));
    text.resize(nCopied > 0 ? static_cast<size_t>(nCopied) : 0);
    return text;
}

bool CPulmetraDlg::IsDroppedCombo(HWND hWnd) const { return GetParent(hWnd) == m_hWnd && IsDroppedComboBox(hWnd); }
