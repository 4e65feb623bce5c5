// The reader's guide (docs/guide.md) states the rules in tables. Each table is
// read here and checked against the program's own rules and texts, so that the
// guide cannot drift from the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "model/ExamCategory.h"
#include "model/Labels.h"
#include "model/NoduleItem.h"
#include "report/ReportComposer.h"

namespace {

constexpr double SIZE_NUDGE_MM = 0.0001;  // what the editors add to every typed diameter

using Row = std::vector<std::string>;

CString Wide(const std::string& utf8) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    CString text(utf8.size(), L'\0');
    const std::size_t length = std::mbstowcs(text.data(), utf8.c_str(), text.size());
    EXPECT_NE(length, static_cast<std::size_t>(-1)) << "not UTF-8: " << utf8;
    text.resize(length == static_cast<std::size_t>(-1) ? 0 : length);
    return text;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + separator.size()) {
        parts.push_back(Trim(text.substr(start, end - start)));
    }
    parts.push_back(Trim(text.substr(start)));
    return parts;
}

// The body rows of the guide's table with this header row, cells trimmed.
std::vector<Row> GuideTable(const std::string& header) {
    std::ifstream guide(GUIDE_PATH);
    std::vector<Row> rows;
    bool bInside = false;
    for (std::string line; std::getline(guide, line);) {
        if (!bInside) {
            bInside = line == header;
        } else if (line.starts_with("|-")) {
            continue;
        } else if (line.starts_with("|")) {
            Row cells = Split(line, "|");
            rows.emplace_back(cells.begin() + 1, cells.end() - 1);
        } else {
            break;
        }
    }
    EXPECT_FALSE(rows.empty()) << "no table headed " << header << " in " << GUIDE_PATH;
    return rows;
}

// A list cell: "없음" is the empty list.
std::vector<std::string> Items(const std::string& cell) {
    return cell == "없음" ? std::vector<std::string>{} : Split(cell, ", ");
}

// The value whose label the cell names, spaces aside ("처음 CT" is "처음CT").
int ValueOf(const std::string& cell, CString (*label)(int), int nLast) {
    auto squeezed = [](CString text) { return std::erase(text, L' '), text; };
    for (int nValue = 0; nValue <= nLast; ++nValue) {
        if (squeezed(label(nValue)) == squeezed(Wide(cell))) return nValue;
    }
    ADD_FAILURE() << "no label \"" << cell << "\"";
    return -1;
}

int Tenths(const std::string& mm) { return static_cast<int>(std::lround(std::stod(mm) * 10)); }

// "6 mm 이상 8 mm 미만", "6 mm 미만", "15 mm 이상", "모든 크기" or "—", in tenths of a millimetre.
struct SizeRange {
    int nFrom = 0;
    int nBelow = INT_MAX;
    explicit SizeRange(const std::string& cell) {
        std::smatch match;
        if (std::regex_search(cell, match, std::regex("([0-9.]+) mm 이상"))) nFrom = Tenths(match[1]);
        if (std::regex_search(cell, match, std::regex("([0-9.]+) mm 미만"))) nBelow = Tenths(match[1]);
    }
    bool Contains(int nTenths) const { return nFrom <= nTenths && nTenths < nBelow; }
};

// Typed "6 × 5.9" as stored; "—" is never entered.
void SetTypedAxes(const std::string& cell, double& dLong, double& dShort) {
    std::smatch match;
    if (std::regex_match(cell, match, std::regex("([0-9.]+) × ([0-9.]+)"))) {
        dLong = std::stod(match[1]) + SIZE_NUDGE_MM;
        dShort = std::stod(match[2]) + SIZE_NUDGE_MM;
    }
}

struct FeatureBox {
    const char* caption;
    bool CNoduleItem::*flag;
};

const FeatureBox FEATURE_BOXES[] = {
    {"흉막주변결절", &CNoduleItem::m_bPerifissural}, {"양성 석회화", &CNoduleItem::m_bCalcification},
    {"지방", &CNoduleItem::m_bFat},                  {"양성 가능성 높음 (2b)", &CNoduleItem::m_bLikelyBenign},
    {"침상결절", &CNoduleItem::m_bSpiculation},      {"공동", &CNoduleItem::m_bCavity},
    {"기타", &CNoduleItem::m_bOther},
};

struct FindingBox {
    const char* caption;
    bool ExamFindings::*box;
    int nSeverity = -1;  // the coronary calcification's degree in combo 1034
};

const FindingBox FINDING_BOXES[] = {
    {"기관지내 병변", &ExamFindings::bEndobronchial},
    {"폐경화", &ExamFindings::bConsolidation},
    {"무기폐", &ExamFindings::bAtelectasis},
    {"림프절 비대", &ExamFindings::bLymphadenopathy},
    {"기타 (폐암시사 소견)", &ExamFindings::bSuggestiveOther},
    {"관상동맥 석회화 (Mild)", &ExamFindings::bCoronaryCalcification, 0},
    {"관상동맥 석회화 (Moderate)", &ExamFindings::bCoronaryCalcification, 1},
    {"관상동맥 석회화 (Severe)", &ExamFindings::bCoronaryCalcification, 2},
    {"폐기종 (중등도 이상)", &ExamFindings::bEmphysema},
    {"간질성 폐이상", &ExamFindings::bInterstitial},
    {"폐렴 및 활동성 폐결핵", &ExamFindings::bPneumonia},
    {"폐외악성물", &ExamFindings::bExtrapulmonary},
    {"대동맥류 (≥4.5cm)", &ExamFindings::bAneurysm},
    {"다량의 흉수 또는 심낭 삼출", &ExamFindings::bEffusion},
    {"기타 (의미있는 소견)", &ExamFindings::bSignificantOther},
    {"비활동성 폐결핵", &ExamFindings::bInactiveTuberculosis},
    {"기타 (다른 소견)", &ExamFindings::bOtherFinding},
};

template <class Box, std::size_t N>
const Box& BoxCaptioned(const std::string& caption, const Box (&boxes)[N]) {
    const Box* box = std::find_if(boxes, boxes + N, [&](const Box& b) { return caption == b.caption; });
    if (box == boxes + N) {
        ADD_FAILURE() << "no check box \"" << caption << "\"";
        return boxes[0];
    }
    return *box;
}

// Every size of every type and follow-up status falls in exactly one row of the
// guide's table, and that row's category is the one the rules give.
TEST(GuideTest, CategoryTableIsTheDecisionTable) {
    struct SizeRow {
        int nType, nFollowUp;
        SizeRange mean, solidMean;
        int nCategory;
        std::string text;
    };
    std::vector<SizeRow> rows;
    for (const Row& row : GuideTable("| 결절 성상 | 추적 검사 | 평균 직경 | 고형부분 평균 직경 | 범주 |")) {
        rows.push_back({ValueOf(row[0], NoduleTypeText, NODULE_GROUND_GLASS),
                        ValueOf(row[1], FollowUpText, FOLLOWUP_STABLE), SizeRange(row[2]), SizeRange(row[3]),
                        ValueOf(row[4], CategoryText, CAT_4X), row[0] + " | " + row[1] + " | " + row[2] + " | " + row[3]});
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
                    ASSERT_EQ(CategoryText(nodule.m_nCategory), CategoryText(row.nCategory)) << row.text;
                }
            }
        }
    }
}

TEST(GuideTest, NoduleExamplesAreWhatTheRulesGive) {
    for (const Row& row :
         GuideTable("| 결절 성상 | 추적 검사 | 장축 × 단축 | 고형부분 장축 × 단축 | 체크한 소견 | 범주 |")) {
        CNoduleItem nodule;
        nodule.m_nType = ValueOf(row[0], NoduleTypeText, NODULE_GROUND_GLASS);
        nodule.m_nFollowUp = ValueOf(row[1], FollowUpText, FOLLOWUP_STABLE);
        SetTypedAxes(row[2], nodule.m_dLongAxis, nodule.m_dShortAxis);
        SetTypedAxes(row[3], nodule.m_dSolidLongAxis, nodule.m_dSolidShortAxis);
        for (const std::string& caption : Items(row[4])) nodule.*BoxCaptioned(caption, FEATURE_BOXES).flag = true;
        nodule.UpdateCategory();
        EXPECT_EQ(CategoryText(nodule.m_nCategory), Wide(row[5])) << row[0] << " " << row[2] << " " << row[4];
    }
}

TEST(GuideTest, ExamCategoryExamplesAreWhatTheFormShows) {
    for (const Row& row : GuideTable("| 결절 범주 | 체크한 소견 | 최종 판독 범주 |")) {
        std::vector<int> categories;
        for (const std::string& category : Items(row[0])) categories.push_back(ValueOf(category, CategoryText, CAT_4X));
        ExamFindings findings;
        for (const std::string& caption : Items(row[1])) {
            const FindingBox& box = BoxCaptioned(caption, FINDING_BOXES);
            findings.*box.box = true;
            if (box.nSeverity >= 0) findings.nCoronarySeverity = box.nSeverity;
        }
        EXPECT_EQ(FinalCategoryText(categories, findings), Wide(row[2])) << row[0] << " / " << row[1];
    }
}

// The conclusion of a report, with and without the S modifier, is the guide's
// heading and recommendation, line breaks (<br>) included.
TEST(GuideTest, RecommendationsAreTheComposersOwn) {
    for (const Row& row : GuideTable("| 최종 판독 범주 | 결론 | 권고 문구 |")) {
        CString advice = Wide(row[2]);
        for (std::size_t at; (at = advice.find(L"<br>")) != CString::npos;) advice.replace(at, 4, L"\r\n");
        for (const std::string& category : Items(row[0])) {
            for (const wchar_t* modifier : {L"", L"S"}) {
                ExamInputs exam;
                exam.strFinalCategory = Wide(category) + modifier;
                const CString conclusion = L"결론: 범주 " + exam.strFinalCategory + L" " + Wide(row[1]) + L"\r\n" + advice;
                EXPECT_TRUE(ComposeReport(exam, {}).ends_with(conclusion)) << category << " " << row[2];
            }
        }
    }
}

}  // namespace
