// The one place that derives the controls' state from the data, and the
// handlers of the exam data and findings.
#include "PulmetraDlg.h"

#include <vector>

#include "NoduleEditors.h"
#include "base/NumberText.h"

CString DiameterText(double dValue) { return IsMeasured(dValue) ? FormatFixed(dValue, 1) : CString(); }

namespace {

struct FindingDetail {
    int nCheckBox;
    int nDetail;
};

// Each finding's detail control is offered only while its box is ticked.
constexpr FindingDetail FINDING_DETAILS[] = {
    {IDC_ENDOBRONCHIAL, IDC_ENDOBRONCHIAL_NOTE},
    {IDC_CONSOLIDATION, IDC_CONSOLIDATION_NOTE},
    {IDC_ATELECTASIS, IDC_ATELECTASIS_NOTE},
    {IDC_LYMPHADENOPATHY, IDC_LYMPHADENOPATHY_NOTE},
    {IDC_SUGGESTIVE_OTHER, IDC_SUGGESTIVE_OTHER_NOTE},
    {IDC_CORONARY, IDC_CORONARY_SEVERITY},
    {IDC_SIGNIFICANT_OTHER, IDC_SIGNIFICANT_OTHER_NOTE},
    {IDC_OTHER_FINDING, IDC_OTHER_FINDING_NOTE},
};

// The nodule editors, cleared and disabled while no nodule is selected.
constexpr int NODULE_EDITS[] = {IDC_LONG_AXIS,        IDC_SHORT_AXIS, IDC_SOLID_LONG_AXIS,
                                IDC_SOLID_SHORT_AXIS, IDC_IMAGE_NO,   IDC_OTHER_TEXT};
constexpr int NODULE_COMBOS[] = {IDC_NODULE_TYPE, IDC_LOBE, IDC_FOLLOWUP};

}  // namespace

void CPulmetraDlg::RefreshForm() {
    const bool bBaselineCt = GetComboSel(IDC_CT_TYPE) == 0;
    EnableControl(IDC_PRIOR_CT_DATE, !bBaselineCt);

    if (const CNoduleItem* pItem = GetSelectedNodule())
        LoadNoduleEditors(*pItem, bBaselineCt);
    else
        ClearNoduleEditors();

    for (const FindingDetail& finding : FINDING_DETAILS) EnableControl(finding.nDetail, IsChecked(finding.nCheckBox));

    UpdateFinalCategory();
    ForgetTips();
}

void CPulmetraDlg::LoadNoduleEditors(const CNoduleItem& item, bool bBaselineCt) {
    SetComboSel(IDC_NODULE_TYPE, item.m_nType);
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

    SetComboSel(IDC_LOBE, item.m_nLobe);
    EnableControl(IDC_LOBE, true);
    SetItemTextEnabled(IDC_IMAGE_NO, FormatInt(item.m_nImageNo));

    SetComboSel(IDC_FOLLOWUP, bBaselineCt ? -1 : item.m_nFollowUp - 1);
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
    findings.bEndobronchial = IsChecked(IDC_ENDOBRONCHIAL);
    findings.bConsolidation = IsChecked(IDC_CONSOLIDATION);
    findings.bAtelectasis = IsChecked(IDC_ATELECTASIS);
    findings.bLymphadenopathy = IsChecked(IDC_LYMPHADENOPATHY);
    findings.bSuggestiveOther = IsChecked(IDC_SUGGESTIVE_OTHER);
    findings.bCoronaryCalcification = IsChecked(IDC_CORONARY);
    findings.nCoronarySeverity = GetComboSel(IDC_CORONARY_SEVERITY);
    findings.bEmphysema = IsChecked(IDC_EMPHYSEMA);
    findings.bInterstitial = IsChecked(IDC_INTERSTITIAL);
    findings.bPneumonia = IsChecked(IDC_PNEUMONIA);
    findings.bExtrapulmonary = IsChecked(IDC_EXTRAPULMONARY);
    findings.bAneurysm = IsChecked(IDC_ANEURYSM);
    findings.bEffusion = IsChecked(IDC_EFFUSION);
    findings.bSignificantOther = IsChecked(IDC_SIGNIFICANT_OTHER);
    findings.bInactiveTuberculosis = IsChecked(IDC_INACTIVE_TB);
    findings.bOtherFinding = IsChecked(IDC_OTHER_FINDING);
    return findings;
}

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
