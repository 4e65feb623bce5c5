// Fuzzes the nodule category rules and SetOther with arbitrary records.
#include <cstddef>
#include <cstdint>

#include "FuzzCore.h"
#include "model/NoduleItem.h"

namespace {

// Every category but CAT_4, which no rule gives.
bool IsRuleCategory(int nCategory) { return nCategory >= CAT_0 && nCategory <= CAT_4X && nCategory != CAT_4; }

bool IsValidType(int nType) { return nType >= NODULE_SOLID && nType <= NODULE_GROUND_GLASS; }

int Rated(CNoduleItem nodule) {
    nodule.UpdateCategory();
    return nodule.m_nCategory;
}

void CheckRules(const CNoduleItem& entered, FuzzInput& in) {
    CNoduleItem rated = entered;
    rated.UpdateCategory();
    const int nCategory = rated.m_nCategory;

    CNoduleItem unrated = rated;
    unrated.m_nCategory = entered.m_nCategory;
    FUZZ_CHECK(SameRecord(unrated, entered), "the rules write the category and nothing else");
    FUZZ_CHECK(IsRuleCategory(nCategory), "the category is one of the eight the rules give");

    const bool bBenign = entered.m_bCalcification || entered.m_bFat;
    if (bBenign) {
        FUZZ_CHECK(nCategory == CAT_1, "calcification or fat gives 1");
    } else if (entered.m_nFollowUp == FOLLOWUP_STABLE && IsValidType(entered.m_nType)) {
        FUZZ_CHECK(nCategory == CAT_2, "a stable nodule of a valid type without benign features is 2");
    }

    // 4X features only ever turn a 3, 4A or 4B into 4X: the likely-benign and
    // perifissural overrides treat the record alike with and without them.
    CNoduleItem without4X = entered;
    without4X.m_bSpiculation = without4X.m_bCavity = without4X.m_bOther = false;
    const int nWithout4X = Rated(without4X);
    const bool bRaisedTo4X =
        (nWithout4X == CAT_3 || nWithout4X == CAT_4A || nWithout4X == CAT_4B) && nCategory == CAT_4X;
    FUZZ_CHECK(nCategory == nWithout4X || bRaisedTo4X, "4X features keep the category or raise 3, 4A, 4B to 4X");
    FUZZ_CHECK(nCategory >= nWithout4X, "4X features never lower the category");

    CNoduleItem unread = entered;
    unread.m_nLobe = in.Int();
    unread.m_nImageNo = in.Int();
    unread.m_strOther = in.Text();
    FUZZ_CHECK(Rated(unread) == nCategory, "lobe, image number and other text do not change the category");
}

void CheckSetOther(const CNoduleItem& entered, FuzzInput& in) {
    // As the editors keep it (category from the rules) or with any stored category.
    CNoduleItem before = entered;
    if (in.Bool()) {
        before.UpdateCategory();
    }
    const bool bOther = in.Bool();
    const CString strOther = in.Text();

    CNoduleItem after = before;
    after.SetOther(bOther, strOther);
    if (before.m_nCategory < CAT_3) {
        FUZZ_CHECK(SameRecord(after, before), "SetOther changes nothing on a record below 3");
        return;
    }
    CNoduleItem expected = before;
    expected.m_bOther = bOther;
    expected.m_strOther = strOther;
    expected.UpdateCategory();
    FUZZ_CHECK(SameRecord(after, expected), "SetOther on a record of 3 or above stores both and reruns the rules");
}

void CheckOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const CNoduleItem entered = ReadNodule(in);
    CheckRules(entered, in);
    CheckSetOther(entered, in);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckOneInput(data, size);
    FUZZ_CHECK(CNoduleItem::LiveCount() == 0, "every record made is freed");
    return 0;
}
