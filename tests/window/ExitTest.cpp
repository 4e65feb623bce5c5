// Leaving the program: every way out of the form asks first; Yes ends the
// modal run and frees every nodule, No keeps everything as it was. While the
// form holds entries No is the default, so that a reflexive Enter keeps them.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "FormDriver.h"
#include "FormSteps.h"
#include "ModalScript.h"
#include "framework/WindowText.h"
#include "model/NoduleItem.h"

namespace {

const std::wstring EXIT_QUESTION = L"종료하시겠습니까?";
const std::wstring COMMENT = L"이전 검사와 비교함.";
constexpr int NODULES_ADDED = 3;
constexpr INT_PTR GAVE_UP = -2;

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
    double dLongAxisAfterNo = 0;    // the selected nodule's, which EnterSomething leaves at 0
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
    {"Alt+F4",
     [](HWND hForm) {
         SetFocus(GetDlgItem(hForm, IDC_COMMENTS));
         PostKey(GetFocus(), VK_F4, true);
     }},
    // The long axis commits as the question takes the focus, and leaves it there.
    {"Escape at the long axis holding a typed 6",
     [](HWND hForm) {
         SetFocus(GetDlgItem(hForm, IDC_LONG_AXIS));
         PostMessageW(GetFocus(), WM_CHAR, L'6', 1);
         PostKey(GetFocus(), VK_ESCAPE);
     },
     6.0001},
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
    double longAxis = 0;
};

// One modal run of the form, driven by a script from inside its loop.
class ExitRun {
public:
    explicit ExitRun(const ExitWay& way) : m_way(way) {}

    INT_PTR Run() {
        // A window that never comes fails the test; the run then ends here.
        m_script.OnGiveUp([this] {
            m_bGaveUp = true;
            m_dlg.EndDialog(static_cast<int>(GAVE_UP));
        });
        m_script.Then(
            [this] {
                m_hForm = m_dlg.GetSafeHwnd();
                return m_hForm && IsWindowVisible(m_hForm);
            },
            "the form");
        Step([this] { EnterSomething(); });
        Step([this] { m_way.ask(m_hForm); });
        m_script.AnswerWithEnter(&m_askedFirst);
        Step([this] { m_afterNo = ReadForm(); });
        Step([this] { m_way.ask(m_hForm); });
        // Nothing may follow the Yes: no validation prompt, no second question.
        m_script.AnswerMessageBox(IDYES, &m_askedSecond).AnswerEveryMessageBox(IDOK, &m_laterBoxes);
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
        LVITEMW selected{};
        selected.mask = LVIF_PARAM;
        selected.iItem = static_cast<int>(
            SendDlgItemMessageW(m_hForm, IDC_NODULE_LIST, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        if (SendDlgItemMessageW(m_hForm, IDC_NODULE_LIST, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&selected)))
            state.longAxis = reinterpret_cast<const CNoduleItem*>(selected.lParam)->m_dLongAxis;
        return state;
    }

    void Step(std::function<void()> action) {
        m_script.Then([action] {
            action();
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
        EXPECT_DOUBLE_EQ(run.m_afterNo.longAxis, way.dLongAxisAfterNo);

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
    EXPECT_EQ(result, IDABORT) << "-1 would say the form could not be created";
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

// Signing out, shutting down or an update restart: Windows asks every program
// first. While the form holds entries the answer is no, with the reason Windows
// lists beside the program; the form stays as it was. The reason goes once the
// form is emptied or closed, or when Windows asks again of an empty form.
TEST(Exit, TheWindowsSessionWaitsWhileTheFormHoldsEntries) {
    const std::wstring REASON = L"입력 중인 검사가 있습니다. 판독문을 복사한 뒤 Pulmetra를 종료하십시오.";
    const auto askToEnd = [](FormDriver& form) {
        return SendMessageW(form.Form(), WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP);
    };
    const struct {
        const char* entered;
        std::function<void(FormDriver&)> enter;
        bool bHolds;
        std::function<void(FormDriver&)> then;  // after Windows' question
        bool bReasonStays;
    } cases[] = {
        {"nothing", [](FormDriver&) {}, false, [](FormDriver&) {}, false},
        {"a nodule, then 지우기 answered 예", [](FormDriver& form) { form.Click(IDC_ADD_NODULE); }, true,
         ClearAnsweringYes, false},
        {"a ticked finding", [](FormDriver& form) { form.Click(IDC_CORONARY); }, true, [](FormDriver&) {}, true},
        {"a comment, then the form closed", [](FormDriver& form) { form.Type(IDC_COMMENTS, COMMENT); }, true,
         [](FormDriver& form) { form.Dialog().DestroyModal(); }, false},
        {"a nodule deleted after Windows asked",
         [askToEnd](FormDriver& form) {
             form.Click(IDC_ADD_NODULE);
             askToEnd(form);
             form.Click(IDC_DELETE_NODULE);
         },
         false, [](FormDriver&) {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entered);
        FormDriver form;
        c.enter(form);
        const int nRows = form.RowCount();
        EXPECT_EQ(askToEnd(form), c.bHolds ? FALSE : TRUE);
        EXPECT_EQ(form.Dialog().ShutdownBlockReason(), c.bHolds ? REASON : L"");
        form.Pump();
        EXPECT_TRUE(form.Dialog().IsModalRunning());
        EXPECT_TRUE(IsWindowVisible(form.Form()) && IsWindowEnabled(form.Form()));
        EXPECT_EQ(form.RowCount(), nRows);
        c.then(form);
        EXPECT_EQ(form.Dialog().ShutdownBlockReason(), c.bReasonStays ? REASON : L"");
    }
}
