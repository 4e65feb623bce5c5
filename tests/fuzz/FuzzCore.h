#pragma once
// What both fuzz targets of the core share: the property check, a nodule record
// read from the input, and record comparison.
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "FuzzInput.h"
#include "model/NoduleItem.h"

// A violated property is a finding: say which, then abort so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition, property)                                                                     \
    do {                                                                                                    \
        if (!(condition)) {                                                                                 \
            std::fprintf(stderr, "%s:%d: property failed: %s\n  check: %s\n", __FILE__, __LINE__, property, \
                         #condition);                                                                       \
            std::abort();                                                                                   \
        }                                                                                                   \
    } while (0)

// Every field, the stored category included, may hold any value.
inline CNoduleItem ReadNodule(FuzzInput& in) {
    CNoduleItem nodule;
    nodule.m_nType = in.Int();
    nodule.m_dLongAxis = in.Double();
    nodule.m_dShortAxis = in.Double();
    nodule.m_dSolidLongAxis = in.Double();
    nodule.m_dSolidShortAxis = in.Double();
    nodule.m_nLobe = in.Int();
    nodule.m_nImageNo = in.Int();
    nodule.m_nFollowUp = in.Int();
    nodule.m_bPerifissural = in.Bool();
    nodule.m_bCalcification = in.Bool();
    nodule.m_bFat = in.Bool();
    nodule.m_bLikelyBenign = in.Bool();
    nodule.m_bSpiculation = in.Bool();
    nodule.m_bCavity = in.Bool();
    nodule.m_bOther = in.Bool();
    nodule.m_strOther = in.Text();
    nodule.m_nCategory = in.Int();
    return nodule;
}

// Bit for bit, so that a NaN equals itself and -0 differs from 0.
inline bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

inline bool SameRecord(const CNoduleItem& a, const CNoduleItem& b) {
    return a.m_nType == b.m_nType && SameBits(a.m_dLongAxis, b.m_dLongAxis) &&
           SameBits(a.m_dShortAxis, b.m_dShortAxis) && SameBits(a.m_dSolidLongAxis, b.m_dSolidLongAxis) &&
           SameBits(a.m_dSolidShortAxis, b.m_dSolidShortAxis) && a.m_nLobe == b.m_nLobe &&
           a.m_nImageNo == b.m_nImageNo && a.m_nFollowUp == b.m_nFollowUp && a.m_bPerifissural == b.m_bPerifissural &&
           a.m_bCalcification == b.m_bCalcification && a.m_bFat == b.m_bFat && a.m_bLikelyBenign == b.m_bLikelyBenign &&
           a.m_bSpiculation == b.m_bSpiculation && a.m_bCavity == b.m_bCavity && a.m_bOther == b.m_bOther &&
           a.m_strOther == b.m_strOther && a.m_nCategory == b.m_nCategory;
}
