// Fuzzes the report composer with arbitrary exams and nodule records.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwctype>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "FuzzCore.h"
#include "base/TextTrim.h"
#include "model/Labels.h"
#include "report/ReportComposer.h"
#include "tests/core/Conclusions.h"

namespace {

// ---- Reading the exam ----

// The final category text the exam is composed with: mostly a category's label
// followed by S and C letters in any order, sometimes any text at all.
struct FinalCategory {
    CString text;
    std::optional<int> nCategory;  // the category of a label with letters
    CString letters;
};

FinalCategory ReadFinalCategory(FuzzInput& in) {
    if (in.Bool()) {
        return {in.Text(), std::nullopt, {}};
    }
    FinalCategory category{{}, in.Int(), {}};
    for (int n = in.Byte() % 4; n > 0; --n) {
        category.letters += in.Bool() ? L'S' : L'C';
    }
    category.text = CategoryText(*category.nCategory) + category.letters;
    return category;
}

ExamInputs ReadExam(FuzzInput& in, FinalCategory& finalCategory) {
    ExamInputs exam;
    exam.bBaselineCt = in.Bool();
    exam.dtPriorCt.m_dt = in.Bool() ? in.Raw<std::int32_t>() / 4.0 : in.Double();
    exam.dtPriorCt.m_status = static_cast<COleDateTime::DateTimeStatus>(in.Byte() % 3);
    exam.bPriorCancer = in.Bool();
    exam.fCtdiVol = in.Float();
    // The rows in catalogue order, the degree after the graded one; then the
    // graded row's note (its degree's text) before the other rows' notes.
    ExamFindings& f = exam.findings;
    for (size_t nRow = 0; nRow < EXAM_FINDING_COUNT; ++nRow) {
        f.ticked[nRow] = in.Bool();
        if (EXAM_FINDINGS[nRow].bGraded) f.coronaryDegree = static_cast<CoronaryDegree>(in.Int());
    }
    for (bool bGraded : {true, false})
        for (size_t nRow = 0; nRow < EXAM_FINDING_COUNT; ++nRow)
            if (EXAM_FINDINGS[nRow].bHasNote && EXAM_FINDINGS[nRow].bGraded == bGraded) exam.notes[nRow] = in.Text();
    exam.strComments = in.Text();
    finalCategory = ReadFinalCategory(in);
    exam.strFinalCategory = finalCategory.text;
    return exam;
}

// ---- What the report must say ----

// Each category's recommendation, as the composer writes it for the category's
// label alone; a value outside the table has an empty label. The words are the
// guide's (GuideTest); what is checked here is which text gets which of them.
const std::vector<CString> RECOMMENDATIONS = [] {
    std::vector<CString> recommendations;
    for (int nCategory = CAT_0; nCategory <= CAT_4X + 1; ++nCategory)
        recommendations.push_back(AdviceOf(CategoryText(nCategory)));
    return recommendations;
}();

std::wstring_view RecommendationOf(int nCategory) {
    return RECOMMENDATIONS[nCategory >= CAT_0 && nCategory <= CAT_4X ? static_cast<size_t>(nCategory)
                                                                     : RECOMMENDATIONS.size() - 1];
}

// Letters that read as modifiers: any S, then any C, then any S.
bool AreModifiers(std::wstring_view letters) {
    const auto firstNotS = letters.find_first_not_of(L'S');
    if (firstNotS == std::wstring_view::npos) return true;
    const auto afterC = letters.find_first_not_of(L'C', firstNotS);
    return afterC == std::wstring_view::npos || letters.find_first_not_of(L'S', afterC) == std::wstring_view::npos;
}

// The recommendation a report gives, read from its end: one of the table's, or nothing.
std::wstring_view RecommendationGiven(std::wstring_view report) {
    for (std::wstring_view recommendation : RECOMMENDATIONS) {
        if (report.ends_with(recommendation)) return recommendation;
    }
    return {};
}

bool AnyFindingTicked(const ExamFindings& f) { return std::ranges::any_of(f.ticked, [](bool b) { return b; }); }

// The other findings' row that changes nothing: it keeps a findings sentence in a probe report.
const size_t INACTIVE_TB = [] {
    for (size_t nRow = 0; nRow < EXAM_FINDING_COUNT; ++nRow)
        if (EXAM_FINDINGS[nRow].role == FindingRole::OTHER && !EXAM_FINDINGS[nRow].bHasNote) return nRow;
    std::abort();
}();

// The line of one nodule, as the composer writes it in a report of that nodule alone.
CString LineAlone(const CNoduleItem& nodule, bool bBaselineCt) {
    ExamInputs probe;
    probe.bBaselineCt = bBaselineCt;
    probe.dtPriorCt.m_status = COleDateTime::null;
    // A findings sentence keeps the trim before the conclusion away from the line's end.
    probe.findings.ticked[INACTIVE_TB] = true;
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

// A mean that is not a number counts as the smallest.
double OrderKey(const CNoduleItem& nodule) {
    const double dMean = (nodule.m_dLongAxis + nodule.m_dShortAxis) * 0.5;
    return std::isnan(dMean) ? -std::numeric_limits<double>::infinity() : dMean;
}

// Whether a line may stand right before another: most severe first, then the
// larger mean, and lines equal in both in list order.
bool MayPrecede(const CNoduleItem& first, size_t nFirstRow, const CNoduleItem& second, size_t nSecondRow) {
    if (first.m_nCategory != second.m_nCategory) return first.m_nCategory > second.m_nCategory;
    if (OrderKey(first) != OrderKey(second)) return OrderKey(first) > OrderKey(second);
    return nFirstRow < nSecondRow;
}

// The rows of the nodules in the order in which the report lists them. Image
// numbers and findings are no keys of the order, so the order shows in a report
// of the same rows numbered by their row, each line naming its row, and with a
// findings sentence that keeps the trim before the conclusion away from the lines.
std::vector<size_t> ReportedOrder(ExamInputs exam, std::span<const CNoduleItem* const> rows) {
    exam.findings.ticked[INACTIVE_TB] = true;
    std::vector<CNoduleItem> numbered;
    numbered.reserve(rows.size());
    std::vector<const CNoduleItem*> numberedRows;
    std::vector<CString> lines(rows.size());
    for (size_t nRow = 0; nRow < rows.size(); ++nRow) {
        if (!rows[nRow]) {
            numberedRows.push_back(nullptr);
            continue;
        }
        numbered.push_back(*rows[nRow]);
        numbered.back().m_nImageNo = static_cast<int>(nRow);
        numberedRows.push_back(&numbered.back());
        lines[nRow] = LineAlone(numbered.back(), exam.bBaselineCt) + L"\r\n";
    }
    const CString report = ComposeReport(exam, numberedRows);
    const std::wstring_view marker = L"영상소견\r\n";
    std::size_t at = report.find(marker);
    FUZZ_CHECK(at != CString::npos, "the header ends with the findings heading");
    at += marker.size();

    std::vector<size_t> order;
    std::vector<bool> listed(rows.size(), false);
    for (bool bFound = true; bFound;) {
        bFound = false;
        for (size_t nRow = 0; nRow < rows.size() && !bFound; ++nRow) {
            if (!rows[nRow] || listed[nRow] || report.compare(at, lines[nRow].size(), lines[nRow]) != 0) continue;
            listed[nRow] = bFound = true;
            order.push_back(nRow);
            at += lines[nRow].size();
        }
    }
    FUZZ_CHECK(order.size() == numbered.size(), "every nodule has its line, once");
    for (size_t n = 1; n < order.size(); ++n) {
        FUZZ_CHECK(MayPrecede(*rows[order[n - 1]], order[n - 1], *rows[order[n]], order[n]),
                   "most severe first, then the larger mean, then list order");
    }
    return order;
}

// A graded finding writes its note, its degree, only from Moderate on.
void CheckNotes(std::wstring_view findings, const ExamInputs& exam) {
    for (size_t nRow = 0; nRow < EXAM_FINDING_COUNT; ++nRow) {
        const ExamFinding& finding = EXAM_FINDINGS[nRow];
        const bool bWritesNote = finding.bHasNote && exam.findings.ticked[nRow] &&
                                 (!finding.bGraded || exam.findings.coronaryDegree >= DEGREE_MODERATE);
        if (!bWritesNote) {
            continue;
        }
        const std::wstring_view note = Trimmed(exam.notes[nRow]);
        const CString written =
            note.empty() ? CString(finding.reportWord) : finding.reportWord + (L" (" + CString(note) + L")");
        FUZZ_CHECK(findings.find(written) != std::wstring_view::npos,
                   "the note of every ticked finding appears trimmed and otherwise unchanged");
    }
}

// The conclusion of a category label with modifier letters is that of its
// category; any other text gives one of the recommendations, the same as with
// one more S.
std::wstring_view CheckedRecommendation(const ExamInputs& exam, const FinalCategory& finalCategory,
                                        std::span<const CNoduleItem* const> rows, const CString& report) {
    const std::wstring_view given = RecommendationGiven(report);
    FUZZ_CHECK(!given.empty(), "the report ends with one of the recommendations");
    if (finalCategory.nCategory) {
        const std::wstring_view expected =
            AreModifiers(finalCategory.letters) ? RecommendationOf(*finalCategory.nCategory) : RecommendationOf(CAT_4X);
        FUZZ_CHECK(given == expected, "a label with modifiers gets its category's recommendation");
        return given;
    }
    ExamInputs withS = exam;
    withS.strFinalCategory += L'S';
    FUZZ_CHECK(RecommendationGiven(ComposeReport(withS, rows)) == given, "an S more never changes the recommendation");
    return given;
}

void CheckReport(const ExamInputs& exam, const FinalCategory& finalCategory, std::span<const CNoduleItem* const> rows) {
    const CString report = ComposeReport(exam, rows);
    FUZZ_CHECK(!report.empty() && !IsWhiteSpace(report.front()) && !IsWhiteSpace(report.back()),
               "the report neither begins nor ends with white space");

    // Positions from the end: a note may itself hold a line that looks like a conclusion.
    const CString conclusion = L"\r\n\r\n결론: 범주 " + exam.strFinalCategory + L" " +
                               CString(CheckedRecommendation(exam, finalCategory, rows, report));
    FUZZ_CHECK(report.ends_with(conclusion), "the report ends with the final category's conclusion line");
    const std::wstring_view body = std::wstring_view(report).substr(0, report.size() - conclusion.size());
    FUZZ_CHECK(TrimmedEnd(body).size() == body.size(), "exactly one blank line precedes the conclusion");

    const std::wstring_view marker = L"영상소견\r\n";
    const std::size_t markerAt = body.find(marker);
    FUZZ_CHECK(markerAt != std::wstring_view::npos, "the header ends with the findings heading");
    const std::wstring_view header = body.substr(0, markerAt + marker.size());
    FUZZ_CHECK(header.starts_with(exam.bBaselineCt ? L"처음CT\r\n" : L"추적CT (이전CT: "),
               "the header begins with the kind of CT");

    CString headerAndNodules(header);
    const std::vector<size_t> order = ReportedOrder(exam, rows);
    if (order.empty()) {
        headerAndNodules += L"발견된 결절 없음.\r\n";
    }
    for (size_t nRow : order) {
        headerAndNodules += LineAlone(*rows[nRow], exam.bBaselineCt) + L"\r\n";
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
    FinalCategory finalCategory;
    const ExamInputs exam = ReadExam(in, finalCategory);

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

    CheckReport(exam, finalCategory, rows);

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
