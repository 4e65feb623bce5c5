#include <gtest/gtest.h>

#include "model/Labels.h"
#include "model/NoduleItem.h"

// The texts the report and the final category compare, and the edges of every table.
TEST(Labels, TextsAndEdges) {
    struct Case {
        const char* name;
        CString (*label)(int);
        int nValue;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"ground-glass, last type", NoduleTypeText, NODULE_GROUND_GLASS, L"간유리"},
        {"type -1 is empty", NoduleTypeText, -1, L""},
        {"type 3 is empty", NoduleTypeText, 3, L""},
        {"baseline has no space", FollowUpText, FOLLOWUP_BASELINE, L"처음CT"},
        {"stable has a space", FollowUpText, FOLLOWUP_STABLE, L"변화 없음"},
        {"follow-up -1 is empty", FollowUpText, -1, L""},
        {"follow-up 4 is empty", FollowUpText, 4, L""},
        {"category 0, first", CategoryText, CAT_0, L"0"},
        {"category 2b is lower case", CategoryText, CAT_2B, L"2b"},
        {"category 4 has a label", CategoryText, CAT_4, L"4"},
        {"category 4A is upper case", CategoryText, CAT_4A, L"4A"},
        {"category 4X, last", CategoryText, CAT_4X, L"4X"},
        {"category 9 is empty", CategoryText, 9, L""},
        {"category -1 is empty", CategoryText, -1, L""},
        {"no lobe", LobeText, LOBE_NONE, L"---"},
        {"right upper, first lobe", LobeText, LOBE_RUL, L"우상엽"},
        {"left lower, last lobe", LobeText, LOBE_LLL, L"좌하엽"},
        {"lobe 5 is empty", LobeText, 5, L""},
        {"lobe -2 is empty", LobeText, -2, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.label(c.nValue), c.expected) << c.name;
    }
}
