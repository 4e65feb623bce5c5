// The nodule list: rows added and deleted with their records, the selection
// that follows, and the summary each row shows.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "FormDriver.h"
#include "FormSteps.h"

namespace {

// Three nodules told apart by their image numbers 1, 2 and 3.
void AddThreeNumberedNodules(FormDriver& form) {
    for (const wchar_t* number : {L"1", L"2", L"3"}) {
        form.Click(IDC_ADD_NODULE);
        form.Type(IDC_IMAGE_NO, number);
        form.Press(VK_RETURN);
    }
}

}  // namespace

TEST(NoduleList, AddAppendsARowAndSelectsIt) {
    const int nLiveBefore = CNoduleItem::LiveCount();
    FormDriver form;
    AddNodule(form, NODULE_SOLID, L"7", L"7");
    form.SelectRow(0);
    ASSERT_EQ(form.Text(IDC_LONG_AXIS), L"7.0");

    form.Click(IDC_ADD_NODULE);
    EXPECT_EQ(form.RowCount(), 2);
    EXPECT_EQ(form.SelectedRow(), 1);
    EXPECT_EQ(form.FocusedId(), IDC_NODULE_LIST);
    EXPECT_EQ(form.Text(IDC_LONG_AXIS), L"");
    EXPECT_EQ(form.RowText(1, 5), L"2");
    EXPECT_EQ(form.RowText(0, 5), L"3");
    EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"3");
    EXPECT_EQ(CNoduleItem::LiveCount(), nLiveBefore + 2);
}

TEST(NoduleList, RowsSummariseTheirRecords) {
    struct Case {
        const char* proves;
        void (*steps)(FormDriver& form);
        std::array<const wchar_t*, 6> columns;
    } const cases[] = {
        {"a new nodule",
         [](FormDriver& form) { form.Click(IDC_ADD_NODULE); },
         {L"고형", L"처음CT", L"0.0 [mm]", L"--- (#0)", L"", L"2"}},
        {"a part-solid nodule shows the solid part's mean as well",
         [](FormDriver& form) {
             AddNodule(form, NODULE_PART_SOLID, L"10", L"8");
             EnterSolidAxes(form, L"5", L"4");
             form.Choose(IDC_LOBE, LOBE_RLL);
             form.Type(IDC_IMAGE_NO, L"123");
             form.Press(VK_RETURN);
         },
         {L"부분고형", L"처음CT", L"9.0 [mm] (4.5 [mm])", L"우하엽 (#123)", L"", L"3"}},
        {"a mean of x.x5 shows rounded up",
         [](FormDriver& form) { AddNodule(form, NODULE_SOLID, L"6", L"5.9"); },
         {L"고형", L"처음CT", L"6.0 [mm]", L"--- (#0)", L"", L"3"}},
        {"a perifissural nodule",
         [](FormDriver& form) {
             AddNodule(form, NODULE_SOLID, L"8", L"6");
             form.Click(IDC_PERIFISSURAL);
             form.Choose(IDC_LOBE, LOBE_LUL);
         },
         {L"고형", L"처음CT", L"7.0 [mm]", L"좌상엽 (#0)", L"흉막주변", L"2"}},
        {"a ground-glass nodule",
         [](FormDriver& form) { AddNodule(form, NODULE_GROUND_GLASS, L"30", L"29.9"); },
         {L"간유리", L"처음CT", L"30.0 [mm]", L"--- (#0)", L"", L"3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.proves);
        FormDriver form;
        c.steps(form);
        ASSERT_EQ(form.RowCount(), 1);
        for (int nColumn = 0; nColumn < 6; ++nColumn)
            EXPECT_EQ(form.RowText(0, nColumn), c.columns[static_cast<size_t>(nColumn)]) << "column " << nColumn;
    }
}

TEST(NoduleList, DeleteWithoutASelectionDoesNothing) {
    FormDriver form;
    AddThreeNumberedNodules(form);
    DeselectAllRows(form);
    const int nLiveBefore = CNoduleItem::LiveCount();
    const std::vector<std::wstring> rowsBefore = RowTexts(form);

    form.Click(IDC_DELETE_NODULE);
    EXPECT_EQ(form.RowCount(), 3);
    EXPECT_EQ(form.SelectedRow(), -1);
    EXPECT_EQ(RowTexts(form), rowsBefore);
    EXPECT_EQ(CNoduleItem::LiveCount(), nLiveBefore);
}

TEST(NoduleList, DeleteSelectsTheRowThatTakesThePlaceOfTheDeletedOne) {
    const struct {
        const char* proves;
        int nDeleted;
        int nSelectedAfter;
        int nImageNoSelected;
    } cases[] = {
        {"the first row: the second moves in", 0, 0, 2},
        {"the middle row: the last moves in", 1, 1, 3},
        {"the last row: the new last row", 2, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.proves);
        FormDriver form;
        AddThreeNumberedNodules(form);
        form.SelectRow(c.nDeleted);
        const int nLiveBefore = CNoduleItem::LiveCount();

        form.Click(IDC_DELETE_NODULE);
        EXPECT_EQ(CNoduleItem::LiveCount(), nLiveBefore) << "kept for Ctrl+Z";
        ASSERT_EQ(form.RowCount(), 2);
        EXPECT_EQ(form.SelectedRow(), c.nSelectedAfter);
        EXPECT_EQ(form.Record(c.nSelectedAfter).m_nImageNo, c.nImageNoSelected);
        EXPECT_EQ(form.Text(IDC_IMAGE_NO), std::to_wstring(c.nImageNoSelected));
        EXPECT_EQ(form.FocusedId(), IDC_NODULE_LIST);
        for (int nRow = 0; nRow < 2; ++nRow)
            EXPECT_NE(form.Record(nRow).m_nImageNo, c.nDeleted + 1) << "the deleted nodule is still listed";
    }
}

TEST(NoduleList, DeletingTheOnlyRowLeavesAnEmptyForm) {
    const int nLiveBefore = CNoduleItem::LiveCount();
    FormDriver form;
    AddNodule(form, NODULE_SOLID, L"7", L"7");
    form.Click(IDC_SPICULATION);
    ASSERT_EQ(form.Text(IDC_FINAL_CATEGORY), L"4X");
    ASSERT_EQ(CNoduleItem::LiveCount(), nLiveBefore + 1);

    form.Click(IDC_DELETE_NODULE);
    EXPECT_EQ(CNoduleItem::LiveCount(), nLiveBefore + 1) << "kept for Ctrl+Z";
    EXPECT_EQ(form.RowCount(), 0);
    EXPECT_EQ(form.SelectedRow(), -1);
    EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"1");
    ExpectNoNoduleShown(form);
}

TEST(NoduleList, ClosingTheFormFreesEveryRecordOnce) {
    const int nLiveBefore = CNoduleItem::LiveCount();
    {
        FormDriver form;
        AddThreeNumberedNodules(form);
        form.SelectRow(1);
        form.Click(IDC_DELETE_NODULE);
        EXPECT_EQ(CNoduleItem::LiveCount(), nLiveBefore + 3) << "two rows and the nodule kept for Ctrl+Z";
    }
    EXPECT_EQ(CNoduleItem::LiveCount(), nLiveBefore);
}
