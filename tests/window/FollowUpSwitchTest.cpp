// Switching between a baseline and a follow-up CT: every nodule loses its
// follow-up status, is categorised again and its row is rewritten.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormDriver.h"
#include "FormSteps.h"

namespace {

// Items of 1008: its index is the follow-up status less one.

struct RowSummary {
    std::wstring followUp;
    std::wstring category;
    bool operator==(const RowSummary&) const = default;
};

std::ostream& operator<<(std::ostream& out, const RowSummary& row) {
    return out << testing::PrintToString(row.followUp) << " / " << testing::PrintToString(row.category);
}

std::vector<RowSummary> RowSummaries(const FormDriver& form) {
    std::vector<RowSummary> rows;
    for (int nRow = 0; nRow < form.RowCount(); ++nRow) rows.push_back({form.RowText(nRow, 1), form.RowText(nRow, 5)});
    return rows;
}

// Three nodules on a follow-up CT, one in each follow-up status.
void EnterFollowUpNodules(FormDriver& form) {
    AddNodule(form, NODULE_SOLID, L"5", L"5");
    form.Choose(IDC_FOLLOWUP, STATUS_GROWING);
    AddNodule(form, NODULE_PART_SOLID, L"10", L"10");
    EnterSolidAxes(form, L"5", L"5");
    form.Choose(IDC_FOLLOWUP, STATUS_NEW);
    AddNodule(form, NODULE_SOLID, L"7", L"7");
    form.Choose(IDC_FOLLOWUP, STATUS_STABLE);
}

const std::vector<RowSummary> AS_FOLLOWED_UP = {{L"커짐", L"4A"}, {L"새로 생김", L"4B"}, {L"변화 없음", L"2"}};
const std::vector<RowSummary> AS_FIRST_SEEN = {{L"처음CT", L"2"}, {L"처음CT", L"3"}, {L"처음CT", L"3"}};

}  // namespace

TEST(FollowUpSwitch, BackToBaselineClearsEveryStatusAndRecategorises) {
    FormDriver form;
    form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
    EXPECT_TRUE(form.Enabled(IDC_PRIOR_CT_DATE));
    EnterFollowUpNodules(form);
    ASSERT_EQ(RowSummaries(form), AS_FOLLOWED_UP);
    EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"4B");

    form.Choose(IDC_CT_TYPE, BASELINE_CT);
    EXPECT_EQ(RowSummaries(form), AS_FIRST_SEEN);
    for (int nRow = 0; nRow < form.RowCount(); ++nRow)
        EXPECT_EQ(form.Record(nRow).m_nFollowUp, FOLLOWUP_BASELINE) << "row " << nRow;
    EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"3");
    EXPECT_EQ(form.SelectedRow(), 2);
    EXPECT_FALSE(form.Enabled(IDC_FOLLOWUP));
    EXPECT_EQ(form.ComboSel(IDC_FOLLOWUP), -1);
    EXPECT_FALSE(form.Enabled(IDC_PRIOR_CT_DATE));

    // A later follow-up CT starts with no status on any nodule.
    form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
    EXPECT_EQ(RowSummaries(form), AS_FIRST_SEEN);
    for (int nRow = 0; nRow < form.RowCount(); ++nRow) {
        SCOPED_TRACE(testing::Message() << "row " << nRow);
        form.SelectRow(nRow);
        EXPECT_TRUE(form.Enabled(IDC_FOLLOWUP));
        EXPECT_EQ(form.ComboSel(IDC_FOLLOWUP), -1);
    }
}

// The item already shown, chosen again (a click on it, Down on the last item),
// is no switch: the statuses, the categories and Ctrl+Z's nodules stay.
TEST(FollowUpSwitch, ChoosingTheSameExamTypeAgainChangesNothing) {
    FormDriver form;
    form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
    EnterFollowUpNodules(form);
    AddNodule(form, NODULE_SOLID, L"9", L"9");
    form.PressCtrl('D');
    ASSERT_EQ(RowSummaries(form), AS_FOLLOWED_UP);

    form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
    EXPECT_EQ(RowSummaries(form), AS_FOLLOWED_UP);
    EXPECT_EQ(form.ComboSel(IDC_FOLLOWUP), STATUS_STABLE);
    EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"4B");
    form.Focus(IDC_NODULE_LIST);
    form.PressCtrl('Z');
    EXPECT_EQ(form.RowCount(), 4);
}

TEST(FollowUpSwitch, FollowUpStatusIsOfferedOnlyForAFollowUpCtWithASelection) {
    const struct {
        const char* name;
        int nExamType;
        bool bSelection;
        bool bOffered;
    } cases[] = {
        {"baseline, nodule selected", BASELINE_CT, true, false},
        {"baseline, no selection", BASELINE_CT, false, false},
        {"follow-up, nodule selected", FOLLOW_UP_CT, true, true},
        {"follow-up, no selection", FOLLOW_UP_CT, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FormDriver form;
        form.Click(IDC_ADD_NODULE);
        form.Choose(IDC_CT_TYPE, c.nExamType);
        if (!c.bSelection) DeselectAllRows(form);
        EXPECT_EQ(form.Enabled(IDC_FOLLOWUP), c.bOffered);
        EXPECT_EQ(form.ComboSel(IDC_FOLLOWUP), -1);
        EXPECT_EQ(form.Enabled(IDC_PRIOR_CT_DATE), c.nExamType == FOLLOW_UP_CT);
    }
}
