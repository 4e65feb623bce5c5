#include "Labels.h"

#include <span>

#include "NoduleItem.h"
#include "base/TextTrim.h"

namespace {

struct Label {
    int nValue;
    const wchar_t* text;
};

const Label NODULE_TYPE_LABELS[] = {
    {NODULE_SOLID, L"고형"},
    {NODULE_PART_SOLID, L"부분고형"},
    {NODULE_GROUND_GLASS, L"간유리"},
};

const Label FOLLOW_UP_LABELS[] = {
    {FOLLOWUP_BASELINE, L"처음CT"},
    {FOLLOWUP_NEW, L"새로 생김"},
    {FOLLOWUP_GROWING, L"커짐"},
    {FOLLOWUP_STABLE, L"변화 없음"},
};

const Label CATEGORY_LABELS[] = {
    {CAT_0, L"0"}, {CAT_1, L"1"},   {CAT_2, L"2"},   {CAT_2B, L"2b"}, {CAT_3, L"3"},
    {CAT_4, L"4"}, {CAT_4A, L"4A"}, {CAT_4B, L"4B"}, {CAT_4X, L"4X"},
};

const Label LOBE_LABELS[] = {
    {LOBE_NONE, L"---"},   {LOBE_RUL, L"우상엽"}, {LOBE_RML, L"우중엽"},
    {LOBE_RLL, L"우하엽"}, {LOBE_LUL, L"좌상엽"}, {LOBE_LLL, L"좌하엽"},
};

CString Lookup(std::span<const Label> labels, int nValue) {
    for (const Label& label : labels) {
        if (label.nValue == nValue) {
            return label.text;
        }
    }
    return CString();
}

}  // namespace

CString NoduleTypeText(int nType) { return Lookup(NODULE_TYPE_LABELS, nType); }
CString FollowUpText(int nFollowUp) { return Lookup(FOLLOW_UP_LABELS, nFollowUp); }
CString CategoryText(int nCategory) { return Lookup(CATEGORY_LABELS, nCategory); }
CString LobeText(int nLobe) { return Lookup(LOBE_LABELS, nLobe); }

CString OtherFeatureText(const CString& strOther) {
    return Trimmed(strOther).empty() ? CString(L"기타") : L"기타(" + strOther + L")";
}
