#include "DlgReading.h"

#include <cstring>

#include "framework/Clipboard.h"
#include "framework/DataExchange.h"

IMPLEMENT_DYNAMIC(CDlgReading)

BEGIN_MESSAGE_MAP(CDlgReading, CDialog)
    ON_BN_CLICKED(IDOK, &CDlgReading::OnOkClicked)
    ON_BN_CLICKED(IDC_COPY, &CDlgReading::OnCopyClicked)
END_MESSAGE_MAP()

CDlgReading::CDlgReading(HWND hWndParent) : CDialog(IDD, hWndParent) {}

CDlgReading::~CDlgReading() = default;

void CDlgReading::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_REPORT_TEXT, m_strReport);
}

// Copies the text as it now stands, then closes.
void CDlgReading::OnOkClicked() {
    if (!UpdateData(TRUE)) return;
    CopyToClipboard();
    CDialog::OnOK();
}

void CDlgReading::OnCopyClicked() {
    if (UpdateData(TRUE)) CopyToClipboard();
}

void CDlgReading::CopyToClipboard() {
    CClipboard clipboard(m_hWnd);
    if (!clipboard.IsOpen() || !EmptyClipboard()) return;
    const SIZE_T nBytes = (m_strReport.size() + 1) * sizeof(wchar_t);
    CGlobalMemory block(nBytes);
    if (!block.Get()) return;
    void* pData = GlobalLock(block.Get());
    if (!pData) return;
    std::memcpy(pData, m_strReport.c_str(), nBytes);
    GlobalUnlock(block.Get());
    if (SetClipboardData(CF_UNICODETEXT, block.Get())) block.Release();
}
