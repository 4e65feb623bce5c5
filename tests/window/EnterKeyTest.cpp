// The Enter key on the findings form: it commits what the reader typed, never
// presses a button, never closes the form, and starts a new line in the comments.
// (Enter against Tab in the diameter edits is in NoduleEditorsTest.)
#include <gtest/gtest.h>

#include <vector>

#include "FormDriver.h"
#include "FormSteps.h"
#include "ModalScript.h"

TEST(EnterKey, InTheOtherFeatureTextCommitsWhatWasTyped) {
    FormDriver form;
    form.Click(IDC_ADD_NODULE);
    EnterAxes(form, L"7", L"7");
    form.Click(IDC_OTHER);

    for (const wchar_t* typed : {L"분엽상 변연", L"늑막 견인"}) {
        form.Type(IDC_OTHER_TEXT, typed);
        form.Press(VK_RETURN);
        EXPECT_EQ(form.Record(0).m_strOther, typed);
        EXPECT_EQ(form.Text(IDC_OTHER_TEXT), typed);
        EXPECT_TRUE(form.Record(0).m_bOther);
        EXPECT_EQ(form.FocusedId(), IDC_OTHER_TEXT);
    }
}

// Enter at any button, choice or list never presses a button, closes the form
// or changes an entry, with a dose the data exchange refuses standing too.
TEST(EnterKey, ElsewhereChangesNothingAndClosesNothing) {
    const struct {
        const char* where;
        int nId;
    } targets[] = {
        {"dose edit 1049", IDC_CTDIVOL},
        {"endobronchial note 1019", IDC_ENDOBRONCHIAL_NOTE},
        {"report button 1016", IDC_REPORT},
        {"clear button 1015", IDC_CLEAR},
        {"exit button, the default one", IDCANCEL},
        {"add button 1013", IDC_ADD_NODULE},
        {"CT type combo 1000", IDC_CT_TYPE},
        {"inactive tuberculosis check box 1029", IDC_INACTIVE_TB},
        {"nodule list 1001", IDC_NODULE_LIST},
        {"lobe combo 1006", IDC_LOBE},
    };
    for (const auto& target : targets) {
        SCOPED_TRACE(target.where);
        FormDriver form;
        form.Click(IDC_ADD_NODULE);  // no lobe: a pressed report button would complain
        form.Click(IDC_ENDOBRONCHIAL);
        form.Type(IDC_ENDOBRONCHIAL_NOTE, L"우중엽 기관지");
        form.Type(IDC_CTDIVOL, L"abc");
        {
            SeenMessageBox prompt;
            ModalScript script;
            script.AnswerMessageBox(IDOK, &prompt);
            form.Click(IDC_CONSOLIDATION);
            ASSERT_TRUE(script.Finished());
            ASSERT_EQ(prompt.text, L"숫자를 입력하십시오.");
        }
        ASSERT_TRUE(form.Checked(IDC_CONSOLIDATION));
        const std::vector<std::wstring> rowsBefore = RowTexts(form);

        std::vector<SeenMessageBox> boxes;
        ModalScript script;
        script.AnswerEveryMessageBox(IDNO, &boxes);
        form.Focus(target.nId);
        ASSERT_EQ(form.FocusedId(), target.nId);
        form.Press(VK_RETURN);

        EXPECT_TRUE(boxes.empty()) << "a message box opened: " << testing::PrintToString(boxes.front().text);
        EXPECT_TRUE(form.Dialog().IsModalRunning());
        EXPECT_TRUE(IsWindowVisible(form.Form()));
        EXPECT_FALSE(form.Checked(IDC_INACTIVE_TB));
        EXPECT_EQ(form.ComboSel(IDC_CT_TYPE), BASELINE_CT);
        EXPECT_TRUE(form.Enabled(IDC_CONSOLIDATION_NOTE));
        EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"4X");
        EXPECT_EQ(form.Text(IDC_CTDIVOL), L"abc");
        EXPECT_EQ(form.Text(IDC_ENDOBRONCHIAL_NOTE), L"우중엽 기관지");
        EXPECT_EQ(form.RowCount(), 1);
        EXPECT_EQ(form.SelectedRow(), 0);
        EXPECT_EQ(RowTexts(form), rowsBefore);
        EXPECT_EQ(form.Record(0).m_nLobe, LOBE_NONE);
        EXPECT_EQ(form.Record(0).m_dLongAxis, 0.0);
    }
}

TEST(EnterKey, InAnOpenDropDownListChoosesTheItemAndClosesTheList) {
    FormDriver form;
    form.Click(IDC_ADD_NODULE);
    form.Focus(IDC_LOBE);
    SendMessageW(form.Item(IDC_LOBE), CB_SHOWDROPDOWN, TRUE, 0);
    form.Pump();
    ASSERT_TRUE(SendMessageW(form.Item(IDC_LOBE), CB_GETDROPPEDSTATE, 0, 0));

    form.Press(VK_DOWN);
    form.Press(VK_DOWN);
    form.Press(VK_RETURN);

    EXPECT_FALSE(SendMessageW(form.Item(IDC_LOBE), CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(form.Record(0).m_nLobe, LOBE_RML);
    EXPECT_EQ(form.RowText(0, 3), L"우중엽 (#0)");
    EXPECT_TRUE(IsWindowVisible(form.Form()));
    EXPECT_EQ(FindMessageBox(), nullptr);
}

TEST(EnterKey, InTheCommentsStartsANewLine) {
    FormDriver form;
    std::vector<SeenMessageBox> boxes;
    ModalScript script;
    script.AnswerEveryMessageBox(IDNO, &boxes);

    form.Type(IDC_COMMENTS, L"첫 줄");
    form.Press(VK_RETURN);
    for (wchar_t ch : std::wstring_view(L"둘째 줄")) PostMessageW(form.Item(IDC_COMMENTS), WM_CHAR, ch, 1);
    form.Pump();

    EXPECT_EQ(form.Text(IDC_COMMENTS), L"첫 줄\r\n둘째 줄");
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(form.Dialog().IsModalRunning());
    EXPECT_TRUE(IsWindowVisible(form.Form()));
}
