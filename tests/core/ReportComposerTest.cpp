#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <limits>
#include <vector>

#include "Conclusions.h"
#include "FindingRows.h"
#include "base/NumberText.h"
#include "report/ReportComposer.h"

namespace {

constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();

double Typed(double mm) { return mm + SIZE_NUDGE_MM; }

const wchar_t BASELINE_NO_NODULES[] = L"처음CT\r\n선량 (CTDIvol): 0.00 mGy\r\n\r\n영상소견\r\n발견된 결절 없음.\r\n";
const CString CONCLUSION_1 = L"\r\n\r\n" + ConclusionOf(L"1");

CString Compose(const ExamInputs& exam, const std::vector<CNoduleItem>& nodules) {
    std::vector<const CNoduleItem*> pointers;
    for (const CNoduleItem& nodule : nodules) {
        pointers.push_back(&nodule);
    }
    return ComposeReport(exam, pointers);
}

std::vector<CString> Lines(const CString& report) {
    std::vector<CString> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = report.find(L"\r\n", start)) != CString::npos; start = end + 2) {
        lines.push_back(report.substr(start, end - start));
    }
    lines.push_back(report.substr(start));
    return lines;
}

// The nodule lines of a report: from the line after "영상소견" to the first blank line.
std::vector<CString> NoduleLines(const CString& report) {
    const std::vector<CString> lines = Lines(report);
    auto line = std::find(lines.begin(), lines.end(), L"영상소견");
    std::vector<CString> nodules;
    while (line != lines.end() && ++line != lines.end() && !line->empty()) {
        nodules.push_back(*line);
    }
    return nodules;
}

// A solid baseline nodule in the right upper lobe: 6 x 5 mm typed, image 23, category 2.
CNoduleItem PlainNodule() {
    CNoduleItem nodule;
    nodule.m_dLongAxis = Typed(6.0);
    nodule.m_dShortAxis = Typed(5.0);
    nodule.m_nLobe = LOBE_RUL;
    nodule.m_nImageNo = 23;
    return nodule;
}

ExamInputs ExampleExam() {
    ExamInputs exam;
    exam.bBaselineCt = false;
    exam.dtPriorCt.m_dt = 44259.0;
    exam.bPriorCancer = true;
    exam.fCtdiVol = 1.25f;
    exam.findings.ticked[CORONARY] = true;
    exam.findings.coronaryDegree = DEGREE_MODERATE;
    exam.findings.ticked[EMPHYSEMA] = true;
    exam.notes[CORONARY] = L"Moderate";
    exam.strComments = L"  이전 검사와 비교함.  ";
    exam.strFinalCategory = L"4XS";
    return exam;
}

std::vector<CNoduleItem> ExampleNodules() {
    CNoduleItem stable = PlainNodule();
    stable.m_nFollowUp = FOLLOWUP_STABLE;

    CNoduleItem partSolid;
    partSolid.m_nType = NODULE_PART_SOLID;
    partSolid.m_dLongAxis = Typed(12.0);
    partSolid.m_dShortAxis = Typed(10.0);
    partSolid.m_dSolidLongAxis = Typed(7.0);
    partSolid.m_dSolidShortAxis = Typed(5.0);
    partSolid.m_nLobe = LOBE_LLL;
    partSolid.m_nImageNo = 45;
    partSolid.m_nFollowUp = FOLLOWUP_NEW;
    partSolid.m_bSpiculation = true;

    std::vector<CNoduleItem> nodules{stable, partSolid};
    for (CNoduleItem& nodule : nodules) {
        nodule.UpdateCategory();
    }
    return nodules;
}

}  // namespace

TEST(ReportComposer, ExampleReport) {
    const CString expected =
        L"추적CT (이전CT: 2021-03-04)\r\n"
        L"과거 폐암 병력 있음.\r\n"
        L"선량 (CTDIvol): 1.25 mGy\r\n"
        L"\r\n"
        L"영상소견\r\n"
        L"좌하엽(#45), 11.0 mm 부분고형 결절 있음 (고형부분: 6.0 mm) (침상), 새로 생김, 범주: 4X\r\n"
        L"우상엽(#23), 5.5 mm 고형 결절 있음, 변화 없음, 범주: 2\r\n"
        L"\r\n"
        L"폐결절 외 의미있는 소견: 관상동맥 석회화 (Moderate), 폐기종 (중증도 이상).\r\n"
        L"\r\n"
        L"추가 내용: \r\n"
        L"이전 검사와 비교함.\r\n"
        L"\r\n" +
        ConclusionOf(L"4XS");
    EXPECT_EQ(Compose(ExampleExam(), ExampleNodules()), expected);
}

TEST(ReportComposer, ExampleNoduleOnBaselineCt) {
    ExamInputs exam = ExampleExam();
    exam.bBaselineCt = true;
    const std::vector<CString> lines = NoduleLines(Compose(exam, ExampleNodules()));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], L"우상엽(#23), 5.5 mm 고형 결절 있음, 범주: 2");
}

TEST(ReportComposer, Header) {
    struct Case {
        const char* name;
        bool bBaselineCt;
        double dtPriorCt;
        COleDateTime::DateTimeStatus status;
        bool bPriorCancer;
        float fCtdiVol;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"baseline without dose", true, 0, COleDateTime::valid, false, 0.0f,
         L"처음CT\r\n선량 (CTDIvol): 0.00 mGy\r\n\r\n영상소견\r\n"},
        {"prior cancer line", true, 0, COleDateTime::valid, true, 0.0f,
         L"처음CT\r\n과거 폐암 병력 있음.\r\n선량 (CTDIvol): 0.00 mGy\r\n\r\n영상소견\r\n"},
        {"float 1.125 is written 1.12", true, 0, COleDateTime::valid, false, 1.125f,
         L"처음CT\r\n선량 (CTDIvol): 1.12 mGy\r\n\r\n영상소견\r\n"},
        {"float 1.2 is written 1.20", true, 0, COleDateTime::valid, false, 1.2f,
         L"처음CT\r\n선량 (CTDIvol): 1.20 mGy\r\n\r\n영상소견\r\n"},
        {"a typed -0 is the dose 0", true, 0, COleDateTime::valid, false, -0.0f,
         L"처음CT\r\n선량 (CTDIvol): 0.00 mGy\r\n\r\n영상소견\r\n"},
        {"baseline shows no date, not even an invalid one", true, 0, COleDateTime::invalid, false, 0.0f,
         L"처음CT\r\n선량 (CTDIvol): 0.00 mGy\r\n\r\n영상소견\r\n"},
        {"follow-up with a null date", false, 44259, COleDateTime::null, false, 0.0f,
         L"추적CT (이전CT: )\r\n선량 (CTDIvol): 0.00 mGy\r\n\r\n영상소견\r\n"},
        {"follow-up with an invalid date", false, 44259, COleDateTime::invalid, false, 0.0f,
         L"추적CT (이전CT: Invalid DateTime)\r\n선량 (CTDIvol): 0.00 mGy\r\n\r\n영상소견\r\n"},
    };
    for (const Case& c : cases) {
        ExamInputs exam;
        exam.bBaselineCt = c.bBaselineCt;
        exam.dtPriorCt.m_dt = c.dtPriorCt;
        exam.dtPriorCt.m_status = c.status;
        exam.bPriorCancer = c.bPriorCancer;
        exam.fCtdiVol = c.fCtdiVol;
        const CString report = Compose(exam, {});
        const CString marker = L"영상소견\r\n";
        EXPECT_EQ(report.substr(0, report.find(marker) + marker.size()), c.expected) << c.name;
    }
}

TEST(ReportComposer, NoduleLine) {
    struct Case {
        const char* name;
        bool bBaselineCt;
        void (*edit)(CNoduleItem&);
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"baseline ignores the follow-up status", true, [](CNoduleItem& n) { n.m_nFollowUp = FOLLOWUP_STABLE; },
         L"우상엽(#23), 5.5 mm 고형 결절 있음, 범주: 2"},
        {"follow-up without a status writes the baseline label", false, [](CNoduleItem&) {},
         L"우상엽(#23), 5.5 mm 고형 결절 있음, 처음CT, 범주: 2"},
        {"perifissural solid nodule", true, [](CNoduleItem& n) { n.m_bPerifissural = true; },
         L"우상엽(#23), 5.5 mm 고형 결절 있음 (흉막주변결절), 범주: 2"},
        {"likely benign hides perifissural", true,
         [](CNoduleItem& n) {
             n.m_bPerifissural = true;
             n.m_bLikelyBenign = true;
             n.m_nCategory = CAT_2B;
         },
         L"우상엽(#23), 5.5 mm 고형 결절 있음 (양성가능성 높음), 범주: 2b"},
        {"perifissural part-solid writes no word", true,
         [](CNoduleItem& n) {
             n.m_nType = NODULE_PART_SOLID;
             n.m_bPerifissural = true;
             n.m_dSolidLongAxis = Typed(3.0);
             n.m_dSolidShortAxis = Typed(2.0);
         },
         L"우상엽(#23), 5.5 mm 부분고형 결절 있음 (고형부분: 2.5 mm), 범주: 2"},
        {"every feature in order inside one pair of parentheses", true,
         [](CNoduleItem& n) {
             n.m_bLikelyBenign = n.m_bPerifissural = n.m_bCalcification = n.m_bFat = true;
             n.m_bSpiculation = n.m_bCavity = n.m_bOther = true;
             n.m_strOther = L"%s %d %%";
             n.m_nCategory = CAT_4X;
         },
         L"우상엽(#23), 5.5 mm 고형 결절 있음 (양성가능성 높음, 석회화, 지방, 침상, 공동, 기타(%s %d %%)), 범주: 4X"},
        // The report names a feature exactly when the form shows its box ticked.
        {"features whose boxes category 2 does not offer are not printed", true,
         [](CNoduleItem& n) { n.m_bLikelyBenign = n.m_bSpiculation = n.m_bCavity = n.m_bOther = true; },
         L"우상엽(#23), 5.5 mm 고형 결절 있음, 범주: 2"},
        {"2b offers likely benign but no 4X feature", true,
         [](CNoduleItem& n) {
             n.m_bLikelyBenign = n.m_bSpiculation = true;
             n.m_nCategory = CAT_2B;
         },
         L"우상엽(#23), 5.5 mm 고형 결절 있음 (양성가능성 높음), 범주: 2b"},
        {"perifissural from 9.999 mm on is not printed", true,
         [](CNoduleItem& n) {
             n.m_bPerifissural = true;
             n.m_dLongAxis = 9.999;
         },
         L"우상엽(#23), 7.5 mm 고형 결절 있음, 범주: 2"},
        {"an empty other text leaves the word alone", true,
         [](CNoduleItem& n) {
             n.m_bOther = true;
             n.m_nCategory = CAT_4X;
         },
         L"우상엽(#23), 5.5 mm 고형 결절 있음 (기타), 범주: 4X"},
        {"other text is not trimmed", true,
         [](CNoduleItem& n) {
             n.m_bOther = true;
             n.m_strOther = L" 큼 ";
             n.m_nCategory = CAT_4X;
         },
         L"우상엽(#23), 5.5 mm 고형 결절 있음 (기타( 큼 )), 범주: 4X"},
        {"lobe, type and status outside their tables leave empty places", false,
         [](CNoduleItem& n) {
             n.m_nLobe = 9;
             n.m_nType = 5;
             n.m_nFollowUp = 7;
         },
         L"(#23), 5.5 mm  결절 있음, , 범주: 2"},
        {"empty category label: the trim before the conclusion takes the space", true,
         [](CNoduleItem& n) { n.m_nCategory = 12; }, L"우상엽(#23), 5.5 mm 고형 결절 있음, 범주:"},
    };
    for (const Case& c : cases) {
        CNoduleItem nodule = PlainNodule();
        c.edit(nodule);
        ExamInputs exam;
        exam.bBaselineCt = c.bBaselineCt;
        const std::vector<CString> lines = NoduleLines(Compose(exam, {nodule}));
        ASSERT_EQ(lines.size(), 1u) << c.name;
        EXPECT_EQ(lines[0], c.expected) << c.name;
    }
}

TEST(ReportComposer, NoduleOrder) {
    struct Nodule {
        int nCategory;
        double dMean;
        int nImageNo;
        int nType = NODULE_SOLID;
        double dSolidMean = 0.0;
    };
    struct Case {
        const char* name;
        std::vector<Nodule> nodules;
        std::vector<int> expectedImages;
    };
    const Case cases[] = {
        {"higher category first", {{CAT_2, 9, 1}, {CAT_4A, 5, 2}, {CAT_3, 7, 3}}, {2, 3, 1}},
        {"equal category: larger mean first", {{CAT_3, 6, 1}, {CAT_3, 7, 2}}, {2, 1}},
        {"unrounded mean decides within one printed value", {{CAT_3, 6.01, 1}, {CAT_3, 6.04, 2}}, {2, 1}},
        {"equal category and mean keep list order",
         {{CAT_2, 5, 1}, {CAT_3, 6, 2}, {CAT_2, 5, 3}, {CAT_3, 6, 4}, {CAT_2, 5, 5}},
         {2, 4, 1, 3, 5}},
        {"2b before 2", {{CAT_2, 9, 1}, {CAT_2B, 5, 2}}, {2, 1}},
        {"severity order with 4 between 4A and 3",
         {{CAT_3, 5, 1}, {CAT_4, 5, 2}, {CAT_4A, 5, 3}, {CAT_4X, 5, 4}, {CAT_4B, 5, 5}, {CAT_0, 5, 6}, {CAT_1, 5, 7}},
         {4, 5, 3, 2, 1, 7, 6}},
        {"part-solid sorts by its whole mean, not its solid mean",
         {{CAT_4A, 10, 1}, {CAT_4A, 8, 2, NODULE_PART_SOLID, 20}},
         {1, 2}},
        {"a mean that is not a number goes last in its category",
         {{CAT_3, NOT_A_NUMBER, 1}, {CAT_3, 5, 2}, {CAT_3, NOT_A_NUMBER, 3}, {CAT_2, 9, 4}, {CAT_3, 0, 5}},
         {2, 5, 1, 3, 4}},
    };
    for (const Case& c : cases) {
        std::vector<CNoduleItem> nodules;
        for (const Nodule& wanted : c.nodules) {
            CNoduleItem& nodule = nodules.emplace_back();
            nodule.m_nCategory = wanted.nCategory;
            nodule.m_dLongAxis = nodule.m_dShortAxis = wanted.dMean;
            nodule.m_nImageNo = wanted.nImageNo;
            nodule.m_nType = wanted.nType;
            nodule.m_dSolidLongAxis = nodule.m_dSolidShortAxis = wanted.dSolidMean;
        }
        std::vector<int> images;
        for (const CString& line : NoduleLines(Compose(ExamInputs{}, nodules))) {
            images.push_back(ParseInteger(std::wstring_view(line).substr(line.find(L"(#") + 2)));
        }
        EXPECT_EQ(images, c.expectedImages) << c.name;
    }
}

// A final category with its modifiers, in either order, has its category's
// conclusion; any other text has the most suspicious one. The words of each
// category's conclusion are the guide's (GuideTest).
TEST(ReportComposer, Recommendation) {
    struct Case {
        const char* name;
        const wchar_t* finalCategory;
        const wchar_t* sameAs;
    };
    const Case cases[] = {
        {"2 with S", L"2S", L"2"},
        {"2b with S", L"2bS", L"2"},
        {"3 with C then S", L"3CS", L"3"},
        {"3 with S then C", L"3SC", L"3"},
        {"4A with S", L"4AS", L"4A"},
        {"4B with S", L"4BS", L"4X"},
        {"4", L"4", L"4X"},
        {"2B in upper case matches no row", L"2B", L"4X"},
        {"C alone leaves an empty category", L"C", L"4X"},
        {"a space after the category matches no row", L"2 ", L"4X"},
        {"empty", L"", L"4X"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AdviceOf(c.finalCategory), AdviceOf(c.sameAs)) << c.name;
        EXPECT_NE(AdviceOf(c.finalCategory), L"") << c.name;
    }
}

TEST(ReportComposer, FindingSentences) {
    struct Case {
        const char* name;
        void (*edit)(ExamInputs&);
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"endobronchial note trimmed at both ends",
         [](ExamInputs& e) {
             e.findings.ticked[ENDOBRONCHIAL] = true;
             e.notes[ENDOBRONCHIAL] = L" \t우측 주기관지\r\n ";
         },
         L"기관지내 병변 있음 (우측 주기관지)."},
        {"empty note adds nothing", [](ExamInputs& e) { e.findings.ticked[ENDOBRONCHIAL] = true; }, L"기관지내 병변 있음."},
        {"white-space note adds nothing",
         [](ExamInputs& e) {
             e.findings.ticked[ENDOBRONCHIAL] = true;
             e.notes[ENDOBRONCHIAL] = L" \r\n\t ";
         },
         L"기관지내 병변 있음."},
        {"suggestive findings in order, inner spaces kept",
         [](ExamInputs& e) {
             e.findings = Ticked({CONSOLIDATION, ATELECTASIS, LYMPHADENOPATHY, SUGGESTIVE_OTHER});
             e.notes[CONSOLIDATION] = L"우하엽  후방";
             e.notes[LYMPHADENOPATHY] = L" 10R ";
             e.notes[SUGGESTIVE_OTHER] = L"100% (%s)";
         },
         L"폐결절 외 폐암시사 소견: 폐경화 (우하엽  후방), 무기폐, 림프절 비대 (10R), 기타 (100% (%s))."},
        {"significant findings in order",
         [](ExamInputs& e) {
             e.findings = Ticked({CORONARY, EMPHYSEMA, INTERSTITIAL, PNEUMONIA, EXTRAPULMONARY, ANEURYSM, EFFUSION, SIGNIFICANT_OTHER}, DEGREE_SEVERE);
             e.notes[CORONARY] = L"Severe";
             e.notes[SIGNIFICANT_OTHER] = L"%d";
         },
         L"폐결절 외 의미있는 소견: 관상동맥 석회화 (Severe), 폐기종 (중증도 이상), 간질성 폐이상, "
         L"폐렴 및 활동성 폐결핵, 폐외악성물, 대동맥류, 다량의 흉수 또는 심낭 삼출, 기타 (%d)."},
        {"mild coronary calcification stands among the other findings",
         [](ExamInputs& e) {
             e.findings = Ticked({CORONARY, INACTIVE_TB, OTHER_FINDING}, DEGREE_MILD);
             e.notes[CORONARY] = L"Mild";
             e.notes[OTHER_FINDING] = L"%%";
         },
         L"다른 소견: 관상동맥 석회화 (Mild), 비활동성 폐결핵, 기타 (%%)."},
        {"coronary calcification without severity reads Mild",
         [](ExamInputs& e) { e.findings = Ticked({CORONARY}, DEGREE_NONE); },
         L"다른 소견: 관상동맥 석회화 (Mild)."},
        {"unticked findings write nothing, whatever their notes",
         [](ExamInputs& e) {
             e.findings = Ticked({INACTIVE_TB}, DEGREE_SEVERE);
             e.notes[CORONARY] = L"Severe";
             e.notes[ENDOBRONCHIAL] = L"a";
             e.notes[CONSOLIDATION] = L"b";
             e.notes[SIGNIFICANT_OTHER] = L"c";
             e.notes[OTHER_FINDING] = L"d";
         },
         L"다른 소견: 비활동성 폐결핵."},
        {"four sentences in order",
         [](ExamInputs& e) {
             e.findings = Ticked({ENDOBRONCHIAL, CONSOLIDATION, ANEURYSM, INACTIVE_TB});
         },
         L"기관지내 병변 있음.\r\n폐결절 외 폐암시사 소견: 폐경화.\r\n폐결절 외 의미있는 소견: 대동맥류.\r\n"
         L"다른 소견: 비활동성 폐결핵."},
    };
    const CString before = CString(BASELINE_NO_NODULES) + L"\r\n";
    const CString after = L"\r\n\r\n결론: ";
    for (const Case& c : cases) {
        ExamInputs exam;
        c.edit(exam);
        const CString report = Compose(exam, {});
        ASSERT_EQ(report.compare(0, before.size(), before), 0) << c.name;
        const std::size_t end = report.find(after);
        ASSERT_NE(end, CString::npos) << c.name;
        EXPECT_EQ(report.substr(before.size(), end - before.size()), c.expected) << c.name;
    }
}

TEST(ReportComposer, CommentsAndBlankLines) {
    struct Case {
        const char* name;
        bool bInactiveTuberculosis;
        const wchar_t* comments;
        CString expected;
    };
    const Case cases[] = {
        {"nothing else: one blank line before the conclusion", false, L"",
         CString(BASELINE_NO_NODULES) + L"\r\n" + ConclusionOf(L"1")},
        {"white-space comments add no block", false, L" \r\n\t ",
         CString(BASELINE_NO_NODULES) + L"\r\n" + ConclusionOf(L"1")},
        {"comments without findings follow two blank lines", false, L"메모",
         CString(BASELINE_NO_NODULES) + L"\r\n\r\n추가 내용: \r\n메모" + CONCLUSION_1},
        {"comments after a finding follow one blank line", true, L"메모",
         CString(BASELINE_NO_NODULES) + L"\r\n다른 소견: 비활동성 폐결핵.\r\n\r\n추가 내용: \r\n메모" + CONCLUSION_1},
        {"comments trimmed at both ends keep their inner lines", false, L"\r\n  첫째 줄\r\n\r\n  둘째 줄 %s\r\n\r\n",
         CString(BASELINE_NO_NODULES) + L"\r\n\r\n추가 내용: \r\n첫째 줄\r\n\r\n  둘째 줄 %s" + CONCLUSION_1},
    };
    for (const Case& c : cases) {
        ExamInputs exam;
        exam.findings.ticked[INACTIVE_TB] = c.bInactiveTuberculosis;
        exam.strComments = c.comments;
        exam.strFinalCategory = L"1";
        EXPECT_EQ(Compose(exam, {}), c.expected) << c.name;
    }
}

TEST(ReportComposer, RowWithoutRecordIsSkipped) {
    const CNoduleItem nodule = PlainNodule();
    const CNoduleItem* const rows[] = {nullptr, &nodule, nullptr};
    const std::vector<CString> lines = NoduleLines(ComposeReport(ExamInputs{}, rows));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], L"우상엽(#23), 5.5 mm 고형 결절 있음, 범주: 2");
}

TEST(ReportComposer, LabelWithNote) {
    EXPECT_EQ(LabelWithNote(L"기타", L""), L"기타");
    EXPECT_EQ(LabelWithNote(L"기타", L"a (b) %s"), L"기타 (a (b) %s)");
}

// Ten thousand nodules: every line present, most severe and largest first, nothing trailing.
TEST(ReportComposer, ManyNodules) {
    constexpr int COUNT = 10000;
    std::vector<CNoduleItem> nodules(COUNT);
    for (int i = 0; i < COUNT; ++i) {
        nodules[i].m_nCategory = i % 9;
        nodules[i].m_dLongAxis = nodules[i].m_dShortAxis = Typed(1.0 + i * 0.01);
        nodules[i].m_nLobe = LOBE_RUL;
        nodules[i].m_nImageNo = i;
    }
    const CString report = Compose(ExamInputs{}, nodules);
    const std::vector<CString> lines = NoduleLines(report);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(COUNT));
    EXPECT_EQ(lines.front(), L"우상엽(#9998), 101.0 mm 고형 결절 있음, 범주: 4X");
    EXPECT_EQ(lines.back(), L"우상엽(#0), 1.0 mm 고형 결절 있음, 범주: 0");
    EXPECT_FALSE(std::iswspace(static_cast<std::wint_t>(report.back())));
}
