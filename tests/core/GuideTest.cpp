// The reader's guide (docs/guide.md) states the rules in tables and quotes a
// report's nodule line and a row's tooltip. Each is read here and checked
// against the program's own rules and texts, so that the guide cannot drift
// from the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "model/CategoryExplanation.h"
#include "model/Labels.h"
#include "model/NoduleItem.h"
#include "report/ReportComposer.h"

namespace {

using Cells = std::vector<std::string>;

CString Wide(const std::string& utf8) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    CString text(utf8.size(), L'\0');
    text.resize(std::mbstowcs(text.data(), utf8.c_str(), text.size()));
    return text;
}

Cells Split(const std::string& text, const std::string& separator) {
    Cells parts;
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + separator.size()) {
        end = text.find(separator, start);
        const std::string part = text.substr(start, end - start);
        const auto first = part.find_first_not_of(' ');
        parts.push_back(first == std::string::npos ? "" : part.substr(first, part.find_last_not_of(' ') - first + 1));
    }
    return parts;
}

// The body rows of the guide's table with this header row.
std::vector<Cells> GuideTable(const std::string& header) {
    std::ifstream guide(GUIDE_PATH);
    std::vector<Cells> rows;
    std::string line;
    while (std::getline(guide, line) && line != header) {}
    while (std::getline(guide, line) && line.starts_with("|")) {
        const Cells cells = Split(line, "|");
        if (!line.starts_with("|-")) rows.emplace_back(cells.begin() + 1, cells.end() - 1);
    }
    EXPECT_FALSE(rows.empty()) << "no table headed " << header << " in " << GUIDE_PATH;
    return rows;
}

Cells Items(const std::string& cell) { return cell == "없음" ? Cells{} : Split(cell, ", "); }

// The value whose label the cell names, spaces aside ("처음 CT" is "처음CT").
int ValueOf(const std::string& cell, CString (*label)(int), int nLast) {
    auto squeezed = [](CString text) { return std::erase(text, L' '), text; };
    for (int nValue = 0; nValue <= nLast; ++nValue) {
        if (squeezed(label(nValue)) == squeezed(Wide(cell))) return nValue;
    }
    ADD_FAILURE() << "no label \"" << cell << "\"";
    return -1;
}

// The first number before the word, in tenths of a millimetre ("6 mm 이상" → 60).
int TenthsBefore(const std::string& cell, const std::string& word, int nNone) {
    std::smatch match;
    if (!std::regex_search(cell, match, std::regex("([0-9.]+) mm " + word))) return nNone;
    return static_cast<int>(std::lround(std::stod(match[1]) * 10));
}

// "6 mm 이상 8 mm 미만", "6 mm 미만", "15 mm 이상", "모든 크기" or "—".
struct SizeRange {
    int nFrom, nBelow;
    explicit SizeRange(const std::string& cell)
        : nFrom(TenthsBefore(cell, "이상", 0)), nBelow(TenthsBefore(cell, "미만", INT_MAX)) {}
    bool Contains(int nTenths) const { return nFrom <= nTenths && nTenths < nBelow; }
};

// Typed "6 × 5.9", stored as the editors store it; "—" was never entered.
void SetTypedAxes(const std::string& cell, double& dLong, double& dShort) {
    std::smatch match;
    if (!std::regex_match(cell, match, std::regex("([0-9.]+) × ([0-9.]+)"))) return;
    dLong = std::stod(match[1]) + SIZE_NUDGE_MM;
    dShort = std::stod(match[2]) + SIZE_NUDGE_MM;
}

const struct FeatureBox {
    const char* caption;
    bool CNoduleItem::*flag;
} FEATURE_BOXES[] = {
    {"흉막주변결절", &CNoduleItem::m_bPerifissural},
    {"양성 석회화", &CNoduleItem::m_bCalcification},
    {"지방", &CNoduleItem::m_bFat},
    {"양성 가능성 높음 (2b)", &CNoduleItem::m_bLikelyBenign},
    {"침상결절", &CNoduleItem::m_bSpiculation},
    {"공동", &CNoduleItem::m_bCavity},
    {"기타", &CNoduleItem::m_bOther},
};

void Tick(CNoduleItem& nodule, const std::string& caption) {
    for (const FeatureBox& box : FEATURE_BOXES) {
        if (caption == box.caption) return void(nodule.*box.flag = true);
    }
    ADD_FAILURE() << "no check box \"" << caption << "\"";
}

// The whole guide, widened.
CString GuideText() {
    std::ifstream guide(GUIDE_PATH);
    return Wide(std::string(std::istreambuf_iterator<char>(guide), {}));
}

// The guide's one block of code, its lines joined as a tooltip joins them.
CString GuideCodeBlock() {
    std::ifstream guide(GUIDE_PATH);
    std::string line, block;
    while (std::getline(guide, line) && line != "```") {}
    while (std::getline(guide, line) && line != "```") block += (block.empty() ? "" : "\r\n") + line;
    return Wide(block);
}

// Every size of every type and follow-up status falls in exactly one row of the
// guide's table, and that row's category is the one the rules give.
TEST(GuideTest, CategoryTableIsTheDecisionTable) {
    struct SizeRow {
        Cells cells;
        int nType, nFollowUp;
        SizeRange mean, solidMean;
        CString category;
    };
    std::vector<SizeRow> rows;
    for (const Cells& row : GuideTable("| 결절 유형 | 추적 검사 | 평균 직경 | 고형부분 평균 직경 | 범주 |")) {
        rows.push_back({row, ValueOf(row[0], NoduleTypeText, NODULE_GROUND_GLASS),
                        ValueOf(row[1], FollowUpText, FOLLOWUP_STABLE), SizeRange(row[2]), SizeRange(row[3]),
                        Wide(row[4])});
    }
    for (int nType = NODULE_SOLID; nType <= NODULE_GROUND_GLASS; ++nType) {
        for (int nFollowUp = FOLLOWUP_BASELINE; nFollowUp <= FOLLOWUP_STABLE; ++nFollowUp) {
            for (int nMean = 0; nMean <= 400; ++nMean) {
                for (int nSolidMean = 0; nSolidMean <= 150; ++nSolidMean) {
                    auto applies = [&](const SizeRow& r) {
                        return r.nType == nType && r.nFollowUp == nFollowUp && r.mean.Contains(nMean) &&
                               r.solidMean.Contains(nSolidMean);
                    };
                    ASSERT_EQ(std::count_if(rows.begin(), rows.end(), applies), 1)
                        << "rows for type " << nType << ", follow-up " << nFollowUp << ", mean " << nMean
                        << " and solid mean " << nSolidMean << " tenths of a millimetre";
                    const SizeRow& row = *std::find_if(rows.begin(), rows.end(), applies);
                    CNoduleItem nodule;
                    nodule.m_nType = nType;
                    nodule.m_nFollowUp = nFollowUp;
                    nodule.m_dLongAxis = nodule.m_dShortAxis = nMean / 10.0 + SIZE_NUDGE_MM;
                    nodule.m_dSolidLongAxis = nodule.m_dSolidShortAxis = nSolidMean / 10.0 + SIZE_NUDGE_MM;
                    nodule.UpdateCategory();
                    ASSERT_EQ(CategoryText(nodule.m_nCategory), row.category)
                        << row.cells[0] << " | " << row.cells[1] << " | " << row.cells[2] << " | " << row.cells[3];
                }
            }
        }
    }
}

TEST(GuideTest, NoduleExamplesAreWhatTheRulesGive) {
    for (const Cells& row :
         GuideTable("| 결절 유형 | 추적 검사 | 장축 × 단축 | 고형부분 장축 × 단축 | 체크한 소견 | 범주 |")) {
        CNoduleItem nodule;
        nodule.m_nType = ValueOf(row[0], NoduleTypeText, NODULE_GROUND_GLASS);
        nodule.m_nFollowUp = ValueOf(row[1], FollowUpText, FOLLOWUP_STABLE);
        SetTypedAxes(row[2], nodule.m_dLongAxis, nodule.m_dShortAxis);
        SetTypedAxes(row[3], nodule.m_dSolidLongAxis, nodule.m_dSolidShortAxis);
        for (const std::string& caption : Items(row[4])) Tick(nodule, caption);
        nodule.UpdateCategory();
        EXPECT_EQ(CategoryText(nodule.m_nCategory), Wide(row[5])) << row[0] << " " << row[2] << " " << row[4];
    }
}

// A report's conclusion, with and without the S modifier, is the guide's heading
// and recommendation; "<br>" stands for a line break.
TEST(GuideTest, RecommendationsAreTheComposersOwn) {
    for (const Cells& row : GuideTable("| 최종 판독 범주 | 결론 | 권고 문구 |")) {
        CString advice = Wide(row[2]);
        for (std::size_t at; (at = advice.find(L"<br>")) != CString::npos;) advice.replace(at, 4, L"\r\n");
        for (const std::string& category : Items(row[0])) {
            for (const wchar_t* modifier : {L"", L"S"}) {
                ExamInputs exam;
                exam.strFinalCategory = Wide(category) + modifier;
                const CString conclusion =
                    L"결론: 범주 " + exam.strFinalCategory + L" " + Wide(row[1]) + L"\r\n" + advice;
                EXPECT_TRUE(ComposeReport(exam, {}).ends_with(conclusion)) << category << " " << row[2];
            }
        }
    }
}

// The guide quotes, as code, the line a growing part-solid nodule with
// spiculation gets on a follow-up CT: the solid part's mean in its own
// parentheses, then the feature's.
TEST(GuideTest, NoduleLineExampleIsTheComposersOwn) {
    CNoduleItem nodule;
    nodule.m_nType = NODULE_PART_SOLID;
    nodule.m_nFollowUp = FOLLOWUP_GROWING;
    nodule.m_nLobe = LOBE_RUL;
    nodule.m_nImageNo = 45;
    nodule.m_dLongAxis = nodule.m_dShortAxis = 12 + SIZE_NUDGE_MM;
    nodule.m_dSolidLongAxis = nodule.m_dSolidShortAxis = 5 + SIZE_NUDGE_MM;
    nodule.m_bSpiculation = true;
    nodule.UpdateCategory();
    ExamInputs exam;
    exam.bBaselineCt = false;
    const CNoduleItem* nodules[] = {&nodule};
    const CString report = ComposeReport(exam, nodules);

    const CString heading = L"영상소견\r\n";
    ASSERT_NE(report.find(heading), CString::npos) << "no nodule lines in the report";
    const std::size_t start = report.find(heading) + heading.size();
    const CString line = report.substr(start, report.find(L"\r\n", start) - start);
    EXPECT_NE(GuideText().find(L"`" + line + L"`"), CString::npos) << "the guide does not quote the line";
}

// The guide's example tip is the explanation of a 9 × 9 mm solid nodule with
// spiculation on a baseline CT.
TEST(GuideTest, TipExampleIsTheExplanation) {
    CNoduleItem nodule;
    nodule.m_dLongAxis = nodule.m_dShortAxis = 9 + SIZE_NUDGE_MM;
    nodule.m_bSpiculation = true;
    nodule.UpdateCategory();
    EXPECT_EQ(GuideCodeBlock(), ExplainNoduleCategory(nodule, true));
}

}  // namespace
