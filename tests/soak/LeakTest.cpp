// A day's use in fast motion: records, windows and GDI objects must not pile up.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "FormDriver.h"
#include "FormSteps.h"
#include "ModalScript.h"
#include "ReportSteps.h"
#include "framework/GdiObjects.h"

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

}  // namespace

TEST(Leaks, CyclesOfAddDeleteRestoreClearAndReportLeaveNothingBehind) {
    const int nRecordsBefore = CNoduleItem::LiveCount();
    const int nGdiHandlesBefore = CGdiHandles::LiveCount();
    {
        FormDriver form;
        // One warm-up cycle: the first report dialog loads what stays loaded.
        ReadReport(form);
        const GuiObjects before = CountGuiObjects();
        const int nGdiHandlesOfTheForm = CGdiHandles::LiveCount();

        const int nCycles = Cycles();
        for (int n = 0; n < nCycles; ++n) {
            form.Click(IDC_ADD_NODULE);
            form.Click(IDC_ADD_NODULE);
            form.Click(IDC_DELETE_NODULE);
            form.PressCtrl('Z');
            form.Click(IDC_DELETE_NODULE);
            ClearAnsweringYes(form);
            ASSERT_EQ(CNoduleItem::LiveCount(), nRecordsBefore) << "cycle " << n;
            ASSERT_FALSE(ReadReport(form).empty()) << "cycle " << n;
            ASSERT_EQ(CGdiHandles::LiveCount(), nGdiHandlesOfTheForm) << "GDI handles held after cycle " << n;
        }

        // The form goes holding a deleted nodule, kept for Ctrl+Z.
        form.Click(IDC_ADD_NODULE);
        form.Click(IDC_DELETE_NODULE);

        // Windows counts every object of the process; Wine counts none and answers 0.
        const GuiObjects after = CountGuiObjects();
        std::printf("%d cycles: GDI objects %lu -> %lu, USER objects %lu -> %lu\n", nCycles, before.gdi, after.gdi,
                    before.user, after.user);
        if (before.gdi != 0) {
            EXPECT_EQ(after.gdi, before.gdi) << "GDI objects after " << nCycles << " cycles";
        }
        if (before.user != 0) {
            EXPECT_EQ(after.user, before.user) << "USER objects after " << nCycles << " cycles";
        }
    }
    EXPECT_EQ(CNoduleItem::LiveCount(), nRecordsBefore);
    EXPECT_EQ(CGdiHandles::LiveCount(), nGdiHandlesBefore) << "the form's font, logo or icon outlived it";
}
