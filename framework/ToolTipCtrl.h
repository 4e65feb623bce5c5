#pragma once
#include <windows.h>
#include <commctrl.h>

// A view of a common-controls tooltip window, owned by a dialog and destroyed
// with it. Tools are described in the size that comctl32 5.8 accepts: Windows
// loads that version for a program without a version-6 manifest, and it
// refuses the larger TOOLINFOW of current headers without a word.
class CToolTipCtrl {
public:
    bool Create(HWND hWndParent, DWORD dwStyle = TTS_ALWAYSTIP | TTS_NOPREFIX);
    // Without a rectangle and an id the tool is the whole window hWnd, and its
    // notifications go to hWnd's parent; otherwise it is that rectangle of hWnd's
    // client area. LPSTR_TEXTCALLBACKW asks for the text with TTN_GETDISPINFOW
    // each time the tip shows; any other text is copied.
    bool AddTool(HWND hWnd, LPCWSTR lpszText = LPSTR_TEXTCALLBACKW, const RECT* lpRectTool = nullptr,
                 UINT_PTR nIDTool = 0);
    void DelTool(HWND hWnd, UINT_PTR nIDTool = 0);
    // Replaces the copied text of a tool; a shown tip shows the new one.
    void UpdateTipText(HWND hWnd, LPCWSTR lpszText, UINT_PTR nIDTool = 0);
    // Moves a tool that is a rectangle of hWnd's client area.
    void SetToolRect(HWND hWnd, UINT_PTR nIDTool, const RECT& rect);
    // Passes a mouse message of a tool's window on, so that the tip appears and goes.
    void RelayEvent(const MSG* pMsg);
    // Above this width in pixels the text wraps; line breaks then start new lines.
    void SetMaxTipWidth(int nWidth);
    void SetFont(HFONT hFont);
    // Takes a shown tip away.
    void Pop();

    HWND m_hWnd = nullptr;

private:
    TTTOOLINFOW ToolInfo(HWND hWnd, UINT_PTR nIDTool) const;
};
