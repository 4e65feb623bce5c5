#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <limits>
#include <span>
#include <vector>

#include "model/CategoryDerivation.h"
#include "model/CategoryExplanation.h"
#include "model/Labels.h"
#include "model/NoduleItem.h"

namespace {

constexpr double INF = std::numeric_limits<double>::infinity();
constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();

double Typed(double mm) { return mm + SIZE_NUDGE_MM; }

enum Flag : unsigned {
    PERIFISSURAL = 1 << 0,
    CALCIFICATION = 1 << 1,
    FAT = 1 << 2,
    LIKELY_BENIGN = 1 << 3,
    SPICULATION = 1 << 4,
    CAVITY = 1 << 5,
    OTHER = 1 << 6,
};

struct Sizes {
    double dLong;
    double dShort;
    double dSolidLong = 0.0;
    double dSolidShort = 0.0;
};

// A solid part never entered stays 0.
Sizes TypedSizes(double dLong, double dShort) { return {Typed(dLong), Typed(dShort)}; }

Sizes TypedSizes(double dLong, double dShort, double dSolidLong, double dSolidShort) {
    return {Typed(dLong), Typed(dShort), Typed(dSolidLong), Typed(dSolidShort)};
}

CNoduleItem Nodule(int nType, int nFollowUp, Sizes sizes, unsigned flags) {
    CNoduleItem nodule;
    nodule.m_nType = nType;
    nodule.m_nFollowUp = nFollowUp;
    nodule.m_dLongAxis = sizes.dLong;
    nodule.m_dShortAxis = sizes.dShort;
    nodule.m_dSolidLongAxis = sizes.dSolidLong;
    nodule.m_dSolidShortAxis = sizes.dSolidShort;
    nodule.m_bPerifissural = flags & PERIFISSURAL;
    nodule.m_bCalcification = flags & CALCIFICATION;
    nodule.m_bFat = flags & FAT;
    nodule.m_bLikelyBenign = flags & LIKELY_BENIGN;
    nodule.m_bSpiculation = flags & SPICULATION;
    nodule.m_bCavity = flags & CAVITY;
    nodule.m_bOther = flags & OTHER;
    return nodule;
}

struct CategoryCase {
    const char* name;
    int nType;
    int nFollowUp;
    Sizes sizes;
    unsigned flags;
    int nExpected;
};

const CategoryCase SIZE_CASES[] = {
    {"solid baseline D59 is 2", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(5.9, 5.9), 0, CAT_2},
    {"solid baseline 6 x 5.9 rounds up to D60: 3", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(6, 5.9), 0, CAT_3},
    {"solid baseline D79 is 3", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(7.9, 7.9), 0, CAT_3},
    {"solid baseline D80 is 4A", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(8, 7.9), 0, CAT_4A},
    {"solid baseline D149 is 4A", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(14.9, 14.9), 0, CAT_4A},
    {"solid baseline D150 is 4B", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(15, 14.9), 0, CAT_4B},
    {"solid baseline ignores solid-part sizes", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(5, 5, 20, 20), 0, CAT_2},
    {"solid baseline sizes never entered are 2", NODULE_SOLID, FOLLOWUP_BASELINE, Sizes{0, 0}, 0, CAT_2},
    {"solid new D39 is 2", NODULE_SOLID, FOLLOWUP_NEW, TypedSizes(3.9, 3.9), 0, CAT_2},
    {"solid new D40 is 3", NODULE_SOLID, FOLLOWUP_NEW, TypedSizes(4, 3.9), 0, CAT_3},
    {"solid new D59 is 3", NODULE_SOLID, FOLLOWUP_NEW, TypedSizes(5.9, 5.9), 0, CAT_3},
    {"solid new D60 is 4A", NODULE_SOLID, FOLLOWUP_NEW, TypedSizes(6, 5.9), 0, CAT_4A},
    {"solid new D79 is 4A", NODULE_SOLID, FOLLOWUP_NEW, TypedSizes(7.9, 7.9), 0, CAT_4A},
    {"solid new D80 is 4B", NODULE_SOLID, FOLLOWUP_NEW, TypedSizes(8, 7.9), 0, CAT_4B},
    {"solid growing small is 4A", NODULE_SOLID, FOLLOWUP_GROWING, TypedSizes(2, 2), 0, CAT_4A},
    {"solid growing D79 is 4A", NODULE_SOLID, FOLLOWUP_GROWING, TypedSizes(7.9, 7.9), 0, CAT_4A},
    {"solid growing D80 is 4B", NODULE_SOLID, FOLLOWUP_GROWING, TypedSizes(8, 7.9), 0, CAT_4B},
    {"solid stable is 2 whatever size and 4X features", NODULE_SOLID, FOLLOWUP_STABLE, TypedSizes(25, 25),
     SPICULATION | CAVITY | OTHER, CAT_2},
    {"part-solid baseline D59 is 2 whatever the solid part", NODULE_PART_SOLID, FOLLOWUP_BASELINE,
     TypedSizes(5.9, 5.9, 9, 9), 0, CAT_2},
    {"part-solid baseline D60 without solid part is 3", NODULE_PART_SOLID, FOLLOWUP_BASELINE, TypedSizes(6, 5.9), 0,
     CAT_3},
    {"part-solid baseline S59 is 3", NODULE_PART_SOLID, FOLLOWUP_BASELINE, TypedSizes(10, 10, 5.9, 5.9), 0, CAT_3},
    {"part-solid baseline S60 is 4A", NODULE_PART_SOLID, FOLLOWUP_BASELINE, TypedSizes(10, 10, 6, 5.9), 0, CAT_4A},
    {"part-solid baseline S79 is 4A", NODULE_PART_SOLID, FOLLOWUP_BASELINE, TypedSizes(10, 10, 7.9, 7.9), 0, CAT_4A},
    {"part-solid baseline S80 is 4B", NODULE_PART_SOLID, FOLLOWUP_BASELINE, TypedSizes(10, 10, 8, 7.9), 0, CAT_4B},
    {"part-solid new D59 is 3 whatever the solid part", NODULE_PART_SOLID, FOLLOWUP_NEW, TypedSizes(5.9, 5.9, 20, 20),
     0, CAT_3},
    {"part-solid new D60 S39 is 4A", NODULE_PART_SOLID, FOLLOWUP_NEW, TypedSizes(6, 5.9, 3.9, 3.9), 0, CAT_4A},
    {"part-solid new D60 S40 is 4B", NODULE_PART_SOLID, FOLLOWUP_NEW, TypedSizes(6, 5.9, 4, 3.9), 0, CAT_4B},
    {"part-solid growing S39 is 4A even when large", NODULE_PART_SOLID, FOLLOWUP_GROWING, TypedSizes(50, 50, 3.9, 3.9),
     0, CAT_4A},
    {"part-solid growing S40 is 4B even when small", NODULE_PART_SOLID, FOLLOWUP_GROWING, TypedSizes(5, 5, 4, 3.9), 0,
     CAT_4B},
    {"part-solid stable is 2", NODULE_PART_SOLID, FOLLOWUP_STABLE, TypedSizes(30, 30, 20, 20), CAVITY, CAT_2},
    {"ground-glass baseline D299 is 2", NODULE_GROUND_GLASS, FOLLOWUP_BASELINE, TypedSizes(29.9, 29.9), 0, CAT_2},
    {"ground-glass baseline D300 is 3", NODULE_GROUND_GLASS, FOLLOWUP_BASELINE, TypedSizes(30, 29.9), 0, CAT_3},
    {"ground-glass new D299 is 2", NODULE_GROUND_GLASS, FOLLOWUP_NEW, TypedSizes(29.9, 29.9), 0, CAT_2},
    {"ground-glass new D300 is 3", NODULE_GROUND_GLASS, FOLLOWUP_NEW, TypedSizes(30, 29.9), 0, CAT_3},
    {"ground-glass baseline ignores solid-part sizes", NODULE_GROUND_GLASS, FOLLOWUP_BASELINE,
     TypedSizes(50, 50, 20, 20), 0, CAT_3},
    {"ground-glass growing is 2", NODULE_GROUND_GLASS, FOLLOWUP_GROWING, TypedSizes(50, 50), 0, CAT_2},
    {"ground-glass stable is 2", NODULE_GROUND_GLASS, FOLLOWUP_STABLE, TypedSizes(50, 50), 0, CAT_2},
    // Four decimals whose mean sits exactly on a threshold: each step rounded as a
    // double, the nudge carries them over it (with 80-bit intermediates most fall short).
    {"solid baseline 14.9499 x 14.9499 is D150: 4B", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(14.9499, 14.9499), 0,
     CAT_4B},
    {"solid baseline 15.0499 x 14.8499 is D150: 4B", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(15.0499, 14.8499), 0,
     CAT_4B},
    {"solid baseline 7.9499 x 7.9499 is D80: 4A", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(7.9499, 7.9499), 0,
     CAT_4A},
    {"solid baseline 8.0499 x 7.8499 is D80: 4A", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(8.0499, 7.8499), 0,
     CAT_4A},
    {"solid new 4.1499 x 3.7499 is D40: 3", NODULE_SOLID, FOLLOWUP_NEW, TypedSizes(4.1499, 3.7499), 0, CAT_3},
    {"part-solid baseline solid part 8.0499 x 7.8499 is S80: 4B", NODULE_PART_SOLID, FOLLOWUP_BASELINE,
     TypedSizes(12, 12, 8.0499, 7.8499), 0, CAT_4B},
    {"ground-glass baseline 29.9499 x 29.9499 is D300: 3", NODULE_GROUND_GLASS, FOLLOWUP_BASELINE,
     TypedSizes(29.9499, 29.9499), 0, CAT_3},
    {"ground-glass new 29.5 x 30.3998 is D300: 3", NODULE_GROUND_GLASS, FOLLOWUP_NEW, TypedSizes(29.5, 30.3998), 0,
     CAT_3},
};

const CategoryCase FEATURE_CASES[] = {
    {"cavity turns 3 into 4X", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(7, 7), CAVITY, CAT_4X},
    {"spiculation turns 4A into 4X", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(10, 10), SPICULATION, CAT_4X},
    {"other feature turns 4B into 4X", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(20, 20), OTHER, CAT_4X},
    {"4X features turn a part-solid 3 into 4X", NODULE_PART_SOLID, FOLLOWUP_BASELINE, TypedSizes(10, 10, 5, 5), OTHER,
     CAT_4X},
    {"4X features turn a part-solid 4A into 4X", NODULE_PART_SOLID, FOLLOWUP_NEW, TypedSizes(10, 10, 3, 3), CAVITY,
     CAT_4X},
    {"4X features turn a part-solid 4B into 4X", NODULE_PART_SOLID, FOLLOWUP_GROWING, TypedSizes(5, 5, 4, 4),
     SPICULATION, CAT_4X},
    {"4X features leave 2 alone", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(5, 5), SPICULATION, CAT_2},
    {"4X features turn a large ground-glass 3 into 4X", NODULE_GROUND_GLASS, FOLLOWUP_BASELINE, TypedSizes(30, 30),
     SPICULATION, CAT_4X},
    {"fat wins over size", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(20, 20), FAT, CAT_1},
    {"calcification wins over 4X features and overrides", NODULE_SOLID, FOLLOWUP_GROWING, TypedSizes(20, 20),
     CALCIFICATION | SPICULATION | LIKELY_BENIGN | PERIFISSURAL, CAT_1},
    {"benign features win for an unknown type", 7, FOLLOWUP_BASELINE, TypedSizes(5, 5), FAT, CAT_1},
    {"likely benign turns 4X into 2b", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(7, 7), CAVITY | LIKELY_BENIGN,
     CAT_2B},
    {"likely benign turns 3 into 2b", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(7, 7), LIKELY_BENIGN, CAT_2B},
    {"likely benign turns 4A into 2b", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(10, 10), LIKELY_BENIGN, CAT_2B},
    {"likely benign turns 4B into 2b", NODULE_PART_SOLID, FOLLOWUP_NEW, TypedSizes(10, 10, 5, 5), LIKELY_BENIGN,
     CAT_2B},
    {"likely benign leaves 2 alone", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(5, 5), LIKELY_BENIGN, CAT_2},
    {"likely benign leaves 0 alone", NODULE_SOLID, 9, TypedSizes(5, 5), LIKELY_BENIGN, CAT_0},
    {"likely benign is tested before perifissural", NODULE_SOLID, FOLLOWUP_NEW, TypedSizes(9.9, 9.9),
     LIKELY_BENIGN | PERIFISSURAL, CAT_2B},
    {"perifissural below 10 mm turns 4B into 2", NODULE_SOLID, FOLLOWUP_NEW, TypedSizes(9.9, 9.9), PERIFISSURAL, CAT_2},
    {"perifissural turns 4X into 2", NODULE_SOLID, FOLLOWUP_NEW, TypedSizes(9.9, 9.9), PERIFISSURAL | SPICULATION,
     CAT_2},
    {"perifissural turns 0 into 2", NODULE_SOLID, -1, TypedSizes(5, 5), PERIFISSURAL, CAT_2},
    {"perifissural turns a baseline 3 into 2", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(7, 7), PERIFISSURAL, CAT_2},
    {"perifissural turns a baseline 4A into 2", NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(9.9, 9.9), PERIFISSURAL,
     CAT_2},
    {"perifissural applies to every type", NODULE_PART_SOLID, FOLLOWUP_NEW, TypedSizes(5, 5), PERIFISSURAL, CAT_2},
    {"perifissural needs the larger axis below 10 mm", NODULE_SOLID, FOLLOWUP_NEW, TypedSizes(9, 10), PERIFISSURAL,
     CAT_4B},
    {"perifissural at exactly 10.0 mm does not apply", NODULE_SOLID, FOLLOWUP_NEW, Sizes{10.0, 9.0}, PERIFISSURAL,
     CAT_4B},
    {"perifissural compares the unrounded axis", NODULE_SOLID, FOLLOWUP_NEW, Sizes{9.99999, 9.0}, PERIFISSURAL, CAT_2},
};

const CategoryCase OUT_OF_RANGE_CASES[] = {
    {"unknown type is 0", 3, FOLLOWUP_BASELINE, TypedSizes(20, 20), SPICULATION, CAT_0},
    {"negative type is 0", -1, FOLLOWUP_BASELINE, TypedSizes(20, 20), 0, CAT_0},
    {"solid with unknown follow-up is 0", NODULE_SOLID, 4, TypedSizes(20, 20), SPICULATION, CAT_0},
    {"part-solid with negative follow-up is 0", NODULE_PART_SOLID, -1, TypedSizes(20, 20, 10, 10), 0, CAT_0},
    {"ground-glass with unknown follow-up is 0", NODULE_GROUND_GLASS, 4, TypedSizes(40, 40), 0, CAT_0},
    {"sizes that are not numbers count as 0", NODULE_SOLID, FOLLOWUP_BASELINE, Sizes{NOT_A_NUMBER, NOT_A_NUMBER}, 0,
     CAT_2},
    {"an axis that is not a number proves no perifissural size", NODULE_SOLID, FOLLOWUP_GROWING,
     Sizes{NOT_A_NUMBER, 5.0}, PERIFISSURAL, CAT_4A},
    {"a short axis that is not a number proves no perifissural size", NODULE_SOLID, FOLLOWUP_GROWING,
     Sizes{5.0, NOT_A_NUMBER}, PERIFISSURAL, CAT_4A},
    {"infinite size is the largest class", NODULE_SOLID, FOLLOWUP_BASELINE, Sizes{INF, INF}, 0, CAT_4B},
    {"huge size is the largest class", NODULE_GROUND_GLASS, FOLLOWUP_NEW, Sizes{1e300, 1e300}, 0, CAT_3},
    {"infinite solid part is the largest class", NODULE_PART_SOLID, FOLLOWUP_BASELINE, Sizes{10, 10, INF, 1}, 0,
     CAT_4B},
    {"negative infinite size is the smallest class", NODULE_SOLID, FOLLOWUP_NEW, Sizes{-INF, -INF}, 0, CAT_2},
};

// The rules' mean with every step rounded to a double, in their order: sum,
// times 0.5, times 10.0, plus 0.5, then truncated. Each volatile store rounds,
// also where the compiler would keep an intermediate result wider.
int MeanTenthsRoundedAsDoubles(double dA, double dB) {
    volatile double sum = dB + dA;
    volatile double half = sum * 0.5;
    volatile double tenths = half * 10.0;
    volatile double rounded = tenths + 0.5;
    return static_cast<int>(rounded);
}

void ExpectCategories(std::span<const CategoryCase> cases) {
    for (const CategoryCase& c : cases) {
        CNoduleItem nodule = Nodule(c.nType, c.nFollowUp, c.sizes, c.flags);
        nodule.UpdateCategory();
        EXPECT_EQ(nodule.m_nCategory, c.nExpected) << c.name;
        EXPECT_NE(nodule.m_nCategory, CAT_4) << c.name;
    }
}

}  // namespace

TEST(NoduleRules, SizeAndBehaviourTable) { ExpectCategories(SIZE_CASES); }

TEST(NoduleRules, FeaturesAndOverrides) { ExpectCategories(FEATURE_CASES); }

TEST(NoduleRules, ValuesOutsideTheirRange) { ExpectCategories(OUT_OF_RANGE_CASES); }

TEST(NoduleRules, NewRecordHoldsTheDefaultsAndAgreesWithTheRules) {
    CNoduleItem nodule;
    EXPECT_EQ(nodule.m_nType, NODULE_SOLID);
    EXPECT_EQ(nodule.m_dLongAxis, 0.0);
    EXPECT_EQ(nodule.m_dShortAxis, 0.0);
    EXPECT_EQ(nodule.m_dSolidLongAxis, 0.0);
    EXPECT_EQ(nodule.m_dSolidShortAxis, 0.0);
    EXPECT_EQ(nodule.m_nLobe, LOBE_NONE);
    EXPECT_EQ(nodule.m_nImageNo, 0);
    EXPECT_EQ(nodule.m_nFollowUp, FOLLOWUP_BASELINE);
    for (bool CNoduleItem::*flag :
         {&CNoduleItem::m_bPerifissural, &CNoduleItem::m_bCalcification, &CNoduleItem::m_bFat,
          &CNoduleItem::m_bLikelyBenign, &CNoduleItem::m_bSpiculation, &CNoduleItem::m_bCavity, &CNoduleItem::m_bOther})
        EXPECT_FALSE(nodule.*flag);
    EXPECT_EQ(nodule.m_strOther, L"");
    EXPECT_EQ(nodule.m_nCategory, CAT_2);
    nodule.UpdateCategory();
    EXPECT_EQ(nodule.m_nCategory, CAT_2);
}

TEST(NoduleRules, MeanDiameterTenths) {
    struct Case {
        const char* name;
        double dA;
        double dB;
        int nExpected;
    };
    const Case cases[] = {
        {"typed 6 and 5.9 round half up", Typed(6), Typed(5.9), 60},
        {"typed 5.9 and 5.9", Typed(5.9), Typed(5.9), 59},
        {"negative truncates toward zero", -0.7, -0.7, -6},
        {"not a number counts as 0", NOT_A_NUMBER, 5, 0},
        {"infinite clamps to the int maximum", INF, 5, INT_MAX},
        {"negative infinite clamps to the int minimum", -INF, 5, INT_MIN},
        {"opposite infinities are not a number", INF, -INF, 0},
        {"huge clamps to the int maximum", 1e300, 1e300, INT_MAX},
        {"just beyond the int range clamps", 214748365.0, 214748365.0, INT_MAX},
        {"huge negative clamps to the int minimum", -1e300, -1e300, INT_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MeanDiameterTenths(c.dA, c.dB), c.nExpected) << c.name;
    }
}

// What the reader types, as stored: a text that gives no size stores the nudge
// alone, which shows as an empty box and is asked for by the report check.
TEST(NoduleRules, StoredDiameter) {
    struct Case {
        const char* name;
        const wchar_t* typed;
        double expected;
        bool bMeasured;
    };
    const Case cases[] = {
        {"a size gets the nudge", L"7", 7.0001, true},
        {"the smallest size that shows as 0.1", L"0.05", 0.0501, true},
        {"less would show as 0.0", L"0.04", SIZE_NUDGE_MM, false},
        {"zero", L"0", SIZE_NUDGE_MM, false},
        {"empty", L"", SIZE_NUDGE_MM, false},
        {"negative", L"-3", SIZE_NUDGE_MM, false},
        {"negative zero", L"-0", SIZE_NUDGE_MM, false},
        {"not a number", L"nan", SIZE_NUDGE_MM, false},
        {"so large that two overflow their sum", L"1e308", SIZE_NUDGE_MM, false},
        {"large, and still a mean", L"8e307", 8e307, true},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(StoredDiameter(c.typed), c.expected) << c.name;
        EXPECT_EQ(IsMeasured(StoredDiameter(c.typed)), c.bMeasured) << c.name;
    }
}

TEST(NoduleRules, MeanDiameterTenthsRoundsEveryStepAsADouble) {
    constexpr int STEPS_PER_MM = 10000;  // four decimals
    constexpr int MAX_STEPS = 40 * STEPS_PER_MM;
    std::vector<double> stored(MAX_STEPS + 1);
    for (int n = 0; n <= MAX_STEPS; ++n) stored[n] = Typed(static_cast<double>(n) / STEPS_PER_MM);

    int nDiffering = 0;
    auto expectSameMean = [&](int nA, int nB) {
        if (MeanDiameterTenths(stored[nA], stored[nB]) == MeanTenthsRoundedAsDoubles(stored[nA], stored[nB])) return;
        if (++nDiffering <= 5) ADD_FAILURE() << "typed " << nA << " and " << nB << " ten-thousandths of a mm";
    };
    // Every size up to 40 mm as a long axis typed alone leaves it: both axes alike.
    for (int n = 0; n <= MAX_STEPS; ++n) expectSameMean(n, n);
    // Every pair whose typed mean lies exactly on a category threshold T, where
    // the sum plus both nudges is (2T - 1) / 10 mm: the last bit decides the category.
    for (int nThreshold : {40, 60, 80, 150, 300}) {
        const int nSum = (2 * nThreshold - 1) * (STEPS_PER_MM / 10) - 2;
        for (int nA = std::max(0, nSum - MAX_STEPS); nA <= std::min(nSum, MAX_STEPS); ++nA)
            expectSameMean(nA, nSum - nA);
    }
    EXPECT_EQ(nDiffering, 0);
}

TEST(NoduleRules, SetOther) {
    struct Case {
        const char* name;
        Sizes sizes;
        unsigned flags;
        bool bOther;
        int nExpectedCategory;
        bool bExpectedOther;
        const wchar_t* expectedText;
    };
    const Case cases[] = {
        {"category 2 ignores the other feature", TypedSizes(5, 5), 0, true, CAT_2, false, L""},
        {"category 2b ignores the other feature", TypedSizes(7, 7), LIKELY_BENIGN, true, CAT_2B, false, L""},
        {"category 3 takes it and becomes 4X", TypedSizes(7, 7), 0, true, CAT_4X, true, L"%s 50%"},
        {"clearing it on 4X returns to 3", TypedSizes(7, 7), OTHER, false, CAT_3, false, L"%s 50%"},
        {"4X from cavity stays 4X when it is cleared", TypedSizes(7, 7), OTHER | CAVITY, false, CAT_4X, false,
         L"%s 50%"},
    };
    for (const Case& c : cases) {
        CNoduleItem nodule = Nodule(NODULE_SOLID, FOLLOWUP_BASELINE, c.sizes, c.flags);
        nodule.UpdateCategory();
        nodule.SetOther(c.bOther, L"%s 50%");
        EXPECT_EQ(nodule.m_nCategory, c.nExpectedCategory) << c.name;
        EXPECT_EQ(nodule.m_bOther, c.bExpectedOther) << c.name;
        EXPECT_EQ(nodule.m_strOther, c.expectedText) << c.name;
    }
}

// Every type and follow-up status (one of each out of range), sizes on both
// sides of every bound, every combination of features, on a follow-up CT: the
// explanation ends with the category that UpdateCategory stores, and the band it
// names holds the nodule's sizes.
TEST(NoduleRules, ExplanationEndsWithTheComputedCategory) {
    const double TYPED_SIZES[] = {0, 3.9, 4, 5.9, 6, 7.9, 8, 9.9, 10, 14.9, 15, 29.9, 30};
    const auto inBand = [](const SizeBand& band, int nTenths) {
        return (!band.nFrom || nTenths >= *band.nFrom) && (!band.nBelow || nTenths < *band.nBelow);
    };
    for (int nType : {int{NODULE_SOLID}, int{NODULE_PART_SOLID}, int{NODULE_GROUND_GLASS}, 3}) {
        for (int nFollowUp = FOLLOWUP_BASELINE; nFollowUp <= FOLLOWUP_STABLE + 1; ++nFollowUp) {
            for (double dMean : TYPED_SIZES) {
                for (double dSolid : TYPED_SIZES) {
                    if (nType != NODULE_PART_SOLID && dSolid != 0) continue;
                    for (unsigned flags = 0;
                         flags <= (PERIFISSURAL | CALCIFICATION | FAT | LIKELY_BENIGN | SPICULATION | CAVITY | OTHER);
                         ++flags) {
                        CNoduleItem nodule = Nodule(nType, nFollowUp, TypedSizes(dMean, dMean, dSolid, dSolid), flags);
                        nodule.UpdateCategory();
                        const CString text = ExplainNoduleCategory(nodule, false);
                        const CString ending = L"→ " + CategoryText(nodule.m_nCategory);
                        ASSERT_TRUE(text.ends_with(ending))
                            << "type " << nType << " follow-up " << nFollowUp << " sizes " << dMean << "/" << dSolid
                            << " flags " << flags;
                        const CategoryDerivation derivation = DeriveCategory(nodule);
                        ASSERT_TRUE(
                            inBand(derivation.mean, MeanDiameterTenths(nodule.m_dLongAxis, nodule.m_dShortAxis)));
                        ASSERT_TRUE(inBand(derivation.solidMean,
                                           MeanDiameterTenths(nodule.m_dSolidLongAxis, nodule.m_dSolidShortAxis)));
                    }
                }
            }
        }
    }
}

TEST(NoduleRules, ExplanationTexts) {
    struct Case {
        const char* name;
        CNoduleItem nodule;
        bool bBaselineCt;
        const wchar_t* expected;
    };
    CNoduleItem otherWithText = Nodule(NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(7, 7), SPICULATION | OTHER);
    otherWithText.m_strOther = L"흉막 견인";
    const Case cases[] = {
        {"a 4X feature after the size, on a line of its own",
         Nodule(NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(7, 7), SPICULATION), true,
         L"고형 결절, 처음CT: 평균 7.0 mm (6 mm 이상 8 mm 미만) → 3\r\n침상결절 → 4X"},
        {"the other feature as the report names it", otherWithText, true,
         L"고형 결절, 처음CT: 평균 7.0 mm (6 mm 이상 8 mm 미만) → 3\r\n침상결절, 기타(흉막 견인) → 4X"},
        {"the solid part decides a growing part-solid nodule",
         Nodule(NODULE_PART_SOLID, FOLLOWUP_GROWING, TypedSizes(5, 5, 4, 4), 0), false,
         L"부분고형 결절, 커짐: 평균 5.0 mm, 고형부분 평균 4.0 mm (고형부분 4 mm 이상) → 4B"},
        {"both sizes bound a part-solid baseline nodule",
         Nodule(NODULE_PART_SOLID, FOLLOWUP_BASELINE, TypedSizes(10, 10, 6, 6), 0), true,
         L"부분고형 결절, 처음CT: 평균 10.0 mm, 고형부분 평균 6.0 mm (6 mm 이상, 고형부분 6 mm 이상 8 mm 미만) → 4A"},
        {"a follow-up CT's nodule without a status is computed as on a baseline CT",
         Nodule(NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(7, 7), 0), false,
         L"고형 결절, 추적 검사 상태 미선택 (처음 CT 기준): 평균 7.0 mm (6 mm 이상 8 mm 미만) → 3"},
        {"a stable nodule is 2 at any size and 4X features change nothing",
         Nodule(NODULE_SOLID, FOLLOWUP_STABLE, TypedSizes(25, 25), SPICULATION), false,
         L"고형 결절, 변화 없음: 평균 25.0 mm (크기 무관) → 2"},
        {"benign features name each that is ticked",
         Nodule(NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(20, 20), CALCIFICATION | FAT | SPICULATION), true,
         L"고형 결절, 처음CT: 평균 20.0 mm (15 mm 이상) → 4B\r\n양성 석회화, 지방 → 1"},
        {"likely benign after 4X features, whose boxes 2b does not offer",
         Nodule(NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(7, 7), CAVITY | OTHER | LIKELY_BENIGN), true,
         L"고형 결절, 처음CT: 평균 7.0 mm (6 mm 이상 8 mm 미만) → 3\r\n양성 가능성 높음 (2b) → 2b"},
        {"a small perifissural nodule, by its larger axis",
         Nodule(NODULE_SOLID, FOLLOWUP_NEW, TypedSizes(9.9, 9.9), PERIFISSURAL), false,
         L"고형 결절, 새로 생김: 평균 9.9 mm (8 mm 이상) → 4B\r\n흉막주변결절 (긴 쪽 직경 10 mm 미만) → 2"},
        {"a perifissural nodule is 2 over a 4X feature, whose box 2 does not offer",
         Nodule(NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(9, 9), PERIFISSURAL | SPICULATION), true,
         L"고형 결절, 처음CT: 평균 9.0 mm (8 mm 이상 15 mm 미만) → 4A\r\n흉막주변결절 (긴 쪽 직경 10 mm 미만) → 2"},
        {"a perifissural nodule already in 2 names no override",
         Nodule(NODULE_SOLID, FOLLOWUP_BASELINE, TypedSizes(5, 4), PERIFISSURAL), true,
         L"고형 결절, 처음CT: 평균 4.5 mm (6 mm 미만) → 2"},
        {"a follow-up status without a row", Nodule(NODULE_GROUND_GLASS, 7, TypedSizes(20, 20), 0), false,
         L"간유리 결절: 평균 20.0 mm (해당 기준 없음) → 0"},
    };
    for (const Case& c : cases) EXPECT_EQ(ExplainNoduleCategory(c.nodule, c.bBaselineCt), c.expected) << c.name;
}
