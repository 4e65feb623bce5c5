#pragma once
// The Windows clipboard as a test prepares and reads it, a second thread that
// keeps it open the way another program would, and another program's reading.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <sstream>
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

// The clipboard as another program finds it (list_clipboard.exe, built beside the
// test program): each format's bytes by its name, "#13" for the standard format 13.
inline std::map<std::string, std::string> ClipboardFormatsElsewhere() {
    std::wstring program(MAX_PATH, L'\0');
    program.resize(GetModuleFileNameW(nullptr, program.data(), MAX_PATH));
    program = L"\"" + program.substr(0, program.find_last_of(L'\\') + 1) + L"list_clipboard.exe\"";
    FILE* pOutput = _wpopen(program.c_str(), L"rt");
    std::string output;
    char chunk[4096];
    for (size_t n; pOutput && (n = std::fread(chunk, 1, sizeof chunk, pOutput)) > 0;) output.append(chunk, n);
    if (pOutput) _pclose(pOutput);

    std::map<std::string, std::string> formats;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string number, name, hex, bytes;
        if (!(fields >> number >> name)) continue;
        fields >> hex;
        for (size_t i = 0; i + 1 < hex.size(); i += 2)
            bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        formats[name == "-" ? "#" + number : name] = bytes;
    }
    return formats;
}
