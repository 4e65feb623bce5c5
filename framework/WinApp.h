#pragma once
#include <windows.h>

#include "base/WideString.h"

class CDialog;

// The application object: exactly one global instance, whose InitInstance the
// program's entry point runs.
class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returns FALSE when the application has done its work and the process should end.
    virtual BOOL InitInstance() { return TRUE; }
    // Runs the main dialog modally as the main window. One that cannot be created
    // is reported, with the system's reason, before the program ends.
    INT_PTR RunMainDialog(CDialog& dlg);
    // Names the per-user key under which settings would go; nothing is read or written.
    void SetRegistryKey(const wchar_t* lpszRegistryKey) { m_strRegistryKey = lpszRegistryKey; }
    // The default help handler: the program ships no help content.
    void OnHelp() {}

    // The executable's file name without extension; caption of every message box.
    CString m_strAppName;
    CString m_strRegistryKey;
    CDialog* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();

// A string of the program's string table; empty when it has none of that number.
CString LoadResourceString(UINT nID);

// A message box captioned with the application name, owned by the active window.
// It allocates nothing, so it can still tell of a failed allocation.
int AfxMessageBox(LPCWSTR lpszText, UINT nType);
// The same with a text of the program's string table, read without allocating.
int AfxMessageBox(UINT nIDPrompt, UINT nType);

// A failure the reader must know of: the prompt, then the system's own words
// for the error where there is one (dwError not ERROR_SUCCESS).
void ReportFailure(const wchar_t* prompt, DWORD dwError);

// The system's own text for an error code, without its line break; empty when it has none.
CString SystemErrorText(DWORD dwError);
