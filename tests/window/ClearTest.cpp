// The Clear button "지우기": after the question, Yes empties the whole form and
// frees every nodule record once; No keeps everything.
#include <windows.h>
#include <gtest/gtest.h>
#include <oleauto.h>

#include <vector>

#include "FormDriver.h"
#include "FormSteps.h"
#include "ModalScript.h"

namespace {

const wchar_t CLEAR_QUESTION[] = L"모든 내용을 삭제하시겠습니까?";

// An examination entered in full: a follow-up CT with two nodules, every finding
// ticked with its note, a severity, comments and a prior-CT date of the reader's.
void EnterEverything(FormDriver& form) {
    form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
    AddNodule(form, NODULE_SOLID, L"7", L"7");
    form.Choose(IDC_FOLLOWUP, STATUS_NEW);
    AddNodule(form, NODULE_PART_SOLID, L"12", L"10");
    for (int nBox : FINDING_BOXES) form.Click(nBox);
    for (const FindingDetail& finding : FINDING_DETAILS) {
        if (finding.nDetail == IDC_CORONARY_SEVERITY)
            form.Choose(IDC_CORONARY_SEVERITY, SEVERE);
        else
            form.Type(finding.nDetail, L"소견");
    }
    form.Type(IDC_COMMENTS, L"추가 내용");
    SetPriorCtDate(form, 2020, 1, 1);
    form.Type(IDC_CTDIVOL, L"3.5");
    form.Focus(IDC_CLEAR);
}

SYSTEMTIME PickedDate(HWND hPicker) {
    SYSTEMTIME picked{};
    SendMessageW(hPicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked));
    return picked;
}

// Days between the date picker's date and the current moment.
double DaysBeforeNow(HWND hPicker) {
    SYSTEMTIME picked = PickedDate(hPicker);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    double dPicked = 0, dNow = 0;
    SystemTimeToVariantTime(&picked, &dPicked);
    SystemTimeToVariantTime(&now, &dNow);
    return dNow - dPicked;
}

void ExpectStartState(const FormDriver& form) {
    EXPECT_EQ(form.RowCount(), 0);
    EXPECT_EQ(form.SelectedRow(), -1);
    EXPECT_EQ(form.ComboSel(IDC_CT_TYPE), 0);
    EXPECT_EQ(form.Text(IDC_CT_TYPE), L"처음 CT");
    EXPECT_FALSE(form.Enabled(IDC_PRIOR_CT_DATE));
    EXPECT_NEAR(DaysBeforeNow(form.Item(IDC_PRIOR_CT_DATE)), 365.0, 1.0);
    EXPECT_EQ(form.Text(IDC_CTDIVOL), L"0");
    EXPECT_EQ(form.ComboSel(IDC_CORONARY_SEVERITY), 0);
    EXPECT_EQ(form.Text(IDC_CORONARY_SEVERITY), L"Mild");
    for (int nBox : FINDING_BOXES) EXPECT_FALSE(form.Checked(nBox)) << "finding " << nBox;
    for (const FindingDetail& finding : FINDING_DETAILS) {
        if (finding.nDetail != IDC_CORONARY_SEVERITY) {
            EXPECT_EQ(form.Text(finding.nDetail), L"") << "note " << finding.nDetail;
        }
        EXPECT_FALSE(form.Enabled(finding.nDetail)) << "detail " << finding.nDetail;
    }
    EXPECT_EQ(form.Text(IDC_COMMENTS), L"");
    ExpectNoNoduleShown(form);
    EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"1");
}

}  // namespace

// Whatever the form holds, even a dose that is no number, Yes empties it after
// the one question, frees every record once, and the emptied form takes new nodules.
TEST(Clear, YesBringsTheFormBackToItsStartAndFreesEveryRecord) {
    const struct {
        const char* holding;
        void (*enter)(FormDriver& form);
        int nRecords;
        const wchar_t* finalCategory;
    } forms[] = {
        {"everything", EnterEverything, 2, L"4XS"},
        {"a nodule and a dose that is no number",
         [](FormDriver& form) {
             form.Click(IDC_ADD_NODULE);
             form.Type(IDC_CTDIVOL, L"abc");
         },
         1, L"2"},
        {"nothing", [](FormDriver&) {}, 0, L"1"},
    };
    const int nLiveBefore = CNoduleItem::LiveCount();
    for (const auto& held : forms) {
        SCOPED_TRACE(held.holding);
        {
            FormDriver form;
            held.enter(form);
            ASSERT_EQ(CNoduleItem::LiveCount(), nLiveBefore + held.nRecords);
            ASSERT_EQ(form.Text(IDC_FINAL_CATEGORY), held.finalCategory);

            std::vector<SeenMessageBox> boxes;
            {
                ModalScript script;
                script.AnswerEveryMessageBox(IDYES, &boxes);
                form.Click(IDC_CLEAR);
            }
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, CLEAR_QUESTION);
            EXPECT_EQ(boxes[0].icon, IDI_QUESTION);
            EXPECT_EQ(CNoduleItem::LiveCount(), nLiveBefore);
            ExpectStartState(form);

            form.Click(IDC_ADD_NODULE);
            form.Click(IDC_ADD_NODULE);
            EXPECT_EQ(form.RowCount(), 2);
            EXPECT_EQ(CNoduleItem::LiveCount(), nLiveBefore + 2);
        }
        EXPECT_EQ(CNoduleItem::LiveCount(), nLiveBefore) << "closing the form did not free the new nodules";
    }
}

TEST(Clear, NoKeepsEveryNoduleTheSelectionAndEveryEntry) {
    FormDriver form;
    EnterEverything(form);
    form.SelectRow(0);
    form.Focus(IDC_CLEAR);
    const int nLiveBefore = CNoduleItem::LiveCount();
    const std::vector<ControlState> controlsBefore = ControlStates(form);
    const std::vector<std::wstring> rowsBefore = RowTexts(form);
    const CNoduleItem* records[] = {&form.Record(0), &form.Record(1)};

    std::vector<SeenMessageBox> boxes;
    ModalScript script;
    script.AnswerEveryMessageBox(IDNO, &boxes);
    form.Click(IDC_CLEAR);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, CLEAR_QUESTION);
    EXPECT_EQ(ControlStates(form), controlsBefore);
    EXPECT_EQ(RowTexts(form), rowsBefore);
    EXPECT_EQ(form.SelectedRow(), 0);
    ASSERT_EQ(form.RowCount(), 2);
    EXPECT_EQ(&form.Record(0), records[0]);
    EXPECT_EQ(&form.Record(1), records[1]);
    EXPECT_EQ(CNoduleItem::LiveCount(), nLiveBefore);
    const SYSTEMTIME picked = PickedDate(form.Item(IDC_PRIOR_CT_DATE));
    EXPECT_EQ(picked.wYear, 2020);
    EXPECT_EQ(picked.wMonth, 1);
    EXPECT_EQ(picked.wDay, 1);
    EXPECT_EQ(form.Text(IDC_CTDIVOL), L"3.5");
}

// Any one entry makes 아니요 the default, so that a reflexive Enter keeps it;
// on an untouched form 예 stays the default.
TEST(Clear, EnterKeepsAnyEntryAndEmptiesOnlyAnUntouchedForm) {
    const struct {
        const char* name;
        void (*enter)(FormDriver& form);
        int nDefaultButton;
    } entries[] = {
        {"nothing", [](FormDriver&) {}, IDYES},
        {"a nodule", [](FormDriver& form) { form.Click(IDC_ADD_NODULE); }, IDNO},
        {"a ticked box", [](FormDriver& form) { form.Click(IDC_PRIOR_CANCER); }, IDNO},
        {"a note whose box was unticked again",
         [](FormDriver& form) {
             form.Click(IDC_SIGNIFICANT_OTHER);
             form.Type(IDC_SIGNIFICANT_OTHER_NOTE, L"갑상선 결절");
             form.Click(IDC_SIGNIFICANT_OTHER);
         },
         IDNO},
        {"a dose", [](FormDriver& form) { form.Type(IDC_CTDIVOL, L"1.2"); }, IDNO},
        {"a follow-up CT", [](FormDriver& form) { form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT); }, IDNO},
        {"a prior-CT date, the CT set back to baseline",
         [](FormDriver& form) {
             form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
             SetPriorCtDate(form, 2020, 1, 1);
             form.Choose(IDC_CT_TYPE, BASELINE_CT);
         },
         IDNO},
        {"a severity whose box was unticked again",
         [](FormDriver& form) {
             form.Click(IDC_CORONARY);
             form.Choose(IDC_CORONARY_SEVERITY, SEVERE);
             form.Click(IDC_CORONARY);
         },
         IDNO},
    };
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.name);
        FormDriver form;
        entry.enter(form);
        const std::vector<ControlState> before = ControlStates(form);
        SeenMessageBox seen;
        ModalScript script;
        script.AnswerWithEnter(&seen);
        form.Click(IDC_CLEAR);

        EXPECT_EQ(seen.text, CLEAR_QUESTION);
        EXPECT_EQ(seen.defaultButton, entry.nDefaultButton);
        if (entry.nDefaultButton == IDNO) {
            EXPECT_EQ(ControlStates(form), before) << "Enter threw the entry away";
        }
    }
}
