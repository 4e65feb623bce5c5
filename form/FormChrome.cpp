// What the form shows around its contents: category font, About box, icon.
#include "PulmetraDlg.h"

#include "AboutDlg.h"
#include "framework/MessageBox.h"

namespace {

constexpr int CATEGORY_FONT_SCALE = 4;
constexpr wchar_t ABOUT_FAILED[] = L"Pulmetra 정보 창을 열지 못했습니다. 입력한 내용은 그대로 있습니다.";

}  // namespace

void CPulmetraDlg::CreateCategoryFont() {
    LOGFONTW dialogFont{};
    HFONT hDialogFont = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    if (hDialogFont) GetObjectW(hDialogFont, sizeof dialogFont, &dialogFont);

    LOGFONTW font{};
    font.lfHeight = dialogFont.lfHeight * CATEGORY_FONT_SCALE;  // keeps the sign: a character height stays one
    font.lfWeight = FW_BOLD;
    font.lfCharSet = ANSI_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = FF_SWISS | DEFAULT_PITCH;
    wcscpy_s(font.lfFaceName, L"Arial");
    m_fontCategory.CreateFontIndirect(font);
}

// The resource's own small image, sharp at every display scale, rather than the
// big icon shrunk; the big one stays for the window's other uses.
void CPulmetraDlg::SetSmallIcon() {
    m_iconSmall.Attach(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
    const HICON hSmall = m_iconSmall.GetSafeHandle() ? m_iconSmall.GetSafeHandle() : m_hIcon;
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hSmall));
}

void CPulmetraDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout(m_hWnd);
        if (dlgAbout.DoModal() == -1) ReportFailure(ABOUT_FAILED, GetLastError());
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

// The minimised window shows the program icon centred.
void CPulmetraDlg::OnPaint() {
    if (!IsIconic(m_hWnd)) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(m_hWnd);
    SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(m_hWnd, &rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    DrawIcon(dc.GetSafeHdc(), x, y, m_hIcon);
}

HCURSOR CPulmetraDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }
