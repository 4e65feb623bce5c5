#include "ToolTipCtrl.h"

#include "CommonControls.h"

bool CToolTipCtrl::Create(HWND hWndParent, DWORD dwStyle) {
    // The class lives in the common controls, which register it on request.
    RegisterCommonControls(ICC_BAR_CLASSES);
    m_hWnd = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hWndParent, nullptr, GetModuleHandleW(nullptr), nullptr);
    return m_hWnd != nullptr;
}

TTTOOLINFOW CToolTipCtrl::ToolInfo(HWND hWnd, UINT_PTR nIDTool) const {
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    if (nIDTool == 0) {
        info.uFlags = TTF_IDISHWND;
        info.hwnd = GetParent(hWnd);
        info.uId = reinterpret_cast<UINT_PTR>(hWnd);
    } else {
        info.hwnd = hWnd;
        info.uId = nIDTool;
    }
    return info;
}

bool CToolTipCtrl::AddTool(HWND hWnd, LPCWSTR lpszText, const RECT* lpRectTool, UINT_PTR nIDTool) {
    TTTOOLINFOW info = ToolInfo(hWnd, nIDTool);
    if (lpRectTool) info.rect = *lpRectTool;
    info.lpszText = const_cast<LPWSTR>(lpszText);
    return SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void CToolTipCtrl::DelTool(HWND hWnd, UINT_PTR nIDTool) {
    TTTOOLINFOW info = ToolInfo(hWnd, nIDTool);
    SendMessageW(m_hWnd, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(HWND hWnd, LPCWSTR lpszText, UINT_PTR nIDTool) {
    TTTOOLINFOW info = ToolInfo(hWnd, nIDTool);
    info.lpszText = const_cast<LPWSTR>(lpszText);
    SendMessageW(m_hWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::SetToolRect(HWND hWnd, UINT_PTR nIDTool, const RECT& rect) {
    TTTOOLINFOW info = ToolInfo(hWnd, nIDTool);
    info.rect = rect;
    SendMessageW(m_hWnd, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::RelayEvent(const MSG* pMsg) {
    SendMessageW(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
}

void CToolTipCtrl::SetMaxTipWidth(int nWidth) { SendMessageW(m_hWnd, TTM_SETMAXTIPWIDTH, 0, nWidth); }

void CToolTipCtrl::SetFont(HFONT hFont) { SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE); }

void CToolTipCtrl::Pop() { SendMessageW(m_hWnd, TTM_POP, 0, 0); }
