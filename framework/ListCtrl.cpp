#include "ListCtrl.h"

int CListCtrl::GetItemCount() const { return static_cast<int>(SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0)); }

int CListCtrl::GetNextItem(int nItem, UINT nFlags) const {
    return static_cast<int>(SendMessageW(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), MAKELPARAM(nFlags, 0)));
}

int CListCtrl::InsertColumn(int nCol, const CString& heading, int nWidth) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = nWidth;
    column.pszText = const_cast<wchar_t*>(heading.c_str());
    column.iSubItem = nCol;
    return static_cast<int>(
        SendMessageW(m_hWnd, LVM_INSERTCOLUMNW, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::InsertItem(int nItem, const CString& text, LPARAM lParam) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = nItem;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.lParam = lParam;
    return static_cast<int>(SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void CListCtrl::SetItemText(int nItem, int nSubItem, const CString& text) {
    LVITEMW item{};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(m_hWnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item));
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
    // The control copies at most the buffer's size; grow until the text fits.
    CString text(64, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = nSubItem;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        int copied = static_cast<int>(
            SendMessageW(m_hWnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
        if (copied < static_cast<int>(text.size()) - 1) {
            text.resize(static_cast<size_t>(copied));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

LPARAM CListCtrl::GetItemData(int nItem) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    if (!SendMessageW(m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    return item.lParam;
}

bool CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    LVITEMW item{};
    item.stateMask = nMask;
    item.state = nState;
    return SendMessageW(m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)) != 0;
}

bool CListCtrl::DeleteItem(int nItem) {
    return SendMessageW(m_hWnd, LVM_DELETEITEM, static_cast<WPARAM>(nItem), 0) != 0;
}

bool CListCtrl::DeleteAllItems() { return SendMessageW(m_hWnd, LVM_DELETEALLITEMS, 0, 0) != 0; }

DWORD CListCtrl::GetExtendedStyle() const {
    return static_cast<DWORD>(SendMessageW(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

void CListCtrl::SetExtendedStyle(DWORD dwExStyle) {
    SendMessageW(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(dwExStyle));
}

HWND CListCtrl::GetHeaderCtrl() const { return reinterpret_cast<HWND>(SendMessageW(m_hWnd, LVM_GETHEADER, 0, 0)); }

int CListCtrl::SubItemHitTest(POINT pt) const {
    LVHITTESTINFO hit{};
    hit.pt = pt;
    SendMessageW(m_hWnd, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    return hit.iItem;
}

bool CListCtrl::GetItemRect(int nItem, RECT* pRect, UINT nCode) const {
    pRect->left = static_cast<LONG>(nCode);
    return SendMessageW(m_hWnd, LVM_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pRect)) != 0;
}

bool CListCtrl::EnsureVisible(int nItem, bool bPartialOK) {
    return SendMessageW(m_hWnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(nItem), bPartialOK) != 0;
}
