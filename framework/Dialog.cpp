#include "Dialog.h"

#include <new>

#include "DataExchange.h"
#include "DialogTemplate.h"
#include "FrameworkResource.h"
#include "InputMethod.h"
#include "MessageBox.h"
#include "ScopedValue.h"

BOOL(WINAPI* g_pfnGetMonitorInfo)(HMONITOR hMonitor, LPMONITORINFO pInfo) = GetMonitorInfoW;

namespace {

// Custom resource type of a dialog's combo-box items, stored under the dialog's number.
constexpr WORD RT_DLGINIT_TYPE = 240;
// The 16-bit CB_ADDSTRING value that the initialisation data carries.
constexpr WORD DLGINIT_CB_ADDSTRING = 0x0403;

RECT WorkAreaOf(HMONITOR hMonitor) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!g_pfnGetMonitorInfo(hMonitor, &monitor)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
    return monitor.rcWork;
}

// The work area of the monitor a dialog opens on: its owner's, or for a dialog
// without owner the primary monitor, where Windows places it.
RECT WorkAreaForDialog(HWND hWndOwner) {
    return WorkAreaOf(hWndOwner ? MonitorFromWindow(hWndOwner, MONITOR_DEFAULTTONEAREST)
                                : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

// The taskbar moved or changed its size, the screen's resolution changed (a
// remote session that reconnects from another screen), a monitor went.
bool ChangesTheWorkArea(UINT message, WPARAM wParam) {
    return (message == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA) || message == WM_DISPLAYCHANGE;
}

}  // namespace

CDialog::CDialog(UINT nIDTemplate, HWND hWndParent) : m_nIDTemplate(nIDTemplate), m_hWndParent(hWndParent) {}

// By now only the base part is left, so a window still up gets only the base's
// handlers: a dialog with WM_DESTROY handling of its own destroys its window in
// its own destructor (DestroyModal), while the whole object is still there.
CDialog::~CDialog() { DestroyModal(); }

const MessageMap* CDialog::GetThisMessageMap() {
    static const MessageMapEntry entries[] = {ON_BN_CLICKED(IDOK, &CDialog::OnOK)
                                                  ON_BN_CLICKED(IDCANCEL, &CDialog::OnCancel)};
    static const MessageMap map = {nullptr, entries};
    return &map;
}

INT_PTR CDialog::DoModal() {
    if (!CreateModal()) return -1;
    INT_PTR result = RunModalLoop();
    DestroyModal();
    return result;
}

bool CDialog::CreateModal() {
    const HWND hFocus = GetFocus();
    m_hWndOwnerFocus = m_hWndParent && IsChild(m_hWndParent, hFocus) ? hFocus : nullptr;
    m_bContinueModal = true;
    m_nModalResult = IDABORT;
    m_freshKeys.Forget();
    HWND hWnd = CreateFromTemplate();
    if (!hWnd) {
        // The caller reports the reason; the clean-up must not overwrite it.
        const DWORD dwError = GetLastError();
        m_bContinueModal = false;
        DestroyModal();
        SetLastError(dwError);
        return false;
    }
    // The system's own order: the dialog exists and has taken the focus, so the
    // owner's focused control has let go while the owner still took input (on
    // Windows, disabling a window takes the focus from its focused descendant);
    // then the owner is disabled, and only then is the dialog shown.
    if (m_hWndParent && IsWindowEnabled(m_hWndParent)) {
        EnableWindow(m_hWndParent, FALSE);
        m_hWndDisabledOwner = m_hWndParent;
    }
    if (m_bContinueModal) ShowWindow(hWnd, SW_SHOWNORMAL);
    return true;
}

// From the template as it is where the dialog fits the work area it opens in,
// else from a copy in the largest font that fits.
HWND CDialog::CreateFromTemplate() {
    CDialogTemplate dialogTemplate(m_nIDTemplate);
    if (!dialogTemplate.Get()) return nullptr;
    m_rcWorkArea = WorkAreaForDialog(m_hWndParent);
    dialogTemplate.FitInto(m_rcWorkArea);
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate.Get(), m_hWndParent,
                                      &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CDialog::RunModalLoop() {
    MSG msg;
    while (m_bContinueModal) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // Leave WM_QUIT for the loop outside ours.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        PumpMessage(msg);
    }
    return m_nModalResult;
}

// The chain runs outside the dialog procedure: a failure there must not end the
// loop, and with it the program and everything the reader entered.
void CDialog::PumpMessage(MSG& msg) {
    BOOL bConsumed = FALSE;
    try {
        bConsumed = PreTranslateMessage(&msg);
    } catch (...) {
        ReportFailedHandler();
        return;
    }
    if (!bConsumed) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // Only a key or a click moves the focus, perhaps to a control out of view. A
    // click's control is under the pointer: the view holds still while the
    // button is down, so that the release lands where the press did.
    const bool bKey = msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST;
    const bool bRelease = msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP || msg.message == WM_MBUTTONUP;
    if ((bKey || bRelease) && m_scroller.IsActive()) m_scroller.FollowFocus();
}

void CDialog::DestroyModal() {
    // Re-enable the owner before hiding, so that activation returns to it.
    if (m_hWndDisabledOwner) {
        EnableWindow(m_hWndDisabledOwner, TRUE);
        if (m_hWnd && GetActiveWindow() == m_hWnd) SetActiveWindow(m_hWndDisabledOwner);
        m_hWndDisabledOwner = nullptr;
    }
    // The reader goes on where they were, in the control that had the focus.
    if (m_hWndOwnerFocus && IsWindow(m_hWndOwnerFocus) && IsWindowEnabled(m_hWndOwnerFocus) &&
        GetActiveWindow() == GetAncestor(m_hWndOwnerFocus, GA_ROOT))
        SetFocus(m_hWndOwnerFocus);
    m_hWndOwnerFocus = nullptr;
    if (m_hWnd) {
        SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        DestroyWindow(m_hWnd);
    }
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bContinueModal = false;
    // Wake the loop in case no other message is pending.
    if (m_hWnd) PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

HWND CDialog::GetDlgItem(int nID) const { return m_controls.Get(nID); }

std::span<const MessageFilter> CDialog::GetMessageChain() const {
    static const MessageFilter chain[] = {
        FILTER_STEP(&CDialog::DropKeysHeldFromBefore),
        FILTER_STEP(&CDialog::RouteWheel),
        FILTER_STEP(&CDialog::CompleteComposition),
        FILTER_STEP(&CDialog::ScrollByPageKeys),
        FILTER_STEP(&CDialog::RunDialogManager),
    };
    return chain;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    for (const MessageFilter& step : GetMessageChain())
        if (step.run(*this, *pMsg) == FilterResult::Handled) return TRUE;
    return FALSE;
}

FilterResult CDialog::DropKeysHeldFromBefore(MSG& msg) {
    return m_freshKeys.Admits(msg) ? FilterResult::Pass : FilterResult::Handled;
}

// A choice moves one item for each message, so a turn of several whole notches
// reaches it as that many: all but the last straight away, the last through the
// rest of the chain like any message.
FilterResult CDialog::RouteWheel(MSG& msg) {
    if (!IsWheelMessage(msg.message)) return FilterResult::Pass;
    const int nDeliveries = m_wheel.Route(msg, m_hWnd);
    if (nDeliveries == 0) return FilterResult::Handled;
    for (int n = 1; n < nDeliveries; ++n) DispatchMessageW(&msg);
    return FilterResult::Pass;
}

FilterResult CDialog::CompleteComposition(MSG& msg) {
    CompleteCompositionBefore(msg);
    return FilterResult::Pass;
}

FilterResult CDialog::ScrollByPageKeys(MSG& msg) {
    return m_scroller.IsActive() && m_scroller.HandlePageKey(msg) ? FilterResult::Handled : FilterResult::Pass;
}

FilterResult CDialog::RunDialogManager(MSG& msg) {
    return m_hWnd && IsDialogMessageW(m_hWnd, &msg) ? FilterResult::Handled : FilterResult::Pass;
}

BOOL CDialog::OnInitDialog() {
    ExecuteDlgInit();
    CompleteCompositionsOnFocusLoss(m_hWnd);
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(m_controls, bSaveAndValidate != FALSE);
    DoDataExchange(&dx);
    return dx.Succeeded();
}

void CDialog::ExecuteDlgInit() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(m_nIDTemplate), MAKEINTRESOURCEW(RT_DLGINIT_TYPE));
    if (!found) return;
    HGLOBAL loaded = LoadResource(module, found);
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!data) return;
    const BYTE* const end = data + SizeofResource(module, found);
    // Entries: WORD control id, WORD message, DWORD length, then the UTF-8 text
    // with its terminating zero; a zero control id ends the list.
    while (data + sizeof(WORD) <= end) {
        WORD controlId;
        memcpy(&controlId, data, sizeof controlId);
        if (controlId == 0 || data + 2 * sizeof(WORD) + sizeof(DWORD) > end) break;
        WORD message;
        DWORD length;
        memcpy(&message, data + sizeof(WORD), sizeof message);
        memcpy(&length, data + 2 * sizeof(WORD), sizeof length);
        data += 2 * sizeof(WORD) + sizeof(DWORD);
        if (length > static_cast<DWORD>(end - data)) break;
        if (message == DLGINIT_CB_ADDSTRING) {
            const char* text = reinterpret_cast<const char*>(data);
            int bytes = static_cast<int>(strnlen(text, length));
            CString item(MultiByteToWideChar(CP_UTF8, 0, text, bytes, nullptr, 0), L'\0');
            MultiByteToWideChar(CP_UTF8, 0, text, bytes, item.data(), static_cast<int>(item.size()));
            SendDlgItemMessageW(m_hWnd, controlId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
        data += length;
    }
}

const MessageMapEntry* CDialog::FindEntry(UINT message, WPARAM wParam, LPARAM lParam) const {
    UINT id = 0, code = 0;
    if (message == WM_COMMAND) {
        id = LOWORD(wParam);
        code = HIWORD(wParam);
    } else if (message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        id = static_cast<UINT>(header->idFrom);
        code = header->code;
    }
    for (const MessageMap* map = GetMessageMap(); map; map = map->base) {
        for (const MessageMapEntry& entry : map->entries) {
            if (entry.message == message && entry.code == code && id >= entry.id && id <= entry.idLast) return &entry;
        }
    }
    return nullptr;
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        // The templates carry no position: a dialog opens centred in the work
        // area of its monitor, or scrolls inside it where it is larger.
        m_scroller.Place(m_hWnd, m_rcWorkArea);
        return OnInitDialog();
    }
    // The dialog fits the work area it now has, as it fitted the one it opened in.
    if (ChangesTheWorkArea(message, wParam)) {
        m_rcWorkArea = WorkAreaOf(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST));
        m_scroller.Refit(m_rcWorkArea);
    }
    if (m_scroller.IsActive() && m_scroller.HandleMessage(message, wParam, lParam)) return TRUE;
    const MessageMapEntry* entry = FindEntry(message, wParam, lParam);
    if (!entry) return FALSE;

    // Handlers may re-enter through messages they cause; each keeps its own flag,
    // and an outer handler's request survives an inner one that throws.
    INT_PTR result;
    bool wantsDefault;
    {
        ScopedValue ownRequest(m_bDefault, false);
        result = entry->invoke(*this, wParam, lParam);
        wantsDefault = m_bDefault;
    }

    if (wantsDefault) return FALSE;
    switch (entry->result) {
    case MessageResult::MsgResult: SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result); return TRUE;
    case MessageResult::ReturnedByProc: return result;
    case MessageResult::None: break;
    }
    return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        self->m_hWnd = hWnd;
        self->m_controls.Attach(hWnd);
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hWnd, DWLP_USER));
    }
    if (!self) return FALSE;
    if (message == WM_NCDESTROY) {
        self->m_hWnd = nullptr;
        self->m_controls.Attach(nullptr);
        self->m_scroller.Detach();
        // However the window went, its modal loop has nothing left to wait for.
        self->m_bContinueModal = false;
        return FALSE;
    }
    // No exception may cross into the window manager.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        ReportFailedHandler();
    }
    return TRUE;
}

// Called inside a catch block: tells the reader, who can go on with the form,
// that the action may have stopped halfway. Nothing here may throw in turn, or
// the exception would cross into the window manager.
void CDialog::ReportFailedHandler() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        AfxMessageBox(AFX_IDP_FAILED_MEMORY_ALLOC, MB_OK | MB_ICONSTOP);
    } catch (...) {
        AfxMessageBox(AFX_IDP_INTERNAL_FAILURE, MB_OK | MB_ICONSTOP);
    }
}
