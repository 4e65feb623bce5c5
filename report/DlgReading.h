#pragma once
#include "framework/Dialog.h"
#include "res/resource.h"

// The composed report, editable, with copying to the clipboard.
class CDlgReading : public CDialog {
public:
    explicit CDlgReading(HWND hWndParent);

    enum { IDD = IDD_REPORT };

    CString m_strReport;
    // The clipboard's sequence number after the last copy of the report; 0: not copied.
    DWORD m_nCopiedSequence = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOkClicked();
    void OnCopyClicked();
    // Brings the edited text into m_strReport and copies it; says so when it could not.
    bool CopyReport();
    // Puts m_strReport on the clipboard as Unicode text; true only once the clipboard holds it.
    bool CopyToClipboard();

    DECLARE_MESSAGE_MAP()
};
