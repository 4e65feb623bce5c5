// Small accessors of the form's controls by id.
#include "PulmetraDlg.h"

#include "framework/WindowText.h"

bool CPulmetraDlg::IsChecked(int nIDC) const { return IsDlgButtonChecked(m_hWnd, nIDC) != BST_UNCHECKED; }

void CPulmetraDlg::SetCheck(int nIDC, bool bChecked) {
    CheckDlgButton(m_hWnd, nIDC, bChecked ? BST_CHECKED : BST_UNCHECKED);
}

int CPulmetraDlg::GetComboSel(int nIDC) const {
    return static_cast<int>(SendDlgItemMessageW(m_hWnd, nIDC, CB_GETCURSEL, 0, 0));
}

void CPulmetraDlg::SetComboSel(int nIDC, int nIndex) {
    SendDlgItemMessageW(m_hWnd, nIDC, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
}

void CPulmetraDlg::EnableControl(int nIDC, bool bEnable) { EnableWindow(GetDlgItem(nIDC), bEnable); }

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
    if (GetControlText(nIDC) != text) SetDlgItemTextW(m_hWnd, nIDC, text.c_str());
}

CString CPulmetraDlg::GetComboItemText(int nIDC, int nIndex) const {
    if (nIndex < 0) return {};
    const LRESULT nLength = SendDlgItemMessageW(m_hWnd, nIDC, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex), 0);
    if (nLength == CB_ERR || nLength <= 0) return {};
    CString text(static_cast<size_t>(nLength) + 1, L'\0');
    const LRESULT nCopied = SendDlgItemMessageW(m_hWnd, nIDC, CB_GETLBTEXT, static_cast<WPARAM>(nIndex),
                                                reinterpret_cast<LPARAM>(text.data()));
    text.resize(nCopied > 0 ? static_cast<size_t>(nCopied) : 0);
    return text;
}

bool CPulmetraDlg::IsDroppedCombo(HWND hWnd) const {
    if (GetParent(hWnd) != m_hWnd) return false;
    wchar_t className[16] = {};
    GetClassNameW(hWnd, className, 16);
    return lstrcmpiW(className, WC_COMBOBOXW) == 0 && SendMessageW(hWnd, CB_GETDROPPEDSTATE, 0, 0);
}
