// The mouse wheel over the form's choices. Windows 10 and 11 send it to the
// control under the pointer, focused or not, as a posted message through the
// form's loop, which is how these tests send it.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "FormDriver.h"
#include "FormSteps.h"

namespace {

constexpr int WHEEL_UP = WHEEL_DELTA, WHEEL_DOWN = -WHEEL_DELTA;

// One notch of the wheel with the pointer at the middle of the control.
void TurnWheelOver(FormDriver& form, int nIDC, int nDelta) {
    RECT rect;
    GetWindowRect(form.Item(nIDC), &rect);
    PostMessageW(form.Item(nIDC), WM_MOUSEWHEEL, MAKEWPARAM(0, nDelta),
                 MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    form.Pump();
}

// A follow-up CT with a part-solid nodule and a graded coronary calcification:
// every combo box of the form is enabled and holds a choice.
void MakeEveryChoice(FormDriver& form) {
    form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
    AddNodule(form, NODULE_PART_SOLID, L"12", L"10");
    form.Choose(IDC_LOBE, LOBE_RML);
    form.Choose(IDC_FOLLOWUP, STATUS_GROWING);
    form.Click(IDC_CORONARY);
    form.Choose(IDC_CORONARY_SEVERITY, MODERATE);
}

SYSTEMTIME PriorCtDate(const FormDriver& form) {
    SYSTEMTIME date{};
    SendMessageW(form.Item(IDC_PRIOR_CT_DATE), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    return date;
}

}  // namespace

// The reader types a comment while the pointer rests over the form; the date
// picker is here to show that it, too, keeps its date.
TEST(MouseWheel, OverAChoiceWithoutTheFocusChangesNothing) {
    FormDriver form;
    MakeEveryChoice(form);
    form.Type(IDC_COMMENTS, L"판독 중");
    const std::vector<ControlState> before = ControlStates(form);
    const std::vector<std::wstring> rowsBefore = RowTexts(form);
    const SYSTEMTIME dateBefore = PriorCtDate(form);

    for (int nIDC : {IDC_CT_TYPE, IDC_NODULE_TYPE, IDC_LOBE, IDC_FOLLOWUP, IDC_CORONARY_SEVERITY, IDC_PRIOR_CT_DATE}) {
        for (int nDelta : {WHEEL_DOWN, WHEEL_UP}) {
            SCOPED_TRACE(testing::Message() << "control " << nIDC << ", delta " << nDelta);
            TurnWheelOver(form, nIDC, nDelta);
            EXPECT_EQ(ControlStates(form), before);
            EXPECT_EQ(RowTexts(form), rowsBefore);
            EXPECT_EQ(PriorCtDate(form).wDay, dateBefore.wDay);
            EXPECT_EQ(form.FocusedId(), IDC_COMMENTS);
        }
    }
}

// A choice the reader is working in still turns with the wheel, and the nodule follows it.
TEST(MouseWheel, OverTheFocusedChoiceWorksAsEver) {
    const struct {
        int nIDC;
        int nDelta;
        int nSelected;
        int CNoduleItem::*field;  // where the nodule keeps the choice, if it does
        int nStored;
    } turns[] = {
        {IDC_NODULE_TYPE, WHEEL_DOWN, NODULE_GROUND_GLASS, &CNoduleItem::m_nType, NODULE_GROUND_GLASS},
        {IDC_LOBE, WHEEL_UP, LOBE_RUL, &CNoduleItem::m_nLobe, LOBE_RUL},
        {IDC_FOLLOWUP, WHEEL_DOWN, STATUS_STABLE, &CNoduleItem::m_nFollowUp, FOLLOWUP_STABLE},
        {IDC_CORONARY_SEVERITY, WHEEL_DOWN, SEVERE, nullptr, 0},
        // Last: back to a baseline CT, which clears every follow-up status.
        {IDC_CT_TYPE, WHEEL_UP, BASELINE_CT, &CNoduleItem::m_nFollowUp, FOLLOWUP_BASELINE},
    };
    FormDriver form;
    MakeEveryChoice(form);
    for (const auto& turn : turns) {
        SCOPED_TRACE(testing::Message() << "control " << turn.nIDC);
        form.Focus(turn.nIDC);
        TurnWheelOver(form, turn.nIDC, turn.nDelta);
        EXPECT_EQ(form.ComboSel(turn.nIDC), turn.nSelected);
        if (turn.field) {
            EXPECT_EQ(form.Record(0).*turn.field, turn.nStored);
        }
    }
}
