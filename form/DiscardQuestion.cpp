// The questions that could throw the exam away ("종료", Escape, "지우기"): while
// the form holds anything the reader entered, a reflexive Enter answers 아니요.
#include "PulmetraDlg.h"

#include <oleauto.h>

#include "framework/WinApp.h"
#include "model/NumberText.h"

namespace {

bool IsOfClass(HWND hWnd, const wchar_t* className) {
    wchar_t name[16] = {};
    GetClassNameW(hWnd, name, 16);
    return lstrcmpiW(name, className) == 0;
}

}  // namespace

// Read from the controls as they stand, where the form keeps its entries. A
// disabled control counts too: it shows its content again once re-enabled.
bool CPulmetraDlg::HoldsEntries() const {
    if (m_listNodules.GetItemCount() > 0) return true;
    if (GetComboSel(IDC_CT_TYPE) != 0 || GetComboSel(IDC_CORONARY_SEVERITY) != 0) return true;
    // The dose edit shows the reset's dose 0 as the load writes it.
    if (GetControlText(IDC_CTDIVOL) != FormatGeneral(0.0) || PriorCtDateEntered()) return true;
    for (HWND hChild = GetWindow(m_hWnd, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (IsOfClass(hChild, L"Button") && SendMessageW(hChild, BM_GETCHECK, 0, 0) != BST_UNCHECKED) return true;
        if (IsOfClass(hChild, L"Edit") && hChild != GetDlgItem(IDC_CTDIVOL) && GetWindowTextLengthW(hChild) > 0)
            return true;
    }
    return false;
}

// Compared by the day, which is all the picker shows.
bool CPulmetraDlg::PriorCtDateEntered() const {
    SYSTEMTIME shown{}, loaded{};
    if (SendMessageW(GetDlgItem(IDC_PRIOR_CT_DATE), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)) !=
            GDT_VALID ||
        m_dtPriorCtLoaded.m_status != COleDateTime::valid || !VariantTimeToSystemTime(m_dtPriorCtLoaded.m_dt, &loaded))
        return true;
    return shown.wYear != loaded.wYear || shown.wMonth != loaded.wMonth || shown.wDay != loaded.wDay;
}

int CPulmetraDlg::AskBeforeDiscarding(const wchar_t* question) const {
    const UINT nDefaultButton = HoldsEntries() ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
    return AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION | nDefaultButton);
}
