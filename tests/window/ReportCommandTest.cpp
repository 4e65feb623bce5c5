// The Report button: which nodule and which value the reader is asked for,
// where the form takes the reader, and that a complete form opens the report.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormDriver.h"
#include "FormSteps.h"
#include "ModalScript.h"
#include "ReportSteps.h"
#include "tests/core/Conclusions.h"
#include "TestClipboard.h"

namespace {

// A nodule with everything the report needs: solid, 5 mm, right upper lobe.
void AddCompleteNodule(FormDriver& form, bool bFollowUpCt) {
    form.Click(IDC_ADD_NODULE);
    Enter(form, IDC_LONG_AXIS, L"5");
    form.Choose(IDC_LOBE, LOBE_RUL);
    if (bFollowUpCt) form.Choose(IDC_FOLLOWUP, STATUS_STABLE);
}

// Presses "판독문" expecting one message box, answered with OK, and nothing else.
SeenMessageBox ReportExpectingMessage(FormDriver& form) {
    SeenMessageBox seen;
    std::vector<std::wstring> others;
    {
        ModalScript script;
        script.AnswerMessageBox(IDOK, &seen).Watch(CloseAnyOtherWindow(&others));
        PressReport(form);
    }
    EXPECT_EQ(others, std::vector<std::wstring>{});
    return seen;
}

bool IsEdit(HWND hWnd) {
    wchar_t className[16] = {};
    GetClassNameW(hWnd, className, 16);
    return _wcsicmp(className, L"Edit") == 0;
}

// What the findings form holds beyond its controls' faces: the records behind
// the rows, the selection and the prior-CT date.
std::vector<std::wstring> DescribeData(const FormDriver& form) {
    std::vector<std::wstring> lines;
    for (int nRow = 0; nRow < form.RowCount(); ++nRow) {
        const CNoduleItem& item = form.Record(nRow);
        std::wstring line = L"row " + std::to_wstring(nRow) + L":";
        for (double dValue : {item.m_dLongAxis, item.m_dShortAxis, item.m_dSolidLongAxis, item.m_dSolidShortAxis})
            line += L" " + std::to_wstring(dValue);
        for (int nValue : {item.m_nType, item.m_nLobe, item.m_nImageNo, item.m_nFollowUp, item.m_nCategory})
            line += L" " + std::to_wstring(nValue);
        for (bool bFlag : {item.m_bPerifissural, item.m_bCalcification, item.m_bFat, item.m_bLikelyBenign,
                           item.m_bSpiculation, item.m_bCavity, item.m_bOther})
            line += bFlag ? L" 1" : L" 0";
        lines.push_back(line + L" " + item.m_strOther);
    }
    lines.push_back(L"selected row " + std::to_wstring(form.SelectedRow()));
    SYSTEMTIME date{};
    SendMessageW(form.Item(IDC_PRIOR_CT_DATE), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    lines.push_back(L"prior CT " + std::to_wstring(date.wYear) + L"-" + std::to_wstring(date.wMonth) + L"-" +
                    std::to_wstring(date.wDay));
    return lines;
}

}  // namespace

// The reader's typical entry, step by step: a new nodule, 7 and Enter, 침상결절;
// the report asks for the lobe first, and once it is chosen the report opens
// and "확인" puts it on the clipboard.
TEST(ReportCommand, TypicalEntryAsksForTheLobeThenReports) {
    FormDriver form;
    ASSERT_EQ(form.Text(IDC_FINAL_CATEGORY), L"1");

    form.Click(IDC_ADD_NODULE);
    ASSERT_EQ(form.RowCount(), 1);
    EXPECT_EQ(form.SelectedRow(), 0);
    EXPECT_EQ(RowTexts(form), (std::vector<std::wstring>{L"고형", L"처음CT", L"0.0 [mm]", L"--- (#0)", L"", L"2"}));
    EXPECT_TRUE(form.Enabled(IDC_LONG_AXIS));

    Enter(form, IDC_LONG_AXIS, L"7");
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
    ASSERT_EQ(form.Text(IDC_FINAL_CATEGORY), L"4X");

    SeenMessageBox seen = ReportExpectingMessage(form);
    EXPECT_EQ(seen.text, L"1 번째 결절의 위치가 입력되지 않았습니다.");
    EXPECT_EQ(seen.icon, IDI_ERROR);
    ASSERT_EQ(form.FocusedId(), IDC_LOBE);

    form.Choose(IDC_LOBE, LOBE_RUL);
    const std::wstring shown = ReadReport(form, IDOK);
    const std::wstring expected =
        L"처음CT\r\n"
        L"선량 (CTDIvol): 0.00 mGy\r\n"
        L"\r\n"
        L"영상소견\r\n"
        L"우상엽(#0), 7.0 mm 고형 결절 있음 (침상), 범주: 4X\r\n"
        L"\r\n" +
        ConclusionOf(L"4X");
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(ClipboardText(), expected);
}

struct MissingValueCase {
    const char* name;
    bool bFollowUpCt;
    // Enters the selected (second) nodule with exactly one value missing.
    void (*enterIncomplete)(FormDriver&);
    const wchar_t* message;
    int nFocusedId;
    const wchar_t* shownLongAxis;  // tells the second nodule's editors from the first's "5.0"
};

const MissingValueCase MISSING_VALUE_CASES[] = {
    {"LongAxisMissingWhileTheShortOneIsThere", false,
     [](FormDriver& form) {
         Enter(form, IDC_SHORT_AXIS, L"6");
         form.Choose(IDC_LOBE, LOBE_RLL);
     },
     L"2 번째 결절의 장축 크기가 입력되지 않았습니다.", IDC_LONG_AXIS, L""},
    {"ShortAxisEnteredAsNegative", false,
     [](FormDriver& form) {
         Enter(form, IDC_LONG_AXIS, L"6");
         Enter(form, IDC_SHORT_AXIS, L"-1");
         form.Choose(IDC_LOBE, LOBE_RLL);
     },
     L"2 번째 결절의 단축 크기가 입력되지 않았습니다.", IDC_SHORT_AXIS, L"6.0"},
    {"SolidLongAxisMissingOfPartSolid", false,
     [](FormDriver& form) {
         form.Choose(IDC_NODULE_TYPE, NODULE_PART_SOLID);
         Enter(form, IDC_LONG_AXIS, L"10");
         Enter(form, IDC_SOLID_SHORT_AXIS, L"4");
         form.Choose(IDC_LOBE, LOBE_RLL);
     },
     L"2 번째 결절의 고형부분 장축 크기가 입력되지 않았습니다.", IDC_SOLID_LONG_AXIS, L"10.0"},
    {"SolidShortAxisEnteredAsNegative", false,
     [](FormDriver& form) {
         form.Choose(IDC_NODULE_TYPE, NODULE_PART_SOLID);
         Enter(form, IDC_LONG_AXIS, L"10");
         Enter(form, IDC_SOLID_LONG_AXIS, L"5");
         Enter(form, IDC_SOLID_SHORT_AXIS, L"-1");
         form.Choose(IDC_LOBE, LOBE_RLL);
     },
     L"2 번째 결절의 고형부분 단축 크기가 입력되지 않았습니다.", IDC_SOLID_SHORT_AXIS, L"10.0"},
    {"ShortAxisEmptied", false,
     [](FormDriver& form) {
         Enter(form, IDC_LONG_AXIS, L"6");
         form.Type(IDC_SHORT_AXIS, L"");
         form.Press(VK_TAB);
         form.Choose(IDC_LOBE, LOBE_RLL);
     },
     L"2 번째 결절의 단축 크기가 입력되지 않았습니다.", IDC_SHORT_AXIS, L"6.0"},
    {"LongAxisNegativeConfirmedWithEnter", false,
     [](FormDriver& form) {
         Enter(form, IDC_LONG_AXIS, L"-6");
         form.Choose(IDC_LOBE, LOBE_RLL);
     },
     L"2 번째 결절의 장축 크기가 입력되지 않았습니다.", IDC_LONG_AXIS, L""},
    {"SolidLongAxisNotANumber", false,
     [](FormDriver& form) {
         form.Choose(IDC_NODULE_TYPE, NODULE_PART_SOLID);
         Enter(form, IDC_LONG_AXIS, L"10");
         Enter(form, IDC_SOLID_LONG_AXIS, L"abc");
         form.Choose(IDC_LOBE, LOBE_RLL);
     },
     L"2 번째 결절의 고형부분 장축 크기가 입력되지 않았습니다.", IDC_SOLID_LONG_AXIS, L"10.0"},
    {"LobeNotChosen", false, [](FormDriver& form) { Enter(form, IDC_LONG_AXIS, L"6"); },
     L"2 번째 결절의 위치가 입력되지 않았습니다.", IDC_LOBE, L"6.0"},
    {"FollowUpStatusNotChosenOnFollowUpCt", true,
     [](FormDriver& form) {
         Enter(form, IDC_LONG_AXIS, L"6");
         form.Choose(IDC_LOBE, LOBE_RLL);
     },
     L"2 번째 결절의 추적검사 상태가 입력되지 않았습니다.", IDC_FOLLOWUP, L"6.0"},
};

// Each missing value is named with the nodule's number counted from 1, in an error
// box with OK only; the form then selects that nodule and focuses the value's control.
TEST(ReportCommand, EachMissingValueLeadsToItsNoduleAndControl) {
    for (const MissingValueCase& c : MISSING_VALUE_CASES) {
        SCOPED_TRACE(c.name);
        FormDriver form;
        if (c.bFollowUpCt) form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
        AddCompleteNodule(form, c.bFollowUpCt);
        form.Click(IDC_ADD_NODULE);
        c.enterIncomplete(form);
        form.SelectRow(0);
        ASSERT_EQ(form.Text(IDC_LONG_AXIS), L"5.0");

        SeenMessageBox seen = ReportExpectingMessage(form);

        EXPECT_EQ(seen.text, c.message);
        EXPECT_EQ(seen.caption, APP_NAME);
        EXPECT_EQ(seen.icon, IDI_ERROR);
        EXPECT_EQ(seen.buttons, std::vector<int>{IDOK});
        EXPECT_EQ(form.SelectedRow(), 1);
        EXPECT_EQ(form.Text(IDC_LONG_AXIS), c.shownLongAxis);
        EXPECT_EQ(form.FocusedId(), c.nFocusedId);
        if (IsEdit(form.Item(c.nFocusedId))) {
            const int nLength = static_cast<int>(form.Text(c.nFocusedId).size());
            EXPECT_EQ(form.EditSelection(c.nFocusedId), std::make_pair(0, nLength));
        }
    }
}

// Two incomplete nodules: only the first in list order is reported, and of its
// missing values (lobe and follow-up status) only the first in check order.
TEST(ReportCommand, OnlyTheFirstGapOfTheFirstIncompleteNoduleIsReported) {
    FormDriver form;
    form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
    form.Click(IDC_ADD_NODULE);
    Enter(form, IDC_LONG_AXIS, L"6");
    form.Click(IDC_ADD_NODULE);
    ASSERT_EQ(form.SelectedRow(), 1);

    SeenMessageBox seen = ReportExpectingMessage(form);

    EXPECT_EQ(seen.text, L"1 번째 결절의 위치가 입력되지 않았습니다.");
    EXPECT_EQ(form.SelectedRow(), 0);
    EXPECT_EQ(form.Text(IDC_LONG_AXIS), L"6.0");
    EXPECT_EQ(form.FocusedId(), IDC_LOBE);
}

// A part-solid nodule without any size is asked for its long axis, not its solid part.
TEST(ReportCommand, PartSolidWithoutSizesIsAskedForItsLongAxisFirst) {
    FormDriver form;
    form.Click(IDC_ADD_NODULE);
    form.Choose(IDC_NODULE_TYPE, NODULE_PART_SOLID);
    form.Choose(IDC_LOBE, LOBE_RUL);

    SeenMessageBox seen = ReportExpectingMessage(form);

    EXPECT_EQ(seen.text, L"1 번째 결절의 장축 크기가 입력되지 않았습니다.");
    EXPECT_EQ(form.FocusedId(), IDC_LONG_AXIS);
}

struct NoSolidPartCase {
    const char* name;
    void (*enter)(FormDriver&);
    const wchar_t* reportLine;
};

const NoSolidPartCase NO_SOLID_PART_CASES[] = {
    {"Solid", [](FormDriver&) {}, L"우중엽(#0), 6.0 mm 고형 결절 있음, 범주: 3"},
    {"GroundGlass", [](FormDriver& form) { form.Choose(IDC_NODULE_TYPE, NODULE_GROUND_GLASS); },
     L"우중엽(#0), 6.0 mm 간유리 결절 있음, 범주: 2"},
    {"PartSolidTurnedSolidBeforeTheSolidPartWasEntered",
     [](FormDriver& form) {
         form.Choose(IDC_NODULE_TYPE, NODULE_PART_SOLID);
         form.Choose(IDC_NODULE_TYPE, NODULE_SOLID);
     },
     L"우중엽(#0), 6.0 mm 고형 결절 있음, 범주: 3"},
};

// Solid-part sizes are never demanded of solid or ground-glass nodules, and a
// baseline CT never asks for a follow-up status.
TEST(ReportCommand, SolidPartIsNeverDemandedOfOtherTypes) {
    for (const NoSolidPartCase& c : NO_SOLID_PART_CASES) {
        SCOPED_TRACE(c.name);
        FormDriver form;
        form.Click(IDC_ADD_NODULE);
        c.enter(form);
        Enter(form, IDC_LONG_AXIS, L"6");
        form.Choose(IDC_LOBE, LOBE_RML);

        const std::wstring shown = ReadReport(form);

        EXPECT_NE(shown.find(L"영상소견\r\n" + std::wstring(c.reportLine) + L"\r\n"), std::wstring::npos) << shown;
    }
}

TEST(ReportCommand, EmptyListReportsThatNoNoduleWasFound) {
    FormDriver form;
    const std::wstring shown = ReadReport(form);

    EXPECT_EQ(shown, EMPTY_FORM_REPORT);
}

// A nodule complete on a baseline CT lacks its follow-up status once the exam is
// switched to a follow-up CT; after the status is chosen the report opens.
TEST(ReportCommand, SwitchToFollowUpCtAsksForTheFollowUpStatus) {
    FormDriver form;
    form.Click(IDC_ADD_NODULE);
    Enter(form, IDC_LONG_AXIS, L"6");
    form.Choose(IDC_LOBE, LOBE_RUL);
    ASSERT_NE(ReadReport(form), L"");

    form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
    SetPriorCtDate(form, 2024, 2, 29);
    SeenMessageBox seen = ReportExpectingMessage(form);
    EXPECT_EQ(seen.text, L"1 번째 결절의 추적검사 상태가 입력되지 않았습니다.");
    EXPECT_EQ(seen.icon, IDI_ERROR);
    EXPECT_EQ(form.FocusedId(), IDC_FOLLOWUP);

    form.Choose(IDC_FOLLOWUP, STATUS_STABLE);
    EXPECT_EQ(ReadReport(form),
              L"추적CT (이전CT: 2024-02-29)\r\n"
              L"선량 (CTDIvol): 0.00 mGy\r\n"
              L"\r\n"
              L"영상소견\r\n"
              L"우상엽(#0), 6.0 mm 고형 결절 있음, 변화 없음, 범주: 2\r\n"
              L"\r\n" +
                  ConclusionOf(L"2"));
}

namespace {

// Types over the text of whichever control has the focus; '\n' is Enter.
void TypeWhereTheFocusIs(FormDriver& form, std::wstring_view text) {
    form.Pump();
    SendMessageW(GetFocus(), EM_SETSEL, 0, -1);
    PostTyping(GetFocus(), text);
    form.Pump();
}

// A drop-down list opened and browsed to `nBrowsedTo` (the move notified, as the
// arrow keys notify it), that closes without a choice still showing it, as
// Wine's list does on Esc: the box goes back to the item it opened on.
void CloseListWithoutChoice(FormDriver& form, int nIDC, int nBrowsedTo) {
    form.Focus(nIDC);
    const int nOpenedOn = form.ComboSel(nIDC);
    SendMessageW(form.Item(nIDC), CB_SHOWDROPDOWN, TRUE, 0);
    form.Choose(nIDC, nBrowsedTo);
    SendMessageW(form.Item(nIDC), CB_SHOWDROPDOWN, FALSE, 0);
    form.Pump();
    ASSERT_EQ(form.ComboSel(nIDC), nOpenedOn);
}

// Enter on the item under the pointer of an open list, which closes on it
// without a selection change before.
void ChooseUnderPointerWithEnter(FormDriver& form, int nIDC, int nIndex) {
    form.Focus(nIDC);
    SendMessageW(form.Item(nIDC), CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(form.DropDownList(nIDC), LB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    form.Press(VK_RETURN);
    ASSERT_EQ(form.ComboSel(nIDC), nIndex);
}

struct EntriesCase {
    const char* name;
    void (*enter)(FormDriver&);
    const wchar_t* finalCategory;     // as 1037 shows it before the report
    std::vector<std::wstring> lines;  // among the report's lines
    const wchar_t* concludes = nullptr;  // the conclusion's category where 1037 is left showing another
};

// Each row enters an exam by a way that once left the report, or the final
// category, saying other than the entries.
const EntriesCase ENTRIES_CASES[] = {
    {"a finding ticked while the dose is refused counts at once",
     [](FormDriver& form) {
         form.Type(IDC_CTDIVOL, L"abc");
         {
             ModalScript script;
             script.AnswerMessageBox(IDOK);
             form.Click(IDC_LYMPHADENOPATHY);
         }
         form.Type(IDC_CTDIVOL, L"3");
     },
     L"4X",
     {L"폐결절 외 폐암시사 소견: 림프절 비대."}},
    {"a click on another control after a long axis leaves the focus there",
     [](FormDriver& form) {
         form.Click(IDC_ADD_NODULE);
         form.Type(IDC_LONG_AXIS, L"7");
         form.Focus(IDC_IMAGE_NO);
         TypeWhereTheFocusIs(form, L"45\n");
         form.Choose(IDC_LOBE, LOBE_RUL);
     },
     L"3",
     {L"우상엽(#45), 7.0 mm 고형 결절 있음, 범주: 3"}},
    {"a value typed and not left is kept for its nodule when another row is selected",
     [](FormDriver& form) {
         AddCompleteNodule(form, false);
         AddCompleteNodule(form, false);
         form.SelectRow(0);
         form.Type(IDC_LONG_AXIS, L"12");
         form.SelectRow(1);
     },
     L"4A",
     {L"우상엽(#0), 8.5 mm 고형 결절 있음, 범주: 4A", L"우상엽(#0), 5.0 mm 고형 결절 있음, 범주: 2"}},
    {"a lobe list closed without a choice keeps the lobe it opened on",
     [](FormDriver& form) {
         AddCompleteNodule(form, false);
         CloseListWithoutChoice(form, IDC_LOBE, LOBE_LLL);
     },
     L"2",
     {L"우상엽(#0), 5.0 mm 고형 결절 있음, 범주: 2"}},
    {"a degree list closed without a choice stays Mild and gives no S",
     [](FormDriver& form) {
         form.Click(IDC_CORONARY);
         CloseListWithoutChoice(form, IDC_CORONARY_SEVERITY, MODERATE);
     },
     L"1",
     {L"다른 소견: 관상동맥 석회화 (Mild)."}},
    {"처음 CT browsed to and closed without a choice keeps every follow-up status",
     [](FormDriver& form) {
         form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
         AddCompleteNodule(form, true);
         CloseListWithoutChoice(form, IDC_CT_TYPE, BASELINE_CT);
     },
     L"2",
     {L"우상엽(#0), 5.0 mm 고형 결절 있음, 변화 없음, 범주: 2"}},
    {"처음 CT chosen with Enter under the pointer clears the follow-up statuses",
     [](FormDriver& form) {
         form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
         form.Click(IDC_ADD_NODULE);
         Enter(form, IDC_LONG_AXIS, L"7");
         form.Choose(IDC_LOBE, LOBE_RUL);
         form.Choose(IDC_FOLLOWUP, STATUS_STABLE);
         ChooseUnderPointerWithEnter(form, IDC_CT_TYPE, BASELINE_CT);
     },
     L"3",
     {L"우상엽(#0), 7.0 mm 고형 결절 있음, 범주: 3"}},
    {"a feature whose box a corrected size takes away is not reported",
     [](FormDriver& form) {
         form.Click(IDC_ADD_NODULE);
         Enter(form, IDC_LONG_AXIS, L"7");
         form.Choose(IDC_LOBE, LOBE_RUL);
         form.Click(IDC_SPICULATION);
         EnterAxes(form, L"5", L"5");
     },
     L"2",
     {L"우상엽(#0), 5.0 mm 고형 결절 있음, 범주: 2"}},
    {"a final category display left stale changes nothing of the conclusion",
     [](FormDriver& form) {
         AddCompleteNodule(form, false);
         SetWindowTextW(form.Item(IDC_FINAL_CATEGORY), L"4X");
     },
     L"4X",
     {},
     L"2"},
};

}  // namespace

// The final category and the report follow the entries, however they were made.
TEST(ReportCommand, TheReportFollowsTheEntriesHoweverTheyWereMade) {
    for (const EntriesCase& c : ENTRIES_CASES) {
        SCOPED_TRACE(c.name);
        FormDriver form;
        c.enter(form);
        EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), c.finalCategory);

        const std::wstring shown = ReadReport(form);

        for (const std::wstring& line : c.lines) EXPECT_TRUE(HasLine(shown, line)) << testing::PrintToString(line);
        EXPECT_TRUE(shown.ends_with(ConclusionOf(c.concludes ? c.concludes : c.finalCategory)));
    }
}

struct BadDoseCase {
    const char* name;
    const wchar_t* typed;
    const wchar_t* prompt;
};

const BadDoseCase BAD_DOSE_CASES[] = {
    {"NotANumber", L"약 1.2", L"숫자를 입력하십시오."},
    {"AboveTheRange", L"100.5", L"0에서 100 사이의 숫자를 입력하십시오."},
};

// A dose the data exchange refuses stops the command before any nodule is looked
// at: the framework's prompt only, the selection stays, no report.
TEST(ReportCommand, RefusedDoseStopsBeforeAnyNoduleIsExamined) {
    for (const BadDoseCase& c : BAD_DOSE_CASES) {
        SCOPED_TRACE(c.name);
        FormDriver form;
        AddCompleteNodule(form, false);
        form.Click(IDC_ADD_NODULE);
        form.SelectRow(0);
        form.Type(IDC_CTDIVOL, c.typed);

        SeenMessageBox seen = ReportExpectingMessage(form);

        EXPECT_EQ(seen.text, c.prompt);
        EXPECT_EQ(seen.icon, IDI_WARNING);
        EXPECT_EQ(form.SelectedRow(), 0);
        EXPECT_EQ(form.FocusedId(), IDC_CTDIVOL);
        EXPECT_EQ(form.EditSelection(IDC_CTDIVOL), std::make_pair(0, static_cast<int>(form.Text(IDC_CTDIVOL).size())));
    }
}

struct LeaveReportCase {
    const char* name;
    int nButton;
};

const LeaveReportCase LEAVE_REPORT_CASES[] = {
    {"Ok", IDOK},
    {"Cancel", IDCANCEL},
};

// Whichever way the reader leaves the report, the form is exactly as it was.
TEST(ReportCommand, FormIsUnchangedAfterTheReportCloses) {
    for (const LeaveReportCase& c : LEAVE_REPORT_CASES) {
        SCOPED_TRACE(c.name);
        FormDriver form;
        form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
        SetPriorCtDate(form, 2024, 11, 3);
        form.Type(IDC_CTDIVOL, L"2.5");
        form.Click(IDC_PRIOR_CANCER);
        form.Click(IDC_ADD_NODULE);
        form.Choose(IDC_NODULE_TYPE, NODULE_PART_SOLID);
        Enter(form, IDC_LONG_AXIS, L"12");
        Enter(form, IDC_SOLID_LONG_AXIS, L"7");
        form.Choose(IDC_LOBE, LOBE_RLL);
        Enter(form, IDC_IMAGE_NO, L"45");
        form.Choose(IDC_FOLLOWUP, STATUS_NEW);
        AddCompleteNodule(form, true);
        form.Click(IDC_EMPHYSEMA);
        form.Click(IDC_CONSOLIDATION);
        form.Type(IDC_CONSOLIDATION_NOTE, L"좌하엽");
        form.Type(IDC_COMMENTS, L"비교 영상 없음");
        form.SelectRow(0);
        const std::vector<ControlState> controlsBefore = ControlStates(form);
        const std::vector<std::wstring> rowsBefore = RowTexts(form);
        const std::vector<std::wstring> dataBefore = DescribeData(form);

        ASSERT_NE(ReadReport(form, c.nButton), L"");

        EXPECT_EQ(ControlStates(form), controlsBefore);
        EXPECT_EQ(RowTexts(form), rowsBefore);
        EXPECT_EQ(DescribeData(form), dataBefore);
    }
}
