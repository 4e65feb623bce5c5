// What the form shows around its contents: category font, logo, About box, icon.
#include "PulmetraDlg.h"

#include "app/AboutDlg.h"

namespace {

constexpr int LOGO_MARGIN = 16;
constexpr int LOGO_RIGHT_INSET = 2;
constexpr int CATEGORY_FONT_SCALE = 4;

RECT ChildRect(HWND hWndParent, HWND hWndChild) {
    RECT rect;
    GetWindowRect(hWndChild, &rect);
    MapWindowPoints(nullptr, hWndParent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// A copy of the bitmap drawn into the new size with smoothing, for display scales above 100 %.
HBITMAP ScaleBitmap(HBITMAP hSource, int nSourceWidth, int nSourceHeight, int nWidth, int nHeight) {
    HDC hScreen = GetDC(nullptr);
    HDC hFrom = CreateCompatibleDC(hScreen);
    HDC hTo = CreateCompatibleDC(hScreen);
    HBITMAP hScaled = CreateCompatibleBitmap(hScreen, nWidth, nHeight);
    if (hFrom && hTo && hScaled) {
        HGDIOBJ hOldFrom = SelectObject(hFrom, hSource);
        HGDIOBJ hOldTo = SelectObject(hTo, hScaled);
        SetStretchBltMode(hTo, HALFTONE);
        SetBrushOrgEx(hTo, 0, 0, nullptr);
        StretchBlt(hTo, 0, 0, nWidth, nHeight, hFrom, 0, 0, nSourceWidth, nSourceHeight, SRCCOPY);
        SelectObject(hTo, hOldTo);
        SelectObject(hFrom, hOldFrom);
    }
    if (hTo) DeleteDC(hTo);
    if (hFrom) DeleteDC(hFrom);
    ReleaseDC(nullptr, hScreen);
    return hScaled;
}

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

void CPulmetraDlg::PlaceLogo() {
    HWND hLogo = GetDlgItem(IDC_LOGO);
    RECT logo = ChildRect(m_hWnd, hLogo);
    const int nBitmapWidth = logo.right - logo.left;
    const int nBitmapHeight = logo.bottom - logo.top;
    RECT group = ChildRect(m_hWnd, GetDlgItem(IDC_NODULE_GROUP));
    RECT client;
    GetClientRect(m_hWnd, &client);

    const int nTop = client.top + LOGO_MARGIN;
    const int nHeight = group.top - nTop - LOGO_MARGIN;
    // Without a bitmap there is no ratio to keep.
    if (nBitmapHeight <= 0 || nHeight <= 0) return;
    const int nWidth = static_cast<int>(static_cast<float>(nHeight) / static_cast<float>(nBitmapHeight) *
                                            static_cast<float>(nBitmapWidth) + 0.5f);
    const int nLeft = group.right - nWidth - LOGO_RIGHT_INSET;

    const bool bResized = nWidth != nBitmapWidth || nHeight != nBitmapHeight;
    HBITMAP hBitmap = bResized ? reinterpret_cast<HBITMAP>(SendMessageW(hLogo, STM_GETIMAGE, IMAGE_BITMAP, 0)) : nullptr;
    if (HBITMAP hScaled = hBitmap ? ScaleBitmap(hBitmap, nBitmapWidth, nBitmapHeight, nWidth, nHeight) : nullptr) {
        // Once given an image, the control deletes none: the one it hands back,
        // loaded from the template, is ours to delete, and the new one is kept.
        HBITMAP hReplaced =
            reinterpret_cast<HBITMAP>(SendMessageW(hLogo, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hScaled)));
        if (hReplaced && hReplaced != m_bmpLogoScaled.GetSafeHandle()) DeleteObject(hReplaced);
        m_bmpLogoScaled.Attach(hScaled);
    }
    MoveWindow(hLogo, nLeft, nTop, nWidth, nHeight, TRUE);
}

// The resource's own small image, sharp at every display scale, rather than the
// big icon shrunk; the big one stays for the window's other uses.
void CPulmetraDlg::SetSmallIcon() {
    m_iconSmall.Attach(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME),
                                                     IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                     GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
    const HICON hSmall = m_iconSmall.GetSafeHandle() ? m_iconSmall.GetSafeHandle() : m_hIcon;
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hSmall));
}

void CPulmetraDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout(m_hWnd);
        dlgAbout.DoModal();
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
