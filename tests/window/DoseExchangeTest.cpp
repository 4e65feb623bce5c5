// The CTDIvol as the reader meets it: typed into its edit, saved and checked
// whenever an exam finding changes, and written into the report.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormDriver.h"
#include "FormSteps.h"
#include "ModalScript.h"
#include "ReportSteps.h"

namespace {

const std::wstring NOT_A_NUMBER = L"숫자를 입력하십시오.";
const std::wstring OUT_OF_RANGE = L"0에서 100 사이의 숫자를 입력하십시오.";

struct DoseCase {
    const char* name;
    const wchar_t* typed;
    std::wstring prompt;        // empty: accepted without a word
    const wchar_t* reportLine;  // the dose as the report then writes it
};

const DoseCase DOSE_CASES[] = {
    {"an empty edit is not a number", L"", NOT_A_NUMBER, nullptr},
    {"letters are not a number", L"abc", NOT_A_NUMBER, nullptr},
    {"a unit after the number is ignored", L"12 mGy", L"", L"선량 (CTDIvol): 12.00 mGy"},
    {"leading blanks are skipped", L"  7.5", L"", L"선량 (CTDIvol): 7.50 mGy"},
    {"a comma between digits is the decimal point", L"1,5", L"", L"선량 (CTDIvol): 1.50 mGy"},
    {"a comma decimal before the unit", L"12,25 mGy", L"", L"선량 (CTDIvol): 12.25 mGy"},
    {"a comma decimal above 100 is refused", L"100,5", OUT_OF_RANGE, nullptr},
    {"a comma before every digit is not a number", L",5", NOT_A_NUMBER, nullptr},
    {"zero is the lower bound", L"0", L"", L"선량 (CTDIvol): 0.00 mGy"},
    {"100 is the upper bound", L"100", L"", L"선량 (CTDIvol): 100.00 mGy"},
    {"just above 100 is refused", L"100.5", OUT_OF_RANGE, nullptr},
    {"a negative dose is refused", L"-1", OUT_OF_RANGE, nullptr},
    // No report may ever say "nan mGy" or "inf mGy".
    {"nan is refused", L"nan", OUT_OF_RANGE, nullptr},
    {"infinity is refused", L"inf", OUT_OF_RANGE, nullptr},
    {"a number beyond double's range is refused", L"1e999", OUT_OF_RANGE, nullptr},
    {"a number beyond float's range is refused", L"1e39", OUT_OF_RANGE, nullptr},
};

// Types the dose, then ticks a finding; returns the boxes seen, in order.
std::vector<SeenMessageBox> TickWithDose(FormDriver& form, const wchar_t* typed, int nFinding) {
    std::vector<SeenMessageBox> seen;
    ModalScript script;
    script.AnswerEveryMessageBox(IDOK, &seen);
    form.Type(IDC_CTDIVOL, typed);
    form.Click(nFinding);
    return seen;
}

}  // namespace

TEST(DoseExchange, TickingAFindingSavesTheDoseAndRefusesWhatIsNoDoseInRange) {
    for (const DoseCase& c : DOSE_CASES) {
        SCOPED_TRACE(c.name);
        FormDriver form;
        const std::vector<SeenMessageBox> seen = TickWithDose(form, c.typed, IDC_OTHER_FINDING);
        EXPECT_TRUE(form.Checked(IDC_OTHER_FINDING));
        // The finding counts whatever the dose holds.
        EXPECT_TRUE(form.Enabled(IDC_OTHER_FINDING_NOTE)) << "the form was not refreshed";

        if (c.prompt.empty()) {
            EXPECT_TRUE(seen.empty()) << "a prompt appeared: " << testing::PrintToString(seen.front().text);
            EXPECT_TRUE(HasLine(ReadReport(form), c.reportLine)) << testing::PrintToString(c.reportLine);
            continue;
        }
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, c.prompt);
        EXPECT_EQ(seen[0].caption, APP_NAME);
        EXPECT_EQ(seen[0].icon, IDI_WARNING);
        EXPECT_EQ(seen[0].buttons, std::vector<int>{IDOK});
        // The reader is taken back to the dose, ready to type over it.
        EXPECT_EQ(form.FocusedId(), IDC_CTDIVOL);
        EXPECT_EQ(form.Text(IDC_CTDIVOL), c.typed);
        EXPECT_EQ(form.EditSelection(IDC_CTDIVOL), std::make_pair(0, static_cast<int>(wcslen(c.typed))));
    }
}

TEST(DoseExchange, ARefusedSaveDoesNotStopALaterCorrectOne) {
    FormDriver form;
    std::vector<SeenMessageBox> seen = TickWithDose(form, L"abc", IDC_OTHER_FINDING);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, NOT_A_NUMBER);

    seen = TickWithDose(form, L"12", IDC_ENDOBRONCHIAL);
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(HasLine(ReadReport(form), L"선량 (CTDIvol): 12.00 mGy"));
}

TEST(DoseExchange, ChangingTheCoronarySeveritySavesTheDoseToo) {
    FormDriver form;
    form.Click(IDC_CORONARY);
    ASSERT_TRUE(form.Enabled(IDC_CORONARY_SEVERITY));

    std::vector<SeenMessageBox> seen;
    ModalScript script;
    script.AnswerEveryMessageBox(IDOK, &seen);
    form.Type(IDC_CTDIVOL, L"150");
    form.Choose(IDC_CORONARY_SEVERITY, SEVERE);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, OUT_OF_RANGE);
    EXPECT_EQ(form.FocusedId(), IDC_CTDIVOL);
    EXPECT_EQ(form.EditSelection(IDC_CTDIVOL), std::make_pair(0, 3));
}
