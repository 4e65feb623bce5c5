// The Report button: check every nodule, compose the report and show it.
#include <vector>

#include "PulmetraDlg.h"
#include "base/NumberText.h"
#include "framework/MessageBox.h"
#include "report/DlgReading.h"
#include "report/ReportComposer.h"

namespace {

struct NoduleCheck {
    bool (*fails)(const CNoduleItem& item, bool bBaselineCt);
    const wchar_t* message;  // follows the nodule's number, counted from 1
    int nIDC;
    bool bEdit;
};

// In the order the reader is asked for them; only the first failure is reported.
const NoduleCheck NODULE_CHECKS[] = {
    {[](const CNoduleItem& item, bool) { return !IsMeasured(item.m_dLongAxis); },
     L" 번째 결절의 장축 크기가 입력되지 않았습니다.", IDC_LONG_AXIS, true},
    {[](const CNoduleItem& item, bool) { return !IsMeasured(item.m_dShortAxis); },
     L" 번째 결절의 단축 크기가 입력되지 않았습니다.", IDC_SHORT_AXIS, true},
    {[](const CNoduleItem& item, bool) {
         return item.m_nType == NODULE_PART_SOLID && !IsMeasured(item.m_dSolidLongAxis);
     },
     L" 번째 결절의 고형부분 장축 크기가 입력되지 않았습니다.", IDC_SOLID_LONG_AXIS, true},
    {[](const CNoduleItem& item, bool) {
         return item.m_nType == NODULE_PART_SOLID && !IsMeasured(item.m_dSolidShortAxis);
     },
     L" 번째 결절의 고형부분 단축 크기가 입력되지 않았습니다.", IDC_SOLID_SHORT_AXIS, true},
    {[](const CNoduleItem& item, bool) { return item.m_nLobe < 0; }, L" 번째 결절의 위치가 입력되지 않았습니다.",
     IDC_LOBE, false},
    {[](const CNoduleItem& item, bool bBaselineCt) {
         return !bBaselineCt && item.m_nFollowUp != FOLLOWUP_NEW && item.m_nFollowUp != FOLLOWUP_GROWING &&
                item.m_nFollowUp != FOLLOWUP_STABLE;
     },
     L" 번째 결절의 추적검사 상태가 입력되지 않았습니다.", IDC_FOLLOWUP, false},
};

// Nothing was copied: what the clipboard holds may be another patient's report.
constexpr wchar_t REPORT_FAILED[] =
    L"판독문 창을 열지 못해 판독문을 복사하지 않았습니다. 클립보드에 남아 있는 이전 내용은 다른 환자의 판독문일 "
    L"수 있으니 붙여 넣지 마십시오. 입력한 내용은 그대로 있으니 잠시 뒤 다시 판독문을 누르십시오.";

}  // namespace

void CPulmetraDlg::OnReportClicked() {
    if (!ValidateNodules()) return;

    CDlgReading dlgReading(m_hWnd);
    dlgReading.m_strReport = ComposeReport(ReadExamInputs(), GetNodules());
    if (dlgReading.DoModal() == -1) ReportFailure(REPORT_FAILED, GetLastError());
}

bool CPulmetraDlg::ValidateNodules() {
    if (!UpdateData(TRUE)) return false;
    const bool bBaselineCt = GetComboSel(IDC_CT_TYPE) == 0;
    const int nCount = m_listNodules.GetItemCount();
    for (int nItem = 0; nItem < nCount; ++nItem) {
        const CNoduleItem* pItem = GetNodule(nItem);
        if (!pItem) continue;
        for (const NoduleCheck& check : NODULE_CHECKS) {
            if (!check.fails(*pItem, bBaselineCt)) continue;
            AfxMessageBox((FormatInt(nItem + 1) + check.message).c_str(), MB_OK | MB_ICONSTOP);
            // Lead the reader to the nodule and the value that is missing.
            SelectRow(nItem);
            RefreshForm();
            if (check.bEdit)
                FocusEditSelectAll(check.nIDC);
            else
                SetFocus(GetDlgItem(check.nIDC));
            return false;
        }
    }
    return true;
}

ExamInputs CPulmetraDlg::ReadExamInputs() const {
    ExamInputs exam;
    exam.bBaselineCt = GetComboSel(IDC_CT_TYPE) == 0;
    exam.dtPriorCt = m_dtPriorCt;
    exam.bPriorCancer = IsChecked(IDC_PRIOR_CANCER);
    exam.fCtdiVol = m_fCtdiVol;
    exam.findings = ReadExamFindings();
    exam.strCoronarySeverity = GetComboItemText(IDC_CORONARY_SEVERITY, exam.findings.nCoronarySeverity);
    exam.strEndobronchialNote = GetControlText(IDC_ENDOBRONCHIAL_NOTE);
    exam.strConsolidationNote = GetControlText(IDC_CONSOLIDATION_NOTE);
    exam.strAtelectasisNote = GetControlText(IDC_ATELECTASIS_NOTE);
    exam.strLymphadenopathyNote = GetControlText(IDC_LYMPHADENOPATHY_NOTE);
    exam.strSuggestiveOtherNote = GetControlText(IDC_SUGGESTIVE_OTHER_NOTE);
    exam.strSignificantOtherNote = GetControlText(IDC_SIGNIFICANT_OTHER_NOTE);
    exam.strOtherFindingNote = GetControlText(IDC_OTHER_FINDING_NOTE);
    exam.strComments = GetControlText(IDC_COMMENTS);
    // From the entries themselves, never from 1037: the report must not depend on
    // whether the display caught up.
    exam.strFinalCategory = FinalCategoryOfEntries();
    return exam;
}
