#pragma once
#include <iterator>

#include "model/NoduleFeatures.h"
#include "res/resource.h"

// Each nodule feature's check box on the form, in the catalogue's order.
struct FeatureBox {
    bool CNoduleItem::*flag;
    int nIDC;
};

inline constexpr FeatureBox FEATURE_BOXES[] = {
    {&CNoduleItem::m_bLikelyBenign, IDC_LIKELY_BENIGN},
    {&CNoduleItem::m_bPerifissural, IDC_PERIFISSURAL},
    {&CNoduleItem::m_bCalcification, IDC_CALCIFICATION},
    {&CNoduleItem::m_bFat, IDC_FAT},
    {&CNoduleItem::m_bSpiculation, IDC_SPICULATION},
    {&CNoduleItem::m_bCavity, IDC_CAVITY},
    {&CNoduleItem::m_bOther, IDC_OTHER},
};

constexpr bool EveryFeatureHasItsBox() {
    if (std::size(FEATURE_BOXES) != std::size(NODULE_FEATURES)) return false;
    for (size_t n = 0; n < std::size(FEATURE_BOXES); ++n)
        if (FEATURE_BOXES[n].flag != NODULE_FEATURES[n].flag) return false;
    return true;
}
static_assert(EveryFeatureHasItsBox(), "every nodule feature has its check box, in the catalogue's order");

// The catalogue's feature that a box of the table stands for.
inline const NoduleFeature& FeatureOf(const FeatureBox& box) { return NODULE_FEATURES[&box - FEATURE_BOXES]; }

// The table's row of a feature's check box; null for another control.
inline const FeatureBox* FindFeatureBox(int nIDC) {
    for (const FeatureBox& box : FEATURE_BOXES)
        if (box.nIDC == nIDC) return &box;
    return nullptr;
}
