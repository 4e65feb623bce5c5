#pragma once
#include <windows.h>

// Places a dialog in the work area it opens in: centred where it fits. One that
// is larger even in its smallest legible font opens as tall (or as wide) as the
// area, with a scroll bar, and its controls scroll inside it: the scroll bar, the
// wheel and Page Up / Page Down move the view, and a control that takes the focus
// is brought wholly into view. Scrolling only moves the controls; the focus stays
// where it is, so nothing is committed and nothing refreshes. When the work area
// changes, the dialog is fitted to the new one in the same way.
class CDialogScroller {
public:
    void Place(HWND hDlg, const RECT& workArea);
    // Fits the placed dialog, in the font it has, to a work area that changed:
    // a scroll bar comes or goes as the area requires. The dialog stays where it
    // is when it still lies wholly inside; else it is placed anew.
    void Refit(const RECT& workArea);
    // The dialog scrolls: it is larger than the work area.
    bool IsActive() const { return m_bVertical || m_bHorizontal; }
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
    void Fit(const RECT& workArea, bool bKeepPlace);
    void UpdateBars();
    void ScrollTo(POINT pos);
    void ScrollBy(int dx, int dy) { ScrollTo({m_pos.x + dx, m_pos.y + dy}); }
    void ScrollBar(int nBar, UINT nCode);
    void TurnWheel(bool bVertical, int nDelta);
    void Show(HWND hControl);
    SIZE ClientSize() const;

    HWND m_hDlg = nullptr;
    SIZE m_window{};                                  // the window as large as its whole layout, without scroll bars
    SIZE m_content{};                                 // the client area the layout needs, in pixels
    bool m_bVertical = false, m_bHorizontal = false;  // the scroll bars it has
    POINT m_pos{};
    SIZE m_line{};          // a line of the scroll bar's arrows and of the wheel
    SIZE m_margin{};        // left around a control brought into view
    int m_nWheelRest = 0;   // of the wheel's turns, what has not moved the view a whole pixel yet
    int m_nHWheelRest = 0;  // the same across
    HWND m_hLastFocus = nullptr;
    bool m_bFocusNotified = false;  // a control reported taking the focus since the last call
};
