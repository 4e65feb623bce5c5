#pragma once
#include <span>

#include "WideString.h"

// Check states of the form's exam findings (true = ticked) and the severity combo.
struct ExamFindings {
    bool bEndobronchial = false;     // 1018
    bool bConsolidation = false;     // 1020
    bool bAtelectasis = false;       // 1022
    bool bLymphadenopathy = false;   // 1021
    bool bSuggestiveOther = false;   // 1023
    bool bCoronaryCalcification = false;  // 1033
    int nCoronarySeverity = -1;      // 1034: 0 Mild, 1 Moderate, 2 Severe, -1 none
    bool bEmphysema = false;         // 1032
    bool bInterstitial = false;      // 1031
    bool bPneumonia = false;         // 1030
    bool bExtrapulmonary = false;    // 1041
    bool bAneurysm = false;          // 1035
    bool bEffusion = false;          // 1042
    bool bSignificantOther = false;  // 1036
    bool bInactiveTuberculosis = false;  // 1029
    bool bOtherFinding = false;          // 1043
};

// The final category text shown in 1037: the category label, then "S" when a
// significant finding other than lung cancer is ticked.
CString FinalCategoryText(std::span<const int> noduleCategories, const ExamFindings& findings);
