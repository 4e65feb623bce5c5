// The mouse wheel over the form's choices. Windows 10 and 11 send it to the
// control under the pointer, focused or not; Windows 7, and 10 with "scroll
// inactive windows" off, to the control with the focus, wherever the pointer
// is. Both come as a posted message through the dialog's loop, which is how
// these tests send it.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "FormDriver.h"
#include "FormSteps.h"
#include "ReportSteps.h"

namespace {

constexpr int WHEEL_UP = WHEEL_DELTA, WHEEL_DOWN = -WHEEL_DELTA;
constexpr int BACKGROUND = 0;     // a point of the form that no control covers
constexpr int OFF_THE_FORM = -1;  // a point of the screen beside the form

POINT ScreenPoint(const FormDriver& form, int nWhere) {
    RECT rect;
    GetWindowRect(nWhere > 0 ? form.Item(nWhere) : form.Form(), &rect);
    if (nWhere == OFF_THE_FORM) return {rect.left - 4, rect.top + 40};
    // Below the logo, left of the group "결절 정보": only the form's face.
    if (nWhere == BACKGROUND) {
        RECT group;
        GetWindowRect(form.Item(IDC_NODULE_GROUP), &group);
        return {group.left - 2, group.top - 2};
    }
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// A follow-up CT with a part-solid nodule and a graded coronary calcification:
// every combo box of the form is enabled and holds a choice. More nodules and
// comment lines than the list and the comments show.
void MakeEveryChoice(FormDriver& form) {
    form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
    for (int n = 0; n < 14; ++n) form.Click(IDC_ADD_NODULE);
    AddNodule(form, NODULE_PART_SOLID, L"12", L"10");
    form.Choose(IDC_LOBE, LOBE_RML);
    form.Choose(IDC_FOLLOWUP, STATUS_GROWING);
    form.Click(IDC_CORONARY);
    form.Choose(IDC_CORONARY_SEVERITY, MODERATE);
    std::wstring comments = L"판독 중";
    for (int n = 0; n < 20; ++n) comments += L"\r\n줄";
    form.Paste(IDC_COMMENTS, comments);
}

int ListTop(const FormDriver& form) {
    return static_cast<int>(SendMessageW(form.Item(IDC_NODULE_LIST), LVM_GETTOPINDEX, 0, 0));
}

int FirstVisibleLine(HWND hEdit) { return static_cast<int>(SendMessageW(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0)); }

void ScrollBackToTop(const FormDriver& form) {
    SendMessageW(form.Item(IDC_NODULE_LIST), LVM_ENSUREVISIBLE, 0, FALSE);
    SendMessageW(form.Item(IDC_COMMENTS), EM_LINESCROLL, 0, -1000);
}

// Counts the wheel messages that reach the form window itself, where it scrolls
// when it is larger than the screen.
class FormWheelCount {
public:
    explicit FormWheelCount(HWND hForm) : m_hForm(hForm) {
        s_nCount = 0;
        s_pfnNext = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hForm, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormWheelCount::Proc)));
    }
    ~FormWheelCount() { SetWindowLongPtrW(m_hForm, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_pfnNext)); }
    FormWheelCount(const FormWheelCount&) = delete;
    FormWheelCount& operator=(const FormWheelCount&) = delete;
    int Take() { return std::exchange(s_nCount, 0); }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_MOUSEWHEEL) ++s_nCount;
        return CallWindowProcW(s_pfnNext, hWnd, message, wParam, lParam);
    }
    static inline WNDPROC s_pfnNext = nullptr;
    static inline int s_nCount = 0;
    HWND m_hForm;
};

}  // namespace

// A choice changes only where the reader points and works; elsewhere the wheel
// scrolls what is under the pointer, or reaches the form window.
TEST(MouseWheel, ChangesAChoiceOnlyWithTheFocusAndThePointerOnIt) {
    constexpr int CHOICE = -2;  // in the table: the choice under test
    constexpr int FORM_WINDOW = 0, NO_WINDOW = -1;
    const struct {
        const char* route;
        bool bFocusInChoice;  // else the reader types in the comments
        int nPointer;         // CHOICE, a control, BACKGROUND or OFF_THE_FORM
        bool bToFocus;        // Windows 7's route; else the window under the pointer gets it
        int nReceiver;        // what takes the wheel: CHOICE, the list, the comments, FORM_WINDOW or NO_WINDOW
    } routes[] = {
        {"Windows 10, the reader in the comments", false, CHOICE, false, FORM_WINDOW},
        {"Windows 7, the pointer over the list", true, IDC_NODULE_LIST, true, IDC_NODULE_LIST},
        {"Windows 7, the pointer over the comments", true, IDC_COMMENTS, true, IDC_COMMENTS},
        {"Windows 7, the pointer over the form's face", true, BACKGROUND, true, FORM_WINDOW},
        {"Windows 7, the pointer beside the form", true, OFF_THE_FORM, true, NO_WINDOW},
        {"focus and pointer on the choice", true, CHOICE, true, CHOICE},
    };
    for (int nChoice :
         {IDC_CT_TYPE, IDC_NODULE_TYPE, IDC_LOBE, IDC_FOLLOWUP, IDC_CORONARY_SEVERITY, IDC_PRIOR_CT_DATE}) {
        FormDriver form;
        MakeEveryChoice(form);
        FormWheelCount formWheels(form.Form());
        for (const auto& route : routes) {
            // Wine's date picker takes no wheel: what it would do cannot be seen here.
            if (route.nReceiver == CHOICE && nChoice == IDC_PRIOR_CT_DATE) continue;
            SCOPED_TRACE(testing::Message() << "choice " << nChoice << ", " << route.route);
            form.Focus(route.bFocusInChoice ? nChoice : IDC_COMMENTS);
            ScrollBackToTop(form);
            const std::vector<ControlState> before = ControlStates(form);
            const std::vector<std::wstring> rowsBefore = RowTexts(form);
            const int nSelBefore = form.ComboSel(nChoice);
            const int nPointer = route.nPointer == CHOICE ? nChoice : route.nPointer;
            const HWND hTarget = route.bToFocus ? GetFocus() : form.Item(nPointer);
            form.TurnWheel(hTarget, ScreenPoint(form, nPointer), route.nReceiver == CHOICE ? WHEEL_UP : WHEEL_DOWN);

            if (route.nReceiver == CHOICE) {
                EXPECT_NE(form.ComboSel(nChoice), nSelBefore);
            } else {
                EXPECT_EQ(ControlStates(form), before);
                EXPECT_EQ(RowTexts(form), rowsBefore);
            }
            EXPECT_EQ(ListTop(form) > 0, route.nReceiver == IDC_NODULE_LIST);
            EXPECT_EQ(FirstVisibleLine(form.Item(IDC_COMMENTS)) > 0, route.nReceiver == IDC_COMMENTS);
            EXPECT_EQ(formWheels.Take(), route.nReceiver == FORM_WINDOW ? 1 : 0);
            EXPECT_EQ(form.FocusedId(), route.bFocusInChoice ? nChoice : IDC_COMMENTS);
        }
    }
}

// A touchpad or a high-resolution wheel reports a notch in finer turns: the
// focused choice moves one item for every whole notch they add up to. While a
// drop-down list is open, only the list takes the wheel, wherever the pointer
// is and whichever window Windows sends it to.
TEST(MouseWheel, FineTurnsAddUpToWholeNotches) {
    constexpr int THE_LISTS_OWN = 99;  // Windows scrolls an open list, Wine moves its highlight
    const struct {
        const char* what;
        bool bListOpen;
        int nPointer;  // IDC_LOBE or BACKGROUND, where Windows 10 sends the wheel
        int nDelta, nTurns;
        int nItemsDown;  // how far the lobe moves
    } turns[] = {
        {"eight turns of 15 are a notch up", false, IDC_LOBE, 15, 8, -1},
        {"seven turns of 15 move nothing yet", false, IDC_LOBE, 15, 7, 0},
        {"three turns of 40 are a notch up", false, IDC_LOBE, 40, 3, -1},
        {"two turns of -60 are a notch down", false, IDC_LOBE, -60, 2, 1},
        {"an open list takes the wheel over the form's face", true, BACKGROUND, WHEEL_DOWN, 2, THE_LISTS_OWN},
    };
    for (const auto& turn : turns) {
        SCOPED_TRACE(turn.what);
        FormDriver form;
        MakeEveryChoice(form);
        form.Choose(IDC_LOBE, LOBE_RLL);
        form.Focus(IDC_LOBE);
        if (turn.bListOpen) SendMessageW(form.Item(IDC_LOBE), CB_SHOWDROPDOWN, TRUE, 0);
        FormWheelCount formWheels(form.Form());
        const POINT ptPointer = ScreenPoint(form, turn.nPointer);
        for (int n = 0; n < turn.nTurns; ++n) form.TurnWheel(WindowFromPoint(ptPointer), ptPointer, turn.nDelta);

        if (turn.nItemsDown != THE_LISTS_OWN) {
            EXPECT_EQ(form.ComboSel(IDC_LOBE), LOBE_RLL + turn.nItemsDown);
        }
        EXPECT_EQ(formWheels.Take(), 0);
        EXPECT_EQ(SendMessageW(form.Item(IDC_LOBE), CB_GETDROPPEDSTATE, 0, 0) != 0, turn.bListOpen);
    }
}

// The report dialog has its own loop: its text scrolls under the pointer while
// the focus stays on "확인", as Windows 7 sends the wheel there.
TEST(MouseWheel, ScrollsTheReportTextUnderThePointer) {
    FormDriver form;
    int nFirstLine = -1;
    InReportDialog(form, {InReport([](HWND hDialog) {
                              HWND hText = GetDlgItem(hDialog, IDC_REPORT_TEXT);
                              std::wstring text = L"판독문";
                              for (int n = 0; n < 60; ++n) text += L"\r\n줄";
                              SetWindowTextW(hText, text.c_str());
                              SetFocus(GetDlgItem(hDialog, IDOK));
                              RECT rect;
                              GetWindowRect(hText, &rect);
                              PostMessageW(GetDlgItem(hDialog, IDOK), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DOWN),
                                           MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
                          }),
                          InReport([&](HWND hDialog) {
                              nFirstLine = FirstVisibleLine(GetDlgItem(hDialog, IDC_REPORT_TEXT));
                              EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDOK);
                          }),
                          PressInReport(IDCANCEL)});
    EXPECT_GT(nFirstLine, 0);
}
