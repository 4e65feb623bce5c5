// The exam findings as the form wires them: which box and note feed which
// finding, what 1037 shows for it and what the report says. How findings
// combine is the core's exam-category table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormDriver.h"
#include "FormSteps.h"
#include "ModalScript.h"
#include "ReportSteps.h"
#include "tests/core/Conclusions.h"

namespace {

const std::wstring MOST_SUSPICIOUS = AdviceOf(L"4X");
const std::wstring SUSPICIOUS = AdviceOf(L"4A");
const std::wstring NO_FINDING = AdviceOf(L"1");

// The report of an otherwise empty form with one finding.
std::wstring ReportWith(const std::wstring& headerLine, const std::wstring& sentence, const wchar_t* category,
                        const std::wstring& recommendation) {
    std::wstring report = L"처음CT\r\n" + headerLine + L"선량 (CTDIvol): 0.00 mGy\r\n\r\n영상소견\r\n발견된 결절 없음.";
    if (!sentence.empty()) report += L"\r\n\r\n" + sentence;
    return report + L"\r\n\r\n결론: 범주 " + category + L" " + recommendation;
}

struct FindingRow {
    const char* name;
    int nBox;
    int nDetail;            // 0: none; else the note edit, or the severity combo 1034
    const wchar_t* detail;  // the note typed, or the severity's item
    const wchar_t* category;
    const wchar_t* headerLine;  // a line of the header, with its line break
    const wchar_t* sentence;    // the findings sentence, without its line break
    const std::wstring* recommendation;
};

// Every note is a text of its own, so that a note read from another edit shows.
const FindingRow FINDING_ROWS[] = {
    {"endobronchial lesion", IDC_ENDOBRONCHIAL, IDC_ENDOBRONCHIAL_NOTE, L"우측 주기관지", L"4A", L"",
     L"기관지내 병변 있음 (우측 주기관지).", &SUSPICIOUS},
    {"consolidation", IDC_CONSOLIDATION, IDC_CONSOLIDATION_NOTE, L"좌하엽 3 cm", L"4X", L"",
     L"폐결절 외 폐암시사 소견: 폐경화 (좌하엽 3 cm).", &MOST_SUSPICIOUS},
    {"atelectasis", IDC_ATELECTASIS, IDC_ATELECTASIS_NOTE, L"우중엽 분절성", L"4X", L"",
     L"폐결절 외 폐암시사 소견: 무기폐 (우중엽 분절성).", &MOST_SUSPICIOUS},
    {"enlarged lymph nodes", IDC_LYMPHADENOPATHY, IDC_LYMPHADENOPATHY_NOTE, L"종격동 4R", L"4X", L"",
     L"폐결절 외 폐암시사 소견: 림프절 비대 (종격동 4R).", &MOST_SUSPICIOUS},
    {"another suggestive finding", IDC_SUGGESTIVE_OTHER, IDC_SUGGESTIVE_OTHER_NOTE, L"흉막 결절", L"4X", L"",
     L"폐결절 외 폐암시사 소견: 기타 (흉막 결절).", &MOST_SUSPICIOUS},
    {"mild coronary calcification", IDC_CORONARY, IDC_CORONARY_SEVERITY, L"Mild", L"1", L"",
     L"다른 소견: 관상동맥 석회화 (Mild).", &NO_FINDING},
    {"moderate coronary calcification", IDC_CORONARY, IDC_CORONARY_SEVERITY, L"Moderate", L"1S", L"",
     L"폐결절 외 의미있는 소견: 관상동맥 석회화 (Moderate).", &NO_FINDING},
    {"severe coronary calcification", IDC_CORONARY, IDC_CORONARY_SEVERITY, L"Severe", L"1S", L"",
     L"폐결절 외 의미있는 소견: 관상동맥 석회화 (Severe).", &NO_FINDING},
    {"emphysema", IDC_EMPHYSEMA, 0, nullptr, L"1S", L"", L"폐결절 외 의미있는 소견: 폐기종 (중증도 이상).",
     &NO_FINDING},
    {"interstitial lung abnormality", IDC_INTERSTITIAL, 0, nullptr, L"1S", L"",
     L"폐결절 외 의미있는 소견: 간질성 폐이상.", &NO_FINDING},
    {"pneumonia", IDC_PNEUMONIA, 0, nullptr, L"1S", L"", L"폐결절 외 의미있는 소견: 폐렴 및 활동성 폐결핵.",
     &NO_FINDING},
    {"extrapulmonary malignancy", IDC_EXTRAPULMONARY, 0, nullptr, L"1S", L"", L"폐결절 외 의미있는 소견: 폐외악성물.",
     &NO_FINDING},
    {"aortic aneurysm", IDC_ANEURYSM, 0, nullptr, L"1S", L"", L"폐결절 외 의미있는 소견: 대동맥류.", &NO_FINDING},
    {"large effusion", IDC_EFFUSION, 0, nullptr, L"1S", L"", L"폐결절 외 의미있는 소견: 다량의 흉수 또는 심낭 삼출.",
     &NO_FINDING},
    {"another significant finding", IDC_SIGNIFICANT_OTHER, IDC_SIGNIFICANT_OTHER_NOTE, L"갑상선 결절", L"1S", L"",
     L"폐결절 외 의미있는 소견: 기타 (갑상선 결절).", &NO_FINDING},
    {"inactive tuberculosis", IDC_INACTIVE_TB, 0, nullptr, L"1", L"", L"다른 소견: 비활동성 폐결핵.", &NO_FINDING},
    {"another finding", IDC_OTHER_FINDING, IDC_OTHER_FINDING_NOTE, L"척추 골절", L"1", L"",
     L"다른 소견: 기타 (척추 골절).", &NO_FINDING},
    {"prior lung cancer", IDC_PRIOR_CANCER, 0, nullptr, L"1", L"과거 폐암 병력 있음.\r\n", L"", &NO_FINDING},
};

// The item of a drop-down list that shows the text, as the reader picks it.
int ItemShowing(const FormDriver& form, int nIDC, const wchar_t* text) {
    return static_cast<int>(
        SendMessageW(form.Item(nIDC), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)));
}

}  // namespace

// Each box ticked alone on one form, cleared between rows, with its note typed
// or its severity chosen.
TEST(FinalCategory, EachFindingAloneGivesItsCategoryAndItsReportSentence) {
    FormDriver form;
    for (const FindingRow& row : FINDING_ROWS) {
        SCOPED_TRACE(row.name);
        ClearAnsweringYes(form);
        form.Click(row.nBox);
        ASSERT_TRUE(form.Checked(row.nBox));
        if (row.nDetail) {
            EXPECT_TRUE(form.Enabled(row.nDetail)) << "the detail of the box is not offered";
        }
        if (row.nDetail == IDC_CORONARY_SEVERITY)
            form.Choose(IDC_CORONARY_SEVERITY, ItemShowing(form, IDC_CORONARY_SEVERITY, row.detail));
        else if (row.nDetail)
            form.Type(row.nDetail, row.detail);

        EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), row.category);
        EXPECT_EQ(ReadReport(form), ReportWith(row.headerLine, row.sentence, row.category, *row.recommendation));
    }
}

TEST(FinalCategory, PriorLungCancerChangesNoOtherControl) {
    FormDriver form;
    AddNodule(form, NODULE_SOLID, L"7", L"7");
    form.Click(IDC_CORONARY);
    form.Choose(IDC_CORONARY_SEVERITY, MODERATE);
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

// An unticked finding counts no more, and its note or severity waits, kept but
// not offered, for the box to be ticked again.
TEST(FinalCategory, UntickingAFindingKeepsItsDetailAndDropsItsPart) {
    const struct {
        const char* name;
        int nBox;
        int nDetail;
        const wchar_t* category;
    } findings[] = {
        {"consolidation and its note", IDC_CONSOLIDATION, IDC_CONSOLIDATION_NOTE, L"4X"},
        {"coronary calcification and its severity", IDC_CORONARY, IDC_CORONARY_SEVERITY, L"1S"},
    };
    for (const auto& finding : findings) {
        SCOPED_TRACE(finding.name);
        FormDriver form;
        form.Click(finding.nBox);
        if (finding.nDetail == IDC_CORONARY_SEVERITY)
            form.Choose(IDC_CORONARY_SEVERITY, SEVERE);
        else
            form.Type(finding.nDetail, L"우하엽 폐경화 3 cm");
        const std::wstring detail = form.Text(finding.nDetail);
        ASSERT_EQ(form.Text(IDC_FINAL_CATEGORY), finding.category);

        form.Click(finding.nBox);
        EXPECT_FALSE(form.Enabled(finding.nDetail));
        EXPECT_EQ(form.Text(finding.nDetail), detail);
        EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), L"1");

        form.Click(finding.nBox);
        EXPECT_TRUE(form.Enabled(finding.nDetail));
        EXPECT_EQ(form.Text(finding.nDetail), detail);
        EXPECT_EQ(form.Text(IDC_FINAL_CATEGORY), finding.category);
    }
}
