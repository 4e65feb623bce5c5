#pragma once
#include <windows.h>

#include <utility>

// How many handles the owners below hold now. Tests count them, as they count
// nodule records, where the platform counts no GDI objects (Wine's
// GetGuiResources answers 0).
class CGdiHandles {
public:
    static int LiveCount() { return s_nLive; }
    static void Took(const void* handle) {
        if (handle) ++s_nLive;
    }
    static void Gave() { --s_nLive; }

private:
    static inline int s_nLive = 0;
};

// Owns one font; deletes it when reset or destroyed. Move-only: a copy would delete twice.
class CFont {
public:
    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;
    CFont(CFont&& other) noexcept : m_hFont(std::exchange(other.m_hFont, nullptr)) {}
    CFont& operator=(CFont&& other) noexcept {
        if (this != &other) {
            DeleteObject();
            m_hFont = std::exchange(other.m_hFont, nullptr);
        }
        return *this;
    }

    bool CreateFontIndirect(const LOGFONTW& logFont) {
        DeleteObject();
        m_hFont = ::CreateFontIndirectW(&logFont);
        CGdiHandles::Took(m_hFont);
        return m_hFont != nullptr;
    }
    void DeleteObject() {
        if (!m_hFont) return;
        ::DeleteObject(std::exchange(m_hFont, nullptr));
        CGdiHandles::Gave();
    }
    HFONT GetSafeHandle() const { return m_hFont; }

private:
    HFONT m_hFont = nullptr;
};

// Owns one bitmap.
class CBitmap {
public:
    CBitmap() = default;
    ~CBitmap() { DeleteObject(); }
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    void Attach(HBITMAP hBitmap) {
        DeleteObject();
        m_hBitmap = hBitmap;
        CGdiHandles::Took(m_hBitmap);
    }
    void DeleteObject() {
        if (!m_hBitmap) return;
        ::DeleteObject(std::exchange(m_hBitmap, nullptr));
        CGdiHandles::Gave();
    }
    HBITMAP GetSafeHandle() const { return m_hBitmap; }

private:
    HBITMAP m_hBitmap = nullptr;
};

// Owns one icon made for this program (LoadImage without LR_SHARED); destroys it.
class CIcon {
public:
    CIcon() = default;
    ~CIcon() { DestroyIcon(); }
    CIcon(const CIcon&) = delete;
    CIcon& operator=(const CIcon&) = delete;

    void Attach(HICON hIcon) {
        DestroyIcon();
        m_hIcon = hIcon;
        CGdiHandles::Took(m_hIcon);
    }
    void DestroyIcon() {
        if (!m_hIcon) return;
        ::DestroyIcon(std::exchange(m_hIcon, nullptr));
        CGdiHandles::Gave();
    }
    HICON GetSafeHandle() const { return m_hIcon; }

private:
    HICON m_hIcon = nullptr;
};

// BeginPaint and EndPaint around one WM_PAINT.
class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(BeginPaint(hWnd, &m_ps)) {}
    ~CPaintDC() { EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    HDC GetSafeHdc() const { return m_hDC; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};
    HDC m_hDC;
};
