#pragma once
// What each item of the form's drop-down lists stands for, by its index: the
// one place where the order of a list meets the values of the model.
#include <cstddef>

#include "model/ExamFindings.h"
#include "model/NoduleItem.h"

inline constexpr int BASELINE_CT_ITEM = 0;  // 1000: "처음 CT", then "추적 CT"
inline constexpr int NODULE_TYPE_ITEMS[] = {NODULE_SOLID, NODULE_PART_SOLID, NODULE_GROUND_GLASS};
inline constexpr int LOBE_ITEMS[] = {LOBE_RUL, LOBE_RML, LOBE_RLL, LOBE_LUL, LOBE_LLL};
inline constexpr int FOLLOWUP_ITEMS[] = {FOLLOWUP_NEW, FOLLOWUP_GROWING, FOLLOWUP_STABLE};
inline constexpr int DEGREE_ITEMS[] = {DEGREE_MILD, DEGREE_MODERATE, DEGREE_SEVERE};

// The value an item stands for; nNone for no selection.
template <size_t N> constexpr int ValueOfItem(const int (&items)[N], int nItem, int nNone) {
    return nItem >= 0 && nItem < static_cast<int>(N) ? items[nItem] : nNone;
}

// The item that stands for a value; -1, no selection, for a value without one.
template <size_t N> constexpr int ItemOfValue(const int (&items)[N], int nValue) {
    for (size_t n = 0; n < N; ++n)
        if (items[n] == nValue) return static_cast<int>(n);
    return -1;
}
