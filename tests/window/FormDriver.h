#pragma once
// Drives a live findings form through real window messages: clicks, selection
// changes, focus changes and keys, all pumped through the dialog's own loop.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "form/PulmetraDlg.h"

class FormDriver {
public:
    FormDriver();
    ~FormDriver();
    FormDriver(const FormDriver&) = delete;
    FormDriver& operator=(const FormDriver&) = delete;

    HWND Form() const { return m_dlg.GetSafeHwnd(); }
    HWND Item(int nIDC) const { return GetDlgItem(Form(), nIDC); }
    CPulmetraDlg& Dialog() { return m_dlg; }

    // Runs every pending message through the dialog's loop (filter, translate,
    // dispatch) until none is left and the form is the active window again.
    void Pump();
    // Pumps until the condition holds; fails the test, naming what it waited
    // for, when it does not hold within a few seconds.
    bool PumpUntil(const std::function<bool()>& condition, std::string_view what);
    void Click(int nIDC);
    // A press and release of the left button at a point of a window's client area,
    // as the mouse posts them, through the form's loop.
    void ClickAt(HWND hWnd, POINT ptClient);
    void ClickWithMouse(int nIDC) { ClickAt(Item(nIDC), {2, 2}); }
    // Chooses an item as the drop-down would, with the notification it sends.
    void Choose(int nIDC, int nIndex);
    void Focus(int nIDC);
    // Focuses the edit, selects its text and types over it key by key.
    void Type(int nIDC, std::wstring_view text);
    // Focuses the edit, selects its text and pastes over it, as Ctrl+V puts in a
    // copied text: at once, where a long text typed key by key takes seconds.
    void Paste(int nIDC, const std::wstring& text);
    // A key pressed and released at the focused control.
    void Press(UINT vk);
    // The key with Ctrl held down, as the keyboard sends it to the focused control;
    // held long enough for nRepeats more key-downs of its auto-repeat.
    void PressCtrl(UINT vk, int nRepeats = 0) { PostKeyStroke(vk, vk, VK_CONTROL, nRepeats); }
    void PressShift(UINT vk) { PostKeyStroke(vk, vk, VK_SHIFT, 0); }
    // The key with Alt held down, as the keyboard sends it: a system key.
    void PressAlt(UINT vk);
    // Puts a syllable being composed through the input method at the end of the
    // edit, as the Korean IME shows it there until something completes it.
    void Compose(int nIDC, std::wstring syllable);
    // A key as the input method hands it on while composing: VK_PROCESSKEY, its
    // own code known only to ImmGetVirtualKey.
    void PressDuringComposition(UINT vk, bool bCtrl);
    // One turn of the wheel, the pointer at a point of the screen, sent to the
    // window that Windows picks: the focused one on Windows 7, the one under the
    // pointer on Windows 10 and 11.
    void TurnWheel(HWND hTarget, POINT ptScreen, int nDelta);
    // Clicks a list row, as a selection change of the list view.
    void SelectRow(int nRow);
    // Clicks a list row with the mouse, once it is scrolled into view.
    void ClickRow(int nRow);
    // The window of a combo box's drop-down list, which takes the clicks on its items.
    HWND DropDownList(int nIDC) const;
    // Moves the mouse pointer to a point of a control's client area (0: the
    // form's) and keeps it still until a tooltip shows; returns the tip's text,
    // empty when none showed. It comes from a corner of the form without a tip,
    // or, bFromCorner false, straight from where it rests.
    std::wstring HoverTip(int nIDC, POINT ptClient, bool bFromCorner = true);

    std::wstring Text(int nIDC) const;
    bool Enabled(int nIDC) const { return IsWindowEnabled(Item(nIDC)) != FALSE; }
    bool Checked(int nIDC) const { return IsDlgButtonChecked(Form(), nIDC) == BST_CHECKED; }
    int ComboSel(int nIDC) const;
    // The control with the keyboard focus, once the form is at rest.
    int FocusedId();
    // The selection of an edit as [start, end).
    std::pair<int, int> EditSelection(int nIDC) const;

    int RowCount() const;
    int SelectedRow() const;
    std::wstring RowText(int nRow, int nColumn) const;
    CNoduleItem& Record(int nRow) const;

private:
    bool AtRest() const;
    void MovePointer(HWND hWnd, POINT ptClient);
    // Posts the key-downs (wKeyDown: vk itself, or VK_PROCESSKEY) and the key-up
    // of vk, with VK_CONTROL or VK_SHIFT held down (0: neither).
    void PostKeyStroke(WPARAM wKeyDown, UINT vk, UINT vkModifier, int nRepeats);
    // Every message already queued, and those that handling them queues.
    void RunQueued();

    CPulmetraDlg m_dlg;
};
