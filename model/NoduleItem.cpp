#include "NoduleItem.h"

#include <climits>
#include <cmath>

#include "base/NumberText.h"

CNoduleItem::CNoduleItem() { ++s_nLive; }

CNoduleItem::CNoduleItem(const CNoduleItem& other) : CNoduleItem() { *this = other; }

CNoduleItem::~CNoduleItem() { --s_nLive; }

void CNoduleItem::SetOther(bool bOther, const CString& strOther) {
    // The other feature only refines a category of 3 or above into 4X.
    if (m_nCategory < CAT_3) {
        return;
    }
    m_bOther = bOther;
    m_strOther = strOther;
    UpdateCategory();
}

int MeanDiameterTenths(double dAxisA, double dAxisB) {
    const double tenths = (dAxisB + dAxisA) * 0.5 * 10.0 + 0.5;
    if (std::isnan(tenths)) {
        return 0;
    }
    // Truncation toward zero is defined only inside these bounds.
    if (tenths <= static_cast<double>(INT_MIN) - 1.0) {
        return INT_MIN;
    }
    if (tenths >= static_cast<double>(INT_MAX) + 1.0) {
        return INT_MAX;
    }
    return static_cast<int>(tenths);
}

double StoredDiameter(std::wstring_view typed) {
    const double dStored = ParseDiameter(typed) + SIZE_NUDGE_MM;
    return IsMeasured(dStored) ? dStored : SIZE_NUDGE_MM;
}

CString MeanDiameterText(double dAxisA, double dAxisB) { return FormatFixed((dAxisB + dAxisA) * 0.5, 1); }
