#pragma once
// The Windows clipboard as a test prepares and reads it, and a second thread
// that keeps it open the way another program would.
#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <thread>

// The whole Unicode text block on the clipboard, terminating zero included;
// nullopt when the clipboard holds no Unicode text or cannot be opened.
inline std::optional<std::wstring> ClipboardBlock() {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::wstring> block;
    if (HANDLE hData = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* pText = static_cast<const wchar_t*>(GlobalLock(hData))) {
            block.emplace(pText, GlobalSize(hData) / sizeof(wchar_t));
            GlobalUnlock(hData);
        }
    }
    CloseClipboard();
    return block;
}

// The Unicode text on the clipboard up to its terminating zero.
inline std::optional<std::wstring> ClipboardText() {
    std::optional<std::wstring> block = ClipboardBlock();
    if (block) block->resize(std::wcslen(block->c_str()));
    return block;
}

// Replaces the clipboard's contents with a text, as another program would.
inline bool PutClipboardText(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    const SIZE_T nBytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, nBytes);
    bool bPut = false;
    if (void* pData = hMem ? GlobalLock(hMem) : nullptr) {
        std::memcpy(pData, text.c_str(), nBytes);
        GlobalUnlock(hMem);
        bPut = SetClipboardData(CF_UNICODETEXT, hMem) != nullptr;
    }
    if (hMem && !bPut) GlobalFree(hMem);
    CloseClipboard();
    return bPut;
}

// Another thread with a window of its own opens the clipboard and keeps it
// open until this object goes, or for the given time; an open from this thread
// fails meanwhile.
class ClipboardHolder {
public:
    explicit ClipboardHolder(DWORD dwHoldMs = INFINITE)
        : m_dwHoldMs(dwHoldMs),
          m_hOpened(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          m_hRelease(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          m_thread([this] { Hold(); }) {
        WaitForSingleObject(m_hOpened, INFINITE);
    }
    ~ClipboardHolder() {
        SetEvent(m_hRelease);
        m_thread.join();
        CloseHandle(m_hOpened);
        CloseHandle(m_hRelease);
    }
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;

    bool Holds() const { return m_bHolds; }

private:
    void Hold() {
        HWND hOwner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        m_bHolds = hOwner && OpenClipboard(hOwner);
        SetEvent(m_hOpened);
        WaitForSingleObject(m_hRelease, m_dwHoldMs);
        if (m_bHolds) CloseClipboard();
        if (hOwner) DestroyWindow(hOwner);
    }

    DWORD m_dwHoldMs;
    HANDLE m_hOpened;
    HANDLE m_hRelease;
    bool m_bHolds = false;
    std::thread m_thread;
};
