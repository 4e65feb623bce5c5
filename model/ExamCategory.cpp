#include "ExamCategory.h"

#include <algorithm>

#include "Labels.h"
#include "NoduleItem.h"

namespace {

int WorstNoduleCategory(std::span<const int> noduleCategories) {
    if (noduleCategories.empty()) {
        return CAT_1;
    }
    return *std::max_element(noduleCategories.begin(), noduleCategories.end());
}

bool SuggestsLungCancer(const ExamFindings& f) {
    return f.bConsolidation || f.bAtelectasis || f.bLymphadenopathy || f.bSuggestiveOther;
}

// Mild coronary calcification, or one without a severity, is not significant.
bool HasSignificantFinding(const ExamFindings& f) {
    return (f.bCoronaryCalcification && f.nCoronarySeverity >= 1) || f.bEmphysema || f.bInterstitial ||
           f.bPneumonia || f.bExtrapulmonary || f.bAneurysm || f.bEffusion || f.bSignificantOther;
}

}  // namespace

CString FinalCategoryText(std::span<const int> noduleCategories, const ExamFindings& findings) {
    int nCategory = WorstNoduleCategory(noduleCategories);
    if (findings.bEndobronchial) {
        nCategory = std::max<int>(nCategory, CAT_4A);
    }
    if (SuggestsLungCancer(findings)) {
        nCategory = CAT_4X;
    }
    CString text = CategoryText(nCategory);
    if (HasSignificantFinding(findings)) {
        text += L'S';
    }
    return text;
}
