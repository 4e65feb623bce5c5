// The form on a screen too small for it even in its smallest legible font:
// as tall as the work area, its controls scrolling inside it. These run where
// the form scrolls furthest, in the 1280 x 720 session of display_scales.sh; on
// a screen that the form fits they have nothing to show.
#include <gtest/gtest.h>

#include <functional>

#include "ChildWindows.h"
#include "FormDriver.h"
#include "FormSteps.h"
#include "ModalScript.h"

namespace {

bool Scrolls(const FormDriver& form) { return (GetWindowLongW(form.Form(), GWL_STYLE) & WS_VSCROLL) != 0; }

int ViewTop(const FormDriver& form) { return GetScrollPos(form.Form(), SB_VERT); }

bool WhollyInView(const FormDriver& form, int nIDC) {
    RECT view;
    GetClientRect(form.Form(), &view);
    const RECT rect = ChildRect(form.Form(), form.Item(nIDC));
    return rect.top >= view.top && rect.bottom <= view.bottom && rect.left >= view.left && rect.right <= view.right;
}

// The wheel turned with the pointer at a point of the form's client area, as
// Windows 10 and 11 send it: to the window under the pointer, through the form's loop.
void TurnWheelAt(FormDriver& form, POINT ptClient, int nDelta) {
    POINT ptScreen = ptClient;
    ClientToScreen(form.Form(), &ptScreen);
    form.TurnWheel(WindowFromPoint(ptScreen), ptScreen, nDelta);
}

POINT CentreOf(const FormDriver& form, int nIDC) {
    const RECT rect = ChildRect(form.Form(), form.Item(nIDC));
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Halfway down the view, left of every control: only the form's face.
void TurnWheelOverTheForm(FormDriver& form, int nDelta) {
    RECT view;
    GetClientRect(form.Form(), &view);
    TurnWheelAt(form, {2, view.bottom / 2}, nDelta);
}

constexpr int FAR_DOWN = -20 * WHEEL_DELTA, FAR_UP = 20 * WHEEL_DELTA;

void ClickScrollBar(FormDriver& form, WORD nCode) {
    PostMessageW(form.Form(), WM_VSCROLL, MAKEWPARAM(nCode, 0), 0);
    form.Pump();
}

}  // namespace

// The scroll bar, the wheel over the form's background and labels, and Page Up /
// Page Down outside edits move the view. None of it moves the focus: a size typed
// and not yet committed is still being typed.
TEST(ScrollingForm, ScrollsWithoutTouchingAnEntry) {
    FormDriver form;
    if (!Scrolls(form)) GTEST_SKIP() << "the form fits this screen";
    AddNodule(form, NODULE_SOLID, L"7", L"6");
    form.Type(IDC_LONG_AXIS, L"9");
    const int nGroupTop = ChildRect(form.Form(), form.Item(IDC_NODULE_GROUP)).top + ViewTop(form);

    const struct {
        const char* what;
        std::function<void()> act;
        int nDirection;  // of the view: 1 down, -1 up, 0 still
    } inputs[] = {
        {"the wheel over the form", [&form] { TurnWheelOverTheForm(form, -WHEEL_DELTA); }, 1},
        {"a touchpad's third of a notch over the form", [&form] { TurnWheelOverTheForm(form, -WHEEL_DELTA / 3); }, 1},
        {"the wheel over a label", [&form] { TurnWheelAt(form, CentreOf(form, IDC_SIZE_UNIT), WHEEL_DELTA); }, -1},
        {"the scroll bar's arrow", [&form] { ClickScrollBar(form, SB_LINEDOWN); }, 1},
        {"the scroll bar's track", [&form] { ClickScrollBar(form, SB_PAGEUP); }, -1},
        {"Page Down in an edit", [&form] { form.Press(VK_NEXT); }, 0},
    };
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.what);
        const int nBefore = ViewTop(form);
        input.act();
        const int nAfter = ViewTop(form);
        EXPECT_EQ((nAfter > nBefore) - (nAfter < nBefore), input.nDirection);
        EXPECT_EQ(ChildRect(form.Form(), form.Item(IDC_NODULE_GROUP)).top, nGroupTop - nAfter)
            << "the controls did not move with the scroll bar";
        EXPECT_EQ(form.FocusedId(), IDC_LONG_AXIS);
    }
    EXPECT_EQ(form.Text(IDC_LONG_AXIS), L"9") << "committed or refreshed";
    EXPECT_DOUBLE_EQ(form.Record(0).m_dLongAxis, 7.0001);

    // Outside the edits the page keys move the view.
    form.Press(VK_RETURN);
    form.Focus(IDC_PRIOR_CANCER);
    form.Press(VK_NEXT);
    EXPECT_GT(ViewTop(form), 0);
    form.Press(VK_PRIOR);
    EXPECT_EQ(ViewTop(form), 0);
    EXPECT_FALSE(form.Checked(IDC_PRIOR_CANCER));
}

// Whatever moves the focus to a control out of view brings it into view.
TEST(ScrollingForm, TakingTheFocusBringsAControlIntoView) {
    FormDriver form;
    if (!Scrolls(form)) GTEST_SKIP() << "the form fits this screen";
    AddNodule(form, NODULE_SOLID, L"7", L"6");  // no lobe: the Report command asks for it

    const struct {
        const char* what;
        std::function<void()> prepare;  // puts the focus somewhere, then the view at one end
        std::function<void()> move;
        int nFocused;
    } moves[] = {
        {"Tab from the kind of examination",
         [&form] {
             form.Focus(IDC_CT_TYPE);
             TurnWheelOverTheForm(form, FAR_DOWN);
         },
         [&form] { form.Press(VK_TAB); }, IDC_PRIOR_CANCER},
        {"Ctrl+N from 종료",
         [&form] {
             form.Focus(IDCANCEL);
             TurnWheelOverTheForm(form, FAR_DOWN);
         },
         [&form] { form.PressCtrl('N'); }, IDC_LONG_AXIS},
        {"Enter in the long axis, typed before the view moved",
         [&form] {
             form.Type(IDC_LONG_AXIS, L"5");
             TurnWheelOverTheForm(form, FAR_DOWN);
         },
         [&form] { form.Press(VK_RETURN); }, IDC_SHORT_AXIS},
        // The focus goes to the list and comes back to where the reader had put the caret.
        {"Ctrl+Up in the long axis",
         [&form] {
             form.Focus(IDC_LONG_AXIS);
             form.Press(VK_END);
             TurnWheelOverTheForm(form, FAR_DOWN);
         },
         [&form] { form.PressCtrl(VK_UP); }, IDC_LONG_AXIS},
        {"판독문 pressed with Space, the lobe missing",
         [&form] {
             form.Focus(IDC_REPORT);
             TurnWheelOverTheForm(form, FAR_DOWN);
         },
         [&form] {
             ModalScript script;
             script.AnswerMessageBox(IDOK);
             form.Press(VK_SPACE);
             EXPECT_TRUE(script.Finished()) << "the lobe was not asked for";
         },
         IDC_LOBE},
        {"Tab from the comments",
         [&form] {
             form.Focus(IDC_COMMENTS);
             TurnWheelOverTheForm(form, FAR_UP);
         },
         [&form] { form.Press(VK_TAB); }, IDC_REPORT},
    };
    for (const auto& move : moves) {
        SCOPED_TRACE(move.what);
        move.prepare();
        ASSERT_FALSE(WhollyInView(form, move.nFocused)) << "the screen is too large to show this";
        move.move();
        EXPECT_EQ(form.FocusedId(), move.nFocused);
        EXPECT_TRUE(WhollyInView(form, move.nFocused));
    }
    EXPECT_DOUBLE_EQ(form.Record(1).m_dLongAxis, 5.0001) << "Enter did not commit what was typed";
}

// 1037 lets the mouse through to the form, whose tool for it is a rectangle:
// the tip shows where the category shows.
TEST(ScrollingForm, TheFinalCategorysTipFollowsTheView) {
    FormDriver form;
    if (!Scrolls(form)) GTEST_SKIP() << "the form fits this screen";
    TurnWheelOverTheForm(form, FAR_DOWN);
    ASSERT_GT(ViewTop(form), 0);
    const RECT category = ChildRect(form.Form(), form.Item(IDC_FINAL_CATEGORY));
    EXPECT_EQ(form.HoverTip(0, {(category.left + category.right) / 2, (category.top + category.bottom) / 2}),
              L"결절 없음 → 1");
}
