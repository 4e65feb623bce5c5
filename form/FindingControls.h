#pragma once
#include <iterator>

#include "model/ExamFindings.h"
#include "res/resource.h"

// Each exam finding's check box and the control that describes it, offered
// while the box is ticked (its note, or the coronary calcification's degree;
// 0: none), in the catalogue's order.
struct FindingControls {
    int nCheckBox;
    int nDetail;
};

inline constexpr FindingControls FINDING_CONTROLS[] = {
    {IDC_ENDOBRONCHIAL, IDC_ENDOBRONCHIAL_NOTE},
    {IDC_CONSOLIDATION, IDC_CONSOLIDATION_NOTE},
    {IDC_ATELECTASIS, IDC_ATELECTASIS_NOTE},
    {IDC_LYMPHADENOPATHY, IDC_LYMPHADENOPATHY_NOTE},
    {IDC_SUGGESTIVE_OTHER, IDC_SUGGESTIVE_OTHER_NOTE},
    {IDC_CORONARY, IDC_CORONARY_SEVERITY},
    {IDC_EMPHYSEMA, 0},
    {IDC_INTERSTITIAL, 0},
    {IDC_PNEUMONIA, 0},
    {IDC_EXTRAPULMONARY, 0},
    {IDC_ANEURYSM, 0},
    {IDC_EFFUSION, 0},
    {IDC_SIGNIFICANT_OTHER, IDC_SIGNIFICANT_OTHER_NOTE},
    {IDC_INACTIVE_TB, 0},
    {IDC_OTHER_FINDING, IDC_OTHER_FINDING_NOTE},
};

constexpr bool EveryFindingHasItsControls() {
    if (std::size(FINDING_CONTROLS) != EXAM_FINDING_COUNT) return false;
    for (size_t nRow = 0; nRow < EXAM_FINDING_COUNT; ++nRow)
        if ((FINDING_CONTROLS[nRow].nDetail != 0) != EXAM_FINDINGS[nRow].bHasNote) return false;
    return true;
}
static_assert(EveryFindingHasItsControls(), "every exam finding has its check box, and its note control where it has a note");

// The catalogue's row of a finding's check box; EXAM_FINDING_COUNT for another control.
inline size_t FindingRowOfBox(int nIDC) {
    size_t nRow = 0;
    while (nRow < EXAM_FINDING_COUNT && FINDING_CONTROLS[nRow].nCheckBox != nIDC) ++nRow;
    return nRow;
}
