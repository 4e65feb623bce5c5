#pragma once
#include <array>
#include <optional>

#include "NoduleItem.h"

// The larger axis below which a perifissural nodule is category 2.
inline constexpr double PERIFISSURAL_LIMIT_MM = 10.0;

// What the applied row of the decision table required of one size, in whole
// tenths of a millimetre: at least nFrom and below nBelow; an absent bound is open.
struct SizeBand {
    std::optional<int> nFrom;
    std::optional<int> nBelow;
};

// The steps after the size rule that may change a nodule's category.
enum CategoryOverride {
    OVERRIDE_BENIGN,         // calcification or fat: 1
    OVERRIDE_4X_FEATURES,    // spiculation, cavity or other: 3, 4A and 4B become 4X
    OVERRIDE_LIKELY_BENIGN,  // 3 or above becomes 2b
    OVERRIDE_PERIFISSURAL,   // larger axis below PERIFISSURAL_LIMIT_MM: 2
    OVERRIDE_COUNT,
};

struct CategoryStep {
    CategoryOverride reason;
    int nCategory;  // the category after this step
};

// How the rules reached a nodule's category: the size rule that applied, then
// every override that changed the result, in the order the rules apply them.
struct CategoryDerivation {
    bool bSizeRuleFound = false;                       // false: the type and follow-up status have no row, so 0
    SizeBand mean;                                     // what the applied row required of the mean diameter
    SizeBand solidMean;                                // and of the solid part's mean diameter
    int nSizeCategory = CAT_0;                         // what size and behaviour alone gave
    std::array<CategoryStep, OVERRIDE_COUNT> steps{};  // each kind changes it at most once
    int nSteps = 0;
    int nCategory = CAT_0;  // the nodule's category: UpdateCategory stores it
};

CategoryDerivation DeriveCategory(const CNoduleItem& item);
