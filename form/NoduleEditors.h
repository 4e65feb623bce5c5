#pragma once
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

// The catalogue's feature that a box of the table stands for.
inline const NoduleFeature& FeatureOf(const FeatureBox& box) { return NODULE_FEATURES[&box - FEATURE_BOXES]; }
