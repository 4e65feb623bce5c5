// The Report button: check every nodule, compose the report and show it.
#include <vector>

#include "FindingControls.h"
#include "PulmetraDlg.h"
#include "base/NumberText.h"
#include "framework/Clipboard.h"
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

    const CString strComposed = ComposeReport(ReadExamInputs(), GetNodules());
    CDlgReading dlgReading(m_hWnd);
    dlgReading.m_strReport = strComposed;
    if (dlgReading.DoModal() == -1) ReportFailure(REPORT_FAILED, GetLastError());
    if (dlgReading.m_nCopiedSequence)
        KeepCopiedReport(strComposed, dlgReading.m_nCopiedSequence);
    else
        WithdrawOtherEntriesReport(strComposed);
}

// The entries that a copied report was composed from, told by the report they
// gave: the reader may have edited the copy itself.
void CPulmetraDlg::KeepCopiedReport(const CString& strComposed, DWORD nSequence) {
    m_strCopiedEntriesReport = strComposed;
    m_nCopiedSequence = nSequence;
}

// A report closed without a copy leaves the clipboard to be pasted from all the
// same, and what it may hold is this program's report of other entries, most
// often the previous patient's: that one goes. A report of these same entries,
// or anything copied since by another program, stays.
void CPulmetraDlg::WithdrawOtherEntriesReport(const CString& strComposed) {
    if (!m_nCopiedSequence) return;
    if (GetClipboardSequenceNumber() != m_nCopiedSequence) {
        m_nCopiedSequence = 0;
        return;
    }
    if (strComposed == m_strCopiedEntriesReport) return;
    {
        CClipboard clipboard(m_hWnd);
        if (clipboard.IsOpen() && (GetClipboardSequenceNumber() != m_nCopiedSequence || EmptyClipboard())) {
            m_nCopiedSequence = 0;
            return;
        }
    }
    AfxMessageBox(L"클립보드에 다른 검사의 판독문이 남아 있을 수 있습니다. 이 환자의 판독문으로 붙여 넣지 마십시오.",
                  MB_OK | MB_ICONEXCLAMATION);
}

bool CPulmetraDlg::ValidateNodules() {
    if (!UpdateData(TRUE)) return false;
    const bool bBaselineCt = IsBaselineCt();
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
    exam.bBaselineCt = IsBaselineCt();
    exam.dtPriorCt = m_dtPriorCt;
    exam.bPriorCancer = IsChecked(IDC_PRIOR_CANCER);
    exam.fCtdiVol = m_fCtdiVol;
    exam.findings = ReadExamFindings();
    // A graded finding's note is its degree as its box names it.
    for (size_t nRow = 0; nRow < EXAM_FINDING_COUNT; ++nRow) {
        const int nDetail = FINDING_CONTROLS[nRow].nDetail;
        if (!EXAM_FINDINGS[nRow].bHasNote) continue;
        exam.notes[nRow] = EXAM_FINDINGS[nRow].bGraded ? GetComboItemText(nDetail, GetComboSel(nDetail))
                                                       : GetControlText(nDetail);
    }
    exam.strComments = GetControlText(IDC_COMMENTS);
    // From the entries themselves, never from 1037: the report must not depend on
    // whether the display caught up.
    exam.strFinalCategory = FinalCategoryOfEntries();
    return exam;
}
