// The one place that derives the controls' state from the data, and the
// handlers of the exam data and findings.
#include "PulmetraDlg.h"

#include <vector>

#include "ComboItems.h"
#include "FeatureBoxes.h"
#include "FindingControls.h"
#include "base/NumberText.h"

CString DiameterText(double dValue) { return IsMeasured(dValue) ? FormatFixed(dValue, 1) : CString(); }

namespace {

// The nodule editors, cleared and disabled while no nodule is selected.
constexpr int NODULE_EDITS[] = {IDC_LONG_AXIS,        IDC_SHORT_AXIS, IDC_SOLID_LONG_AXIS,
                                IDC_SOLID_SHORT_AXIS, IDC_IMAGE_NO,   IDC_OTHER_TEXT};
constexpr int NODULE_COMBOS[] = {IDC_NODULE_TYPE, IDC_LOBE, IDC_FOLLOWUP};

}  // namespace

void CPulmetraDlg::RefreshForm() {
    const bool bBaselineCt = IsBaselineCt();
    EnableControl(IDC_PRIOR_CT_DATE, !bBaselineCt);

    if (const CNoduleItem* pItem = GetSelectedNodule())
        LoadNoduleEditors(*pItem, bBaselineCt);
    else
        ClearNoduleEditors();

    // Each finding's note or degree is offered only while its box is ticked.
    for (const FindingControls& finding : FINDING_CONTROLS)
        if (finding.nDetail) EnableControl(finding.nDetail, IsChecked(finding.nCheckBox));

    UpdateFinalCategory();
    ForgetTips();
}

void CPulmetraDlg::LoadNoduleEditors(const CNoduleItem& item, bool bBaselineCt) {
    SetComboSel(IDC_NODULE_TYPE, ItemOfValue(NODULE_TYPE_ITEMS, item.m_nType));
    EnableControl(IDC_NODULE_TYPE, true);
    SetItemTextEnabled(IDC_LONG_AXIS, DiameterText(item.m_dLongAxis));
    SetItemTextEnabled(IDC_SHORT_AXIS, DiameterText(item.m_dShortAxis));

    const bool bPartSolid = item.m_nType == NODULE_PART_SOLID;
    EnableControl(IDC_SOLID_CAPTION, bPartSolid);
    EnableControl(IDC_SOLID_SIZE_UNIT, bPartSolid);
    if (bPartSolid) {
        SetItemTextEnabled(IDC_SOLID_LONG_AXIS, DiameterText(item.m_dSolidLongAxis));
        SetItemTextEnabled(IDC_SOLID_SHORT_AXIS, DiameterText(item.m_dSolidShortAxis));
    } else {
        for (int nIDC : {IDC_SOLID_LONG_AXIS, IDC_SOLID_SHORT_AXIS}) {
            SetControlText(nIDC, L"");
            EnableControl(nIDC, false);
        }
    }

    SetComboSel(IDC_LOBE, ItemOfValue(LOBE_ITEMS, item.m_nLobe));
    EnableControl(IDC_LOBE, true);
    SetItemTextEnabled(IDC_IMAGE_NO, FormatInt(item.m_nImageNo));

    SetComboSel(IDC_FOLLOWUP, bBaselineCt ? -1 : ItemOfValue(FOLLOWUP_ITEMS, item.m_nFollowUp));
    EnableControl(IDC_FOLLOWUP, !bBaselineCt);

    // A stored flag whose box is not offered shows unticked and keeps its value.
    for (const FeatureBox& box : FEATURE_BOXES) {
        const NoduleFeature& feature = FeatureOf(box);
        SetCheck(box.nIDC, IsShownTicked(item, feature));
        EnableControl(box.nIDC, IsOffered(item, feature));
    }
    if (IsChecked(IDC_OTHER)) {
        SetItemTextEnabled(IDC_OTHER_TEXT, item.m_strOther);
    } else {
        SetControlText(IDC_OTHER_TEXT, L"");
        EnableControl(IDC_OTHER_TEXT, false);
    }
}

void CPulmetraDlg::ClearNoduleEditors() {
    for (int nIDC : NODULE_COMBOS) {
        SetComboSel(nIDC, -1);
        EnableControl(nIDC, false);
    }
    for (int nIDC : NODULE_EDITS) {
        SetControlText(nIDC, L"");
        EnableControl(nIDC, false);
    }
    for (const FeatureBox& box : FEATURE_BOXES) {
        SetCheck(box.nIDC, false);
        EnableControl(box.nIDC, false);
    }
    EnableControl(IDC_SOLID_CAPTION, false);
    EnableControl(IDC_SOLID_SIZE_UNIT, false);
}

void CPulmetraDlg::SetItemTextEnabled(int nIDC, const CString& text) {
    SetControlText(nIDC, text);
    EnableControl(nIDC, true);
}

ExamFindings CPulmetraDlg::ReadExamFindings() const {
    ExamFindings findings;
    for (size_t nRow = 0; nRow < EXAM_FINDING_COUNT; ++nRow)
        findings.ticked[nRow] = IsChecked(FINDING_CONTROLS[nRow].nCheckBox);
    findings.coronaryDegree =
        static_cast<CoronaryDegree>(ValueOfItem(DEGREE_ITEMS, GetComboSel(IDC_CORONARY_SEVERITY), DEGREE_NONE));
    return findings;
}

bool CPulmetraDlg::IsBaselineCt() const { return GetComboSel(IDC_CT_TYPE) == BASELINE_CT_ITEM; }

// The display and the report both take the final category from here.
CString CPulmetraDlg::FinalCategoryOfEntries() const {
    std::vector<int> categories;
    categories.reserve(m_nodules.size());
    for (const auto& pItem : m_nodules) categories.push_back(pItem->m_nCategory);
    return FinalCategoryText(categories, ReadExamFindings());
}

void CPulmetraDlg::UpdateFinalCategory() { SetControlText(IDC_FINAL_CATEGORY, FinalCategoryOfEntries()); }

// A switch between baseline and follow-up clears every follow-up status, so a
// follow-up exam starts with none chosen; the kind chosen again changes nothing.
void CPulmetraDlg::OnCtTypeChanged() {
    const int nCtType = GetComboSel(IDC_CT_TYPE);
    if (nCtType == m_nCtType) return;
    ForgetDeletedNodules();
    m_nCtType = nCtType;
    const int nCount = m_listNodules.GetItemCount();
    for (int nItem = 0; nItem < nCount; ++nItem) {
        if (CNoduleItem* pItem = GetNodule(nItem)) {
            pItem->m_nFollowUp = FOLLOWUP_BASELINE;
            pItem->UpdateCategory();
            UpdateNoduleRow(nItem);
        }
    }
    RefreshForm();
}

void CPulmetraDlg::OnPriorCancerClicked() {
    ForgetDeletedNodules();
    RefreshForm();
}

// The finding counts at once, whatever the dose holds: the dose's own prompt
// follows, over a form that already shows what was ticked.
void CPulmetraDlg::OnFindingClicked() {
    ForgetDeletedNodules();
    RefreshForm();
    UpdateData(TRUE);
}

// Another degree counts as a tick does; the degree chosen again changes nothing.
void CPulmetraDlg::OnCoronarySeverityChanged() {
    const int nSeverity = GetComboSel(IDC_CORONARY_SEVERITY);
    if (nSeverity == m_nCoronarySeverity) return;
    m_nCoronarySeverity = nSeverity;
    OnFindingClicked();
}
