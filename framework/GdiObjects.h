#pragma once
#include <windows.h>

#include <utility>

// How many handles the owners below hold now. Tests count them, as they count
// nodule records, where the platform counts no GDI objects (Wine's
// GetGuiResources answers 0).
class CGdiHandles {
public:
    static int LiveCount() { return s_nLive; }

protected:
    static inline int s_nLive = 0;
};

// Owns one handle and frees it with Free when it is replaced, reset or destroyed.
// Neither copied nor moved: a copy would free it twice.
template <class Handle, auto Free> class CGdiHandleOwner : public CGdiHandles {
public:
    CGdiHandleOwner() = default;
    ~CGdiHandleOwner() { Reset(); }
    CGdiHandleOwner(const CGdiHandleOwner&) = delete;
    CGdiHandleOwner& operator=(const CGdiHandleOwner&) = delete;

    void Attach(Handle handle) {
        Reset();
        m_handle = handle;
        if (m_handle) ++s_nLive;
    }
    void Reset() {
        if (!m_handle) return;
        Free(std::exchange(m_handle, nullptr));
        --s_nLive;
    }
    Handle GetSafeHandle() const { return m_handle; }

private:
    Handle m_handle = nullptr;
};

class CFont : public CGdiHandleOwner<HFONT, ::DeleteObject> {
public:
    bool CreateFontIndirect(const LOGFONTW& logFont) {
        Attach(::CreateFontIndirectW(&logFont));
        return GetSafeHandle() != nullptr;
    }
    void DeleteObject() { Reset(); }
};

class CBitmap : public CGdiHandleOwner<HBITMAP, ::DeleteObject> {};

// An icon made for this program (LoadImage without LR_SHARED).
class CIcon : public CGdiHandleOwner<HICON, ::DestroyIcon> {};

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
