#pragma once
#include <windows.h>

// Places a dialog in the work area it opens in: centred where it fits. One that
// is larger even in its smallest legible font opens as tall (or as wide) as the
// area, with a scroll bar, and its controls scroll inside it: the scroll bar, the
// wheel and Page Up / Page Down move the view, and a control that takes the focus
// is brought wholly into view. Scrolling only moves the controls; the focus stays
// where it is, so nothing is committed and nothing refreshes.
class CDialogScroller {
public:
    void Place(HWND hDlg, const RECT& workArea);
    // The dialog scrolls: it is larger than the work area.
    bool IsActive() const { return m_hDlg != nullptr; }
    // The point of the layout at the client area's top-left corner.
    POINT GetPosition() const { return m_pos; }
    // The dialog's own scroll bars and the wheel turned over it; true when handled.
    // Notes the controls' reports of taking the focus, which go on to the dialog.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Page Up and Page Down, unless the focused control uses them itself; true when handled.
    bool HandlePageKey(const MSG& msg);
    // Brings the focused control into view if the focus has moved since the last
    // call, also where it went elsewhere and came back.
    void FollowFocus();
    void Detach() { *this = CDialogScroller{}; }

private:
    void UpdateBars();
    void ScrollTo(POINT pos);
    void ScrollBy(int dx, int dy) { ScrollTo({m_pos.x + dx, m_pos.y + dy}); }
    void ScrollBar(int nBar, UINT nCode);
    void Show(HWND hControl);
    SIZE ClientSize() const;

    HWND m_hDlg = nullptr;
    SIZE m_content{};    // the client area the layout needs, in pixels
    POINT m_pos{};
    SIZE m_line{};       // a line of the scroll bar's arrows and of the wheel
    SIZE m_margin{};     // left around a control brought into view
    int m_nWheelDelta = 0;  // what the wheel turned short of a notch
    HWND m_hLastFocus = nullptr;
    bool m_bFocusNotified = false;  // a control reported taking the focus since the last call
};
