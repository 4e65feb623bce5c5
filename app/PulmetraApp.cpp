#include "PulmetraApp.h"

#include "form/PulmetraDlg.h"

CPulmetraApp theApp;

BOOL CPulmetraApp::InitInstance() {
    CWinApp::InitInstance();

    CPulmetraDlg dlg;
    // The only way out of the form is IDCANCEL after the question; a form that
    // could not be created has been reported.
    RunMainDialog(dlg);
    // The form was the whole program: no message loop follows.
    return FALSE;
}
