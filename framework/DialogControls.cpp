#include "DialogControls.h"

HWND CDialogControls::Get(int nID) const {
    if (const auto found = m_handles.find(nID);
        found != m_handles.end() && ::GetDlgCtrlID(found->second) == nID && ::GetParent(found->second) == m_hDialog)
        return found->second;
    HWND hWnd = ::GetDlgItem(m_hDialog, nID);
    if (hWnd) m_handles[nID] = hWnd;
    return hWnd;
}
