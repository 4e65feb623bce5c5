#include "FormDriver.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <imm.h>

#include <utility>

#include "ModalScript.h"
#include "framework/InputMethod.h"
#include "framework/ListCtrl.h"
#include "framework/WindowText.h"

namespace {

// Long enough for a loaded machine; a condition that takes longer is a fault.
constexpr ULONGLONG PATIENCE_MS = 5000;
constexpr DWORD WAIT_SLICE_MS = 10;

}  // namespace

FormDriver::FormDriver() {
    NoteWindowsShownToTheReader();
    if (!m_dlg.CreateModal()) ADD_FAILURE() << "the findings form could not be created";
    SetForegroundWindow(Form());
    SetActiveWindow(Form());
    PumpUntil([this] { return ShownToTheReader(Form()); }, "the window manager to show the form");
    Pump();
}

FormDriver::~FormDriver() { m_dlg.DestroyModal(); }

// Under Wine the window manager answers a change of the active window a moment
// later, and the form may be deactivated meanwhile, its focus gone with it: while
// it is shown and takes input, it has come to rest once it is active again.
bool FormDriver::AtRest() const {
    HWND hForm = Form();
    return !IsWindowVisible(hForm) || !IsWindowEnabled(hForm) || GetActiveWindow() == hForm;
}

void FormDriver::RunQueued() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) m_dlg.PumpMessage(msg);
}

void FormDriver::Pump() {
    PumpUntil([this] { return AtRest(); }, "the form to be the active window again");
}

bool FormDriver::PumpUntil(const std::function<bool()>& condition, std::string_view what) {
    const ULONGLONG deadline = GetTickCount64() + PATIENCE_MS;
    for (;;) {
        RunQueued();
        if (condition()) return true;
        if (GetTickCount64() >= deadline) {
            ADD_FAILURE() << "waited " << PATIENCE_MS / 1000 << " s for " << what << " (focus " << GetFocus() << " id "
                          << GetDlgCtrlID(GetFocus()) << ", active " << GetActiveWindow() << ", form " << Form()
                          << ", foreground " << GetForegroundWindow() << ")";
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, WAIT_SLICE_MS, QS_ALLINPUT);
    }
}

void FormDriver::Click(int nIDC) {
    SendMessageW(Item(nIDC), BM_CLICK, 0, 0);
    Pump();
}

void FormDriver::ClickAt(HWND hWnd, POINT ptClient) {
    PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptClient.x, ptClient.y));
    PostMessageW(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(ptClient.x, ptClient.y));
    Pump();
}

void FormDriver::Choose(int nIDC, int nIndex) {
    HWND hCombo = Item(nIDC);
    SendMessageW(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    SendMessageW(Form(), WM_COMMAND, MAKEWPARAM(nIDC, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
    Pump();
}

void FormDriver::Focus(int nIDC) {
    SetFocus(Item(nIDC));
    Pump();
}

void FormDriver::Type(int nIDC, std::wstring_view text) {
    Focus(nIDC);
    HWND hEdit = Item(nIDC);
    SendMessageW(hEdit, EM_SETSEL, 0, -1);
    if (text.empty()) {
        PostKey(hEdit, VK_DELETE);
    }
    for (wchar_t ch : text) PostMessageW(hEdit, WM_CHAR, ch, 1);
    Pump();
}

void FormDriver::Paste(int nIDC, const std::wstring& text) {
    Focus(nIDC);
    HWND hEdit = Item(nIDC);
    SendMessageW(hEdit, EM_SETSEL, 0, -1);
    SendMessageW(hEdit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    Pump();
}

// The key goes to the focused control, so the form must be at rest first.
void FormDriver::Press(UINT vk) {
    Pump();
    PostKey(GetFocus(), vk);
    Pump();
}

void FormDriver::PressAlt(UINT vk) {
    Pump();
    PostKey(GetFocus(), vk, true);
    Pump();
}

void FormDriver::TurnWheel(HWND hTarget, POINT ptScreen, int nDelta) {
    PostMessageW(hTarget, WM_MOUSEWHEEL, MAKEWPARAM(0, nDelta), MAKELPARAM(ptScreen.x, ptScreen.y));
    Pump();
}

void FormDriver::Compose(int nIDC, std::wstring syllable) {
    Focus(nIDC);
    HWND hEdit = Item(nIDC);
    const int nEnd = GetWindowTextLengthW(hEdit);
    SendMessageW(hEdit, EM_SETSEL, static_cast<WPARAM>(nEnd), nEnd);
    HIMC hImc = ImmGetContext(hEdit);
    const DWORD nBytes = static_cast<DWORD>(syllable.size() * sizeof(wchar_t));
    if (!ImmSetCompositionStringW(hImc, SCS_SETSTR, syllable.data(), nBytes, nullptr, 0))
        ADD_FAILURE() << "the input method took no composition";
    ImmReleaseContext(hEdit, hImc);
    Pump();
}

namespace {

UINT g_nKeyBehindProcessKey = 0;
UINT WINAPI KeyBehindProcessKey(HWND) { return g_nKeyBehindProcessKey; }

}  // namespace

void FormDriver::PressDuringComposition(UINT vk, bool bCtrl) {
    g_nKeyBehindProcessKey = vk;
    const auto pfnBefore = std::exchange(g_pfnGetVirtualKey, KeyBehindProcessKey);
    PostKeyStroke(VK_PROCESSKEY, vk, bCtrl ? VK_CONTROL : 0, 0);
    g_pfnGetVirtualKey = pfnBefore;
}

void FormDriver::PostKeyStroke(WPARAM wKeyDown, UINT vk, UINT vkModifier, int nRepeats) {
    // Posted keys leave the keyboard state alone: the modifier, and the key
    // itself while it is down, are put there by hand.
    const UINT vkLeftModifier = vkModifier == VK_CONTROL ? VK_LCONTROL : VK_LSHIFT;
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE before[] = {keys[vkModifier], keys[vkLeftModifier], keys[vk]};
    if (vkModifier) keys[vkModifier] = keys[vkLeftModifier] = 0x80;
    keys[vk] = 0x80;
    SetKeyboardState(keys);
    Pump();
    HWND hTarget = GetFocus();
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(hTarget, WM_KEYDOWN, wKeyDown, scan | 1);
    for (int n = 0; n < nRepeats; ++n) PostMessageW(hTarget, WM_KEYDOWN, wKeyDown, scan | 0x40000001);
    PostMessageW(hTarget, WM_KEYUP, vk, scan | 0xC0000001);
    Pump();
    GetKeyboardState(keys);
    keys[vkModifier] = before[0];
    keys[vkLeftModifier] = before[1];
    keys[vk] = before[2];
    SetKeyboardState(keys);
}

// The pointer moves there for real and the test waits until the window system
// has it there; the move it reports to the window is also posted, in case it
// comes late.
void FormDriver::MovePointer(HWND hWnd, POINT ptClient) {
    POINT ptScreen = ptClient;
    ClientToScreen(hWnd, &ptScreen);
    SetCursorPos(ptScreen.x, ptScreen.y);
    PumpUntil(
        [ptScreen] {
            POINT ptNow{};
            return GetCursorPos(&ptNow) && ptNow.x == ptScreen.x && ptNow.y == ptScreen.y;
        },
        "the pointer to arrive");
    PostMessageW(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(ptClient.x, ptClient.y));
}

std::wstring FormDriver::HoverTip(int nIDC, POINT ptClient, bool bFromCorner) {
    constexpr ULONGLONG TIMEOUT_MS = 4000;
    // A corner of the form has no tip, so that a tip still shown goes.
    if (bFromCorner) {
        MovePointer(Form(), {2, 2});
        PumpUntil([] { return !FindTooltip(); }, "the tooltip to go");
    }
    MovePointer(nIDC == 0 ? Form() : Item(nIDC), ptClient);
    for (const ULONGLONG deadline = GetTickCount64() + TIMEOUT_MS; GetTickCount64() < deadline;) {
        Pump();
        if (HWND hTip = FindTooltip()) return GetWindowTextString(hTip);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, WAIT_SLICE_MS, QS_ALLINPUT);
    }
    return {};
}

void FormDriver::SelectRow(int nRow) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(Item(IDC_NODULE_LIST), LVM_SETITEMSTATE, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item));
    Pump();
}

void FormDriver::ClickRow(int nRow) {
    HWND hList = Item(IDC_NODULE_LIST);
    SendMessageW(hList, LVM_ENSUREVISIBLE, static_cast<WPARAM>(nRow), FALSE);
    RECT label{};
    label.left = LVIR_LABEL;
    SendMessageW(hList, LVM_GETITEMRECT, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&label));
    ClickAt(hList, {(label.left + label.right) / 2, (label.top + label.bottom) / 2});
}

HWND FormDriver::DropDownList(int nIDC) const {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(Item(nIDC), &info);
    return info.hwndList;
}

int FormDriver::FocusedId() {
    Pump();
    return GetDlgCtrlID(GetFocus());
}

std::wstring FormDriver::Text(int nIDC) const { return GetWindowTextString(Item(nIDC)); }

int FormDriver::ComboSel(int nIDC) const { return static_cast<int>(SendMessageW(Item(nIDC), CB_GETCURSEL, 0, 0)); }

std::pair<int, int> FormDriver::EditSelection(int nIDC) const {
    DWORD start = 0, end = 0;
    SendMessageW(Item(nIDC), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

int FormDriver::RowCount() const {
    return static_cast<int>(SendMessageW(Item(IDC_NODULE_LIST), LVM_GETITEMCOUNT, 0, 0));
}

int FormDriver::SelectedRow() const {
    return static_cast<int>(
        SendMessageW(Item(IDC_NODULE_LIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::wstring FormDriver::RowText(int nRow, int nColumn) const {
    CListCtrl list;
    list.m_hWnd = Item(IDC_NODULE_LIST);
    return list.GetItemText(nRow, nColumn);
}

CNoduleItem& FormDriver::Record(int nRow) const {
    CListCtrl list;
    list.m_hWnd = Item(IDC_NODULE_LIST);
    return *reinterpret_cast<CNoduleItem*>(list.GetItemData(nRow));
}
