#pragma once
#include "framework/Dialog.h"
#include "res/resource.h"

// The About box, opened from the form's system menu.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(HWND hWndParent) : CDialog(IDD, hWndParent) {}

    enum { IDD = IDD_ABOUTBOX };
};
