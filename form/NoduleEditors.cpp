// The choices and boxes of the selected nodule: each writes its field,
// recomputes the category, rewrites the row and refreshes the form. What is
// typed into the size edits is kept in SizeEditors.cpp.
#include "NoduleEditors.h"

#include <iterator>

#include "PulmetraDlg.h"

namespace {

const FeatureBox* FindFeatureBox(int nIDC) {
    for (const FeatureBox& box : FEATURE_BOXES)
        if (box.nIDC == nIDC) return &box;
    return nullptr;
}

constexpr bool BoxesFollowTheCatalogue() {
    if (std::size(FEATURE_BOXES) != std::size(NODULE_FEATURES)) return false;
    for (size_t n = 0; n < std::size(FEATURE_BOXES); ++n)
        if (FEATURE_BOXES[n].flag != NODULE_FEATURES[n].flag) return false;
    return true;
}
static_assert(BoxesFollowTheCatalogue(), "every nodule feature has its check box, in the catalogue's order");

}  // namespace

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

// The solid-part sizes stay stored when the type changes; the refresh only hides them.
void CPulmetraDlg::OnNoduleTypeChanged() {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem) return;
    const int nType = GetComboSel(IDC_NODULE_TYPE);
    if (nType != pItem->m_nType) ForgetDeletedNodules();
    pItem->m_nType = nType;
    pItem->UpdateCategory();
    ClearInvalidPerifissural(pItem);
    FinishNoduleEdit();
}

void CPulmetraDlg::OnLobeChanged() {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem) return;
    const int nLobe = GetComboSel(IDC_LOBE);
    if (nLobe != pItem->m_nLobe) ForgetDeletedNodules();
    pItem->m_nLobe = nLobe;
    pItem->UpdateCategory();
    FinishNoduleEdit();
}

void CPulmetraDlg::OnFollowUpChanged() {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem) return;
    const int nFollowUp = GetComboSel(IDC_FOLLOWUP) + 1;
    if (nFollowUp != pItem->m_nFollowUp) ForgetDeletedNodules();
    pItem->m_nFollowUp = nFollowUp;
    pItem->UpdateCategory();
    FinishNoduleEdit();
}

// A tick is stored only while the form offers the box; the other feature's text
// is kept by its own edit when that edit is left.
void CPulmetraDlg::OnFeatureClicked(int nIDC) {
    const FeatureBox* box = FindFeatureBox(nIDC);
    CNoduleItem* pItem = GetSelectedNodule();
    if (!box || !pItem) return;
    ForgetDeletedNodules();
    const NoduleFeature& feature = FeatureOf(*box);
    if (feature.bNamedByReader) {
        pItem->SetOther(IsChecked(nIDC), pItem->m_strOther);
    } else if (IsOffered(*pItem, feature)) {
        pItem->*feature.flag = IsChecked(nIDC);
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
