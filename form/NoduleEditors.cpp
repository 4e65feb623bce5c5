// The editors of the selected nodule: each writes its field, recomputes the
// category, rewrites the row and refreshes the form.
#include "PulmetraDlg.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "model/NumberText.h"

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

// A disabled edit holds no text of the reader's: the refresh empties it and then
// disables it, and when it had the focus, that focus loss arrives here. Committing
// it would overwrite the stored size (the solid part of a nodule made solid).
bool CPulmetraDlg::IsCommittable(int nIDC) const { return IsWindowEnabled(GetDlgItem(nIDC)) != FALSE; }

void CPulmetraDlg::CommitDiameter(int nIDC, double CNoduleItem::*field) {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem || !IsCommittable(nIDC)) return;
    pItem->*field = ParseDiameter(GetControlText(nIDC)) + SIZE_NUDGE_MM;
    pItem->UpdateCategory();
    ClearInvalidPerifissural(pItem);
    FinishNoduleEdit();
}

// A nodule measured on one axis only gets two equal axes. The focus move at the
// end is itself a focus loss of this edit when it still has the focus (Enter):
// the nested run commits the refreshed one-decimal text, and its own focus move
// finds the focus already on the short axis. A commit of the stored value, shown
// as the refresh shows it (the nested run, mostly), changes nothing, so the row
// and the form are left as they are.
bool CPulmetraDlg::CommitLongAxis(int nIDC, double CNoduleItem::*longField, double CNoduleItem::*shortField,
                                  int nShortIDC) {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem || !IsCommittable(nIDC)) return false;
    const CString text = GetControlText(nIDC);
    const double dValue = ParseDiameter(text) + SIZE_NUDGE_MM;
    // Compared as stored: the x87 unit holds the new value with more bits than a double.
    const bool bUnchanged = std::bit_cast<std::uint64_t>(pItem->*longField) == std::bit_cast<std::uint64_t>(dValue) &&
                            pItem->*shortField > 0 && text == DiameterText(dValue);
    if (!bUnchanged) {
        pItem->*longField = dValue;
        pItem->UpdateCategory();
        if (!(pItem->*shortField > 0)) {
            pItem->*shortField = dValue;
            pItem->UpdateCategory();
        }
        ClearInvalidPerifissural(pItem);
        FinishNoduleEdit();
    }
    // A command key has taken the focus to its button, and it stays there.
    if (!m_bParkingFocus) FocusEditSelectAll(nShortIDC);
    return !bUnchanged;
}

void CPulmetraDlg::OnLongAxisKillFocus() {
    CommitLongAxis(IDC_LONG_AXIS, &CNoduleItem::m_dLongAxis, &CNoduleItem::m_dShortAxis, IDC_SHORT_AXIS);
}

void CPulmetraDlg::OnShortAxisKillFocus() { CommitDiameter(IDC_SHORT_AXIS, &CNoduleItem::m_dShortAxis); }

void CPulmetraDlg::OnSolidLongAxisKillFocus() {
    CommitLongAxis(IDC_SOLID_LONG_AXIS, &CNoduleItem::m_dSolidLongAxis, &CNoduleItem::m_dSolidShortAxis,
                   IDC_SOLID_SHORT_AXIS);
}

void CPulmetraDlg::OnSolidShortAxisKillFocus() {
    CommitDiameter(IDC_SOLID_SHORT_AXIS, &CNoduleItem::m_dSolidShortAxis);
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

void CPulmetraDlg::OnImageNoKillFocus() {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem) return;
    pItem->m_nImageNo = ParseInteger(GetControlText(IDC_IMAGE_NO));
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

// For a click on 1011 and for the focus loss of 1007: the text is read even when
// the box is unticked, and SetOther guards the write.
void CPulmetraDlg::OnOtherChanged() {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem) return;
    pItem->SetOther(IsChecked(IDC_OTHER), GetControlText(IDC_OTHER_TEXT));
    FinishNoduleEdit();
}

// Enter commits the nodule edits and never presses the default button "종료";
// in the comments it starts a new line.
BOOL CPulmetraDlg::PreTranslateMessage(MSG* pMsg) {
    RelayTipEvent(*pMsg);
    if (RunShortcutKey(*pMsg)) return TRUE;
    if (pMsg->message != WM_KEYDOWN || pMsg->wParam != VK_RETURN) return CDialog::PreTranslateMessage(pMsg);
    const int nIDC = GetDlgCtrlID(pMsg->hwnd);
    // An open drop-down list takes Enter itself, to close on the item the reader chose.
    if (IsDroppedCombo(pMsg->hwnd)) return CDialog::PreTranslateMessage(pMsg);
    switch (nIDC) {
    case IDC_COMMENTS:
        return CDialog::PreTranslateMessage(pMsg);
    case IDC_LONG_AXIS:
        // A commit that changed the nodule has refreshed the form already; otherwise Enter refreshes it here.
        if (!CommitLongAxis(IDC_LONG_AXIS, &CNoduleItem::m_dLongAxis, &CNoduleItem::m_dShortAxis, IDC_SHORT_AXIS))
            RefreshForm();
        break;
    case IDC_SHORT_AXIS:
        OnShortAxisKillFocus();
        break;
    case IDC_SOLID_LONG_AXIS:
        OnSolidLongAxisKillFocus();
        break;
    case IDC_SOLID_SHORT_AXIS:
        OnSolidShortAxisKillFocus();
        break;
    case IDC_IMAGE_NO:
        OnImageNoKillFocus();
        break;
    case IDC_OTHER_TEXT:
        // Commit what was typed first, as leaving the edit would, so Enter loses nothing.
        OnOtherChanged();
        RefreshForm();
        break;
    default:
        RefreshForm();
        break;
    }
    return TRUE;
}
