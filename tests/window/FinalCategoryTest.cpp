// The final category in 1037 for the nodules and the ticked exam findings,
// recomputed after every click and choice.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "FormDriver.h"
#include "FormSteps.h"

namespace {

void TickCoronary(FormDriver& form, int nSeverity) {
    form.Click(IDC_CORONARY);
    form.Choose(IDC_CORONARY_SEVERITY, nSeverity);
}

struct FindingsCase {
    const char* proves;
    std::function<void(FormDriver&)> steps;
    const wchar_t* expected;
};

std::function<void(FormDriver&)> Tick(std::vector<int> boxes) {
    return [boxes](FormDriver& form) {
        for (int nBox : boxes) form.Click(nBox);
    };
}

std::function<void(FormDriver&)> Nodule(const wchar_t* axis) {
    return [axis](FormDriver& form) { AddNodule(form, NODULE_SOLID, axis, axis); };
}

std::function<void(FormDriver&)> Then(std::function<void(FormDriver&)> first, std::function<void(FormDriver&)> next) {
    return [first, next](FormDriver& form) {
        first(form);
        next(form);
    };
}

const FindingsCase FINDINGS_CASES[] = {
    {"an empty list is category 1", [](FormDriver&) {}, L"1"},
    {"the most severe nodule counts", Then(Nodule(L"5"), Nodule(L"9")), L"4A"},
    {"a likely benign nodule ranks below a 3",
     Then(Then(Nodule(L"7"), Tick({IDC_LIKELY_BENIGN})), Nodule(L"7")), L"3"},
    {"consolidation makes an empty list 4X", Tick({IDC_CONSOLIDATION}), L"4X"},
    {"atelectasis makes it 4X", Then(Nodule(L"5"), Tick({IDC_ATELECTASIS})), L"4X"},
    {"enlarged lymph nodes make it 4X", Tick({IDC_LYMPHADENOPATHY}), L"4X"},
    {"another suggestive finding makes it 4X", Tick({IDC_SUGGESTIVE_OTHER}), L"4X"},
    {"an endobronchial lesion raises an empty list to 4A", Tick({IDC_ENDOBRONCHIAL}), L"4A"},
    {"an endobronchial lesion raises a 2 to 4A", Then(Nodule(L"5"), Tick({IDC_ENDOBRONCHIAL})), L"4A"},
    {"an endobronchial lesion leaves a 4B", Then(Nodule(L"15"), Tick({IDC_ENDOBRONCHIAL})), L"4B"},
    {"mild coronary calcification adds no S", [](FormDriver& form) { TickCoronary(form, MILD); }, L"1"},
    {"moderate coronary calcification adds S", [](FormDriver& form) { TickCoronary(form, MODERATE); }, L"1S"},
    {"severe coronary calcification adds S", [](FormDriver& form) { TickCoronary(form, SEVERE); }, L"1S"},
    {"a severity left behind by an unticked box adds no S",
     [](FormDriver& form) {
         TickCoronary(form, SEVERE);
         form.Click(IDC_CORONARY);
     },
     L"1"},
    {"emphysema adds S", Tick({IDC_EMPHYSEMA}), L"1S"},
    {"interstitial lung abnormality adds S", Tick({IDC_INTERSTITIAL}), L"1S"},
    {"pneumonia adds S", Tick({IDC_PNEUMONIA}), L"1S"},
    {"an extrapulmonary malignancy adds S", Tick({IDC_EXTRAPULMONARY}), L"1S"},
    {"an aortic aneurysm adds S", Tick({IDC_ANEURYSM}), L"1S"},
    {"a large effusion adds S", Tick({IDC_EFFUSION}), L"1S"},
    {"another significant finding adds S", Tick({IDC_SIGNIFICANT_OTHER}), L"1S"},
    {"two significant findings add a single S", Then(Nodule(L"5"), Tick({IDC_EMPHYSEMA, IDC_INTERSTITIAL})),
     L"2S"},
    {"S follows 4X", Tick({IDC_CONSOLIDATION, IDC_PNEUMONIA}), L"4XS"},
    {"inactive tuberculosis and other findings change nothing",
     Then(Nodule(L"7"), Tick({IDC_INACTIVE_TB, IDC_OTHER_FINDING})), L"3"},
    {"a prior lung cancer changes nothing", Then(Nodule(L"7"), Tick({IDC_PRIOR_CANCER})), L"3"},
    {"an unticked finding counts no more", Tick({IDC_CONSOLIDATION, IDC_EMPHYSEMA, IDC_CONSOLIDATION}), L"1S"},
};

}  // namespace

TEST(FinalCategory, FollowsTheNodulesAndTheTickedFindings) {
    for (const FindingsCase& c : FINDINGS_CASES) {
        SCOPED_TRACE(c.proves);
        FormDriver form;
        c.steps(form);
        EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), c.expected);
    }
}

TEST(FinalCategory, PriorLungCancerChangesNoOtherControl) {
    FormDriver form;
    AddNodule(form, NODULE_SOLID, L"7", L"7");
    TickCoronary(form, MODERATE);
    form.Click(IDC_CONSOLIDATION);
    form.Type(IDC_CONSOLIDATION_NOTE, L"좌하엽");
    form.Focus(IDC_PRIOR_CANCER);
    const std::vector<ControlState> before = ControlStates(form);
    const std::vector<std::wstring> rowsBefore = RowTexts(form);

    for (bool bTicked : {true, false}) {
        SCOPED_TRACE(bTicked ? "ticked" : "unticked");
        form.Click(IDC_PRIOR_CANCER);
        EXPECT_EQ(form.Checked(IDC_PRIOR_CANCER), bTicked);
        std::vector<ControlState> after = ControlStates(form);
        ASSERT_EQ(after.size(), before.size());
        for (size_t n = 0; n < after.size(); ++n) {
            if (after[n].nId == IDC_PRIOR_CANCER) continue;
            EXPECT_EQ(after[n], before[n]);
        }
        EXPECT_EQ(RowTexts(form), rowsBefore);
        EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"4XS");
    }
}

TEST(FinalCategory, UntickingAFindingKeepsItsNote) {
    FormDriver form;
    form.Click(IDC_CONSOLIDATION);
    form.Type(IDC_CONSOLIDATION_NOTE, L"우하엽 폐경화 3 cm");

    form.Click(IDC_CONSOLIDATION);
    EXPECT_FALSE(form.Enabled(IDC_CONSOLIDATION_NOTE));
    EXPECT_EQ(form.Text(IDC_CONSOLIDATION_NOTE), L"우하엽 폐경화 3 cm");
    EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"1");

    form.Click(IDC_CONSOLIDATION);
    EXPECT_TRUE(form.Enabled(IDC_CONSOLIDATION_NOTE));
    EXPECT_EQ(form.Text(IDC_CONSOLIDATION_NOTE), L"우하엽 폐경화 3 cm");
    EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"4X");
}
