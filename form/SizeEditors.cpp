// What the reader types into the editors of the selected nodule, and the keys
// that keep it. Each size edit is a row of one table; one commit and one key
// handler read it.
//
// Keys handled here:
// - Enter, in every control of the form, keeps what was typed and never presses
//   a button (the default one is "종료"). In a long axis it then moves the caret
//   on to the short axis, with its text selected; in a short axis, the image
//   number and the other feature's text the caret stays; elsewhere the form is
//   brought up to date. An open drop-down list takes Enter to close on its item,
//   and 추가 내용 takes it for a new line.
// - Tab and Shift+Tab go by the tab order, in which each long axis is followed
//   by its short axis; a click goes where it is aimed. Leaving an editor any of
//   these ways keeps what was typed, and so does a click on another row of the
//   list, before that row's nodule shows in the editors.
#include <iterator>

#include "PulmetraDlg.h"
#include "base/NumberText.h"
#include "framework/ScopedValue.h"

namespace {

struct SizeEdit {
    int nIDC;
    double CNoduleItem::*field;
    // The short axis that a long axis fills while it holds no size; null for a short axis.
    double CNoduleItem::*fillsWhenEmpty;
    // Where Enter takes the caret: a long axis's short axis; 0 for a short axis, where it stays.
    int nEnterGoesTo;
};

constexpr SizeEdit SIZE_EDITS[] = {
    {IDC_LONG_AXIS, &CNoduleItem::m_dLongAxis, &CNoduleItem::m_dShortAxis, IDC_SHORT_AXIS},
    {IDC_SHORT_AXIS, &CNoduleItem::m_dShortAxis, nullptr, 0},
    {IDC_SOLID_LONG_AXIS, &CNoduleItem::m_dSolidLongAxis, &CNoduleItem::m_dSolidShortAxis, IDC_SOLID_SHORT_AXIS},
    {IDC_SOLID_SHORT_AXIS, &CNoduleItem::m_dSolidShortAxis, nullptr, 0},
};

const SizeEdit* FindSizeEdit(int nIDC) {
    for (const SizeEdit& edit : SIZE_EDITS)
        if (edit.nIDC == nIDC) return &edit;
    return nullptr;
}

}  // namespace

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
    dValue = StoredDiameter(GetControlText(nIDC));
    return true;
}

// Stores what was typed into a size edit, and ends, like every editor, in a
// refresh, also when nothing was typed. A nodule measured on one axis only gets
// two equal axes. Enter keeps the one-decimal text the edit then shows, as leaving
// the edit would, and moves on; the move is a focus loss of the edit, which the
// commit has already seen to. False when nIDC is no size edit.
bool CPulmetraDlg::CommitSize(int nIDC, bool bEnter) {
    const SizeEdit* edit = FindSizeEdit(nIDC);
    if (!edit) return false;
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem || !IsCommittable(nIDC)) return true;
    const auto store = [this, pItem, edit](double dValue) {
        pItem->*edit->field = dValue;
        pItem->UpdateCategory();
        if (edit->fillsWhenEmpty && !IsMeasured(pItem->*edit->fillsWhenEmpty)) {
            pItem->*edit->fillsWhenEmpty = dValue;
            pItem->UpdateCategory();
        }
        ClearInvalidPerifissural(pItem);
        FinishNoduleEdit();
    };
    double dValue = 0;
    const bool bTyped = TakeTypedDiameter(nIDC, dValue);
    if (bTyped)
        store(dValue);
    else
        FinishNoduleEdit();
    if (!edit->nEnterGoesTo) return true;

    HWND hNext = GetDlgItem(edit->nEnterGoesTo);
    if (!bEnter) {
        // Tab selected the short axis's text before the refresh filled it in.
        if (GetFocus() == hNext) SendMessageW(hNext, EM_SETSEL, 0, -1);
        return true;
    }
    if (bTyped) {
        const double dShown = StoredDiameter(GetControlText(nIDC));
        if (!(pItem->*edit->field == dShown && IsMeasured(pItem->*edit->fillsWhenEmpty))) store(dShown);
    }
    ScopedValue movingFocus(m_nMovingFocusFrom, nIDC);
    FocusEditSelectAll(edit->nEnterGoesTo);
    return true;
}

void CPulmetraDlg::OnSizeKillFocus(int nIDC) {
    if (m_nMovingFocusFrom != nIDC) CommitSize(nIDC, false);
}

void CPulmetraDlg::OnImageNoKillFocus() {
    CNoduleItem* pItem = GetSelectedNodule();
    if (!pItem) return;
    pItem->m_nImageNo = ParseInteger(GetControlText(IDC_IMAGE_NO));
    FinishNoduleEdit();
}

// What the reader typed into an editor, kept as leaving it would keep it.
void CPulmetraDlg::CommitEditor(int nIDC, bool bEnter) {
    if (CommitSize(nIDC, bEnter)) return;
    if (nIDC == IDC_IMAGE_NO)
        OnImageNoKillFocus();
    else if (nIDC == IDC_OTHER_TEXT)
        OnOtherTextKillFocus();
    else if (bEnter)
        RefreshForm();
}

// Before anything shows another nodule in the editors: what was typed belongs
// to the nodule it was typed for.
void CPulmetraDlg::CommitFocusedEditor() {
    HWND hFocus = GetFocus();
    if (hFocus && GetParent(hFocus) == m_hWnd) CommitEditor(GetDlgCtrlID(hFocus), false);
}

FilterResult CPulmetraDlg::CommitOnEnter(MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN) return FilterResult::Pass;
    if (IsDroppedCombo(msg.hwnd)) return FilterResult::Pass;
    const int nIDC = GetDlgCtrlID(msg.hwnd);
    if (nIDC == IDC_COMMENTS) return FilterResult::Pass;
    CommitEditor(nIDC, true);
    return FilterResult::Handled;
}
