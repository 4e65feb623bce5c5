#include "MessageBox.h"

namespace {

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

// Found before any box is shown, when memory may already be short.
const CString APP_NAME = ModuleBaseName();

}  // namespace

int AfxMessageBox(LPCWSTR lpszText, UINT nType) {
    const HWND owner = GetActiveWindow();
    return MessageBoxW(owner, lpszText, APP_NAME.c_str(), owner ? nType : nType | MB_TASKMODAL);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType) {
    // Room for any prompt of the table, on the stack: the heap may be exhausted.
    constexpr int PROMPT_ROOM = 512;
    wchar_t prompt[PROMPT_ROOM];
    if (LoadStringW(GetModuleHandleW(nullptr), nIDPrompt, prompt, PROMPT_ROOM) <= 0) prompt[0] = L'\0';
    return AfxMessageBox(prompt, nType);
}

void ReportFailure(const wchar_t* prompt, DWORD dwError) {
    CString text = prompt;
    if (dwError != ERROR_SUCCESS)
        if (const CString reason = SystemErrorText(dwError); !reason.empty()) text += L"\n\n" + reason;
    AfxMessageBox(text.c_str(), MB_OK | MB_ICONERROR);
}

CString LoadResourceString(UINT nID) {
    // With a zero buffer size LoadString hands out a pointer into the resource itself.
    const wchar_t* text = nullptr;
    int length = LoadStringW(GetModuleHandleW(nullptr), nID, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? CString(text, static_cast<size_t>(length)) : CString();
}

CString SystemErrorText(DWORD dwError) {
    wchar_t* buffer = nullptr;
    const DWORD nLength =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, dwError, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    CString text = buffer ? CString(buffer, nLength) : CString();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}
