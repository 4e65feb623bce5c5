#pragma once
// The exam findings as the tests name them: each found in the catalogue by its
// role and report word, so that a row renamed or gone stops the tests here.
#include <cstdlib>
#include <initializer_list>
#include <string_view>

#include "model/ExamFindings.h"

inline size_t FindingRow(FindingRole role, std::wstring_view reportWord) {
    for (size_t nRow = 0; nRow < EXAM_FINDING_COUNT; ++nRow)
        if (EXAM_FINDINGS[nRow].role == role && reportWord == EXAM_FINDINGS[nRow].reportWord) return nRow;
    std::abort();
}

inline const size_t ENDOBRONCHIAL = FindingRow(FindingRole::RAISES_TO_4A, L"기관지내 병변 있음");
inline const size_t CONSOLIDATION = FindingRow(FindingRole::SUGGESTS_LUNG_CANCER, L"폐경화");
inline const size_t ATELECTASIS = FindingRow(FindingRole::SUGGESTS_LUNG_CANCER, L"무기폐");
inline const size_t LYMPHADENOPATHY = FindingRow(FindingRole::SUGGESTS_LUNG_CANCER, L"림프절 비대");
inline const size_t SUGGESTIVE_OTHER = FindingRow(FindingRole::SUGGESTS_LUNG_CANCER, L"기타");
inline const size_t CORONARY = FindingRow(FindingRole::SIGNIFICANT, L"관상동맥 석회화");
inline const size_t EMPHYSEMA = FindingRow(FindingRole::SIGNIFICANT, L"폐기종 (중증도 이상)");
inline const size_t INTERSTITIAL = FindingRow(FindingRole::SIGNIFICANT, L"간질성 폐이상");
inline const size_t PNEUMONIA = FindingRow(FindingRole::SIGNIFICANT, L"폐렴 및 활동성 폐결핵");
inline const size_t EXTRAPULMONARY = FindingRow(FindingRole::SIGNIFICANT, L"폐외악성물");
inline const size_t ANEURYSM = FindingRow(FindingRole::SIGNIFICANT, L"대동맥류");
inline const size_t EFFUSION = FindingRow(FindingRole::SIGNIFICANT, L"다량의 흉수 또는 심낭 삼출");
inline const size_t SIGNIFICANT_OTHER = FindingRow(FindingRole::SIGNIFICANT, L"기타");
inline const size_t INACTIVE_TB = FindingRow(FindingRole::OTHER, L"비활동성 폐결핵");
inline const size_t OTHER_FINDING = FindingRow(FindingRole::OTHER, L"기타");

// Findings with these rows ticked and the coronary calcification's degree.
inline ExamFindings Ticked(std::initializer_list<size_t> rows, CoronaryDegree degree = DEGREE_NONE) {
    ExamFindings findings;
    for (size_t nRow : rows) findings.ticked[nRow] = true;
    findings.coronaryDegree = degree;
    return findings;
}
