// The logo: placed in the band above the nodule group and drawn on the dialog's
// face colour, whatever colours the reader's Windows uses.
#include "PulmetraDlg.h"

#include <algorithm>
#include <array>
#include <span>

#include "framework/WindowState.h"

namespace {

constexpr int LOGO_MARGIN = 16;
constexpr int LOGO_RIGHT_INSET = 2;
// The bitmap has no alpha: it was drawn on Windows' default face colour, #F0F0F0
// (res/art/make-art.sh), the same in each channel.
constexpr int LOGO_BACKGROUND = 0xF0;
constexpr int FULL = 255;  // opacities and shares in 255ths

// For each channel value, how much of the logo it shows: the least opacity with
// which some colour laid over the background gives it.
constexpr std::array<int, 256> OPACITY = [] {
    std::array<int, 256> opacity{};
    for (int n = 0; n < 256; ++n)
        opacity[n] = n >= LOGO_BACKGROUND ? (n - LOGO_BACKGROUND) * FULL / (FULL - LOGO_BACKGROUND)
                                          : (LOGO_BACKGROUND - n) * FULL / LOGO_BACKGROUND;
    return opacity;
}();

BYTE OnFace(BYTE channel, int nTransparency, int nFace) {
    const int nShift = nTransparency * (nFace - LOGO_BACKGROUND);
    const int nValue = channel + (nShift >= 0 ? nShift + FULL / 2 : nShift - FULL / 2) / FULL;
    return static_cast<BYTE>(std::clamp(nValue, 0, FULL));
}

// Each pixel read as the logo's colour over the background, with the least
// opacity that explains it; the face takes the background's place. Background
// becomes the face colour exactly, the logo's own colours stay, and a smoothed
// edge keeps its share of each.
void PutOnFace(std::span<RGBQUAD> pixels, COLORREF face) {
    for (RGBQUAD& pixel : pixels) {
        const int nTransparency =
            FULL - std::max({OPACITY[pixel.rgbRed], OPACITY[pixel.rgbGreen], OPACITY[pixel.rgbBlue]});
        pixel.rgbRed = OnFace(pixel.rgbRed, nTransparency, GetRValue(face));
        pixel.rgbGreen = OnFace(pixel.rgbGreen, nTransparency, GetGValue(face));
        pixel.rgbBlue = OnFace(pixel.rgbBlue, nTransparency, GetBValue(face));
    }
}

// A copy of the bitmap at the given size (smoothed when scaled), on the face colour.
HBITMAP DrawOnFace(HBITMAP hSource, SIZE source, SIZE size, COLORREF face) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hDrawn = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (!hDrawn) return nullptr;

    HDC hFrom = CreateCompatibleDC(nullptr);
    HDC hTo = CreateCompatibleDC(nullptr);
    bool bDrawn = false;
    if (hFrom && hTo) {
        HGDIOBJ hOldFrom = SelectObject(hFrom, hSource);
        HGDIOBJ hOldTo = SelectObject(hTo, hDrawn);
        if (size.cx == source.cx && size.cy == source.cy) {
            bDrawn = BitBlt(hTo, 0, 0, size.cx, size.cy, hFrom, 0, 0, SRCCOPY) != FALSE;
        } else {
            SetStretchBltMode(hTo, HALFTONE);
            SetBrushOrgEx(hTo, 0, 0, nullptr);
            bDrawn = StretchBlt(hTo, 0, 0, size.cx, size.cy, hFrom, 0, 0, source.cx, source.cy, SRCCOPY) != FALSE;
        }
        SelectObject(hTo, hOldTo);
        SelectObject(hFrom, hOldFrom);
    }
    if (hTo) DeleteDC(hTo);
    if (hFrom) DeleteDC(hFrom);
    if (!bDrawn) {
        DeleteObject(hDrawn);
        return nullptr;
    }
    GdiFlush();  // the drawing is in the bits before they are read
    PutOnFace({static_cast<RGBQUAD*>(pBits), static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy)}, face);
    return hDrawn;
}

}  // namespace

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
    const int nWidth = static_cast<int>(
        static_cast<float>(nHeight) / static_cast<float>(nBitmapHeight) * static_cast<float>(nBitmapWidth) + 0.5f);
    const int nLeft = group.right - nWidth - LOGO_RIGHT_INSET;
    MoveWindow(hLogo, nLeft, nTop, nWidth, nHeight, TRUE);
    DrawLogo();
}

// At the control's size, from the bitmap the control loaded from the template.
void CPulmetraDlg::DrawLogo() {
    HWND hLogo = GetDlgItem(IDC_LOGO);
    HBITMAP hSource = m_bmpLogoSource.GetSafeHandle();
    if (!hSource) hSource = reinterpret_cast<HBITMAP>(SendMessageW(hLogo, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP source{};
    RECT client{};
    GetClientRect(hLogo, &client);
    if (!hSource || !GetObjectW(hSource, sizeof source, &source) || client.right <= 0 || client.bottom <= 0) return;
    HBITMAP hDrawn = DrawOnFace(hSource, {source.bmWidth, source.bmHeight}, {client.right, client.bottom},
                                GetSysColor(COLOR_3DFACE));
    if (!hDrawn) return;
    // Once given an image, the control deletes none: the one it hands back is
    // ours, the first time the template's, kept to draw from, later the logo drawn before.
    HBITMAP hReplaced =
        reinterpret_cast<HBITMAP>(SendMessageW(hLogo, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hDrawn)));
    if (!m_bmpLogoSource.GetSafeHandle()) m_bmpLogoSource.Attach(hReplaced);
    m_bmpLogo.Attach(hDrawn);
}

// Top-level windows hear of new system colours; the common controls among the
// form's children (the list, the date picker) keep colours of their own and hear
// of them only from their parent.
void CPulmetraDlg::OnSysColorChange() {
    for (HWND hChild = GetWindow(m_hWnd, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
        SendMessageW(hChild, WM_SYSCOLORCHANGE, 0, 0);
    DrawLogo();
}
