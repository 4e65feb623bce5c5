#pragma once
#include <windows.h>

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
    // Runs the main dialog modally. One that cannot be created is reported, with
    // the system's reason, before the program ends.
    INT_PTR RunMainDialog(CDialog& dlg);
};

CWinApp* AfxGetApp();
