#pragma once
#include <span>

#include "ExamFindings.h"
#include "NoduleItem.h"
#include "base/WideString.h"

// How the final category came about, step by step.
struct ExamCategoryDerivation {
    int nNoduleCategory = CAT_1;      // the most severe nodule; 1 without nodules
    bool bRaisedTo4A = false;         // a finding raised it to 4A
    bool bSuggestsLungCancer = false; // a finding suggesting lung cancer made it 4X
    bool bSignificantFinding = false; // the modifier S
    int nCategory = CAT_1;
};
ExamCategoryDerivation DeriveExamCategory(std::span<const int> noduleCategories, const ExamFindings& findings);

// The final category text: the category label, then "S" when a significant
// finding other than lung cancer is ticked.
CString FinalCategoryText(std::span<const int> noduleCategories, const ExamFindings& findings);
