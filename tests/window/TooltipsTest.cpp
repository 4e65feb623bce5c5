// Tooltips after real mouse movement: a nodule row, from any column, says how
// its category came about, 1037 what set the final category, and the command
// buttons name their keys.
#include <gtest/gtest.h>

#include "FormDriver.h"
#include "FormSteps.h"

namespace {

POINT InRow(const FormDriver& form, int nRow, bool bLastColumn) {
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(form.Item(IDC_NODULE_LIST), LVM_GETITEMRECT, static_cast<WPARAM>(nRow),
                 reinterpret_cast<LPARAM>(&row));
    return {bLastColumn ? row.right - 4 : row.left + 4, (row.top + row.bottom) / 2};
}

POINT Centre(const FormDriver& form, int nIDC) {
    RECT rect;
    GetClientRect(form.Item(nIDC), &rect);
    return {rect.right / 2, rect.bottom / 2};
}

// 1037 lets the mouse through to the form: its centre in the form's client area.
POINT FinalCategoryCentre(const FormDriver& form) {
    POINT centre = Centre(form, IDC_FINAL_CATEGORY);
    MapWindowPoints(form.Item(IDC_FINAL_CATEGORY), form.Form(), &centre, 1);
    return centre;
}

}  // namespace

TEST(Tooltips, ExplainWhatThePointerRestsOn) {
    FormDriver form;
    AddNodule(form, NODULE_SOLID, L"7", L"7");
    form.Choose(IDC_LOBE, LOBE_RUL);
    form.Click(IDC_SPICULATION);
    AddNodule(form, NODULE_GROUND_GLASS, L"5", L"5");
    form.Click(IDC_EMPHYSEMA);

    const struct {
        const char* over;
        int nIDC;  // 0: the form
        POINT point;
        const wchar_t* expected;
    } cases[] = {
        {"the first row's last column", IDC_NODULE_LIST, InRow(form, 0, true),
         L"고형 결절, 처음CT: 평균 7.0 mm (6 mm 이상 8 mm 미만) → 3\r\n침상결절 → 4X"},
        {"the second row's first column", IDC_NODULE_LIST, InRow(form, 1, false),
         L"간유리 결절, 처음CT: 평균 5.0 mm (30 mm 미만) → 2"},
        {"the final category", 0, FinalCategoryCentre(form),
         L"1번 결절 (우상엽) → 4X\r\n폐결절 외 의미있는 소견: 폐기종 (중등도 이상) → S"},
        {"결절 추가", IDC_ADD_NODULE, Centre(form, IDC_ADD_NODULE), L"결절 추가 (Ctrl+N)"},
        {"결절 삭제", IDC_DELETE_NODULE, Centre(form, IDC_DELETE_NODULE),
         L"결절 삭제 (Ctrl+D)\r\n방금 삭제한 결절 되살리기: Ctrl+Z (입력 칸 밖에서)"},
        {"판독문", IDC_REPORT, Centre(form, IDC_REPORT), L"판독문 (Ctrl+Enter)"},
        {"종료", IDCANCEL, Centre(form, IDCANCEL), L"종료 (Esc)"},
    };
    for (const auto& c : cases) EXPECT_EQ(form.HoverTip(c.nIDC, c.point), c.expected) << c.over;

    // A change of the nodule under the pointer shows in its next tip, also when
    // the pointer rested on the row meanwhile and only moves within it. At 2b
    // the spiculation's box shows unticked, and the tip does not name it.
    form.SelectRow(0);
    form.Click(IDC_LIKELY_BENIGN);
    EXPECT_EQ(form.HoverTip(IDC_NODULE_LIST, InRow(form, 0, true)),
              L"고형 결절, 처음CT: 평균 7.0 mm (6 mm 이상 8 mm 미만) → 3\r\n양성 가능성 높음 (2b) → 2b");
    form.Click(IDC_LIKELY_BENIGN);
    POINT ptWithinRow = InRow(form, 0, true);
    ptWithinRow.x -= 3;
    EXPECT_EQ(form.HoverTip(IDC_NODULE_LIST, ptWithinRow, false),
              L"고형 결절, 처음CT: 평균 7.0 mm (6 mm 이상 8 mm 미만) → 3\r\n침상결절 → 4X");

    // On a follow-up CT a nodule without a status says so.
    form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
    EXPECT_EQ(form.HoverTip(IDC_NODULE_LIST, InRow(form, 1, false)),
              L"간유리 결절, 추적 검사 상태 미선택 (처음 CT 기준): 평균 5.0 mm (30 mm 미만) → 2");
}
