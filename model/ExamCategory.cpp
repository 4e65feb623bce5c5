#include "ExamCategory.h"

#include <algorithm>

#include "Labels.h"

namespace {

constexpr int MODERATE_SEVERITY = 1;  // 1034: 0 Mild, 1 Moderate, 2 Severe

const FindingRule FINDING_RULES[] = {
    {SUGGESTS_LUNG_CANCER, &ExamFindings::bConsolidation, L"폐경화", false},
    {SUGGESTS_LUNG_CANCER, &ExamFindings::bAtelectasis, L"무기폐", false},
    {SUGGESTS_LUNG_CANCER, &ExamFindings::bLymphadenopathy, L"림프절 비대", false},
    {SUGGESTS_LUNG_CANCER, &ExamFindings::bSuggestiveOther, L"기타", false},
    // Mild coronary calcification, or one without a severity, is not significant.
    {SIGNIFICANT_FINDING, &ExamFindings::bCoronaryCalcification, L"관상동맥 석회화", true},
    {SIGNIFICANT_FINDING, &ExamFindings::bEmphysema, L"폐기종 (중등도 이상)", false},
    {SIGNIFICANT_FINDING, &ExamFindings::bInterstitial, L"간질성 폐이상", false},
    {SIGNIFICANT_FINDING, &ExamFindings::bPneumonia, L"폐렴 및 활동성 폐결핵", false},
    {SIGNIFICANT_FINDING, &ExamFindings::bExtrapulmonary, L"폐외악성물", false},
    {SIGNIFICANT_FINDING, &ExamFindings::bAneurysm, L"대동맥류 (≥4.5cm)", false},
    {SIGNIFICANT_FINDING, &ExamFindings::bEffusion, L"다량의 흉수 또는 심낭 삼출", false},
    {SIGNIFICANT_FINDING, &ExamFindings::bSignificantOther, L"기타", false},
};

int WorstNoduleCategory(std::span<const int> noduleCategories) {
    if (noduleCategories.empty()) {
        return CAT_1;
    }
    return *std::max_element(noduleCategories.begin(), noduleCategories.end());
}

bool AnyTicked(FindingRole role, const ExamFindings& findings) {
    return std::ranges::any_of(FINDING_RULES,
                               [&](const FindingRule& rule) { return rule.role == role && IsTicked(rule, findings); });
}

}  // namespace

std::span<const FindingRule> FindingRules() { return FINDING_RULES; }

bool IsTicked(const FindingRule& rule, const ExamFindings& findings) {
    return findings.*rule.flag && (!rule.bNeedsModerateSeverity || findings.nCoronarySeverity >= MODERATE_SEVERITY);
}

ExamCategoryDerivation DeriveExamCategory(std::span<const int> noduleCategories, const ExamFindings& findings) {
    ExamCategoryDerivation derivation;
    derivation.nNoduleCategory = derivation.nCategory = WorstNoduleCategory(noduleCategories);
    if (findings.bEndobronchial && derivation.nCategory < CAT_4A) {
        derivation.bEndobronchialRaised = true;
        derivation.nCategory = CAT_4A;
    }
    if (AnyTicked(SUGGESTS_LUNG_CANCER, findings)) {
        derivation.bSuggestsLungCancer = true;
        derivation.nCategory = CAT_4X;
    }
    derivation.bSignificantFinding = AnyTicked(SIGNIFICANT_FINDING, findings);
    return derivation;
}

CString FinalCategoryText(std::span<const int> noduleCategories, const ExamFindings& findings) {
    const ExamCategoryDerivation derivation = DeriveExamCategory(noduleCategories, findings);
    CString text = CategoryText(derivation.nCategory);
    if (derivation.bSignificantFinding) {
        text += L'S';
    }
    return text;
}
