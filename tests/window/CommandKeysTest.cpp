// The command keys, pressed from an edit holding a typed value, a closed
// drop-down list and the nodule list: each runs what its button runs, after
// the typed value has been kept for the nodule it was typed for. (Ctrl+N and
// Ctrl+Enter from the comments, by real keyboard input, are in the follow-up
// end-to-end run.)
#include <windows.h>
#include <gtest/gtest.h>
#include <imm.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "FormDriver.h"
#include "FormSteps.h"
#include "ModalScript.h"
#include "ReportSteps.h"
#include "framework/InputMethod.h"

namespace {

// A short axis typed as -1 is no size: stored as the nudge alone, it shows as an
// empty edit, as one never entered does.
const double TYPO = SIZE_NUDGE_MM;

// 7 mm in the right upper lobe, 5 mm without a lobe (selected), 8 mm in the
// left lower lobe whose short axis edit is empty.
void ThreeNodules(FormDriver& form) {
    AddNodule(form, NODULE_SOLID, L"7", L"7");
    form.Choose(IDC_LOBE, LOBE_RUL);
    AddNodule(form, NODULE_SOLID, L"5", L"5");
    AddNodule(form, NODULE_SOLID, L"8", L"-1");
    form.Choose(IDC_LOBE, LOBE_LLL);
    form.SelectRow(1);
}

struct Sizes {
    double dLong, dShort;
    bool operator==(const Sizes&) const = default;
};

std::vector<Sizes> AllSizes(const FormDriver& form) {
    std::vector<Sizes> sizes;
    for (int nRow = 0; nRow < form.RowCount(); ++nRow)
        sizes.push_back({form.Record(nRow).m_dLongAxis, form.Record(nRow).m_dShortAxis});
    return sizes;
}

constexpr int ORIGIN = -1;  // the focus stays in the control the key was pressed in

}  // namespace

TEST(CommandKeys, WorkFromAnEditAComboAndTheList) {
    const struct {
        const char* from;
        int nIDC;
    } origins[] = {
        {"the long axis, 6 typed", IDC_LONG_AXIS},
        {"the lobe combo", IDC_LOBE},
        {"the list", IDC_NODULE_LIST},
        {"the image number, the same for every nodule", IDC_IMAGE_NO}};
    const struct {
        const char* key;
        UINT vk;
        int nRows, nSelected, nFocused;
        std::vector<Sizes> sizes;  // the middle nodule's long axis as typed in the edit, where it was
        std::vector<std::wstring> messages = {};
        UINT vkBefore = 0;  // a command key pressed first, from the same place
    } keys[] = {
        {"Ctrl+N adds a nodule, the caret in its long axis",
         'N',
         4,
         3,
         IDC_LONG_AXIS,
         {{7.0001, 7.0001}, {6.0001, 5.0001}, {8.0001, TYPO}, {0, 0}}},
        {"Ctrl+D deletes the selected nodule", 'D', 2, 1, IDC_NODULE_LIST, {{7.0001, 7.0001}, {8.0001, TYPO}}},
        {"Ctrl+D, then Ctrl+Z brings the nodule back at its row",
         'Z',
         3,
         1,
         IDC_NODULE_LIST,
         {{7.0001, 7.0001}, {6.0001, 5.0001}, {8.0001, TYPO}},
         {},
         'D'},
        {"Ctrl+Z with nothing deleted: an edit's own undo, elsewhere nothing",
         'Z',
         3,
         1,
         ORIGIN,
         {{7.0001, 7.0001}, {5.0001, 5.0001}, {8.0001, TYPO}}},
        {"Ctrl+Up selects the nodule before",
         VK_UP,
         3,
         0,
         ORIGIN,
         {{7.0001, 7.0001}, {6.0001, 5.0001}, {8.0001, TYPO}}},
        {"Ctrl+Down selects the nodule after",
         VK_DOWN,
         3,
         2,
         ORIGIN,
         {{7.0001, 7.0001}, {6.0001, 5.0001}, {8.0001, TYPO}}},
        {"Ctrl+Enter asks for the lobe as the report button does",
         VK_RETURN,
         3,
         1,
         IDC_LOBE,
         {{7.0001, 7.0001}, {6.0001, 5.0001}, {8.0001, TYPO}},
         {L"2 번째 결절의 위치가 입력되지 않았습니다."}},
    };
    for (const auto& origin : origins) {
        for (const auto& key : keys) {
            SCOPED_TRACE(testing::Message() << key.key << ", from " << origin.from);
            FormDriver form;
            ThreeNodules(form);
            form.Focus(origin.nIDC);
            if (origin.nIDC == IDC_LONG_AXIS) form.Type(IDC_LONG_AXIS, L"6");
            std::vector<Sizes> expected = key.sizes;
            if (origin.nIDC != IDC_LONG_AXIS && key.vk != 'D') expected[1].dLong = 5.0001;

            std::vector<SeenMessageBox> boxes;
            ModalScript script;
            script.AnswerEveryMessageBox(IDOK, &boxes);

            if (key.vkBefore) form.PressCtrl(key.vkBefore);
            form.PressCtrl(key.vk);

            std::vector<std::wstring> messages;
            for (const SeenMessageBox& box : boxes) messages.push_back(box.text);
            EXPECT_EQ(messages, key.messages);
            EXPECT_EQ(form.RowCount(), key.nRows);
            EXPECT_EQ(form.SelectedRow(), key.nSelected);
            EXPECT_EQ(form.FocusedId(), key.nFocused == ORIGIN ? origin.nIDC : key.nFocused);
            EXPECT_TRUE(AllSizes(form) == expected);
            if (form.FocusedId() == IDC_LONG_AXIS) {
                EXPECT_EQ(form.Text(IDC_LONG_AXIS), DiameterText(form.Record(key.nSelected).m_dLongAxis));
            }
            // An edit that shows another nodule has its whole text selected, to be typed over.
            const int nFocused = form.FocusedId();
            if ((key.vk == 'N' || key.vk == VK_UP || key.vk == VK_DOWN) && nFocused != IDC_LOBE &&
                nFocused != IDC_NODULE_LIST) {
                EXPECT_EQ(form.EditSelection(nFocused), std::make_pair(0, static_cast<int>(form.Text(nFocused).size())));
            }
        }
    }
}

TEST(CommandKeys, HeldDownOnlyMovingRepeatsAndWithoutCtrlTheLetterIsTyped) {
    FormDriver form;
    ThreeNodules(form);
    form.Focus(IDC_COMMENTS);
    form.Press('N');
    EXPECT_EQ(form.Text(IDC_COMMENTS), L"n");
    EXPECT_EQ(form.RowCount(), 3);

    form.Focus(IDC_NODULE_LIST);
    form.PressCtrl('D', 3);
    EXPECT_EQ(form.RowCount(), 2);
    form.PressCtrl('N', 3);
    EXPECT_EQ(form.RowCount(), 3);
    form.PressCtrl(VK_UP, 3);
    EXPECT_EQ(form.SelectedRow(), 0);
}

// The mouse takes the same path: a size typed and then left by a click on a
// button is kept for its own nodule, and the nodule the button brings into the
// editors keeps its sizes untouched when the reader moves on.
TEST(CommandKeys, AButtonClickedAfterATypedLongAxisLeavesTheOtherNodulesAlone) {
    const struct {
        const char* button;
        int nIDC;
        std::vector<Sizes> sizes;
    } clicks[] = {
        {"결절 추가", IDC_ADD_NODULE, {{7.0001, 7.0001}, {6.0001, 5.0001}, {8.0001, TYPO}, {0, 0}}},
        {"결절 삭제", IDC_DELETE_NODULE, {{7.0001, 7.0001}, {8.0001, TYPO}}},
    };
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.button);
        FormDriver form;
        ThreeNodules(form);
        form.Type(IDC_LONG_AXIS, L"6");
        form.Click(click.nIDC);
        form.Focus(IDC_COMMENTS);
        EXPECT_TRUE(AllSizes(form) == click.sizes);
    }
}

namespace {

void TickModerateCoronary(FormDriver& form) {
    form.Click(IDC_CORONARY);
    form.Choose(IDC_CORONARY_SEVERITY, MODERATE);
}

}  // namespace

// Deleted nodules come back, the last deleted first, each at its row with all it
// held, only while deletes are the form's last changes: selecting a row, or
// choosing the kind of CT or the degree already shown, changes nothing; any
// other change ends it.
TEST(CommandKeys, CtrlZBringsBackDeletedNodulesWhileDeletesAreTheLastChanges) {
    const auto nothing = [](FormDriver&) {};
    const std::vector<std::wstring> ALL_BACK = {L"7.0 [mm]", L"5.0 [mm]", L"4.0 [mm]"};
    const std::vector<std::wstring> NONE_BACK = {L"7.0 [mm]", L"4.0 [mm]"};
    const struct {
        const char* between;
        std::function<void(FormDriver&)> step;
        std::vector<std::wstring> sizes;  // column 2 of each row after Ctrl+Z, twice
        int nSelected;
        std::function<void(FormDriver&)> prepare = nullptr;  // before the delete
    } cases[] = {
        {"nothing", nothing, ALL_BACK, 1},
        {"another row selected", [](FormDriver& form) { form.SelectRow(0); }, ALL_BACK, 1},
        {"the kind of CT chosen again", [](FormDriver& form) { form.Choose(IDC_CT_TYPE, BASELINE_CT); }, ALL_BACK, 1},
        {"another nodule deleted", [](FormDriver& form) { form.Click(IDC_DELETE_NODULE); }, ALL_BACK, 1},
        {"a lobe chosen for another nodule", [](FormDriver& form) { form.Choose(IDC_LOBE, LOBE_RML); }, NONE_BACK, 1},
        {"a finding ticked", [](FormDriver& form) { form.Click(IDC_EMPHYSEMA); }, NONE_BACK, 1},
        {"a comment typed", [](FormDriver& form) { form.Type(IDC_COMMENTS, L"x"); }, NONE_BACK, 1},
        {"a nodule added",
         [](FormDriver& form) { form.Click(IDC_ADD_NODULE); },
         {L"7.0 [mm]", L"4.0 [mm]", L"0.0 [mm]"},
         2},
        {"the kind of CT changed", [](FormDriver& form) { form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT); }, NONE_BACK, 1},
        {"the degree of coronary calcification chosen again",
         [](FormDriver& form) { form.Choose(IDC_CORONARY_SEVERITY, MODERATE); }, ALL_BACK, 1, TickModerateCoronary},
        {"another degree chosen with Enter in its open list",
         [](FormDriver& form) {
             form.Focus(IDC_CORONARY_SEVERITY);
             SendMessageW(form.Item(IDC_CORONARY_SEVERITY), CB_SHOWDROPDOWN, TRUE, 0);
             form.Press(VK_DOWN);
             form.Press(VK_RETURN);
         },
         NONE_BACK, 1, TickModerateCoronary},
        {"지우기 answered 예", ClearAnsweringYes, {}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.between);
        const int nLiveBefore = CNoduleItem::LiveCount();
        FormDriver form;
        ThreeNodules(form);
        if (c.prepare) c.prepare(form);
        const std::vector<std::wstring> before = RowTexts(form);
        form.Click(IDC_DELETE_NODULE);
        c.step(form);
        // From the button that deleted it, as a reader who notices at once.
        form.Focus(IDC_DELETE_NODULE);
        form.PressCtrl('Z');
        form.PressCtrl('Z');

        std::vector<std::wstring> sizes;
        for (int nRow = 0; nRow < form.RowCount(); ++nRow) sizes.push_back(form.RowText(nRow, 2));
        EXPECT_EQ(sizes, c.sizes);
        EXPECT_EQ(form.SelectedRow(), c.nSelected);
        EXPECT_EQ(CNoduleItem::LiveCount() - nLiveBefore, form.RowCount()) << "a nodule no longer kept was not freed";
        if (sizes == ALL_BACK) {
            EXPECT_EQ(RowTexts(form), before) << "every field of every nodule comes back";
            EXPECT_EQ(form.FocusedId(), IDC_NODULE_LIST);
        }
        // Once back, they are no longer deleted: Ctrl+Z brings nothing more.
        const std::vector<std::wstring> restored = RowTexts(form);
        form.PressCtrl('Z');
        EXPECT_EQ(RowTexts(form), restored);
    }
}

namespace {

// The input method completes, at a moment of its own, what it still composes.
void CompleteWhenTheInputMethodLikes(FormDriver& form) {
    HWND hFocus = GetFocus();
    HIMC hImc = ImmGetContext(hFocus);
    ImmNotifyIME(hImc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
    ImmReleaseContext(hFocus, hImc);
    form.Pump();
}

// The Korean input method of Windows 10 and 11 may complete this way: the
// composition ends at once, and its syllable follows as characters posted
// after the call has returned.
BOOL WINAPI CompleteByPosting(HIMC hImc, DWORD dwAction, DWORD dwIndex, DWORD dwValue) {
    if (dwAction != NI_COMPOSITIONSTR || dwIndex != CPS_COMPLETE) return ImmNotifyIME(hImc, dwAction, dwIndex, dwValue);
    const LONG nBytes = ImmGetCompositionStringW(hImc, GCS_COMPSTR, nullptr, 0);
    std::wstring syllable(static_cast<size_t>(std::max(nBytes, 0L)) / sizeof(wchar_t), L'\0');
    ImmGetCompositionStringW(hImc, GCS_COMPSTR, syllable.data(), static_cast<DWORD>(nBytes));
    ImmNotifyIME(hImc, NI_COMPOSITIONSTR, CPS_CANCEL, 0);
    for (wchar_t ch : syllable) PostMessageW(GetFocus(), WM_CHAR, ch, 1);
    return TRUE;
}

long CountInControls(const FormDriver& form, wchar_t ch) {
    long nCount = 0;
    for (const ControlState& control : ControlStates(form))
        nCount += std::count(control.text.begin(), control.text.end(), ch);
    return nCount;
}

}  // namespace

// Hangul through an input method: the syllable still being composed when a key
// or a click acts is completed first, so that it goes with the nodule it was
// typed for. The input method hands a key on as itself or, as the Korean IME
// on Windows may, first as VK_PROCESSKEY. What it would complete after the key,
// it completes at the end here: nothing may be left to land in another edit.
TEST(CommandKeys, CompleteTheSyllableBeingComposedFirst) {
    const std::wstring TYPED = L"결절", SYLLABLE = L"갸";  // 갸: nowhere else in a report
    enum Opens { NOTHING, REPORT, QUESTION };
    const struct {
        const char* way;
        UINT vk;  // 0: a click on 판독문
        bool bCtrl;
        Opens opens;
        bool bDeletes;
        bool bPostsSyllable = false;  // the input method posts the completed syllable
    } waysOut[] = {
        {"Ctrl+Down", VK_DOWN, true, NOTHING, false},
        {"Ctrl+N", 'N', true, NOTHING, false},
        {"Ctrl+D", 'D', true, NOTHING, true},
        {"Ctrl+Enter", VK_RETURN, true, REPORT, false},
        {"Enter", VK_RETURN, false, NOTHING, false},
        {"Tab", VK_TAB, false, NOTHING, false},
        {"Esc", VK_ESCAPE, false, QUESTION, false},
        {"a click on 판독문", 0, false, REPORT, false},
        {"Ctrl+Down, the syllable posted after the completion", VK_DOWN, true, NOTHING, false, true},
    };
    for (bool bProcessKey : {false, true}) {
        for (const auto& out : waysOut) {
            if (bProcessKey && !out.vk) continue;
            SCOPED_TRACE(testing::Message() << out.way << (bProcessKey ? " as VK_PROCESSKEY" : ""));
            FormDriver form;
            for (int nLobe : {LOBE_RUL, LOBE_LLL}) {
                AddNodule(form, NODULE_SOLID, L"7", L"7");
                form.Choose(IDC_LOBE, nLobe);
                form.Click(IDC_OTHER);
            }
            form.SelectRow(0);
            const CNoduleItem* pTyped = &form.Record(0);
            form.Type(IDC_OTHER_TEXT, TYPED);
            form.Compose(IDC_OTHER_TEXT, SYLLABLE);

            std::wstring report;
            SeenMessageBox question;
            std::vector<std::wstring> others;
            {
                ModalScript script;
                if (out.opens == REPORT) script.Then(ReadReportAndPress(IDCANCEL, &report));
                if (out.opens == QUESTION) script.Then(MessageBoxAnswer(IDNO, &question));
                script.Watch(CloseAnyOtherWindow(&others));
                const auto pfnNotifyBefore =
                    std::exchange(g_pfnNotifyIME, out.bPostsSyllable ? CompleteByPosting : g_pfnNotifyIME);
                if (!out.vk)
                    form.ClickWithMouse(IDC_REPORT);
                else if (bProcessKey)
                    form.PressDuringComposition(out.vk, out.bCtrl);
                else if (out.bCtrl)
                    form.PressCtrl(out.vk);
                else
                    form.Press(out.vk);
                g_pfnNotifyIME = pfnNotifyBefore;
                EXPECT_TRUE(script.Finished());
            }
            EXPECT_EQ(others, std::vector<std::wstring>{});
            EXPECT_EQ(question.text, out.opens == QUESTION ? L"종료하시겠습니까?" : L"");
            EXPECT_EQ(std::count(report.begin(), report.end(), SYLLABLE[0]), out.opens == REPORT) << report;

            CompleteWhenTheInputMethodLikes(form);
            const bool bTypedShown = form.SelectedRow() >= 0 && &form.Record(form.SelectedRow()) == pTyped;
            EXPECT_EQ(CountInControls(form, SYLLABLE[0]), bTypedShown ? 1 : 0);
            form.Focus(IDC_COMMENTS);
            bool bTypedKept = false;
            for (int nRow = 0; nRow < form.RowCount(); ++nRow) {
                const CNoduleItem& item = form.Record(nRow);
                bTypedKept |= &item == pTyped;
                EXPECT_EQ(item.m_strOther, &item == pTyped ? TYPED + SYLLABLE : L"") << "row " << nRow;
            }
            EXPECT_EQ(bTypedKept, !out.bDeletes);
        }
    }
}
