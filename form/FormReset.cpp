// Emptying the form, and leaving it.
#include "PulmetraDlg.h"

#include <memory>
#include <utility>
#include <vector>

#include "ComboItems.h"
#include "FindingControls.h"

// Back to the starting state. Nothing here runs a handler: setting a selection,
// a check state or a text from the program sends no notification the form handles.
void CPulmetraDlg::ResetForm() {
    SetComboSel(IDC_CT_TYPE, BASELINE_CT_ITEM);
    m_nCtType = BASELINE_CT_ITEM;
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
    SetCheck(IDC_PRIOR_CANCER, false);
    for (size_t nRow = 0; nRow < EXAM_FINDING_COUNT; ++nRow) {
        SetCheck(FINDING_CONTROLS[nRow].nCheckBox, false);
        if (EXAM_FINDINGS[nRow].bHasNote && !EXAM_FINDINGS[nRow].bGraded)
            SetControlText(FINDING_CONTROLS[nRow].nDetail, L"");
    }
    SetControlText(IDC_COMMENTS, L"");
    m_nCoronarySeverity = ItemOfValue(DEGREE_ITEMS, DEGREE_MILD);
    SetComboSel(IDC_CORONARY_SEVERITY, m_nCoronarySeverity);
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
