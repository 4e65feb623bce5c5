#pragma once
// Steps a reader takes on the findings form, and what the tests read back from
// it, shared by the form's window tests.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "FormDriver.h"
#include "ModalScript.h"
#include "form/ComboItems.h"
#include "form/FeatureBoxes.h"
#include "form/FindingControls.h"
#include "framework/WindowText.h"

// Message boxes are captioned with the program's name: the test program's file name.
inline const std::wstring APP_NAME = L"window_tests";
// The form's title, with the program's version (from the tests' build).
inline const std::wstring FORM_TITLE = std::wstring(L"Pulmetra 계산기 (v") + PULMETRA_VERSION + L")";

// The editors of the selected nodule, by kind.
constexpr int NODULE_EDITS[] = {IDC_LONG_AXIS,        IDC_SHORT_AXIS, IDC_SOLID_LONG_AXIS,
                                IDC_SOLID_SHORT_AXIS, IDC_IMAGE_NO,   IDC_OTHER_TEXT};
// The size edits and the size each shows and keeps.
struct SizeField {
    int nIDC;
    double CNoduleItem::*size;
};
constexpr SizeField SIZE_FIELDS[] = {
    {IDC_LONG_AXIS, &CNoduleItem::m_dLongAxis},
    {IDC_SHORT_AXIS, &CNoduleItem::m_dShortAxis},
    {IDC_SOLID_LONG_AXIS, &CNoduleItem::m_dSolidLongAxis},
    {IDC_SOLID_SHORT_AXIS, &CNoduleItem::m_dSolidShortAxis},
};
constexpr int NODULE_COMBOS[] = {IDC_NODULE_TYPE, IDC_LOBE, IDC_FOLLOWUP};
// The nodule features' check boxes, from the form's own table.
constexpr auto NODULE_CHECKS = [] {
    std::array<int, std::size(FEATURE_BOXES)> boxes{};
    for (size_t n = 0; n < boxes.size(); ++n) boxes[n] = FEATURE_BOXES[n].nIDC;
    return boxes;
}();

// The exam findings' check boxes, the prior lung cancer first, and the detail
// control that each box offers while ticked, from the form's own table.
constexpr auto FINDING_BOXES = [] {
    std::array<int, EXAM_FINDING_COUNT + 1> boxes{IDC_PRIOR_CANCER};
    for (size_t n = 0; n < EXAM_FINDING_COUNT; ++n) boxes[n + 1] = FINDING_CONTROLS[n].nCheckBox;
    return boxes;
}();
struct FindingDetail {
    int nBox;
    int nDetail;  // a note edit, or the severity combo 1034
};
constexpr size_t FINDING_DETAIL_COUNT =
    std::ranges::count_if(FINDING_CONTROLS, [](const FindingControls& finding) { return finding.nDetail != 0; });
constexpr auto FINDING_DETAILS = [] {
    std::array<FindingDetail, FINDING_DETAIL_COUNT> details{};
    size_t nDetail = 0;
    for (const FindingControls& finding : FINDING_CONTROLS)
        if (finding.nDetail) details[nDetail++] = {finding.nCheckBox, finding.nDetail};
    return details;
}();

// Items of the form's combo boxes as the reader picks them, from the form's own
// tables. Types and lobes are picked by their NoduleType and Lobe values, which
// are their item indexes.
constexpr int BASELINE_CT = BASELINE_CT_ITEM, FOLLOW_UP_CT = BASELINE_CT_ITEM + 1;  // 1000
constexpr int STATUS_NEW = ItemOfValue(FOLLOWUP_ITEMS, FOLLOWUP_NEW),
              STATUS_GROWING = ItemOfValue(FOLLOWUP_ITEMS, FOLLOWUP_GROWING),
              STATUS_STABLE = ItemOfValue(FOLLOWUP_ITEMS, FOLLOWUP_STABLE);  // 1008
constexpr int MILD = ItemOfValue(DEGREE_ITEMS, DEGREE_MILD), MODERATE = ItemOfValue(DEGREE_ITEMS, DEGREE_MODERATE),
              SEVERE = ItemOfValue(DEGREE_ITEMS, DEGREE_SEVERE);  // 1034

// Types a value into an edit and commits it with Enter, as the reader does.
inline void Enter(FormDriver& form, int nIDC, std::wstring_view text) {
    form.Type(nIDC, text);
    form.Press(VK_RETURN);
}

// The usual entry of a size: long axis and Enter, then short axis and Enter.
inline void EnterAxes(FormDriver& form, std::wstring_view longAxis, std::wstring_view shortAxis) {
    form.Type(IDC_LONG_AXIS, longAxis);
    form.Press(VK_RETURN);
    form.Type(IDC_SHORT_AXIS, shortAxis);
    form.Press(VK_RETURN);
}

inline void EnterSolidAxes(FormDriver& form, std::wstring_view longAxis, std::wstring_view shortAxis) {
    form.Type(IDC_SOLID_LONG_AXIS, longAxis);
    form.Press(VK_RETURN);
    form.Type(IDC_SOLID_SHORT_AXIS, shortAxis);
    form.Press(VK_RETURN);
}

// Adds a nodule and gives it a type and a size.
inline void AddNodule(FormDriver& form, int nType, std::wstring_view longAxis, std::wstring_view shortAxis) {
    form.Click(IDC_ADD_NODULE);
    if (nType != NODULE_SOLID) form.Choose(IDC_NODULE_TYPE, nType);
    EnterAxes(form, longAxis, shortAxis);
}

// Clear, answered Yes: the form as it starts.
inline void ClearAnsweringYes(FormDriver& form) {
    ModalScript script;
    script.AnswerMessageBox(IDYES);
    form.Click(IDC_CLEAR);
    EXPECT_TRUE(script.Finished()) << "Clear did not ask";
}

// With no nodule selected, every nodule editor is empty, selects nothing and is disabled.
inline void ExpectNoNoduleShown(const FormDriver& form) {
    for (int nEdit : NODULE_EDITS) {
        EXPECT_EQ(form.Text(nEdit), L"") << "nodule edit " << nEdit;
        EXPECT_FALSE(form.Enabled(nEdit)) << "nodule edit " << nEdit;
    }
    for (int nCombo : NODULE_COMBOS) {
        EXPECT_EQ(form.ComboSel(nCombo), -1) << "nodule combo " << nCombo;
        EXPECT_FALSE(form.Enabled(nCombo)) << "nodule combo " << nCombo;
    }
    for (int nCheck : NODULE_CHECKS) {
        EXPECT_FALSE(form.Checked(nCheck)) << "nodule check box " << nCheck;
        EXPECT_FALSE(form.Enabled(nCheck)) << "nodule check box " << nCheck;
    }
}

// Takes the selection away from every row, as a click on the list's empty space does.
inline void DeselectAllRows(FormDriver& form) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = 0;
    SendMessageW(form.Item(IDC_NODULE_LIST), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&item));
    form.Pump();
}

// A date picked in the prior-CT date picker, as the reader picks it.
inline void SetPriorCtDate(FormDriver& form, WORD wYear, WORD wMonth, WORD wDay) {
    SYSTEMTIME date{};
    date.wYear = wYear;
    date.wMonth = wMonth;
    date.wDay = wDay;
    SendMessageW(form.Item(IDC_PRIOR_CT_DATE), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
}

// A click on "판독문": the button takes the focus, then reports the click.
inline void PressReport(FormDriver& form) {
    form.Focus(IDC_REPORT);
    form.Click(IDC_REPORT);
}

// What one control of the form shows.
struct ControlState {
    int nId = 0;
    std::wstring text;
    bool bEnabled = false;
    UINT nCheck = BST_UNCHECKED;
    int nComboSel = CB_ERR;

    bool operator==(const ControlState&) const = default;
};

// Every control of the form as it stands, in the template's order.
inline std::vector<ControlState> ControlStates(const FormDriver& form) {
    std::vector<ControlState> states;
    for (HWND hChild = GetWindow(form.Form(), GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        ControlState state;
        state.nId = GetDlgCtrlID(hChild);
        state.text = GetWindowTextString(hChild);
        state.bEnabled = IsWindowEnabled(hChild) != FALSE;
        wchar_t className[32] = {};
        GetClassNameW(hChild, className, 32);
        const std::wstring kind = className;
        if (kind == L"Button") state.nCheck = static_cast<UINT>(SendMessageW(hChild, BM_GETCHECK, 0, 0));
        if (kind == L"ComboBox") state.nComboSel = static_cast<int>(SendMessageW(hChild, CB_GETCURSEL, 0, 0));
        states.push_back(state);
    }
    return states;
}

// Every column of every row of the nodule list.
inline std::vector<std::wstring> RowTexts(const FormDriver& form) {
    std::vector<std::wstring> texts;
    for (int nRow = 0; nRow < form.RowCount(); ++nRow)
        for (int nColumn = 0; nColumn < 6; ++nColumn) texts.push_back(form.RowText(nRow, nColumn));
    return texts;
}

inline std::ostream& operator<<(std::ostream& out, const ControlState& state) {
    return out << "control " << state.nId << (state.bEnabled ? " enabled" : " disabled") << " check " << state.nCheck
               << " sel " << state.nComboSel << " text length " << state.text.size();
}
