#pragma once
// Answers whatever the form puts up during the walk, as the walk has planned
// for the action, and keeps the text of a report that opened.
#include <windows.h>

#include <string>

// How the reader leaves the report dialog: only the first two copy.
enum class ReportExit { OK, COPY_THEN_CANCEL, CANCEL, ESCAPE, CLOSE_BOX };
inline constexpr ReportExit REPORT_EXITS[] = {ReportExit::OK, ReportExit::COPY_THEN_CANCEL, ReportExit::CANCEL,
                                              ReportExit::ESCAPE, ReportExit::CLOSE_BOX};
const char* NameOf(ReportExit exit);

struct Responder {
    int nClearAnswer = IDNO;
    ReportExit reportExit = ReportExit::OK;
    std::wstring report;

    // From a thread timer, inside whatever modal loop runs.
    void Respond();
};
