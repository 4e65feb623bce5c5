#include "ListDriving.h"

namespace {

template <typename Enum, size_t N> const char* Name(const char* const (&names)[N], Enum value) {
    return names[static_cast<size_t>(value)];
}

}  // namespace

const char* NameOf(ListOpen open) {
    static const char* const NAMES[] = {"opened", "F4", "Alt+Down", "clicked open"};
    return Name(NAMES, open);
}

const char* NameOf(ListMove move) {
    static const char* const NAMES[] = {"Down", "Up", "Ctrl+Down", "Ctrl+Up", "pointer on item "};
    return Name(NAMES, move);
}

const char* NameOf(ListClose close) {
    static const char* const NAMES[] = {"Enter",  "Tab", "click on item ", "Esc",
                                        "Alt+Up", "F4",  "click outside",  "focus to the list of nodules"};
    return Name(NAMES, close);
}

void OpenList(FormDriver& form, int nIDC, ListOpen open) {
    switch (open) {
    case ListOpen::SHOW_DROPDOWN:
        SendMessageW(form.Item(nIDC), CB_SHOWDROPDOWN, TRUE, 0);
        form.Pump();
        break;
    case ListOpen::F4: form.Press(VK_F4); break;
    case ListOpen::ALT_DOWN: form.PressAlt(VK_DOWN); break;
    case ListOpen::CLICK: form.ClickWithMouse(nIDC); break;
    }
}

// The pointer resting on an item selects it without a word to the box.
void MoveInList(FormDriver& form, int nIDC, ListMove move, int nItem) {
    switch (move) {
    case ListMove::DOWN: form.Press(VK_DOWN); break;
    case ListMove::UP: form.Press(VK_UP); break;
    case ListMove::CTRL_DOWN: form.PressCtrl(VK_DOWN); break;
    case ListMove::CTRL_UP: form.PressCtrl(VK_UP); break;
    case ListMove::POINTER:
        SendMessageW(form.DropDownList(nIDC), LB_SETCURSEL, static_cast<WPARAM>(nItem), 0);
        form.Pump();
        break;
    }
}

// The list holds the mouse while it is open: a click anywhere else reaches it, outside its area.
int CloseList(FormDriver& form, int nIDC, ListClose close, int nItem) {
    HWND hList = form.DropDownList(nIDC);
    const int nShown = static_cast<int>(SendMessageW(hList, LB_GETCURSEL, 0, 0));
    RECT rect{};
    switch (close) {
    case ListClose::ENTER: form.Press(VK_RETURN); return nShown;
    case ListClose::TAB: form.Press(VK_TAB); return nShown;
    case ListClose::CLICK_ITEM:
        SendMessageW(hList, LB_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&rect));
        form.ClickAt(hList, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
        return nItem;
    case ListClose::ESCAPE: form.Press(VK_ESCAPE); break;
    case ListClose::ALT_UP: form.PressAlt(VK_UP); break;
    case ListClose::F4: form.Press(VK_F4); break;
    case ListClose::CLICK_OUTSIDE:
        GetClientRect(hList, &rect);
        form.ClickAt(hList, {rect.right + 20, rect.bottom + 20});
        break;
    case ListClose::FOCUS_ELSEWHERE: form.Focus(IDC_NODULE_LIST); break;
    }
    return -1;
}
