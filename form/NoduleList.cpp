// The nodule list: one row per nodule, each row owning its record.
#include "PulmetraDlg.h"

#include <iterator>
#include <memory>

#include "base/NumberText.h"
#include "model/Labels.h"

namespace {

constexpr float NARROW_COLUMN_SHARE = 0.13f;
constexpr float WIDE_COLUMN_SHARE = 0.3f;

int ColumnWidth(int nAvailable, float fShare) {
    return static_cast<int>(static_cast<float>(nAvailable) * fShare + 0.5f);
}

CString SizeColumnText(const CNoduleItem& item) {
    CString text = MeanDiameterText(item.m_dLongAxis, item.m_dShortAxis) + L" [mm]";
    if (item.m_nType == NODULE_PART_SOLID)
        text += L" (" + MeanDiameterText(item.m_dSolidLongAxis, item.m_dSolidShortAxis) + L" [mm])";
    return text;
}

}  // namespace

void CPulmetraDlg::InitNoduleColumns() {
    RECT client;
    GetClientRect(m_listNodules.m_hWnd, &client);
    RECT header;
    GetWindowRect(m_listNodules.GetHeaderCtrl(), &header);
    const int nAvailable = (client.right - client.left) - 2 * (header.bottom - header.top);
    const int nNarrow = ColumnWidth(nAvailable, NARROW_COLUMN_SHARE);
    const int nWide = ColumnWidth(nAvailable, WIDE_COLUMN_SHARE);

    m_listNodules.InsertColumn(0, L"결절성상", nNarrow);
    m_listNodules.InsertColumn(1, L"추적검사", nNarrow);
    m_listNodules.InsertColumn(2, L"결절크기", nWide);
    m_listNodules.InsertColumn(3, L"결절위치", nNarrow);
    m_listNodules.InsertColumn(4, L"흉막주변", nNarrow);
    m_listNodules.InsertColumn(5, L"결절범주", nNarrow);
    m_listNodules.SetExtendedStyle(m_listNodules.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
}

// Only the columns whose text changed are written: each write repaints the
// cell, and an edit changes one or two of them.
void CPulmetraDlg::UpdateNoduleRow(int nItem) {
    const CNoduleItem* pItem = GetNodule(nItem);
    if (!pItem) return;
    const CString texts[] = {
        NoduleTypeText(pItem->m_nType),
        FollowUpText(pItem->m_nFollowUp),
        SizeColumnText(*pItem),
        LobeText(pItem->m_nLobe) + L" (#" + FormatInt(pItem->m_nImageNo) + L")",
        IsShownTicked(*pItem, FeatureWithFlag(&CNoduleItem::m_bPerifissural)) ? L"흉막주변" : L"",
        CategoryText(pItem->m_nCategory),
    };
    for (int nColumn = 0; nColumn < static_cast<int>(std::size(texts)); ++nColumn) {
        if (m_listNodules.GetItemText(nItem, nColumn) != texts[nColumn])
            m_listNodules.SetItemText(nItem, nColumn, texts[nColumn]);
    }
}

// The selected row is nearly always the focused one too. Wine's list finds the
// focused row at once but looks for a selected one row by row, which every
// refresh of the last of a thousand nodules would pay several times.
int CPulmetraDlg::GetSelectedRow() const {
    const int nItem = m_listNodules.GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED);
    return nItem >= 0 ? nItem : m_listNodules.GetNextItem(-1, LVNI_SELECTED);
}

CNoduleItem* CPulmetraDlg::GetNodule(int nItem) const {
    return nItem >= 0 && nItem < static_cast<int>(m_nodules.size()) ? m_nodules[static_cast<size_t>(nItem)].get()
                                                                    : nullptr;
}

std::vector<const CNoduleItem*> CPulmetraDlg::GetNodules() const {
    std::vector<const CNoduleItem*> nodules;
    nodules.reserve(m_nodules.size());
    for (const auto& pItem : m_nodules) nodules.push_back(pItem.get());
    return nodules;
}

CNoduleItem* CPulmetraDlg::GetSelectedNodule() const { return GetNodule(GetSelectedRow()); }

// The list takes the selection from the old row before it gives it to the new
// one. A refresh for that moment would disable and empty every nodule editor
// only to fill them again, each change repainting a control, so the form is
// refreshed once, for the new row.
void CPulmetraDlg::SelectRow(int nItem) {
    m_bMovingSelection = true;
    m_listNodules.SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_bMovingSelection = false;
    if (GetSelectedRow() < 0) RefreshForm();
}

// A row at nItem for the record, which the form owns from then on (pItem is
// left empty), with its texts; -1, and the record left to the caller, when the
// list takes no row. The room for the record is made first, so that once the
// row stands nothing can fail before the record is held.
int CPulmetraDlg::InsertNoduleRow(int nItem, std::unique_ptr<CNoduleItem>& pItem) {
    m_nodules.reserve(m_nodules.size() + 1);
    const int nInserted =
        m_listNodules.InsertItem(nItem, NoduleTypeText(pItem->m_nType), reinterpret_cast<LPARAM>(pItem.get()));
    if (nInserted < 0) return -1;
    m_nodules.insert(m_nodules.begin() + nInserted, std::move(pItem));
    UpdateNoduleRow(nInserted);
    return nInserted;
}

void CPulmetraDlg::OnAddNoduleClicked() {
    ForgetDeletedNodules();
    auto pItem = std::make_unique<CNoduleItem>();
    const int nInserted = InsertNoduleRow(m_listNodules.GetItemCount(), pItem);
    if (nInserted < 0) return;
    // The selection change refreshes the form, which loads the new nodule.
    SelectRow(nInserted);
    SetFocus(m_listNodules.m_hWnd);
}

void CPulmetraDlg::OnDeleteNoduleClicked() {
    const int nItem = GetSelectedRow();
    if (nItem < 0) return;
    // Take the record out of the list's reach first: the removal notifies a
    // deselection, and the form is refreshed below, once the selection has moved.
    // The record is kept, after those deleted before it, for Ctrl+Z.
    m_deletedNodules.reserve(m_deletedNodules.size() + 1);
    std::unique_ptr<CNoduleItem> pItem = std::move(m_nodules[static_cast<size_t>(nItem)]);
    m_nodules.erase(m_nodules.begin() + nItem);
    m_bMovingSelection = true;
    m_listNodules.DeleteItem(nItem);
    m_bMovingSelection = false;
    m_deletedNodules.push_back({std::move(pItem), nItem});

    const int nCount = m_listNodules.GetItemCount();
    if (nCount == 0) {
        RefreshForm();
        return;
    }
    SelectRow(nItem < nCount ? nItem : nCount - 1);
    SetFocus(m_listNodules.m_hWnd);
}

// Puts the nodule deleted last back at its row, with everything entered for it,
// and selects it. Nothing but deletes has changed since, so the row is where it
// was when the nodules deleted after it are back.
void CPulmetraDlg::RestoreDeletedNodule() {
    if (m_deletedNodules.empty()) return;
    DeletedNodule& deleted = m_deletedNodules.back();
    const int nInserted = InsertNoduleRow(deleted.nRow, deleted.pItem);
    if (nInserted < 0) return;
    m_deletedNodules.pop_back();
    SelectRow(nInserted);
    m_listNodules.EnsureVisible(nInserted, false);
    SetFocus(m_listNodules.m_hWnd);
}

// Ctrl+Z brings back deleted nodules only while deletes are the form's last
// changes: after any other, the reader who presses it means that change, and
// an old row may no longer be the nodule's place.
void CPulmetraDlg::ForgetDeletedNodules() { m_deletedNodules.clear(); }

// A row that loses the selection to another, in one move of the list, is not
// shown unselected in between: emptying and disabling every editor only to fill
// them again would repaint each of them twice.
void CPulmetraDlg::OnNoduleSelChanged(NMHDR* pNMHDR, LRESULT* pResult) {
    const NMLISTVIEW* pNMLV = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    const bool bSelectionChanged = (pNMLV->uOldState ^ pNMLV->uNewState) & LVIS_SELECTED;
    const bool bDeselected = !(pNMLV->uNewState & LVIS_SELECTED);
    if (bSelectionChanged && !bDeselected)
        RefreshForm();
    else if (bSelectionChanged && !m_bMovingSelection)
        PostMessageW(m_hWnd, WM_SHOW_SELECTION, 0, 0);
    *pResult = 0;
}

void CPulmetraDlg::ShowSelection() {
    if (GetSelectedRow() < 0) RefreshForm();
}

// A click on another row moves the selection before the list takes the focus,
// and the editors then show the other nodule: what was typed for the selected
// one is kept for it first, as leaving the editor would keep it. The form's own
// moves have already kept it.
void CPulmetraDlg::OnNoduleSelChanging(NMHDR* pNMHDR, LRESULT* pResult) {
    const NMLISTVIEW* pNMLV = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    const bool bLeavesRow =
        (pNMLV->uChanged & LVIF_STATE) && (pNMLV->uOldState & LVIS_SELECTED) && !(pNMLV->uNewState & LVIS_SELECTED);
    if (bLeavesRow && !m_bMovingSelection && pNMLV->iItem == GetSelectedRow()) CommitFocusedEditor();
    *pResult = FALSE;  // the change goes ahead
}
