// Tooltips of the findings form: how each nodule and the examination came to
// their categories, and the keys of the command buttons.
#include "PulmetraDlg.h"

#include <windowsx.h>

#include "framework/WindowState.h"
#include "model/CategoryExplanation.h"

namespace {

// Explanations wider than this wrap onto further lines.
constexpr int TIP_WIDTH_DLU = 230;

struct ButtonTip {
    int nIDC;
    const wchar_t* text;
};

const ButtonTip BUTTON_TIPS[] = {
    {IDC_ADD_NODULE, L"결절 추가 (Ctrl+N)"},
    {IDC_DELETE_NODULE, L"결절 삭제 (Ctrl+D)\r\n방금 삭제한 결절 되살리기: Ctrl+Z (입력 칸 밖에서)"},
    {IDC_REPORT, L"판독문 (Ctrl+Enter)"},
    {IDCANCEL, L"종료 (Esc)"},
};

}  // namespace

void CPulmetraDlg::CreateTips() {
    if (!m_tips.Create(m_hWnd)) return;
    // The dialog's face: the system's tooltip face may have no Hangul.
    m_tips.SetFont(reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0)));
    RECT width{0, 0, TIP_WIDTH_DLU, 0};
    MapDialogRect(m_hWnd, &width);
    m_tips.SetMaxTipWidth(width.right);
    for (const ButtonTip& tip : BUTTON_TIPS) m_tips.AddTool(GetDlgItem(tip.nIDC), tip.text);

    // 1037 lets the mouse through to the form (it has no SS_NOTIFY), so its tool
    // is its rectangle on the form, and its text is made when the tip shows. The
    // form is shown unscrolled.
    m_rcCategoryTool = ChildRect(m_hWnd, GetDlgItem(IDC_FINAL_CATEGORY));
    m_ptCategoryToolScroll = {};
    m_tips.AddTool(m_hWnd, LPSTR_TEXTCALLBACKW, &m_rcCategoryTool, IDC_FINAL_CATEGORY);
}

// Where the form scrolls, 1037 moves with the view, and its tool with it.
void CPulmetraDlg::KeepCategoryToolOnCategory() {
    const POINT scroll = GetScrollPosition();
    if (scroll.x == m_ptCategoryToolScroll.x && scroll.y == m_ptCategoryToolScroll.y) return;
    m_ptCategoryToolScroll = scroll;
    RECT tool = m_rcCategoryTool;
    OffsetRect(&tool, -scroll.x, -scroll.y);
    m_tips.SetToolRect(m_hWnd, IDC_FINAL_CATEGORY, tool);
}

// Sees every message of the form's loop before it is dispatched: the mouse
// messages move the tips, and the tooltip's own timer, which shows a tip after
// the pointer has rested, first has the row's explanation made.
FilterResult CPulmetraDlg::RelayToTips(MSG& msg) {
    if (msg.message == WM_TIMER && msg.hwnd == m_tips.m_hWnd) {
        ExplainTipRow();
        return FilterResult::Pass;
    }
    if (msg.message < WM_MOUSEFIRST || msg.message > WM_MOUSELAST) return FilterResult::Pass;
    if (msg.hwnd != m_hWnd && !IsChild(m_hWnd, msg.hwnd)) return FilterResult::Pass;
    if (msg.hwnd == m_hWnd) KeepCategoryToolOnCategory();
    if (msg.hwnd == m_listNodules.m_hWnd && msg.message == WM_MOUSEMOVE)
        TrackTipRow({GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
    m_tips.RelayEvent(&msg);
    return FilterResult::Pass;
}

// The row tool follows the pointer: one tool over the row beneath it, replaced
// when the pointer reaches another row, so that the tooltip treats each row as
// a tool of its own and shows its tip anew. It starts without text, which
// shows nothing, until its tip is about to show.
void CPulmetraDlg::TrackTipRow(POINT ptList) {
    const int nRow = m_listNodules.SubItemHitTest(ptList);
    RECT row{};
    if (nRow >= 0) m_listNodules.GetItemRect(nRow, &row, LVIR_BOUNDS);
    if (nRow == m_nTipRow && EqualRect(&row, &m_rcTipRow)) return;
    ForgetTips();
    if (m_nTipRow >= 0) m_tips.DelTool(m_listNodules.m_hWnd, static_cast<UINT_PTR>(m_nTipRow) + 1);
    m_nTipRow = -1;
    if (!GetNodule(nRow)) return;
    m_nTipRow = nRow;
    m_rcTipRow = row;
    m_tips.AddTool(m_listNodules.m_hWnd, L"", &row, static_cast<UINT_PTR>(nRow) + 1);
}

// The row's explanation, from its record as it now stands; a row that has gone
// takes its tool with it.
void CPulmetraDlg::ExplainTipRow() {
    if (m_nTipRow < 0 || m_bTipRowExplained) return;
    const UINT_PTR nTool = static_cast<UINT_PTR>(m_nTipRow) + 1;
    if (const CNoduleItem* pItem = GetNodule(m_nTipRow)) {
        m_tips.UpdateTipText(m_listNodules.m_hWnd, ExplainNoduleCategory(*pItem, IsBaselineCt()).c_str(), nTool);
        m_bTipRowExplained = true;
    } else {
        m_tips.DelTool(m_listNodules.m_hWnd, nTool);
        m_nTipRow = -1;
    }
}

// After a change of the data no tip may show what was: a shown tip goes, and the
// row's explanation is made anew before its tip next shows. While no tip shows,
// the tooltip is left alone.
void CPulmetraDlg::ForgetTips() {
    if (IsWindowVisible(m_tips.m_hWnd)) m_tips.Pop();
    m_bTipRowExplained = false;
}

void CPulmetraDlg::OnFinalCategoryTip(NMHDR* pNMHDR, LRESULT* pResult) {
    m_strFinalCategoryTip = ExplainFinalCategory(GetNodules(), ReadExamFindings());
    reinterpret_cast<NMTTDISPINFOW*>(pNMHDR)->lpszText = m_strFinalCategoryTip.data();
    *pResult = 0;
}
