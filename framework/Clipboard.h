#pragma once
#include <windows.h>

#include <cstring>

// Other programs (clipboard history, remote-desktop clipboard sync, the reporting
// system) open the clipboard for a moment after every change, so an open that
// fails is tried again for a short while.
inline constexpr int CLIPBOARD_OPEN_TRIES = 10;
inline constexpr DWORD CLIPBOARD_RETRY_MS = 30;

// The clipboard, open for the lifetime of this object and closed on every path.
class CClipboard {
public:
    explicit CClipboard(HWND hWndOwner) {
        for (int nTry = 0; nTry < CLIPBOARD_OPEN_TRIES && !m_bOpen; ++nTry) {
            if (nTry > 0) Sleep(CLIPBOARD_RETRY_MS);
            m_bOpen = OpenClipboard(hWndOwner) != FALSE;
        }
    }
    ~CClipboard() {
        if (m_bOpen) CloseClipboard();
    }
    CClipboard(const CClipboard&) = delete;
    CClipboard& operator=(const CClipboard&) = delete;
    bool IsOpen() const { return m_bOpen; }

private:
    bool m_bOpen = false;
};

// A movable global memory block, freed unless handed over with Release.
class CGlobalMemory {
public:
    explicit CGlobalMemory(SIZE_T nBytes) : m_hMem(GlobalAlloc(GMEM_MOVEABLE, nBytes)) {}
    ~CGlobalMemory() {
        if (m_hMem) GlobalFree(m_hMem);
    }
    CGlobalMemory(const CGlobalMemory&) = delete;
    CGlobalMemory& operator=(const CGlobalMemory&) = delete;

    HGLOBAL Get() const { return m_hMem; }
    // Once another owner (the clipboard) has accepted the block, it is never touched again.
    void Release() { m_hMem = nullptr; }

private:
    HGLOBAL m_hMem;
};

// Puts a copy of the data on the open clipboard in the given format; true once
// the clipboard holds it (the block is then the clipboard's).
inline bool PutOnClipboard(UINT nFormat, const void* pData, size_t nBytes) {
    CGlobalMemory block(nBytes);
    if (!block.Get()) return false;
    void* pBlock = GlobalLock(block.Get());
    if (!pBlock) return false;
    std::memcpy(pBlock, pData, nBytes);
    GlobalUnlock(block.Get());
    if (!SetClipboardData(nFormat, block.Get())) return false;
    block.Release();
    return true;
}
