// The questions that could throw the exam away ("종료", Escape, "지우기", and
// Windows' own before a sign-out, shutdown or update restart): while the form
// holds anything the reader entered, a reflexive Enter answers 아니요, and
// Windows is told to wait.
#include "PulmetraDlg.h"

#include <oleauto.h>

#include "ComboItems.h"
#include "base/NumberText.h"
#include "framework/MessageBox.h"
#include "framework/WindowState.h"

namespace {

// Shown by Windows beside the program on the screen of programs that keep it from ending the session.
constexpr wchar_t SESSION_END_REASON[] = L"입력 중인 검사가 있습니다. 판독문을 복사한 뒤 Pulmetra를 종료하십시오.";

}  // namespace

// Read from the controls as they stand, where the form keeps its entries. A
// disabled control counts too: it shows its content again once re-enabled.
bool CPulmetraDlg::HoldsEntries() const {
    if (m_listNodules.GetItemCount() > 0) return true;
    if (!IsBaselineCt() || GetComboSel(IDC_CORONARY_SEVERITY) != ItemOfValue(DEGREE_ITEMS, DEGREE_MILD)) return true;
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

// The program keeps nothing between runs, so an exam on the form would be gone
// with the session. Windows lists the reason after this answer, so it is given
// here, where the form's state is known without watching every entry; it goes
// when the form is emptied or closed, or when a later end finds the form empty.
// Should Windows end the session regardless, nothing is left to do.
BOOL CPulmetraDlg::OnQueryEndSession() {
    if (!HoldsEntries()) {
        m_shutdownBlockReason.Withdraw();
        return TRUE;
    }
    m_shutdownBlockReason.Give(m_hWnd, SESSION_END_REASON);
    return FALSE;
}
