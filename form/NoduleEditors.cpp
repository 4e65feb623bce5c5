// The editors of the selected nodule: each writes its field, recomputes the
// category, rewrites the row and refreshes the form.
#include "PulmetraDlg.h"

#include <algorithm>

#include "framework/ScopedValue.h"
#include "base/NumberText.h"

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

// What the reader typed into a size edit since the form last wrote it, plus the
// nudge; false when nothing was typed there. An edit only passed through keeps
// its nodule's size: a new nodule's empty long axis would otherwise store
// 0.0001 mm on both axes, and the short axis, no longer empty, would keep it.
bool CPulmetraDlg::TakeTypedDiameter(int nIDC, double& dValue) {
    HWND hEdit = GetDlgItem(nIDC);
    if (!SendMessageW(hEdit, EM_GETMODIFY, 0, 0)) return false;
    SendMessageW(hEdit, EM_SETMODIFY, FALSE, 0);
    dValue = ParseDiameter(GetControlText(nIDC)) + SIZE_NUDGE_MM;
    return true;
}

// Like every editor, the commit ends in a refresh, also when nothing was typed.
void CPulmetraDlg::CommitDiameter(int nIDC, double CNoduleItem::*field) {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem || !IsCommittable(nIDC)) return;
    if (double dValue = 0; TakeTypedDiameter(nIDC, dValue)) {
        pItem->*field = dValue;
        pItem->UpdateCategory();
        ClearInvalidPerifissural(pItem);
    }
    FinishNoduleEdit();
}

// A nodule measured on one axis only gets two equal axes. Enter moves the focus
// on to the short axis, measured next; that move is itself a focus loss of this
// edit, and the nested run commits the refreshed one-decimal text and moves
// nothing. When that text is the stored value, the nested run has nothing to add
// to the refresh just made, and leaves it. Every other way out leaves the focus
// where the reader put it.
void CPulmetraDlg::CommitLongAxis(int nIDC, double CNoduleItem::*longField, double CNoduleItem::*shortField,
                                  int nShortIDC, bool bEnter) {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem || !IsCommittable(nIDC)) return;
    const bool bNested = m_nMovingFocusFrom == nIDC;
    double dValue = 0;
    const bool bStores = TakeTypedDiameter(nIDC, dValue) &&
                         !(bNested && pItem->*longField == dValue && pItem->*shortField > 0);
    if (bNested && !bStores) return;
    if (bStores) {
        pItem->*longField = dValue;
        pItem->UpdateCategory();
        if (!(pItem->*shortField > 0)) {
            pItem->*shortField = dValue;
            pItem->UpdateCategory();
        }
        ClearInvalidPerifissural(pItem);
    }
    FinishNoduleEdit();
    HWND hShort = GetDlgItem(nShortIDC);
    if (!bEnter) {
        // Tab selected the short axis's text before the refresh filled it in.
        if (GetFocus() == hShort) SendMessageW(hShort, EM_SETSEL, 0, -1);
        return;
    }
    // The one-decimal text the edit now shows is what was entered, and is
    // committed as the focus moves on.
    if (bStores && GetFocus() == GetDlgItem(nIDC)) SendMessageW(GetDlgItem(nIDC), EM_SETMODIFY, TRUE, 0);
    ScopedValue movingFocus(m_nMovingFocusFrom, nIDC);
    FocusEditSelectAll(nShortIDC);
}

void CPulmetraDlg::OnLongAxisKillFocus() {
    CommitLongAxis(IDC_LONG_AXIS, &CNoduleItem::m_dLongAxis, &CNoduleItem::m_dShortAxis, IDC_SHORT_AXIS, false);
}

void CPulmetraDlg::OnShortAxisKillFocus() { CommitDiameter(IDC_SHORT_AXIS, &CNoduleItem::m_dShortAxis); }

void CPulmetraDlg::OnSolidLongAxisKillFocus() {
    CommitLongAxis(IDC_SOLID_LONG_AXIS, &CNoduleItem::m_dSolidLongAxis, &CNoduleItem::m_dSolidShortAxis,
                   IDC_SOLID_SHORT_AXIS, false);
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

// What the reader typed into a nodule's editor, kept as leaving the editor
// would keep it; Enter also moves on from a long axis, and in any other
// control brings the form up to date.
void CPulmetraDlg::CommitEditor(int nIDC, bool bEnter) {
    switch (nIDC) {
    case IDC_LONG_AXIS:
        CommitLongAxis(IDC_LONG_AXIS, &CNoduleItem::m_dLongAxis, &CNoduleItem::m_dShortAxis, IDC_SHORT_AXIS, bEnter);
        break;
    case IDC_SHORT_AXIS:
        OnShortAxisKillFocus();
        break;
    case IDC_SOLID_LONG_AXIS:
        CommitLongAxis(IDC_SOLID_LONG_AXIS, &CNoduleItem::m_dSolidLongAxis, &CNoduleItem::m_dSolidShortAxis,
                       IDC_SOLID_SHORT_AXIS, bEnter);
        break;
    case IDC_SOLID_SHORT_AXIS:
        OnSolidShortAxisKillFocus();
        break;
    case IDC_IMAGE_NO:
        OnImageNoKillFocus();
        break;
    case IDC_OTHER_TEXT:
        OnOtherChanged();
        break;
    default:
        if (bEnter) RefreshForm();
        break;
    }
}

// Before anything shows another nodule in the editors: what was typed belongs
// to the nodule it was typed for.
void CPulmetraDlg::CommitFocusedEditor() {
    HWND hFocus = GetFocus();
    if (hFocus && GetParent(hFocus) == m_hWnd) CommitEditor(GetDlgCtrlID(hFocus), false);
}

// Enter commits the nodule edits and never presses the default button "종료";
// in the comments it starts a new line.
BOOL CPulmetraDlg::PreTranslateMessage(MSG* pMsg) {
    RelayTipEvent(*pMsg);
    if (RunShortcutKey(*pMsg)) return TRUE;
    if (pMsg->message != WM_KEYDOWN || pMsg->wParam != VK_RETURN) return CDialog::PreTranslateMessage(pMsg);
    // An open drop-down list takes Enter itself, to close on the item the reader chose.
    if (IsDroppedCombo(pMsg->hwnd)) return CDialog::PreTranslateMessage(pMsg);
    const int nIDC = GetDlgCtrlID(pMsg->hwnd);
    if (nIDC == IDC_COMMENTS) return CDialog::PreTranslateMessage(pMsg);
    CommitEditor(nIDC, true);
    return TRUE;
}
