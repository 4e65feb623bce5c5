#pragma once
#include <windows.h>

#include <span>

#include "DialogControls.h"
#include "DialogScroller.h"
#include "FreshKeys.h"
#include "MessageFilter.h"
#include "MessageMap.h"
#include "WheelGuard.h"
#include "base/WideString.h"

class CDataExchange;

// A monitor's description as Windows gives it: GetMonitorInfoW. Tests stand in
// here for a work area that changes while a dialog is open.
extern BOOL(WINAPI* g_pfnGetMonitorInfo)(HMONITOR hMonitor, LPMONITORINFO pInfo);

// A modal dialog built from a template resource, with its own message loop so
// that every message passes PreTranslateMessage, and with it the dialog's message
// chain, before it is dispatched.
class CDialog {
public:
    explicit CDialog(UINT nIDTemplate, HWND hWndParent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Creates the dialog, disables the owner, shows the dialog, runs the loop until
    // EndDialog and returns its code. -1 only when the dialog cannot be created,
    // with the reason left for GetLastError; IDABORT when the window went without EndDialog.
    INT_PTR DoModal();
    void EndDialog(int nResult);

    // The three steps of DoModal, for tests and benchmarks that drive a live dialog between them.
    bool CreateModal();
    INT_PTR RunModalLoop();
    void DestroyModal();
    // One turn of the loop: the filter, then translation and dispatch.
    void PumpMessage(MSG& msg);
    bool IsModalRunning() const { return m_bContinueModal; }

    // FALSE on a failed validation: the prompt has been shown and the field focused.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    HWND GetSafeHwnd() const { return m_hWnd; }
    // How far the view of a dialog larger than its work area is scrolled: the
    // point of the layout at the client area's top-left corner; 0, 0 for one that fits.
    POINT GetScrollPosition() const { return m_scroller.GetPosition(); }
    // A control by its id, looked up once and kept.
    HWND GetDlgItem(int nID) const;

    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const { return GetThisMessageMap(); }

    // Runs the message through the steps of GetMessageChain, in order; TRUE when
    // a step has acted on it and it is not to be dispatched.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // The framework's steps, for a dialog's chain. A key held down since before
    // the dialog opened does nothing in it until it is pressed again.
    FilterResult DropKeysHeldFromBefore(MSG& msg);
    // The wheel goes where the pointer is, a whole notch at a time for a choice.
    FilterResult RouteWheel(MSG& msg);
    // A syllable being composed is completed before a key or a click acts.
    FilterResult CompleteComposition(MSG& msg);
    // Page Up and Page Down move the view of a dialog larger than its screen.
    FilterResult ScrollByPageKeys(MSG& msg);
    // Tab, Shift+Tab, Escape, the default button and the rest of the dialog manager.
    FilterResult RunDialogManager(MSG& msg);

    HWND m_hWnd = nullptr;

protected:
    // Every step a message passes before it reaches a control, in order: by
    // default the framework's five. A dialog with steps of its own lists the
    // framework's among them.
    virtual std::span<const MessageFilter> GetMessageChain() const;
    // Fills the combo boxes from the initialisation data and loads the data.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();

    // Lets the message being handled go on to the dialog manager's own handling.
    void Default() { m_bDefault = true; }
    void OnSysCommand(UINT, LPARAM) { Default(); }
    void OnPaint() { Default(); }
    void OnDestroy() { Default(); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void ReportFailedHandler() noexcept;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    const MessageMapEntry* FindEntry(UINT message, WPARAM wParam, LPARAM lParam) const;
    void ExecuteDlgInit();
    HWND CreateFromTemplate();

    UINT m_nIDTemplate;
    HWND m_hWndParent;
    HWND m_hWndDisabledOwner = nullptr;
    HWND m_hWndOwnerFocus = nullptr;  // the owner's control that had the focus, given it back at the end
    RECT m_rcWorkArea{};  // where the dialog opens, found once for its font and its place, and anew when it changes
    bool m_bContinueModal = false;
    INT_PTR m_nModalResult = IDABORT;
    bool m_bDefault = false;
    CDialogControls m_controls;
    CDialogScroller m_scroller;
    CWheelRouter m_wheel;
    CFreshKeys m_freshKeys;
};
