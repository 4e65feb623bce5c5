// A day's use in fast motion: records, windows and GDI objects must not pile up.
#include <gtest/gtest.h>

#include <cstdlib>

#include "FormDriver.h"
#include "ModalScript.h"

namespace {

// The whole thousand takes minutes under Wine; the test suite runs a share of it.
int Cycles() {
    const char* value = std::getenv("PULMETRA_LEAK_CYCLES");
    return value && *value ? std::atoi(value) : 1000;
}

struct GuiObjects {
    DWORD gdi;
    DWORD user;
};

GuiObjects CountGuiObjects() {
    return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
}

// Presses a button whose answer is a modal window, and answers it.
void ClickAndAnswer(FormDriver& form, int nIDC, std::function<bool()> answer) {
    ModalScript script;
    script.Then(std::move(answer));
    form.Click(nIDC);
    ASSERT_TRUE(script.Finished()) << "no window to answer after clicking " << nIDC;
}

bool CloseReport() {
    HWND hReport = FindDialog(L"판독문");
    if (!hReport) return false;
    SendMessageW(GetDlgItem(hReport, IDCANCEL), BM_CLICK, 0, 0);
    return true;
}

bool AnswerYes() {
    HWND hBox = FindMessageBox();
    if (!hBox) return false;
    SendMessageW(GetDlgItem(hBox, IDYES), BM_CLICK, 0, 0);
    return true;
}

}  // namespace

TEST(Leaks, CyclesOfAddDeleteClearAndReportLeaveNothingBehind) {
    const int nRecordsBefore = CNoduleItem::LiveCount();
    {
        FormDriver form;
        // One warm-up cycle: the first report dialog loads what stays loaded.
        ClickAndAnswer(form, IDC_REPORT, CloseReport);
        const GuiObjects before = CountGuiObjects();

        const int nCycles = Cycles();
        for (int n = 0; n < nCycles; ++n) {
            form.Click(IDC_ADD_NODULE);
            form.Click(IDC_ADD_NODULE);
            form.Click(IDC_DELETE_NODULE);
            ClickAndAnswer(form, IDC_CLEAR, AnswerYes);
            ASSERT_EQ(CNoduleItem::LiveCount(), nRecordsBefore) << "cycle " << n;
            ClickAndAnswer(form, IDC_REPORT, CloseReport);
        }

        const GuiObjects after = CountGuiObjects();
        // Where the platform does not count them (Wine), both stay 0.
        EXPECT_EQ(after.gdi, before.gdi) << "GDI objects after " << nCycles << " cycles";
        EXPECT_EQ(after.user, before.user) << "USER objects after " << nCycles << " cycles";
        std::printf("%d cycles: GDI objects %lu -> %lu, USER objects %lu -> %lu\n", nCycles, before.gdi, after.gdi,
                    before.user, after.user);
    }
    EXPECT_EQ(CNoduleItem::LiveCount(), nRecordsBefore);
}
