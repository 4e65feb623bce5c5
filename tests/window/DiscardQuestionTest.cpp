// Escape pressed by habit, or "지우기", then a reflexive Enter: the question keeps
// its text and buttons, but while the form holds anything the reader entered,
// 아니요 is its default button and Enter keeps the exam.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "FormDriver.h"
#include "FormSteps.h"
#include "ModalScript.h"

namespace {

struct Entry {
    const char* name;
    std::function<void(FormDriver&)> enter;
    bool bHoldsEntry;
};

void SetPriorCtDateToAnotherDay(FormDriver& form) {
    SYSTEMTIME date{};
    SendMessageW(form.Item(IDC_PRIOR_CT_DATE), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    date.wDay = date.wDay == 1 ? 2 : 1;
    SendMessageW(form.Item(IDC_PRIOR_CT_DATE), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
}

const Entry ENTRIES[] = {
    {"nothing", [](FormDriver&) {}, false},
    {"a nodule added and deleted again",
     [](FormDriver& form) {
         form.Click(IDC_ADD_NODULE);
         form.Click(IDC_DELETE_NODULE);
     },
     false},
    {"a nodule", [](FormDriver& form) { form.Click(IDC_ADD_NODULE); }, true},
    {"the prior-cancer box", [](FormDriver& form) { form.Click(IDC_PRIOR_CANCER); }, true},
    {"a finding", [](FormDriver& form) { form.Click(IDC_EMPHYSEMA); }, true},
    {"a note whose box was unticked again",
     [](FormDriver& form) {
         form.Click(IDC_SIGNIFICANT_OTHER);
         form.Type(IDC_SIGNIFICANT_OTHER_NOTE, L"갑상선 결절");
         form.Click(IDC_SIGNIFICANT_OTHER);
     },
     true},
    {"a comment being typed", [](FormDriver& form) { form.Type(IDC_COMMENTS, L"이전 검사와 비교"); }, true},
    {"a dose", [](FormDriver& form) { form.Type(IDC_CTDIVOL, L"1.2"); }, true},
    {"a follow-up CT", [](FormDriver& form) { form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT); }, true},
    {"a prior-CT date, the CT set back to baseline",
     [](FormDriver& form) {
         form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
         SetPriorCtDateToAnotherDay(form);
         form.Choose(IDC_CT_TYPE, BASELINE_CT);
     },
     true},
    {"a severity whose box was unticked again",
     [](FormDriver& form) {
         form.Click(IDC_CORONARY);
         form.Choose(IDC_CORONARY_SEVERITY, SEVERE);
         form.Click(IDC_CORONARY);
     },
     true},
};

// What the reader saw on the question before pressing Enter.
struct SeenQuestion {
    SeenMessageBox box;
    std::vector<int> defaultButtons;  // the buttons drawn as the default (BS_DEFPUSHBUTTON)
    bool bHadFocus = false;
};

// A person presses Enter once the box has the keyboard focus. A box that never
// gets it is answered No after a while, so that the fault fails the test.
std::function<bool()> PressEnterInTheQuestion(SeenQuestion* seen) {
    return [seen, deadline = ULONGLONG{0}]() mutable {
        HWND hBox = FindMessageBox();
        if (!hBox) return false;
        if (deadline == 0) deadline = GetTickCount64() + 3000;
        HWND hFocus = GetFocus();
        seen->bHadFocus = hFocus && IsChild(hBox, hFocus);
        if (!seen->bHadFocus && GetTickCount64() < deadline) return false;
        seen->box = ReadMessageBox(hBox);
        // Wine's DM_GETDEFID answers IDOK for every message box; the style is what both systems show.
        for (int nButton : seen->box.buttons) {
            const LONG style = GetWindowLongW(GetDlgItem(hBox, nButton), GWL_STYLE);
            if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) seen->defaultButtons.push_back(nButton);
        }
        if (!seen->bHadFocus) {
            SendMessageW(GetDlgItem(hBox, IDNO), BM_CLICK, 0, 0);
            return true;
        }
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC)) << 16;
        PostMessageW(hFocus, WM_KEYDOWN, VK_RETURN, scan | 1);
        PostMessageW(hFocus, WM_KEYUP, VK_RETURN, scan | 0xC0000001);
        return true;
    };
}

// Asks the question after each entry, answers it with Enter, and checks what
// the default button was and what Enter did. `bYesEnds`: Yes ends the form.
void AnswerWithEnterAfterEachEntry(const wchar_t* question, const std::function<void(FormDriver&)>& ask, bool bYesEnds) {
    for (const Entry& entry : ENTRIES) {
        SCOPED_TRACE(entry.name);
        FormDriver form;
        entry.enter(form);
        const std::vector<ControlState> before = ControlStates(form);
        const std::vector<std::wstring> rowsBefore = RowTexts(form);

        SeenQuestion seen;
        {
            ModalScript script;
            script.Then(PressEnterInTheQuestion(&seen));
            ask(form);
            form.Pump();
            EXPECT_TRUE(script.Finished());
        }
        EXPECT_EQ(seen.box.text, question);
        EXPECT_EQ(seen.box.icon, IDI_QUESTION);
        EXPECT_EQ(seen.box.buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_TRUE(seen.bHadFocus) << "the question never had the keyboard focus";
        EXPECT_EQ(seen.defaultButtons, std::vector<int>{entry.bHoldsEntry ? IDNO : IDYES});
        if (entry.bHoldsEntry) {
            EXPECT_TRUE(form.Dialog().IsModalRunning());
            EXPECT_EQ(ControlStates(form), before) << "Enter threw the entry away";
            EXPECT_EQ(RowTexts(form), rowsBefore);
        } else {
            EXPECT_EQ(form.Dialog().IsModalRunning(), !bYesEnds) << "Enter did not answer Yes";
        }
    }
}

}  // namespace

TEST(DiscardQuestion, EscapeThenEnterEndsOnlyAnUntouchedForm) {
    AnswerWithEnterAfterEachEntry(L"종료하시겠습니까?", [](FormDriver& form) { form.Press(VK_ESCAPE); }, true);
}

TEST(DiscardQuestion, ClearThenEnterEmptiesOnlyAnUntouchedForm) {
    AnswerWithEnterAfterEachEntry(L"모든 내용을 삭제하시겠습니까?", [](FormDriver& form) { form.Click(IDC_CLEAR); },
                                  false);
}
