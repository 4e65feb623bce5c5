#include "DataExchange.h"

#include <commctrl.h>
#include <oleauto.h>

#include <cfloat>
#include <cmath>
#include <utility>

#include "DialogControls.h"
#include "FrameworkResource.h"
#include "ListCtrl.h"
#include "MessageBox.h"
#include "WindowText.h"
#include "base/NumberText.h"

HWND CDataExchange::PrepareCtrl(int nIDC) {
    m_hWndLastControl = m_controls.Get(nIDC);
    m_bLastEdit = false;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWnd = PrepareCtrl(nIDC);
    m_bLastEdit = true;
    return hWnd;
}

void CDataExchange::Fail(const CString& prompt) {
    m_bFailed = true;
    AfxMessageBox(prompt.c_str(), MB_OK | MB_ICONEXCLAMATION);
    if (m_hWndLastControl) {
        SetFocus(m_hWndLastControl);
        if (m_bLastEdit) SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CListCtrl& control) {
    if (pDX->Stopped() || control.m_hWnd) return;
    control.m_hWnd = pDX->PrepareCtrl(nIDC);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    if (pDX->Stopped()) return;
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = GetWindowTextString(hWnd);
    else
        SetWindowTextW(hWnd, value.c_str());
}

void DDX_Text(CDataExchange* pDX, int nIDC, float& value) {
    if (pDX->Stopped()) return;
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        SetWindowTextW(hWnd, FormatGeneral(value).c_str());
        return;
    }
    std::optional<double> number = ScanNumber(GetWindowTextString(hWnd));
    if (!number) {
        pDX->Fail(LoadResourceString(AFX_IDP_PARSE_REAL));
        return;
    }
    // Beyond float's range the value becomes infinite, which the range check refuses.
    double d = *number;
    if (std::isfinite(d) && std::fabs(d) > FLT_MAX) d = std::copysign(HUGE_VAL, d);
    value = static_cast<float>(d);
}

void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minVal, float maxVal) {
    if (pDX->Stopped() || !pDX->m_bSaveAndValidate) return;
    if (value >= minVal && value <= maxVal) return;
    CString prompt = LoadResourceString(AFX_IDP_PARSE_REAL_RANGE);
    for (const auto& [placeholder, bound] : {std::pair{L"%1", minVal}, std::pair{L"%2", maxVal}})
        if (const size_t at = prompt.find(placeholder); at != CString::npos)
            prompt.replace(at, 2, FormatGeneral(bound));
    pDX->Fail(prompt);
}

void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, COleDateTime& value) {
    if (pDX->Stopped()) return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    SYSTEMTIME time{};
    if (pDX->m_bSaveAndValidate) {
        LRESULT state = SendMessageW(hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
        if (state == GDT_VALID) {
            double variant = 0;
            value.m_status = SystemTimeToVariantTime(&time, &variant) ? COleDateTime::valid : COleDateTime::invalid;
            value.m_dt = variant;
        } else {
            value = COleDateTime{0.0, COleDateTime::null};
        }
        return;
    }
    if (value.m_status == COleDateTime::valid && VariantTimeToSystemTime(value.m_dt, &time))
        SendMessageW(hWnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    else
        SendMessageW(hWnd, DTM_SETSYSTEMTIME, GDT_NONE, 0);
}
