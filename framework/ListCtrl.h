#pragma once
#include <windows.h>
#include <commctrl.h>

#include "base/WideString.h"

// A non-owning view of a list-view control in report mode.
class CListCtrl {
public:
    int GetItemCount() const;
    // The next row in the given state after nItem (-1: from the start), or -1.
    int GetNextItem(int nItem, UINT nFlags) const;
    int InsertColumn(int nCol, const CString& heading, int nWidth);
    // Inserts a row with its first column's text and its item data.
    int InsertItem(int nItem, const CString& text, LPARAM lParam);
    void SetItemText(int nItem, int nSubItem, const CString& text);
    CString GetItemText(int nItem, int nSubItem) const;
    LPARAM GetItemData(int nItem) const;
    bool SetItemState(int nItem, UINT nState, UINT nMask);
    bool DeleteItem(int nItem);
    bool DeleteAllItems();
    DWORD GetExtendedStyle() const;
    void SetExtendedStyle(DWORD dwExStyle);
    HWND GetHeaderCtrl() const;
    // The row under a point of the client area, whichever column it is in; -1 for none.
    int SubItemHitTest(POINT pt) const;
    // The row's rectangle in client coordinates (LVIR_BOUNDS: every column).
    bool GetItemRect(int nItem, RECT* pRect, UINT nCode) const;
    bool EnsureVisible(int nItem, bool bPartialOK);

    HWND m_hWnd = nullptr;
};
