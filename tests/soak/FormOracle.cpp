#include "FormOracle.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <functional>
#include <span>
#include <sstream>
#include <string_view>

#include "FormSteps.h"
#include "form/FeatureBoxes.h"
#include "report/ReportComposer.h"
#include "tests/core/Conclusions.h"

namespace {

// UTF-8, so that a failure quotes the Korean texts as they are.
std::string Narrow(const std::wstring& text) {
    const int nWide = static_cast<int>(text.size());
    std::string narrow(
        static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), nWide, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), nWide, narrow.data(), static_cast<int>(narrow.size()), nullptr,
                        nullptr);
    return narrow;
}

class Violations {
public:
    template <typename... Parts> void Add(const Parts&... parts) {
        std::ostringstream line;
        (line << ... << parts);
        m_lines.push_back(line.str());
    }
    std::vector<std::string> Take() { return std::move(m_lines); }

private:
    std::vector<std::string> m_lines;
};

// The labels the list shows, written out here rather than taken from the
// program's own tables; a value the editors cannot give shows nothing.
std::wstring Label(const std::vector<std::wstring>& labels, int nIndex) {
    return nIndex >= 0 && nIndex < static_cast<int>(labels.size()) ? labels[static_cast<size_t>(nIndex)] : L"";
}
const std::vector<std::wstring> TYPE_LABELS = {L"고형", L"부분고형", L"간유리"};
const std::vector<std::wstring> FOLLOW_UP_LABELS = {L"처음CT", L"새로 생김", L"커짐", L"변화 없음"};
const std::vector<std::wstring> LOBE_LABELS = {L"우상엽", L"우중엽", L"우하엽", L"좌상엽", L"좌하엽"};
const std::vector<std::wstring> CATEGORY_LABELS = {L"0", L"1", L"2", L"2b", L"3", L"4", L"4A", L"4B", L"4X"};

std::wstring LobeLabel(int nLobe) { return nLobe == LOBE_NONE ? L"---" : Label(LOBE_LABELS, nLobe); }

// A mean shown with one decimal, within half a tenth of the stored axes' mean.
bool ShowsMean(std::wstring_view shown, double dAxisA, double dAxisB) {
    const double dMean = (dAxisA + dAxisB) / 2;
    const std::wstring text(shown);
    wchar_t* end = nullptr;
    const double dShown = std::wcstod(text.c_str(), &end);
    if (end == text.c_str()) return false;
    const auto point = shown.find(L'.');
    return point != std::wstring_view::npos && shown.size() - point == 2 &&
           std::fabs(dShown - dMean) <= 0.05 + std::fabs(dMean) * 1e-12;
}

// "M [mm]", and for a part-solid nodule "M [mm] (S [mm])".
bool ShowsSize(const std::wstring& shown, const CNoduleItem& item) {
    constexpr std::wstring_view UNIT = L" [mm]";
    const size_t unitAt = shown.find(UNIT);
    if (unitAt == std::wstring::npos ||
        !ShowsMean(std::wstring_view(shown).substr(0, unitAt), item.m_dLongAxis, item.m_dShortAxis))
        return false;
    const std::wstring_view rest = std::wstring_view(shown).substr(unitAt + UNIT.size());
    if (item.m_nType != NODULE_PART_SOLID) return rest.empty();
    return rest.size() > 2 + UNIT.size() && rest.starts_with(L" (") && rest.ends_with(L" [mm])") &&
           ShowsMean(rest.substr(2, rest.size() - 2 - UNIT.size() - 1), item.m_dSolidLongAxis, item.m_dSolidShortAxis);
}

void CheckRows(FormDriver& form, Violations& out) {
    for (int nRow = 0; nRow < form.RowCount(); ++nRow) {
        const CNoduleItem& item = form.Record(nRow);
        const std::wstring expected[] = {
            Label(TYPE_LABELS, item.m_nType),
            Label(FOLLOW_UP_LABELS, item.m_nFollowUp),
            L"",  // the size, checked below
            LobeLabel(item.m_nLobe) + L" (#" + std::to_wstring(item.m_nImageNo) + L")",
            item.m_bPerifissural ? L"흉막주변" : L"",
            Label(CATEGORY_LABELS, item.m_nCategory),
        };
        for (int nColumn = 0; nColumn < 6; ++nColumn) {
            const std::wstring shown = form.RowText(nRow, nColumn);
            const bool bRight = nColumn == 2 ? ShowsSize(shown, item) : shown == expected[nColumn];
            if (!bRight)
                out.Add("row ", nRow, " column ", nColumn, " shows '", Narrow(shown), "' for '",
                        Narrow(expected[nColumn]), "'");
        }
        // Checks only staleness: the category the record holds is the one the
        // rules give for its fields now (the rules themselves are the core's tests').
        CNoduleItem recomputed = item;
        recomputed.UpdateCategory();
        if (recomputed.m_nCategory != item.m_nCategory)
            out.Add("row ", nRow, " holds category ", item.m_nCategory, " where the rules give ",
                    recomputed.m_nCategory);
    }
}

// The exam findings by their part in the final category.
constexpr int SUGGESTING_LUNG_CANCER[] = {IDC_CONSOLIDATION, IDC_ATELECTASIS, IDC_LYMPHADENOPATHY,
                                          IDC_SUGGESTIVE_OTHER};
constexpr int SIGNIFICANT[] = {IDC_EMPHYSEMA, IDC_INTERSTITIAL, IDC_PNEUMONIA,        IDC_EXTRAPULMONARY,
                               IDC_ANEURYSM,  IDC_EFFUSION,     IDC_SIGNIFICANT_OTHER};
constexpr int MODERATE_SEVERITY = 1;

bool AnyChecked(const FormDriver& form, std::span<const int> boxes) {
    return std::any_of(boxes.begin(), boxes.end(), [&form](int nBox) { return form.Checked(nBox); });
}

// The most severe nodule's category (1 without nodules), raised to at least 4A
// by an endobronchial lesion and to 4X by any finding that suggests lung cancer.
int ExpectedExamCategory(FormDriver& form) {
    int nCategory = CAT_1;
    for (int nRow = 0; nRow < form.RowCount(); ++nRow)
        nCategory = nRow == 0 ? form.Record(nRow).m_nCategory : std::max(nCategory, form.Record(nRow).m_nCategory);
    if (form.Checked(IDC_ENDOBRONCHIAL)) nCategory = std::max<int>(nCategory, CAT_4A);
    if (AnyChecked(form, SUGGESTING_LUNG_CANCER)) nCategory = CAT_4X;
    return nCategory;
}

// 1037 shows the exam's category, then S when a significant finding is ticked,
// coronary calcification counting from Moderate.
std::wstring ExpectedFinalCategory(FormDriver& form) {
    const bool bSignificant = AnyChecked(form, SIGNIFICANT) ||
                              (form.Checked(IDC_CORONARY) && form.ComboSel(IDC_CORONARY_SEVERITY) >= MODERATE_SEVERITY);
    return Label(CATEGORY_LABELS, ExpectedExamCategory(form)) + (bSignificant ? L"S" : L"");
}

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// What follows the text between `before` and `after` in a line; empty when either is missing.
std::wstring_view Between(std::wstring_view line, std::wstring_view before, std::wstring_view after) {
    const size_t start = line.find(before);
    if (start == std::wstring_view::npos) return {};
    const size_t end = line.find(after, start + before.size());
    if (end == std::wstring_view::npos) return {};
    return line.substr(start + before.size(), end - start - before.size());
}

// A size as the report shows it: a number above zero with one decimal.
bool IsShownSize(std::wstring_view text) {
    const size_t point = text.find(L'.');
    if (point == 0 || point == std::wstring_view::npos || text.size() != point + 2) return false;
    const auto isDigit = [](wchar_t ch) { return ch >= L'0' && ch <= L'9'; };
    const std::wstring_view whole = text.substr(0, point), tenth = text.substr(point + 1);
    return std::all_of(whole.begin(), whole.end(), isDigit) && isDigit(tenth[0]) &&
           text.find_first_of(L"123456789") != std::wstring_view::npos;
}

// A nodule line names its mean size after its place, and a part-solid nodule's solid part in brackets.
void CheckLineSizes(const std::wstring& line, Violations& out) {
    const std::wstring_view mean = Between(line, L"), ", L" mm ");
    const bool bPartSolid = line.find(L" 부분고형 결절 있음") != std::wstring::npos;
    const std::wstring_view solid = Between(line, L"(고형부분: ", L" mm)");
    if (!IsShownSize(mean) || (bPartSolid && !IsShownSize(solid)))
        out.Add("a nodule line shows a size that is none: '", Narrow(line), "'");
}

// The report's line for the selected nodule names the features of exactly the
// boxes that the form shows ticked, with their words, in the catalogue's order.
void CheckFeatureWords(FormDriver& form, Violations& out) {
    const int nSelected = form.SelectedRow();
    if (nSelected < 0) return;
    const CNoduleItem& item = form.Record(nSelected);
    std::wstring ticked;
    for (const FeatureBox& box : FEATURE_BOXES)
        if (form.Checked(box.nIDC)) ticked += (ticked.empty() ? L" (" : L", ") + ReportWord(item, FeatureOf(box));
    if (!ticked.empty()) ticked += L")";
    const CNoduleItem* nodules[] = {&item};
    const std::vector<std::wstring> lines = Lines(ComposeReport(ExamInputs{}, nodules));
    const auto findings = std::find(lines.begin(), lines.end(), L"영상소견");
    if (findings == lines.end() || findings + 1 == lines.end()) {
        out.Add("the report of the selected nodule has no nodule line");
        return;
    }
    // The features follow the type and a part-solid nodule's solid part; the category ends the line.
    std::wstring_view rest = *(findings + 1);
    rest.remove_prefix(std::min(rest.size(), rest.find(L"결절 있음") + std::wstring_view(L"결절 있음").size()));
    if (item.m_nType == NODULE_PART_SOLID) rest.remove_prefix(std::min(rest.size(), rest.find(L" mm)") + 4));
    const std::wstring expected = ticked + L", 범주: " + Label(CATEGORY_LABELS, item.m_nCategory);
    if (rest != expected)
        out.Add("the selected nodule's report line ends '", Narrow(std::wstring(rest)), "' where its boxes give '",
                Narrow(expected), "'");
}

void ExpectEnabled(const FormDriver& form, int nIDC, bool bExpected, Violations& out) {
    if (form.Enabled(nIDC) != bExpected)
        out.Add("control ", nIDC,
                bExpected ? " is disabled but should be enabled" : " is enabled but should be disabled");
}

// Perifissural is offered for a small solid nodule not judged likely benign:
// below 9.99 mm it must be, from 10 mm it must not be; the limit lies between.
void CheckPerifissuralOffered(const FormDriver& form, const CNoduleItem* pItem, Violations& out) {
    constexpr double SURELY_BELOW_MM = 9.99, SURELY_NOT_BELOW_MM = 10.0;
    if (!pItem || pItem->m_nType != NODULE_SOLID || pItem->m_bLikelyBenign) {
        ExpectEnabled(form, IDC_PERIFISSURAL, false, out);
        return;
    }
    const double dLarger = std::max(pItem->m_dLongAxis, pItem->m_dShortAxis);
    if (dLarger < SURELY_BELOW_MM) ExpectEnabled(form, IDC_PERIFISSURAL, true, out);
    if (dLarger >= SURELY_NOT_BELOW_MM) ExpectEnabled(form, IDC_PERIFISSURAL, false, out);
}

// The editors show the selected nodule's record, but for the one the reader may
// be typing in: a size with one decimal, nothing for what is no size.
void CheckEditorsShowRecord(const FormDriver& form, const CNoduleItem& item, Violations& out) {
    HWND hFocus = GetFocus();
    for (const SizeField& field : SIZE_FIELDS) {
        if (!form.Enabled(field.nIDC) || form.Item(field.nIDC) == hFocus) continue;
        const std::wstring shown = form.Text(field.nIDC);
        const double dSize = item.*field.size;
        if (IsMeasured(dSize) ? !ShowsMean(shown, dSize, dSize) : !shown.empty())
            out.Add("edit ", field.nIDC, " shows '", Narrow(shown), "' for the size ", dSize);
    }
    if (form.Item(IDC_IMAGE_NO) != hFocus && form.Text(IDC_IMAGE_NO) != std::to_wstring(item.m_nImageNo))
        out.Add("edit 1012 shows '", Narrow(form.Text(IDC_IMAGE_NO)), "' for the image ", item.m_nImageNo);
}

void CheckEnableTable(FormDriver& form, Violations& out) {
    const bool bBaseline = form.ComboSel(IDC_CT_TYPE) == 0;
    ExpectEnabled(form, IDC_PRIOR_CT_DATE, !bBaseline, out);
    // Any change of the kind of CT clears every status, and a baseline CT offers none.
    for (int nRow = 0; bBaseline && nRow < form.RowCount(); ++nRow)
        if (form.Record(nRow).m_nFollowUp != FOLLOWUP_BASELINE)
            out.Add("row ", nRow, " keeps a follow-up status on a baseline CT");

    const int nSelected = form.SelectedRow();
    const CNoduleItem* pItem = nSelected >= 0 ? &form.Record(nSelected) : nullptr;
    for (int nIDC :
         {IDC_NODULE_TYPE, IDC_LONG_AXIS, IDC_SHORT_AXIS, IDC_LOBE, IDC_IMAGE_NO, IDC_CALCIFICATION, IDC_FAT})
        ExpectEnabled(form, nIDC, pItem != nullptr, out);
    const bool bPartSolid = pItem && pItem->m_nType == NODULE_PART_SOLID;
    for (int nIDC : {IDC_SOLID_LONG_AXIS, IDC_SOLID_SHORT_AXIS, IDC_SOLID_CAPTION, IDC_SOLID_SIZE_UNIT})
        ExpectEnabled(form, nIDC, bPartSolid, out);
    CheckPerifissuralOffered(form, pItem, out);
    ExpectEnabled(form, IDC_FOLLOWUP, pItem && !bBaseline, out);
    ExpectEnabled(form, IDC_LIKELY_BENIGN, pItem && pItem->m_nCategory >= CAT_2B, out);
    const bool bSuspicious = pItem && pItem->m_nCategory >= CAT_3;
    for (int nIDC : {IDC_SPICULATION, IDC_CAVITY, IDC_OTHER}) ExpectEnabled(form, nIDC, bSuspicious, out);
    ExpectEnabled(form, IDC_OTHER_TEXT, bSuspicious && pItem->m_bOther, out);

    if (pItem) {
        if (form.ComboSel(IDC_NODULE_TYPE) != pItem->m_nType) out.Add("1002 does not select the nodule's type");
        if (form.ComboSel(IDC_LOBE) != pItem->m_nLobe) out.Add("1006 does not select the nodule's lobe");
        if (!bBaseline && form.ComboSel(IDC_FOLLOWUP) != pItem->m_nFollowUp - 1)
            out.Add("1008 does not select the nodule's follow-up status");
        if (form.Checked(IDC_CALCIFICATION) != pItem->m_bCalcification) out.Add("1003 differs from the record");
        if (form.Checked(IDC_FAT) != pItem->m_bFat) out.Add("1004 differs from the record");
        if (form.Checked(IDC_SPICULATION) != (bSuspicious && pItem->m_bSpiculation))
            out.Add("1009 differs from the record");
        CheckEditorsShowRecord(form, *pItem, out);
    }

    for (const FindingDetail& finding : FINDING_DETAILS)
        ExpectEnabled(form, finding.nDetail, form.Checked(finding.nBox), out);
}

}  // namespace

std::vector<std::string> CheckInvariants(FormDriver& form, int nRecordsOutsideForm) {
    Violations out;
    if (CNoduleItem::LiveCount() - nRecordsOutsideForm != form.RowCount())
        out.Add(CNoduleItem::LiveCount() - nRecordsOutsideForm, " live records for ", form.RowCount(), " rows");
    CheckRows(form, out);
    CheckEnableTable(form, out);
    CheckFeatureWords(form, out);
    const std::wstring expected = ExpectedFinalCategory(form);
    if (form.Text(IDC_FINAL_CATEGORY) != expected)
        out.Add("1037 shows '", Narrow(form.Text(IDC_FINAL_CATEGORY)), "' for '", Narrow(expected), "'");
    return out.Take();
}

std::vector<std::string> CheckReport(FormDriver& form, const std::wstring& report) {
    Violations out;
    const std::vector<std::wstring> lines = Lines(report);
    const auto findings = std::find(lines.begin(), lines.end(), L"영상소견");
    const auto blank = std::find(findings, lines.end(), L"");
    if (findings == lines.end() || blank == lines.end()) {
        out.Add("the report has no findings block");
        return out.Take();
    }
    std::vector<std::wstring> shown;
    for (auto line = findings + 1; line != blank; ++line) {
        if (line->find(L"범주: ") != std::wstring::npos) CheckLineSizes(*line, out);
        const size_t at = line->rfind(L"범주: ");
        shown.push_back(at == std::wstring::npos ? *line : line->substr(at + 4));
    }
    std::vector<int> categories;
    for (int nRow = 0; nRow < form.RowCount(); ++nRow) categories.push_back(form.Record(nRow).m_nCategory);
    std::sort(categories.begin(), categories.end(), std::greater<>());
    std::vector<std::wstring> expected;
    for (int nCategory : categories) expected.push_back(Label(CATEGORY_LABELS, nCategory));
    if (expected.empty()) expected.push_back(L"발견된 결절 없음.");
    if (shown != expected)
        out.Add("the nodule lines carry ", shown.size(), " categories other than the rows' ", expected.size());

    // The words of each category's conclusion are the guide's (GuideTest): here,
    // that the report gives the one of the category the entries give.
    const std::wstring expectedConclusion = ConclusionOf(ExpectedFinalCategory(form));
    if (!report.ends_with(expectedConclusion))
        out.Add("the conclusion is not that of category '", Narrow(ExpectedFinalCategory(form)), "'");
    return out.Take();
}
