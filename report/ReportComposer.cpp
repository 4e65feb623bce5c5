#include "ReportComposer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <vector>

#include "base/NumberText.h"
#include "base/TextTrim.h"
#include "model/Labels.h"
#include "model/NoduleFeatures.h"

namespace {

void TrimEnd(CString& text) { text.erase(TrimmedEnd(text).size()); }

void Trim(CString& text) {
    TrimEnd(text);
    text.erase(0, text.size() - Trimmed(text).size());
}

void Join(CString& out, const std::vector<CString>& items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            out += L", ";
        }
        out += items[i];
    }
}

// ---- Nodule lines ----

struct NoduleLine {
    int nCategory;
    double dMean;  // the unrounded mean in mm, the size key of the order
    CString text;
};

// The features whose boxes the form shows ticked, in the catalogue's order.
CString FeaturePart(const CNoduleItem& nodule) {
    std::vector<CString> words;
    for (const NoduleFeature& feature : NODULE_FEATURES) {
        if (IsShownTicked(nodule, feature)) {
            words.push_back(ReportWord(nodule, feature));
        }
    }
    CString part;
    if (!words.empty()) {
        part = L" (";
        Join(part, words);
        part += L")";
    }
    return part;
}

NoduleLine MakeNoduleLine(const CNoduleItem& nodule, bool bBaselineCt) {
    const double dMean = (nodule.m_dLongAxis + nodule.m_dShortAxis) * 0.5;
    CString text = LobeText(nodule.m_nLobe);
    text += L"(#";
    text += FormatInt(nodule.m_nImageNo);
    text += L"), ";
    text += FormatFixed(dMean, 1);
    text += L" mm ";
    text += NoduleTypeText(nodule.m_nType);
    text += L" 결절 있음";
    if (nodule.m_nType == NODULE_PART_SOLID) {
        text += L" (고형부분: ";
        text += FormatFixed((nodule.m_dSolidLongAxis + nodule.m_dSolidShortAxis) * 0.5, 1);
        text += L" mm)";
    }
    text += FeaturePart(nodule);
    text += L", ";
    if (!bBaselineCt) {
        text += FollowUpText(nodule.m_nFollowUp);
        text += L", ";
    }
    text += L"범주: ";
    text += CategoryText(nodule.m_nCategory);
    // A mean that is not a number sorts as the smallest, so the order stays strict.
    const double dSortMean = std::isnan(dMean) ? -std::numeric_limits<double>::infinity() : dMean;
    return NoduleLine{nodule.m_nCategory, dSortMean, std::move(text)};
}

// Most severe first, then the larger nodule; the sort is stable, so list order breaks ties.
std::vector<NoduleLine> SortedNoduleLines(std::span<const CNoduleItem* const> nodules, bool bBaselineCt) {
    std::vector<NoduleLine> lines;
    lines.reserve(nodules.size());
    for (const CNoduleItem* nodule : nodules) {
        // A row without a record has nothing to report.
        if (nodule) {
            lines.push_back(MakeNoduleLine(*nodule, bBaselineCt));
        }
    }
    std::stable_sort(lines.begin(), lines.end(), [](const NoduleLine& a, const NoduleLine& b) {
        if (a.nCategory != b.nCategory) {
            return a.nCategory > b.nCategory;
        }
        return a.dMean > b.dMean;
    });
    return lines;
}

// ---- Header, findings and comments ----

void AppendHeader(CString& report, const ExamInputs& exam) {
    if (exam.bBaselineCt) {
        report += L"처음CT\r\n";
    } else {
        report += L"추적CT (이전CT: ";
        report += FormatIsoDate(exam.dtPriorCt);
        report += L")\r\n";
    }
    if (exam.bPriorCancer) {
        report += L"과거 폐암 병력 있음.\r\n";
    }
    report += L"선량 (CTDIvol): ";
    // A typed "-0" is the dose 0: the report never says "-0.00".
    report += FormatFixed(static_cast<double>(exam.fCtdiVol) + 0.0, 2);
    report += L" mGy\r\n\r\n영상소견\r\n";
}

CString Noted(const CString& label, const CString& note) { return LabelWithNote(label, CString(Trimmed(note))); }

void AppendSentence(CString& report, std::wstring_view prefix, const std::vector<CString>& items) {
    if (items.empty()) {
        return;
    }
    report += prefix;
    Join(report, items);
    report += L".\r\n";
}

// The report's sentences on the findings, one for each role, in this order.
struct FindingSentence {
    FindingRole role;
    const wchar_t* prefix;
};

const FindingSentence FINDING_SENTENCES[] = {
    {FindingRole::RAISES_TO_4A, L""},
    {FindingRole::SUGGESTS_LUNG_CANCER, L"폐결절 외 폐암시사 소견: "},
    {FindingRole::SIGNIFICANT, L"폐결절 외 의미있는 소견: "},
    {FindingRole::OTHER, L"다른 소견: "},
};

// A graded finding below its degree is written as Mild, whatever its degree says.
CString FindingWord(const ExamInputs& exam, size_t nRow, FindingRole role) {
    const ExamFinding& finding = EXAM_FINDINGS[nRow];
    if (finding.bGraded && role != finding.role) return CString(finding.reportWord) + L" (Mild)";
    return finding.bHasNote ? Noted(finding.reportWord, exam.notes[nRow]) : CString(finding.reportWord);
}

void AppendFindings(CString& report, const ExamInputs& exam) {
    std::vector<CString> items;
    for (const FindingSentence& sentence : FINDING_SENTENCES) {
        items.clear();
        for (size_t nRow = 0; nRow < EXAM_FINDING_COUNT; ++nRow) {
            if (TakesRole(exam.findings, nRow, sentence.role)) items.push_back(FindingWord(exam, nRow, sentence.role));
        }
        AppendSentence(report, sentence.prefix, items);
    }
}

void AppendComments(CString& report, const CString& comments) {
    const std::wstring_view trimmed = Trimmed(comments);
    if (!trimmed.empty()) {
        report += L"\r\n추가 내용: \r\n";
        report += trimmed;
        report += L"\r\n";
    }
}

// ---- Conclusion ----

struct Recommendation {
    const wchar_t* bareCategory;
    const wchar_t* heading;
    const wchar_t* advice;
};

const wchar_t ANNUAL_SCREENING[] = L"12개월 후 연례 폐암검진 CT를 시행하시기를 권고합니다.";

const Recommendation RECOMMENDATIONS[] = {
    {L"0", L"불완전\r\n", L"흉부CT를 재촬영하거나, 이전에 촬영한 CT 영상과 비교하여 평가해야 합니다."},
    {L"1", L"이상소견 없음\r\n", ANNUAL_SCREENING},
    {L"2", L"양성 결절\r\n", ANNUAL_SCREENING},
    {L"2b", L"양성 결절\r\n", ANNUAL_SCREENING},
    {L"3", L"경계선 결절\r\n", L"6개월 후 저선량 CT를 시행하시기를 권고합니다."},
    {L"4A", L"폐암 의심\r\n", L"3개월후 저선량 CT를 시행하시기를 권고합니다."},
};

// Every other category text, an empty one included.
const Recommendation MOST_SUSPICIOUS = {
    nullptr,
    L"폐암 매우 의심\r\n",
    L"악성 여부 확인을 위하여 필요에 따라 흉부 CT, PET/CT 혹은 조직검사 등의 시행을 권고합니다.\r\n"
    L"새로운 큰 결절이 발생한 경우 감염/염증 병변을 배제하기 위해 한달 후 저선량흉부 CT 촬영합니다.\r\n",
};

std::wstring_view WithoutTrailing(std::wstring_view text, wchar_t letter) {
    while (!text.empty() && text.back() == letter) {
        text.remove_suffix(1);
    }
    return text;
}

// The modifiers S and C may follow the category in either order.
std::wstring_view BareCategory(std::wstring_view finalCategory) {
    return WithoutTrailing(WithoutTrailing(WithoutTrailing(finalCategory, L'S'), L'C'), L'S');
}

const Recommendation& RecommendationFor(std::wstring_view finalCategory) {
    const std::wstring_view bare = BareCategory(finalCategory);
    for (const Recommendation& row : RECOMMENDATIONS) {
        if (bare == row.bareCategory) {
            return row;
        }
    }
    return MOST_SUSPICIOUS;
}

void AppendConclusion(CString& report, const CString& finalCategory) {
    TrimEnd(report);
    report += L"\r\n\r\n결론: 범주 ";
    report += finalCategory;
    report += L" ";
    const Recommendation& recommendation = RecommendationFor(finalCategory);
    report += recommendation.heading;
    report += recommendation.advice;
}

// Room for the fixed texts, the notes and the nodule lines, so that appending never reallocates.
std::size_t EstimatedLength(const ExamInputs& exam, const std::vector<NoduleLine>& lines) {
    std::size_t length = 2048 + exam.strComments.size() + exam.strFinalCategory.size();
    for (const CString& note : exam.notes) {
        length += note.size();
    }
    for (const NoduleLine& line : lines) {
        length += line.text.size() + 2;
    }
    return length;
}

}  // namespace

CString LabelWithNote(const CString& label, const CString& note) {
    if (note.empty()) {
        return label;
    }
    return label + L" (" + note + L")";
}

CString ComposeReport(const ExamInputs& exam, std::span<const CNoduleItem* const> nodules) {
    const std::vector<NoduleLine> lines = SortedNoduleLines(nodules, exam.bBaselineCt);
    CString report;
    report.reserve(EstimatedLength(exam, lines));

    AppendHeader(report, exam);
    if (lines.empty()) {
        report += L"발견된 결절 없음.\r\n";
    }
    for (const NoduleLine& line : lines) {
        report += line.text;
        report += L"\r\n";
    }
    report += L"\r\n";
    AppendFindings(report, exam);
    AppendComments(report, exam.strComments);
    AppendConclusion(report, exam.strFinalCategory);
    report += L"\r\n";
    Trim(report);
    return report;
}
