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
#include <string>
#include <vector>

#include "ChildWindows.h"
#include "FormDriver.h"
#include "app/AboutDlg.h"
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

bool Overlap(const RECT& a, const RECT& b) {
    RECT common;
    return IntersectRect(&common, &a, &b) != FALSE;
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

// A control as its template places it, in dialog units: x, y, width, height.
struct TemplateControl {
    int id;
    RECT place;
};

// The controls of a DIALOGEX template, in template order.
std::vector<TemplateControl> TemplateControls(UINT nIDTemplate) {
    HMODULE hModule = GetModuleHandleW(nullptr);
    HRSRC hFound = FindResourceW(hModule, MAKEINTRESOURCEW(nIDTemplate), RT_DIALOG);
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(hModule, hFound)));
    DWORD style;
    WORD count;
    memcpy(&style, data + 12, sizeof style);
    memcpy(&count, data + 16, sizeof count);
    const WORD* field = reinterpret_cast<const WORD*>(data + 26);
    const auto skipString = [&field] { while (*field++) {} };
    // A menu, class or title field: none, an ordinal after 0xFFFF, or a string.
    const auto skipNameOrOrdinal = [&] {
        if (*field == 0xFFFF) field += 2;
        else skipString();
    };
    skipNameOrOrdinal();  // menu
    skipNameOrOrdinal();  // class
    skipString();         // title
    if (style & DS_SETFONT) {
        field += 3;  // point size, weight, italic and character set
        skipString();
    }
    std::vector<TemplateControl> controls;
    for (WORD i = 0; i < count; ++i) {
        // Each item starts on a DWORD: help id, extended style, style, x, y, cx, cy, id.
        const BYTE* item = reinterpret_cast<const BYTE*>((reinterpret_cast<UINT_PTR>(field) + 3) & ~UINT_PTR{3});
        short place[4];
        DWORD id;
        memcpy(place, item + 12, sizeof place);
        memcpy(&id, item + 20, sizeof id);
        controls.push_back({static_cast<int>(id), {place[0], place[1], place[2], place[3]}});
        field = reinterpret_cast<const WORD*>(item + 24);
        skipNameOrOrdinal();  // class
        skipNameOrOrdinal();  // title
        const WORD extraBytes = *field++;
        field = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(field) + extraBytes);
    }
    return controls;
}

RECT ToEdges(const RECT& place) { return {place.left, place.top, place.left + place.right, place.top + place.bottom}; }

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

bool IsImage(HWND hChild) {
    const DWORD type = static_cast<DWORD>(GetWindowLongW(hChild, GWL_STYLE)) & SS_TYPEMASK;
    return ClassOf(hChild) == L"Static" && (type == SS_ICON || type == SS_BITMAP);
}

// The font size, the window's place, and the controls against the template.
void CheckDialogOnScreen(HWND hDlg, UINT nIDTemplate, const char* name) {
    SCOPED_TRACE(name);
    const int dpi = ScreenDpi();
    const RECT area = WorkArea();
    CDialogTemplate dialogTemplate(nIDTemplate);
    const int nTemplatePoints = dialogTemplate.GetPointSize();
    const int nPoints = PointSizeOf(hDlg, dpi);
    const RECT window = WindowRect(hDlg);
    const SIZE size = SizeOf(window);
    const bool bFits = Fits(size, area);
    std::printf("[ display  ] %s: %d pt, window %ld x %ld at (%ld, %ld); work area %ld x %ld at %d dpi\n", name,
                nPoints, size.cx, size.cy, window.left, window.top, area.right - area.left, area.bottom - area.top,
                dpi);

    // What the framework computed before creating the window is what the dialog manager made.
    ASSERT_GT(nPoints, 0);
    const SIZE computed = dialogTemplate.GetWindowSize(static_cast<WORD>(nPoints));
    EXPECT_EQ(size.cx, computed.cx);
    EXPECT_EQ(size.cy, computed.cy);
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

    // Centred in the work area; where it is larger, at the area's top-left corner.
    const LONG nRoomX = (area.right - area.left) - size.cx;
    const LONG nRoomY = (area.bottom - area.top) - size.cy;
    EXPECT_EQ(window.left, bFits ? area.left + nRoomX / 2 : area.left);
    EXPECT_EQ(window.top, bFits ? area.top + nRoomY / 2 : area.top);
    if (bFits) {
        EXPECT_TRUE(Inside(window, area)) << "the window leaves the work area";
    }

    // The controls stand in template order, at their template places in the dialog's
    // units, inside the client area, and overlap exactly where the template has them overlap.
    const std::vector<TemplateControl> controls = TemplateControls(nIDTemplate);
    const std::vector<HWND> children = ChildrenInOrder(hDlg);
    ASSERT_EQ(children.size(), controls.size());
    RECT client;
    GetClientRect(hDlg, &client);
    std::vector<RECT> actual;
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "control #" << i << " id " << controls[i].id);
        EXPECT_EQ(GetDlgCtrlID(children[i]), controls[i].id);
        const RECT rect = ChildRect(hDlg, children[i]);
        actual.push_back(rect);
        EXPECT_TRUE(Inside(rect, client)) << "outside the client area";
        // Pictures size themselves to their image; a combo box's template height is its open list.
        if (IsImage(children[i])) continue;
        RECT place = controls[i].place;
        MapDialogRect(hDlg, &place);
        EXPECT_EQ(rect.left, place.left);
        EXPECT_EQ(rect.top, place.top);
        EXPECT_EQ(rect.right - rect.left, place.right);
        if (ClassOf(children[i]) != L"ComboBox") {
            EXPECT_EQ(rect.bottom - rect.top, place.bottom);
        }
    }
    for (size_t i = 0; i < controls.size(); ++i) {
        for (size_t j = i + 1; j < controls.size(); ++j) {
            if (ClassOf(children[i]) == L"ComboBox" || ClassOf(children[j]) == L"ComboBox") continue;
            SCOPED_TRACE(testing::Message() << "controls #" << i << " and #" << j << ", ids " << controls[i].id
                                            << " and " << controls[j].id);
            const RECT a = ToEdges(controls[i].place), b = ToEdges(controls[j].place);
            RECT common;
            const bool bOverlap = IntersectRect(&common, &actual[i], &actual[j]) != FALSE;
            if (Overlap(a, b)) {
                EXPECT_TRUE(bOverlap);
            } else if (bOverlap) {
                // Only controls that touch in the template, by the dialog manager's rounding of widths.
                const bool bTouching = a.right == b.left || b.right == a.left || a.bottom == b.top || b.bottom == a.top;
                EXPECT_TRUE(bTouching && std::min(common.right - common.left, common.bottom - common.top) <= 1);
            }
        }
    }

    // Where the template fits, it is the template: the same window and controls as straight from the resource.
    if (nPoints == nTemplatePoints) {
        BareDialog bare(CDialogTemplate(nIDTemplate).Get());
        ASSERT_NE(bare.hWnd, nullptr);
        const SIZE bareSize = SizeOf(WindowRect(bare.hWnd));
        EXPECT_EQ(size.cx, bareSize.cx);
        EXPECT_EQ(size.cy, bareSize.cy);
        const std::vector<HWND> bareChildren = ChildrenInOrder(bare.hWnd);
        ASSERT_EQ(bareChildren.size(), children.size());
        for (size_t i = 0; i < children.size(); ++i) {
            if (GetDlgCtrlID(children[i]) == IDC_LOGO) continue;  // placed by the form at run time
            const RECT bareRect = ChildRect(bare.hWnd, bareChildren[i]);
            EXPECT_TRUE(EqualRect(&bareRect, &actual[i])) << "control #" << i << " moved";
        }
    }
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
                EXPECT_GE(baseline - glyph.gmptGlyphOrigin.y, 0) << "the top of '" << static_cast<char>(ch) << "' is cut";
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
        opened->DestroyModal();
    }
}
