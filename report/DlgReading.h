#pragma once
#include "framework/Dialog.h"
#include "res/resource.h"

// The composed report, editable, with copying to the clipboard.
class CDlgReading : public CDialog {
    DECLARE_DYNAMIC(CDlgReading)

public:
    explicit CDlgReading(HWND hWndParent);
    ~CDlgReading() override;

    enum { IDD = IDD_REPORT };

    CString m_strReport;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOkClicked();
    void OnCopyClicked();
    // Puts m_strReport on the clipboard as Unicode text; fails silently.
    void CopyToClipboard();

    DECLARE_MESSAGE_MAP()
};
