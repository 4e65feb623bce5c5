// Fuzzes the report composer with arbitrary exams and nodule records.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cwctype>
#include <iterator>
#include <limits>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "FuzzCore.h"
#include "model/Labels.h"
#include "model/TextTrim.h"
#include "report/ReportComposer.h"

namespace {

// ---- Reading the exam ----

// Mostly a label with S and C modifiers in any order, sometimes any text.
CString ReadFinalCategory(FuzzInput& in) {
    if (in.Bool()) {
        return in.Text();
    }
    CString text = CategoryText(in.Int());
    for (int n = in.Byte() % 4; n > 0; --n) {
        text += in.Bool() ? L'S' : L'C';
    }
    return text;
}

ExamInputs ReadExam(FuzzInput& in) {
    ExamInputs exam;
    exam.bBaselineCt = in.Bool();
    exam.dtPriorCt.m_dt = in.Bool() ? in.Raw<std::int32_t>() / 4.0 : in.Double();
    exam.dtPriorCt.m_status = static_cast<COleDateTime::DateTimeStatus>(in.Byte() % 3);
    exam.bPriorCancer = in.Bool();
    exam.fCtdiVol = in.Float();
    ExamFindings& f = exam.findings;
    f.bEndobronchial = in.Bool();
    f.bConsolidation = in.Bool();
    f.bAtelectasis = in.Bool();
    f.bLymphadenopathy = in.Bool();
    f.bSuggestiveOther = in.Bool();
    f.bCoronaryCalcification = in.Bool();
    f.nCoronarySeverity = in.Int();
    f.bEmphysema = in.Bool();
    f.bInterstitial = in.Bool();
    f.bPneumonia = in.Bool();
    f.bExtrapulmonary = in.Bool();
    f.bAneurysm = in.Bool();
    f.bEffusion = in.Bool();
    f.bSignificantOther = in.Bool();
    f.bInactiveTuberculosis = in.Bool();
    f.bOtherFinding = in.Bool();
    exam.strCoronarySeverity = in.Text();
    exam.strEndobronchialNote = in.Text();
    exam.strConsolidationNote = in.Text();
    exam.strAtelectasisNote = in.Text();
    exam.strLymphadenopathyNote = in.Text();
    exam.strSuggestiveOtherNote = in.Text();
    exam.strSignificantOtherNote = in.Text();
    exam.strOtherFindingNote = in.Text();
    exam.strComments = in.Text();
    exam.strFinalCategory = ReadFinalCategory(in);
    return exam;
}

// ---- What the report must say ----

struct Recommendation {
    const wchar_t* bareCategory;
    const wchar_t* text;  // heading line and sentences, without the final line break
};

const Recommendation RECOMMENDATIONS[] = {
    {L"0", L"불완전\r\n흉부CT를 재촬영하거나, 이전에 촬영한 CT 영상과 비교하여 평가해야 합니다."},
    {L"1", L"이상소견 없음\r\n12개월 후 연례 폐암검진 CT를 시행하시기를 권고합니다."},
    {L"2", L"양성 결절\r\n12개월 후 연례 폐암검진 CT를 시행하시기를 권고합니다."},
    {L"2b", L"양성 결절\r\n12개월 후 연례 폐암검진 CT를 시행하시기를 권고합니다."},
    {L"3", L"경계선 결절\r\n6개월 후 저선량 CT를 시행하시기를 권고합니다."},
    {L"4A", L"폐암 의심\r\n3개월후 저선량 CT를 시행하시기를 권고합니다."},
};

const wchar_t MOST_SUSPICIOUS[] =
    L"폐암 매우 의심\r\n"
    L"악성 여부 확인을 위하여 필요에 따라 흉부 CT, PET/CT 혹은 조직검사 등의 시행을 권고합니다.\r\n"
    L"새로운 큰 결절이 발생한 경우 감염/염증 병변을 배제하기 위해 한달 후 저선량흉부 CT 촬영합니다.";

std::wstring_view WithoutTrailing(std::wstring_view text, wchar_t letter) {
    while (!text.empty() && text.back() == letter) {
        text.remove_suffix(1);
    }
    return text;
}

std::wstring_view RecommendationFor(std::wstring_view finalCategory) {
    const std::wstring_view bare = WithoutTrailing(WithoutTrailing(WithoutTrailing(finalCategory, L'S'), L'C'), L'S');
    for (const Recommendation& row : RECOMMENDATIONS) {
        if (bare == row.bareCategory) {
            return row.text;
        }
    }
    return MOST_SUSPICIOUS;
}

bool AnyFindingTicked(const ExamFindings& f) {
    return f.bEndobronchial || f.bConsolidation || f.bAtelectasis || f.bLymphadenopathy || f.bSuggestiveOther ||
           f.bCoronaryCalcification || f.bEmphysema || f.bInterstitial || f.bPneumonia || f.bExtrapulmonary ||
           f.bAneurysm || f.bEffusion || f.bSignificantOther || f.bInactiveTuberculosis || f.bOtherFinding;
}

// The line of one nodule, as the composer writes it in a report of that nodule alone.
CString LineAlone(const CNoduleItem& nodule, bool bBaselineCt) {
    ExamInputs probe;
    probe.bBaselineCt = bBaselineCt;
    probe.dtPriorCt.m_status = COleDateTime::null;
    // A findings sentence keeps the trim before the conclusion away from the line's end.
    probe.findings.bInactiveTuberculosis = true;
    probe.strFinalCategory = L"1";
    const CNoduleItem* const row = &nodule;
    const CString report = ComposeReport(probe, std::span(&row, 1));

    const std::wstring_view header = bBaselineCt ? L"처음CT\r\n선량 (CTDIvol): 0.00 mGy\r\n\r\n영상소견\r\n"
                                                 : L"추적CT (이전CT: )\r\n선량 (CTDIvol): 0.00 mGy\r\n\r\n영상소견\r\n";
    const std::wstring_view rest =
        L"\r\n\r\n다른 소견: 비활동성 폐결핵.\r\n\r\n결론: 범주 1 이상소견 없음\r\n"
        L"12개월 후 연례 폐암검진 CT를 시행하시기를 권고합니다.";
    FUZZ_CHECK(report.size() > header.size() + rest.size() && report.starts_with(header) && report.ends_with(rest),
               "a report of one nodule is the header, its line and the rest");
    return report.substr(header.size(), report.size() - header.size() - rest.size());
}

// Most severe first, then the larger mean; equal keys keep list order, and a
// mean that is not a number sorts after every number.
std::vector<const CNoduleItem*> SortedRecords(std::span<const CNoduleItem* const> rows) {
    std::vector<const CNoduleItem*> sorted;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(sorted), [](const CNoduleItem* n) { return n; });
    const auto mean = [](const CNoduleItem* n) {
        const double dMean = (n->m_dLongAxis + n->m_dShortAxis) * 0.5;
        return std::isnan(dMean) ? -std::numeric_limits<double>::infinity() : dMean;
    };
    std::stable_sort(sorted.begin(), sorted.end(), [&](const CNoduleItem* a, const CNoduleItem* b) {
        if (a->m_nCategory != b->m_nCategory) {
            return a->m_nCategory > b->m_nCategory;
        }
        return mean(a) > mean(b);
    });
    return sorted;
}

void CheckNotes(std::wstring_view findings, const ExamInputs& exam) {
    const ExamFindings& f = exam.findings;
    struct Noted {
        bool bTicked;
        const wchar_t* label;
        const CString& note;
    };
    const Noted noted[] = {
        {f.bEndobronchial, L"기관지내 병변 있음", exam.strEndobronchialNote},
        {f.bConsolidation, L"폐경화", exam.strConsolidationNote},
        {f.bAtelectasis, L"무기폐", exam.strAtelectasisNote},
        {f.bLymphadenopathy, L"림프절 비대", exam.strLymphadenopathyNote},
        {f.bSuggestiveOther, L"기타", exam.strSuggestiveOtherNote},
        {f.bCoronaryCalcification && f.nCoronarySeverity >= 1, L"관상동맥 석회화", exam.strCoronarySeverity},
        {f.bSignificantOther, L"기타", exam.strSignificantOtherNote},
        {f.bOtherFinding, L"기타", exam.strOtherFindingNote},
    };
    for (const Noted& item : noted) {
        if (!item.bTicked) {
            continue;
        }
        const std::wstring_view note = Trimmed(item.note);
        const CString written = note.empty() ? CString(item.label) : item.label + (L" (" + CString(note) + L")");
        FUZZ_CHECK(findings.find(written) != std::wstring_view::npos,
                   "the note of every ticked finding appears trimmed and otherwise unchanged");
    }
}

void CheckReport(const ExamInputs& exam, std::span<const CNoduleItem* const> rows) {
    const CString report = ComposeReport(exam, rows);
    FUZZ_CHECK(!report.empty() && !IsWhiteSpace(report.front()) && !IsWhiteSpace(report.back()),
               "the report neither begins nor ends with white space");

    // Positions from the end: a note may itself hold a line that looks like a conclusion.
    const CString conclusion =
        L"\r\n\r\n결론: 범주 " + exam.strFinalCategory + L" " + CString(RecommendationFor(exam.strFinalCategory));
    FUZZ_CHECK(report.ends_with(conclusion),
               "the report ends with the final category's conclusion line and only its recommendation");
    const std::wstring_view body = std::wstring_view(report).substr(0, report.size() - conclusion.size());
    FUZZ_CHECK(TrimmedEnd(body).size() == body.size(), "exactly one blank line precedes the conclusion");

    const std::wstring_view marker = L"영상소견\r\n";
    const std::size_t markerAt = body.find(marker);
    FUZZ_CHECK(markerAt != std::wstring_view::npos, "the header ends with the findings heading");
    const std::wstring_view header = body.substr(0, markerAt + marker.size());
    FUZZ_CHECK(header.starts_with(exam.bBaselineCt ? L"처음CT\r\n" : L"추적CT (이전CT: "),
               "the header begins with the kind of CT");

    CString headerAndNodules(header);
    const std::vector<const CNoduleItem*> sorted = SortedRecords(rows);
    if (sorted.empty()) {
        headerAndNodules += L"발견된 결절 없음.\r\n";
    }
    for (const CNoduleItem* nodule : sorted) {
        headerAndNodules += LineAlone(*nodule, exam.bBaselineCt) + L"\r\n";
    }

    const bool bFindings = AnyFindingTicked(exam.findings);
    const std::wstring_view comments = Trimmed(exam.strComments);
    if (!bFindings && comments.empty()) {
        FUZZ_CHECK(body == TrimmedEnd(headerAndNodules),
                   "the nodule lines in sort order (or the no-nodule line) end the body without findings or comments");
        return;
    }
    const CString commentsBlock = comments.empty() ? CString() : L"\r\n추가 내용: \r\n" + CString(comments);
    const std::size_t findingsAt = headerAndNodules.size() + 2;
    FUZZ_CHECK(body.size() >= findingsAt + commentsBlock.size() && body.starts_with(headerAndNodules + L"\r\n"),
               "the nodule lines in sort order (or the no-nodule line) follow the header, then a blank line");
    FUZZ_CHECK(body.ends_with(commentsBlock), "the trimmed comments close the body unchanged");

    const std::wstring_view findings = body.substr(findingsAt, body.size() - findingsAt - commentsBlock.size());
    FUZZ_CHECK(findings.empty() != bFindings, "findings sentences stand there exactly when a finding is ticked");
    CheckNotes(findings, exam);
}

void CheckOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const ExamInputs exam = ReadExam(in);

    // Rows in list order; a row may lack its record.
    std::vector<std::unique_ptr<CNoduleItem>> records;
    std::vector<const CNoduleItem*> rows;
    for (int nRows = in.Byte() % 13; nRows > 0; --nRows) {
        if (in.Byte() % 16 == 0) {
            rows.push_back(nullptr);
            continue;
        }
        records.push_back(std::make_unique<CNoduleItem>(ReadNodule(in)));
        if (in.Bool()) {
            records.back()->UpdateCategory();
        }
        rows.push_back(records.back().get());
    }
    std::vector<CNoduleItem> before;
    for (const auto& record : records) {
        before.push_back(*record);
    }

    CheckReport(exam, rows);

    for (std::size_t i = 0; i < records.size(); ++i) {
        FUZZ_CHECK(SameRecord(*records[i], before[i]), "composing changes no record");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckOneInput(data, size);
    FUZZ_CHECK(CNoduleItem::LiveCount() == 0, "every record made is freed");
    return 0;
}
