#pragma once
#include <windows.h>

#include "base/OleDateTime.h"
#include "base/WideString.h"

class CDialogControls;
class CListCtrl;

// One run of DoDataExchange: loads members into controls or saves and validates
// them. A failed check shows its prompt, focuses the control and stops the run:
// every later exchange of the same run does nothing.
class CDataExchange {
public:
    CDataExchange(const CDialogControls& controls, bool bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_controls(controls) {}

    bool Succeeded() const { return !m_bFailed; }
    bool Stopped() const { return m_bFailed; }
    HWND PrepareEditCtrl(int nIDC);
    HWND PrepareCtrl(int nIDC);
    // Shows the prompt (OK, exclamation icon), focuses the last prepared
    // control with its text selected, and stops the exchange.
    void Fail(const CString& prompt);

    const bool m_bSaveAndValidate;

private:
    const CDialogControls& m_controls;
    HWND m_hWndLastControl = nullptr;
    bool m_bLastEdit = false;
    bool m_bFailed = false;
};

void DDX_Control(CDataExchange* pDX, int nIDC, CListCtrl& control);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Load: shortest general form, up to 6 significant digits. Save: a number must
// stand at the start of the text (after blanks); what follows it is ignored.
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
// Refuses a value outside [minVal, maxVal], and also NaN, which no comparison catches.
void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minVal, float maxVal);
void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, COleDateTime& value);
