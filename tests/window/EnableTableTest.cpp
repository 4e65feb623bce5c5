// Which controls the findings form offers, as a function of the data: the exam
// type, the selected nodule and the ticked findings. No other control is ever
// disabled.
#include <gtest/gtest.h>

#include <map>

#include "FormDriver.h"
#include "FormSteps.h"

namespace {

struct NoduleSetup {
    const char* name;
    void (*steps)(FormDriver& form);
    bool bSelected;
    bool bPartSolid;
    bool bPerifissural;  // 1054 offered
    bool bBenign;        // 1005 offered
    bool bSuspicious;    // 1009, 1010, 1011 offered
    bool bOtherText;     // 1007 offered
};

const NoduleSetup NODULE_SETUPS[] = {
    {"empty list", [](FormDriver&) {}, false, false, false, false, false, false},
    {"rows but none selected",
     [](FormDriver& form) {
         form.Click(IDC_ADD_NODULE);
         form.Click(IDC_ADD_NODULE);
         DeselectAllRows(form);
     },
     false, false, false, false, false, false},
    {"fresh solid nodule, category 2", [](FormDriver& form) { form.Click(IDC_ADD_NODULE); }, true, false, true, false,
     false, false},
    {"part-solid nodule, category 2",
     [](FormDriver& form) {
         form.Click(IDC_ADD_NODULE);
         form.Choose(IDC_NODULE_TYPE, NODULE_PART_SOLID);
     },
     true, true, false, false, false, false},
    {"ground-glass nodule, category 2",
     [](FormDriver& form) {
         form.Click(IDC_ADD_NODULE);
         form.Choose(IDC_NODULE_TYPE, NODULE_GROUND_GLASS);
     },
     true, false, false, false, false, false},
    {"solid 7 mm, category 3", [](FormDriver& form) { AddNodule(form, NODULE_SOLID, L"7", L"7"); }, true, false, true,
     true, true, false},
    {"solid 7 mm with the other feature, 4X",
     [](FormDriver& form) {
         AddNodule(form, NODULE_SOLID, L"7", L"7");
         form.Click(IDC_OTHER);
     },
     true, false, true, true, true, true},
    {"solid 7 mm likely benign, 2b",
     [](FormDriver& form) {
         AddNodule(form, NODULE_SOLID, L"7", L"7");
         form.Click(IDC_LIKELY_BENIGN);
     },
     true, false, false, true, false, false},
    {"calcified solid 7 mm, category 1",
     [](FormDriver& form) {
         AddNodule(form, NODULE_SOLID, L"7", L"7");
         form.Click(IDC_CALCIFICATION);
     },
     true, false, true, false, false, false},
    {"solid 9.9 mm, 4A", [](FormDriver& form) { AddNodule(form, NODULE_SOLID, L"9.9", L"9.9"); }, true, false, true,
     true, true, false},
    {"solid 10 x 1 mm, category 2", [](FormDriver& form) { AddNodule(form, NODULE_SOLID, L"10", L"1"); }, true, false,
     false, false, false, false},
    {"part-solid 10 mm with a solid part of 6 mm, 4A",
     [](FormDriver& form) {
         AddNodule(form, NODULE_PART_SOLID, L"10", L"10");
         EnterSolidAxes(form, L"6", L"6");
     },
     true, true, false, true, true, false},
};

const struct {
    const char* name;
    bool bFollowUp;
} EXAMS[] = {{"baseline", false}, {"follow-up", true}};

// The enabled state every control must have; a control not named is enabled.
std::map<int, bool> ExpectedEnabled(const NoduleSetup& setup, bool bFollowUp) {
    std::map<int, bool> expected;
    expected[IDC_PRIOR_CT_DATE] = bFollowUp;
    for (int nId : {IDC_NODULE_TYPE, IDC_LONG_AXIS, IDC_SHORT_AXIS, IDC_LOBE, IDC_IMAGE_NO, IDC_CALCIFICATION, IDC_FAT})
        expected[nId] = setup.bSelected;
    for (int nId : {IDC_SOLID_LONG_AXIS, IDC_SOLID_SHORT_AXIS, IDC_SOLID_CAPTION, IDC_SOLID_SIZE_UNIT})
        expected[nId] = setup.bPartSolid;
    expected[IDC_PERIFISSURAL] = setup.bPerifissural;
    expected[IDC_FOLLOWUP] = setup.bSelected && bFollowUp;
    expected[IDC_LIKELY_BENIGN] = setup.bBenign;
    for (int nId : {IDC_SPICULATION, IDC_CAVITY, IDC_OTHER}) expected[nId] = setup.bSuspicious;
    expected[IDC_OTHER_TEXT] = setup.bOtherText;
    for (const auto& finding : FINDING_DETAILS) expected[finding.nDetail] = false;
    return expected;
}

void ExpectOfferedExactlyAsTheDataAllow(bool bFollowUp) {
    for (const NoduleSetup& setup : NODULE_SETUPS) {
        SCOPED_TRACE(setup.name);
        FormDriver form;
        if (bFollowUp) form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
        setup.steps(form);

        const std::map<int, bool> expected = ExpectedEnabled(setup, bFollowUp);
        for (const ControlState& control : ControlStates(form)) {
            const auto found = expected.find(control.nId);
            const bool bExpected = found == expected.end() || found->second;
            EXPECT_EQ(control.bEnabled, bExpected) << "control " << control.nId;
        }
        // No follow-up status is chosen by these steps, so 1008 shows none.
        EXPECT_EQ(form.ComboSel(IDC_FOLLOWUP), -1);
    }
}

}  // namespace

TEST(EnableTable, BaselineExamOffersEveryControlExactlyAsTheDataAllow) { ExpectOfferedExactlyAsTheDataAllow(false); }

TEST(EnableTable, FollowUpExamOffersEveryControlExactlyAsTheDataAllow) { ExpectOfferedExactlyAsTheDataAllow(true); }

TEST(EnableTable, WithoutASelectionEveryNoduleEditorIsEmpty) {
    for (const auto& exam : EXAMS) {
        for (const NoduleSetup& setup : NODULE_SETUPS) {
            if (setup.bSelected) continue;
            SCOPED_TRACE(testing::Message() << exam.name << " exam, " << setup.name);
            FormDriver form;
            if (exam.bFollowUp) form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
            setup.steps(form);

            ExpectNoNoduleShown(form);
        }
    }
}

TEST(EnableTable, AFindingOffersItsDetailOnlyWhileTicked) {
    for (const auto& finding : FINDING_DETAILS) {
        SCOPED_TRACE(testing::Message() << "finding " << finding.nBox);
        FormDriver form;
        form.Click(finding.nBox);
        EXPECT_TRUE(form.Checked(finding.nBox));
        for (const auto& other : FINDING_DETAILS)
            EXPECT_EQ(form.Enabled(other.nDetail), other.nDetail == finding.nDetail) << "detail " << other.nDetail;

        form.Click(finding.nBox);
        EXPECT_FALSE(form.Checked(finding.nBox));
        EXPECT_FALSE(form.Enabled(finding.nDetail));
    }
}
