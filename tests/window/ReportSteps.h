#pragma once
// What a reader does inside the report dialog "판독문", as ModalScript steps,
// and a watch for windows that must not appear at all.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "FormSteps.h"
#include "ModalScript.h"
#include "framework/Dialog.h"
#include "framework/WindowText.h"
#include "res/resource.h"
#include "tests/core/Conclusions.h"

// The report of the untouched form.
inline const std::wstring EMPTY_FORM_REPORT =
    L"처음CT\r\n"
    L"선량 (CTDIvol): 0.00 mGy\r\n"
    L"\r\n"
    L"영상소견\r\n"
    L"발견된 결절 없음.\r\n"
    L"\r\n" +
    ConclusionOf(L"1");

// Whether the report holds the line, whole.
inline bool HasLine(const std::wstring& text, const std::wstring& line) {
    return (L"\r\n" + text + L"\r\n").find(L"\r\n" + line + L"\r\n") != std::wstring::npos;
}

inline HWND FindReportDialog() { return FindDialog(L"판독문"); }

inline std::wstring ReportDialogText(HWND hDialog) { return GetWindowTextString(GetDlgItem(hDialog, IDC_REPORT_TEXT)); }

// Characters typed at a control; '\n' is the Return key. The character of a
// posted key-down is posted only when the loop translates it, behind whatever is
// already queued, so text after a Return goes in a later call (see TypingParts).
inline void PostTyping(HWND hTarget, std::wstring_view text) {
    for (wchar_t ch : text) {
        if (ch == L'\n')
            PostKey(hTarget, VK_RETURN);
        else
            PostMessageW(hTarget, WM_CHAR, ch, 1);
    }
}

// The text cut after each Return, each part to be typed once the loop has run.
inline std::vector<std::wstring> TypingParts(std::wstring_view text) {
    std::vector<std::wstring> parts(1);
    for (wchar_t ch : text) {
        parts.back() += ch;
        if (ch == L'\n') parts.emplace_back();
    }
    if (parts.back().empty()) parts.pop_back();
    return parts;
}

// Waits for the report dialog, reads its text and presses one of its buttons.
inline ScriptStep ReadReportAndPress(int nButton, std::wstring* text = nullptr) {
    return {[nButton, text] {
                HWND hDialog = FindReportDialog();
                if (!hDialog) return false;
                if (text) *text = ReportDialogText(hDialog);
                SendMessageW(GetDlgItem(hDialog, nButton), BM_CLICK, 0, 0);
                return true;
            },
            "the report dialog"};
}

// Presses a button of the open report dialog.
inline ScriptStep PressInReport(int nButton) { return ReadReportAndPress(nButton); }

// Any action while the report dialog is open, given its window. The step ends
// at the next tick, once the loop has handled what the action posted.
inline ScriptStep InReport(std::function<void(HWND)> action) {
    return {[action = std::move(action), bActed = false]() mutable {
                if (bActed) return true;
                HWND hDialog = FindReportDialog();
                if (!hDialog) return false;
                action(hDialog);
                bActed = true;
                return false;
            },
            "the report dialog"};
}

// Clicks into the report's text at its end and types there, one part per tick.
inline ScriptStep TypeAtEndOfReport(std::wstring_view text) {
    return {[parts = TypingParts(text), nNext = size_t{0}]() mutable {
                HWND hDialog = FindReportDialog();
                if (!hDialog) return false;
                HWND hEdit = GetDlgItem(hDialog, IDC_REPORT_TEXT);
                if (nNext == 0) {
                    SetFocus(hEdit);
                    const int nEnd = GetWindowTextLengthW(hEdit);
                    SendMessageW(hEdit, EM_SETSEL, static_cast<WPARAM>(nEnd), nEnd);
                }
                if (nNext == parts.size()) return true;
                PostTyping(hEdit, parts[nNext++]);
                return false;
            },
            "the report dialog"};
}

// A report dialog whose button was pressed stays on screen until its loop ends.
inline bool IsClosing(HWND hDialog) {
    const auto* pDialog = reinterpret_cast<const CDialog*>(GetWindowLongPtrW(hDialog, DWLP_USER));
    return pDialog && !pDialog->IsModalRunning();
}

// A watch for the end of a script: from then on every message box or report
// dialog that appears is noted (its text) and closed, so a wrong one fails the
// test instead of blocking it.
inline std::function<void()> CloseAnyOtherWindow(std::vector<std::wstring>* seen) {
    return [seen] {
        if (HWND hBox = FindMessageBox()) {
            seen->push_back(ReadMessageBox(hBox).text);
            BackOut(hBox);
        } else if (HWND hDialog = FindReportDialog(); hDialog && !IsClosing(hDialog)) {
            seen->push_back(L"판독문: " + ReportDialogText(hDialog));
            BackOut(hDialog);
        }
    };
}

// Presses "판독문" and takes the steps in the report dialog; any other message
// box or report dialog that opens fails the test.
inline void InReportDialog(FormDriver& form, std::vector<ScriptStep> steps) {
    std::vector<std::wstring> others;
    {
        ModalScript script;
        for (ScriptStep& step : steps) script.Then(std::move(step));
        script.Watch(CloseAnyOtherWindow(&others));
        PressReport(form);
    }
    EXPECT_EQ(others, std::vector<std::wstring>{}) << "windows that should not have opened";
}

// Presses "판독문" expecting the report dialog; reads its text and leaves by nButton.
inline std::wstring ReadReport(FormDriver& form, int nButton = IDCANCEL) {
    std::wstring shown;
    InReportDialog(form, {ReadReportAndPress(nButton, &shown)});
    EXPECT_FALSE(shown.empty()) << "the report did not open";
    return shown;
}
