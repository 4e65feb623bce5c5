// Promises of the dialog framework that no handler of the program can put to
// the test: a dialog of the test's own, on the About box's template.
#include <windows.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "FormSteps.h"
#include "framework/Dialog.h"
#include "res/resource.h"

namespace {

constexpr int IDC_THROWS = 2001;
// A message that the test dialog's own filter fails on, as a key step of the form's filter might.
constexpr UINT WM_FILTER_FAILS = WM_APP + 1;
const std::wstring HANDLER_FAILED =
    L"처리하지 못한 오류가 발생했습니다. 방금 한 동작이 반영되지 않았을 수 있으니 입력한 내용과 범주를 확인하십시오.";

// Changing its caption asks for the dialog manager's own handling (which sets
// the text), then runs a command whose handler throws.
class CThrowingDlg : public CDialog {
public:
    CThrowingDlg() : CDialog(IDD_ABOUTBOX) {}

    void OnSetText() {
        Default();
        SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_THROWS, BN_CLICKED), 0);
    }
    void OnThrowsClicked() { throw std::runtime_error("a handler failed"); }
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_FILTER_FAILS) throw std::runtime_error("the filter failed");
        return CDialog::PreTranslateMessage(pMsg);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingDlg, CDialog)
    ON_MESSAGE_VOID(WM_SETTEXT, &CThrowingDlg::OnSetText)
    ON_BN_CLICKED(IDC_THROWS, &CThrowingDlg::OnThrowsClicked)
END_MESSAGE_MAP()

}  // namespace

TEST(Dialog, AnExceptionInANestedHandlerKeepsTheDefaultHandlingTheOuterOneAskedFor) {
    CThrowingDlg dlg;
    ASSERT_TRUE(dlg.CreateModal());
    std::vector<SeenMessageBox> seen;
    ModalScript script;
    script.AnswerEveryMessageBox(IDOK, &seen);

    SetWindowTextW(dlg.GetSafeHwnd(), L"바뀐 제목");

    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, HANDLER_FAILED);
    EXPECT_EQ(GetWindowTextString(dlg.GetSafeHwnd()), L"바뀐 제목");
    dlg.DestroyModal();
}

TEST(Dialog, AnExceptionInTheLoopsFilterIsReportedAndTheDialogRunsOn) {
    CThrowingDlg dlg;
    ASSERT_TRUE(dlg.CreateModal());
    SeenMessageBox seen;
    ModalScript script;
    script.AnswerMessageBox(IDOK, &seen).Then([&dlg] {
        dlg.EndDialog(IDOK);
        return true;
    });

    PostMessageW(dlg.GetSafeHwnd(), WM_FILTER_FAILS, 0, 0);
    EXPECT_EQ(dlg.RunModalLoop(), IDOK);

    EXPECT_EQ(seen.text, HANDLER_FAILED);
    dlg.DestroyModal();
}
