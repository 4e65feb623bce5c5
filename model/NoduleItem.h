#pragma once
#include <limits>
#include <string_view>

#include "base/WideString.h"

// The values are fixed: never renumber them.
enum NoduleType : int {
    NODULE_SOLID = 0,
    NODULE_PART_SOLID = 1,
    NODULE_GROUND_GLASS = 2,
};

// FOLLOWUP_BASELINE: no status, on a baseline CT or while none is chosen.
enum FollowUpStatus : int {
    FOLLOWUP_BASELINE = 0,
    FOLLOWUP_NEW = 1,
    FOLLOWUP_GROWING = 2,
    FOLLOWUP_STABLE = 3,
};

enum Lobe : int {
    LOBE_NONE = -1,
    LOBE_RUL = 0,
    LOBE_RML = 1,
    LOBE_RLL = 2,
    LOBE_LUL = 3,
    LOBE_LLL = 4,
};

// Index order is severity order: the most severe category has the largest index.
enum Category : int {
    CAT_0 = 0,
    CAT_1 = 1,
    CAT_2 = 2,
    CAT_2B = 3,
    CAT_3 = 4,
    CAT_4 = 5,
    CAT_4A = 6,
    CAT_4B = 7,
    CAT_4X = 8,
};

// Added to every typed diameter so that a typed x.x5 always rounds up.
inline constexpr double SIZE_NUDGE_MM = 0.0001;
// The smallest size: anything less would show as 0.0 at one decimal.
inline constexpr double MIN_SIZE_MM = 0.05;
// The largest: two of them still add up to a finite sum, so that a mean is a number.
inline constexpr double MAX_SIZE_MM = std::numeric_limits<double>::max() / 2;

// Whether a stored diameter is a size; what is not shows as an empty box and is
// asked for by the report check.
inline bool IsMeasured(double dStoredMm) { return dStoredMm >= MIN_SIZE_MM && dStoredMm <= MAX_SIZE_MM; }

// A typed diameter as it is stored: the number plus the nudge. A text that gives
// no size (empty, zero, negative, not a number, not finite or too large) stores
// the nudge alone, which is no size.
double StoredDiameter(std::wstring_view typed);

// One nodule as the reader entered it, with its current Lung-RADS category.
// Owned by the form, one for each row of the nodule list.
class CNoduleItem {
public:
    CNoduleItem();
    CNoduleItem(const CNoduleItem& other);
    CNoduleItem& operator=(const CNoduleItem&) = default;
    ~CNoduleItem();

    // Records alive now: the form frees each exactly once, which tests count.
    static int LiveCount() { return s_nLive; }

    // Recomputes m_nCategory from the other fields.
    void UpdateCategory();
    // The other 4X feature may change only on a nodule already in category 3 or above.
    void SetOther(bool bOther, const CString& strOther);

    int m_nType = NODULE_SOLID;
    double m_dLongAxis = 0.0;
    double m_dShortAxis = 0.0;
    double m_dSolidLongAxis = 0.0;
    double m_dSolidShortAxis = 0.0;
    int m_nLobe = LOBE_NONE;
    int m_nImageNo = 0;
    int m_nFollowUp = FOLLOWUP_BASELINE;
    bool m_bPerifissural = false;
    bool m_bCalcification = false;
    bool m_bFat = false;
    bool m_bLikelyBenign = false;
    bool m_bSpiculation = false;
    bool m_bCavity = false;
    bool m_bOther = false;
    CString m_strOther;
    // A new record is category 2 without running the rules (they agree for the defaults).
    int m_nCategory = CAT_2;

private:
    static inline int s_nLive = 0;
};

// Mean of two diameters in whole tenths of a millimetre, rounded half-up.
// NaN counts as 0; values beyond the int range are clamped to it.
int MeanDiameterTenths(double dAxisA, double dAxisB);
// The same mean in millimetres as the nodule list shows it: "%.1f", unrounded before.
CString MeanDiameterText(double dAxisA, double dAxisB);
