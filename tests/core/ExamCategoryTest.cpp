#include <gtest/gtest.h>

#include <vector>

#include "FindingRows.h"
#include "model/CategoryExplanation.h"
#include "model/ExamCategory.h"
#include "model/NoduleItem.h"

TEST(ExamCategory, FinalCategoryText) {
    struct Case {
        const char* name;
        std::vector<int> categories;
        ExamFindings findings;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"empty list is 1", {}, {}, L"1"},
        {"empty list with consolidation is 4X", {}, Ticked({CONSOLIDATION}), L"4X"},
        {"empty list with endobronchial lesion is 4A", {}, Ticked({ENDOBRONCHIAL}), L"4A"},
        {"most severe nodule wins", {CAT_2, CAT_4A}, {}, L"4A"},
        {"3 is more severe than 2b", {CAT_2B, CAT_3}, {}, L"3"},
        {"a single 0 is 0", {CAT_0}, {}, L"0"},
        {"0 and 2 is 2", {CAT_0, CAT_2}, {}, L"2"},
        {"4 is below 4A", {CAT_4, CAT_4A, CAT_3}, {}, L"4A"},
        {"endobronchial lesion raises 2 to 4A", {CAT_2}, Ticked({ENDOBRONCHIAL}), L"4A"},
        {"endobronchial lesion raises 3 to 4A", {CAT_3}, Ticked({ENDOBRONCHIAL}), L"4A"},
        {"endobronchial lesion keeps 4B", {CAT_4B}, Ticked({ENDOBRONCHIAL}), L"4B"},
        {"atelectasis makes 4X over 4B", {CAT_4B}, Ticked({ATELECTASIS}), L"4X"},
        {"lymphadenopathy makes 4X over 2", {CAT_2}, Ticked({LYMPHADENOPATHY}), L"4X"},
        {"other suggestive finding makes 4X over endobronchial",
         {CAT_1},
         Ticked({ENDOBRONCHIAL, SUGGESTIVE_OTHER}),
         L"4X"},
        {"coronary calcification without severity adds no S",
         {CAT_2},
         Ticked({CORONARY}, DEGREE_NONE),
         L"2"},
        {"mild coronary calcification adds no S",
         {CAT_2},
         Ticked({CORONARY}, DEGREE_MILD),
         L"2"},
        {"moderate coronary calcification adds S",
         {CAT_2},
         Ticked({CORONARY}, DEGREE_MODERATE),
         L"2S"},
        {"severe coronary calcification adds S",
         {CAT_4A},
         Ticked({CORONARY}, DEGREE_SEVERE),
         L"4AS"},
        {"severity without its check box adds no S", {CAT_2}, Ticked({}, DEGREE_SEVERE), L"2"},
        {"emphysema adds S", {CAT_2B}, Ticked({EMPHYSEMA}), L"2bS"},
        {"interstitial abnormality adds S", {}, Ticked({INTERSTITIAL}), L"1S"},
        {"pneumonia adds S", {CAT_0}, Ticked({PNEUMONIA}), L"0S"},
        {"extrapulmonary malignancy adds S", {CAT_3}, Ticked({EXTRAPULMONARY}), L"3S"},
        {"aneurysm adds S", {CAT_2}, Ticked({ANEURYSM}), L"2S"},
        {"effusion adds S", {CAT_2}, Ticked({EFFUSION}), L"2S"},
        {"other significant finding adds S", {CAT_4X}, Ticked({SIGNIFICANT_OTHER}), L"4XS"},
        {"two significant findings add one S", {CAT_2}, Ticked({EMPHYSEMA, EFFUSION}), L"2S"},
        {"S follows a 4X from findings", {}, Ticked({CONSOLIDATION, ANEURYSM}), L"4XS"},
        {"other findings change nothing", {CAT_2}, Ticked({INACTIVE_TB, OTHER_FINDING}), L"2"},
        {"category outside the table has an empty label", {CAT_2, 12}, {}, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FinalCategoryText(c.categories, c.findings), c.expected) << c.name;
    }
}

TEST(ExamCategory, FinalCategoryExplanation) {
    struct Nodule {
        int nCategory;
        int nLobe;
    };
    struct Case {
        const char* name;
        std::vector<Nodule> nodules;
        ExamFindings findings;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"no nodules", {}, Ticked({CORONARY}, DEGREE_MILD), L"결절 없음 → 1"},
        {"the nodules in the highest category, by row and lobe, where the lesion raises nothing",
         {{CAT_2, LOBE_RUL}, {CAT_4A, LOBE_LLL}, {CAT_3, LOBE_RML}, {CAT_4A, LOBE_NONE}},
         Ticked({ENDOBRONCHIAL}),
         L"2번 결절 (좌하엽), 4번 결절 (위치 미입력) → 4A"},
        {"beyond three nodules the rest are counted",
         {{CAT_2, LOBE_RUL},
          {CAT_2, LOBE_RML},
          {CAT_0, LOBE_RLL},
          {CAT_2, LOBE_LUL},
          {CAT_2, LOBE_LLL},
          {CAT_2, LOBE_RUL}},
         {},
         L"1번 결절 (우상엽), 2번 결절 (우중엽), 4번 결절 (좌상엽) 외 2개 → 2"},
        {"every step that changed it, then the findings behind S",
         {{CAT_3, LOBE_RLL}},
         Ticked({ENDOBRONCHIAL, CONSOLIDATION, SUGGESTIVE_OTHER, CORONARY, EFFUSION, INACTIVE_TB}, DEGREE_MODERATE),
         L"1번 결절 (우하엽) → 3\r\n기관지내 병변 → 4A\r\n폐결절 외 폐암시사 소견: 폐경화, 기타 → 4X\r\n"
         L"폐결절 외 의미있는 소견: 관상동맥 석회화 (Moderate), 다량의 흉수 또는 심낭 삼출 → S"},
        {"a severe coronary calcification names its degree",
         {},
         Ticked({CORONARY}, DEGREE_SEVERE),
         L"결절 없음 → 1\r\n폐결절 외 의미있는 소견: 관상동맥 석회화 (Severe) → S"},
    };
    for (const Case& c : cases) {
        std::vector<CNoduleItem> items(c.nodules.size());
        std::vector<const CNoduleItem*> nodules;
        for (size_t n = 0; n < items.size(); ++n) {
            items[n].m_nCategory = c.nodules[n].nCategory;
            items[n].m_nLobe = c.nodules[n].nLobe;
            nodules.push_back(&items[n]);
        }
        EXPECT_EQ(ExplainFinalCategory(nodules, c.findings), c.expected) << c.name;
    }
}
