#include "WinApp.h"

#include "Dialog.h"

namespace {

CWinApp* theApp = nullptr;

CString ModuleBaseName() {
    CString path(MAX_PATH, L'\0');
    for (;;) {
        DWORD copied = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (copied < path.size()) {
            path.resize(copied);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    CString name = slash == CString::npos ? path : path.substr(slash + 1);
    size_t dot = name.find_last_of(L'.');
    return dot == CString::npos ? name : name.substr(0, dot);
}

}  // namespace

CWinApp::CWinApp() : m_strAppName(ModuleBaseName()) { theApp = this; }

CWinApp::~CWinApp() {
    if (theApp == this) theApp = nullptr;
}

CWinApp* AfxGetApp() { return theApp; }

int AfxMessageBox(const CString& text, UINT nType) {
    HWND owner = GetActiveWindow();
    if (!owner && theApp && theApp->m_pMainWnd) owner = theApp->m_pMainWnd->GetSafeHwnd();
    const wchar_t* caption = theApp ? theApp->m_strAppName.c_str() : nullptr;
    return MessageBoxW(owner, text.c_str(), caption, nType);
}

CString LoadResourceString(UINT nID) {
    // With a zero buffer size LoadString hands out a pointer into the resource itself.
    const wchar_t* text = nullptr;
    int length = LoadStringW(GetModuleHandleW(nullptr), nID, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? CString(text, static_cast<size_t>(length)) : CString();
}
