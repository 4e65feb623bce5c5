#include "ExamCategory.h"

#include <algorithm>

#include "Labels.h"

namespace {

int WorstNoduleCategory(std::span<const int> noduleCategories) {
    if (noduleCategories.empty()) {
        return CAT_1;
    }
    return *std::max_element(noduleCategories.begin(), noduleCategories.end());
}

bool AnyTakes(FindingRole role, const ExamFindings& findings) {
    for (size_t nRow = 0; nRow < EXAM_FINDING_COUNT; ++nRow) {
        if (TakesRole(findings, nRow, role)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool TakesRole(const ExamFindings& findings, size_t nRow, FindingRole role) {
    if (!findings.ticked[nRow]) {
        return false;
    }
    const ExamFinding& finding = EXAM_FINDINGS[nRow];
    // Mild coronary calcification, or one without a degree, is not significant.
    const bool bBelowItsDegree = finding.bGraded && findings.coronaryDegree < DEGREE_MODERATE;
    return (bBelowItsDegree ? FindingRole::OTHER : finding.role) == role;
}

ExamCategoryDerivation DeriveExamCategory(std::span<const int> noduleCategories, const ExamFindings& findings) {
    ExamCategoryDerivation derivation;
    derivation.nNoduleCategory = derivation.nCategory = WorstNoduleCategory(noduleCategories);
    if (AnyTakes(FindingRole::RAISES_TO_4A, findings) && derivation.nCategory < CAT_4A) {
        derivation.bRaisedTo4A = true;
        derivation.nCategory = CAT_4A;
    }
    if (AnyTakes(FindingRole::SUGGESTS_LUNG_CANCER, findings)) {
        derivation.bSuggestsLungCancer = true;
        derivation.nCategory = CAT_4X;
    }
    derivation.bSignificantFinding = AnyTakes(FindingRole::SIGNIFICANT, findings);
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
