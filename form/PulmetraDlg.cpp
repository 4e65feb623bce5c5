#include "PulmetraDlg.h"

#include <oleauto.h>

#include "framework/DataExchange.h"
#include "framework/MessageBox.h"

namespace {

constexpr double PRIOR_CT_DAYS_BACK = 365.0;

}  // namespace

// The usual interval of screening CTs: the prior one a year before now.
COleDateTime OneYearBeforeNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    double variant = 0;
    if (!SystemTimeToVariantTime(&now, &variant)) return {0.0, COleDateTime::invalid};
    return {variant - PRIOR_CT_DAYS_BACK, COleDateTime::valid};
}

BEGIN_MESSAGE_MAP(CPulmetraDlg, CDialog)
    ON_WM_SYSCOMMAND(&CPulmetraDlg::OnSysCommand)
    ON_WM_PAINT(&CPulmetraDlg::OnPaint)
    ON_WM_QUERYDRAGICON(&CPulmetraDlg::OnQueryDragIcon)
    ON_WM_DESTROY(&CPulmetraDlg::OnDestroy)
    ON_WM_QUERYENDSESSION(&CPulmetraDlg::OnQueryEndSession)
    ON_WM_SYSCOLORCHANGE(&CPulmetraDlg::OnSysColorChange)
    ON_NOTIFY(LVN_ITEMCHANGING, IDC_NODULE_LIST, &CPulmetraDlg::OnNoduleSelChanging)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_NODULE_LIST, &CPulmetraDlg::OnNoduleSelChanged)
    ON_BN_CLICKED(IDC_ADD_NODULE, &CPulmetraDlg::OnAddNoduleClicked)
    ON_BN_CLICKED(IDC_DELETE_NODULE, &CPulmetraDlg::OnDeleteNoduleClicked)
    ON_CONTROL_EX(EN_KILLFOCUS, IDC_LONG_AXIS, &CPulmetraDlg::OnSizeKillFocus)
    ON_CONTROL_EX(EN_KILLFOCUS, IDC_SHORT_AXIS, &CPulmetraDlg::OnSizeKillFocus)
    ON_CONTROL_EX(EN_KILLFOCUS, IDC_SOLID_LONG_AXIS, &CPulmetraDlg::OnSizeKillFocus)
    ON_CONTROL_EX(EN_KILLFOCUS, IDC_SOLID_SHORT_AXIS, &CPulmetraDlg::OnSizeKillFocus)
    ON_EN_KILLFOCUS(IDC_IMAGE_NO, &CPulmetraDlg::OnImageNoKillFocus)
    ON_EN_KILLFOCUS(IDC_OTHER_TEXT, &CPulmetraDlg::OnOtherTextKillFocus)
    ON_BN_CLICKED(IDC_PRIOR_CANCER, &CPulmetraDlg::OnPriorCancerClicked)
    ON_BN_CLICKED(IDC_REPORT, &CPulmetraDlg::OnReportClicked)
    ON_BN_CLICKED(IDC_CLEAR, &CPulmetraDlg::OnClearClicked)
    // After the buttons above: every check box of the features and findings,
    // every drop-down list and every edit of the form.
    ON_CONTROL_RANGE(BN_CLICKED, IDC_CT_TYPE, IDC_PERIFISSURAL, &CPulmetraDlg::OnBoxClicked)
    ON_CONTROL_RANGE(CBN_DROPDOWN, IDC_CT_TYPE, IDC_PERIFISSURAL, &CPulmetraDlg::OnComboDropDown)
    ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_CT_TYPE, IDC_PERIFISSURAL, &CPulmetraDlg::OnComboSelChange)
    ON_CONTROL_RANGE(CBN_CLOSEUP, IDC_CT_TYPE, IDC_PERIFISSURAL, &CPulmetraDlg::OnComboCloseUp)
    ON_MESSAGE_VOID(WM_RECONCILE_COMBOS, &CPulmetraDlg::ReconcileCombos)
    ON_CONTROL_RANGE(EN_CHANGE, IDC_CT_TYPE, IDC_PERIFISSURAL, &CPulmetraDlg::OnEditChanged)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_PRIOR_CT_DATE, &CPulmetraDlg::OnPriorCtDateChanged)
    ON_MESSAGE_VOID(WM_SHOW_SELECTION, &CPulmetraDlg::ShowSelection)
    ON_BN_CLICKED(IDCANCEL, &CPulmetraDlg::OnExitClicked)
    ON_NOTIFY(TTN_GETDISPINFOW, IDC_FINAL_CATEGORY, &CPulmetraDlg::OnFinalCategoryTip)
END_MESSAGE_MAP()

CPulmetraDlg::CPulmetraDlg(HWND hWndParent)
    : CDialog(IDD, hWndParent),
      m_hIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_dtPriorCt(OneYearBeforeNow()) {}

// Every message of the form's loop passes these steps, in this order, before it
// reaches a control; a step that acts on a message ends its way there.
std::span<const MessageFilter> CPulmetraDlg::GetMessageChain() const {
    static const MessageFilter chain[] = {
        // The wheel goes where the pointer is (framework/WheelGuard.cpp).
        FILTER_STEP(&CPulmetraDlg::RouteWheel),
        // A syllable still being composed is completed before a key or a click acts (framework/InputMethod.cpp).
        FILTER_STEP(&CPulmetraDlg::CompleteComposition),
        // Page Up and Page Down move the view of a form larger than the screen (framework/DialogScroller.cpp).
        FILTER_STEP(&CPulmetraDlg::ScrollByPageKeys),
        // The second click of a double click on 결절 삭제 deletes nothing more (ShortcutKeys.cpp).
        FILTER_STEP(&CPulmetraDlg::KeepDoubleClicksSingle),
        // An open drop-down list notes whether the reader chooses its item (DropDownLists.cpp).
        FILTER_STEP(&CPulmetraDlg::TrackListChoice),
        // The tooltips of the rows and the final category follow the mouse (ReaderTips.cpp).
        FILTER_STEP(&CPulmetraDlg::RelayToTips),
        // Ctrl+N, Ctrl+D, Ctrl+Z, Ctrl+Enter, Ctrl+Up and Ctrl+Down, from any control (ShortcutKeys.cpp).
        FILTER_STEP(&CPulmetraDlg::RunCommandKey),
        // Enter keeps what was typed and never presses a button (SizeEditors.cpp).
        FILTER_STEP(&CPulmetraDlg::CommitOnEnter),
        // Tab, Shift+Tab, Escape and the rest of the dialog manager.
        FILTER_STEP(&CPulmetraDlg::RunDialogManager),
    };
    return chain;
}

// A window still up goes now, while OnDestroy can still free the records.
CPulmetraDlg::~CPulmetraDlg() { DestroyModal(); }

void CPulmetraDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NODULE_LIST, m_listNodules);
    DDX_DateTimeCtrl(pDX, IDC_PRIOR_CT_DATE, m_dtPriorCt);
    if (!pDX->m_bSaveAndValidate) m_dtPriorCtLoaded = m_dtPriorCt;
    DDX_Text(pDX, IDC_CTDIVOL, m_fCtdiVol);
    DDV_MinMaxFloat(pDX, m_fCtdiVol, 0.0f, 100.0f);
}

BOOL CPulmetraDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CreateCategoryFont();

    HMENU hSysMenu = GetSystemMenu(m_hWnd, FALSE);
    CString about = LoadResourceString(IDS_ABOUTBOX);
    if (hSysMenu && !about.empty()) {
        AppendMenuW(hSysMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(hSysMenu, MF_STRING, IDM_ABOUTBOX, about.c_str());
    }

    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SetSmallIcon();
    PlaceLogo();
    InitNoduleColumns();
    SendDlgItemMessageW(m_hWnd, IDC_FINAL_CATEGORY, WM_SETFONT,
                        reinterpret_cast<WPARAM>(m_fontCategory.GetSafeHandle()), TRUE);
    CreateTips();
    ResetForm();
    RefreshForm();
    return TRUE;
}
