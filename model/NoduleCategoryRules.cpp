#include "CategoryDerivation.h"
#include "NoduleFeatures.h"

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

// Walks the rows of the nodule's type and follow-up status: a row passed over
// leaves a lower bound on its size, the row that applies sets the upper one.
Outcome ApplySizeRule(const CNoduleItem& item, CategoryDerivation& derivation) {
    const int nMeanTenths = MeanDiameterTenths(item.m_dLongAxis, item.m_dShortAxis);
    const int nSolidMeanTenths = MeanDiameterTenths(item.m_dSolidLongAxis, item.m_dSolidShortAxis);
    for (const SizeRule& rule : SIZE_RULES) {
        if (rule.nType != item.m_nType || rule.nFollowUp != item.m_nFollowUp) continue;
        derivation.bSizeRuleFound = true;
        if (rule.key == ANY_SIZE) return rule.outcome;
        SizeBand& band = rule.key == SOLID_MEAN ? derivation.solidMean : derivation.mean;
        const int nSize = rule.key == SOLID_MEAN ? nSolidMeanTenths : nMeanTenths;
        if (nSize < rule.nBelowTenths) {
            band.nBelow = rule.nBelowTenths;
            return rule.outcome;
        }
        band.nFrom = rule.nBelowTenths;
    }
    return OUT_0;
}

// Whether any feature that takes part in the step is flagged, ticked or kept.
bool HasFeatureOf(const CNoduleItem& item, CategoryOverride step) {
    for (const NoduleFeature& feature : NODULE_FEATURES)
        if (feature.rule == step && item.*feature.flag) return true;
    return false;
}

void Apply(CategoryDerivation& derivation, CategoryOverride reason, int nCategory) {
    derivation.steps[static_cast<size_t>(derivation.nSteps++)] = {reason, nCategory};
    derivation.nCategory = nCategory;
}

}  // namespace

CategoryDerivation DeriveCategory(const CNoduleItem& item) {
    CategoryDerivation derivation;
    const Outcome outcome = ApplySizeRule(item, derivation);
    derivation.nSizeCategory = derivation.nCategory = OutcomeCategory(outcome, false);

    // Benign features decide alone: no 4X feature and no override can change them.
    if (HasFeatureOf(item, OVERRIDE_BENIGN)) {
        Apply(derivation, OVERRIDE_BENIGN, CAT_1);
        return derivation;
    }
    const int nWithFeatures = OutcomeCategory(outcome, HasFeatureOf(item, OVERRIDE_4X_FEATURES));
    if (nWithFeatures != derivation.nCategory) Apply(derivation, OVERRIDE_4X_FEATURES, nWithFeatures);

    if (derivation.nCategory >= CAT_3 && HasFeatureOf(item, OVERRIDE_LIKELY_BENIGN)) {
        Apply(derivation, OVERRIDE_LIKELY_BENIGN, CAT_2B);
        return derivation;
    }
    // Both axes below the limit is the larger axis below it; an axis that is
    // not a number proves no small nodule.
    const bool bSmallPerifissural = HasFeatureOf(item, OVERRIDE_PERIFISSURAL) &&
                                    item.m_dLongAxis < PERIFISSURAL_LIMIT_MM && item.m_dShortAxis < PERIFISSURAL_LIMIT_MM;
    if (bSmallPerifissural && derivation.nCategory != CAT_2) Apply(derivation, OVERRIDE_PERIFISSURAL, CAT_2);
    return derivation;
}

void CNoduleItem::UpdateCategory() { m_nCategory = DeriveCategory(*this).nCategory; }
