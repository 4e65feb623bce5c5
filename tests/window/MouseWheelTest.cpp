// The mouse wheel over the form's choices. Windows 10 and 11 send it to the
// control under the pointer, focused or not, as a posted message through the
// form's loop, which is how these tests send it.
#include <gtest/gtest.h>

#include <vector>

#include "FormDriver.h"
#include "FormSteps.h"

namespace {

constexpr int WHEEL_UP = WHEEL_DELTA, WHEEL_DOWN = -WHEEL_DELTA;

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

}  // namespace

// The reader types a comment with the pointer resting over the form: no choice
// changes. The date picker, which takes no wheel, is here to show that it keeps
// its date too. A choice the reader is working in still turns with the wheel.
TEST(MouseWheel, ChangesOnlyTheChoiceThatHasTheFocus) {
    FormDriver form;
    MakeEveryChoice(form);
    form.Type(IDC_COMMENTS, L"판독 중");
    const std::vector<ControlState> before = ControlStates(form);
    const std::vector<std::wstring> rowsBefore = RowTexts(form);

    for (int nIDC : {IDC_CT_TYPE, IDC_NODULE_TYPE, IDC_LOBE, IDC_FOLLOWUP, IDC_CORONARY_SEVERITY, IDC_PRIOR_CT_DATE}) {
        for (int nDelta : {WHEEL_DOWN, WHEEL_UP}) {
            SCOPED_TRACE(testing::Message() << "control " << nIDC << ", delta " << nDelta);
            TurnWheelOver(form, nIDC, nDelta);
            EXPECT_EQ(ControlStates(form), before);
            EXPECT_EQ(RowTexts(form), rowsBefore);
            EXPECT_EQ(form.FocusedId(), IDC_COMMENTS);
        }
    }

    form.Focus(IDC_LOBE);
    TurnWheelOver(form, IDC_LOBE, WHEEL_DOWN);
    EXPECT_EQ(form.ComboSel(IDC_LOBE), LOBE_RLL);
    EXPECT_EQ(form.Record(0).m_nLobe, LOBE_RLL);
}
