#include "SoakResponder.h"

#include "ModalScript.h"
#include "ReportSteps.h"

namespace {

void Press(HWND hDialog, int nButton) { SendMessageW(GetDlgItem(hDialog, nButton), BM_CLICK, 0, 0); }

void Leave(HWND hReport, ReportExit exit) {
    switch (exit) {
    case ReportExit::OK: Press(hReport, IDOK); break;
    case ReportExit::COPY_THEN_CANCEL:
        Press(hReport, IDC_COPY);
        Press(hReport, IDCANCEL);
        break;
    case ReportExit::CANCEL: Press(hReport, IDCANCEL); break;
    case ReportExit::ESCAPE: {
        HWND hFocus = GetFocus();
        PostKey(IsChild(hReport, hFocus) ? hFocus : hReport, VK_ESCAPE);
        break;
    }
    case ReportExit::CLOSE_BOX: PostMessageW(hReport, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    }
}

}  // namespace

const char* NameOf(ReportExit exit) {
    static const char* const NAMES[] = {"OK", "copy then cancel", "cancel", "Esc", "the close box"};
    return NAMES[static_cast<size_t>(exit)];
}

void Responder::Respond() {
    if (HWND hBox = FindMessageBox()) {
        const SeenMessageBox seen = ReadMessageBox(hBox);
        int nButton = IDOK;
        if (seen.text == L"모든 내용을 삭제하시겠습니까?") nButton = nClearAnswer;
        if (seen.text == L"종료하시겠습니까?") nButton = IDNO;
        Press(hBox, nButton);
    } else if (HWND hReport = FindReportDialog(); hReport && !IsClosing(hReport)) {
        report = ReportDialogText(hReport);
        Leave(hReport, reportExit);
    }
}
