// Every dialog on the screen it opens on. The display scale and the screen of
// the Wine session decide the font: the template's where the dialog fits, else
// the largest that fits; the layout only scales. tests/window/display_scales.sh
// runs these once per display scale, screen and stand-in face; in the ordinary
// session they check the screen at hand.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ChildWindows.h"
#include "FormDriver.h"
#include "FormSteps.h"
#include "ModalScript.h"
#include "form/AboutDlg.h"
#include "framework/DialogTemplate.h"
#include "model/Labels.h"
#include "model/NoduleItem.h"
#include "report/DlgReading.h"

namespace {

constexpr int MIN_CHAR_HEIGHT_PX = 10;
constexpr int POINTS_PER_INCH = 72;

int ScreenDpi() {
    HDC hScreen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(hScreen, LOGPIXELSY);
    ReleaseDC(nullptr, hScreen);
    return dpi;
}

// All three dialogs open on the primary monitor: the form has no owner, the others are the form's.
RECT WorkArea() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return monitor.rcWork;
}

SIZE SizeOf(const RECT& rect) { return {rect.right - rect.left, rect.bottom - rect.top}; }

bool Fits(SIZE size, const RECT& area) {
    return size.cx <= area.right - area.left && size.cy <= area.bottom - area.top;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

RECT WindowRect(HWND hWnd) {
    RECT rect;
    GetWindowRect(hWnd, &rect);
    return rect;
}

// The whole point size the dialog manager made the dialog's font from; 0 if none.
int PointSizeOf(HWND hDlg, int dpi) {
    const LONG height = FontOf(hDlg).lfHeight;
    for (int points = 1; points <= POINTS_PER_INCH; ++points)
        if (-MulDiv(points, dpi, POINTS_PER_INCH) == height) return points;
    return 0;
}

INT_PTR CALLBACK DoNothing(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A window made straight from a template by the dialog manager, for comparison.
struct BareDialog {
    HWND hWnd;
    explicit BareDialog(const DLGTEMPLATE* pTemplate)
        : hWnd(CreateDialogIndirectParamW(GetModuleHandleW(nullptr), pTemplate, nullptr, &DoNothing, 0)) {}
    ~BareDialog() {
        if (hWnd) DestroyWindow(hWnd);
    }
    BareDialog(const BareDialog&) = delete;
    BareDialog& operator=(const BareDialog&) = delete;
};

// The template the dialog is shown from differs from the resource in its point size only.
void CheckOnlyThePointSizeDiffers(UINT nIDTemplate, const DLGTEMPLATE* pShown, int nPoints) {
    HMODULE hModule = GetModuleHandleW(nullptr);
    HRSRC hFound = FindResourceW(hModule, MAKEINTRESOURCEW(nIDTemplate), RT_DIALOG);
    const BYTE* resource = static_cast<const BYTE*>(LockResource(LoadResource(hModule, hFound)));
    const BYTE* shown = reinterpret_cast<const BYTE*>(pShown);
    std::vector<size_t> differing;
    for (size_t i = 0; i < SizeofResource(hModule, hFound); ++i)
        if (resource[i] != shown[i]) differing.push_back(i);
    if (differing.empty()) return;
    const size_t at = differing.front() & ~size_t{1};
    EXPECT_LE(differing.back(), at + 1) << "more than one field of the template changed";
    WORD nShownPoints;
    memcpy(&nShownPoints, shown + at, sizeof nShownPoints);
    EXPECT_EQ(nShownPoints, nPoints) << "the changed field is not the point size";
}

// Two controls overlap where their windows do; a group box only frames the
// controls inside it. Controls that abut in dialog units may share one row or
// column of pixels: the dialog manager rounds each one's place and size apart.
void CheckNoControlOverlapsAnother(HWND hDlg, const std::vector<HWND>& children) {
    std::vector<std::pair<int, RECT>> controls;
    for (HWND hChild : children) {
        const bool bGroupBox =
            ClassOf(hChild) == L"Button" && (GetWindowLongW(hChild, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
        if (!bGroupBox) controls.emplace_back(GetDlgCtrlID(hChild), ChildRect(hDlg, hChild));
    }
    for (size_t i = 0; i < controls.size(); ++i) {
        for (size_t j = i + 1; j < controls.size(); ++j) {
            RECT overlap;
            const bool bOverlap = IntersectRect(&overlap, &controls[i].second, &controls[j].second) &&
                                  SizeOf(overlap).cx > 1 && SizeOf(overlap).cy > 1;
            EXPECT_FALSE(bOverlap) << "control " << controls[i].first << " overlaps control " << controls[j].first;
        }
    }
}

// The font size, the window's place and scroll bars, and the controls against the template.
void CheckDialogOnScreen(HWND hDlg, UINT nIDTemplate, const char* name) {
    SCOPED_TRACE(name);
    const int dpi = ScreenDpi();
    const RECT area = WorkArea();
    CDialogTemplate dialogTemplate(nIDTemplate);
    const int nTemplatePoints = dialogTemplate.GetPointSize();
    const int nPoints = PointSizeOf(hDlg, dpi);
    const RECT window = WindowRect(hDlg);
    const SIZE size = SizeOf(window);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hDlg, GWL_STYLE));
    std::printf("[ display  ] %s: %d pt, window %ld x %ld at (%ld, %ld)%s; work area %ld x %ld at %d dpi\n", name,
                nPoints, size.cx, size.cy, window.left, window.top,
                (style & (WS_VSCROLL | WS_HSCROLL)) ? ", scrolls" : "", area.right - area.left, area.bottom - area.top,
                dpi);

    ASSERT_GT(nPoints, 0);
    // The size the framework computed before creating the window, without scroll bars.
    const SIZE computed = dialogTemplate.GetWindowSize(static_cast<WORD>(nPoints));
    const bool bFits = Fits(computed, area);
    EXPECT_GE(MulDiv(nPoints, dpi, POINTS_PER_INCH), MIN_CHAR_HEIGHT_PX) << "characters below a legible height";
    const bool bSmallest = MulDiv(nPoints - 1, dpi, POINTS_PER_INCH) < MIN_CHAR_HEIGHT_PX;
    EXPECT_TRUE(bFits || bSmallest) << "does not fit, yet a smaller font was left";
    if (nPoints != nTemplatePoints) {
        EXPECT_LT(nPoints, nTemplatePoints);
        // One point larger, shown by the dialog manager, would not have fitted.
        dialogTemplate.SetPointSize(static_cast<WORD>(nPoints + 1));
        BareDialog larger(dialogTemplate.Get());
        ASSERT_NE(larger.hWnd, nullptr);
        EXPECT_FALSE(Fits(SizeOf(WindowRect(larger.hWnd)), area)) << "a larger font would have fitted";
    }

    // Inside the work area, centred where there is room.
    EXPECT_TRUE(Inside(window, area)) << "the window leaves the work area";
    EXPECT_EQ(window.left, area.left + (area.right - area.left - size.cx) / 2);
    EXPECT_EQ(window.top, area.top + (area.bottom - area.top - size.cy) / 2);

    // The dialog manager's own window from the template in the font shown.
    CDialogTemplate shownTemplate(nIDTemplate);
    if (nPoints != nTemplatePoints) shownTemplate.SetPointSize(static_cast<WORD>(nPoints));
    CheckOnlyThePointSizeDiffers(nIDTemplate, shownTemplate.Get(), nPoints);
    BareDialog bare(shownTemplate.Get());
    ASSERT_NE(bare.hWnd, nullptr);
    const SIZE bareSize = SizeOf(WindowRect(bare.hWnd));
    EXPECT_EQ(computed.cx, bareSize.cx);
    EXPECT_EQ(computed.cy, bareSize.cy);
    if (bFits) {
        EXPECT_EQ(size.cx, computed.cx);
        EXPECT_EQ(size.cy, computed.cy);
    }

    // Along each axis the layout is shown whole, or a scroll bar spans it and the
    // window takes the whole work area.
    RECT client, layout;
    GetClientRect(hDlg, &client);
    GetClientRect(bare.hWnd, &layout);
    POINT scrolled{};
    const struct {
        const char* axis;
        int nBar;
        DWORD dwBarStyle;
        LONG nView, nLayout, nWindow, nArea;
        LONG& nPos;
    } axes[] = {
        {"across", SB_HORZ, WS_HSCROLL, client.right, layout.right, size.cx, area.right - area.left, scrolled.x},
        {"down", SB_VERT, WS_VSCROLL, client.bottom, layout.bottom, size.cy, area.bottom - area.top, scrolled.y},
    };
    for (const auto& axis : axes) {
        SCOPED_TRACE(axis.axis);
        const bool bScrolls = axis.nLayout > axis.nView;
        EXPECT_EQ((style & axis.dwBarStyle) != 0, bScrolls) << "scroll bar";
        if (!bScrolls) {
            EXPECT_EQ(axis.nView, axis.nLayout) << "the client area differs from the layout's";
            continue;
        }
        EXPECT_EQ(axis.nWindow, axis.nArea) << "a scrolling dialog takes the whole work area";
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        ASSERT_TRUE(GetScrollInfo(hDlg, axis.nBar, &info));
        EXPECT_EQ(info.nMin, 0);
        EXPECT_EQ(info.nMax + 1, axis.nLayout);
        EXPECT_EQ(static_cast<LONG>(info.nPage), axis.nView);
        axis.nPos = info.nPos;
    }

    // The layout only scales: the controls stand, inside the layout, exactly where
    // the dialog manager puts them, wherever the view is scrolled to.
    const std::vector<HWND> children = ChildrenInOrder(hDlg);
    const std::vector<HWND> bareChildren = ChildrenInOrder(bare.hWnd);
    ASSERT_EQ(children.size(), bareChildren.size());
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "control #" << i << " id " << GetDlgCtrlID(bareChildren[i]));
        EXPECT_EQ(GetDlgCtrlID(children[i]), GetDlgCtrlID(bareChildren[i]));
        RECT rect = ChildRect(hDlg, children[i]);
        OffsetRect(&rect, scrolled.x, scrolled.y);
        EXPECT_TRUE(Inside(rect, layout)) << "cut by the edge of the layout";
        if (GetDlgCtrlID(children[i]) == IDC_LOGO) continue;  // placed by the form at run time
        const RECT bareRect = ChildRect(bare.hWnd, bareChildren[i]);
        EXPECT_TRUE(EqualRect(&bareRect, &rect)) << "moved";
    }
    CheckNoControlOverlapsAnother(hDlg, children);
}

// Every control that takes the focus, reached with Tab once round the dialog,
// comes wholly into view when it does.
void CheckEveryStopComesIntoView(HWND hDlg, const std::function<void()>& pump) {
    std::set<HWND> stops;
    for (HWND hChild : ChildrenInOrder(hDlg))
        if ((GetWindowLongW(hChild, GWL_STYLE) & WS_TABSTOP) && IsWindowEnabled(hChild) && IsWindowVisible(hChild))
            stops.insert(hChild);
    RECT view;
    GetClientRect(hDlg, &view);
    std::set<HWND> reached;
    for (size_t i = 0; i < stops.size(); ++i) {
        PostKey(GetFocus(), VK_TAB);
        pump();
        const HWND hControl = ControlWithFocus(hDlg);
        ASSERT_NE(hControl, nullptr) << "the focus left the dialog";
        reached.insert(hControl);
        const RECT control = ChildRect(hDlg, hControl);
        EXPECT_TRUE(Inside(control, view)) << "control " << GetDlgCtrlID(hControl) << " took the focus out of view";
        // Its caption beside it, where the two fit the view together.
        const HWND hLabel = GetWindow(hControl, GW_HWNDPREV);
        if (!hLabel || ClassOf(hLabel) != L"Static" || (GetWindowLongW(hLabel, GWL_STYLE) & SS_TYPEMASK) > SS_RIGHT)
            continue;
        const RECT label = ChildRect(hDlg, hLabel);
        RECT both;
        UnionRect(&both, &label, &control);
        if (label.top < control.bottom && control.top < label.bottom && SizeOf(both).cx < SizeOf(view).cx) {
            EXPECT_TRUE(Inside(label, view)) << "the label of control " << GetDlgCtrlID(hControl) << " is out of view";
        }
    }
    EXPECT_EQ(reached.size(), stops.size()) << "Tab did not reach every control that takes the focus";
}

// The text of 1037 is centred vertically in its box, so every label's ink must
// lie within the box when the text's cell is centred there.
void CheckFinalCategoryFitsItsBox(HWND hCategory) {
    RECT box;
    GetClientRect(hCategory, &box);
    HDC hdc = GetDC(hCategory);
    HGDIOBJ hOldFont = SelectObject(hdc, reinterpret_cast<HFONT>(SendMessageW(hCategory, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(hdc, &metrics);
    const LONG baseline = (box.bottom - metrics.tmHeight) / 2 + metrics.tmAscent;
    for (int category = CAT_0; category <= CAT_4X; ++category) {
        for (const wchar_t* modifier : {L"", L"S"}) {
            const std::wstring label = CategoryText(category) + modifier;
            SCOPED_TRACE(testing::Message() << "label " << testing::PrintToString(label));
            SIZE extent{};
            GetTextExtentPoint32W(hdc, label.c_str(), static_cast<int>(label.size()), &extent);
            EXPECT_LE(extent.cx, box.right);
            for (wchar_t ch : label) {
                GLYPHMETRICS glyph{};
                const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
                ASSERT_NE(GetGlyphOutlineW(hdc, ch, GGO_METRICS, &glyph, 0, nullptr, &identity), GDI_ERROR);
                EXPECT_GE(baseline - glyph.gmptGlyphOrigin.y, 0)
                    << "the top of '" << static_cast<char>(ch) << "' is cut";
                EXPECT_LE(baseline - glyph.gmptGlyphOrigin.y + static_cast<LONG>(glyph.gmBlackBoxY), box.bottom)
                    << "the bottom of '" << static_cast<char>(ch) << "' is cut";
            }
        }
    }
    SelectObject(hdc, hOldFont);
    ReleaseDC(hCategory, hdc);
}

}  // namespace

// The scale and screen that display_scales.sh started the session with, when it did.
TEST(DisplayFit, TheSessionHasTheScaleAndScreenItWasStartedWith) {
    const char* dpi = std::getenv("PULMETRA_EXPECTED_DPI");
    const char* screen = std::getenv("PULMETRA_EXPECTED_SCREEN");
    if (!dpi || !screen) GTEST_SKIP() << "an ordinary session: any scale and screen";
    long width = 0, height = 0;
    ASSERT_EQ(std::sscanf(screen, "%ldx%ld", &width, &height), 2);
    EXPECT_EQ(ScreenDpi(), std::atoi(dpi));
    const RECT area = WorkArea();
    EXPECT_EQ(area.right - area.left, width);
    EXPECT_EQ(area.bottom - area.top, height);
}

TEST(DisplayFit, EveryDialogFitsTheScreenWithItsLayoutOnlyScaled) {
    FormDriver form;
    CheckDialogOnScreen(form.Form(), IDD_PULMETRA_DIALOG, "form");

    // The form's own drawing follows its font: the category font and the logo.
    EXPECT_EQ(FontOf(form.Item(IDC_FINAL_CATEGORY)).lfHeight, 4 * FontOf(form.Form()).lfHeight);
    CheckFinalCategoryFitsItsBox(form.Item(IDC_FINAL_CATEGORY));
    const RECT group = ChildRect(form.Form(), form.Item(IDC_NODULE_GROUP));
    const RECT logo = ChildRect(form.Form(), form.Item(IDC_LOGO));
    EXPECT_EQ(logo.bottom, group.top - 16);
    EXPECT_EQ(logo.right, group.right - 2);

    // Every control enabled: a follow-up CT, a small part-solid nodule, every
    // finding ticked; then the nodule made solid, which offers the perifissural box.
    form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
    AddNodule(form, NODULE_PART_SOLID, L"8", L"6");
    form.Click(IDC_OTHER);
    for (int nBox : FINDING_BOXES) form.Click(nBox);
    CheckEveryStopComesIntoView(form.Form(), [&form] { form.Pump(); });
    form.Choose(IDC_NODULE_TYPE, NODULE_SOLID);
    CheckEveryStopComesIntoView(form.Form(), [&form] { form.Pump(); });

    const struct {
        const char* name;
        UINT nIDTemplate;
        std::function<std::unique_ptr<CDialog>(HWND)> make;
    } owned[] = {
        {"report dialog", IDD_REPORT, [](HWND hOwner) { return std::make_unique<CDlgReading>(hOwner); }},
        {"About box", IDD_ABOUTBOX, [](HWND hOwner) { return std::make_unique<CAboutDlg>(hOwner); }},
    };
    for (const auto& dialog : owned) {
        std::unique_ptr<CDialog> opened = dialog.make(form.Form());
        ASSERT_TRUE(opened->CreateModal());
        // Without a window manager Wine may leave no window active once the dialog
        // is gone; only the dialog's place is measured here, so only its showing is awaited.
        form.PumpUntil([&opened] { return IsWindowVisible(opened->GetSafeHwnd()) != FALSE; }, "the dialog to show");
        CheckDialogOnScreen(opened->GetSafeHwnd(), dialog.nIDTemplate, dialog.name);
        CheckEveryStopComesIntoView(opened->GetSafeHwnd(), [&opened] {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) opened->PumpMessage(msg);
        });
        opened->DestroyModal();
    }
}

// The work area as a test hands it to the dialogs, in place of the monitor's.
RECT g_rcHandedWorkArea{};
BOOL WINAPI HandedMonitorInfo(HMONITOR hMonitor, LPMONITORINFO pInfo) {
    if (!GetMonitorInfoW(hMonitor, pInfo)) return FALSE;
    pInfo->rcWork = g_rcHandedWorkArea;
    return TRUE;
}

// The work area changes under the open form (the taskbar moved, a remote session
// reconnected at another size, a monitor went): the form fits the new one as it
// fitted the first, in the font it has, with every entry, the focus and the
// selection as they were, a size still being typed included.
TEST(DisplayFit, TheFormFollowsAWorkAreaThatChanges) {
    FormDriver form;
    AddNodule(form, NODULE_SOLID, L"7", L"6");
    form.Click(IDC_ADD_NODULE);
    form.SelectRow(0);
    form.Type(IDC_LONG_AXIS, L"9");
    const LOGFONTW font = FontOf(form.Form());
    const std::vector<ControlState> entries = ControlStates(form);
    RECT layout;
    GetClientRect(form.Form(), &layout);
    OffsetRect(&layout, form.Dialog().GetScrollPosition().x, form.Dialog().GetScrollPosition().y);
    const RECT screen = WorkArea();
    const LONG nFormHeight = WindowRect(form.Form()).bottom - WindowRect(form.Form()).top;
    const bool bScrollsOnTheScreen = (GetWindowLongW(form.Form(), GWL_STYLE) & WS_VSCROLL) != 0;

    const struct {
        const char* what;
        UINT message;
        RECT area;
        bool bScrolls;
    } changes[] = {
        {"the taskbar takes all but half the form's height",
         WM_SETTINGCHANGE,
         {screen.left, screen.top, screen.right, screen.top + nFormHeight / 2},
         true},
        {"the screen whole again, at another resolution", WM_DISPLAYCHANGE, screen, bScrollsOnTheScreen},
    };
    const auto pfnBefore = std::exchange(g_pfnGetMonitorInfo, HandedMonitorInfo);
    for (const auto& change : changes) {
        SCOPED_TRACE(change.what);
        g_rcHandedWorkArea = change.area;
        SendMessageW(form.Form(), change.message, change.message == WM_SETTINGCHANGE ? SPI_SETWORKAREA : 32, 0);
        form.Pump();

        // Under a window manager the form's new place comes back from the X
        // server a moment later; a query of the pointer, a round trip, brings it.
        form.PumpUntil(
            [&] {
                POINT ptPointer;
                GetCursorPos(&ptPointer);
                return Inside(WindowRect(form.Form()), change.area);
            },
            "the form inside the new work area");
        const RECT window = WindowRect(form.Form());
        EXPECT_EQ((GetWindowLongW(form.Form(), GWL_STYLE) & WS_VSCROLL) != 0, change.bScrolls);
        RECT view;
        GetClientRect(form.Form(), &view);
        if (change.bScrolls)
            EXPECT_EQ(window.bottom - window.top, change.area.bottom - change.area.top);
        else
            EXPECT_EQ(view.bottom, layout.bottom - layout.top) << "the layout is not shown whole";
        EXPECT_EQ(FontOf(form.Form()).lfHeight, font.lfHeight);
        EXPECT_EQ(ControlStates(form), entries);
        EXPECT_EQ(form.SelectedRow(), 0);
        EXPECT_EQ(form.FocusedId(), IDC_LONG_AXIS);
    }
    g_pfnGetMonitorInfo = pfnBefore;
    EXPECT_DOUBLE_EQ(form.Record(0).m_dLongAxis, 7.0001) << "the size still typed was committed";
}

// A form that scrolls across moves with the sideways wheel, or a sideways swipe
// on a touchpad, over its face; on a screen that the form fits across there is
// nothing to show.
TEST(DisplayFit, AFormThatScrollsAcrossMovesWithTheSidewaysWheel) {
    FormDriver form;
    if (!(GetWindowLongW(form.Form(), GWL_STYLE) & WS_HSCROLL)) GTEST_SKIP() << "the form fits this screen across";
    POINT ptFace{2, 2};  // left of and above every control: only the form's face
    ClientToScreen(form.Form(), &ptFace);
    const int nBefore = GetScrollPos(form.Form(), SB_HORZ);
    PostMessageW(form.Form(), WM_MOUSEHWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(ptFace.x, ptFace.y));
    form.Pump();
    EXPECT_GT(GetScrollPos(form.Form(), SB_HORZ), nBefore);
}

// The face that stands in for "맑은 고딕" in the test sessions measures as the
// real one does on Windows at 96 dpi, so that every size the tests see is the
// size a reader gets.
TEST(StandInFace, GivesMalgunGothicsDialogBaseUnits) {
    const struct {
        WORD nPoints;
        LONG cx, cy;
    } units[] = {{8, 6, 15}, {9, 7, 16}, {10, 7, 17}};
    ASSERT_EQ(ScreenDpi(), 96) << "the units below are those at 100 %";
    for (const auto& row : units) {
        SCOPED_TRACE(testing::Message() << row.nPoints << " pt");
        CDialogTemplate dialogTemplate(IDD_PULMETRA_DIALOG);
        dialogTemplate.SetPointSize(row.nPoints);
        BareDialog dialog(dialogTemplate.Get());
        ASSERT_NE(dialog.hWnd, nullptr);
        RECT baseUnits{0, 0, 4, 8};
        MapDialogRect(dialog.hWnd, &baseUnits);
        EXPECT_EQ(baseUnits.right, row.cx);
        EXPECT_EQ(baseUnits.bottom, row.cy);
    }
}
