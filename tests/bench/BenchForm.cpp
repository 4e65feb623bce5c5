#include "BenchForm.h"

#include <commctrl.h>

#include <cstdio>

#include "framework/WindowText.h"

namespace {

// A queue that never empties would be a fault of the form; stop pumping it.
constexpr int MAX_QUEUED_MESSAGES = 100000;
// Long enough for a loaded machine; a form that takes longer to come back is stuck.
constexpr ULONGLONG PATIENCE_MS = 10000;
constexpr DWORD WAIT_SLICE_MS = 5;

}  // namespace

void BenchFail(const std::string& what) {
    std::fprintf(stderr, "window_bench: %s\n", what.c_str());
    std::fflush(stderr);
    ExitProcess(1);
}

void PostKey(HWND hTarget, UINT vk) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(hTarget, WM_KEYDOWN, vk, scan | 1);
    PostMessageW(hTarget, WM_KEYUP, vk, scan | 0xC0000001);
}

BenchForm::BenchForm() {
    BenchExpect(m_dlg.CreateModal(), "the findings form could not be created");
    SetForegroundWindow(Form());
    SetActiveWindow(Form());
    Settle();
}

BenchForm::~BenchForm() { m_dlg.DestroyModal(); }

void BenchForm::RunQueued() {
    MSG msg;
    for (int nHandled = 0; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++nHandled) {
        BenchExpect(nHandled < MAX_QUEUED_MESSAGES, "the message queue never empties");
        m_dlg.PumpMessage(msg);
    }
}

void BenchForm::Settle() {
    const ULONGLONG deadline = GetTickCount64() + PATIENCE_MS;
    for (;;) {
        RunQueued();
        HWND hForm = Form();
        if (!IsWindowVisible(hForm) || !IsWindowEnabled(hForm) || GetActiveWindow() == hForm) return;
        BenchExpect(GetTickCount64() < deadline, "the form did not become the active window again");
        MsgWaitForMultipleObjects(0, nullptr, FALSE, WAIT_SLICE_MS, QS_ALLINPUT);
    }
}

void BenchForm::Click(int nIDC) {
    SendMessageW(Item(nIDC), BM_CLICK, 0, 0);
    Settle();
}

void BenchForm::Focus(int nIDC) {
    SetFocus(Item(nIDC));
    Settle();
}

void BenchForm::Choose(int nIDC, int nIndex) {
    HWND hCombo = Item(nIDC);
    SendMessageW(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    SendMessageW(Form(), WM_COMMAND, MAKEWPARAM(nIDC, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
    Settle();
}

void BenchForm::Type(int nIDC, std::wstring_view text) {
    HWND hEdit = Item(nIDC);
    SetFocus(hEdit);
    Settle();
    SendMessageW(hEdit, EM_SETSEL, 0, -1);
    if (text.empty()) PostKey(hEdit, VK_DELETE);
    for (wchar_t ch : text) PostMessageW(hEdit, WM_CHAR, ch, 1);
    Settle();
}

void BenchForm::Press(UINT vk) {
    Settle();
    PostKey(GetFocus(), vk);
    Settle();
}

void BenchForm::SelectRow(int nRow) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(Item(IDC_NODULE_LIST), LVM_SETITEMSTATE, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item));
    Settle();
}

POINT BenchForm::RowPoint(int nRow) {
    HWND hList = Item(IDC_NODULE_LIST);
    SendMessageW(hList, LVM_ENSUREVISIBLE, static_cast<WPARAM>(nRow), FALSE);
    Settle();
    RECT row{LVIR_LABEL, 0, 0, 0};
    BenchExpect(SendMessageW(hList, LVM_GETITEMRECT, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&row)) != 0,
                "a row of the list has no place");
    RECT client;
    GetClientRect(hList, &client);
    const POINT point{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
    BenchExpect(PtInRect(&client, point) != FALSE, "a row to click is out of the list's view");
    return point;
}

void BenchForm::HoldKey(UINT vk, bool bDown) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[vk] = bDown ? 0x80 : 0;
    SetKeyboardState(keys);
}

std::wstring BenchForm::Text(int nIDC) const { return GetWindowTextString(Item(nIDC)); }

int BenchForm::FocusedId() {
    Settle();
    return GetDlgCtrlID(GetFocus());
}

int BenchForm::RowCount() const {
    return static_cast<int>(SendMessageW(Item(IDC_NODULE_LIST), LVM_GETITEMCOUNT, 0, 0));
}

int BenchForm::SelectedRow() const {
    return static_cast<int>(
        SendMessageW(Item(IDC_NODULE_LIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

CNoduleItem& BenchForm::Record(int nRow) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = nRow;
    SendMessageW(Item(IDC_NODULE_LIST), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    BenchExpect(item.lParam != 0, "a row of the list has no record");
    return *reinterpret_cast<CNoduleItem*>(item.lParam);
}
