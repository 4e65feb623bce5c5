// The editors of the selected nodule: what a typed text stores and shows, and
// the feature boxes whose flags the category guards.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

#include "FormDriver.h"
#include "FormSteps.h"

namespace {

// The whole nodule's axes and the solid part's axes commit alike.
struct AxisPair {
    const char* name;
    int nType;
    int nLongId;
    int nShortId;
    double CNoduleItem::*longField;
    double CNoduleItem::*shortField;
};

const AxisPair AXIS_PAIRS[] = {
    {"whole nodule 1038/1039", NODULE_SOLID, IDC_LONG_AXIS, IDC_SHORT_AXIS, &CNoduleItem::m_dLongAxis,
     &CNoduleItem::m_dShortAxis},
    {"solid part 1045/1046", NODULE_PART_SOLID, IDC_SOLID_LONG_AXIS, IDC_SOLID_SHORT_AXIS,
     &CNoduleItem::m_dSolidLongAxis, &CNoduleItem::m_dSolidShortAxis},
};

struct LongAxisCase {
    const char* proves;
    const wchar_t* typed;  // nullptr: the edit only gets the focus
    UINT key;
    double storedLong;
    double storedShort;
    const wchar_t* shownLong;
    const wchar_t* shownShort;
};

const LongAxisCase LONG_AXIS_CASES[] = {
    {"Tab keeps the typed decimals until the next commit", L"12.34", VK_TAB, 12.3401, 12.3401, L"12.3", L"12.3"},
    {"Enter stores the refreshed one-decimal text; the short axis keeps the first value", L"12.34", VK_RETURN, 12.3001,
     12.3401, L"12.3", L"12.3"},
    {"a typed x.x5 rounds up through the nudge", L"2.25", VK_TAB, 2.2501, 2.2501, L"2.3", L"2.3"},
    // A text that gives no size stores the nudge alone and shows both axes empty.
    {"a negative number", L"-3", VK_TAB, 0.0001, 0.0001, L"", L""},
    {"a negative number confirmed with Enter", L"-3", VK_RETURN, 0.0001, 0.0001, L"", L""},
    {"zero", L"0", VK_RETURN, 0.0001, 0.0001, L"", L""},
    {"a size so large that the mean would overflow", L"1e308", VK_TAB, 0.0001, 0.0001, L"", L""},
    {"a size typed and erased again", L"5\b", VK_TAB, 0.0001, 0.0001, L"", L""},
    {"an edit passed through untouched stores nothing", nullptr, VK_TAB, 0, 0, L"", L""},
    {"Enter in an untouched edit stores nothing and moves on", nullptr, VK_RETURN, 0, 0, L"", L""},
    {"reading stops at a unit", L"7mm", VK_RETURN, 7.0001, 7.0001, L"7.0", L"7.0"},
    {"a comma between digits is the decimal point", L"7,5", VK_TAB, 7.5001, 7.5001, L"7.5", L"7.5"},
    {"a comma decimal commits as the point does", L"12,34", VK_RETURN, 12.3001, 12.3401, L"12.3", L"12.3"},
    {"a comma after the digits ends the number", L"7,", VK_TAB, 7.0001, 7.0001, L"7.0", L"7.0"},
    {"nan is no number", L"nan", VK_TAB, 0.0001, 0.0001, L"", L""},
    {"inf is no number", L"inf", VK_RETURN, 0.0001, 0.0001, L"", L""},
    {"an exponent beyond any double is no number", L"1e999", VK_TAB, 0.0001, 0.0001, L"", L""},
    {"leading blanks are skipped", L"  9", VK_TAB, 9.0001, 9.0001, L"9.0", L"9.0"},
};

const char* KeyName(UINT key) { return key == VK_RETURN ? "Enter" : "Tab"; }

}  // namespace

TEST(NoduleEditors, LongAxisStoresTheTypedNumberPlusNudgeAndFillsAnEmptyShortAxis) {
    for (const AxisPair& axes : AXIS_PAIRS) {
        for (const LongAxisCase& c : LONG_AXIS_CASES) {
            SCOPED_TRACE(testing::Message() << axes.name << ", " << KeyName(c.key) << ": " << c.proves);
            FormDriver form;
            form.Click(IDC_ADD_NODULE);
            if (axes.nType != NODULE_SOLID) form.Choose(IDC_NODULE_TYPE, axes.nType);

            if (c.typed)
                form.Type(axes.nLongId, c.typed);
            else
                form.Focus(axes.nLongId);
            form.Press(c.key);

            EXPECT_DOUBLE_EQ(form.Record(0).*axes.longField, c.storedLong);
            EXPECT_DOUBLE_EQ(form.Record(0).*axes.shortField, c.storedShort);
            EXPECT_EQ(form.Text(axes.nLongId), c.shownLong);
            EXPECT_EQ(form.Text(axes.nShortId), c.shownShort);
            EXPECT_EQ(form.FocusedId(), axes.nShortId);
            const int nShownLength = static_cast<int>(wcslen(c.shownShort));
            EXPECT_EQ(form.EditSelection(axes.nShortId), std::make_pair(0, nShownLength));
        }
    }
}

// Shift+Tab is the reader going back on purpose: what was typed is kept as
// Tab would keep it, and the focus goes to the control before the long axis
// instead of on to the short axis.
TEST(NoduleEditors, ShiftTabFromALongAxisGoesBack) {
    const struct {
        const char* proves;
        const AxisPair& axes;
        const wchar_t* typed;  // nullptr: a new nodule's long axis left untouched
        int nBefore;
        double storedLong, storedShort;
        const wchar_t* meanAfterSeven;  // then: the next type, Tab, 7 and Enter
    } cases[] = {
        {"a typed value is stored and fills the short axis", AXIS_PAIRS[0], L"6", IDC_NODULE_TYPE, 6.0001, 6.0001,
         L"6.5 [mm]"},
        {"an untouched long axis stores nothing", AXIS_PAIRS[0], nullptr, IDC_NODULE_TYPE, 0, 0, L"7.0 [mm]"},
        {"the solid part goes back to the short axis", AXIS_PAIRS[1], L"4", IDC_SHORT_AXIS, 4.0001, 4.0001, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.proves);
        FormDriver form;
        form.Click(IDC_ADD_NODULE);
        if (c.axes.nType != NODULE_SOLID) form.Choose(IDC_NODULE_TYPE, c.axes.nType);
        if (c.typed)
            form.Type(c.axes.nLongId, c.typed);
        else
            form.Focus(c.axes.nLongId);

        form.PressShift(VK_TAB);

        EXPECT_EQ(form.FocusedId(), c.nBefore);
        EXPECT_DOUBLE_EQ(form.Record(0).*c.axes.longField, c.storedLong);
        EXPECT_DOUBLE_EQ(form.Record(0).*c.axes.shortField, c.storedShort);
        if (!c.meanAfterSeven) continue;
        form.Press(VK_DOWN);
        EXPECT_EQ(form.Record(0).m_nType, NODULE_PART_SOLID);
        form.Press(VK_TAB);
        EXPECT_EQ(form.FocusedId(), c.axes.nLongId);
        Enter(form, c.axes.nLongId, L"7");
        EXPECT_TRUE(form.RowText(0, 2).starts_with(c.meanAfterSeven)) << testing::PrintToString(form.RowText(0, 2));
    }
}

// The reader turns to another program with a long axis typed (here a window of
// the test's own): the value is kept, and the form does not take the focus back.
TEST(NoduleEditors, ALongAxisLeftForAnotherWindowLetsThatWindowKeepTheFocus) {
    FormDriver form;
    form.Click(IDC_ADD_NODULE);
    form.Type(IDC_LONG_AXIS, L"6");
    HWND hOther = CreateWindowExW(0, L"Edit", L"other program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 100,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(hOther);
    SetFocus(hOther);
    form.PumpUntil([hOther] { return GetActiveWindow() == hOther && GetFocus() == hOther; },
                   "the other window to take the focus");
    EXPECT_DOUBLE_EQ(form.Record(0).m_dLongAxis, 6.0001);
    EXPECT_DOUBLE_EQ(form.Record(0).m_dShortAxis, 6.0001);
    // Windows tells the edit of its loss once the other window holds the focus;
    // Wine, in the middle of the change, where a focus taken back goes nowhere.
    // So the loss is told again, as Windows orders it.
    SendMessageW(form.Form(), WM_COMMAND, MAKEWPARAM(IDC_LONG_AXIS, EN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(form.Item(IDC_LONG_AXIS)));
    EXPECT_EQ(GetFocus(), hOther);
    EXPECT_EQ(GetActiveWindow(), hOther);
    DestroyWindow(hOther);
}

TEST(NoduleEditors, ShortAxisTypedAfterTheLongAxisKeepsTheLongAxis) {
    for (const AxisPair& axes : AXIS_PAIRS) {
        SCOPED_TRACE(axes.name);
        FormDriver form;
        form.Click(IDC_ADD_NODULE);
        if (axes.nType != NODULE_SOLID) form.Choose(IDC_NODULE_TYPE, axes.nType);

        form.Type(axes.nLongId, L"8");
        form.Press(VK_RETURN);
        form.Type(axes.nShortId, L"6");
        form.Press(VK_RETURN);
        EXPECT_DOUBLE_EQ(form.Record(0).*axes.longField, 8.0001);
        EXPECT_DOUBLE_EQ(form.Record(0).*axes.shortField, 6.0001);
        EXPECT_EQ(form.Text(axes.nLongId), L"8.0");
        EXPECT_EQ(form.Text(axes.nShortId), L"6.0");

        // A long axis entered again leaves the short axis that is already there.
        form.Type(axes.nLongId, L"10");
        form.Press(VK_TAB);
        EXPECT_DOUBLE_EQ(form.Record(0).*axes.longField, 10.0001);
        EXPECT_DOUBLE_EQ(form.Record(0).*axes.shortField, 6.0001);
        EXPECT_EQ(form.Text(axes.nShortId), L"6.0");
        EXPECT_EQ(form.FocusedId(), axes.nShortId);
    }
}

TEST(NoduleEditors, SizesReachTheRowAndTheCategories) {
    FormDriver form;
    form.Click(IDC_ADD_NODULE);
    // Read only up to the comma, these would be 6 and 5: a mean of 5.5 mm, category 2.
    EnterAxes(form, L"6,5", L"5,5");
    EXPECT_DOUBLE_EQ(form.Record(0).m_dLongAxis, 6.5001);
    EXPECT_DOUBLE_EQ(form.Record(0).m_dShortAxis, 5.5001);
    EXPECT_EQ(form.RowText(0, 2), L"6.0 [mm]");
    EXPECT_EQ(form.RowText(0, 5), L"3");
    EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"3");

    EnterAxes(form, L"8", L"6");
    EXPECT_EQ(form.RowText(0, 2), L"7.0 [mm]");
    EXPECT_EQ(form.RowText(0, 5), L"3");
    EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"3");

    form.Choose(IDC_NODULE_TYPE, NODULE_PART_SOLID);
    EnterSolidAxes(form, L"7", L"6");
    EXPECT_EQ(form.RowText(0, 0), L"부분고형");
    EXPECT_EQ(form.RowText(0, 2), L"7.0 [mm] (6.5 [mm])");
    EXPECT_EQ(form.RowText(0, 5), L"4A");
    EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"4A");
}

// Four decimals whose mean lies exactly on a threshold, left with Tab so that
// both axes keep them: the last bit of the mean decides the category.
TEST(NoduleEditors, SizesTypedOnAThresholdGetTheRulesCategory) {
    const struct {
        const char* name;
        int nType;
        const wchar_t* typed;
        const wchar_t* category;
    } cases[] = {
        {"solid 14.9499: mean 150 tenths", NODULE_SOLID, L"14.9499", L"4B"},
        {"solid 7.9499: mean 80 tenths", NODULE_SOLID, L"7.9499", L"4A"},
        {"ground glass 29.9499: mean 300 tenths", NODULE_GROUND_GLASS, L"29.9499", L"3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FormDriver form;
        form.Click(IDC_ADD_NODULE);
        if (c.nType != NODULE_SOLID) form.Choose(IDC_NODULE_TYPE, c.nType);
        form.Type(IDC_LONG_AXIS, c.typed);
        form.Press(VK_TAB);
        EXPECT_EQ(form.Record(0).m_dShortAxis, form.Record(0).m_dLongAxis);
        EXPECT_EQ(form.RowText(0, 5), c.category);
        EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), c.category);
    }
}

TEST(NoduleEditors, ImageNumberStoresTheDigitsTyped) {
    struct Case {
        const char* proves;
        const wchar_t* typed;
        UINT key;
        int stored;
        const wchar_t* shown;
    } const cases[] = {
        {"leading zeros are dropped", L"0012", VK_RETURN, 12, L"12"},
        {"a number beyond the int range is clamped to its top", L"99999999999", VK_TAB, INT_MAX, L"2147483647"},
        {"the edit takes digits only", L"1a2-3", VK_RETURN, 123, L"123"},
        {"an empty text stores 0", L"", VK_TAB, 0, L"0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << KeyName(c.key) << ": " << c.proves);
        FormDriver form;
        form.Click(IDC_ADD_NODULE);
        form.Type(IDC_IMAGE_NO, c.typed);
        form.Press(c.key);
        EXPECT_EQ(form.Record(0).m_nImageNo, c.stored);
        EXPECT_EQ(form.Text(IDC_IMAGE_NO), c.shown);
        EXPECT_EQ(form.RowText(0, 3), std::wstring(L"--- (#") + c.shown + L")");
    }
}

// Flags of 4X features stay stored while the category hides their boxes.
TEST(NoduleEditors, SpiculationStaysStoredWhileTheCategoryHidesIt) {
    FormDriver form;
    form.Click(IDC_ADD_NODULE);
    EXPECT_FALSE(form.Enabled(IDC_SPICULATION));
    EnterAxes(form, L"7", L"7");
    ASSERT_EQ(form.RowText(0, 5), L"3");

    form.Click(IDC_SPICULATION);
    EXPECT_TRUE(form.Record(0).m_bSpiculation);
    EXPECT_EQ(form.RowText(0, 5), L"4X");

    EnterAxes(form, L"5", L"5");
    EXPECT_EQ(form.RowText(0, 5), L"2");
    EXPECT_FALSE(form.Checked(IDC_SPICULATION));
    EXPECT_FALSE(form.Enabled(IDC_SPICULATION));
    EXPECT_TRUE(form.Record(0).m_bSpiculation);

    EnterAxes(form, L"7", L"7");
    EXPECT_EQ(form.RowText(0, 5), L"4X");
    EXPECT_TRUE(form.Checked(IDC_SPICULATION));
    EXPECT_TRUE(form.Enabled(IDC_SPICULATION));
}

TEST(NoduleEditors, PerifissuralIsClearedByALongAxisAboveTenMillimetres) {
    FormDriver form;
    form.Click(IDC_ADD_NODULE);
    EnterAxes(form, L"8", L"6");
    ASSERT_TRUE(form.Enabled(IDC_PERIFISSURAL));

    form.Click(IDC_PERIFISSURAL);
    EXPECT_TRUE(form.Record(0).m_bPerifissural);
    EXPECT_TRUE(form.Checked(IDC_PERIFISSURAL));
    EXPECT_EQ(form.RowText(0, 4), L"흉막주변");
    EXPECT_EQ(form.RowText(0, 5), L"2");

    form.Type(IDC_LONG_AXIS, L"12");
    form.Press(VK_RETURN);
    EXPECT_FALSE(form.Record(0).m_bPerifissural);
    EXPECT_FALSE(form.Checked(IDC_PERIFISSURAL));
    EXPECT_FALSE(form.Enabled(IDC_PERIFISSURAL));
    EXPECT_EQ(form.RowText(0, 4), L"");
    EXPECT_EQ(form.RowText(0, 5), L"4A");
}

TEST(NoduleEditors, TypeChangeAwayFromSolidClearsPerifissural) {
    const struct {
        const char* name;
        int nType;
    } types[] = {{"part-solid", NODULE_PART_SOLID}, {"ground-glass", NODULE_GROUND_GLASS}};
    for (const auto& type : types) {
        SCOPED_TRACE(type.name);
        FormDriver form;
        form.Click(IDC_ADD_NODULE);
        EnterAxes(form, L"8", L"6");
        form.Click(IDC_PERIFISSURAL);
        ASSERT_TRUE(form.Record(0).m_bPerifissural);

        form.Choose(IDC_NODULE_TYPE, type.nType);
        EXPECT_FALSE(form.Record(0).m_bPerifissural);
        EXPECT_FALSE(form.Enabled(IDC_PERIFISSURAL));
        EXPECT_EQ(form.RowText(0, 4), L"");

        form.Choose(IDC_NODULE_TYPE, NODULE_SOLID);
        EXPECT_FALSE(form.Record(0).m_bPerifissural);
        EXPECT_TRUE(form.Enabled(IDC_PERIFISSURAL));
        EXPECT_FALSE(form.Checked(IDC_PERIFISSURAL));
        EXPECT_EQ(form.RowText(0, 5), L"3");
    }
}

// The type can change while the caret is still in a solid-part edit (a choice
// made without the combo taking the focus), or by the wheel over the combo once
// the reader has moved into it (without the focus, or with the pointer
// elsewhere, it does nothing).
TEST(NoduleEditors, SolidPartSizesSurviveATypeChangeAwayAndBack) {
    const struct {
        const char* how;
        void (*changeType)(FormDriver& form, int nType);
    } ways[] = {
        {"chosen from the combo", [](FormDriver& form, int nType) { form.Choose(IDC_NODULE_TYPE, nType); }},
        {"scrolled with the wheel over the focused combo",
         [](FormDriver& form, int nType) {
             form.Focus(IDC_NODULE_TYPE);
             RECT combo;
             GetWindowRect(form.Item(IDC_NODULE_TYPE), &combo);
             const POINT ptOver = {(combo.left + combo.right) / 2, (combo.top + combo.bottom) / 2};
             const int nNotches = form.ComboSel(IDC_NODULE_TYPE) - nType;  // up lowers the index
             for (int n = 0; n < std::abs(nNotches); ++n)
                 form.TurnWheel(form.Item(IDC_NODULE_TYPE), ptOver, nNotches > 0 ? WHEEL_DELTA : -WHEEL_DELTA);
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        FormDriver form;
        form.Click(IDC_ADD_NODULE);
        form.Choose(IDC_NODULE_TYPE, NODULE_PART_SOLID);
        EnterAxes(form, L"10", L"8");
        EnterSolidAxes(form, L"5", L"4");
        ASSERT_EQ(form.FocusedId(), IDC_SOLID_SHORT_AXIS);

        way.changeType(form, NODULE_GROUND_GLASS);
        EXPECT_EQ(form.Record(0).m_nType, NODULE_GROUND_GLASS);
        EXPECT_EQ(form.Text(IDC_SOLID_LONG_AXIS), L"");
        EXPECT_EQ(form.Text(IDC_SOLID_SHORT_AXIS), L"");
        EXPECT_FALSE(form.Enabled(IDC_SOLID_LONG_AXIS));
        EXPECT_FALSE(form.Enabled(IDC_SOLID_SHORT_AXIS));
        EXPECT_DOUBLE_EQ(form.Record(0).m_dSolidLongAxis, 5.0001);
        EXPECT_DOUBLE_EQ(form.Record(0).m_dSolidShortAxis, 4.0001);
        EXPECT_EQ(form.RowText(0, 2), L"9.0 [mm]");

        way.changeType(form, NODULE_PART_SOLID);
        EXPECT_EQ(form.Record(0).m_nType, NODULE_PART_SOLID);
        EXPECT_EQ(form.Text(IDC_SOLID_LONG_AXIS), L"5.0");
        EXPECT_EQ(form.Text(IDC_SOLID_SHORT_AXIS), L"4.0");
        EXPECT_TRUE(form.Enabled(IDC_SOLID_LONG_AXIS));
        EXPECT_TRUE(form.Enabled(IDC_SOLID_SHORT_AXIS));
        EXPECT_EQ(form.RowText(0, 2), L"9.0 [mm] (4.5 [mm])");
    }
}

TEST(NoduleEditors, OtherFeatureStoresItsTickAndText) {
    FormDriver form;
    form.Click(IDC_ADD_NODULE);
    EnterAxes(form, L"7", L"7");

    form.Click(IDC_OTHER);
    EXPECT_TRUE(form.Record(0).m_bOther);
    EXPECT_EQ(form.Record(0).m_strOther, L"");
    EXPECT_TRUE(form.Enabled(IDC_OTHER_TEXT));
    EXPECT_EQ(form.RowText(0, 5), L"4X");

    form.Type(IDC_OTHER_TEXT, L"불규칙한 변연");
    form.Focus(IDC_COMMENTS);
    EXPECT_EQ(form.Record(0).m_strOther, L"불규칙한 변연");

    form.Click(IDC_OTHER);
    EXPECT_FALSE(form.Record(0).m_bOther);
    EXPECT_EQ(form.Record(0).m_strOther, L"불규칙한 변연");
    EXPECT_EQ(form.Text(IDC_OTHER_TEXT), L"");
    EXPECT_FALSE(form.Enabled(IDC_OTHER_TEXT));
    EXPECT_EQ(form.RowText(0, 5), L"3");

    // Ticked again, the box offers the text the reader wrote before.
    form.Click(IDC_OTHER);
    EXPECT_TRUE(form.Record(0).m_bOther);
    EXPECT_EQ(form.Record(0).m_strOther, L"불규칙한 변연");
    EXPECT_EQ(form.Text(IDC_OTHER_TEXT), L"불규칙한 변연");
}

TEST(NoduleEditors, OtherTextIsShownBackCharacterForCharacter) {
    for (const wchar_t* typed : {L"%s%n", L"100%", L"%d %% %1"}) {
        SCOPED_TRACE(testing::Message() << "typed text of " << wcslen(typed) << " characters");
        FormDriver form;
        form.Click(IDC_ADD_NODULE);
        EnterAxes(form, L"7", L"7");
        form.Click(IDC_OTHER);
        form.Type(IDC_OTHER_TEXT, typed);
        form.Press(VK_TAB);
        EXPECT_EQ(form.Record(0).m_strOther, typed);
        EXPECT_EQ(form.Text(IDC_OTHER_TEXT), typed);
    }
}
