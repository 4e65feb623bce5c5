#pragma once
// The real findings form for the window benchmarks, run as the program runs it
// and driven through window messages. Unlike the window tests' FormDriver it
// installs no hook and needs no test library: a hook on sent messages costs
// Wine server round trips on every message, which the program never pays. It
// uses only what every release of the form has, so ./bench.sh --against can
// build it against an earlier commit.
#include <windows.h>

#include <string>
#include <string_view>

#include "form/PulmetraDlg.h"

// Ends the benchmark with the reason, before any row of a run that went wrong.
[[noreturn]] void BenchFail(const std::string& what);
inline void BenchExpect(bool bHolds, const std::string& what) {
    if (!bHolds) BenchFail(what);
}

// A key pressed and released, as the keyboard posts it to the focused control.
void PostKey(HWND hTarget, UINT vk);

class BenchForm {
public:
    BenchForm();
    ~BenchForm();
    BenchForm(const BenchForm&) = delete;
    BenchForm& operator=(const BenchForm&) = delete;

    HWND Form() const { return m_dlg.GetSafeHwnd(); }
    HWND Item(int nIDC) const { return GetDlgItem(Form(), nIDC); }

    // Every message already queued, paints included, through the dialog's loop;
    // it does not wait for messages still to come, so it can be timed.
    void RunQueued();
    // Untimed: runs messages until the form is the active window again, as it is
    // once the window manager has answered a change of focus or activation.
    void Settle();

    void Click(int nIDC);
    void Focus(int nIDC);
    // A choice in a drop-down: the selection, then the notification it sends.
    void Choose(int nIDC, int nIndex);
    // Focuses the edit, selects its text and types over it key by key.
    void Type(int nIDC, std::wstring_view text);
    void Press(UINT vk);
    // A click on a list row, as a selection change of the list view.
    void SelectRow(int nRow);
    // A row scrolled into view, and a point of it in the list's client area,
    // where a click lands on the row.
    POINT RowPoint(int nRow);
    // Holds a key down, or lets it go, in this thread's keyboard state, which
    // posted keys leave alone.
    static void HoldKey(UINT vk, bool bDown);

    std::wstring Text(int nIDC) const;
    bool Checked(int nIDC) const { return IsDlgButtonChecked(Form(), nIDC) == BST_CHECKED; }
    bool Enabled(int nIDC) const { return IsWindowEnabled(Item(nIDC)) != FALSE; }
    int FocusedId();
    int RowCount() const;
    int SelectedRow() const;
    CNoduleItem& Record(int nRow) const;

private:
    CPulmetraDlg m_dlg;
};
