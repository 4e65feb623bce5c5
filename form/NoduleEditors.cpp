// The choices and boxes of the selected nodule: each writes its field,
// recomputes the category, rewrites the row and refreshes the form. What is
// typed into the size edits is kept in SizeEditors.cpp.
#include "PulmetraDlg.h"

#include <algorithm>

namespace {

double LargerAxis(const CNoduleItem& item) { return std::max(item.m_dLongAxis, item.m_dShortAxis); }

}  // namespace

void CPulmetraDlg::ClearInvalidPerifissural(CNoduleItem* pItem) {
    if (!pItem) return;
    if (pItem->m_nType != NODULE_SOLID || LargerAxis(*pItem) > PERIFISSURAL_MAX_MM) {
        pItem->m_bPerifissural = false;
        pItem->UpdateCategory();
    }
}

void CPulmetraDlg::FinishNoduleEdit() {
    UpdateNoduleRow(GetSelectedRow());
    RefreshForm();
}

// The solid-part sizes stay stored when the type changes; the refresh only hides them.
void CPulmetraDlg::OnNoduleTypeChanged() {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem) return;
    pItem->m_nType = GetComboSel(IDC_NODULE_TYPE);
    pItem->UpdateCategory();
    ClearInvalidPerifissural(pItem);
    FinishNoduleEdit();
}

void CPulmetraDlg::OnLobeChanged() {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem) return;
    pItem->m_nLobe = GetComboSel(IDC_LOBE);
    pItem->UpdateCategory();
    FinishNoduleEdit();
}

void CPulmetraDlg::OnFollowUpChanged() {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem) return;
    pItem->m_nFollowUp = GetComboSel(IDC_FOLLOWUP) + 1;
    pItem->UpdateCategory();
    FinishNoduleEdit();
}

void CPulmetraDlg::OnPerifissuralClicked() {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem) return;
    pItem->m_bPerifissural = IsChecked(IDC_PERIFISSURAL) && LargerAxis(*pItem) < PERIFISSURAL_MAX_MM;
    pItem->UpdateCategory();
    FinishNoduleEdit();
}

// Stores a feature's tick only while the nodule's category allows the feature.
void CPulmetraDlg::CommitFeature(bool CNoduleItem::*flag, int nIDC, int nMinCategory) {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem) return;
    if (pItem->m_nCategory >= nMinCategory) {
        pItem->*flag = IsChecked(nIDC);
        pItem->UpdateCategory();
    }
    FinishNoduleEdit();
}

void CPulmetraDlg::OnCalcificationClicked() { CommitFeature(&CNoduleItem::m_bCalcification, IDC_CALCIFICATION, CAT_0); }
void CPulmetraDlg::OnFatClicked() { CommitFeature(&CNoduleItem::m_bFat, IDC_FAT, CAT_0); }
void CPulmetraDlg::OnLikelyBenignClicked() { CommitFeature(&CNoduleItem::m_bLikelyBenign, IDC_LIKELY_BENIGN, CAT_2B); }
void CPulmetraDlg::OnSpiculationClicked() { CommitFeature(&CNoduleItem::m_bSpiculation, IDC_SPICULATION, CAT_3); }
void CPulmetraDlg::OnCavityClicked() { CommitFeature(&CNoduleItem::m_bCavity, IDC_CAVITY, CAT_3); }

// For a click on 1011 and for the focus loss of 1007; SetOther guards the write.
// The text is the reader's while 1007 is offered. Otherwise the refresh has
// emptied it, and the stored text stays for when the box is ticked again.
void CPulmetraDlg::OnOtherChanged() {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem) return;
    const CString text = IsCommittable(IDC_OTHER_TEXT) ? GetControlText(IDC_OTHER_TEXT) : pItem->m_strOther;
    pItem->SetOther(IsChecked(IDC_OTHER), text);
    FinishNoduleEdit();
}
