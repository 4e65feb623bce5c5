#pragma once
#include <windows.h>

#include "base/WideString.h"

// The reason a window gives Windows for holding up the end of the session:
// Windows lists it beside the program on the screen that names what keeps it
// from signing out, shutting down or restarting. The text given is kept too,
// for Wine, which accepts the calls but keeps no reason to read back.
class CShutdownBlockReason {
public:
    CShutdownBlockReason() = default;
    CShutdownBlockReason(const CShutdownBlockReason&) = delete;
    CShutdownBlockReason& operator=(const CShutdownBlockReason&) = delete;

    // Gives the reason, or replaces the one given before.
    void Give(HWND hWnd, const wchar_t* reason) {
        ShutdownBlockReasonCreate(hWnd, reason);
        m_hWnd = hWnd;
        m_strReason = reason;
    }
    // Takes the reason back; nothing to do when none was given.
    void Withdraw() {
        if (!m_hWnd) return;
        ShutdownBlockReasonDestroy(m_hWnd);
        m_hWnd = nullptr;
        m_strReason.clear();
    }
    // The reason now given; empty when none is.
    const CString& Given() const { return m_strReason; }

private:
    HWND m_hWnd = nullptr;
    CString m_strReason;
};
