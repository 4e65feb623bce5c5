#include "DlgReading.h"

#include "framework/Clipboard.h"
#include "framework/DataExchange.h"
#include "framework/MessageBox.h"

namespace {

constexpr DWORD REPORT_LOCALE = MAKELCID(MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN), SORT_DEFAULT);
// What the report says to the clipboard's cloud sync and to its history: no.
constexpr DWORD NOT_KEPT = 0;
const wchar_t* const NOT_KEPT_FORMATS[] = {L"CanUploadToCloudClipboard", L"CanIncludeInClipboardHistory"};

}  // namespace

BEGIN_MESSAGE_MAP(CDlgReading, CDialog)
    ON_BN_CLICKED(IDOK, &CDlgReading::OnOkClicked)
    ON_BN_CLICKED(IDC_COPY, &CDlgReading::OnCopyClicked)
END_MESSAGE_MAP()

CDlgReading::CDlgReading(HWND hWndParent) : CDialog(IDD, hWndParent) {}

void CDlgReading::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_REPORT_TEXT, m_strReport);
}

// Copies the text as it now stands, then closes; a copy that failed keeps the
// dialog open with the reader's text.
void CDlgReading::OnOkClicked() {
    if (CopyReport()) CDialog::OnOK();
}

void CDlgReading::OnCopyClicked() { CopyReport(); }

// A failed copy must never pass for one: the reader would paste whatever the
// clipboard held before, perhaps the previous patient's report.
bool CDlgReading::CopyReport() {
    if (!UpdateData(TRUE)) return false;
    if (CopyToClipboard()) {
        m_nCopiedSequence = GetClipboardSequenceNumber();
        return true;
    }
    AfxMessageBox(
        L"판독문을 클립보드에 복사하지 못했습니다. 클립보드에 남아 있는 이전 내용은 다른 환자의 판독문일 수 "
        L"있으니 붙여 넣지 마십시오. 잠시 뒤 다시 복사하십시오.",
        MB_OK | MB_ICONERROR);
    return false;
}

// Beside the text: its language, so that Windows converts it through the Korean
// code page for a program that pastes ANSI text whatever input language was
// active at the copy; and, the report being clinical text, a "no" to the cloud
// clipboard and to the clipboard history (Win+V), where on a reading-room PC
// shared by several readers earlier patients' reports would stay one key away
// from the next paste. Nothing asks clipboard monitors to look away: remote-
// desktop redirection, through which readers paste into a remote reporting
// system, carries the report as ever. Without the language the text is still
// whole (Windows then takes the input language's): the copy stands. Without a
// "no" the report could be kept or leave the hospital: the clipboard is left
// empty and the copy failed.
bool CDlgReading::CopyToClipboard() {
    CClipboard clipboard(m_hWnd);
    if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
    if (!PutOnClipboard(CF_UNICODETEXT, m_strReport.c_str(), (m_strReport.size() + 1) * sizeof(wchar_t))) return false;
    PutOnClipboard(CF_LOCALE, &REPORT_LOCALE, sizeof REPORT_LOCALE);
    for (const wchar_t* name : NOT_KEPT_FORMATS) {
        const UINT nFormat = RegisterClipboardFormatW(name);
        if (!nFormat || !PutOnClipboard(nFormat, &NOT_KEPT, sizeof NOT_KEPT)) {
            EmptyClipboard();
            return false;
        }
    }
    return true;
}
