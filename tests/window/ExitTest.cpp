// Leaving the program: every way out of the form asks first; Yes ends the
// modal run and frees every nodule, No keeps everything as it was. While the
// form holds entries No is the default, so that a reflexive Enter keeps them.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FormDriver.h"
#include "ModalScript.h"
#include "framework/WindowText.h"
#include "model/NoduleItem.h"

namespace {

const std::wstring APP_NAME = L"window_tests";
const std::wstring EXIT_QUESTION = L"종료하시겠습니까?";
const std::wstring COMMENT = L"이전 검사와 비교함.";
constexpr int NODULES_ADDED = 3;
// A step that waits longer than this for its window gives the run up, so that
// a fault fails the test instead of hanging it.
constexpr ULONGLONG PATIENCE_MS = 5000;
constexpr INT_PTR GAVE_UP = -2;
constexpr int ENTER = 0;

void PostKey(HWND hTarget, UINT vk, bool bAlt = false) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    const LPARAM context = bAlt ? (1L << 29) : 0;
    const UINT down = bAlt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const UINT up = bAlt ? WM_SYSKEYUP : WM_KEYUP;
    PostMessageW(hTarget, down, vk, scan | context | 1);
    PostMessageW(hTarget, up, vk, scan | context | 0xC0000001);
}

// Escape pressed while the given control has the focus.
std::function<void(HWND)> EscapeAt(int nIDC) {
    return [nIDC](HWND hForm) {
        SetFocus(GetDlgItem(hForm, nIDC));
        PostKey(GetFocus(), VK_ESCAPE);
    };
}

struct ExitWay {
    const char* name;
    std::function<void(HWND)> ask;  // what the reader does, once the form is up
};

const ExitWay EXIT_WAYS[] = {
    {"the exit button", [](HWND hForm) { PostMessageW(GetDlgItem(hForm, IDCANCEL), BM_CLICK, 0, 0); }},
    {"Escape at the CT type combo", EscapeAt(IDC_CT_TYPE)},
    {"Escape at the dose edit", EscapeAt(IDC_CTDIVOL)},
    {"Escape at the nodule list", EscapeAt(IDC_NODULE_LIST)},
    {"Escape at the comments edit", EscapeAt(IDC_COMMENTS)},
    {"Escape at the exit button", EscapeAt(IDCANCEL)},
    // What the window manager sends for a click on the close box.
    {"the close box", [](HWND hForm) { PostMessageW(hForm, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    {"a close request", [](HWND hForm) { PostMessageW(hForm, WM_CLOSE, 0, 0); }},
    {"Alt+F4", [](HWND hForm) {
         SetFocus(GetDlgItem(hForm, IDC_COMMENTS));
         PostKey(GetFocus(), VK_F4, true);
     }},
};

// What the form held after the reader answered No.
struct FormAfterNo {
    bool visible = false;
    bool enabled = false;
    int rows = 0;
    int liveRecords = 0;
    std::wstring comments;
    std::wstring dose;
    bool coronaryTicked = false;
};

// One modal run of the form, driven by a script from inside its loop.
class ExitRun {
public:
    explicit ExitRun(const ExitWay& way) : m_way(way) {}

    INT_PTR Run() {
        Patiently([this] {
            if (!m_dlg.GetSafeHwnd() || !IsWindowVisible(m_dlg.GetSafeHwnd())) return false;
            m_hForm = m_dlg.GetSafeHwnd();
            return true;
        });
        Step([this] { EnterSomething(); });
        Step([this] { m_way.ask(m_hForm); });
        AnswerExitQuestion(ENTER, m_askedFirst);
        Step([this] { m_afterNo = ReadForm(); });
        Step([this] { m_way.ask(m_hForm); });
        AnswerExitQuestion(IDYES, m_askedSecond);
        // Nothing may follow the Yes: no validation prompt, no second question.
        m_script.Then([this] {
            if (HWND hBox = FindMessageBox()) {
                m_laterBoxes.push_back(ReadMessageBox(hBox));
                SendMessageW(GetDlgItem(hBox, IDOK), BM_CLICK, 0, 0);
            }
            return false;
        });
        return m_dlg.DoModal();
    }

    HWND m_hForm = nullptr;
    SeenMessageBox m_askedFirst, m_askedSecond;
    FormAfterNo m_afterNo;
    std::vector<SeenMessageBox> m_laterBoxes;
    bool m_bGaveUp = false;

private:
    // Nodules, a ticked finding, a comment, and a dose that is no number: the
    // exit saves nothing, so it must not complain about the dose.
    void EnterSomething() {
        for (int i = 0; i < NODULES_ADDED; ++i) SendMessageW(GetDlgItem(m_hForm, IDC_ADD_NODULE), BM_CLICK, 0, 0);
        SendMessageW(GetDlgItem(m_hForm, IDC_CORONARY), BM_CLICK, 0, 0);
        SetWindowTextW(GetDlgItem(m_hForm, IDC_COMMENTS), COMMENT.c_str());
        SetWindowTextW(GetDlgItem(m_hForm, IDC_CTDIVOL), L"abc");
    }

    FormAfterNo ReadForm() const {
        FormAfterNo state;
        state.visible = IsWindowVisible(m_hForm) != FALSE;
        state.enabled = IsWindowEnabled(m_hForm) != FALSE;
        state.rows = static_cast<int>(SendDlgItemMessageW(m_hForm, IDC_NODULE_LIST, LVM_GETITEMCOUNT, 0, 0));
        state.liveRecords = CNoduleItem::LiveCount();
        state.comments = GetWindowTextString(GetDlgItem(m_hForm, IDC_COMMENTS));
        state.dose = GetWindowTextString(GetDlgItem(m_hForm, IDC_CTDIVOL));
        state.coronaryTicked = IsDlgButtonChecked(m_hForm, IDC_CORONARY) == BST_CHECKED;
        return state;
    }

    void Step(std::function<void()> action) {
        m_script.Then([this, action] {
            if (!m_bGaveUp) action();
            return true;
        });
    }

    // ENTER is pressed once the box has the focus, and the step ends when the box
    // has gone; any other button is clicked.
    void AnswerExitQuestion(int nButton, SeenMessageBox& seen) {
        Patiently([nButton, &seen, hAnswered = HWND{}]() mutable {
            HWND hBox = FindMessageBox();
            if (hAnswered) return hBox != hAnswered;
            HWND hFocus = GetFocus();
            if (!hBox || (nButton == ENTER && !IsChild(hBox, hFocus))) return false;
            seen = ReadMessageBox(hBox);
            if (nButton != ENTER) {
                SendMessageW(GetDlgItem(hBox, nButton), BM_CLICK, 0, 0);
                return true;
            }
            PostKey(hFocus, VK_RETURN);
            hAnswered = hBox;
            return false;
        });
    }

    void Patiently(std::function<bool()> step) {
        auto deadline = std::make_shared<ULONGLONG>(0);
        m_script.Then([this, step, deadline] {
            if (m_bGaveUp) return true;
            if (step()) return true;
            if (*deadline == 0) *deadline = GetTickCount64() + PATIENCE_MS;
            if (GetTickCount64() < *deadline) return false;
            m_bGaveUp = true;
            m_dlg.EndDialog(static_cast<int>(GAVE_UP));
            return true;
        });
    }

    const ExitWay& m_way;
    CPulmetraDlg m_dlg;
    ModalScript m_script;
};

void ExpectTheExitQuestion(const SeenMessageBox& seen, int nDefaultButton) {
    EXPECT_EQ(seen.text, EXIT_QUESTION);
    EXPECT_EQ(seen.caption, APP_NAME);
    EXPECT_EQ(seen.icon, IDI_QUESTION);
    EXPECT_EQ(seen.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(seen.defaultButton, nDefaultButton);
    // Labelled as on a Korean Windows, the locale the tests run in.
    EXPECT_EQ(seen.buttonTexts, (std::vector<std::wstring>{L"예(&Y)", L"아니요(&N)"}));
}

}  // namespace

TEST(Exit, EveryWayOutAsksAndEnterKeepsTheFormWhileYesEndsItAndFreesEveryNodule) {
    for (const ExitWay& way : EXIT_WAYS) {
        SCOPED_TRACE(way.name);
        const int liveBefore = CNoduleItem::LiveCount();
        ExitRun run(way);
        const INT_PTR result = run.Run();
        ASSERT_FALSE(run.m_bGaveUp) << "a window the reader waited for never came";

        ExpectTheExitQuestion(run.m_askedFirst, IDNO);
        EXPECT_TRUE(run.m_afterNo.visible);
        EXPECT_TRUE(run.m_afterNo.enabled);
        EXPECT_EQ(run.m_afterNo.rows, NODULES_ADDED);
        EXPECT_EQ(run.m_afterNo.liveRecords, liveBefore + NODULES_ADDED);
        EXPECT_EQ(run.m_afterNo.comments, COMMENT);
        EXPECT_EQ(run.m_afterNo.dose, L"abc");
        EXPECT_TRUE(run.m_afterNo.coronaryTicked);

        ExpectTheExitQuestion(run.m_askedSecond, IDNO);
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_TRUE(run.m_laterBoxes.empty()) << "after Yes: " << testing::PrintToString(run.m_laterBoxes.front().text);
        EXPECT_FALSE(IsWindow(run.m_hForm));
        EXPECT_EQ(CNoduleItem::LiveCount(), liveBefore) << "a nodule record outlived the form";
    }
}

// Nothing entered, nothing to lose: 예 stays the default, and Enter ends the program.
TEST(Exit, OnAnUntouchedFormEnterAnswersYes) {
    FormDriver form;
    form.Click(IDC_ADD_NODULE);
    form.Click(IDC_DELETE_NODULE);
    SeenMessageBox seen;
    ModalScript script;
    script.AnswerWithEnter(&seen);
    form.Press(VK_ESCAPE);

    ExpectTheExitQuestion(seen, IDYES);
    EXPECT_FALSE(form.Dialog().IsModalRunning());
}

TEST(Exit, EnterNeverClosesTheForm) {
    const struct {
        const char* name;
        int focused;
    } places[] = {
        {"the focused exit button", IDCANCEL},
        {"the add button", IDC_ADD_NODULE},
        {"the CT type combo", IDC_CT_TYPE},
        {"the dose edit", IDC_CTDIVOL},
        {"a finding check box", IDC_INACTIVE_TB},
        {"the nodule list", IDC_NODULE_LIST},
        {"the comments edit", IDC_COMMENTS},
    };
    FormDriver form;
    std::vector<SeenMessageBox> boxes;
    ModalScript script;
    // Any box at all would be wrong; say No so that the form stays.
    script.Then([&boxes] {
        if (HWND hBox = FindMessageBox()) {
            boxes.push_back(ReadMessageBox(hBox));
            SendMessageW(GetDlgItem(hBox, IDNO), BM_CLICK, 0, 0);
            SendMessageW(GetDlgItem(hBox, IDOK), BM_CLICK, 0, 0);
        }
        return false;
    });
    for (const auto& place : places) {
        SCOPED_TRACE(place.name);
        form.Focus(place.focused);
        ASSERT_EQ(form.FocusedId(), place.focused);
        form.Press(VK_RETURN);
        EXPECT_TRUE(boxes.empty()) << testing::PrintToString(boxes.front().text);
        EXPECT_TRUE(form.Dialog().IsModalRunning());
        EXPECT_TRUE(IsWindowVisible(form.Form()));
        boxes.clear();
    }
}

// A window can also go without EndDialog (destroyed by its owner's end, or by
// code that destroys it): the modal run must end with it, not wait on.
TEST(Exit, AFormDestroyedWithoutEndDialogEndsItsModalRunAndFreesEveryNodule) {
    const int liveBefore = CNoduleItem::LiveCount();
    CPulmetraDlg dlg;
    bool bGaveUp = false;
    ModalScript script;
    script.Then([&dlg] {
        HWND hForm = dlg.GetSafeHwnd();
        if (!hForm || !IsWindowVisible(hForm)) return false;
        for (int i = 0; i < NODULES_ADDED; ++i) SendMessageW(GetDlgItem(hForm, IDC_ADD_NODULE), BM_CLICK, 0, 0);
        DestroyWindow(hForm);
        return true;
    });
    // A tick later the run has ended, or waits on: then this ends it, so that the
    // fault fails the test instead of hanging it.
    script.Then([&dlg, &bGaveUp, bTicked = false]() mutable {
        if (!std::exchange(bTicked, true)) return false;
        bGaveUp = true;
        dlg.EndDialog(static_cast<int>(GAVE_UP));
        return true;
    });
    const INT_PTR result = dlg.DoModal();
    EXPECT_FALSE(bGaveUp) << "the modal loop kept waiting for a destroyed form";
    EXPECT_EQ(result, -1);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    EXPECT_EQ(CNoduleItem::LiveCount(), liveBefore);
}

// The form object may go while its window is still up (an early return, an
// exception through the loop): the window goes first, as the form's, whose
// WM_DESTROY handling frees the nodules.
TEST(Exit, AFormThatGoesWithItsWindowStillUpFreesEveryNodule) {
    const int liveBefore = CNoduleItem::LiveCount();
    HWND hForm = nullptr;
    {
        CPulmetraDlg dlg;
        ASSERT_TRUE(dlg.CreateModal());
        hForm = dlg.GetSafeHwnd();
        for (int i = 0; i < NODULES_ADDED; ++i) SendMessageW(GetDlgItem(hForm, IDC_ADD_NODULE), BM_CLICK, 0, 0);
        ASSERT_EQ(CNoduleItem::LiveCount(), liveBefore + NODULES_ADDED);
    }
    EXPECT_FALSE(IsWindow(hForm));
    EXPECT_EQ(CNoduleItem::LiveCount(), liveBefore) << "the form's WM_DESTROY handling did not run";
}
