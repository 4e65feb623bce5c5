// Emptying the form, and leaving it.
#include "PulmetraDlg.h"

#include <memory>
#include <utility>
#include <vector>

#include "framework/WinApp.h"

namespace {

constexpr int CLEARED_CHECKS[] = {
    IDC_PRIOR_CANCER,    IDC_ENDOBRONCHIAL,     IDC_CONSOLIDATION,  IDC_ATELECTASIS,
    IDC_LYMPHADENOPATHY, IDC_SUGGESTIVE_OTHER,  IDC_CORONARY,       IDC_EMPHYSEMA,
    IDC_INTERSTITIAL,    IDC_PNEUMONIA,         IDC_EXTRAPULMONARY, IDC_ANEURYSM,
    IDC_EFFUSION,        IDC_SIGNIFICANT_OTHER, IDC_INACTIVE_TB,    IDC_OTHER_FINDING,
};
constexpr int EMPTIED_EDITS[] = {
    IDC_ENDOBRONCHIAL_NOTE,    IDC_CONSOLIDATION_NOTE,     IDC_ATELECTASIS_NOTE,   IDC_LYMPHADENOPATHY_NOTE,
    IDC_SUGGESTIVE_OTHER_NOTE, IDC_SIGNIFICANT_OTHER_NOTE, IDC_OTHER_FINDING_NOTE, IDC_COMMENTS,
};

}  // namespace

// Back to the starting state. Nothing here runs a handler: setting a selection,
// a check state or a text from the program sends no notification the form handles.
void CPulmetraDlg::ResetForm() {
    SetComboSel(IDC_CT_TYPE, 0);
    m_nCtType = 0;
    m_dtPriorCt = OneYearBeforeNow();
    m_fCtdiVol = 0.0f;

    // The records are freed only once every row is gone, so that no notification
    // raised by the removal can reach a freed record.
    std::vector<std::unique_ptr<CNoduleItem>> records = std::exchange(m_nodules, {});
    m_listNodules.DeleteAllItems();
    records.clear();
    ForgetDeletedNodules();
    // An empty form has nothing to keep Windows waiting for.
    m_shutdownBlockReason.Withdraw();

    SetComboSel(IDC_LOBE, -1);
    for (int nIDC : CLEARED_CHECKS) SetCheck(nIDC, false);
    for (int nIDC : EMPTIED_EDITS) SetControlText(nIDC, L"");
    SetComboSel(IDC_CORONARY_SEVERITY, 0);
    m_nCoronarySeverity = 0;
    SetControlText(IDC_FINAL_CATEGORY, L"0");
}

void CPulmetraDlg::OnClearClicked() {
    if (AskBeforeDiscarding(L"모든 내용을 삭제하시겠습니까?") != IDYES) return;
    ResetForm();
    UpdateData(FALSE);
    RefreshForm();
}

// Every way out of the form (the button, Escape, the close box) arrives here.
void CPulmetraDlg::OnExitClicked() {
    if (AskBeforeDiscarding(L"종료하시겠습니까?") == IDYES) EndDialog(IDCANCEL);
}

void CPulmetraDlg::OnDestroy() {
    ResetForm();
    CDialog::OnDestroy();
    m_fontCategory.DeleteObject();
}
