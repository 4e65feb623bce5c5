// The reader's typical entry, step by step, as the form must answer it.
#include <gtest/gtest.h>

#include "FormDriver.h"
#include "ModalScript.h"

TEST(TypicalEntry, AddTypeEnterTickAndReportAsksForTheLobe) {
    FormDriver form;
    ASSERT_EQ(form.Text(IDC_FINAL_CATEGORY), L"1");

    form.Click(IDC_ADD_NODULE);
    ASSERT_EQ(form.RowCount(), 1);
    EXPECT_EQ(form.SelectedRow(), 0);
    EXPECT_EQ(form.RowText(0, 0), L"고형");
    EXPECT_EQ(form.RowText(0, 1), L"처음CT");
    EXPECT_EQ(form.RowText(0, 2), L"0.0 [mm]");
    EXPECT_EQ(form.RowText(0, 3), L"--- (#0)");
    EXPECT_EQ(form.RowText(0, 4), L"");
    EXPECT_EQ(form.RowText(0, 5), L"2");
    EXPECT_TRUE(form.Enabled(IDC_LONG_AXIS));

    form.Type(IDC_LONG_AXIS, L"7");
    form.Press(VK_RETURN);
    EXPECT_DOUBLE_EQ(form.Record(0).m_dLongAxis, 7.0001);
    EXPECT_DOUBLE_EQ(form.Record(0).m_dShortAxis, 7.0001);
    EXPECT_EQ(form.RowText(0, 2), L"7.0 [mm]");
    EXPECT_EQ(form.RowText(0, 5), L"3");
    EXPECT_EQ(form.FocusedId(), IDC_SHORT_AXIS);
    EXPECT_EQ(form.Text(IDC_SHORT_AXIS), L"7.0");
    EXPECT_EQ(form.EditSelection(IDC_SHORT_AXIS), std::make_pair(0, 3));
    EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"3");

    form.Click(IDC_SPICULATION);
    EXPECT_TRUE(form.Record(0).m_bSpiculation);
    EXPECT_EQ(form.RowText(0, 5), L"4X");
    EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"4X");

    SeenMessageBox seen;
    ModalScript script;
    script.AnswerMessageBox(IDOK, &seen);
    form.Click(IDC_REPORT);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(seen.text, L"1 번째 결절의 위치가 입력되지 않았습니다.");
    EXPECT_EQ(seen.icon, IDI_ERROR);
    EXPECT_EQ(form.FocusedId(), IDC_LOBE);
}
