// The form as the reader first sees it, and the window chrome around it:
// system menu, About box, icons.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ChildWindows.h"
#include "DisablingTakesTheFocus.h"
#include "FormDriver.h"
#include "FormSteps.h"
#include "ModalScript.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "framework/WindowState.h"
#include "framework/WindowText.h"
#include "model/Labels.h"
#include "model/NoduleItem.h"

namespace {

const std::wstring ABOUT_TITLE = L"Pulmetra 정보";
constexpr int NO_ID = -1;
// Text not compared: the date picker and the logo show no window text of their own.
constexpr const wchar_t* ANY_TEXT = nullptr;

enum Kind { LABEL, COMBO, DATE_PICKER, CHECK_BOX, EDIT, GROUP_BOX, LIST_VIEW, PUSH_BUTTON, PICTURE };

struct KindTraits {
    const wchar_t* className;
    DWORD commonStyle;  // what every control of the kind carries
    DWORD typeMask;     // the style bits that are one choice, compared whole
};

KindTraits TraitsOf(Kind kind) {
    switch (kind) {
    case LABEL: return {L"Static", SS_CENTERIMAGE | WS_GROUP, SS_TYPEMASK};
    case COMBO: return {L"ComboBox", 0, 0x3};
    case DATE_PICKER: return {DATETIMEPICK_CLASSW, 0, 0};
    case CHECK_BOX: return {L"Button", BS_AUTOCHECKBOX | WS_TABSTOP, BS_TYPEMASK};
    case EDIT: return {L"Edit", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, ES_CENTER | ES_RIGHT};
    case GROUP_BOX: return {L"Button", BS_GROUPBOX, BS_TYPEMASK};
    case LIST_VIEW: return {WC_LISTVIEWW, 0, LVS_TYPEMASK};
    case PUSH_BUTTON: return {L"Button", WS_TABSTOP, BS_TYPEMASK};
    case PICTURE: return {L"Static", 0, SS_TYPEMASK};
    }
    return {L"", 0, 0};
}

struct ControlRow {
    int id;
    Kind kind;
    const wchar_t* text;  // after initialisation
    RECT place;           // x, y, width, height in dialog units
    DWORD style;          // beyond what every control of its kind carries
    bool enabled;         // after initialisation
};

// Template order, which is also the order of the child windows.
const ControlRow FORM_CONTROLS[] = {
    {NO_ID, LABEL, L"처음 CT 여부", {7, 7, 53, 12}, SS_CENTER, true},
    {1000, COMBO, L"처음 CT", {66, 7, 69, 37}, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, true},
    {1050, DATE_PICKER, ANY_TEXT, {138, 7, 56, 12}, DTS_SHORTDATEFORMAT | DTS_RIGHTALIGN | WS_TABSTOP, false},
    {1040, CHECK_BOX, L"과거 폐암 병력", {211, 7, 61, 12}, 0, true},
    {NO_ID, LABEL, L"CTDIvol", {285, 7, 32, 12}, SS_RIGHT, true},
    {1049, EDIT, L"0", {319, 7, 52, 12}, ES_CENTER, true},
    {1053, GROUP_BOX, L"결절 정보", {7, 36, 608, 178}, 0, true},
    {1001,
     LIST_VIEW,
     L"",
     {14, 52, 375, 134},
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_ALIGNLEFT | WS_BORDER | WS_TABSTOP,
     true},
    {1013, PUSH_BUTTON, L"결절 추가", {280, 194, 50, 14}, BS_PUSHBUTTON, true},
    {1014, PUSH_BUTTON, L"결절 삭제", {334, 194, 50, 14}, BS_PUSHBUTTON, true},
    {NO_ID, LABEL, L"결절 성상", {401, 52, 40, 12}, SS_LEFT, true},
    {1002, COMBO, L"", {449, 52, 71, 55}, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, false},
    {NO_ID, LABEL, L"결절 크기", {401, 67, 40, 12}, SS_LEFT, true},
    {1038, EDIT, L"", {449, 67, 21, 12}, ES_WANTRETURN, false},
    {1039, EDIT, L"", {472, 67, 21, 12}, ES_WANTRETURN, false},
    {1047, LABEL, L"(고형)", {519, 67, 19, 12}, SS_RIGHT, false},
    {1045, EDIT, L"", {542, 67, 21, 12}, ES_WANTRETURN, false},
    {1046, EDIT, L"", {565, 67, 21, 12}, ES_WANTRETURN, false},
    {NO_ID, LABEL, L"결절 위치", {401, 82, 40, 12}, SS_LEFT, true},
    {1006, COMBO, L"", {449, 82, 71, 55}, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, false},
    {NO_ID, LABEL, L"영상#", {526, 82, 26, 12}, SS_LEFT, true},
    {1012, EDIT, L"", {553, 82, 52, 12}, ES_NUMBER | ES_WANTRETURN, false},
    {NO_ID, LABEL, L"추적 검사", {401, 114, 40, 12}, SS_LEFT, true},
    {1008, COMBO, L"", {449, 114, 71, 55}, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, false},
    {NO_ID, LABEL, L"양성 결절", {401, 129, 40, 12}, SS_LEFT, true},
    {1003, CHECK_BOX, L"양성 석회화", {449, 130, 56, 10}, 0, false},
    {1004, CHECK_BOX, L"지방", {509, 130, 31, 10}, 0, false},
    {1005, CHECK_BOX, L"양성 가능성 높음 (2b)", {401, 146, 90, 10}, 0, false},
    {NO_ID, LABEL, L"4X 소견", {401, 159, 40, 12}, SS_LEFT, true},
    {1009, CHECK_BOX, L"침상결절", {449, 161, 46, 10}, 0, false},
    {1010, CHECK_BOX, L"공동", {498, 161, 31, 10}, 0, false},
    {1011, CHECK_BOX, L"기타", {449, 174, 31, 10}, 0, false},
    {1007, EDIT, L"", {482, 173, 123, 12}, 0, false},
    {NO_ID, GROUP_BOX, L"기관지내 병변", {7, 227, 382, 31}, 0, true},
    {1018, CHECK_BOX, L"기관지내 병변", {14, 238, 63, 10}, 0, true},
    {1019, EDIT, L"", {77, 238, 282, 12}, ES_WANTRETURN, false},
    {NO_ID, GROUP_BOX, L"폐결절 외 폐암시사 소견", {7, 266, 382, 47}, 0, true},
    {1020, CHECK_BOX, L"폐경화", {14, 279, 38, 10}, 0, true},
    {1024, EDIT, L"", {77, 279, 101, 12}, ES_WANTRETURN, false},
    {1022, CHECK_BOX, L"무기폐", {207, 279, 38, 10}, 0, true},
    {1026, EDIT, L"", {258, 279, 101, 12}, ES_WANTRETURN, false},
    {1021, CHECK_BOX, L"림프절 비대", {14, 294, 56, 10}, 0, true},
    {1025, EDIT, L"", {77, 294, 101, 12}, ES_WANTRETURN, false},
    {1023, CHECK_BOX, L"기타", {207, 294, 31, 10}, 0, true},
    {1027, EDIT, L"", {258, 294, 101, 12}, ES_WANTRETURN, false},
    {NO_ID, GROUP_BOX, L"폐결절 외 의미있는 소견", {7, 322, 382, 66}, 0, true},
    {1033, CHECK_BOX, L"관상동맥 석회화", {14, 335, 71, 10}, 0, true},
    {1034, COMBO, L"Mild", {89, 334, 57, 39}, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, false},
    {1032, CHECK_BOX, L"폐기종 (중등도 이상)", {164, 335, 86, 10}, 0, true},
    {1031, CHECK_BOX, L"간질성 폐이상", {279, 335, 63, 10}, 0, true},
    {1030, CHECK_BOX, L"폐렴 및 활동성 폐결핵", {14, 351, 91, 10}, 0, true},
    {1041, CHECK_BOX, L"폐외악성물", {164, 351, 53, 10}, 0, true},
    {1035, CHECK_BOX, L"대동맥류 (≥4.5cm)", {279, 351, 78, 10}, 0, true},
    {1042, CHECK_BOX, L"다량의 흉수 또는 심낭 삼출", {14, 366, 109, 10}, 0, true},
    {1036, CHECK_BOX, L"기타", {164, 366, 31, 10}, 0, true},
    {1028, EDIT, L"", {198, 365, 159, 12}, ES_WANTRETURN, false},
    {NO_ID, GROUP_BOX, L"다른 소견", {7, 394, 382, 34}, 0, true},
    {1029, CHECK_BOX, L"비활동성 폐결핵", {14, 409, 71, 10}, 0, true},
    {1043, CHECK_BOX, L"기타", {164, 409, 31, 10}, 0, true},
    {1044, EDIT, L"", {198, 409, 159, 12}, ES_WANTRETURN, false},
    {NO_ID, GROUP_BOX, L"추가 내용", {401, 227, 214, 86}, 0, true},
    {1017,
     EDIT,
     L"",
     {409, 241, 196, 64},
     ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_BORDER | WS_TABSTOP,
     true},
    {NO_ID, GROUP_BOX, L"최종 판독 범주", {401, 322, 214, 106}, 0, true},
    {1037, LABEL, L"1", {430, 362, 146, 23}, SS_CENTER, true},
    {1016, PUSH_BUTTON, L"판독문", {453, 439, 50, 14}, BS_PUSHBUTTON, true},
    {1015, PUSH_BUTTON, L"지우기", {507, 439, 50, 14}, BS_PUSHBUTTON, true},
    {IDCANCEL, PUSH_BUTTON, L"종료", {565, 439, 50, 14}, BS_DEFPUSHBUTTON, true},
    {1048, PICTURE, ANY_TEXT, {478, 7, 137, 23}, SS_BITMAP, true},
    {NO_ID, LABEL, L"mGy", {373, 7, 16, 12}, SS_CENTER, true},
    {1051, LABEL, L"mm", {496, 67, 19, 12}, SS_LEFT, true},
    {1052, LABEL, L"mm", {588, 67, 19, 12}, SS_LEFT, false},
    {1054, CHECK_BOX, L"흉막주변결절", {402, 99, 61, 10}, 0, false},
};

std::vector<std::wstring> ComboItems(HWND hCombo) {
    std::vector<std::wstring> items;
    const int nCount = static_cast<int>(SendMessageW(hCombo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i) {
        std::wstring item(static_cast<size_t>(SendMessageW(hCombo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        item.resize(static_cast<size_t>(SendMessageW(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    return items;
}

// The local date of today less some days, counted on the calendar.
std::chrono::year_month_day DaysBeforeToday(int nDays) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::chrono::year_month_day today{std::chrono::year{now.wYear}, std::chrono::month{now.wMonth},
                                            std::chrono::day{now.wDay}};
    return std::chrono::sys_days{today} - std::chrono::days{nDays};
}

std::chrono::year_month_day DateOf(const SYSTEMTIME& time) {
    return {std::chrono::year{time.wYear}, std::chrono::month{time.wMonth}, std::chrono::day{time.wDay}};
}

int ScreenDpi() {
    HDC hScreen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(hScreen, LOGPIXELSY);
    ReleaseDC(nullptr, hScreen);
    return dpi;
}

HICON ProgramIcon() { return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)); }

// The size of an icon's colour image.
SIZE IconSize(HICON hIcon) {
    ICONINFO info{};
    BITMAP bitmap{};
    if (hIcon && GetIconInfo(hIcon, &info)) {
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    return {bitmap.bmWidth, bitmap.bmHeight};
}

}  // namespace

TEST(Startup, EveryControlStandsInTemplateOrderAsInitialised) {
    FormDriver form;
    const std::vector<HWND> children = ChildrenInOrder(form.Form());
    ASSERT_EQ(children.size(), std::size(FORM_CONTROLS));

    for (size_t i = 0; i < children.size(); ++i) {
        const ControlRow& row = FORM_CONTROLS[i];
        const KindTraits traits = TraitsOf(row.kind);
        HWND hChild = children[i];
        SCOPED_TRACE(testing::Message() << "control #" << i << " id " << row.id);

        EXPECT_EQ(GetDlgCtrlID(hChild), row.id);
        EXPECT_EQ(CompareStringOrdinal(ClassOf(hChild).c_str(), -1, traits.className, -1, TRUE), CSTR_EQUAL)
            << "class " << testing::PrintToString(ClassOf(hChild));
        if (row.text) {
            EXPECT_EQ(GetWindowTextString(hChild), row.text);
        }
        EXPECT_EQ(IsWindowEnabled(hChild) != FALSE, row.enabled);

        const DWORD style = static_cast<DWORD>(GetWindowLongW(hChild, GWL_STYLE));
        const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(hChild, GWL_EXSTYLE));
        const DWORD expected = WS_CHILD | WS_VISIBLE | traits.commonStyle | row.style;
        // The dialog manager may draw a border as a sunken client edge instead,
        // and a combo box takes the scroll bar style for its drop-down list.
        const DWORD flags = expected & ~traits.typeMask & ~WS_BORDER & ~(row.kind == COMBO ? WS_VSCROLL : 0);
        EXPECT_EQ(style & flags, flags) << std::hex << "style 0x" << style << ", expected 0x" << expected;
        EXPECT_EQ(style & traits.typeMask, expected & traits.typeMask) << std::hex << "style 0x" << style;
        if (expected & WS_BORDER) {
            EXPECT_TRUE((style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE));
        }
        if (row.kind == CHECK_BOX) {
            EXPECT_EQ(SendMessageW(hChild, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        }
        if (row.kind == EDIT) {
            EXPECT_EQ(SendMessageW(hChild, EM_GETIMESTATUS, EMSIS_COMPOSITIONSTRING, 0),
                      EIMES_GETCOMPSTRATONCE | EIMES_COMPLETECOMPSTRKILLFOCUS)
                << "the edit keeps a syllable being composed when it loses the focus";
        }

        // The logo is placed at run time, and a combo box's height is that of its opened list.
        if (row.kind == PICTURE) continue;
        RECT place = row.place;
        MapDialogRect(form.Form(), &place);
        const RECT actual = ChildRect(form.Form(), hChild);
        EXPECT_EQ(actual.left, place.left);
        EXPECT_EQ(actual.top, place.top);
        EXPECT_EQ(actual.right - actual.left, place.right);
        if (row.kind != COMBO) {
            EXPECT_EQ(actual.bottom - actual.top, place.bottom);
        }
    }
}

namespace {

// The types and lobes are the list's and the report's labels as well: the items
// the resources give the boxes are those labels, in the order of the form's
// table of what each item stands for.
template <size_t N> std::vector<std::wstring> LabelsOf(CString (*label)(int), const int (&items)[N]) {
    std::vector<std::wstring> labels;
    for (int nValue : items) labels.push_back(label(nValue));
    return labels;
}

}  // namespace

TEST(Startup, ComboBoxesHoldTheirItemsInOrder) {
    const struct {
        int id;
        std::vector<std::wstring> items;
        int selected;
    } combos[] = {
        {IDC_CT_TYPE, {L"처음 CT", L"추적 CT"}, 0},
        {IDC_NODULE_TYPE, LabelsOf(NoduleTypeText, NODULE_TYPE_ITEMS), CB_ERR},
        {IDC_LOBE, LabelsOf(LobeText, LOBE_ITEMS), CB_ERR},
        {IDC_FOLLOWUP, {L"새로 생김", L"커짐", L"변화없음"}, CB_ERR},
        {IDC_CORONARY_SEVERITY, {L"Mild", L"Moderate", L"Severe"}, 0},
    };
    FormDriver form;
    for (const auto& combo : combos) {
        SCOPED_TRACE(testing::Message() << "combo " << combo.id);
        EXPECT_EQ(ComboItems(form.Item(combo.id)), combo.items);
        EXPECT_EQ(form.ComboSel(combo.id), combo.selected);
    }
}

// The catalogues meet the template through the form's tables: every check box of
// the form stands for exactly one feature or finding (or the prior lung cancer),
// captioned with the words the tips name it by.
TEST(Startup, EveryCheckBoxIsOneRowOfACatalogue) {
    FormDriver form;
    std::map<int, std::wstring> rows = {{IDC_PRIOR_CANCER, L"과거 폐암 병력"}};
    for (const FeatureBox& box : FEATURE_BOXES) {
        const NoduleFeature& feature = FeatureOf(box);
        rows.emplace(box.nIDC, feature.bNamedByReader ? L"기타" : feature.tipWord);
    }
    for (size_t nRow = 0; nRow < EXAM_FINDING_COUNT; ++nRow)
        EXPECT_TRUE(rows.emplace(FINDING_CONTROLS[nRow].nCheckBox, EXAM_FINDINGS[nRow].tipWord).second)
            << "box " << FINDING_CONTROLS[nRow].nCheckBox << " stands for two rows";
    ASSERT_EQ(rows.size(), 1 + std::size(FEATURE_BOXES) + EXAM_FINDING_COUNT);
    size_t nBoxes = 0;
    for (HWND hChild = GetWindow(form.Form(), GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if ((GetWindowLongW(hChild, GWL_STYLE) & BS_TYPEMASK) != BS_AUTOCHECKBOX || !IsOfClass(hChild, L"Button"))
            continue;
        ++nBoxes;
        const auto row = rows.find(GetDlgCtrlID(hChild));
        ASSERT_NE(row, rows.end()) << "check box " << GetDlgCtrlID(hChild) << " stands for no row";
        EXPECT_EQ(GetWindowTextString(hChild), row->second) << "check box " << row->first;
    }
    EXPECT_EQ(nBoxes, rows.size());
}

TEST(Startup, FocusStartsOnTheFirstControlInTabOrder) {
    FormDriver form;
    EXPECT_EQ(form.FocusedId(), IDC_CT_TYPE);
}

TEST(Startup, PriorCtDateIsAYearAgoAndDisabledForABaselineCt) {
    constexpr int DAYS_IN_A_YEAR = 365;
    // Read before and after, so that a start at midnight passes either way.
    const std::chrono::year_month_day before = DaysBeforeToday(DAYS_IN_A_YEAR);
    FormDriver form;
    const std::chrono::year_month_day after = DaysBeforeToday(DAYS_IN_A_YEAR);

    SYSTEMTIME shown{};
    ASSERT_EQ(SendMessageW(form.Item(IDC_PRIOR_CT_DATE), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)),
              GDT_VALID);
    EXPECT_TRUE(DateOf(shown) == before || DateOf(shown) == after)
        << shown.wYear << "-" << shown.wMonth << "-" << shown.wDay << ", expected " << static_cast<int>(before.year())
        << "-" << static_cast<unsigned>(before.month()) << "-" << static_cast<unsigned>(before.day());
    EXPECT_FALSE(form.Enabled(IDC_PRIOR_CT_DATE));
}

TEST(Startup, LogoFillsTheBandAboveTheNoduleGroupKeepingItsShape) {
    constexpr double BITMAP_WIDTH = 240, BITMAP_HEIGHT = 49;
    FormDriver form;
    RECT client;
    GetClientRect(form.Form(), &client);
    const RECT group = ChildRect(form.Form(), form.Item(IDC_NODULE_GROUP));
    const RECT logo = ChildRect(form.Form(), form.Item(IDC_LOGO));

    EXPECT_EQ(logo.top, client.top + 16);
    EXPECT_EQ(logo.bottom, group.top - 16);
    EXPECT_EQ(logo.right, group.right - 2);
    const double width = logo.right - logo.left, height = logo.bottom - logo.top;
    ASSERT_GT(height, 0);
    EXPECT_NEAR(width, height * BITMAP_WIDTH / BITMAP_HEIGHT, 1.0);
    EXPECT_NE(SendMessageW(form.Item(IDC_LOGO), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
}

namespace {

// What the logo control was given and handed back for each STM_SETIMAGE.
struct ImageSwap {
    HGDIOBJ given;
    HGDIOBJ handedBack;
};
std::vector<ImageSwap>* recordedLogoSwaps = nullptr;

LRESULT CALLBACK RecordLogoSwaps(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == STM_SETIMAGE && GetDlgCtrlID(call->hwnd) == IDC_LOGO) {
        recordedLogoSwaps->push_back(
            {reinterpret_cast<HGDIOBJ>(call->lParam), reinterpret_cast<HGDIOBJ>(call->lResult)});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

// The redrawn logo replaces the bitmap the control loaded, which is kept to draw
// from; neither may outlive the form.
TEST(Startup, ResizedLogoLeavesNoBitmapBehind) {
    std::vector<ImageSwap> swaps;
    recordedLogoSwaps = &swaps;
    HHOOK hHook = SetWindowsHookExW(WH_CALLWNDPROCRET, &RecordLogoSwaps, nullptr, GetCurrentThreadId());
    ASSERT_NE(hHook, nullptr);
    HGDIOBJ hShown = nullptr, hLoaded = nullptr;
    {
        FormDriver form;
        UnhookWindowsHookEx(hHook);
        hShown = reinterpret_cast<HGDIOBJ>(SendMessageW(form.Item(IDC_LOGO), STM_GETIMAGE, IMAGE_BITMAP, 0));
        ASSERT_EQ(swaps.size(), 1u) << "the logo is redrawn once, for its band";
        EXPECT_EQ(swaps[0].given, hShown);
        EXPECT_EQ(GetObjectType(hShown), static_cast<DWORD>(OBJ_BITMAP));
        hLoaded = swaps[0].handedBack;
        EXPECT_EQ(GetObjectType(hLoaded), static_cast<DWORD>(OBJ_BITMAP));
    }
    EXPECT_EQ(GetObjectType(hShown), 0u) << "the redrawn logo outlived the form";
    EXPECT_EQ(GetObjectType(hLoaded), 0u) << "the bitmap loaded from the template outlived the form";
}

namespace {

// System colours set for a test's span and set back: Wine keeps them for the
// whole session, as Windows does for the desktop.
class SystemColour {
public:
    SystemColour(int nElement, COLORREF colour) : m_nElement(nElement), m_before(GetSysColor(nElement)) { Set(colour); }
    ~SystemColour() { Set(m_before); }
    SystemColour(const SystemColour&) = delete;
    SystemColour& operator=(const SystemColour&) = delete;
    // As the control panel sets it: every top-level window hears of the change.
    void Set(COLORREF colour) const { SetSysColors(1, &m_nElement, &colour); }

private:
    int m_nElement;
    COLORREF m_before;
};

// The controls of the form that heard of a change of the system colours.
std::vector<int>* controlsTold = nullptr;

LRESULT CALLBACK RecordColourNews(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SYSCOLORCHANGE && GetDlgCtrlID(call->hwnd) > 0)
        controlsTold->push_back(GetDlgCtrlID(call->hwnd));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

COLORREF LogoCornerShown(const FormDriver& form) {
    HWND hLogo = form.Item(IDC_LOGO);
    UpdateWindow(hLogo);
    HDC hDC = GetDC(hLogo);
    const COLORREF colour = GetPixel(hDC, 0, 0);
    ReleaseDC(hLogo, hDC);
    return colour;
}

}  // namespace

// Under any face colour (a high-contrast theme, a scheme of the hospital's own)
// the logo stands on the form's face, from the start and after the colours
// change. The list and the date picker keep colours of their own and hear of a
// change only from the form (Wine's list does not take it up; Windows' does).
TEST(Startup, LogoAndCommonControlsFollowTheSystemColours) {
    constexpr COLORREF FACE_AT_START = RGB(0xC8, 0xD0, 0xE0), FACE_CHANGED = RGB(0x20, 0x20, 0x20);
    const SystemColour face(COLOR_3DFACE, FACE_AT_START);
    FormDriver form;
    EXPECT_EQ(LogoCornerShown(form), FACE_AT_START);

    std::vector<int> told;
    controlsTold = &told;
    HHOOK hHook = SetWindowsHookExW(WH_CALLWNDPROC, &RecordColourNews, nullptr, GetCurrentThreadId());
    face.Set(FACE_CHANGED);
    UnhookWindowsHookEx(hHook);
    form.Pump();
    EXPECT_EQ(LogoCornerShown(form), FACE_CHANGED);
    for (int nIDC : {IDC_NODULE_LIST, IDC_PRIOR_CT_DATE})
        EXPECT_EQ(std::count(told.begin(), told.end(), nIDC), 1) << "control " << nIDC;
}

TEST(Startup, FinalCategoryShowsInBoldArialFourTimesTheDialogFont) {
    FormDriver form;
    const LOGFONTW dialogFont = FontOf(form.Form());
    const LOGFONTW categoryFont = FontOf(form.Item(IDC_FINAL_CATEGORY));
    ASSERT_NE(dialogFont.lfHeight, 0);
    EXPECT_EQ(std::wstring(categoryFont.lfFaceName), L"Arial");
    EXPECT_EQ(categoryFont.lfWeight, FW_BOLD);
    EXPECT_EQ(categoryFont.lfHeight, 4 * dialogFont.lfHeight);
    EXPECT_FALSE(categoryFont.lfItalic);
    EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"1");
}

// Widths in pixels at the test session's 96 dpi and 10-pt dialog font, 7 x 17
// pixels to 4 x 8 dialog units: the list's 375 units make 656 pixels, 652 inside
// its borders, and its header is the font's 17 pixels and 4 high. The narrow
// columns take 13 % and the size column 30 % of the 610 pixels left after two
// header heights.
TEST(Startup, NoduleListHasSixColumnsSizedToTheList) {
    const struct {
        const wchar_t* header;
        int width;
    } columns[] = {
        {L"결절성상", 79}, {L"추적검사", 79}, {L"결절크기", 183},
        {L"결절위치", 79}, {L"흉막주변", 79}, {L"결절범주", 79},
    };
    FormDriver form;
    HWND hList = form.Item(IDC_NODULE_LIST);
    HWND hHeader = reinterpret_cast<HWND>(SendMessageW(hList, LVM_GETHEADER, 0, 0));
    RECT client, header;
    GetClientRect(hList, &client);
    GetWindowRect(hHeader, &header);
    ASSERT_EQ(ScreenDpi(), 96) << "the widths below are those of the test session";
    ASSERT_EQ(client.right - client.left, 652) << "the list's client area";
    ASSERT_EQ(header.bottom - header.top, 21) << "the header's height";

    ASSERT_EQ(SendMessageW(hHeader, HDM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(std::size(columns)));
    for (int i = 0; i < static_cast<int>(std::size(columns)); ++i) {
        SCOPED_TRACE(testing::Message() << "column " << i);
        wchar_t text[64] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = text;
        column.cchTextMax = 64;
        ASSERT_TRUE(SendMessageW(hList, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_EQ(std::wstring(text), columns[i].header);
        EXPECT_EQ(column.cx, columns[i].width);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    }
    const DWORD extended = static_cast<DWORD>(SendMessageW(hList, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(extended & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    EXPECT_EQ(form.RowCount(), 0);
}

TEST(Startup, WindowHasItsTitleFrameAndProgramIcons) {
    FormDriver form;
    EXPECT_EQ(GetWindowTextString(form.Form()), FORM_TITLE);

    const DWORD style = static_cast<DWORD>(GetWindowLongW(form.Form(), GWL_STYLE));
    const DWORD required = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME;
    EXPECT_EQ(style & required, required) << std::hex << style;
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongW(form.Form(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetMenu(form.Form()), nullptr);

    HICON hIcon = ProgramIcon();
    ASSERT_NE(hIcon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(form.Form(), WM_GETICON, ICON_BIG, 0)), hIcon);
    // The small icon is the resource's own image of that size, not the big one shrunk.
    const SIZE small = IconSize(reinterpret_cast<HICON>(SendMessageW(form.Form(), WM_GETICON, ICON_SMALL, 0)));
    EXPECT_EQ(small.cx, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(small.cy, GetSystemMetrics(SM_CYSMICON));
}

TEST(Startup, AFormThatCannotBeCreatedIsReportedWithTheSystemsReason) {
    constexpr UINT NO_SUCH_TEMPLATE = 4242;
    CDialog missing(NO_SUCH_TEMPLATE);
    SeenMessageBox seen;
    ModalScript script;
    script.AnswerMessageBox(IDOK, &seen);
    CWinApp app;
    EXPECT_EQ(app.RunMainDialog(missing), -1);

    EXPECT_TRUE(script.Finished()) << "no message";
    const CString reason = SystemErrorText(ERROR_RESOURCE_NAME_NOT_FOUND);
    ASSERT_FALSE(reason.empty());
    EXPECT_EQ(seen.text,
              L"입력 화면을 준비하지 못해 Pulmetra를 종료합니다. 전산 담당자에게 문의하십시오.\n\n" + reason);
    EXPECT_EQ(seen.caption, APP_NAME);
    EXPECT_EQ(seen.icon, IDI_ERROR);
    EXPECT_EQ(seen.buttons, std::vector<int>{IDOK});
}

TEST(Startup, DraggingTheMinimisedWindowShowsTheProgramIcon) {
    FormDriver form;
    const LRESULT dragIcon = SendMessageW(form.Form(), WM_QUERYDRAGICON, 0, 0);
    EXPECT_NE(dragIcon, 0);
    EXPECT_EQ(reinterpret_cast<HICON>(dragIcon), ProgramIcon());
    EXPECT_EQ(dragIcon, SendMessageW(form.Form(), WM_GETICON, ICON_BIG, 0));
}

TEST(Startup, SystemMenuEndsWithASeparatorAndTheAboutItem) {
    FormDriver form;
    HMENU hMenu = GetSystemMenu(form.Form(), FALSE);
    ASSERT_NE(hMenu, nullptr);
    const int nCount = GetMenuItemCount(hMenu);
    ASSERT_GE(nCount, 2);

    MENUITEMINFOW separator{};
    separator.cbSize = sizeof separator;
    separator.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(hMenu, nCount - 2, TRUE, &separator));
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);

    EXPECT_EQ(GetMenuItemID(hMenu, nCount - 1), static_cast<UINT>(IDM_ABOUTBOX));
    wchar_t text[64] = {};
    GetMenuStringW(hMenu, nCount - 1, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"Pulmetra 정보(&A)...");
    EXPECT_EQ(GetMenuState(hMenu, nCount - 1, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED), 0u);
}

namespace {

enum AboutClose { CLOSE_WITH_OK, CLOSE_WITH_ESCAPE, CLOSE_WITH_CLOSE_BOX };

// What the reader saw while the About box was open.
struct SeenAbout {
    bool opened = false;
    bool formEnabled = true;
    bool ownedByForm = false;
    std::vector<std::wstring> texts;
    bool iconShown = false;
    bool closedByKey = false;
};

void ScriptAboutBox(ModalScript& script, HWND hForm, AboutClose how, SeenAbout& seen) {
    script.Then(
        [hForm, &seen] {
            HWND hAbout = FindDialog(ABOUT_TITLE);
            if (!hAbout) return false;
            seen.opened = true;
            seen.formEnabled = IsWindowEnabled(hForm) != FALSE;
            seen.ownedByForm = GetWindow(hAbout, GW_OWNER) == hForm;
            for (HWND hChild = GetWindow(hAbout, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
                if (SendMessageW(hChild, STM_GETICON, 0, 0)) seen.iconShown = true;
                seen.texts.push_back(GetWindowTextString(hChild));
            }
            return true;
        },
        "the About box");
    script.Then(
        [how, &seen] {
            HWND hAbout = FindDialog(ABOUT_TITLE);
            if (!hAbout) return true;
            switch (how) {
            case CLOSE_WITH_OK: SendMessageW(GetDlgItem(hAbout, IDOK), BM_CLICK, 0, 0); return true;
            case CLOSE_WITH_ESCAPE: {
                // The reader presses Escape once the box has the keyboard focus.
                HWND hFocus = GetFocus();
                if (!hFocus || (hFocus != hAbout && !IsChild(hAbout, hFocus))) return false;
                seen.closedByKey = true;
                PostKey(hFocus, VK_ESCAPE);
                return true;
            }
            case CLOSE_WITH_CLOSE_BOX:
                // What the window manager sends for a click on the close box.
                PostMessageW(hAbout, WM_SYSCOMMAND, SC_CLOSE, 0);
                return true;
            }
            return true;
        },
        "the About box to take the keyboard focus");
}

}  // namespace

TEST(AboutBox, EveryCommandWithTheAboutItemsHighBitsOpensItAndLeavesTheFormAsItWas) {
    FormDriver form;
    // Some entries, so that "as it was" means something.
    form.Click(IDC_ADD_NODULE);
    form.Type(IDC_LONG_AXIS, L"7");
    form.Press(VK_RETURN);
    form.Click(IDC_CORONARY);
    form.Choose(IDC_CORONARY_SEVERITY, MODERATE);
    form.Type(IDC_COMMENTS, L"비교 없음");
    const std::vector<ControlState> before = ControlStates(form);
    const int liveBefore = CNoduleItem::LiveCount();
    const DisablingTakesTheFocus asOnWindows(form.Form());

    const AboutClose closings[] = {CLOSE_WITH_OK, CLOSE_WITH_ESCAPE, CLOSE_WITH_CLOSE_BOX};
    for (UINT command = IDM_ABOUTBOX; command <= IDM_ABOUTBOX + 0xF; ++command) {
        const AboutClose how = closings[command % std::size(closings)];
        SCOPED_TRACE(testing::Message() << "command 0x" << std::hex << command << ", closed by " << how);
        SeenAbout seen;
        {
            ModalScript script;
            ScriptAboutBox(script, form.Form(), how, seen);
            SendMessageW(form.Form(), WM_SYSCOMMAND, command, 0);
            form.Pump();
            EXPECT_TRUE(script.Finished());
        }
        EXPECT_TRUE(seen.opened);
        EXPECT_FALSE(seen.formEnabled) << "the form took input while the About box was open";
        EXPECT_TRUE(seen.ownedByForm);
        EXPECT_TRUE(seen.iconShown);
        ASSERT_EQ(seen.texts.size(), 4u);
        EXPECT_EQ(seen.texts[1], FORM_TITLE);
        EXPECT_FALSE(seen.texts[2].empty());
        EXPECT_EQ(seen.texts[3], L"확인");
        if (how == CLOSE_WITH_ESCAPE) {
            EXPECT_TRUE(seen.closedByKey) << "the About box never had the focus";
        }

        EXPECT_EQ(FindDialog(ABOUT_TITLE), nullptr);
        EXPECT_TRUE(IsWindowEnabled(form.Form()));
        EXPECT_TRUE(ControlStates(form) == before) << "an entry of the form changed";
        EXPECT_EQ(CNoduleItem::LiveCount(), liveBefore);
        EXPECT_EQ(FindMessageBox(), nullptr);
        EXPECT_EQ(form.FocusedId(), IDC_COMMENTS) << "the reader's place in the comment was lost";
    }
}

TEST(AboutBox, OtherSystemCommandsDoNotOpenIt) {
    FormDriver form;
    const std::vector<ControlState> before = ControlStates(form);
    // Just outside the About item's range; neither is a command the window manager knows.
    for (UINT command : {0x000Fu, 0x0020u}) {
        SCOPED_TRACE(testing::Message() << "command 0x" << std::hex << command);
        SeenAbout seen;
        {
            ModalScript script;
            ScriptAboutBox(script, form.Form(), CLOSE_WITH_OK, seen);
            SendMessageW(form.Form(), WM_SYSCOMMAND, command, 0);
            form.Pump();
        }
        EXPECT_FALSE(seen.opened);
        EXPECT_TRUE(IsWindowVisible(form.Form()));
        EXPECT_TRUE(IsWindowEnabled(form.Form()));
        EXPECT_TRUE(ControlStates(form) == before);
    }
}

namespace {

// Refuses the next top-level dialog window this thread creates, as Windows does
// when it cannot make one, leaving the reason for GetLastError.
class RefuseNextDialog {
public:
    explicit RefuseNextDialog(DWORD dwError) {
        s_dwError = dwError;
        m_hHook = SetWindowsHookExW(WH_CBT, &RefuseNextDialog::Hook, nullptr, GetCurrentThreadId());
    }
    ~RefuseNextDialog() { UnhookWindowsHookEx(m_hHook); }
    RefuseNextDialog(const RefuseNextDialog&) = delete;
    RefuseNextDialog& operator=(const RefuseNextDialog&) = delete;

private:
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam) {
        if (nCode == HCBT_CREATEWND && s_dwError != ERROR_SUCCESS) {
            const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
            if (!(create->style & WS_CHILD) && create->lpszClass == WC_DIALOG) {
                SetLastError(std::exchange(s_dwError, ERROR_SUCCESS));
                return 1;
            }
        }
        return CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    static inline DWORD s_dwError = ERROR_SUCCESS;
    HHOOK m_hHook;
};

struct DialogThatCannotOpen {
    const char* name;
    void (*open)(FormDriver& form);
    const wchar_t* prompt;
};

const DialogThatCannotOpen DIALOGS_THAT_CANNOT_OPEN[] = {
    {"the About box", [](FormDriver& form) { SendMessageW(form.Form(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0); },
     L"Pulmetra 정보 창을 열지 못했습니다. 입력한 내용은 그대로 있습니다."},
    {"the report", PressReport,
     L"판독문 창을 열지 못해 판독문을 복사하지 않았습니다. 클립보드에 남아 있는 이전 내용은 다른 환자의 판독문일 "
     L"수 있으니 붙여 넣지 마십시오. 입력한 내용은 그대로 있으니 잠시 뒤 다시 판독문을 누르십시오."},
};

}  // namespace

TEST(FormDialogs, OneThatCannotOpenIsReportedWithTheSystemsReasonAndTheFormStaysAsItWas) {
    constexpr DWORD REASON = ERROR_NOT_ENOUGH_MEMORY;
    for (const DialogThatCannotOpen& dialog : DIALOGS_THAT_CANNOT_OPEN) {
        SCOPED_TRACE(dialog.name);
        FormDriver form;
        form.Type(IDC_COMMENTS, L"비교 없음");
        const std::vector<ControlState> before = ControlStates(form);
        std::vector<SeenMessageBox> seen;
        {
            ModalScript script;
            script.AnswerEveryMessageBox(IDOK, &seen);
            RefuseNextDialog refuse(REASON);
            dialog.open(form);
            form.Pump();
        }

        ASSERT_EQ(seen.size(), 1u) << "the reader was not told, or was told more than once";
        EXPECT_EQ(seen[0].text, dialog.prompt + (L"\n\n" + SystemErrorText(REASON)));
        EXPECT_EQ(seen[0].icon, IDI_ERROR);
        EXPECT_EQ(seen[0].buttons, std::vector<int>{IDOK});
        EXPECT_TRUE(IsWindowEnabled(form.Form()));
        EXPECT_TRUE(ControlStates(form) == before) << "an entry of the form changed";
    }
}
