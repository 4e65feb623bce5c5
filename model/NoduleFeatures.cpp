#include "NoduleFeatures.h"

#include <algorithm>

#include "Labels.h"

const NoduleFeature& FeatureWithFlag(bool CNoduleItem::*flag) {
    return *std::ranges::find(NODULE_FEATURES, flag, &NoduleFeature::flag);
}

// Both axes below the limit: an axis that is not a number proves no small nodule.
bool IsPerifissuralSize(const CNoduleItem& item) {
    return item.m_nType == NODULE_SOLID && item.m_dLongAxis < PERIFISSURAL_MAX_MM &&
           item.m_dShortAxis < PERIFISSURAL_MAX_MM;
}

bool IsOffered(const CNoduleItem& item, const NoduleFeature& feature) {
    switch (feature.offer) {
    case FeatureOffer::ALWAYS: return true;
    case FeatureOffer::SMALL_SOLID: return IsPerifissuralSize(item) && !item.m_bLikelyBenign;
    case FeatureOffer::FROM_2B: return item.m_nCategory >= CAT_2B;
    case FeatureOffer::FROM_3: return item.m_nCategory >= CAT_3;
    }
    return false;
}

bool IsShownTicked(const CNoduleItem& item, const NoduleFeature& feature) {
    return item.*feature.flag && IsOffered(item, feature);
}

CString ReportWord(const CNoduleItem& item, const NoduleFeature& feature) {
    return feature.bNamedByReader ? OtherFeatureText(item.m_strOther) : CString(feature.reportWord);
}

CString TipWord(const CNoduleItem& item, const NoduleFeature& feature) {
    return feature.bNamedByReader ? OtherFeatureText(item.m_strOther) : CString(feature.tipWord);
}
