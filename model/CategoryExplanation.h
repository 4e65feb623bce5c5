#pragma once
// Short Korean explanations of how a category came about, for the form's
// tooltips: written from the same derivations that compute the categories.
#include <span>

#include "ExamCategory.h"
#include "NoduleItem.h"

// "고형 결절, 처음CT: 평균 7.0 mm (6 mm 이상 8 mm 미만) → 3", then "침상결절 → 4X"
// on the next line: the size rule that applied, then one line for each override
// that changed the result. On a follow-up CT a nodule without a status says so.
CString ExplainNoduleCategory(const CNoduleItem& item, bool bBaselineCt);

// One line per step: the nodules that carry the highest category (numbered by
// row from 1, with their lobes), then the findings that raised it or added S.
CString ExplainFinalCategory(std::span<const CNoduleItem* const> nodules, const ExamFindings& findings);
