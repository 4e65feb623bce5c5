#include <gtest/gtest.h>

#include "model/Labels.h"
#include "model/NoduleItem.h"

TEST(Labels, EveryTableAndItsEdges) {
    struct Case {
        const char* name;
        CString (*label)(int);
        int nValue;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"solid", NoduleTypeText, NODULE_SOLID, L"고형"},
        {"part-solid", NoduleTypeText, NODULE_PART_SOLID, L"부분고형"},
        {"ground-glass", NoduleTypeText, NODULE_GROUND_GLASS, L"간유리"},
        {"type -1 is empty", NoduleTypeText, -1, L""},
        {"type 3 is empty", NoduleTypeText, 3, L""},
        {"baseline has no space", FollowUpText, FOLLOWUP_BASELINE, L"처음CT"},
        {"new", FollowUpText, FOLLOWUP_NEW, L"새로 생김"},
        {"growing", FollowUpText, FOLLOWUP_GROWING, L"커짐"},
        {"stable has a space", FollowUpText, FOLLOWUP_STABLE, L"변화 없음"},
        {"follow-up -1 is empty", FollowUpText, -1, L""},
        {"follow-up 4 is empty", FollowUpText, 4, L""},
        {"category 0", CategoryText, CAT_0, L"0"},
        {"category 1", CategoryText, CAT_1, L"1"},
        {"category 2", CategoryText, CAT_2, L"2"},
        {"category 2b is lower case", CategoryText, CAT_2B, L"2b"},
        {"category 3", CategoryText, CAT_3, L"3"},
        {"category 4", CategoryText, CAT_4, L"4"},
        {"category 4A", CategoryText, CAT_4A, L"4A"},
        {"category 4B", CategoryText, CAT_4B, L"4B"},
        {"category 4X", CategoryText, CAT_4X, L"4X"},
        {"category 9 is empty", CategoryText, 9, L""},
        {"category -1 is empty", CategoryText, -1, L""},
        {"no lobe", LobeText, LOBE_NONE, L"---"},
        {"right upper", LobeText, LOBE_RUL, L"우상엽"},
        {"right middle", LobeText, LOBE_RML, L"우중엽"},
        {"right lower", LobeText, LOBE_RLL, L"우하엽"},
        {"left upper", LobeText, LOBE_LUL, L"좌상엽"},
        {"left lower", LobeText, LOBE_LLL, L"좌하엽"},
        {"lobe 5 is empty", LobeText, 5, L""},
        {"lobe -2 is empty", LobeText, -2, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.label(c.nValue), c.expected) << c.name;
    }
}
