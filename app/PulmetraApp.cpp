#include "PulmetraApp.h"

#include "form/PulmetraDlg.h"

CPulmetraApp theApp;

BOOL CPulmetraApp::InitInstance() {
    CWinApp::InitInstance();
    SetRegistryKey(L"Pulmetra");

    CPulmetraDlg dlg;
    m_pMainWnd = &dlg;
    // The only way out of the form is IDCANCEL after the question; nothing to examine.
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // The form was the whole program: no message loop follows.
    return FALSE;
}
