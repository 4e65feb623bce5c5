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
    m_hDlg = hDlg;
    RECT window, client;
    GetWindowRect(hDlg, &window);
    GetClientRect(hDlg, &client);
    m_window = SizeOf(window);
    m_content = SizeOf(client);
    RECT units{0, 0, LINE_DLU, LINE_DLU};
    MapDialogRect(hDlg, &units);
    m_line = {units.right, units.bottom};
    units = {0, 0, MARGIN_DLU, MARGIN_DLU};
    MapDialogRect(hDlg, &units);
    m_margin = {units.right, units.bottom};
    Fit(workArea, false);
}

void CDialogScroller::Refit(const RECT& workArea) {
    if (m_hDlg) Fit(workArea, true);
}

void CDialogScroller::Fit(const RECT& workArea, bool bKeepPlace) {
    const SIZE room = SizeOf(workArea);
    const int cxVScroll = GetSystemMetrics(SM_CXVSCROLL), cyHScroll = GetSystemMetrics(SM_CYHSCROLL);
    // A scroll bar for one direction takes room from the other.
    bool bVertical = m_window.cy > room.cy;
    const bool bHorizontal = m_window.cx + (bVertical ? cxVScroll : 0) > room.cx;
    bVertical = bVertical || (bHorizontal && m_window.cy + cyHScroll > room.cy);
    const SIZE placed = {std::min(m_window.cx + (bVertical ? cxVScroll : 0), room.cx),
                         std::min(m_window.cy + (bHorizontal ? cyHScroll : 0), room.cy)};
    RECT window;
    GetWindowRect(m_hDlg, &window);
    const RECT kept = {window.left, window.top, window.left + placed.cx, window.top + placed.cy};
    const bool bKeep = bKeepPlace && kept.left >= workArea.left && kept.top >= workArea.top &&
                       kept.right <= workArea.right && kept.bottom <= workArea.bottom;
    const LONG x = bKeep ? window.left : workArea.left + (room.cx - placed.cx) / 2;
    const LONG y = bKeep ? window.top : workArea.top + (room.cy - placed.cy) / 2;

    // A scroll bar that goes takes its view back to the layout's start.
    if (!bVertical) ScrollTo({m_pos.x, 0});
    if (!bHorizontal) ScrollTo({0, m_pos.y});
    const LONG style = GetWindowLongW(m_hDlg, GWL_STYLE) & ~(WS_VSCROLL | WS_HSCROLL);
    const bool bBarsChange = bVertical != m_bVertical || bHorizontal != m_bHorizontal;
    m_bVertical = bVertical;
    m_bHorizontal = bHorizontal;
    if (bBarsChange)
        SetWindowLongW(m_hDlg, GWL_STYLE, style | (bVertical ? WS_VSCROLL : 0) | (bHorizontal ? WS_HSCROLL : 0));
    SetWindowPos(m_hDlg, nullptr, x, y, placed.cx, placed.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | (bBarsChange ? SWP_FRAMECHANGED : 0));
    if (IsActive()) {
        ScrollTo(m_pos);  // within the new view
        UpdateBars();
    }
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
    case WM_COMMAND: m_bFocusNotified |= IsFocusNotification(HIWORD(wParam)); return false;
    case WM_NOTIFY:
        m_bFocusNotified |= reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(NM_SETFOCUS);
        return false;
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (lParam) return false;  // a scroll bar control's, not the dialog's
        ScrollBar(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
        return true;
    case WM_MOUSEWHEEL:
        // The wheel scrolls down a dialog that scrolls down, else across.
        TurnWheel(m_bVertical, -GET_WHEEL_DELTA_WPARAM(wParam));
        return true;
    case WM_MOUSEHWHEEL:
        if (m_bHorizontal) TurnWheel(false, GET_WHEEL_DELTA_WPARAM(wParam));
        return true;
    default: return false;
    }
}

// A notch of the wheel moves the view the system's number of lines (a page
// where that is set); a finer turn, of a touchpad or a high-resolution wheel,
// moves it as much less. nDelta is positive towards the layout's end.
void CDialogScroller::TurnWheel(bool bVertical, int nDelta) {
    UINT nLines = DEFAULT_WHEEL_LINES;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &nLines, 0);
    const LONG nLine = bVertical ? m_line.cy : m_line.cx;
    const LONG nNotch = nLines == WHEEL_PAGESCROLL ? (bVertical ? ClientSize().cy : ClientSize().cx) - nLine
                                                   : static_cast<LONG>(nLines) * nLine;
    int& nRest = bVertical ? m_nWheelRest : m_nHWheelRest;
    nRest += nDelta * nNotch;
    const int nPixels = nRest / WHEEL_DELTA;
    nRest -= nPixels * WHEEL_DELTA;
    if (bVertical)
        ScrollBy(0, nPixels);
    else
        ScrollBy(nPixels, 0);
}

bool CDialogScroller::HandlePageKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_PRIOR && msg.wParam != VK_NEXT)) return false;
    const HWND hFocus = GetFocus();
    if (hFocus != m_hDlg && !IsChild(m_hDlg, hFocus)) return false;
    // Edits, lists, drop-down lists and date pickers move their own caret or choice with them.
    const LRESULT code = SendMessageW(hFocus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (code & (DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS)) return false;
    ScrollBar(m_bVertical ? SB_VERT : SB_HORZ, msg.wParam == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN);
    // The reader moved the view away from the focus on purpose.
    m_hLastFocus = hFocus;
    m_bFocusNotified = false;
    return true;
}

void CDialogScroller::FollowFocus() {
    const HWND hFocus = GetFocus();
    if (hFocus == m_hLastFocus && !m_bFocusNotified) return;
    // An open drop-down list hangs below its box where it opened: the view
    // moves once the list has closed.
    if (IsDroppedComboBox(hFocus)) return;
    m_hLastFocus = hFocus;
    m_bFocusNotified = false;
    if (!hFocus || !IsChild(m_hDlg, hFocus)) return;
    // The dialog's own control, not the inner edit of a combo box or picker.
    HWND hControl = hFocus;
    while (GetParent(hControl) != m_hDlg) hControl = GetParent(hControl);
    Show(hControl);
}

// Just enough to show the control with a margin, and its caption where there is
// room; a control already wholly in view stays where the reader sees it.
void CDialogScroller::Show(HWND hControl) {
    const SIZE view = ClientSize();
    const RECT control = ChildRect(m_hDlg, hControl);
    if (control.left >= 0 && control.top >= 0 && control.right <= view.cx && control.bottom <= view.cy) return;
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
