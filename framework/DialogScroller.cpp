#include "DialogScroller.h"

#include <commctrl.h>

#include <algorithm>

#include "WindowState.h"

namespace {

// In dialog units: a line is one row of text, the margin half of one.
constexpr int LINE_DLU = 8;
constexpr int MARGIN_DLU = 4;
constexpr UINT DEFAULT_WHEEL_LINES = 3;

SIZE SizeOf(const RECT& rect) { return {rect.right - rect.left, rect.bottom - rect.top}; }

RECT ChildRect(HWND hDlg, HWND hChild) {
    RECT rect;
    GetWindowRect(hChild, &rect);
    MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The control's caption: a text label just before it in the tab order, on its row.
bool IsLabelOf(HWND hLabel, const RECT& control, HWND hDlg) {
    if (!hLabel || !IsOfClass(hLabel, L"Static")) return false;
    const DWORD type = static_cast<DWORD>(GetWindowLongW(hLabel, GWL_STYLE)) & SS_TYPEMASK;
    if (type > SS_RIGHT && type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP) return false;
    const RECT label = ChildRect(hDlg, hLabel);
    return label.top < control.bottom && control.top < label.bottom;
}

// A control that reports it took the focus. Buttons report it only with
// BS_NOTIFY; for them the focus itself is compared.
bool IsFocusNotification(UINT nCode) {
    return nCode == EN_SETFOCUS || nCode == CBN_SETFOCUS || nCode == LBN_SETFOCUS || nCode == BN_SETFOCUS;
}

// How far to scroll along one axis so that [low, high) of the client area lies
// inside [0, extent) with the margin around it: as little as possible, and where
// it is larger than the view, its start in view.
int ShiftToShow(int low, int high, int extent, int margin) {
    if (low - margin < 0) return low - margin;
    if (high + margin > extent) return std::min(high + margin - extent, low - margin);
    return 0;
}

}  // namespace

void CDialogScroller::Place(HWND hDlg, const RECT& workArea) {
    Detach();
    RECT window;
    GetWindowRect(hDlg, &window);
    const SIZE size = SizeOf(window), room = SizeOf(workArea);
    const int cxVScroll = GetSystemMetrics(SM_CXVSCROLL), cyHScroll = GetSystemMetrics(SM_CYHSCROLL);
    // A scroll bar for one direction takes room from the other.
    bool bVertical = size.cy > room.cy;
    const bool bHorizontal = size.cx + (bVertical ? cxVScroll : 0) > room.cx;
    bVertical = bVertical || (bHorizontal && size.cy + cyHScroll > room.cy);
    const SIZE placed = {std::min(size.cx + (bVertical ? cxVScroll : 0), room.cx),
                         std::min(size.cy + (bHorizontal ? cyHScroll : 0), room.cy)};
    const LONG x = workArea.left + (room.cx - placed.cx) / 2;
    const LONG y = workArea.top + (room.cy - placed.cy) / 2;
    if (!bVertical && !bHorizontal) {
        SetWindowPos(hDlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }

    m_hDlg = hDlg;
    RECT client;
    GetClientRect(hDlg, &client);
    m_content = SizeOf(client);
    RECT units{0, 0, LINE_DLU, LINE_DLU};
    MapDialogRect(hDlg, &units);
    m_line = {units.right, units.bottom};
    units = {0, 0, MARGIN_DLU, MARGIN_DLU};
    MapDialogRect(hDlg, &units);
    m_margin = {units.right, units.bottom};
    const LONG style = GetWindowLongW(hDlg, GWL_STYLE);
    SetWindowLongW(hDlg, GWL_STYLE, style | (bVertical ? WS_VSCROLL : 0) | (bHorizontal ? WS_HSCROLL : 0));
    SetWindowPos(hDlg, nullptr, x, y, placed.cx, placed.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    UpdateBars();
}

SIZE CDialogScroller::ClientSize() const {
    RECT client;
    GetClientRect(m_hDlg, &client);
    return SizeOf(client);
}

void CDialogScroller::UpdateBars() {
    const LONG style = GetWindowLongW(m_hDlg, GWL_STYLE);
    const SIZE view = ClientSize();
    const auto update = [this](int nBar, LONG nContent, LONG nView, LONG nPos) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMax = nContent - 1;
        info.nPage = static_cast<UINT>(nView);
        info.nPos = nPos;
        SetScrollInfo(m_hDlg, nBar, &info, TRUE);
    };
    if (style & WS_HSCROLL) update(SB_HORZ, m_content.cx, view.cx, m_pos.x);
    if (style & WS_VSCROLL) update(SB_VERT, m_content.cy, view.cy, m_pos.y);
}

void CDialogScroller::ScrollTo(POINT pos) {
    const SIZE view = ClientSize();
    pos.x = std::clamp(pos.x, 0L, std::max(0L, m_content.cx - view.cx));
    pos.y = std::clamp(pos.y, 0L, std::max(0L, m_content.cy - view.cy));
    if (pos.x == m_pos.x && pos.y == m_pos.y) return;
    ScrollWindowEx(m_hDlg, m_pos.x - pos.x, m_pos.y - pos.y, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    m_pos = pos;
    UpdateBars();
}

void CDialogScroller::ScrollBar(int nBar, UINT nCode) {
    const bool bVertical = nBar == SB_VERT;
    const LONG nLine = bVertical ? m_line.cy : m_line.cx;
    const LONG nPage = std::max(nLine, (bVertical ? ClientSize().cy : ClientSize().cx) - nLine);
    LONG nTarget = bVertical ? m_pos.y : m_pos.x;
    switch (nCode) {
    case SB_LINEUP: nTarget -= nLine; break;
    case SB_LINEDOWN: nTarget += nLine; break;
    case SB_PAGEUP: nTarget -= nPage; break;
    case SB_PAGEDOWN: nTarget += nPage; break;
    case SB_TOP: nTarget = 0; break;
    case SB_BOTTOM: nTarget = bVertical ? m_content.cy : m_content.cx; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(m_hDlg, nBar, &info)) nTarget = info.nTrackPos;
        break;
    }
    default: return;
    }
    ScrollTo(bVertical ? POINT{m_pos.x, nTarget} : POINT{nTarget, m_pos.y});
}

bool CDialogScroller::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        m_bFocusNotified |= IsFocusNotification(HIWORD(wParam));
        return false;
    case WM_NOTIFY:
        m_bFocusNotified |= reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(NM_SETFOCUS);
        return false;
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (lParam) return false;  // a scroll bar control's, not the dialog's
        ScrollBar(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
        return true;
    case WM_MOUSEWHEEL: {
        UINT nLines = DEFAULT_WHEEL_LINES;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &nLines, 0);
        m_nWheelDelta += GET_WHEEL_DELTA_WPARAM(wParam);
        const int nNotches = m_nWheelDelta / WHEEL_DELTA;
        m_nWheelDelta %= WHEEL_DELTA;
        const bool bVertical = GetWindowLongW(m_hDlg, GWL_STYLE) & WS_VSCROLL;
        const LONG nStep = nLines == WHEEL_PAGESCROLL
                               ? (bVertical ? ClientSize().cy - m_line.cy : ClientSize().cx - m_line.cx)
                               : static_cast<LONG>(nLines) * (bVertical ? m_line.cy : m_line.cx);
        if (bVertical)
            ScrollBy(0, -nNotches * nStep);
        else
            ScrollBy(-nNotches * nStep, 0);
        return true;
    }
    default:
        return false;
    }
}

bool CDialogScroller::HandlePageKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_PRIOR && msg.wParam != VK_NEXT)) return false;
    const HWND hFocus = GetFocus();
    if (hFocus != m_hDlg && !IsChild(m_hDlg, hFocus)) return false;
    // Edits, lists, drop-down lists and date pickers move their own caret or choice with them.
    const LRESULT code = SendMessageW(hFocus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (code & (DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS)) return false;
    ScrollBar(GetWindowLongW(m_hDlg, GWL_STYLE) & WS_VSCROLL ? SB_VERT : SB_HORZ,
              msg.wParam == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN);
    // The reader moved the view away from the focus on purpose.
    m_hLastFocus = hFocus;
    m_bFocusNotified = false;
    return true;
}

void CDialogScroller::FollowFocus() {
    const HWND hFocus = GetFocus();
    if (hFocus == m_hLastFocus && !m_bFocusNotified) return;
    m_hLastFocus = hFocus;
    m_bFocusNotified = false;
    if (!hFocus || !IsChild(m_hDlg, hFocus)) return;
    // The dialog's own control, not the inner edit of a combo box or picker.
    HWND hControl = hFocus;
    while (GetParent(hControl) != m_hDlg) hControl = GetParent(hControl);
    Show(hControl);
}

// Just enough to show the control with a margin, and its caption where there is room.
void CDialogScroller::Show(HWND hControl) {
    const SIZE view = ClientSize();
    const RECT control = ChildRect(m_hDlg, hControl);
    RECT shown = control;
    const HWND hLabel = GetWindow(hControl, GW_HWNDPREV);
    if (IsLabelOf(hLabel, control, m_hDlg)) {
        const RECT label = ChildRect(m_hDlg, hLabel);
        RECT both;
        UnionRect(&both, &control, &label);
        if (both.right - both.left + 2 * m_margin.cx <= view.cx && both.bottom - both.top + 2 * m_margin.cy <= view.cy)
            shown = both;
    }
    ScrollBy(ShiftToShow(shown.left, shown.right, view.cx, m_margin.cx),
             ShiftToShow(shown.top, shown.bottom, view.cy, m_margin.cy));
}
