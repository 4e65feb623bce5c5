#pragma once
// The conclusion a report gives for a final category, as the composer writes it.
// Its words are checked in one place only, against the guide's table
// (GuideTest); every other test takes them from here.
#include "report/ReportComposer.h"

// The heading and recommendation after "결론: 범주 <category> ".
inline CString AdviceOf(const CString& finalCategory) {
    ExamInputs exam;
    exam.strFinalCategory = finalCategory;
    const CString report = ComposeReport(exam, {});
    const CString start = L"결론: 범주 " + finalCategory + L" ";
    const size_t at = report.rfind(start);
    return at == CString::npos ? CString() : report.substr(at + start.size());
}

// The whole conclusion, from "결론: ".
inline CString ConclusionOf(const CString& finalCategory) {
    return L"결론: 범주 " + finalCategory + L" " + AdviceOf(finalCategory);
}
