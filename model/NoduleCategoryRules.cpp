#include "NoduleItem.h"

namespace {

// Which size a row of the decision table compares.
enum SizeKey { ANY_SIZE, MEAN, SOLID_MEAN };

// The outcome of a row: 3, 4A and 4B become 4X when the nodule has 4X features.
enum Outcome { OUT_0, OUT_2, OUT_3, OUT_4A, OUT_4B };

struct SizeRule {
    int nType;
    int nFollowUp;
    SizeKey key;
    int nBelowTenths;  // the row applies when the key is below this
    Outcome outcome;
};

// Within one type and follow-up status the first row that applies wins, so a
// row's lower bound is the upper bound of the row before it.
const SizeRule SIZE_RULES[] = {
    {NODULE_SOLID, FOLLOWUP_BASELINE, MEAN, 60, OUT_2},
    {NODULE_SOLID, FOLLOWUP_BASELINE, MEAN, 80, OUT_3},
    {NODULE_SOLID, FOLLOWUP_BASELINE, MEAN, 150, OUT_4A},
    {NODULE_SOLID, FOLLOWUP_BASELINE, ANY_SIZE, 0, OUT_4B},
    {NODULE_SOLID, FOLLOWUP_NEW, MEAN, 40, OUT_2},
    {NODULE_SOLID, FOLLOWUP_NEW, MEAN, 60, OUT_3},
    {NODULE_SOLID, FOLLOWUP_NEW, MEAN, 80, OUT_4A},
    {NODULE_SOLID, FOLLOWUP_NEW, ANY_SIZE, 0, OUT_4B},
    {NODULE_SOLID, FOLLOWUP_GROWING, MEAN, 80, OUT_4A},
    {NODULE_SOLID, FOLLOWUP_GROWING, ANY_SIZE, 0, OUT_4B},
    {NODULE_SOLID, FOLLOWUP_STABLE, ANY_SIZE, 0, OUT_2},
    {NODULE_PART_SOLID, FOLLOWUP_BASELINE, MEAN, 60, OUT_2},
    {NODULE_PART_SOLID, FOLLOWUP_BASELINE, SOLID_MEAN, 60, OUT_3},
    {NODULE_PART_SOLID, FOLLOWUP_BASELINE, SOLID_MEAN, 80, OUT_4A},
    {NODULE_PART_SOLID, FOLLOWUP_BASELINE, ANY_SIZE, 0, OUT_4B},
    {NODULE_PART_SOLID, FOLLOWUP_NEW, MEAN, 60, OUT_3},
    {NODULE_PART_SOLID, FOLLOWUP_NEW, SOLID_MEAN, 40, OUT_4A},
    {NODULE_PART_SOLID, FOLLOWUP_NEW, ANY_SIZE, 0, OUT_4B},
    {NODULE_PART_SOLID, FOLLOWUP_GROWING, SOLID_MEAN, 40, OUT_4A},
    {NODULE_PART_SOLID, FOLLOWUP_GROWING, ANY_SIZE, 0, OUT_4B},
    {NODULE_PART_SOLID, FOLLOWUP_STABLE, ANY_SIZE, 0, OUT_2},
    {NODULE_GROUND_GLASS, FOLLOWUP_BASELINE, MEAN, 300, OUT_2},
    {NODULE_GROUND_GLASS, FOLLOWUP_BASELINE, ANY_SIZE, 0, OUT_3},
    {NODULE_GROUND_GLASS, FOLLOWUP_NEW, MEAN, 300, OUT_2},
    {NODULE_GROUND_GLASS, FOLLOWUP_NEW, ANY_SIZE, 0, OUT_3},
    {NODULE_GROUND_GLASS, FOLLOWUP_GROWING, ANY_SIZE, 0, OUT_2},
    {NODULE_GROUND_GLASS, FOLLOWUP_STABLE, ANY_SIZE, 0, OUT_2},
};

// The perifissural override applies only below this larger axis.
constexpr double PERIFISSURAL_LIMIT_MM = 10.0;

Outcome SizeOutcome(int nType, int nFollowUp, int nMeanTenths, int nSolidMeanTenths) {
    for (const SizeRule& rule : SIZE_RULES) {
        if (rule.nType != nType || rule.nFollowUp != nFollowUp) {
            continue;
        }
        const int nSize = rule.key == SOLID_MEAN ? nSolidMeanTenths : nMeanTenths;
        if (rule.key == ANY_SIZE || nSize < rule.nBelowTenths) {
            return rule.outcome;
        }
    }
    return OUT_0;
}

int OutcomeCategory(Outcome outcome, bool bHas4XFeatures) {
    switch (outcome) {
    case OUT_0: return CAT_0;
    case OUT_2: return CAT_2;
    case OUT_3: return bHas4XFeatures ? CAT_4X : CAT_3;
    case OUT_4A: return bHas4XFeatures ? CAT_4X : CAT_4A;
    case OUT_4B: return bHas4XFeatures ? CAT_4X : CAT_4B;
    }
    return CAT_0;
}

}  // namespace

void CNoduleItem::UpdateCategory() {
    if (m_bCalcification || m_bFat) {
        m_nCategory = CAT_1;
        return;
    }
    const bool bHas4XFeatures = m_bSpiculation || m_bCavity || m_bOther;
    const int nMeanTenths = MeanDiameterTenths(m_dLongAxis, m_dShortAxis);
    const int nSolidMeanTenths = MeanDiameterTenths(m_dSolidLongAxis, m_dSolidShortAxis);
    const int nSizeCategory =
        OutcomeCategory(SizeOutcome(m_nType, m_nFollowUp, nMeanTenths, nSolidMeanTenths), bHas4XFeatures);

    if (nSizeCategory >= CAT_3 && m_bLikelyBenign) {
        m_nCategory = CAT_2B;
        return;
    }
    // Both axes below the limit is the larger axis below it; an axis that is
    // not a number proves no small nodule.
    if (m_bPerifissural && m_dLongAxis < PERIFISSURAL_LIMIT_MM && m_dShortAxis < PERIFISSURAL_LIMIT_MM) {
        m_nCategory = CAT_2;
        return;
    }
    m_nCategory = nSizeCategory;
}
