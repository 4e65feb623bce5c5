#pragma once
#include <span>

#include "CategoryDerivation.h"
#include "NoduleItem.h"
#include "base/WideString.h"

// The perifissural flag is offered and kept only below this larger diameter.
inline constexpr double PERIFISSURAL_MAX_MM = 9.999;

// When the form offers a feature's box for a nodule.
enum class FeatureOffer {
    ALWAYS,       // benign features decide at any size and category
    SMALL_SOLID,  // a solid nodule below PERIFISSURAL_MAX_MM that is not marked likely benign
    FROM_2B,      // a category of 2b or above
    FROM_3,       // a category of 3 or above, which the feature makes 4X
};

// One descriptive feature of a nodule: its flag, its words, the step of the
// category rules it takes part in and when its box is offered.
struct NoduleFeature {
    bool CNoduleItem::*flag;
    const wchar_t* reportWord;  // in the report's nodule line
    const wchar_t* tipWord;     // in the row's tip
    bool bNamedByReader;        // the reader's text names it (OtherFeatureText) in both places
    CategoryOverride rule;
    FeatureOffer offer;
};

// Every feature, in the order the report's nodule line names them.
inline constexpr NoduleFeature NODULE_FEATURES[] = {
    {&CNoduleItem::m_bLikelyBenign, L"양성가능성 높음", L"양성 가능성 높음 (2b)", false, OVERRIDE_LIKELY_BENIGN,
     FeatureOffer::FROM_2B},
    {&CNoduleItem::m_bPerifissural, L"흉막주변결절", L"흉막주변결절", false, OVERRIDE_PERIFISSURAL,
     FeatureOffer::SMALL_SOLID},
    {&CNoduleItem::m_bCalcification, L"석회화", L"양성 석회화", false, OVERRIDE_BENIGN, FeatureOffer::ALWAYS},
    {&CNoduleItem::m_bFat, L"지방", L"지방", false, OVERRIDE_BENIGN, FeatureOffer::ALWAYS},
    {&CNoduleItem::m_bSpiculation, L"침상", L"침상결절", false, OVERRIDE_4X_FEATURES, FeatureOffer::FROM_3},
    {&CNoduleItem::m_bCavity, L"공동", L"공동", false, OVERRIDE_4X_FEATURES, FeatureOffer::FROM_3},
    {&CNoduleItem::m_bOther, nullptr, nullptr, true, OVERRIDE_4X_FEATURES, FeatureOffer::FROM_3},
};

// The catalogue's row of a flag; the flag must be one of the catalogue's.
const NoduleFeature& FeatureWithFlag(bool CNoduleItem::*flag);
// Whether the nodule's size and type let it keep the perifissural flag at all.
bool IsPerifissuralSize(const CNoduleItem& item);
bool IsOffered(const CNoduleItem& item, const NoduleFeature& feature);
// The box as the form shows it: offered and stored. A flag kept while its box is
// not offered comes back with the box; until then nothing names it.
bool IsShownTicked(const CNoduleItem& item, const NoduleFeature& feature);
CString ReportWord(const CNoduleItem& item, const NoduleFeature& feature);
CString TipWord(const CNoduleItem& item, const NoduleFeature& feature);
