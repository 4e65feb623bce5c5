// The report dialog "판독문" and the clipboard: what reaches the clipboard, and when
// nothing does. The clipboard is read the way the reporting system reads it.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DisablingTakesTheFocus.h"
#include "FormDriver.h"
#include "FormSteps.h"
#include "ModalScript.h"
#include "ReportSteps.h"
#include "TestClipboard.h"
#include "tests/core/Conclusions.h"

namespace {

const std::wstring SENTINEL = L"다른 프로그램의 텍스트";
const std::wstring COPY_FAILED =
    L"판독문을 클립보드에 복사하지 못했습니다. 클립보드에 남아 있는 이전 내용은 다른 환자의 판독문일 수 있으니 붙여 "
    L"넣지 마십시오. 잠시 뒤 다시 복사하십시오.";
// Well within the time the copy keeps trying to open the clipboard.
constexpr DWORD BRIEF_HOLD_MS = 100;

// Types at the caret of a multi-line edit, keeping its text; '\n' is the Return key.
void TypeLines(FormDriver& form, int nIDC, std::wstring_view text) {
    form.Focus(nIDC);
    for (const std::wstring& part : TypingParts(text)) {
        PostTyping(form.Item(nIDC), part);
        form.Pump();
    }
}

struct NoduleEntry {
    int nType;
    const wchar_t* longAxis;
    const wchar_t* shortAxis;  // nullptr: as the long axis
    const wchar_t* solidLongAxis;
    const wchar_t* solidShortAxis;
    int nLobe;
    const wchar_t* imageNo;
    int nStatus;
    std::initializer_list<int> features;  // check boxes ticked once the rest is in
    const wchar_t* otherText;             // typed into 1007 after ticking 1011
};

void EnterNodule(FormDriver& form, const NoduleEntry& nodule) {
    form.Click(IDC_ADD_NODULE);
    if (nodule.nType != NODULE_SOLID) form.Choose(IDC_NODULE_TYPE, nodule.nType);
    Enter(form, IDC_LONG_AXIS, nodule.longAxis);
    if (nodule.shortAxis) Enter(form, IDC_SHORT_AXIS, nodule.shortAxis);
    if (nodule.solidLongAxis) Enter(form, IDC_SOLID_LONG_AXIS, nodule.solidLongAxis);
    if (nodule.solidShortAxis) Enter(form, IDC_SOLID_SHORT_AXIS, nodule.solidShortAxis);
    form.Choose(IDC_LOBE, nodule.nLobe);
    Enter(form, IDC_IMAGE_NO, nodule.imageNo);
    form.Choose(IDC_FOLLOWUP, nodule.nStatus);
    for (int nIDC : nodule.features) form.Click(nIDC);
    if (nodule.otherText) {
        form.Type(IDC_OTHER_TEXT, nodule.otherText);
        form.Press(VK_TAB);
    }
}

// A follow-up CT with nodules of every type and category, every feature, every
// group of findings with notes, and comments typed on several lines.
void EnterRichExam(FormDriver& form) {
    form.Choose(IDC_CT_TYPE, FOLLOW_UP_CT);
    SetPriorCtDate(form, 2023, 5, 17);
    form.Click(IDC_PRIOR_CANCER);
    form.Type(IDC_CTDIVOL, L"1.2");

    const NoduleEntry nodules[] = {
        {NODULE_SOLID,
         L"8",
         L"7",
         nullptr,
         nullptr,
         LOBE_LUL,
         L"12",
         STATUS_NEW,
         {IDC_SPICULATION, IDC_OTHER},
         L"흉막 견인"},
        {NODULE_PART_SOLID, L"12", L"10", L"7", L"5", LOBE_RLL, L"45", STATUS_GROWING, {IDC_CAVITY}, nullptr},
        {NODULE_GROUND_GLASS, L"20", L"18", nullptr, nullptr, LOBE_RML, L"7", STATUS_NEW, {}, nullptr},
        {NODULE_SOLID, L"5", L"4", nullptr, nullptr, LOBE_LLL, L"30", STATUS_STABLE, {IDC_PERIFISSURAL}, nullptr},
        {NODULE_SOLID, L"7", nullptr, nullptr, nullptr, LOBE_RUL, L"3", STATUS_NEW, {IDC_LIKELY_BENIGN}, nullptr},
        {NODULE_SOLID,
         L"3",
         nullptr,
         nullptr,
         nullptr,
         LOBE_LLL,
         L"50",
         STATUS_STABLE,
         {IDC_CALCIFICATION, IDC_FAT},
         nullptr},
        {NODULE_SOLID, L"4", nullptr, nullptr, nullptr, LOBE_RLL, L"8", STATUS_NEW, {}, nullptr},
    };
    for (const NoduleEntry& nodule : nodules) EnterNodule(form, nodule);

    form.Click(IDC_ENDOBRONCHIAL);
    form.Type(IDC_ENDOBRONCHIAL_NOTE, L"우측 주기관지");
    form.Click(IDC_CONSOLIDATION);
    form.Type(IDC_CONSOLIDATION_NOTE, L"  좌하엽 ");
    form.Click(IDC_ATELECTASIS);
    form.Click(IDC_LYMPHADENOPATHY);
    form.Type(IDC_LYMPHADENOPATHY_NOTE, L"종격동 4R");
    form.Click(IDC_SUGGESTIVE_OTHER);
    form.Type(IDC_SUGGESTIVE_OTHER_NOTE, L"흉막 결절");
    form.Click(IDC_CORONARY);
    form.Choose(IDC_CORONARY_SEVERITY, SEVERE);
    for (int nIDC : {IDC_EMPHYSEMA, IDC_INTERSTITIAL, IDC_PNEUMONIA, IDC_EXTRAPULMONARY, IDC_ANEURYSM, IDC_EFFUSION})
        form.Click(nIDC);
    form.Click(IDC_SIGNIFICANT_OTHER);
    form.Type(IDC_SIGNIFICANT_OTHER_NOTE, L"갑상선 결절");
    form.Click(IDC_INACTIVE_TB);
    form.Click(IDC_OTHER_FINDING);
    form.Type(IDC_OTHER_FINDING_NOTE, L"척추 골절");
    TypeLines(form, IDC_COMMENTS, L"  비교: 2023년 검사\n변화 관찰 필요\n\n");
}

// Written out from the composition rules: most severe nodule first, the larger first
// within a category; notes trimmed; the comments' inner line break kept.
const std::wstring RICH_EXAM_REPORT =
    L"추적CT (이전CT: 2023-05-17)\r\n"
    L"과거 폐암 병력 있음.\r\n"
    L"선량 (CTDIvol): 1.20 mGy\r\n"
    L"\r\n"
    L"영상소견\r\n"
    L"우하엽(#45), 11.0 mm 부분고형 결절 있음 (고형부분: 6.0 mm) (공동), 커짐, 범주: 4X\r\n"
    L"좌상엽(#12), 7.5 mm 고형 결절 있음 (침상, 기타(흉막 견인)), 새로 생김, 범주: 4X\r\n"
    L"우하엽(#8), 4.0 mm 고형 결절 있음, 새로 생김, 범주: 3\r\n"
    L"우상엽(#3), 7.0 mm 고형 결절 있음 (양성가능성 높음), 새로 생김, 범주: 2b\r\n"
    L"우중엽(#7), 19.0 mm 간유리 결절 있음, 새로 생김, 범주: 2\r\n"
    L"좌하엽(#30), 4.5 mm 고형 결절 있음 (흉막주변결절), 변화 없음, 범주: 2\r\n"
    L"좌하엽(#50), 3.0 mm 고형 결절 있음 (석회화, 지방), 변화 없음, 범주: 1\r\n"
    L"\r\n"
    L"기관지내 병변 있음 (우측 주기관지).\r\n"
    L"폐결절 외 폐암시사 소견: 폐경화 (좌하엽), 무기폐, 림프절 비대 (종격동 4R), 기타 (흉막 결절).\r\n"
    L"폐결절 외 의미있는 소견: 관상동맥 석회화 (Severe), 폐기종 (중증도 이상), 간질성 폐이상, "
    L"폐렴 및 활동성 폐결핵, 폐외악성물, 대동맥류, 다량의 흉수 또는 심낭 삼출, 기타 (갑상선 결절).\r\n"
    L"다른 소견: 비활동성 폐결핵, 기타 (척추 골절).\r\n"
    L"\r\n"
    L"추가 내용: \r\n"
    L"비교: 2023년 검사\r\n"
    L"변화 관찰 필요\r\n"
    L"\r\n" +
    ConclusionOf(L"4XS");

// The clipboard's block as the text with its one terminating zero.
std::wstring Terminated(const std::wstring& text) { return text + L'\0'; }

// ANSI text up to its terminating zero, read through a code page.
std::wstring Decoded(const std::string& bytes, UINT nCodePage) {
    const std::string text = bytes.substr(0, bytes.find('\0'));
    std::wstring decoded(text.size(), L'\0');
    decoded.resize(static_cast<size_t>(MultiByteToWideChar(nCodePage, MB_ERR_INVALID_CHARS, text.data(),
                                                           static_cast<int>(text.size()), decoded.data(),
                                                           static_cast<int>(decoded.size()))));
    return decoded;
}

// A reader who switched the input language to English before copying. Windows
// takes the language of a Unicode text from the copying thread's input
// language, Wine from the process's user locale, which it keeps per process:
// under Wine, NtSetDefaultLocale changes this process only (never call it on Windows).
class CopyingInEnglish {
    using SetLocale = LONG(WINAPI*)(BOOLEAN, LCID);
    const SetLocale m_set = reinterpret_cast<SetLocale>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSetDefaultLocale")));
    const LCID m_lcidBefore = GetUserDefaultLCID();

public:
    CopyingInEnglish() { m_set(TRUE, MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT)); }
    ~CopyingInEnglish() { m_set(TRUE, m_lcidBefore); }
};

const std::string KOREAN_LOCALE("\x12\x04\0\0", 4);
const std::string NO(4, '\0');
constexpr UINT KOREAN_CODE_PAGE = 949;

}  // namespace

TEST(ReportDialog, RichExamReachesTheClipboardCharacterForCharacter) {
    FormDriver form;
    EnterRichExam(form);
    ASSERT_EQ(form.RowCount(), 7);
    ASSERT_EQ(form.Text(IDC_FINAL_CATEGORY), L"4XS");
    ASSERT_TRUE(PutClipboardText(SENTINEL));

    std::wstring shown;
    int nFocusedAtOpening = 0;
    {
        const CopyingInEnglish english;
        InReportDialog(form, {InReport([&](HWND) { nFocusedAtOpening = GetDlgCtrlID(GetFocus()); }),
                              ReadReportAndPress(IDOK, &shown)});
    }

    EXPECT_EQ(nFocusedAtOpening, IDOK);
    EXPECT_EQ(shown, RICH_EXAM_REPORT);
    EXPECT_EQ(ClipboardBlock(), Terminated(RICH_EXAM_REPORT));
    // In Korean for a program that pastes ANSI text, kept out of the cloud and
    // out of the clipboard history, and never hidden from clipboard monitors.
    std::map<std::string, std::string> formats = ClipboardFormatsElsewhere();
    const std::wstring block = Terminated(RICH_EXAM_REPORT);
    EXPECT_EQ(formats["#13"], std::string(reinterpret_cast<const char*>(block.data()), block.size() * 2))
        << "CF_UNICODETEXT";
    EXPECT_EQ(formats["#16"].substr(0, 4), KOREAN_LOCALE) << "CF_LOCALE";
    EXPECT_EQ(Decoded(formats["#1"], KOREAN_CODE_PAGE), RICH_EXAM_REPORT) << "CF_TEXT";
    EXPECT_EQ(formats["CanUploadToCloudClipboard"], NO);
    EXPECT_EQ(formats["CanIncludeInClipboardHistory"], NO);
    EXPECT_EQ(formats.count("ExcludeClipboardContentFromMonitorProcessing"), 0u);
}

// The reader's changes, not the composed text, reach the clipboard, with a typed
// Return as "\r\n"; the dialog stays open after "클립보드 복사".
TEST(ReportDialog, EditedTextIsCopiedWithItsLineBreaks) {
    FormDriver form;
    ASSERT_TRUE(PutClipboardText(SENTINEL));
    std::optional<std::wstring> copied;
    bool bOpenAfterCopy = false;
    InReportDialog(form,
                   {TypeAtEndOfReport(L"\n검토: 홍길동\n끝"), PressInReport(IDC_COPY), InReport([&](HWND hDialog) {
                        copied = ClipboardBlock();
                        bOpenAfterCopy = IsWindowVisible(hDialog) && IsWindowEnabled(hDialog);
                    }),
                    PressInReport(IDCANCEL)});

    const std::wstring edited = EMPTY_FORM_REPORT + L"\r\n검토: 홍길동\r\n끝";
    EXPECT_EQ(copied, Terminated(edited));
    EXPECT_TRUE(bOpenAfterCopy);
    EXPECT_EQ(ClipboardBlock(), Terminated(edited));
}

struct LeaveWithoutCopyCase {
    const char* name;
    void (*leave)(HWND hDialog);
};

const LeaveWithoutCopyCase LEAVE_WITHOUT_COPY_CASES[] = {
    {"CancelButton", [](HWND hDialog) { SendMessageW(GetDlgItem(hDialog, IDCANCEL), BM_CLICK, 0, 0); }},
    {"EscapeOnTheOkButton", [](HWND) { PostKey(GetFocus(), VK_ESCAPE); }},
    {"EscapeInTheText",
     [](HWND hDialog) {
         HWND hEdit = GetDlgItem(hDialog, IDC_REPORT_TEXT);
         SetFocus(hEdit);
         PostTyping(hEdit, L"덧붙임");
         PostKey(hEdit, VK_ESCAPE);
     }},
    {"CloseBox", [](HWND hDialog) { SendMessageW(hDialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
};

// "취소", Escape and the close box close the report and leave the clipboard
// alone; the focus goes back to "판독문", where the reader left it.
TEST(ReportDialog, LeavingWithoutOkLeavesTheClipboardUntouched) {
    for (const LeaveWithoutCopyCase& c : LEAVE_WITHOUT_COPY_CASES) {
        SCOPED_TRACE(c.name);
        FormDriver form;
        const DisablingTakesTheFocus asOnWindows(form.Form());
        ASSERT_TRUE(PutClipboardText(SENTINEL));
        InReportDialog(form, {InReport(c.leave)});

        EXPECT_EQ(FindReportDialog(), nullptr);
        EXPECT_EQ(ClipboardBlock(), Terminated(SENTINEL));
        EXPECT_EQ(form.FocusedId(), IDC_REPORT);
    }
}

// A report closed without a copy takes away this program's report of other
// entries, which the clipboard would otherwise paste as this patient's. The
// entries are told by the report they give, not by the copied text, which the
// reader may have edited; nothing copied since by another program is touched.
TEST(ReportDialog, AReportClosedWithoutACopyLeavesNoOtherExamsReport) {
    enum Left { NOTHING, THE_COPY, THE_OTHER_PROGRAMS_TEXT };
    const struct {
        const char* name;
        bool bEditedCopy;
        std::function<void(FormDriver&)> between;  // after the copy
        bool bHeldAtClose;                         // another program holds the clipboard open
        Left left;
    } cases[] = {
        {"other entries", false, [](FormDriver& form) { form.Click(IDC_EMPHYSEMA); }, false, NOTHING},
        {"the same entries, the copy edited", true, [](FormDriver&) {}, false, THE_COPY},
        {"지우기 and a new exam", false,
         [](FormDriver& form) {
             ClearAnsweringYes(form);
             form.Click(IDC_ADD_NODULE);
             Enter(form, IDC_LONG_AXIS, L"5");
             form.Choose(IDC_LOBE, LOBE_RUL);
             EXPECT_NE(ClipboardText(), std::nullopt) << "the copy stays until a report closes without one";
         },
         false, NOTHING},
        {"another program's copy since", false,
         [](FormDriver& form) {
             form.Click(IDC_EMPHYSEMA);
             PutClipboardText(SENTINEL);
         },
         false, THE_OTHER_PROGRAMS_TEXT},
        {"the clipboard held elsewhere: the reader is warned", false,
         [](FormDriver& form) { form.Click(IDC_EMPHYSEMA); }, true, THE_COPY},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FormDriver form;
        std::vector<ScriptStep> copy;
        if (c.bEditedCopy) copy.push_back(TypeAtEndOfReport(L"\n확인함"));
        copy.push_back(PressInReport(IDOK));
        InReportDialog(form, std::move(copy));
        const std::optional<std::wstring> copied = ClipboardBlock();
        ASSERT_NE(copied, std::nullopt);
        c.between(form);

        auto holder = c.bHeldAtClose ? std::make_unique<ClipboardHolder>() : nullptr;
        SeenMessageBox warning;
        std::vector<ScriptStep> close{PressInReport(IDCANCEL)};
        if (c.bHeldAtClose) close.push_back(MessageBoxAnswer(IDOK, &warning));
        InReportDialog(form, std::move(close));
        holder.reset();

        const std::optional<std::wstring> left[] = {std::nullopt, copied, Terminated(SENTINEL)};
        EXPECT_EQ(ClipboardBlock(), left[c.left]);
        EXPECT_EQ(warning.text, c.bHeldAtClose ? L"클립보드에 다른 검사의 판독문이 남아 있을 수 있습니다. 이 환자의 "
                                                 L"판독문으로 붙여 넣지 마십시오."
                                               : L"");
    }
}

TEST(ReportDialog, EmptiedTextCopiesOnlyTheTerminatingZero) {
    FormDriver form;
    ASSERT_TRUE(PutClipboardText(SENTINEL));
    std::optional<std::wstring> copied;
    InReportDialog(form,
                   {InReport([](HWND hDialog) {
                        HWND hEdit = GetDlgItem(hDialog, IDC_REPORT_TEXT);
                        SetFocus(hEdit);
                        SendMessageW(hEdit, EM_SETSEL, 0, -1);
                        PostKey(hEdit, VK_DELETE);
                    }),
                    PressInReport(IDC_COPY), InReport([&](HWND) { copied = ClipboardBlock(); }), PressInReport(IDOK)});

    EXPECT_EQ(copied, std::wstring(1, L'\0'));
    EXPECT_EQ(ClipboardBlock(), std::wstring(1, L'\0'));
}

// Each press replaces the clipboard's whole contents with the same text.
TEST(ReportDialog, CopyingTwicePutsTheSameTextTwice) {
    FormDriver form;
    std::optional<std::wstring> first, second;
    InReportDialog(
        form, {PressInReport(IDC_COPY), InReport([&](HWND) {
                   first = ClipboardBlock();
                   PutClipboardText(SENTINEL);
               }),
               PressInReport(IDC_COPY), InReport([&](HWND) { second = ClipboardBlock(); }), PressInReport(IDCANCEL)});

    EXPECT_EQ(first, Terminated(EMPTY_FORM_REPORT));
    EXPECT_EQ(second, Terminated(EMPTY_FORM_REPORT));
}

// While another program holds the clipboard open, neither button passes for a
// copy: each says so, and the report stays open with the reader's text. Held only
// for a moment, as clipboard history or a remote-desktop sync holds it after every
// change, the clipboard takes the copy after all.
TEST(ReportDialog, ClipboardHeldElsewhereIsReportedUntilItIsFreeAgain) {
    FormDriver form;
    ASSERT_TRUE(PutClipboardText(SENTINEL));
    auto holder = std::make_unique<ClipboardHolder>();
    ASSERT_TRUE(holder->Holds());
    ASSERT_EQ(ClipboardBlock(), std::nullopt) << "the clipboard should be out of this thread's reach";

    SeenMessageBox onCopy, onOk;
    std::wstring textAfterFailures;
    bool bHeldBriefly = false;
    InReportDialog(form, {TypeAtEndOfReport(L"\n확인함"), PressInReport(IDC_COPY), MessageBoxAnswer(IDOK, &onCopy),
                          PressInReport(IDOK), MessageBoxAnswer(IDOK, &onOk), InReport([&](HWND hDialog) {
                              textAfterFailures = ReportDialogText(hDialog);
                              holder.reset();
                              holder = std::make_unique<ClipboardHolder>(BRIEF_HOLD_MS);
                              bHeldBriefly = holder->Holds();
                              SendMessageW(GetDlgItem(hDialog, IDOK), BM_CLICK, 0, 0);
                          })});

    const std::wstring edited = EMPTY_FORM_REPORT + L"\r\n확인함";
    for (const SeenMessageBox* seen : {&onCopy, &onOk}) {
        EXPECT_EQ(seen->text, COPY_FAILED);
        EXPECT_EQ(seen->caption, APP_NAME);
        EXPECT_EQ(seen->icon, IDI_ERROR);
        EXPECT_EQ(seen->buttons, std::vector<int>{IDOK});
    }
    EXPECT_EQ(textAfterFailures, edited);
    EXPECT_TRUE(bHeldBriefly);
    EXPECT_EQ(FindReportDialog(), nullptr);
    holder.reset();
    EXPECT_EQ(ClipboardBlock(), Terminated(edited));
}

// Closing discards the reader's edits: the next press composes the text afresh,
// from the form as it then stands.
TEST(ReportDialog, ReopeningShowsTheFreshlyComposedText) {
    FormDriver form;
    InReportDialog(form, {TypeAtEndOfReport(L"\n임시 메모"), PressInReport(IDOK)});
    ASSERT_EQ(ClipboardText(), EMPTY_FORM_REPORT + L"\r\n임시 메모");
    EXPECT_EQ(ReadReport(form), EMPTY_FORM_REPORT);

    form.Click(IDC_EMPHYSEMA);
    EXPECT_EQ(ReadReport(form),
              L"처음CT\r\n"
              L"선량 (CTDIvol): 0.00 mGy\r\n"
              L"\r\n"
              L"영상소견\r\n"
              L"발견된 결절 없음.\r\n"
              L"\r\n"
              L"폐결절 외 의미있는 소견: 폐기종 (중증도 이상).\r\n"
              L"\r\n" +
                  ConclusionOf(L"1S"));
}
