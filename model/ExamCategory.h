#pragma once
#include <span>

#include "NoduleItem.h"
#include "base/WideString.h"

// Check states of the form's exam findings (true = ticked) and the severity combo.
struct ExamFindings {
    bool bEndobronchial = false;          // 1018
    bool bConsolidation = false;          // 1020
    bool bAtelectasis = false;            // 1022
    bool bLymphadenopathy = false;        // 1021
    bool bSuggestiveOther = false;        // 1023
    bool bCoronaryCalcification = false;  // 1033
    int nCoronarySeverity = -1;           // 1034: 0 Mild, 1 Moderate, 2 Severe, -1 none
    bool bEmphysema = false;              // 1032
    bool bInterstitial = false;           // 1031
    bool bPneumonia = false;              // 1030
    bool bExtrapulmonary = false;         // 1041
    bool bAneurysm = false;               // 1035
    bool bEffusion = false;               // 1042
    bool bSignificantOther = false;       // 1036
    bool bInactiveTuberculosis = false;   // 1029
    bool bOtherFinding = false;           // 1043
};

// The findings that change the final category, in the form's order, with the
// captions of their check boxes.
enum FindingRole { SUGGESTS_LUNG_CANCER, SIGNIFICANT_FINDING };
struct FindingRule {
    FindingRole role;
    bool ExamFindings::*flag;
    const wchar_t* name;
    bool bNeedsModerateSeverity;  // counts only from a severity of Moderate
};
std::span<const FindingRule> FindingRules();
bool IsTicked(const FindingRule& rule, const ExamFindings& findings);

// How the final category came about, step by step.
struct ExamCategoryDerivation {
    int nNoduleCategory = CAT_1;        // the most severe nodule; 1 without nodules
    bool bEndobronchialRaised = false;  // the endobronchial lesion raised it to 4A
    bool bSuggestsLungCancer = false;   // a finding suggesting lung cancer made it 4X
    bool bSignificantFinding = false;   // the modifier S
    int nCategory = CAT_1;
};
ExamCategoryDerivation DeriveExamCategory(std::span<const int> noduleCategories, const ExamFindings& findings);

// The final category text shown in 1037: the category label, then "S" when a
// significant finding other than lung cancer is ticked.
CString FinalCategoryText(std::span<const int> noduleCategories, const ExamFindings& findings);
