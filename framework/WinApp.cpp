#include "WinApp.h"

#include "Dialog.h"
#include "FrameworkResource.h"
#include "MessageBox.h"

namespace {

CWinApp* theApp = nullptr;

}  // namespace

CWinApp::CWinApp() { theApp = this; }

CWinApp::~CWinApp() {
    if (theApp == this) theApp = nullptr;
}

CWinApp* AfxGetApp() { return theApp; }

INT_PTR CWinApp::RunMainDialog(CDialog& dlg) {
    const INT_PTR nResult = dlg.DoModal();
    if (nResult == -1) ReportFailure(LoadResourceString(AFX_IDP_FAILED_TO_CREATE_DIALOG).c_str(), GetLastError());
    return nResult;
}
