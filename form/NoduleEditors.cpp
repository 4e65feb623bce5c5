// The choices and boxes of the selected nodule: each writes its field,
// recomputes the category, rewrites the row and refreshes the form. What is
// typed into the size edits is kept in SizeEditors.cpp.
#include "ComboItems.h"
#include "FeatureBoxes.h"
#include "FindingControls.h"
#include "PulmetraDlg.h"

// The flag goes when the nodule can no longer keep it: made other than solid,
// or measured at PERIFISSURAL_MAX_MM or more.
void CPulmetraDlg::ClearInvalidPerifissural(CNoduleItem* pItem) {
    if (!pItem || IsPerifissuralSize(*pItem)) return;
    pItem->m_bPerifissural = false;
    pItem->UpdateCategory();
}

void CPulmetraDlg::FinishNoduleEdit() {
    UpdateNoduleRow(GetSelectedRow());
    RefreshForm();
}

// Each choice applies what its box now shows, where that differs from the record.
// The solid-part sizes stay stored when the type changes; the refresh only hides them.
void CPulmetraDlg::OnNoduleTypeChanged() {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem) return;
    const int nType = ValueOfItem(NODULE_TYPE_ITEMS, GetComboSel(IDC_NODULE_TYPE), -1);
    if (nType == pItem->m_nType) return;
    ForgetDeletedNodules();
    pItem->m_nType = nType;
    pItem->UpdateCategory();
    ClearInvalidPerifissural(pItem);
    FinishNoduleEdit();
}

void CPulmetraDlg::OnLobeChanged() {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem) return;
    const int nLobe = ValueOfItem(LOBE_ITEMS, GetComboSel(IDC_LOBE), LOBE_NONE);
    if (nLobe == pItem->m_nLobe) return;
    ForgetDeletedNodules();
    pItem->m_nLobe = nLobe;
    pItem->UpdateCategory();
    FinishNoduleEdit();
}

// On a baseline CT the box selects nothing and every nodule has no status.
void CPulmetraDlg::OnFollowUpChanged() {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem || IsBaselineCt()) return;
    const int nFollowUp = ValueOfItem(FOLLOWUP_ITEMS, GetComboSel(IDC_FOLLOWUP), FOLLOWUP_BASELINE);
    if (nFollowUp == pItem->m_nFollowUp) return;
    ForgetDeletedNodules();
    pItem->m_nFollowUp = nFollowUp;
    pItem->UpdateCategory();
    FinishNoduleEdit();
}

// Every check box of the nodule features and the exam findings.
void CPulmetraDlg::OnBoxClicked(int nIDC) {
    if (const FeatureBox* box = FindFeatureBox(nIDC))
        OnFeatureClicked(*box);
    else if (FindingRowOfBox(nIDC) < EXAM_FINDING_COUNT)
        OnFindingClicked();
}

// A tick is stored only while the form offers the box; the other feature's text
// is kept by its own edit when that edit is left.
void CPulmetraDlg::OnFeatureClicked(const FeatureBox& box) {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem) return;
    ForgetDeletedNodules();
    const NoduleFeature& feature = FeatureOf(box);
    if (feature.bNamedByReader) {
        pItem->SetOther(IsChecked(box.nIDC), pItem->m_strOther);
    } else if (IsOffered(*pItem, feature)) {
        pItem->*feature.flag = IsChecked(box.nIDC);
        pItem->UpdateCategory();
    }
    FinishNoduleEdit();
}

// The text is the reader's while 1007 is offered. Otherwise the refresh has
// emptied it, and the stored text stays for when the box is ticked again.
void CPulmetraDlg::OnOtherTextKillFocus() {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem) return;
    if (IsCommittable(IDC_OTHER_TEXT)) pItem->SetOther(pItem->m_bOther, GetControlText(IDC_OTHER_TEXT));
    FinishNoduleEdit();
}

// What the reader types anywhere is a change of the entries; what the form
// writes into its controls is not.
void CPulmetraDlg::OnEditChanged(int) {
    if (!m_bWritingControls) ForgetDeletedNodules();
}

void CPulmetraDlg::OnPriorCtDateChanged(NMHDR*, LRESULT* pResult) {
    ForgetDeletedNodules();
    *pResult = 0;
}
